// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/core/Export.h>
#include <korvatel/canvas/ChartPen.h>
#include <korvatel/data/ChartSeries.h>
#include <korvatel/data/SeriesPointer.h>
#include <korvatel/data/SeriesRibbon.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Korvatel {

// A series drawn as a line through its points in list order, with an optional pointer at
// each point. Null points (clNone) and points whose values are not finite numbers break the
// line. A point with a colour of its own, or a palette colour with ColorEachPoint, draws its
// pointer and the segment that leaves it in that colour; every other segment takes the colour
// of LinePen. Stairs draws each segment as a step: across at the height of the point it
// leaves, then up or down to the next point (InvertedStairs: up or down first).
//
// One repaint maps the visible points a block at a time, then draws the line as chains of
// one colour and the pointers over it. The chart asks for room at the axes' ends for the
// pointers, so that a pointer at either end of the range is drawn whole.
class KORVATEL_EXPORT TLineSeries : public TChartSeries {
public:
    TLineSeries();
    ~TLineSeries() override;

    TChartPen& LinePen() { return *FLinePen; }
    const TChartPen& LinePen() const { return *FLinePen; }
    // Takes the pen's settings, then its colour as the series colour.
    void SetLinePen(const TChartPen& pen);
    TSeriesPointer& Pointer() { return *FPointer; }
    const TSeriesPointer& Pointer() const { return *FPointer; }
    void SetPointer(const TSeriesPointer& value) { FPointer->Assign(value); }
    bool Stairs() const { return FStairs; }
    void SetStairs(bool value);
    bool InvertedStairs() const { return FInvertedStairs; }
    void SetInvertedStairs(bool value);

    // The series colour is also the line's colour.
    void SetSeriesColor(TColor value) override;
    // Another line series also hands over its pen, pointer and steps.
    void Assign(TChartSeries& source) override;

    void DrawPoints() override;
    // The segment from the point before (when both are drawn) and the pointer of the point.
    void DrawPoint(std::int32_t index) override;
    // Lifts the mark by Marks.ArrowLength above the point, so that an arrow leads up to it.
    void DrawPointMark(std::int32_t index, std::string_view text,
                       TSeriesMarkPosition& position) override;

    // The point whose pointer holds the pixel (the one drawn last, on top), else the first
    // point of the segment that passes within a click's reach of it; -1 for neither. Works on
    // the points of the last repaint.
    std::int32_t PointAtPixel(std::int32_t x, std::int32_t y) const override;
    // Whether p lies within reach pixels of the segment from a to b.
    static bool NearSegment(const TPoint& p, const TPoint& a, const TPoint& b, std::int32_t reach);

    // Room for the pointers beyond the first and last point, when they are shown and ask
    // for it (Pointer.InflateMargins).
    void HorizontalMargins(std::int32_t& left, std::int32_t& right) const override;
    void VerticalMargins(std::int32_t& top, std::int32_t& bottom) const override;

    // The legend's sample: a stroke of the line across the middle of the rectangle, with the
    // pointer in its centre when pointers are shown; for a point, in the point's colour.
    void DrawLegendSymbol(const TRect& rect) override;
    void PaintLegendItem(std::int32_t index, const TRect& rect) override;

    // A gallery shows the line with its pointers, which tells it apart from the fast line.
    void GalleryPreview() override { FPointer->SetVisible(true); }
    std::string EditorClassName() const override { return "TLineSeriesEditor"; }

protected:
    // The visible points of one drawing, mapped to pixels (and projected in 3D), with the
    // colour each is drawn in: clDefault for the series' own colour, clNone for a point that
    // is not drawn (a null point, or one whose values are not finite numbers).
    struct TMappedPoints {
        std::int32_t FirstIndex = 0;
        // Pointers are drawn from this entry on.
        std::size_t PointerStart = 0;
        std::vector<TPoint> Pixels;
        std::vector<TColor> Colors;
        // Where the region of an area ends below (or above) each point; empty for a line.
        std::vector<TPoint> Bases;
        // In 3D, Pixels and Bases before the projection (empty in 2D): the faces that the
        // series sweeps through its depth slot are projected from these.
        std::vector<TPoint> Flat;
        std::vector<TPoint> FlatBases;

        std::size_t Count() const { return Pixels.size(); }
    };

    // The values the line passes through for count points from first on: the mandatory
    // values; a stacked area its stacked tops.
    virtual void LineValues(std::int32_t first, std::int32_t count, double* out) const;
    // The values where a filled region ends on the other side, for the same points; false
    // (and nothing written) for a series without a region.
    virtual bool BaseValues(std::int32_t /*first*/, std::int32_t /*count*/, double* /*out*/) const {
        return false;
    }
    // The depth at which the points are projected in 3D (flat pointers, marks, the hit test):
    // the middle of the slot; an area stands its front face and flat pointers at the front.
    // Pointers drawn as solids are centred in the slot.
    virtual std::int32_t DrawingDepth() const { return MiddleDepth(); }
    // Maps the points first..last into points.
    void MapPoints(std::int32_t first, std::int32_t last, TMappedPoints& points) const;
    // Draws mapped points: the line, then the pointers. An area fills its region first.
    virtual void DrawMappedPoints(const TMappedPoints& points);
    // The line through mapped points with a pen, as chains of one colour.
    void DrawLine(const TMappedPoints& points, const TChartPen& pen);
    // In 3D the line is a ribbon across the depth slot, in the colours of the line.
    void DrawRibbon(const TMappedPoints& points);
    void DrawPointers(const TMappedPoints& points);
    // In 3D the pointers are solids, drawn from the farthest to the nearest.
    void DrawPointerSolids(const TMappedPoints& points);
    // Makes pen the canvas pen (a hidden pen draws nothing) with a clear brush, and answers
    // whether it draws at all.
    bool PrepareLinePen(const TChartPen& pen);
    // Whether point index is drawn: not null, its values finite numbers.
    bool PointIsDrawn(std::int32_t index) const;
    // The legend's sample for a point of that colour (clDefault: the series' own colours).
    virtual void DrawLegendEntry(const TRect& rect, TColor color);
    // The corner of the step from a to b.
    TPoint StepCorner(const TPoint& a, const TPoint& b) const {
        return FInvertedStairs ? TPoint{a.X, b.Y} : TPoint{b.X, a.Y};
    }
    // The chart's pixel under a mouse pixel, taken back from the projection.
    TPoint UnprojectedPixel(std::int32_t x, std::int32_t y) const;
    // The last point of the last drawing's range that still exists, and the first, which is
    // the point before the visible range when there is one (its segment enters the chart).
    bool DrawnRange(std::int32_t& first, std::int32_t& last) const;

private:
    std::unique_ptr<TChartPen> FLinePen;
    std::unique_ptr<TSeriesPointer> FPointer;
    bool FStairs = false;
    bool FInvertedStairs = false;
    // Kept between repaints, so that drawing allocates nothing once they have grown.
    TMappedPoints FMapped;
    std::vector<TPoint> FChain;
    std::vector<std::uint32_t> FPointerOrder;
    TSeriesRibbon FRibbon;
};

} // namespace Korvatel
