// SPDX-License-Identifier: MIT
#include <korvatel/data/AreaSeries.h>

#include <korvatel/render/AxisPanel.h>
#include <korvatel/axes/ChartAxis.h>
#include <korvatel/canvas/ChartCanvas3D.h>
#include <korvatel/core/ChartErrors.h>
#include <korvatel/core/ChartStrings.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

namespace Korvatel {

namespace {

void AppendPoint(std::vector<TPoint>& outline, const TPoint& point) {
    if (outline.empty() || outline.back() != point) {
        outline.push_back(point);
    }
}

// The polygon with every run of neighbouring vertices in one pixel column cut to the run's
// first and last vertex. The fill samples pixel centres, which never lie on a column's
// vertical edges: a run crosses a row between its ends as often, odd or even, as the one
// edge that replaces it, so the fill keeps every pixel. A dense area then costs the fill
// two vertices per column, however many points share it.
void CollapseColumns(const std::vector<TPoint>& polygon, std::vector<TPoint>& collapsed) {
    collapsed.clear();
    std::size_t i = 0;
    while (i < polygon.size()) {
        std::size_t end = i + 1;
        while (end < polygon.size() && polygon[end].X == polygon[i].X) {
            ++end;
        }
        collapsed.push_back(polygon[i]);
        if (end - i > 1) {
            collapsed.push_back(polygon[end - 1]);
        }
        i = end;
    }
}

// Whether a pixel lies in a polygon or on its outline: its centre inside by the even-odd
// rule, as the fill samples it, or the pixel within a pixel of an edge.
bool RegionContains(const std::vector<TPoint>& polygon, const TPoint& p) {
    const std::size_t n = polygon.size();
    bool inside = false;
    for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
        const TPoint& a = polygon[i];
        const TPoint& b = polygon[j];
        if (TLineSeries::NearSegment(p, a, b, 1)) {
            return true;
        }
        const long double cy = p.Y + 0.5L;
        if ((a.Y > cy) != (b.Y > cy)) {
            const long double crossing =
                a.X + (cy - a.Y) * (static_cast<long double>(b.X) - a.X) / (b.Y - a.Y);
            if (p.X + 0.5L < crossing) {
                inside = !inside;
            }
        }
    }
    return inside;
}

} // namespace

TAreaSeries::TAreaSeries()
    : FAreaBrush(std::make_unique<TChartBrush>([this] { StyleChanged(); })),
      FAreaLinesPen(std::make_unique<TChartPen>([this] { StyleChanged(); })) {
    // Set before the series joins a chart, so that building it asks for no repaint.
    LinePen().SetVisible(false);
}

TAreaSeries::~TAreaSeries() = default;

void TAreaSeries::SetMultiArea(TMultiArea value) {
    if (FMultiArea == value) {
        return;
    }
    FMultiArea = value;
    // A stack is made of all the area series of the chart: they change together.
    if (TCustomAxisPanel* chart = ParentChart()) {
        for (TChartSeries* series : chart->SeriesList()) {
            if (auto* area = dynamic_cast<TAreaSeries*>(series)) {
                area->FMultiArea = value;
            }
        }
    }
    RequestRepaint();
}

void TAreaSeries::SetUseYOrigin(bool value) {
    if (FUseYOrigin != value) {
        FUseYOrigin = value;
        RequestRepaint();
    }
}

void TAreaSeries::SetYOrigin(double value) {
    if (!std::isfinite(value)) {
        throw ChartException(std::string(ChartStrings::AreaOrigin));
    }
    if (FYOrigin != value) {
        FYOrigin = value;
        RequestRepaint();
    }
}

void TAreaSeries::Assign(TChartSeries& source) {
    if (const auto* area = dynamic_cast<const TAreaSeries*>(&source); area != nullptr) {
        FAreaBrush->Assign(*area->FAreaBrush);
        FAreaLinesPen->Assign(*area->FAreaLinesPen);
        FMultiArea = area->FMultiArea;
        FUseYOrigin = area->FUseYOrigin;
        FYOrigin = area->FYOrigin;
    }
    TLineSeries::Assign(source);
}

// --- Origin and stacking ---------------------------------------------------------------------

double TAreaSeries::PlainOrigin() const {
    if (FUseYOrigin) {
        return FYOrigin;
    }
    return ResolvedVertAxis() != nullptr ? ResolvedVertAxis()->Mapping().Minimum() : 0.0;
}

TAreaSeries::TStack TAreaSeries::StackOf() const {
    TStack stack;
    bool found = false;
    for (const TChartSeries* series : ParentChart()->SeriesList()) {
        const auto* area = dynamic_cast<const TAreaSeries*>(series);
        if (area == this) {
            stack.Own = stack.Layers.size();
            stack.Layers.push_back(this);
            found = true;
        } else if (area != nullptr && area->Active() && area->FMultiArea != maNone &&
                   area->ResolvedHorizAxis() == ResolvedHorizAxis() &&
                   area->ResolvedVertAxis() == ResolvedVertAxis()) {
            stack.Layers.push_back(area);
        }
    }
    if (!found) {
        stack.Own = stack.Layers.size();
        stack.Layers.push_back(this);
    }
    stack.Values.resize(stack.Layers.size());
    return stack;
}

