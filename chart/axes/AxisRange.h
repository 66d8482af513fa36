// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/core/Export.h>
#include <korvatel/axes/AxisMapping.h>

#include <cstdint>

namespace Korvatel {

// The limits of an axis as the mouse changes them. Zooming, scrolling and the wheel are worked
// out on these ranges and the axes' mappings alone, so that their arithmetic can be checked
// without a chart or a window; the chart hands the results to the axes (AssignRange,
// ShiftRange).
struct KORVATEL_EXPORT TAxisRange {
    double Minimum = 0;
    double Maximum = 0;

    friend bool operator==(const TAxisRange&, const TAxisRange&) = default;
};

// The two values as a range, the smaller one first.
TAxisRange OrderedRange(double a, double b);

// Both limits are finite: a range that an axis can map. Zooming into or scrolling towards the
// end of the double range would otherwise hand an axis infinities or NaN.
bool IsFiniteRange(const TAxisRange& range);

// The values at two pixels of an axis, smaller first: what the edges of a zoom rectangle
// select. A vertical axis grows upwards, so its lower edge gives the smaller value.
TAxisRange RangeBetweenPixels(const TAxisMapping& mapping, std::int32_t first, std::int32_t second);

// One step of an animated zoom: each limit covers 1/factor of the way that remains between it
// and the target's limit of the same side (the target is ordered first, so that an inverted
// axis moves as smoothly as any other).
TAxisRange AnimatedZoomStep(const TAxisRange& current, const TAxisRange& target, double factor);

// The range after the mouse moved along the axis from pixel last to pixel current: both limits
// move by the difference of the values at the two pixels, so that the picture follows the
// mouse. The mapping is that of the last repaint; on a linear axis the difference depends only
// on the distance, so several moves between two repaints add up as one.
TAxisRange ScrolledRange(const TAxisRange& range, const TAxisMapping& mapping, std::int32_t current,
                         std::int32_t last);

// The distance one wheel step moves an axis: 3 % of its range, upwards for the wheel turned
// down (towards the user) and downwards for the wheel turned up.
double WheelScrollOffset(const TAxisRange& range, bool down);

} // namespace Korvatel
