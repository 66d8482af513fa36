// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/core/Export.h>
#include <korvatel/canvas/Canvas3D.h>
#include <korvatel/canvas/ChartPen.h>
#include <korvatel/data/ChartSeries.h>
#include <korvatel/core/ChartTypes.h>
#include <korvatel/data/PieGeometry.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace Korvatel {

// A pie: one slice per point, its angle proportional to the magnitude of the point's value
// (Y), in the point's own palette colour (ColorEachPoint is on). It uses no axes: the circle is
// fitted into the chart rectangle, with room for the marks when they are shown, which sit
// round the circle joined to their slices by arrows of Marks.ArrowLength. The first slice
// starts at RotationAngle, counted counter-clockwise from three o'clock, and the slices
// follow counter-clockwise. The legend lists the points.
//
// In 3D the pie has thickness and lies flat, seen from the view's elevation (see
// PieDrawOrder in PieGeometry.h for the order of its slices). DonutPercent makes it a ring.
//
// Points without a slice: null points and values that are not finite numbers. A pie whose
// values are all zero (or that has no points) draws nothing; a lone value is a whole circle.
// PieGeometry.h holds the geometry.
class KORVATEL_EXPORT TPieSeries : public TChartSeries {
public:
    TPieSeries();
    ~TPieSeries() override;

    // --- Properties -----------------------------------------------------------------------

    // 0 to 359 degrees, anything else is refused with ChartException.
    std::int32_t RotationAngle() const { return FRotationAngle; }
    void SetRotationAngle(std::int32_t value);
    // How far the slice of the largest magnitude is moved out, in percent of the radius:
    // 0 to 100, anything else is refused with ChartException.
    std::int32_t ExplodeBiggest() const { return FExplodeBiggest; }
    void SetExplodeBiggest(std::int32_t value);
    // How far the slice of point index is moved out, in percent of the radius (0 to 100, else
    // ChartException; a negative index raises ListIndexError). Offsets belong to indexes, not
    // to points: they stay where they are when points are added or removed. They are kept in
    // a list as long as the highest index set, so the setter refuses an index above
    // LargestExplodedIndex with ChartException; the getter answers 0 beyond the list.
    static constexpr std::int32_t LargestExplodedIndex = (1 << 20) - 1;
    std::int32_t ExplodedOffset(std::int32_t index) const;
    void SetExplodedOffset(std::int32_t index, std::int32_t percent);
    // The size of the hole in the middle, in percent of the radius: 0 (a full pie) to 100,
    // anything else is refused with ChartException. The marks, the hit test and the 3D rims
    // follow the ring.
    std::int32_t DonutPercent() const { return FDonutPercent; }
    void SetDonutPercent(std::int32_t value);
    // The outline of the slices.
    TChartPen& PiePen() { return *FPiePen; }
    const TChartPen& PiePen() const { return *FPiePen; }
    void SetPiePen(const TChartPen& value) { FPiePen->Assign(value); }

    // The circle of the last repaint, in chart pixels (radius 0 before the first).
    const TPieCircle& Circle() const { return FCircle; }
    // The slices of the last repaint, one per point. In 3D the marks' arrows are those drawn,
    // from the rim of the top face.
    const std::vector<TPieSlice>& Slices() const { return FSlices; }
    // In 3D, the pie lying flat (the unexploded slice's place, radii and rows) and its pieces in
    // drawing order, of the last repaint; no pieces in 2D.
    const TSolidPieSlice& Solid() const { return FSolid; }
    const std::vector<TPiePiece>& Pieces() const { return FPieces; }
    // The radius of the hole of the last repaint (0 for a full pie).
    std::int32_t InnerRadius() const { return RingInnerRadius(FCircle.Radius, FDonutPercent); }

    // --- Hooks of the series ----------------------------------------------------------------

    bool UsesAxes() const override { return false; }
    // Fits the circle, lays the slices out and draws them.
    void DrawPoints() override;
    // Draws the slice of a point as the last DrawPoints laid it out.
    void DrawPoint(std::int32_t index) override;
    // The point whose slice lies under the pixel (as last drawn), or -1.
    std::int32_t PointAtPixel(std::int32_t x, std::int32_t y) const override;
    // The mark stands beyond the arrow from the middle of its slice's rim.
    void DrawPointMark(std::int32_t index, std::string_view text,
                       TSeriesMarkPosition& position) override;
    // The legend lists the points that have a slice.
    std::int32_t LegendItemCount() const override;
    std::int32_t LegendItemToPoint(std::int32_t item) const override;
    // A box in the slice's colour, outlined with PiePen.
    void DrawLegendSymbol(const TRect& rect) override;
    std::int32_t SampleCount() const override { return 8; }
    // A pie alone on a chart shows no axes.
    void GalleryPreview() override;
    std::string EditorClassName() const override { return "TPieSeriesEditor"; }
    // Another pie also hands over its pie settings.
    void Assign(TChartSeries& source) override;

private:
    // The values as the geometry reads them: NaN where a point has no slice.
    std::vector<double> SliceValues() const;
    bool HasSlice(std::int32_t index) const;
    // Whether a slice lies on the circle's centre (not exploded, not the whole circle).
    bool SharesCentre(std::size_t index) const;
    // Whether the next slice drawn with an outline starts its arc at the point, on the centre.
    bool NextStartsAt(std::size_t index, const TPoint& point) const;

    // The room the marks need beside the circle, and the rectangle the pie fits into.
    void MarkRoom(std::int32_t& roomX, std::int32_t& roomY);
    TRect InsideFrame() const;
    void DrawRingSlice(std::size_t place);

    // --- 3D ---
    // Lays the pie out lying flat and draws its pieces back to front.
    void DrawPoints3D();
    void DrawPiece(std::size_t piece);
    // The depth of a slice's centre on the table.
    std::int32_t SliceDepth(const TPieSlice& slice) const;

    std::int32_t FRotationAngle = 0;
    std::int32_t FDonutPercent = 0;
    std::int32_t FExplodeBiggest = 0;
    std::vector<std::int32_t> FExplodedOffsets;
    std::unique_ptr<TChartPen> FPiePen;
    TPieCircle FCircle;
    std::vector<TPieSlice> FSlices;
    // The slices' polygons as drawn, in chart pixels.
    std::vector<std::vector<TPoint>> FOutlines;
    // A ring's arcs as drawn (outer, inner), in chart pixels.
    std::vector<std::pair<std::vector<TPoint>, std::vector<TPoint>>> FArcs;
    // 3D: the pie lying flat (centre, radii and faces' rows), the pieces in drawing order, the
    // faces each piece drew (for the hit test) and the directions of the marks' arrows.
    bool FDrawn3D = false;
    TSolidPieSlice FSolid;
    std::vector<TPiePiece> FPieces;
    std::vector<std::vector<std::vector<TPoint>>> FPieceFaces;
    std::vector<double> FMarkAngles;
};

} // namespace Korvatel
