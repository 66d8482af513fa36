// SPDX-License-Identifier: MIT
#include <korvatel/axes/AxisLabelLayout.h>

#include <korvatel/canvas/ChartCanvas.h>
#include <korvatel/core/Rounding.h>

#include <algorithm>

namespace Korvatel {

namespace {

// The alignment and first shift of the text by side and angle. h is half a row.
void AlignBySide(TAxisSide side, std::int32_t angle, std::int64_t h, std::int32_t& alignment,
                 std::int64_t& x, std::int64_t& y) {
    constexpr std::int32_t LeftTop = TextAlign::Left | TextAlign::Top;
    constexpr std::int32_t RightTop = TextAlign::Right | TextAlign::Top;
    constexpr std::int32_t CenterTop = TextAlign::Center | TextAlign::Top;
    constexpr std::int32_t CenterBottom = TextAlign::Center | TextAlign::Bottom;
    const bool right = side == asRight || side == asDepth;
    alignment = LeftTop;
    switch (angle) {
    case 0:
        if (side == asBottom) {
            alignment = CenterTop;
        } else if (side == asTop) {
            alignment = CenterBottom;
        } else {
            alignment = right ? LeftTop : RightTop;
            y -= h;
        }
        break;
    case 90:
        if (IsHorizontalSide(side)) {
            alignment = side == asBottom ? RightTop : LeftTop;
            x -= h;
        } else {
            alignment = right ? CenterTop : CenterBottom;
        }
        break;
    case 180:
        if (side == asBottom) {
            alignment = CenterBottom;
        } else if (side == asTop) {
            alignment = CenterTop;
        } else {
            alignment = right ? RightTop : LeftTop;
            y += h;
        }
        break;
    case 270:
        if (IsHorizontalSide(side)) {
            alignment = side == asBottom ? LeftTop : RightTop;
            x += h;
        } else {
            alignment = right ? CenterBottom : CenterTop;
        }
        break;
    default:
        break;
    }
}

} // namespace

TLabelTextLayout LayOutLabelText(TAxisSide side, std::int32_t x, std::int32_t y, std::int32_t angle,
                                 std::int32_t rowHeight, std::int32_t lineCount) {
    TLabelTextLayout layout;
    std::int64_t px = x;
    std::int64_t py = y;
    AlignBySide(side, angle, rowHeight / 2, layout.Alignment, px, py);

    // A row of text, pointing the way the lines stack: negative where the text is upside down
    // or reads downwards.
    const std::int64_t f = (angle == 180 || angle == 270) ? -std::int64_t{rowHeight} : rowHeight;
    const std::int64_t lines = lineCount;
    const bool horizontal = IsHorizontalSide(side);
    const bool far = side == asTop || side == asRight || side == asDepth;
    // Half the block of lines, for texts centred on the tick across their lines.
    const std::int64_t half = RoundHalfEven(static_cast<long double>(f) * 0.5L * (lines + 1));
    switch (angle) {
    case 0:
    case 180:
        if (horizontal) {
            // The block grows away from the axis: upwards on the top axis at 0, downwards on
            // the bottom axis at 180.
            const bool wholeBlock = (angle == 0) == far;
            py -= wholeBlock ? f * lines : f;
        } else {
            py -= half;
        }
        layout.StepY = SaturatedPixel(f);
        break;
    case 90:
    case 270:
        if (horizontal) {
            px -= half;
        } else {
            const bool wholeBlock = (angle == 90) != far;
            px -= wholeBlock ? f * lines : f;
        }
        layout.StepX = SaturatedPixel(f);
        break;
    default:
        break;
    }
    layout.X = SaturatedPixel(px);
    layout.Y = SaturatedPixel(py);
    layout.Rotated = angle != 0;
    return layout;
}

std::int32_t LabelLineCount(std::string_view text) {
    const auto separators =
        static_cast<std::int32_t>(std::count(text.begin(), text.end(), LabelLineSeparator));
    const bool lastPart = !text.empty() && text.back() != LabelLineSeparator;
    return separators + (lastPart ? 1 : 0);
}

} // namespace Korvatel
