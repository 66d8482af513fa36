// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/core/Export.h>
#include <korvatel/data/AreaStacking.h>
#include <korvatel/canvas/ChartBrush.h>
#include <korvatel/canvas/ChartPen.h>
#include <korvatel/data/LineSeries.h>
#include <korvatel/data/SeriesRibbon.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Korvatel {

// A line series whose region between the line and its origin is filled with AreaBrush and
// outlined by AreaLinesPen. The origin is YOrigin with UseYOrigin, otherwise the vertical
// axis's minimum, so that the region reaches down to the bottom of the chart. A brush colour
// of clDefault fills with the series colour, or per segment with the colour of the point it
// leaves when points have colours of their own. Null points break the region, as they break
// the line. The line itself (LinePen) is hidden at first: the outline draws it.
//
// MultiArea stacks the area series of a chart that share their axes, in the order of the
// chart's series list, the first at the bottom: each stands on the ones before it
// (StackSpan), and stacked to 100 % every point's stack spans 0 to 100. A change of MultiArea
// applies to all area series of the chart.
class KORVATEL_EXPORT TAreaSeries : public TLineSeries {
public:
    TAreaSeries();
    ~TAreaSeries() override;

    TChartBrush& AreaBrush() { return *FAreaBrush; }
    const TChartBrush& AreaBrush() const { return *FAreaBrush; }
    void SetAreaBrush(const TChartBrush& value) { FAreaBrush->Assign(value); }
    TChartPen& AreaLinesPen() { return *FAreaLinesPen; }
    const TChartPen& AreaLinesPen() const { return *FAreaLinesPen; }
    void SetAreaLinesPen(const TChartPen& value) { FAreaLinesPen->Assign(value); }
    TMultiArea MultiArea() const { return FMultiArea; }
    void SetMultiArea(TMultiArea value);
    bool UseYOrigin() const { return FUseYOrigin; }
    void SetUseYOrigin(bool value);
    // The origin must be a finite number (ChartException).
    double YOrigin() const { return FYOrigin; }
    void SetYOrigin(double value);

    // Another area series also hands over its brush, outline, stacking and origin.
    void Assign(TChartSeries& source) override;

    // Where the region ends below (or above) point index, in axis values: the origin, or in
    // a stack the top of the layers below.
    double OriginValue(std::int32_t index) const override;
    // In a stack, the value the layers below this series reach at the point, or with sumAll
    // the top of the whole stack there; 0 when the series is not stacked.
    double StackOrigin(std::int32_t index, bool sumAll) const override;
    bool StacksForward() const override { return true; }
    // In 3D the layers of a stack share one depth slot: each stands on the one below it.
    bool SharesZOrder(const TChartSeries& other) const override;
    // The axis shows the whole region: the origin with UseYOrigin, a stack's tops and 0.
    double SeriesMinY() const override;
    double SeriesMaxY() const override;
    // The row of the point's end of the region: in a stack, the top of its layer.
    std::int32_t PointPixelY(std::int32_t index) const override;

    // A pointer or the line (when shown), else the first point of the part of the region
    // under the pixel; -1 for none.
    std::int32_t PointAtPixel(std::int32_t x, std::int32_t y) const override;

    // Areas are shown by their regions; a gallery needs nothing more.
    void GalleryPreview() override {}
    std::string EditorClassName() const override { return "TAreaSeriesEditor"; }

protected:
    void LineValues(std::int32_t first, std::int32_t count, double* out) const override;
    bool BaseValues(std::int32_t first, std::int32_t count, double* out) const override;
    // The region (filled, then outlined), then the line and the pointers.
    void DrawMappedPoints(const TMappedPoints& points) override;
    // A box filled and outlined as the region is.
    void DrawLegendEntry(const TRect& rect, TColor color) override;

private:
    // The stack this series belongs to: the active area series of the chart on its axes that
    // are stacked, bottom layer first, with this series among them.
    struct TStack {
        std::vector<const TAreaSeries*> Layers;
        std::size_t Own = 0;
        // Scratch for the layers' values at one point.
        std::vector<double> Values;
    };
    bool Stacked() const { return FMultiArea != maNone && ParentChart() != nullptr; }
    TStack StackOf() const;
    TStackSpan SpanAt(TStack& stack, std::int32_t index) const;
    // The lowest or highest value the stacks reach over the points, 0 included.
    double StackedLimit(bool wantMinimum) const;
    // The front face stands at the front of the slot, where the faces in depth start.
    std::int32_t DrawingDepth() const override { return StartDepth(); }
    // The origin of an unstacked series.
    double PlainOrigin() const;
    // The region's outline through the points first..last of a run, as the canvas draws a
    // polygon: the line forward, then the base backward.
    void RegionOutline(const std::vector<TPoint>& pixels, const std::vector<TPoint>& bases,
                       std::size_t first, std::size_t last, std::vector<TPoint>& outline) const;
    // In 3D, the faces that the outline of each run sweeps through the depth slot and that
    // show: the top, the end that faces the viewer, and the bottom where it shows.
    void DrawDepthFaces(const TMappedPoints& points,
                        const std::vector<std::pair<std::size_t, std::size_t>>& runs);
    void FillRegion(const TMappedPoints& points, std::size_t first, std::size_t last);

    std::unique_ptr<TChartBrush> FAreaBrush;
    std::unique_ptr<TChartPen> FAreaLinesPen;
    TMultiArea FMultiArea = maNone;
    bool FUseYOrigin = false;
    double FYOrigin = 0;
    // Kept between repaints, so that drawing allocates nothing once they have grown.
    std::vector<TPoint> FOutline;
    std::vector<TPoint> FFill;
    TSeriesRibbon FRibbon;
};

} // namespace Korvatel
