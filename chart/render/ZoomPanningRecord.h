// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/core/Export.h>
#include <korvatel/core/ChartTypes.h>

#include <cstdint>

namespace Korvatel {

// The state of one mouse drag on the chart: where it began and where the mouse is now, in
// chart pixels. The chart keeps one for zooming (the rubber band) and one for scrolling.
class KORVATEL_EXPORT TZoomPanningRecord {
public:
    bool DragActive = false;
    std::int32_t AnchorX = 0;
    std::int32_t AnchorY = 0;
    std::int32_t CurrentX = 0;
    std::int32_t CurrentY = 0;

    // A drag begins at (x, y): both corners stand there.
    void Start(std::int32_t x, std::int32_t y);
    // Makes the anchor the top left corner and the current position the bottom right one.
    void Normalize();
    // The rectangle between the two corners as they stand (not normalised).
    TRect Rectangle() const { return {AnchorX, AnchorY, CurrentX, CurrentY}; }
};

} // namespace Korvatel
