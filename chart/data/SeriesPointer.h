// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/core/Export.h>
#include <korvatel/canvas/ChartBrush.h>
#include <korvatel/canvas/ChartPen.h>
#include <korvatel/canvas/SolidGeometry.h>
#include <korvatel/core/ChartTypes.h>

#include <cstdint>
#include <span>
#include <vector>

namespace Korvatel {

class TCanvas3D;
class TChartSeries;

// The shape drawn at a point. The prefix keeps the values apart from the pen styles (ps...).
enum TSeriesPointerStyle : std::uint8_t {
    ptsRectangle,
    ptsCircle,
    ptsTriangle,
    ptsDownTriangle,
    ptsCross,
    ptsDiagCross,
    ptsStar,
    ptsDiamond
};

// The symbol that a line or point series draws at each point: a shape centred on the point's
// pixel, HorizSize pixels to either side and VertSize pixels above and below it, outlined by
// Pen and filled by Brush. A brush colour of clDefault fills with the point's colour. The
// cross styles have no inside, so their strokes take that fill colour, in the pen's width and
// style. Every change asks the owning series' chart for a repaint.
//
// In a three-dimensional chart (with Draw3D) a pointer is a solid as deep as it is wide,
// centred on the depth it is drawn at: a rectangle is a cube, a circle a round coin facing the
// viewer (a cylinder along the depth, whose front is the flat circle), a triangle a pyramid
// (upside down for ptsDownTriangle) and a diamond a prism of that outline. The crosses and the
// star have no inside to give depth to and stay flat shapes standing at their depth.
class KORVATEL_EXPORT TSeriesPointer {
public:
    // visible: whether the owner shows its pointers from the start.
    TSeriesPointer(TChartSeries* owner, bool visible);
    TSeriesPointer(const TSeriesPointer&) = delete;
    TSeriesPointer& operator=(const TSeriesPointer&) = delete;

    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    TSeriesPointerStyle Style() const { return FStyle; }
    void SetStyle(TSeriesPointerStyle value);
    // Half-sizes in pixels, 0 to LargestSize; a size of 0 gives a shape one pixel across.
    // Sizes outside are refused with ChartException: a pointer larger than any picture would
    // only drive the axes' margins to nonsense.
    static constexpr std::int32_t LargestSize = 1000;
    std::int32_t HorizSize() const { return FHorizSize; }
    void SetHorizSize(std::int32_t value);
    std::int32_t VertSize() const { return FVertSize; }
    void SetVertSize(std::int32_t value);
    // The series asks its axes for room, so that a pointer at either end of the range is
    // drawn whole.
    bool InflateMargins() const { return FInflateMargins; }
    void SetInflateMargins(bool value);
    // Draws the pointers of a three-dimensional chart as solids; off, they stay flat shapes.
    bool Draw3D() const { return FDraw3D; }
    void SetDraw3D(bool value);

    TChartPen& Pen() { return FPen; }
    const TChartPen& Pen() const { return FPen; }
    void SetPen(const TChartPen& value) { FPen.Assign(value); }
    TChartBrush& Brush() { return FBrush; }
    const TChartBrush& Brush() const { return FBrush; }
    void SetBrush(const TChartBrush& value) { FBrush.Assign(value); }

    // Takes every setting of another pointer.
    void Assign(const TSeriesPointer& source);

    // --- Drawing -------------------------------------------------------------------------

    // Sets the canvas's pen and brush up for pointers. DrawShape then changes only colours,
    // so that thousands of pointers cost one set-up.
    void Prepare(TCanvas3D& canvas) const;
    // Draws the pointer centred on (x, y) on a prepared canvas, for a point of that colour.
    void DrawShape(TCanvas3D& canvas, std::int32_t x, std::int32_t y, TColor pointColor) const;
    // Prepare and DrawShape for a single pointer.
    void Draw(TCanvas3D& canvas, std::int32_t x, std::int32_t y, TColor pointColor) const;
    // Whether the pointer is drawn as a solid: the canvas projects, Draw3D is on and the
    // style has an inside.
    bool DrawsSolid(bool projected) const;
    // The solid of a pointer centred on (x, y) of the 3D box at depth z, filled with the
    // point's colour and shaded when dark is set; DrawsSolid must hold.
    void DrawSolid(TCanvas3D& canvas, std::int32_t x, std::int32_t y, std::int32_t z,
                   TColor pointColor, bool dark) const;
    // Whether that solid covers the screen pixel (px, py).
    bool SolidContains(const TCanvas3D& canvas, std::int32_t x, std::int32_t y, std::int32_t z,
                       std::int32_t px, std::int32_t py) const;
    // The order in which solids centred on the points of the 3D box (at one depth) are drawn,
    // so that a solid nearer the viewer is drawn after those behind it: the indices of points,
    // farthest first along the canvas's view. Equally far points keep their order.
    static void SolidOrder(const TCanvas3D& canvas, std::span<const TPoint> points,
                           std::vector<std::uint32_t>& order);

    // The pointer as a legend entry shows it: centred in the rectangle, its half-sizes cut so
    // that it fits.
    void DrawInRect(TCanvas3D& canvas, const TRect& rect, TColor pointColor) const;

    // How far the pointer's pixels reach from its centre, horizontally and vertically: the
    // half-size plus the part of a wide pen that lies outside the shape.
    std::int32_t HorizExtent() const;
    std::int32_t VertExtent() const;
    // The pixels the pointer centred on (x, y) covers (right and bottom exclusive).
    TRect Box(std::int32_t x, std::int32_t y) const;

private:
    template <typename T>
    void SetProperty(T& field, T value) {
        if (field != value) {
            field = value;
            Changed();
        }
    }
    void Changed();
    void SetSize(std::int32_t& field, std::int32_t value);
    TColor FillColor(TColor pointColor) const;
    // The solid of the style (false for the flat ones) and the box it fills round (x, y, z).
    bool SolidOf(TSolidKind& kind, TSolidDirection& tip) const;
    void SolidBox(std::int32_t x, std::int32_t y, std::int32_t z, TRect& rect, std::int32_t& z0,
                  std::int32_t& z1) const;
    void DrawSized(TCanvas3D& canvas, std::int32_t x, std::int32_t y, TColor pointColor,
                   std::int64_t h, std::int64_t v) const;

    TChartSeries* FOwner;
    bool FVisible;
    TSeriesPointerStyle FStyle = ptsRectangle;
    std::int32_t FHorizSize = 4;
    std::int32_t FVertSize = 4;
    bool FInflateMargins = true;
    bool FDraw3D = true;
    TChartPen FPen;
    TChartBrush FBrush;
};

} // namespace Korvatel
