// SPDX-License-Identifier: MIT
#include <korvatel/canvas/View3DOptions.h>
#include <korvatel/core/ChartErrors.h>

namespace Korvatel {

void TView3DOptions::Changed() const {
    if (FOnChange) {
        FOnChange();
    }
}

void TView3DOptions::SetElevation(std::int32_t value) {
    SetProperty(FElevation, value);
}

void TView3DOptions::SetHorizOffset(std::int32_t value) {
    if (SetProperty(FHorizOffset, value) && OnScrolled) {
        OnScrolled(true);
    }
}

void TView3DOptions::SetOrthogonal(bool value) {
    SetProperty(FOrthogonal, value);
}

void TView3DOptions::SetPerspective(std::int32_t value) {
    CheckPropertyRange("Perspective", value, 0, 100);
    SetProperty(FPerspective, value);
}

void TView3DOptions::SetRotation(std::int32_t value) {
    SetProperty(FRotation, value);
}

void TView3DOptions::SetTilt(std::int32_t value) {
    SetProperty(FTilt, value);
}

void TView3DOptions::SetVertOffset(std::int32_t value) {
    if (SetProperty(FVertOffset, value) && OnScrolled) {
        OnScrolled(false);
    }
}

void TView3DOptions::SetZoom(std::int32_t value) {
    if (FZoom == value) {
        return;
    }
    if (OnChangedZoom) {
        OnChangedZoom(value);
    }
    SetProperty(FZoom, value);
}

void TView3DOptions::SetZoomText(bool value) {
    SetProperty(FZoomText, value);
}

void TView3DOptions::Assign(const TView3DOptions& source) {
    FElevation = source.FElevation;
    FHorizOffset = source.FHorizOffset;
    FOrthogonal = source.FOrthogonal;
    FPerspective = source.FPerspective;
    FRotation = source.FRotation;
    FTilt = source.FTilt;
    FVertOffset = source.FVertOffset;
    FZoom = source.FZoom;
    FZoomText = source.FZoomText;
}

} // namespace Korvatel
