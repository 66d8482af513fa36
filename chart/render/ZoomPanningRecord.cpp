// SPDX-License-Identifier: MIT
#include <korvatel/render/ZoomPanningRecord.h>

#include <utility>

namespace Korvatel {

void TZoomPanningRecord::Start(std::int32_t x, std::int32_t y) {
    AnchorX = x;
    AnchorY = y;
    CurrentX = x;
    CurrentY = y;
    DragActive = true;
}

void TZoomPanningRecord::Normalize() {
    if (CurrentX < AnchorX) {
        std::swap(AnchorX, CurrentX);
    }
    if (CurrentY < AnchorY) {
        std::swap(AnchorY, CurrentY);
    }
}

} // namespace Korvatel
