#include "ChartLegend.h"

TChartLegend::TChartLegend(TCustomChartPanel* chart) : TChartFontObject(chart) {}

void TChartLegend::SetVisible(bool value) {
    SetProperty(FVisible, value);
}

void TChartLegend::SetAlignment(TLegendAlignment value) {
    SetProperty(FAlignment, value);
}

void TChartLegend::Assign(const TChartFontObject& source) {
    if (&source == this) {
        return;
    }
    TChartFontObject::Assign(source);
    if (const auto* legend = dynamic_cast<const TChartLegend*>(&source)) {
        SetVisible(legend->FVisible);
        SetAlignment(legend->FAlignment);
    }
}
