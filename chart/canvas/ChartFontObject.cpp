// SPDX-License-Identifier: MIT
#include <korvatel/canvas/ChartFontObject.h>

#include <korvatel/render/ChartPanel.h>

namespace Korvatel {

TChartFontObject::TChartFontObject(TCustomChartPanel* chart, TColor fontColor)
    : FParentChart(chart) {
    // The part's own default is set before the notification is attached: creating a part is
    // not a change of the chart.
    FFont.SetColor(fontColor);
    FFont.SetOnChange([this] { Repaint(); });
}

void TChartFontObject::Assign(const TChartFontObject& source) {
    if (&source != this) {
        FFont.Assign(source.FFont);
    }
}

void TChartFontObject::Repaint() const {
    if (FParentChart != nullptr) {
        FParentChart->RequestRepaint();
    }
}

} // namespace Korvatel
