// SPDX-License-Identifier: MIT
#include <korvatel/canvas/ChartCanvas.h>

namespace Korvatel {

TChartCanvas::TChartCanvas() {
    // The surface's own brush is white and solid; the chart's brushes default to clDefault.
    FBrush.SetColor(clWhite);
    FPen.SetOnChange([this] { PenChanged(); });
    FBrush.SetOnChange([this] { BrushChanged(); });
    FFont.SetOnChange([this] { FontChanged(); });
}

void TChartCanvas::SetTargetSurface(TChartSurface* surface) {
    FTargetSurface = surface;
}

void TChartCanvas::ApplyChartPen(const TChartPen& pen) {
    if (!pen.Visible()) {
        FPen.SetStyle(psClear);
        FPen.SetVisible(true);
        return;
    }
    FPen.SetColor(pen.Color());
    FPen.SetWidth(pen.Width());
    FPen.SetMode(pen.Mode());
    FPen.SetVisible(true);
    if (pen.SmallDots() && pen.Width() <= 1) {
        // Every other pixel, whatever the pen's own style.
        FPen.SetStyle(psSolid);
        FPen.SetSmallDots(true);
    } else {
        FPen.SetStyle(pen.Style());
        FPen.SetSmallDots(false);
    }
}

void TChartCanvas::ResetDrawingState() {
    FPen.SetColor(clBlack);
    FPen.SetWidth(1);
    FPen.SetStyle(psSolid);
    // Not part of the platform pen's reset, but a rubber band left in not-xor mode must not
    // turn the next repaint's lines into inversions.
    FPen.SetMode(pmCopy);
    FPen.SetVisible(true);
    FPen.SetSmallDots(false);
    FBrush.SetColor(clWhite);
    FBrush.SetStyle(bsSolid);
    FBrush.ClearImage();
    FFont.SetColor(clBlack);
    FFont.SetSize(10);
    SetTextBackgroundColor(clWhite);
    SetTextBackgroundMode(cbmTransparent);
}

} // namespace Korvatel
