#pragma once

#include "AxisPanel.h"

// The chart with its title, foot, walls and legend, and its mouse handling.
class TCustomChart : public TCustomAxisPanel {
public:
    TCustomChart() = default;
};
