#pragma once

#include <cstdint>

// The overlap test of labels taken from the series' points (mark and point texts), which
// come at the points' positions rather than at a chosen step: a label is drawn only when it
// keeps clear of the last label drawn, each label taking half its size (plus half its share
// of LabelsSeparation percent) on either side of its pixel.
class TAxisLabelSpacing {
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
