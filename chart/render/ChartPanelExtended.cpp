#include "ChartPanelExtended.h"

#include "ChartCanvas3D.h"

TCustomChartPanelExtended::TCustomChartPanelExtended() : FGradient([this] { RequestRepaint(); }) {}

void TCustomChartPanelExtended::FillPanelArea(const TRect& rect) {
    if (!FGradient.Visible()) {
        TCustomChartPanel::FillPanelArea(rect);
        return;
    }
    Canvas().FillGradient(rect, FGradient.StartColor(), FGradient.EndColor(),
                          FGradient.Direction());
}
