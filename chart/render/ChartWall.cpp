// SPDX-License-Identifier: MIT
#include <korvatel/render/ChartWall.h>

#include <korvatel/render/ChartPanel.h>

namespace Korvatel {

TCustomChartWall::TCustomChartWall(TCustomChartPanel* chart, TColor defaultColor,
                                   TBrushStyle defaultBrushStyle)
    : FParentChart(chart), FColor(defaultColor), FDefaultColor(defaultColor) {
    // The wall's own defaults are set before the notifications are attached: creating a wall
    // is not a change of the chart.
    FBrush.SetStyle(defaultBrushStyle);
    FBrush.SetOnChange([this] { Repaint(); });
    FPen.SetOnChange([this] { Repaint(); });
}

void TCustomChartWall::Repaint() const {
    if (FParentChart != nullptr) {
        FParentChart->RequestRepaint();
    }
}

void TCustomChartWall::SetColor(TColor value) {
    SetProperty(FColor, value);
}

void TCustomChartWall::SetDark3D(bool value) {
    SetProperty(FDark3D, value);
}

void TCustomChartWall::SetSize(std::int32_t value) {
    SetProperty(FSize, value);
}

void TCustomChartWall::Assign(const TCustomChartWall& source) {
    if (&source == this) {
        return;
    }
    FBrush.Assign(source.FBrush);
    SetColor(source.FColor);
    SetDark3D(source.FDark3D);
    FPen.Assign(source.FPen);
    SetSize(source.FSize);
}

} // namespace Korvatel
