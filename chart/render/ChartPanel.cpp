// SPDX-License-Identifier: MIT
#include <korvatel/render/ChartPanel.h>

#include <korvatel/axes/AxisLabelText.h>
#include <korvatel/canvas/ChartCanvas3D.h>
#include <korvatel/core/ChartErrors.h>
#include <korvatel/canvas/ChartFont.h>
#include <korvatel/core/ChartStrings.h>
#include <korvatel/canvas/ChartSurface.h>
#include <korvatel/render/ChartWindow.h>
#include <korvatel/core/Rounding.h>
#include <korvatel/canvas/SystemColors.h>
#include <korvatel/canvas/View3DOptions.h>

#include <array>

namespace Korvatel {

TCustomChartPanel::TCustomChartPanel()
    : FCanvas(std::make_unique<TChartCanvas3D>()),
      FView3DOptions(std::make_unique<TView3DOptions>([this] { RequestRepaint(); })) {
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

void TCustomChartPanel::SetWindow(TChartWindow* window) {
    FWindow = window;
    if (FWindow != nullptr && FCursor != crDefault) {
        FWindow->SetCursorShape(FCursor);
    }
}

void TCustomChartPanel::SetCursor(TCursor value) {
    // The cursor is the window's business, not the picture's: no repaint.
    if (FCursor != value) {
        FCursor = value;
        if (FWindow != nullptr) {
            FWindow->SetCursorShape(value);
        }
    }
}

bool TCustomChartPanel::Monochrome() const {
    return FCanvas->Monochrome();
}

void TCustomChartPanel::SetMonochrome(bool value) {
    // The canvas asks for the repaint itself when the value changes.
    FCanvas->SetMonochrome(value);
}

bool TCustomChartPanel::Antialiasing() const {
    return FCanvas->Antialiasing();
}

void TCustomChartPanel::SetAntialiasing(bool value) {
    // The canvas asks for the repaint itself when the value changes.
    FCanvas->SetAntialiasing(value);
}

// --- Drawing -----------------------------------------------------------------------------------

void TCustomChartPanel::DrawOnto(TChartSurface& surface, const TRect& rect) {
    DrawIntoBuffer(surface, rect);
    FCanvas->PresentBuffer(surface, rect);
}

void TCustomChartPanel::DrawIntoBuffer(TChartSurface& surface, const TRect& rect) {
    FPanelBounds = FCanvas->BeginDrawing(surface, FView3DOptions.get(), rect, FView3D);
    ApplyPanelMargins();
    RenderChart(FPanelBounds);
}

void TCustomChartPanel::PaintPanelBackground(const TRect& rect) {
    FillPanelArea(rect);
    DrawPanelBorder(rect);
}

void TCustomChartPanel::FillPanelArea(const TRect& rect) {
    TChartBrush& brush = FCanvas->Brush();
    brush.SetColor(FColor);
    brush.SetStyle(bsSolid);
    FCanvas->ClearBackground(rect);
}

void TCustomChartPanel::DrawBevel(TRect& rect, TColor topColor, TColor bottomColor,
                                  std::int32_t width) {
    TChartPen& pen = FCanvas->Pen();
    pen.SetWidth(1);
    TRect& r = rect;
    r.Right = ClampToInt32(std::int64_t{r.Right} - 1);
    r.Bottom = ClampToInt32(std::int64_t{r.Bottom} - 1);
    for (std::int32_t ring = 0; ring < width; ++ring) {
        // Once the rings meet in the middle there is nothing left to draw on, however wide the
        // bevel was asked to be.
        if (r.Right < r.Left || r.Bottom < r.Top) {
            break;
        }
        pen.SetColor(topColor);
        const std::array<TPoint, 3> light{{{r.Left, r.Bottom}, {r.Left, r.Top}, {r.Right, r.Top}}};
        FCanvas->DrawPolyline(light);
        pen.SetColor(bottomColor);
        // The last point of a polyline is not painted, so the bottom line ends one pixel
        // beyond the left edge to reach the corner.
        const std::array<TPoint, 3> dark{{{r.Right, r.Top},
                                          {r.Right, r.Bottom},
                                          {ClampToInt32(std::int64_t{r.Left} - 1), r.Bottom}}};
        FCanvas->DrawPolyline(dark);
        r = {ClampToInt32(std::int64_t{r.Left} + 1), ClampToInt32(std::int64_t{r.Top} + 1),
             ClampToInt32(std::int64_t{r.Right} - 1), ClampToInt32(std::int64_t{r.Bottom} - 1)};
    }
    r.Right = ClampToInt32(std::int64_t{r.Right} + 1);
    r.Bottom = ClampToInt32(std::int64_t{r.Bottom} + 1);
}

void TCustomChartPanel::DrawPanelBorder(const TRect& rect) {
    TChartPen& pen = FCanvas->Pen();
    pen.SetStyle(psSolid);
    pen.SetWidth(1);
    pen.SetMode(pmCopy);
    FCanvas->Brush().SetStyle(bsClear);
    const auto topColor = [](TPanelBevel bevel) {
        return bevel == bvLowered ? clBtnShadow : clBtnHighlight;
    };
    const auto bottomColor = [](TPanelBevel bevel) {
        return bevel == bvRaised ? clBtnShadow : clBtnHighlight;
    };
    TRect r = rect;
    if (FBevelOuter != bvNone) {
        DrawBevel(r, topColor(FBevelOuter), bottomColor(FBevelOuter), FBevelWidth);
    }
    DrawBevel(r, FColor, FColor, FBorderWidth);
    if (FBevelInner != bvNone) {
        DrawBevel(r, topColor(FBevelInner), bottomColor(FBevelInner), FBevelWidth);
    }
}

void TCustomChartPanel::DrawZoomRectangle() {
    // Not-xor with the panel colour shows on the panel; on white it would vanish, so black.
    const QRgb panel = ColorToRgb(FColor);
    const bool white = qRed(panel) == 255 && qGreen(panel) == 255 && qBlue(panel) == 255;
    TChartPen& pen = FCanvas->Pen();
    pen.SetColor(white ? clBlack : FColor);
    pen.SetMode(pmNotXor);
    pen.SetStyle(psSolid);
    pen.SetWidth(1);
    pen.SetVisible(true);
    FCanvas->Brush().SetStyle(bsClear);
    FCanvas->DrawRectangle(FZoom.AnchorX, FZoom.AnchorY, FZoom.CurrentX, FZoom.CurrentY);
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
    CheckPropertyRange("MarginLeft", value, 0, 100);
    SetProperty(FMarginLeft, value);
}
void TCustomChartPanel::SetMarginTop(std::int32_t value) {
    CheckPropertyRange("MarginTop", value, 0, 100);
    SetProperty(FMarginTop, value);
}
void TCustomChartPanel::SetMarginRight(std::int32_t value) {
    CheckPropertyRange("MarginRight", value, 0, 100);
    SetProperty(FMarginRight, value);
}
void TCustomChartPanel::SetMarginBottom(std::int32_t value) {
    CheckPropertyRange("MarginBottom", value, 0, 100);
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

void TCustomChartPanel::ApplyPanelMargins() {
    const TRect& b = FPanelBounds;
    const std::int32_t w = b.Width();
    const std::int32_t h = b.Height();
    const std::int64_t border = FBorderWidth;
    // In 64 bits: the border width is user input and may be anything.
    FPlotRect = {ClampToInt32(b.Left + border + MulDiv(FMarginLeft, w, 100)),
                 ClampToInt32(b.Top + border + MulDiv(FMarginTop, h, 100)),
                 ClampToInt32(b.Right - border - MulDiv(FMarginRight, w, 100)),
                 ClampToInt32(b.Bottom - border - MulDiv(FMarginBottom, h, 100))};
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
        r.Right = ClampToInt32(std::int64_t{r.Left} + 1);
    } else if (r.Right == r.Left) {
        r.Right = ClampToInt32(std::int64_t{r.Left} + FWidth);
    }
    if (r.Bottom < r.Top) {
        r.Bottom = ClampToInt32(std::int64_t{r.Top} + 1);
    } else if (r.Bottom == r.Top) {
        r.Bottom = ClampToInt32(std::int64_t{r.Top} + FHeight);
    }
    FPlotWidth = ClampToInt32(std::int64_t{r.Right} - r.Left);
    FPlotHeight = ClampToInt32(std::int64_t{r.Bottom} - r.Top);
    FPlotCenterX = static_cast<std::int32_t>((std::int64_t{r.Left} + r.Right) / 2);
    FPlotCenterY = static_cast<std::int32_t>((std::int64_t{r.Top} + r.Bottom) / 2);
}

} // namespace Korvatel
