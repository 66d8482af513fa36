#pragma once

#include "CustomChart.h"

// The chart control as the program uses it.
class TChart final : public TCustomChart {
public:
    TChart() = default;
};
