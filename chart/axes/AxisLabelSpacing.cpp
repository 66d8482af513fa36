// SPDX-License-Identifier: MIT
#include <korvatel/axes/AxisLabelSpacing.h>

#include <korvatel/core/Rounding.h>

namespace Korvatel {

bool TAxisLabelSpacing::Admit(std::int32_t pixel, std::int32_t size) {
    std::int64_t half = size / 2;
    if (FSeparation != 0 && FHasPrevious) {
        // The separation counts on both sides, so each label carries half of it. The factor
        // is the double 0.02 (a hair above 1/50), so 20 x 0.02 x 10 truncates to 4, not 3.
        constexpr double Share = 0.02;
        const std::int64_t extra =
            TruncToInt64(static_cast<long double>(size) * Share * FSeparation);
        half = (std::int64_t{size} + extra) / 2;
        const bool clear = pixel >= FPreviousPixel ? pixel - half >= FPreviousPixel + FPreviousHalf
                                                   : pixel + half <= FPreviousPixel - FPreviousHalf;
        if (!clear) {
            return false;
        }
    }
    FHasPrevious = true;
    FPreviousPixel = pixel;
    FPreviousHalf = half;
    return true;
}

bool NeighboursOverlap(std::span<const TPlacedLabel> labels) {
    for (std::size_t i = 1; i < labels.size(); ++i) {
        // Twice the distance against the sum of the sizes: no half pixel is lost.
        const std::int64_t distance = std::int64_t{labels[i].Pixel} - labels[i - 1].Pixel;
        if (2 * (distance < 0 ? -distance : distance) <
            std::int64_t{labels[i].Size} + labels[i - 1].Size) {
            return true;
        }
    }
    return false;
}

bool AllKeepClear(std::span<const TPlacedLabel> labels, std::int32_t labelsSeparation) {
    TAxisLabelSpacing spacing(labelsSeparation);
    for (const TPlacedLabel& label : labels) {
        if (!spacing.Admit(label.Pixel, label.Size)) {
            return false;
        }
    }
    return true;
}

} // namespace Korvatel
