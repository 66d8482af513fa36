// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/core/ChartTypes.h>

#include <cstdint>
#include <limits>

namespace Korvatel {

// The geometry of the side of the chart rectangle that an axis stands on, as pure functions.
//
// Positions across an axis are rows for the bottom and top axes and columns for the others.
// "Outward" points away from the chart rectangle: down for the bottom axis, up for the top
// axis, left for the left axis and right for the right and depth axes. Sums of pixels are
// formed in 64 bits and saturate at the ends of the 32-bit range, so that absurd sizes (a
// label band of two billion pixels) give a picture far outside the image rather than one that
// wraps around into it.

enum TAxisSide : std::uint8_t { asBottom, asTop, asLeft, asRight, asDepth };

constexpr TAxisSide AxisSideOf(bool horizontal, bool oppositeSide, bool depth) {
    if (depth) {
        return asDepth;
    }
    if (horizontal) {
        return oppositeSide ? asTop : asBottom;
    }
    return oppositeSide ? asRight : asLeft;
}

constexpr bool IsHorizontalSide(TAxisSide side) {
    return side == asBottom || side == asTop;
}

// A 64-bit pixel sum brought back into 32 bits, clamped at the ends of the range.
constexpr std::int32_t SaturatedPixel(std::int64_t value) {
    constexpr std::int64_t Lowest = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t Highest = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(value < Lowest ? Lowest : (value > Highest ? Highest : value));
}

// The edge of rect on the side: top, bottom, left, or right (right and depth axes).
std::int32_t SideEdge(TAxisSide side, const TRect& rect);

// Moves the side's edge of rect into the rectangle by n pixels.
void ShrinkSide(TAxisSide side, TRect& rect, std::int32_t n);

// A position moved outward by n pixels.
std::int32_t MoveOutward(TAxisSide side, std::int32_t position, std::int32_t n);

// The position moved into rect by percent of rect's extent across the axis (its height for
// the bottom and top axes, its width otherwise), rounded half to even. Unchanged for 0.
std::int32_t ApplyPositionPercent(TAxisSide side, double percent, std::int32_t position,
                                  const TRect& rect);

} // namespace Korvatel
