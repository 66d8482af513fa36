#include "ChartAxis.h"

#include "AxisPanel.h"

TCustomChartAxis::TCustomChartAxis(TCustomAxisPanel* chart, bool horizontal, bool oppositeSide,
                                   bool depth)
    : FParentChart(chart), FIsHorizontal(horizontal), FOppositeSide(oppositeSide), FIsDepth(depth),
      FVisible(!depth) {}

void TCustomChartAxis::Changed() const {
    if (FParentChart != nullptr) {
        FParentChart->RequestRepaint();
    }
}

void TCustomChartAxis::SetVisible(bool value) {
    if (FVisible != value) {
        FVisible = value;
        Changed();
    }
}

TChartDepthAxis::TChartDepthAxis(TCustomAxisPanel* chart)
    : TCustomChartAxis(chart, false, true, true) {}