bool TAreaSeries::SharesZOrder(const TChartSeries& other) const {
    const auto* area = dynamic_cast<const TAreaSeries*>(&other);
    return area != nullptr && area != this && FMultiArea != maNone &&
           area->FMultiArea != maNone && area->ResolvedHorizAxis() == ResolvedHorizAxis() &&
           area->ResolvedVertAxis() == ResolvedVertAxis();
}

TStackSpan TAreaSeries::SpanAt(TStack& stack, std::int32_t index) const {
    for (std::size_t i = 0; i < stack.Layers.size(); ++i) {
        const TAreaSeries* layer = stack.Layers[i];
        // A layer without the point, or with a null there, takes no room.
        stack.Values[i] = index < layer->PointCount() && layer->PointIsDrawn(index)
                              ? layer->MandatoryValues().ValueAt(index)
                              : std::numeric_limits<double>::quiet_NaN();
    }
    return StackSpan(FMultiArea, stack.Values, stack.Own);
}

double TAreaSeries::OriginValue(std::int32_t index) const {
    if (!Stacked()) {
        return PlainOrigin();
    }
    TStack stack = StackOf();
    return SpanAt(stack, index).Bottom;
}

double TAreaSeries::StackOrigin(std::int32_t index, bool sumAll) const {
    if (!Stacked()) {
        return 0;
    }
    TStack stack = StackOf();
    if (sumAll) {
        stack.Own = stack.Layers.size() - 1;
        return SpanAt(stack, index).Top;
    }
    return SpanAt(stack, index).Bottom;
}

double TAreaSeries::StackedLimit(bool wantMinimum) const {
    // Every stack stands on 0.
    TStack stack = StackOf();
    double limit = 0;
    for (std::int32_t i = 0; i < PointCount(); ++i) {
        const TStackSpan span = SpanAt(stack, i);
        limit = wantMinimum ? std::min({limit, span.Bottom, span.Top})
                            : std::max({limit, span.Bottom, span.Top});
    }
    return limit;
}

double TAreaSeries::SeriesMinY() const {
    if (!Stacked()) {
        const double lowest = TLineSeries::SeriesMinY();
        return FUseYOrigin ? std::min(lowest, FYOrigin) : lowest;
    }
    return StackedLimit(true);
}

double TAreaSeries::SeriesMaxY() const {
    if (!Stacked()) {
        const double highest = TLineSeries::SeriesMaxY();
        return FUseYOrigin ? std::max(highest, FYOrigin) : highest;
    }
    return StackedLimit(false);
}

std::int32_t TAreaSeries::PointPixelY(std::int32_t index) const {
    if (!Stacked()) {
        return TLineSeries::PointPixelY(index);
    }
    TStack stack = StackOf();
    return YValueToPixel(SpanAt(stack, index).Top);
}

void TAreaSeries::LineValues(std::int32_t first, std::int32_t count, double* out) const {
    if (!Stacked()) {
        TLineSeries::LineValues(first, count, out);
        return;
    }
    TStack stack = StackOf();
    for (std::int32_t i = 0; i < count; ++i) {
        out[i] = SpanAt(stack, first + i).Top;
    }
}

bool TAreaSeries::BaseValues(std::int32_t first, std::int32_t count, double* out) const {
    if (!Stacked()) {
        std::fill(out, out + count, PlainOrigin());
        return true;
    }
    TStack stack = StackOf();
    for (std::int32_t i = 0; i < count; ++i) {
        out[i] = SpanAt(stack, first + i).Bottom;
    }
    return true;
}

// --- Drawing ---------------------------------------------------------------------------------

void TAreaSeries::RegionOutline(const std::vector<TPoint>& pixels,
                                const std::vector<TPoint>& bases, std::size_t first,
                                std::size_t last, std::vector<TPoint>& outline) const {
    outline.clear();
    for (std::size_t k = first; k <= last; ++k) {
        if (k > first && Stairs()) {
            AppendPoint(outline, StepCorner(pixels[k - 1], pixels[k]));
        }
        AppendPoint(outline, pixels[k]);
    }
    // Backwards along the base, through the same steps.
    for (std::size_t k = last + 1; k-- > first;) {
        if (k < last && Stairs()) {
            AppendPoint(outline, StepCorner(bases[k], bases[k + 1]));
        }
        AppendPoint(outline, bases[k]);
    }
}

