// SPDX-License-Identifier: MIT
#include <korvatel/canvas/ChartGradient.h>

namespace Korvatel {

void TChartGradient::Changed() const {
    if (FOnChange) {
        FOnChange();
    }
}

void TChartGradient::SetDirection(TGradientDirection value) {
    SetProperty(FDirection, value);
}

void TChartGradient::SetStartColor(TColor value) {
    SetProperty(FStartColor, value);
}

void TChartGradient::SetEndColor(TColor value) {
    SetProperty(FEndColor, value);
}

void TChartGradient::SetVisible(bool value) {
    SetProperty(FVisible, value);
}

void TChartGradient::Assign(const TChartGradient& source) {
    if (&source == this) {
        return;
    }
    FDirection = source.FDirection;
    FStartColor = source.FStartColor;
    FEndColor = source.FEndColor;
    FVisible = source.FVisible;
    Changed();
}

} // namespace Korvatel
