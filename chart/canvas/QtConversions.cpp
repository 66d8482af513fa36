// SPDX-License-Identifier: MIT
#include <korvatel/canvas/QtConversions.h>

#include <korvatel/canvas/SystemColors.h>

namespace Korvatel {

QColor ToQColor(TColor color) {
    if (color == clNone || color == clDefault) {
        return {};
    }
    return QColor::fromRgb(ColorToRgb(color));
}

TColor FromQColor(const QColor& color) {
    if (!color.isValid()) {
        return clNone;
    }
    const QRgb rgb = color.rgb();
    return static_cast<TColor>(qRed(rgb) | (qGreen(rgb) << 8) | (qBlue(rgb) << 16));
}

} // namespace Korvatel
