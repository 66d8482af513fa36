// SPDX-License-Identifier: MIT
#include <korvatel/data/LineSeries.h>

#include <korvatel/render/AxisPanel.h>
#include <korvatel/axes/BatchPixelMapper.h>
#include <korvatel/axes/ChartAxis.h>
#include <korvatel/canvas/ChartCanvas3D.h>
#include <korvatel/core/Rounding.h>

#include <algorithm>
#include <cmath>
#include <span>

namespace Korvatel {

namespace {

// How far beyond the edge of a line a click still finds it, in pixels.
constexpr std::int32_t ClickReach = 2;

bool IsFinite(double value) {
    // Also false for NaN: the difference of an infinity with itself is NaN.
    return value - value == 0;
}

} // namespace

bool TLineSeries::NearSegment(const TPoint& p, const TPoint& a, const TPoint& b,
                              std::int32_t reach) {
    // In extended precision: pixel differences of 32-bit coordinates square beyond 64 bits.
    const long double abx = static_cast<long double>(b.X) - a.X;
    const long double aby = static_cast<long double>(b.Y) - a.Y;
    const long double apx = static_cast<long double>(p.X) - a.X;
    const long double apy = static_cast<long double>(p.Y) - a.Y;
    const long double length = abx * abx + aby * aby;
    const long double t = length > 0 ? std::clamp((apx * abx + apy * aby) / length, 0.0L, 1.0L) : 0;
    const long double dx = apx - t * abx;
    const long double dy = apy - t * aby;
    return dx * dx + dy * dy <= static_cast<long double>(reach) * reach;
}

TLineSeries::TLineSeries()
    : FLinePen(std::make_unique<TChartPen>([this] { StyleChanged(); })),
      FPointer(std::make_unique<TSeriesPointer>(this, false)) {
    // The line runs on to the first point beyond the axis's end, so that it leaves the chart.
    FKeepPointBeyondEnd = true;
}

TLineSeries::~TLineSeries() = default;

void TLineSeries::SetLinePen(const TChartPen& pen) {
    FLinePen->Assign(pen);
    SetSeriesColor(pen.Color());
}

void TLineSeries::SetStairs(bool value) {
    if (FStairs != value) {
        FStairs = value;
        RequestRepaint();
    }
}

void TLineSeries::SetInvertedStairs(bool value) {
    if (FInvertedStairs != value) {
        FInvertedStairs = value;
        RequestRepaint();
    }
}

void TLineSeries::SetSeriesColor(TColor value) {
    TChartSeries::SetSeriesColor(value);
    FLinePen->SetColor(value);
}

void TLineSeries::Assign(TChartSeries& source) {
    if (const auto* line = dynamic_cast<const TLineSeries*>(&source); line != nullptr) {
        FLinePen->Assign(*line->FLinePen);
        FPointer->Assign(*line->FPointer);
        FStairs = line->FStairs;
        FInvertedStairs = line->FInvertedStairs;
    }
    TChartSeries::Assign(source);
}

void TLineSeries::DrawPointMark(std::int32_t index, std::string_view text,
                                TSeriesMarkPosition& position) {
    position.Lift(Marks().ArrowLength());
    TChartSeries::DrawPointMark(index, text, position);
}

// --- Mapping ---------------------------------------------------------------------------------

void TLineSeries::LineValues(std::int32_t first, std::int32_t count, double* out) const {
    MandatoryValues().CopyValues(first, count, out);
}

bool TLineSeries::PointIsDrawn(std::int32_t index) const {
    return !PointIsNull(index) && IsFinite(PointX(index)) &&
           IsFinite(MandatoryValues().ValueAt(index));
}

bool TLineSeries::DrawnRange(std::int32_t& first, std::int32_t& last) const {
    last = std::min(FLastVisible, PointCount() - 1);
    if (FFirstVisible < 0 || last < FFirstVisible) {
        return false;
    }
    first = FFirstVisible > 0 ? FFirstVisible - 1 : FFirstVisible;
    return true;
}

void TLineSeries::MapPoints(std::int32_t first, std::int32_t last, TMappedPoints& points) const {
    const auto count = static_cast<std::size_t>(std::int64_t{last} - first + 1);
    points.FirstIndex = first;
    points.PointerStart = 0;
    points.Pixels.resize(count);
    points.Colors.resize(count);
    points.Bases.clear();
    points.Flat.clear();
    points.FlatBases.clear();
    const TBatchPixelMapper columns(ResolvedHorizAxis()->Mapping(), true);
    const TBatchPixelMapper rows(ResolvedVertAxis()->Mapping(), false);
    const TChartCanvas3D& canvas = ParentChart()->Canvas();
    const bool projected = canvas.Is3D();
    const std::int32_t depth = DrawingDepth();
    if (projected) {
        points.Flat.resize(count);
    }
    const TGapBuffer<TColor>& stored = ColorList();
    // A block at a time, so that reading, mapping and the colour rule run in tight loops over
    // small buffers.
    constexpr std::int32_t BlockSize = 512;
    double xs[BlockSize];
    double ys[BlockSize];
    std::int32_t columnPixels[BlockSize];
    std::int32_t rowPixels[BlockSize];
    double bases[BlockSize];
    std::int32_t baseRows[BlockSize];
    for (std::int32_t start = first; start <= last; start += BlockSize) {
        const std::int32_t n = std::min<std::int32_t>(BlockSize, last - start + 1);
        XValues().CopyValues(start, n, xs);
        LineValues(start, n, ys);
        columns.Map(xs, n, columnPixels);
        rows.Map(ys, n, rowPixels);
        const bool based = BaseValues(start, n, bases);
        if (based) {
            rows.Map(bases, n, baseRows);
            points.Bases.resize(count);
            if (projected) {
                points.FlatBases.resize(count);
            }
        }
        const auto offset = static_cast<std::size_t>(start - first);
        TColor* colors = points.Colors.data() + offset;
        // Points beyond the colour list (filled from a source without colours) have none of
        // their own.
        const auto from = static_cast<std::size_t>(start);
        const std::size_t have =
            stored.size() > from ? std::min<std::size_t>(n, stored.size() - from) : 0;
        stored.copy_out(from, have, colors);
        std::fill(colors + have, colors + n, clDefault);
        for (std::int32_t j = 0; j < n; ++j) {
            const auto at = offset + static_cast<std::size_t>(j);
            TPoint pixel{columnPixels[j], rowPixels[j]};
            if (projected) {
                points.Flat[at] = pixel;
                pixel = canvas.ProjectPoint(pixel.X, pixel.Y, depth);
            }
            points.Pixels[at] = pixel;
            if (based) {
                TPoint base{columnPixels[j], baseRows[j]};
                if (projected) {
                    points.FlatBases[at] = base;
                    base = canvas.ProjectPoint(base.X, base.Y, depth);
                }
                points.Bases[at] = base;
            }
            if (!IsFinite(xs[j]) || !IsFinite(ys[j]) || (based && !IsFinite(bases[j]))) {
                colors[j] = clNone;
            } else if (colors[j] == clDefault && ColorEachPoint()) {
                colors[j] = PointColor(start + j);
            }
        }
    }
}

// --- Drawing ---------------------------------------------------------------------------------

bool TLineSeries::PrepareLinePen(const TChartPen& pen) {
    TCustomAxisPanel* chart = ParentChart();
    TChartCanvas3D& canvas = chart->Canvas();
    canvas.ApplyChartPen(pen);
    // A printer draws a one-pixel pattern too fine to see; the thinnest pen it has is solid
    // enough.
    if (chart->Printing() && pen.Style() != psSolid && pen.Width() == 1) {
        canvas.Pen().SetWidth(0);
    }
    canvas.Brush().SetStyle(bsClear);
    return pen.Visible() && pen.Style() != psClear;
}

void TLineSeries::DrawPoints() {
    std::int32_t first = 0;
    std::int32_t last = 0;
    if (ParentChart() == nullptr || ResolvedHorizAxis() == nullptr ||
        ResolvedVertAxis() == nullptr || !DrawnRange(first, last)) {
        return;
    }
    MapPoints(first, last, FMapped);
    DrawMappedPoints(FMapped);
}

void TLineSeries::DrawPoint(std::int32_t index) {
    if (ParentChart() == nullptr || ResolvedHorizAxis() == nullptr ||
        ResolvedVertAxis() == nullptr || index < 0 || index >= PointCount()) {
        return;
    }
    const std::int32_t first = index > 0 ? index - 1 : index;
    MapPoints(first, index, FMapped);
    FMapped.PointerStart = static_cast<std::size_t>(index - first);
    DrawMappedPoints(FMapped);
}

void TLineSeries::DrawMappedPoints(const TMappedPoints& points) {
    if (points.Flat.empty()) {
        DrawLine(points, *FLinePen);
    } else {
        DrawRibbon(points);
    }
    DrawPointers(points);
}

void TLineSeries::DrawRibbon(const TMappedPoints& points) {
    if (!FLinePen->Visible() || FLinePen->Style() == psClear) {
        return;
    }
    TChartCanvas3D& canvas = ParentChart()->Canvas();
    // Chains of one colour, as the flat line draws them: a segment takes the colour of the
    // point it leaves, and a break ends a chain.
    const TColor penColor = FLinePen->Color();
    TColor current = penColor;
    const auto flush = [&] {
        if (FChain.size() > 1) {
            FRibbon.Draw(canvas, FChain, TSeriesRibbon::rkLine, StartDepth(), EndDepth(), current,
                         Dark3D());
        }
        FChain.clear();
    };
    for (std::size_t k = 0; k < points.Count(); ++k) {
        if (points.Colors[k] == clNone) {
            flush();
            continue;
        }
        const TPoint pixel = points.Flat[k];
        if (FChain.empty()) {
            FChain.push_back(pixel);
            continue;
        }
        const TColor leaving = points.Colors[k - 1] == clDefault ? penColor : points.Colors[k - 1];
        if (leaving != current && FChain.size() > 1) {
            const TPoint joint = FChain.back();
            flush();
            FChain.push_back(joint);
        }
        current = leaving;
        if (FStairs) {
            const TPoint corner = StepCorner(FChain.back(), pixel);
            if (corner != FChain.back()) {
                FChain.push_back(corner);
            }
        }
        if (pixel != FChain.back()) {
            FChain.push_back(pixel);
        }
    }
    flush();
}

void TLineSeries::DrawLine(const TMappedPoints& points, const TChartPen& pen) {
    if (!PrepareLinePen(pen)) {
        return;
    }
    TChartCanvas3D& canvas = ParentChart()->Canvas();
    // Points on the pixel just reached add nothing; a colour change or a break ends a chain.
    const auto flush = [&] {
        canvas.DrawLinesTo(FChain);
        FChain.clear();
    };
    const TColor penColor = pen.Color();
    TColor current = penColor;
    bool open = false;
    TPoint reached;
    for (std::size_t k = 0; k < points.Count(); ++k) {
        const TColor color = points.Colors[k];
        if (color == clNone) {
            open = false;
            continue;
        }
        const TPoint pixel = points.Pixels[k];
        if (!open) {
            flush();
            canvas.MovePenTo(pixel.X, pixel.Y);
            reached = pixel;
            open = true;
            continue;
        }
        // A segment takes the colour of the point it leaves.
        const TColor leaving = points.Colors[k - 1] == clDefault ? penColor : points.Colors[k - 1];
        if (leaving != current) {
            flush();
            canvas.Pen().SetColor(leaving);
            current = leaving;
        }
        if (FStairs) {
            const TPoint corner = StepCorner(reached, pixel);
            if (corner != reached) {
                FChain.push_back(corner);
                reached = corner;
            }
        }
        if (pixel != reached) {
            FChain.push_back(pixel);
            reached = pixel;
        }
    }
    flush();
}

void TLineSeries::DrawPointers(const TMappedPoints& points) {
    if (!FPointer->Visible()) {
        return;
    }
    TChartCanvas3D& canvas = ParentChart()->Canvas();
    FPointer->Prepare(canvas);
    if (FPointer->DrawsSolid(!points.Flat.empty())) {
        DrawPointerSolids(points);
        return;
    }
    // A pointer drawn again at the same place in the same colour changes no pixel, unless
    // the pen's mode mixes it with what is there.
    const bool repeatable = canvas.Pen().Mode() == pmCopy;
    bool drawn = false;
    TPoint lastPixel;
    TColor lastColor = clNone;
    for (std::size_t k = points.PointerStart; k < points.Count(); ++k) {
        const TColor stored = points.Colors[k];
        if (stored == clNone) {
            continue;
        }
        const TColor color = stored == clDefault ? SeriesColor() : stored;
        const TPoint pixel = points.Pixels[k];
        if (repeatable && drawn && pixel == lastPixel && color == lastColor) {
            continue;
        }
        FPointer->DrawShape(canvas, pixel.X, pixel.Y, color);
        drawn = true;
        lastPixel = pixel;
        lastColor = color;
    }
}

void TLineSeries::DrawPointerSolids(const TMappedPoints& points) {
    TChartCanvas3D& canvas = ParentChart()->Canvas();
    const std::span<const TPoint> flat(points.Flat);
    TSeriesPointer::SolidOrder(canvas, flat.subspan(points.PointerStart), FPointerOrder);
    // Centred in the slot, whatever depth the flat forms of the series stand at.
    const std::int32_t depth = MiddleDepth();
    for (const std::uint32_t k : FPointerOrder) {
        const std::size_t at = points.PointerStart + k;
        const TColor stored = points.Colors[at];
        if (stored == clNone) {
            continue;
        }
        FPointer->DrawSolid(canvas, flat[at].X, flat[at].Y, depth,
                            stored == clDefault ? SeriesColor() : stored, Dark3D());
    }
}

// --- Hit test --------------------------------------------------------------------------------

TPoint TLineSeries::UnprojectedPixel(std::int32_t x, std::int32_t y) const {
    if (const TCustomAxisPanel* chart = ParentChart()) {
        return chart->Canvas().UnprojectPoint(x, y, DrawingDepth());
    }
    return {x, y};
}

std::int32_t TLineSeries::PointAtPixel(std::int32_t x, std::int32_t y) const {
    std::int32_t first = 0;
    std::int32_t last = 0;
    if (FLastVisible < 0 || !DrawnRange(first, last)) {
        return -1;
    }
    const TPoint p = UnprojectedPixel(x, y);
    const auto pixelOf = [this](std::int32_t i) { return TPoint{PointPixelX(i), PointPixelY(i)}; };
    const TCustomAxisPanel* chart = ParentChart();
    if (chart != nullptr && FPointer->Visible() && FPointer->DrawsSolid(chart->Canvas().Is3D())) {
        const TChartCanvas3D& canvas = chart->Canvas();
        // Solids are searched from the one drawn last: a click on a hidden face finds the
        // solid in front of it.
        std::vector<TPoint> centres;
        for (std::int32_t i = first; i <= last; ++i) {
            centres.push_back(pixelOf(i));
        }
        std::vector<std::uint32_t> order;
        TSeriesPointer::SolidOrder(canvas, centres, order);
        for (auto k = order.rbegin(); k != order.rend(); ++k) {
            const std::int32_t i = first + static_cast<std::int32_t>(*k);
            if (PointIsDrawn(i) && FPointer->SolidContains(canvas, centres[*k].X, centres[*k].Y,
                                                           MiddleDepth(), x, y)) {
                return i;
            }
        }
    } else if (FPointer->Visible()) {
        // Pointers lie over the line, and later ones over earlier ones.
        for (std::int32_t i = last; i >= first; --i) {
            const TPoint centre = pixelOf(i);
            if (PointIsDrawn(i) && FPointer->Box(centre.X, centre.Y).Contains(p.X, p.Y)) {
                return i;
            }
        }
    }
    if (!FLinePen->Visible() || FLinePen->Style() == psClear) {
        return -1;
    }
    const std::int32_t reach = std::max(FLinePen->Width(), 1) / 2 + ClickReach;
    bool previousDrawn = false;
    TPoint previous;
    for (std::int32_t i = first; i <= last; ++i) {
        const bool drawn = PointIsDrawn(i);
        const TPoint pixel = pixelOf(i);
        if (drawn && previousDrawn) {
            const TPoint corner = FStairs ? StepCorner(previous, pixel) : pixel;
            if (NearSegment(p, previous, corner, reach) || NearSegment(p, corner, pixel, reach)) {
                return i - 1;
            }
        }
        previousDrawn = drawn;
        previous = pixel;
    }
    return -1;
}

// --- Margins and legend ----------------------------------------------------------------------

void TLineSeries::HorizontalMargins(std::int32_t& left, std::int32_t& right) const {
    TChartSeries::HorizontalMargins(left, right);
    if (FPointer->Visible() && FPointer->InflateMargins()) {
        // The chart's clip keeps the frame's column at the left edge out, and the column of
        // the right edge is beyond the rectangle.
        left = ClampToInt32(std::int64_t{FPointer->HorizExtent()} + 1);
        right = left;
    }
}

void TLineSeries::VerticalMargins(std::int32_t& top, std::int32_t& bottom) const {
    TChartSeries::VerticalMargins(top, bottom);
    if (FPointer->Visible() && FPointer->InflateMargins()) {
        // The clip also keeps the row above the bottom edge out.
        top = ClampToInt32(std::int64_t{FPointer->VertExtent()} + 1);
        bottom = ClampToInt32(std::int64_t{FPointer->VertExtent()} + 2);
    }
}

void TLineSeries::DrawLegendSymbol(const TRect& rect) {
    DrawLegendEntry(rect, clDefault);
}

void TLineSeries::PaintLegendItem(std::int32_t index, const TRect& rect) {
    const TColor color = index < 0 ? clDefault : LegendColorOf(index);
    DrawLegendEntry(rect, color == clNone ? clDefault : color);
}

void TLineSeries::DrawLegendEntry(const TRect& rect, TColor color) {
    TCustomAxisPanel* chart = ParentChart();
    if (chart == nullptr) {
        return;
    }
    TChartCanvas3D& canvas = chart->Canvas();
    if (PrepareLinePen(*FLinePen)) {
        if (color != clDefault) {
            canvas.Pen().SetColor(color);
        }
        const auto middle = static_cast<std::int32_t>((std::int64_t{rect.Top} + rect.Bottom) / 2);
        canvas.DrawHorizontalLine(rect.Left, rect.Right, middle);
    }
    if (FPointer->Visible()) {
        FPointer->DrawInRect(canvas, rect, color == clDefault ? SeriesColor() : color);
    }
}

} // namespace Korvatel