void TAreaSeries::FillRegion(const TMappedPoints& points, std::size_t first, std::size_t last) {
    TChartCanvas3D& canvas = ParentChart()->Canvas();
    const bool ownColors = FAreaBrush->Color() == clDefault &&
                           std::any_of(points.Colors.begin() + static_cast<std::ptrdiff_t>(first),
                                       points.Colors.begin() + static_cast<std::ptrdiff_t>(last),
                                       [](TColor color) { return color != clDefault; });
    if (!ownColors) {
        RegionOutline(points.Pixels, points.Bases, first, last, FOutline);
        CollapseColumns(FOutline, FFill);
        canvas.DrawPolygon(FFill);
        return;
    }
    // Each segment's part of the region in the colour of the point it leaves.
    for (std::size_t k = first; k < last; ++k) {
        const TColor color = points.Colors[k];
        canvas.Brush().SetColor(color == clDefault ? SeriesColor() : color);
        RegionOutline(points.Pixels, points.Bases, k, k + 1, FFill);
        canvas.DrawPolygon(FFill);
    }
}

void TAreaSeries::DrawMappedPoints(const TMappedPoints& points) {
    TChartCanvas3D& canvas = ParentChart()->Canvas();
    // Runs of drawn points between the breaks, as first and last entry.
    std::vector<std::pair<std::size_t, std::size_t>> runs;
    for (std::size_t k = 0; k < points.Count();) {
        if (points.Colors[k] == clNone) {
            ++k;
            continue;
        }
        std::size_t end = k;
        while (end + 1 < points.Count() && points.Colors[end + 1] != clNone) {
            ++end;
        }
        runs.emplace_back(k, end);
        k = end + 1;
    }

    if (!points.Flat.empty()) {
        DrawDepthFaces(points, runs);
    }
    const TChartHiddenPen noOutline;
    canvas.ApplyChartPen(noOutline);
    canvas.Brush().Assign(*FAreaBrush);
    if (FAreaBrush->Color() == clDefault) {
        canvas.Brush().SetColor(SeriesColor());
    }
    for (const auto& [first, last] : runs) {
        FillRegion(points, first, last);
    }

    // The outline as one chain per run, back to where it started: the pixels of the
    // polygon's outline, with the pen's pattern running on round it.
    if (PrepareLinePen(*FAreaLinesPen)) {
        for (const auto& [first, last] : runs) {
            RegionOutline(points.Pixels, points.Bases, first, last, FOutline);
            FOutline.push_back(FOutline.front());
            canvas.MovePenTo(FOutline.front().X, FOutline.front().Y);
            canvas.DrawLinesTo(std::span<const TPoint>(FOutline).subspan(1));
        }
    }
    DrawLine(points, LinePen());
    DrawPointers(points);
}

void TAreaSeries::DrawDepthFaces(const TMappedPoints& points,
                                 const std::vector<std::pair<std::size_t, std::size_t>>& runs) {
    // A region that is not filled has no faces in depth either.
    if (FAreaBrush->Style() == bsClear) {
        return;
    }
    TChartCanvas3D& canvas = ParentChart()->Canvas();
    const TColor color = FAreaBrush->Color() == clDefault ? SeriesColor() : FAreaBrush->Color();
    for (const auto& [first, last] : runs) {
        RegionOutline(points.Flat, points.FlatBases, first, last, FOutline);
        FRibbon.Draw(canvas, FOutline, TSeriesRibbon::rkOutline, StartDepth(), EndDepth(), color,
                     Dark3D());
    }
}

// --- Hit test and legend ---------------------------------------------------------------------

std::int32_t TAreaSeries::PointAtPixel(std::int32_t x, std::int32_t y) const {
    const std::int32_t onLine = TLineSeries::PointAtPixel(x, y);
    std::int32_t first = 0;
    std::int32_t last = 0;
    if (onLine >= 0 || FLastVisible < 0 || !DrawnRange(first, last)) {
        return onLine;
    }
    const TPoint p = UnprojectedPixel(x, y);
    // Each segment's part of the region, as it was filled.
    TMappedPoints slab;
    slab.Pixels.resize(2);
    slab.Bases.resize(2);
    std::vector<TPoint> outline;
    for (std::int32_t i = first; i < last; ++i) {
        if (!PointIsDrawn(i) || !PointIsDrawn(i + 1)) {
            continue;
        }
        for (std::int32_t k = 0; k < 2; ++k) {
            const auto at = static_cast<std::size_t>(k);
            slab.Pixels[at] = {PointPixelX(i + k), PointPixelY(i + k)};
            slab.Bases[at] = {PointPixelX(i + k), YValueToPixel(OriginValue(i + k))};
        }
        RegionOutline(slab.Pixels, slab.Bases, 0, 1, outline);
        if (RegionContains(outline, p)) {
            return i;
        }
    }
    return -1;
}

void TAreaSeries::DrawLegendEntry(const TRect& rect, TColor color) {
    TCustomAxisPanel* chart = ParentChart();
    if (chart == nullptr) {
        return;
    }
    TChartCanvas3D& canvas = chart->Canvas();
    canvas.ApplyChartPen(*FAreaLinesPen);
    canvas.Brush().Assign(*FAreaBrush);
    if (FAreaBrush->Color() == clDefault) {
        canvas.Brush().SetColor(color == clDefault ? SeriesColor() : color);
    }
    canvas.DrawRectangle(rect);
}

} // namespace Korvatel
