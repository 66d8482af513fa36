// SPDX-License-Identifier: MIT
#pragma once

// Small helpers shared by the canvas's source files: raster operations, rectangle clamping
// and overflow-safe arithmetic. Not part of the engine's interface.

#include <korvatel/canvas/Canvas3D.h>
#include <korvatel/canvas/ChartPen.h>
#include <korvatel/core/ChartTypes.h>

#include <QPainter>
#include <QPoint>
#include <QRect>
#include <QRgb>
#include <algorithm>
#include <cstdint>

namespace Korvatel {

namespace CanvasDetail {

inline constexpr QRgb Opaque = 0xFF000000u;

// The raster operation of a pen mode, for what the painter draws (shape outlines and fills,
// wide lines, points of a window surface). Copy is plain painting.
// A brush of lines, whose gaps show the text background when it is opaque.
inline bool IsHatch(TBrushStyle style) {
    return style != bsSolid && style != bsClear;
}

inline QPainter::CompositionMode CompositionFor(TPenMode mode) {
    switch (mode) {
    case pmBlack:
        return QPainter::RasterOp_ClearDestination;
    case pmWhite:
        return QPainter::RasterOp_SetDestination;
    case pmNop:
        return QPainter::CompositionMode_Destination;
    case pmNot:
        return QPainter::RasterOp_NotDestination;
    case pmCopy:
        return QPainter::CompositionMode_SourceOver;
    case pmNotCopy:
        return QPainter::RasterOp_NotSource;
    case pmMergePenNot:
        return QPainter::RasterOp_SourceOrNotDestination;
    case pmMaskPenNot:
        return QPainter::RasterOp_SourceAndNotDestination;
    case pmMergeNotPen:
        return QPainter::RasterOp_NotSourceOrDestination;
    case pmMaskNotPen:
        return QPainter::RasterOp_NotSourceAndDestination;
    case pmMerge:
        return QPainter::RasterOp_SourceOrDestination;
    case pmNotMerge:
        return QPainter::RasterOp_NotSourceAndNotDestination;
    case pmMask:
        return QPainter::RasterOp_SourceAndDestination;
    case pmNotMask:
        return QPainter::RasterOp_NotSourceOrNotDestination;
    case pmXor:
        return QPainter::RasterOp_SourceXorDestination;
    case pmNotXor:
        return QPainter::RasterOp_NotSourceXorDestination;
    }
    return QPainter::CompositionMode_SourceOver;
}

// Left, top, right, bottom in increasing order.
inline TRect Normalized(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1) {
    return {std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1)};
}

// Coordinates handed to the painter stay within this range, so that its own arithmetic (and
// the width of a rectangle) cannot overflow; anything beyond it is far outside any picture.
inline constexpr std::int64_t PainterLimit = std::int64_t{1} << 30;

inline std::int32_t ToPainterRange(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp(value, -PainterLimit, PainterLimit));
}

inline QRect ToQRect(const TRect& rect) {
    const std::int32_t left = ToPainterRange(rect.Left);
    const std::int32_t top = ToPainterRange(rect.Top);
    if (rect.IsEmpty()) {
        return QRect(left, top, 0, 0);
    }
    return QRect(left, top, ToPainterRange(rect.Right) - left, ToPainterRange(rect.Bottom) - top);
}

inline std::int32_t Saturated(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

// Sums that wrap in 32 bits instead of overflowing: projected points of absurd coordinates
// must give some pixel, not undefined behaviour.
inline std::int32_t AddLow32(std::int64_t a, std::int64_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(a + b)));
}

// Where the text's left end and baseline lie relative to its reference point.
inline QPoint TextOffset(std::int32_t alignment, std::int32_t width, std::int32_t ascent,
                         std::int32_t descent) {
    std::int32_t left = 0;
    switch (alignment & TextAlign::HorizontalMask) {
    case TextAlign::Right:
        left = -width;
        break;
    case TextAlign::Center:
        left = -(width / 2);
        break;
    default:
        break;
    }
    std::int32_t baseline = ascent;
    switch (alignment & TextAlign::VerticalMask) {
    case TextAlign::Baseline:
        baseline = 0;
        break;
    case TextAlign::Bottom:
        baseline = -descent;
        break;
    default:
        break;
    }
    return {left, baseline};
}

inline QRgb Blend(QRgb color, QRgb pixel, std::uint32_t coverage) {
    const std::uint32_t rest = 255 - coverage;
    auto mix = [&](int shift) {
        return ((((color >> shift) & 0xFFu) * coverage + ((pixel >> shift) & 0xFFu) * rest + 127) /
                255)
               << shift;
    };
    return Opaque | mix(16) | mix(8) | mix(0);
}

// The rectangle grown by a number of pixels on every side, kept within 32 bits.
inline TRect Grown(const TRect& rect, std::int64_t by) {
    return {Saturated(rect.Left - by), Saturated(rect.Top - by), Saturated(rect.Right + by),
            Saturated(rect.Bottom + by)};
}

} // namespace CanvasDetail

} // namespace Korvatel
