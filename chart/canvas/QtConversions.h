// SPDX-License-Identifier: MIT
#pragma once

// Conversions between the engine's colours, points and rectangles and Qt's.

#include <korvatel/core/ChartTypes.h>
#include <korvatel/core/Export.h>

#include <QColor>
#include <QPoint>
#include <QRect>
#include <algorithm>
#include <cstdint>
#include <limits>

namespace Korvatel {

// The colour as it reaches a drawing surface, opaque: a plain colour (0x00BBGGRR) by its low 24
// bits, a system colour (0x800000nn) through this desktop's system colour table
// (TSystemColors). clNone and clDefault are not colours: both give an invalid QColor.
KORVATEL_EXPORT QColor ToQColor(TColor color);

// The plain colour of a QColor of any colour model, rounded to 8 bits a channel. TColor has no
// transparency: alpha is dropped. An invalid QColor, which names no colour, gives clNone, so
// that clNone survives the way to Qt and back (clDefault comes back as clNone).
KORVATEL_EXPORT TColor FromQColor(const QColor& color);

inline QPoint ToQPoint(const TPoint& point) {
    return {point.X, point.Y};
}

inline TPoint FromQPoint(const QPoint& point) {
    return {point.x(), point.y()};
}

// A TRect's right and bottom are exclusive, a QRect's inclusive: TRect {l, t, r, b} covers the
// pixels QRect(QPoint(l, t), QPoint(r - 1, b - 1)) does, and every rectangle goes to Qt and
// back unchanged. An inverted TRect (r < l or b < t) is empty, but Qt would turn the QRect of
// its corners the right way round and draw it: it becomes an empty QRect of width or height 0
// at its top left corner instead, and comes back so.
inline QRect ToQRect(const TRect& rect) {
    const std::int64_t right = std::max<std::int64_t>(rect.Right, rect.Left) - 1;
    const std::int64_t bottom = std::max<std::int64_t>(rect.Bottom, rect.Top) - 1;
    if (right < std::numeric_limits<std::int32_t>::min() ||
        bottom < std::numeric_limits<std::int32_t>::min()) {
        // An empty rectangle on the smallest column or row: no QRect ends left of it.
        return {};
    }
    return {QPoint(rect.Left, rect.Top),
            QPoint(static_cast<std::int32_t>(right), static_cast<std::int32_t>(bottom))};
}

// The inverse of ToQRect. A QRect reaching the largest 32-bit column or row has no exclusive
// edge beyond it and loses that column or row.
inline TRect FromQRect(const QRect& rect) {
    constexpr std::int32_t Highest = std::numeric_limits<std::int32_t>::max();
    return {rect.left(), rect.top(), rect.right() == Highest ? Highest : rect.right() + 1,
            rect.bottom() == Highest ? Highest : rect.bottom() + 1};
}

} // namespace Korvatel
