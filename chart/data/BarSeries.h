// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/core/Export.h>
#include <korvatel/data/CustomBarSeries.h>

namespace Korvatel {

// Vertical bars: one per point, standing on the horizontal axis at the point's X and reaching
// up (or down) to its Y.
class KORVATEL_EXPORT TBarSeries : public TCustomBarSeries {
public:
    TBarSeries();
};

} // namespace Korvatel
