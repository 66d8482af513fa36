// SPDX-License-Identifier: MIT
#include <korvatel/axes/AxisSide.h>

#include <korvatel/core/Rounding.h>

#include <algorithm>
#include <cmath>

namespace Korvatel {

std::int32_t SideEdge(TAxisSide side, const TRect& rect) {
    switch (side) {
    case asBottom:
        return rect.Bottom;
    case asTop:
        return rect.Top;
    case asLeft:
        return rect.Left;
    case asRight:
    case asDepth:
        break;
    }
    return rect.Right;
}

void ShrinkSide(TAxisSide side, TRect& rect, std::int32_t n) {
    switch (side) {
    case asBottom:
        rect.Bottom = SaturatedPixel(std::int64_t{rect.Bottom} - n);
        break;
    case asTop:
        rect.Top = SaturatedPixel(std::int64_t{rect.Top} + n);
        break;
    case asLeft:
        rect.Left = SaturatedPixel(std::int64_t{rect.Left} + n);
        break;
    case asRight:
    case asDepth:
        rect.Right = SaturatedPixel(std::int64_t{rect.Right} - n);
        break;
    }
}

std::int32_t MoveOutward(TAxisSide side, std::int32_t position, std::int32_t n) {
    const bool growing = side == asBottom || side == asRight || side == asDepth;
    return SaturatedPixel(growing ? std::int64_t{position} + n : std::int64_t{position} - n);
}

std::int32_t ApplyPositionPercent(TAxisSide side, double percent, std::int32_t position,
                                  const TRect& rect) {
    if (percent == 0) {
        return position;
    }
    const long double size = IsHorizontalSide(side) ? rect.Height() : rect.Width();
    // A percent that is not a number moves nothing; one far beyond any picture moves the
    // position as far as 32 bits go.
    const long double raw = 0.01L * percent * size;
    if (std::isnan(raw)) {
        return position;
    }
    constexpr long double Farthest = 4294967296.0L;
    const std::int32_t shift = SaturatedPixel(RoundHalfEven(std::clamp(raw, -Farthest, Farthest)));
    // Into the rectangle: up from the bottom, down from the top, right from the left and
    // left from the right.
    const bool growing = side == asTop || side == asLeft;
    return SaturatedPixel(growing ? std::int64_t{position} + shift
                                  : std::int64_t{position} - shift);
}

} // namespace Korvatel
