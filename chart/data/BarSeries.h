#pragma once

#include "CustomBarSeries.h"

// Vertical bars: one per point, standing on the horizontal axis at the point's X and reaching
// up (or down) to its Y.
class TBarSeries : public TCustomBarSeries {
public:
    TBarSeries();
};
