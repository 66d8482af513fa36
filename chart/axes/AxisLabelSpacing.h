// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/core/Export.h>
#include <cstdint>
#include <span>

namespace Korvatel {

// The overlap test of labels taken from the series' points (mark and point texts), which
// come at the points' positions rather than at a chosen step: a label is drawn only when it
// keeps clear of the last label drawn, each label taking half its size (plus half its share
// of LabelsSeparation percent) on either side of its pixel.
class KORVATEL_EXPORT TAxisLabelSpacing {
public:
    // A separation of 0 draws every label.
    explicit TAxisLabelSpacing(std::int32_t labelsSeparation) : FSeparation(labelsSeparation) {}

    // Whether a label of the given size along the axis at the pixel is to be drawn; if so it
    // becomes the label the next one is tested against.
    bool Admit(std::int32_t pixel, std::int32_t size);

private:
    std::int32_t FSeparation;
    bool FHasPrevious = false;
    std::int64_t FPreviousPixel = 0;
    std::int64_t FPreviousHalf = 0;
};

// A label along an axis: the pixel it is centred on and its size along the axis.
struct KORVATEL_EXPORT TPlacedLabel {
    std::int32_t Pixel = 0;
    std::int32_t Size = 0;
};

// Whether two neighbouring labels, taken in the order given, share a pixel: each covers half
// its size on either side of its pixel.
bool NeighboursOverlap(std::span<const TPlacedLabel> labels);

// Whether every label keeps clear of the one before it as TAxisLabelSpacing tests it, so that
// the spacing would admit them all.
bool AllKeepClear(std::span<const TPlacedLabel> labels, std::int32_t labelsSeparation);

} // namespace Korvatel
