// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/core/Export.h>
#include <korvatel/core/ChartTypes.h>
#include <korvatel/render/ZoomPanningRecord.h>

#include <QImage>
#include <cstdint>
#include <memory>
#include <string_view>

class QPainter;
class QPrinter;
class QRect;
class QRectF;
class QSize;
class QString;

namespace Korvatel {

class TChartCanvas3D;
class TChartFont;
class TChartSurface;
class TChartWindow;
class TView3DOptions;

enum TPanelBevel : std::uint8_t { bvNone, bvLowered, bvRaised, bvSpace };

// The base of the chart control: its window link, size, background colour and the repaint
// model. A repaint request only marks the picture stale and invalidates the window; the
// window system then delivers one paint, however many requests were made before it.
//
// One repaint is DrawOnto: the canvas starts drawing (into its kept off-screen image), the
// chart rectangle is laid out from the margins, RenderChart draws everything, and the image is
// copied onto the window's surface.
class KORVATEL_EXPORT TCustomChartPanel {
public:
    TCustomChartPanel();
    virtual ~TCustomChartPanel();
    TCustomChartPanel(const TCustomChartPanel&) = delete;
    TCustomChartPanel& operator=(const TCustomChartPanel&) = delete;

    // The window that shows the chart; none for a chart drawn only into images.
    TChartWindow* Window() const { return FWindow; }
    // A new window also takes the chart's cursor.
    void SetWindow(TChartWindow* window);

    // Marks the kept picture stale and asks the window for one paint.
    void RequestRepaint();
    // Marks the picture stale and has the window paint it before returning.
    void RepaintImmediately();
    bool RepaintEnabled() const { return FRepaintEnabled; }
    void SetRepaintEnabled(bool value) { FRepaintEnabled = value; }

    // The mouse cursor over the control; a change is handed to the window at once.
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor value);
    // The cursor the chart had when it was created; mouse handling returns to it when the
    // mouse leaves a series that shows a cursor of its own.
    TCursor InitialCursor() const { return FInitialCursor; }

    // True while the chart is being torn down: nothing may ask it for a repaint then.
    bool Destroying() const { return FDestroying; }
    // True while the stored layout is read; property checks that depend on the order in
    // which values arrive are off meanwhile.
    bool Loading() const { return FLoading; }
    void BeginLoading() { FLoading = true; }
    virtual void EndLoading() { FLoading = false; }

    // Size of the control in pixels.
    std::int32_t Width() const { return FWidth; }
    std::int32_t Height() const { return FHeight; }
    void SetSize(std::int32_t width, std::int32_t height);

    TColor Color() const { return FColor; }
    void SetColor(TColor value);

    // The canvas every pixel of the chart is drawn through; owned by the panel.
    TChartCanvas3D& Canvas() const { return *FCanvas; }
    // Makes a font the canvas font; the font first takes the canvas font's resolution, so
    // that its point size maps to the surface's pixels.
    virtual void SelectFont(TChartFont& font);
    // The width of a text that may hold several lines (separated by character 13) in the
    // current canvas font: the widest line. A last line after the last separator counts only
    // when it is not empty; an empty text is one line of width 0.
    std::int32_t TextBlockWidth(std::string_view text, std::int32_t* lineCount = nullptr);

    // --- Drawing ---------------------------------------------------------------------------

    // Draws the whole chart onto a surface, with the panel rectangle at rect: the window's
    // paint hands its own surface and the client rectangle; an image surface draws the chart
    // without any window.
    virtual void DrawOnto(TChartSurface& surface, const TRect& rect);
    // DrawOnto without its last step: the chart is drawn into the kept off-screen image (onto
    // the surface itself when the canvas keeps no image) and not copied anywhere, so the
    // picture stays marked stale.
    void DrawIntoBuffer(TChartSurface& surface, const TRect& rect);
    // The drawing pipeline of one repaint inside the panel rectangle.
    virtual void RenderChart(const TRect& panelRect) = 0;
    // The panel's background: FillPanelArea, then the border (DrawPanelBorder).
    virtual void PaintPanelBackground(const TRect& rect);
    // The panel colour over the whole rectangle.
    virtual void FillPanelArea(const TRect& rect);
    // The outer bevel, the border in the panel colour and the inner bevel, from the edge in.
    virtual void DrawPanelBorder(const TRect& rect);
    // The rubber band of a mouse zoom between the two corners of the zoom record, drawn in
    // not-xor so that drawing it again at the same place removes it.
    void DrawZoomRectangle();
    // The client rectangle of the control: (0, 0, Width, Height).
    virtual TRect ClientRect() const { return {0, 0, FWidth, FHeight}; }

