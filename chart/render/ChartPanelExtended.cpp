// SPDX-License-Identifier: MIT
#include <korvatel/render/ChartPanelExtended.h>

#include <korvatel/canvas/ChartCanvas3D.h>

namespace Korvatel {

TCustomChartPanelExtended::TCustomChartPanelExtended() : FGradient([this] { RequestRepaint(); }) {}

void TCustomChartPanelExtended::FillPanelArea(const TRect& rect) {
    if (!FGradient.Visible()) {
        TCustomChartPanel::FillPanelArea(rect);
        return;
    }
    Canvas().FillGradient(rect, FGradient.StartColor(), FGradient.EndColor(),
                          FGradient.Direction());
}

void TCustomChartPanelExtended::SetBackImage(const QImage& value) {
    // Compared by pixels: a copy of the same picture changes nothing.
    if (FBackImage != value) {
        FBackImage = value;
        RequestRepaint();
    }
}

void TCustomChartPanelExtended::PaintPanelBackground(const TRect& rect) {
    FillPanelArea(rect);
    if (!FBackImageInside) {
        DrawBackImage(rect);
    }
    DrawPanelBorder(rect);
}

void TCustomChartPanelExtended::DrawBackImage(const TRect& rect) {
    if (!FBackImage.isNull()) {
        Canvas().DrawImage(rect, FBackImage, FBackImageMode);
    }
}

} // namespace Korvatel
