// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/core/Export.h>
#include <korvatel/canvas/ChartBrush.h>
#include <korvatel/canvas/ChartFont.h>
#include <korvatel/canvas/ChartPen.h>
#include <korvatel/canvas/ChartSurface.h>

#include <cstdint>

namespace Korvatel {

// How text, hatched brushes and dashed pens treat the pixels behind them: left as they are, or
// painted in the text background colour. The values are the platform's.
enum TCanvasBackMode : std::uint8_t { cbmTransparent = 1, cbmOpaque = 2 };

// The reference point of DrawTextAt: the sum of a horizontal and a vertical part, as the
// platform's text alignment flags have it.
namespace TextAlign {
inline constexpr std::int32_t Left = 0;
inline constexpr std::int32_t Right = 2;
inline constexpr std::int32_t Center = 6;
inline constexpr std::int32_t Top = 0;
inline constexpr std::int32_t Bottom = 8;
inline constexpr std::int32_t Baseline = 24;
inline constexpr std::int32_t HorizontalMask = 6;
inline constexpr std::int32_t VerticalMask = 24;
} // namespace TextAlign

// The base of the canvas: the drawing target with its current pen, brush and font.
//
// Pen, brush and font are the surface's current drawing objects, not the chart's property
// objects: callers set them (directly, with Assign, or with ApplyChartPen) before each drawing
// operation, and the canvas reads them when it draws. Changing them costs nothing until the next
// drawing operation, which picks the new values up.
class KORVATEL_EXPORT TChartCanvas {
public:
    TChartCanvas();
    virtual ~TChartCanvas() = default;
    TChartCanvas(const TChartCanvas&) = delete;
    TChartCanvas& operator=(const TChartCanvas&) = delete;

    // Where drawing operations go; none (null) draws nothing. The repaint protocol of the 3D
    // canvas moves it between the window's surface and the off-screen image; it may also be set
    // directly to draw onto any surface. The canvas does not own it: the caller keeps it alive
    // while it is the target and sets another one (or none) before destroying it.
    TChartSurface* TargetSurface() const { return FTargetSurface; }
    virtual void SetTargetSurface(TChartSurface* surface);

    TChartPen& Pen() { return FPen; }
    const TChartPen& Pen() const { return FPen; }
    TChartBrush& Brush() { return FBrush; }
    const TChartBrush& Brush() const { return FBrush; }
    TChartFont& Font() { return FFont; }
    const TChartFont& Font() const { return FFont; }

    // The background behind text, hatched brushes and dashed pens in opaque mode. The setter
    // resolves a system colour first, so the getter answers a plain colour.
    virtual TColor TextBackgroundColor() const = 0;
    virtual void SetTextBackgroundColor(TColor value) = 0;
    virtual TCanvasBackMode TextBackgroundMode() const = 0;
    virtual void SetTextBackgroundMode(TCanvasBackMode value) = 0;
    // The reference point of DrawTextAt (TextAlign); users that change it put it back to 0
    // (left, top) when done.
    virtual std::int32_t TextAlignment() const = 0;
    virtual void SetTextAlignment(std::int32_t value) = 0;

    // Makes a chart pen the surface pen: a hidden pen becomes a clear pen (nothing drawn by the
    // pen; fills still happen); a SmallDots pen one pixel wide becomes a pen that sets every
    // other pixel, in the pen's colour; any other pen gives its colour, width, style and mode.
    void ApplyChartPen(const TChartPen& pen);
    // The state every repaint ends with: pen black, one pixel, solid, copy mode; brush white,
    // solid, no image; font colour black, 10 points; text background white and transparent.
    void ResetDrawingState();

protected:
    // Called whenever the pen, the brush or the font reports a change.
    virtual void PenChanged() {}
    virtual void BrushChanged() {}
    virtual void FontChanged() {}

private:
    TChartSurface* FTargetSurface = nullptr;
    TChartPen FPen;
    TChartBrush FBrush;
    TChartFont FFont;
};

} // namespace Korvatel
