// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/core/Export.h>
#include <korvatel/data/CustomBarSeries.h>

namespace Korvatel {

// Horizontal bars: one per point, standing on the vertical axis at the point's Y and reaching
// right (or left) to its X. X holds the values (MandatoryValues), Y orders the points: they
// keep the order in which they are added, and AppendValue numbers them upwards.
//
// AddPoint(x, y) keeps to the axes: x is the bar's value and y its position, the reverse of
// vertical bars. AddBar(value, position) reads the same for both kinds.
class KORVATEL_EXPORT THorizBarSeries : public TCustomBarSeries {
public:
    THorizBarSeries();
};

} // namespace Korvatel