    // --- Pictures and printing -------------------------------------------------------------
    //
    // The chart draws itself onto any surface at that surface's resolution, laid out in logical
    // pixels (96 to the inch) for the size asked for. The window's picture, its layout (which
    // mouse handling uses) and the kept image stay those of the window's last repaint.

    // Draws the whole chart onto a surface, with the panel rectangle at rect in the surface's
    // logical pixels, straight onto it (nothing is kept, nothing copied to the window).
    void DrawOntoSurface(TChartSurface& surface, const TRect& rect);
    // The chart as a picture of width x height logical pixels, drawn at devicePixelRatio device
    // pixels to the logical one; the image carries the ratio. At ratio 1 and the window's size
    // it is the window's picture, pixel for pixel. The device scale goes in steps of 1/256: a
    // ratio between two is drawn at the nearest, and the image carries the ratio drawn. Raises
    // ChartException, naming the ratio, for a ratio below 1/256 or above 64 (or not a number)
    // and for a picture without a single device pixel; and for a size below 1 x 1 and a
    // picture too large for the memory.
    QImage DrawToImage(std::int32_t width, std::int32_t height, double devicePixelRatio = 1.0);
    // Prints the whole chart on one page of the printer, inside its margins (see PrintPage).
    // Raises ChartException when the printer cannot start or fails.
    void Print(QPrinter& printer);
    // Prints the whole chart onto the page that painter is open on, inside pageRect (in the
    // painter's coordinates, whose device has its own resolution): laid out for the rectangle
    // in logical pixels of the device's 96 to the inch, at the window's aspect ratio as large
    // as fits when PrintProportional (at the top, centred across), else filling it. Printing()
    // is True meanwhile. Several pages of one document are several calls.
    void PrintPage(QPainter& painter, const QRectF& pageRect);
    // Keep the window's aspect ratio on paper.
    bool PrintProportional() const { return FPrintProportional; }
    void SetPrintProportional(bool value);
    // Writes the chart as a PDF of one page of size logical pixels (96 to the inch, so
    // 0.75 point each), in vectors. Raises ChartException for a size below 1 x 1 or above
    // LargestPdfPage x LargestPdfPage (200 inches, the largest page that PDF readers are held
    // to) and when the file cannot be written; a file that was there stays as it was then.
    void SaveToPdf(const QString& path, const QSize& size);
    // Draws the whole chart into any open painter (of an image, an SVG generator, a page, a
    // widget) with the panel rectangle at rect, in the painter's current coordinates, which
    // count as the chart's logical pixels: laid out for rect's size and drawn at the resolution
    // of the painter's device transform. The painter's state is as it was afterwards.
    // Printing() stays False: the chart draws as on a screen. Raises ChartException for a
    // rectangle below 1 x 1 and passes on what a chart event handler raised.
    void DrawToPainter(QPainter& painter, const QRect& rect);
    static constexpr std::int32_t LargestPdfPage = 19200;

    // The drag records of the mouse: the zoom's rubber band and the scroll.
    TZoomPanningRecord& Zoom() { return FZoom; }
    const TZoomPanningRecord& Zoom() const { return FZoom; }
    TZoomPanningRecord& Scroll() { return FScroll; }
    const TZoomPanningRecord& Scroll() const { return FScroll; }

    // The viewing angles and zoom of the 3D box; owned by the panel.
    TView3DOptions& View3DOptions() const { return *FView3DOptions; }
    bool Monochrome() const;
    void SetMonochrome(bool value);
    // Smooth edges for lines, curves, ellipses, polygons, pies and text, in the window, in
    // pictures and on paper (see TChartCanvas3D::Antialiasing). Off by default: every pixel
    // then follows the canvas's exact rules.
    bool Antialiasing() const;
    void SetAntialiasing(bool value);

    // --- Layout ----------------------------------------------------------------------------

    // Percent of the panel width (left, right) or height (top, bottom) left around PlotRect,
    // 0 to 100 each.
    std::int32_t MarginLeft() const { return FMarginLeft; }
    void SetMarginLeft(std::int32_t value);
    std::int32_t MarginTop() const { return FMarginTop; }
    void SetMarginTop(std::int32_t value);
    std::int32_t MarginRight() const { return FMarginRight; }
    void SetMarginRight(std::int32_t value);
    std::int32_t MarginBottom() const { return FMarginBottom; }
    void SetMarginBottom(std::int32_t value);

