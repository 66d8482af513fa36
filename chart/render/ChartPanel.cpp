#include "ChartPanel.h"

#include "ChartWindow.h"

TCustomChartPanel::TCustomChartPanel() {
    // Repaint requests are ignored until the base panel stands.
    FRepaintEnabled = true;
}

TCustomChartPanel::~TCustomChartPanel() {
    FDestroying = true;
}

void TCustomChartPanel::RequestRepaint() {
    if (!FRepaintEnabled || FDestroying) {
        return;
    }
    if (FWindow != nullptr) {
        FWindow->Invalidate();
    }
}

void TCustomChartPanel::SetSize(std::int32_t width, std::int32_t height) {
    if (FWidth != width || FHeight != height) {
        FWidth = width;
        FHeight = height;
        RequestRepaint();
    }
}

void TCustomChartPanel::SetColor(TColor value) {
    if (FColor != value) {
        FColor = value;
        RequestRepaint();
    }
}
