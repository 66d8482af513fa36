#include "ChartPanel.h"

#include "AxisLabelText.h"
#include "ChartCanvas3D.h"
#include "ChartErrors.h"
#include "ChartFont.h"
#include "ChartStrings.h"
#include "ChartWindow.h"

TCustomChartPanel::TCustomChartPanel() : FCanvas(std::make_unique<TChartCanvas3D>()) {
    FCanvas->OnRequestRepaint = [this] { RequestRepaint(); };
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
    FCanvas->MarkDirty();
    if (FWindow != nullptr) {
        FWindow->Invalidate();
    }
}

void TCustomChartPanel::RepaintImmediately() {
    if (!FRepaintEnabled || FDestroying) {
        return;
    }
    FCanvas->MarkDirty();
    if (FWindow != nullptr) {
        FWindow->RepaintNow();
    }
}

void TCustomChartPanel::SelectFont(TChartFont& font) {
    font.SetPixelsPerInch(FCanvas->Font().PixelsPerInch());
    FCanvas->Font().Assign(font);
}

std::int32_t TCustomChartPanel::TextBlockWidth(std::string_view text, std::int32_t* lineCount) {
    const TMultiLineExtent extent = MeasureMultiLineText(
        text, [this](std::string_view line) { return FCanvas->MeasureTextWidth(line); });
    if (lineCount != nullptr) {
        *lineCount = extent.Lines;
    }
    return extent.Width;
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

void TCustomChartPanel::SetMarginLeft(std::int32_t value) {
    SetProperty(FMarginLeft, value);
}
void TCustomChartPanel::SetMarginTop(std::int32_t value) {
    SetProperty(FMarginTop, value);
}
void TCustomChartPanel::SetMarginRight(std::int32_t value) {
    SetProperty(FMarginRight, value);
}
void TCustomChartPanel::SetMarginBottom(std::int32_t value) {
    SetProperty(FMarginBottom, value);
}
void TCustomChartPanel::SetBevelOuter(TPanelBevel value) {
    SetProperty(FBevelOuter, value);
}
void TCustomChartPanel::SetBevelInner(TPanelBevel value) {
    SetProperty(FBevelInner, value);
}
void TCustomChartPanel::SetBevelWidth(std::int32_t value) {
    SetProperty(FBevelWidth, value);
}
void TCustomChartPanel::SetBorderWidth(std::int32_t value) {
    SetProperty(FBorderWidth, value);
}
void TCustomChartPanel::SetView3D(bool value) {
    SetProperty(FView3D, value);
}
void TCustomChartPanel::SetView3DWalls(bool value) {
    SetProperty(FView3DWalls, value);
}

void TCustomChartPanel::SetChart3DPercent(std::int32_t value) {
    constexpr std::int32_t Lowest = 1;
    constexpr std::int32_t Highest = 100;
    if (value < Lowest || value > Highest) {
        throw ChartException(FormatMessage(ChartStrings::Chart3DPercent, Lowest, Highest));
    }
    SetProperty(FChart3DPercent, value);
}

void TCustomChartPanel::SetDepths3D(std::int32_t seriesDepth, std::int32_t depth) {
    FSeriesDepth3D = seriesDepth;
    FDepth3D = depth;
}

void TCustomChartPanel::SetPlotRect(const TRect& value) {
    FPlotRect = value;
    NormalizePlotRect();
}

void TCustomChartPanel::NormalizePlotRect() {
    TRect& r = FPlotRect;
    if (r.Left < FPanelBounds.Left) {
        r.Left = FPanelBounds.Left;
    }
    if (r.Top < FPanelBounds.Top) {
        r.Top = FPanelBounds.Top;
    }
    if (r.Right < r.Left) {
        r.Right = r.Left + 1;
    } else if (r.Right == r.Left) {
        r.Right = r.Left + FWidth;
    }
    if (r.Bottom < r.Top) {
        r.Bottom = r.Top + 1;
    } else if (r.Bottom == r.Top) {
        r.Bottom = r.Top + FHeight;
    }
    FPlotWidth = r.Right - r.Left;
    FPlotHeight = r.Bottom - r.Top;
    FPlotCenterX = (r.Left + r.Right) / 2;
    FPlotCenterY = (r.Top + r.Bottom) / 2;
}