    TPanelBevel BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TPanelBevel value);
    TPanelBevel BevelInner() const { return FBevelInner; }
    void SetBevelInner(TPanelBevel value);
    std::int32_t BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(std::int32_t value);
    std::int32_t BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(std::int32_t value);

    // The panel rectangle of the current repaint, in drawing coordinates.
    const TRect& PanelBounds() const { return FPanelBounds; }
    void SetPanelBounds(const TRect& value) { FPanelBounds = value; }
    // The chart rectangle: where walls and series are drawn and axes are placed. Recomputed
    // by every repaint; mouse handling between repaints uses the last one.
    const TRect& PlotRect() const { return FPlotRect; }
    // Stores a new chart rectangle and repairs it (NormalizePlotRect).
    void SetPlotRect(const TRect& value);
    std::int32_t PlotWidth() const { return FPlotWidth; }
    std::int32_t PlotHeight() const { return FPlotHeight; }
    std::int32_t PlotCenterX() const { return FPlotCenterX; }
    std::int32_t PlotCenterY() const { return FPlotCenterY; }
    // Keeps PlotRect inside the panel's top left and at least one pixel wide and high.
    void NormalizePlotRect();
    // The first chart rectangle of a repaint: PanelBounds less BorderWidth and the margins
    // (percent of the panel's width and height), repaired by NormalizePlotRect.
    void ApplyPanelMargins();

    // --- Three dimensions ------------------------------------------------------------------

    bool View3D() const { return FView3D; }
    void SetView3D(bool value);
    bool View3DWalls() const { return FView3DWalls; }
    void SetView3DWalls(bool value);
    // Depth of one series' slab, in per mille of the plot width; 1 to 100.
    std::int32_t Chart3DPercent() const { return FChart3DPercent; }
    void SetChart3DPercent(std::int32_t value);
    // Total and per-series depth of the 3D box (0 in 2D), set by every layout.
    std::int32_t Depth3D() const { return FDepth3D; }
    std::int32_t SeriesDepth3D() const { return FSeriesDepth3D; }
    void SetDepths3D(std::int32_t seriesDepth, std::int32_t depth);
    std::int32_t HighestZOrder() const { return FHighestZOrder; }
    void SetHighestZOrder(std::int32_t value) { FHighestZOrder = value; }

    // True while the chart prints (Print, PrintPage): the drawing rules for paper apply, and
    // the window does not paint meanwhile.
    bool Printing() const { return FPrinting; }

protected:
    void MarkDestroying() { FDestroying = true; }

private:
    template <typename T>
    void SetProperty(T& field, T value) {
        if (field != value) {
            field = value;
            RequestRepaint();
        }
    }

    // Draws one bevel of width rings in the two colours on rect and shrinks rect past it.
    void DrawBevel(TRect& rect, TColor topColor, TColor bottomColor, std::int32_t width);

    std::unique_ptr<TChartCanvas3D> FCanvas;
    std::unique_ptr<TView3DOptions> FView3DOptions;
    TZoomPanningRecord FZoom;
    TZoomPanningRecord FScroll;
    TChartWindow* FWindow = nullptr;
    TCursor FCursor = crDefault;
    TCursor FInitialCursor = FCursor;
    bool FRepaintEnabled = false;
    bool FDestroying = false;
    bool FLoading = false;
    std::int32_t FWidth = 400;
    std::int32_t FHeight = 250;
    TColor FColor = clBtnFace;
    std::int32_t FMarginLeft = 3;
    std::int32_t FMarginTop = 4;
    std::int32_t FMarginRight = 3;
    std::int32_t FMarginBottom = 4;
    TPanelBevel FBevelOuter = bvRaised;
    TPanelBevel FBevelInner = bvNone;
    std::int32_t FBevelWidth = 1;
    std::int32_t FBorderWidth = 0;
    TRect FPanelBounds;
    TRect FPlotRect;
    std::int32_t FPlotWidth = 0;
    std::int32_t FPlotHeight = 0;
    std::int32_t FPlotCenterX = 0;
    std::int32_t FPlotCenterY = 0;
    bool FView3D = true;
    bool FView3DWalls = true;
    std::int32_t FChart3DPercent = 15;
    std::int32_t FDepth3D = 0;
    std::int32_t FSeriesDepth3D = 0;
    std::int32_t FHighestZOrder = 0;
    bool FPrinting = false;
    bool FPrintProportional = true;
};

} // namespace Korvatel
