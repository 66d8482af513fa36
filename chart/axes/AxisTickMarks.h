// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/axes/AxisMapping.h>

#include <cstdint>
#include <functional>
#include <span>

namespace Korvatel {

// The positions of minor ticks and centred grid lines, computed from the tick positions that
// an axis recorded while it placed its labels. Pure functions of the pixels (and, on a
// logarithmic axis, of its mapping), so that they can be tested without drawing.

using TPixelSink = std::function<void(std::int32_t pixel)>;

// The minor positions of a linear axis, count of them in every gap between neighbouring
// ticks: ticks[i] - nearest(j x gap / (count + 1)) for j = 1 to count. With two ticks or
// more, the axis also gets count positions beyond each end tick, spaced by the first gap.
// The order is: the positions beyond both ends (j = 1 to count, each before the first tick
// then after the last), then the gaps in tick order. Nothing here is limited to the axis
// extent; the caller drops what lies outside it.
void LinearMinorTickPositions(std::span<const std::int32_t> ticks, std::int32_t count,
                              const TPixelSink& sink);

// The minor positions of a logarithmic axis: from the value v at each tick but the last, count
// steps of (base x v - v) / (count + 1) upwards, ending early above the mapping's maximum.
void LogarithmicMinorTickPositions(std::span<const std::int32_t> ticks, std::int32_t count,
                                   const TAxisMapping& mapping, double logarithmicBase,
                                   const TPixelSink& sink);

// Halfway between two tick positions, halves to even (125.5 goes to 126).
std::int32_t CenteredGridPosition(std::int32_t previous, std::int32_t current);

} // namespace Korvatel
