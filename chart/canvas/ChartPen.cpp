// SPDX-License-Identifier: MIT
#include <korvatel/canvas/ChartPen.h>
#include <korvatel/core/ChartErrors.h>

namespace Korvatel {

void TChartPen::Changed() const {
    if (FOnChange) {
        FOnChange();
    }
}

void TChartPen::InitDefaults(TColor color, std::int32_t width, TPenStyle style, bool visible) {
    FColor = color;
    FWidth = width;
    FStyle = style;
    FVisible = visible;
}

void TChartPen::SetColor(TColor value) {
    if (FColor != value) {
        FColor = value;
        Changed();
    }
}

void TChartPen::SetWidth(std::int32_t value) {
    CheckPropertyRange("Pen width", value, 0, LargestWidth);
    if (FWidth != value) {
        FWidth = value;
        Changed();
    }
}

void TChartPen::SetStyle(TPenStyle value) {
    if (FStyle != value) {
        FStyle = value;
        Changed();
    }
}

void TChartPen::SetMode(TPenMode value) {
    if (FMode != value) {
        FMode = value;
        Changed();
    }
}

void TChartPen::SetVisible(bool value) {
    if (FVisible != value) {
        FVisible = value;
        Changed();
    }
}

void TChartPen::SetSmallDots(bool value) {
    if (FSmallDots != value) {
        FSmallDots = value;
        Changed();
    }
}

void TChartPen::Assign(const TChartPen& source) {
    if (&source == this) {
        return;
    }
    FColor = source.FColor;
    FWidth = source.FWidth;
    FStyle = source.FStyle;
    FMode = source.FMode;
    FVisible = source.FVisible;
    FSmallDots = source.FSmallDots;
    Changed();
}

TChartHiddenPen::TChartHiddenPen(TChangeEvent onChange) : TChartPen(std::move(onChange)) {
    InitDefaults(clBlack, 1, psSolid, false);
}

TDottedGrayPen::TDottedGrayPen(TChangeEvent onChange) : TChartPen(std::move(onChange)) {
    InitDefaults(clGray, 1, psDot, true);
}

TDarkGrayPen::TDarkGrayPen(TChangeEvent onChange) : TChartPen(std::move(onChange)) {
    InitDefaults(clGray, 1, psSolid, true);
}

TChartAxisPen::TChartAxisPen(TChangeEvent onChange) : TChartPen(std::move(onChange)) {
    InitDefaults(clBlack, 2, psSolid, true);
}

TChartArrowPen::TChartArrowPen(TChangeEvent onChange) : TChartPen(std::move(onChange)) {
    InitDefaults(clWhite, 1, psSolid, true);
}

} // namespace Korvatel
