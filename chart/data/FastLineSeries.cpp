// SPDX-License-Identifier: MIT
#include <korvatel/data/FastLineSeries.h>

#include <korvatel/render/AxisPanel.h>
#include <korvatel/axes/BatchPixelMapper.h>
#include <korvatel/axes/ChartAxis.h>
#include <korvatel/canvas/ChartCanvas3D.h>
#include <korvatel/render/ChartWindow.h>
#include <korvatel/core/Rounding.h>

#include <algorithm>
#include <cstdlib>
#include <typeinfo>

namespace Korvatel {

namespace {

// Whether p lies on the segment from a to b, with no tolerance: the cross product is smaller
// than the segment's longer side (so a segment of no length holds no point), and p is not
// beyond either end in x or in y.
bool PointOnSegment(const TPoint& p, const TPoint& a, const TPoint& b) {
    // In 64 bits: pixel differences of 32-bit coordinates multiply beyond 32 bits.
    const std::int64_t abx = std::int64_t{b.X} - a.X;
    const std::int64_t aby = std::int64_t{b.Y} - a.Y;
    const std::int64_t apx = std::int64_t{p.X} - a.X;
    const std::int64_t apy = std::int64_t{p.Y} - a.Y;
    const std::int64_t cross = aby * apx - apy * abx;
    if (std::abs(cross) >= std::max(std::abs(abx), std::abs(aby))) {
        return false;
    }
    const auto beyond = [](std::int32_t end, std::int32_t other, std::int32_t value) {
        return (other < end && value > end) || (other > end && value < end);
    };
    return !beyond(a.X, b.X, p.X) && !beyond(b.X, a.X, p.X) && !beyond(a.Y, b.Y, p.Y) &&
           !beyond(b.Y, a.Y, p.Y);
}

} // namespace

TFastLineSeries::TFastLineSeries()
    : FLinePen(std::make_unique<TChartPen>([this] { StyleChanged(); })) {
    FSinglePointAllowed = false;
    FKeepPointBeyondEnd = true;
}

TFastLineSeries::~TFastLineSeries() = default;

void TFastLineSeries::SetAutoRepaint(bool value) {
    if (FAutoRepaint != value) {
        FAutoRepaint = value;
        RequestRepaint();
    }
}

void TFastLineSeries::SetLinePen(const TChartPen& pen) {
    FLinePen->Assign(pen);
    SetSeriesColor(pen.Color());
}

void TFastLineSeries::SetSeriesColor(TColor value) {
    TChartSeries::SetSeriesColor(value);
    FLinePen->SetColor(value);
}

void TFastLineSeries::Assign(TChartSeries& source) {
    if (const auto* line = dynamic_cast<const TFastLineSeries*>(&source)) {
        FAutoRepaint = line->FAutoRepaint;
        FLinePen->Assign(*line->FLinePen);
    }
    TChartSeries::Assign(source);
}

void TFastLineSeries::DrawPointMark(std::int32_t index, std::string_view text,
                                    TSeriesMarkPosition& position) {
    position.Lift(Marks().ArrowLength());
    TChartSeries::DrawPointMark(index, text, position);
}

// --- Drawing ---------------------------------------------------------------------------------

void TFastLineSeries::PrepareLinePen() {
    TCustomAxisPanel* chart = ParentChart();
    if (chart == nullptr) {
        return;
    }
    TChartCanvas3D& canvas = chart->Canvas();
    canvas.ApplyChartPen(*FLinePen);
    // A printer draws a one-pixel pattern too fine to see; the thinnest pen it has is solid
    // enough.
    if (chart->Printing() && FLinePen->Style() != psSolid && FLinePen->Width() == 1) {
        canvas.Pen().SetWidth(0);
    }
    canvas.Brush().SetStyle(bsClear);
}

void TFastLineSeries::DrawPoints() {
    if (ParentChart() == nullptr) {
        return;
    }
    PrepareLinePen();
    // A kind derived from the fast line may map or draw its points its own way: it gets the
    // point-by-point loop through its own operations.
    if (typeid(*this) != typeid(TFastLineSeries) || ResolvedHorizAxis() == nullptr ||
        ResolvedVertAxis() == nullptr) {
        TChartSeries::DrawPoints();
        return;
    }
    DrawVisiblePoints();
}

void TFastLineSeries::DrawVisiblePoints() {
    // Drawing never fails: a range left from a repaint before the series shrank is cut to
    // the points that exist.
    const std::int32_t last = std::min(FLastVisible, PointCount() - 1);
    if (FFirstVisible < 0 || last < FFirstVisible) {
        return;
    }
    const TBatchPixelMapper columns(ResolvedHorizAxis()->Mapping(), true);
    const TBatchPixelMapper rows(ResolvedVertAxis()->Mapping(), false);
    // Values and pixels go through small buffers, a block at a time, so that reading and
    // mapping run in tight loops; the block starts at the point before the visible range when
    // there is one, for the segment that enters the chart.
    constexpr std::int32_t BlockSize = 512;
    double xValues[BlockSize];
    double yValues[BlockSize];
    std::int32_t xPixels[BlockSize];
    std::int32_t yPixels[BlockSize];
    // In 2D the lines after the first point go to the canvas a block at a time.
    TChartCanvas3D& canvas = ParentChart()->Canvas();
    const bool chained = !ParentChart()->View3D();
    TPoint chain[BlockSize];
    std::int32_t index = FFirstVisible > 0 ? FFirstVisible - 1 : FFirstVisible;
    TPoint previous;
    while (index <= last) {
        const std::int32_t count = std::min<std::int32_t>(BlockSize, last - index + 1);
        XValues().CopyValues(index, count, xValues);
        YValues().CopyValues(index, count, yValues);
        columns.Map(xValues, count, xPixels);
        rows.Map(yValues, count, yPixels);
        std::size_t chainLength = 0;
        for (std::int32_t i = 0; i < count; ++i, ++index) {
            const TPoint pixel{xPixels[i], yPixels[i]};
            // The same-pixel test of DrawPointAt, here where it costs no call: most points of
            // a dense series end on the pixel just drawn.
            if (index > FFirstVisible && pixel.X == FLastDrawnX && pixel.Y == FLastDrawnY) {
                continue;
            }
            if (index > FFirstVisible && chained) {
                chain[chainLength++] = pixel;
                FLastDrawnX = pixel.X;
                FLastDrawnY = pixel.Y;
            } else if (index >= FFirstVisible) {
                DrawPointAt(index, pixel, previous);
            }
            previous = pixel;
        }
        canvas.DrawLinesTo({chain, chainLength});
    }
}

void TFastLineSeries::DrawPoint(std::int32_t index) {
    if (ParentChart() == nullptr) {
        return;
    }
    TPoint previous;
    if (index == FFirstVisible && index > 0) {
        previous = {PointPixelX(index - 1), PointPixelY(index - 1)};
    }
    DrawPointAt(index, {PointPixelX(index), PointPixelY(index)}, previous);
}

void TFastLineSeries::DrawPointAt(std::int32_t index, const TPoint& pixel, const TPoint& previous) {
    TCustomAxisPanel* chart = ParentChart();
    TChartCanvas3D& canvas = chart->Canvas();
    const bool view3D = chart->View3D();
    if (index == FFirstVisible) {
        if (index > 0) {
            // The line enters the chart from the last point before the visible range.
            if (view3D) {
                canvas.DrawLineSegment3D(previous.X, previous.Y, pixel.X, pixel.Y, MiddleDepth());
            } else {
                canvas.DrawLineSegment(previous.X, previous.Y, pixel.X, pixel.Y);
            }
        } else if (view3D) {
            canvas.MovePenTo3D(pixel.X, pixel.Y, MiddleDepth());
        } else {
            canvas.MovePenTo(pixel.X, pixel.Y);
        }
    } else {
        if (pixel.X == FLastDrawnX && pixel.Y == FLastDrawnY) {
            return;
        }
        if (view3D) {
            canvas.DrawLineTo3D(pixel.X, pixel.Y, MiddleDepth());
        } else {
            canvas.DrawLineTo(pixel.X, pixel.Y);
        }
    }
    FLastDrawnX = pixel.X;
    FLastDrawnY = pixel.Y;
}

void TFastLineSeries::DrawLegendSymbol(const TRect& rect) {
    TCustomAxisPanel* chart = ParentChart();
    if (chart == nullptr) {
        return;
    }
    PrepareLinePen();
    const auto middle = static_cast<std::int32_t>((std::int64_t{rect.Top} + rect.Bottom) / 2);
    chart->Canvas().DrawHorizontalLine(rect.Left, rect.Right, middle);
}

// --- Adding points -----------------------------------------------------------------------------

void TFastLineSeries::PointAdded(std::int32_t index) {
    if (FAutoRepaint) {
        TChartSeries::PointAdded(index);
        return;
    }
    DrawAddedPoint(index);
}

void TFastLineSeries::DrawAddedPoint(std::int32_t index) {
    TCustomAxisPanel* chart = ParentChart();
    // Without a chart there is nowhere to draw; the point is kept and shows at the next
    // repaint of a chart.
    if (chart == nullptr) {
        return;
    }
    TChartCanvas3D& canvas = chart->Canvas();
    canvas.Pen().Assign(*FLinePen);
    // Drawn like the repaint draws: inside the chart rectangle when series are clipped.
    if (chart->ClipPoints()) {
        canvas.ClipToChartBox(chart->PlotRect(), 0, chart->Depth3D());
    }
    const std::int32_t from = index > 0 ? index - 1 : 0;
    const std::int32_t x = PointPixelX(from);
    const std::int32_t y = PointPixelY(from);
    if (chart->View3D()) {
        canvas.MovePenTo3D(x, y, MiddleDepth());
    } else {
        canvas.MovePenTo(x, y);
    }
    DrawPoint(index);
    if (chart->ClipPoints()) {
        canvas.RemoveClipping();
    }
    // The line went into the kept picture, which still shows the chart: the window only has
    // to copy it again.
    if (chart->Window() != nullptr) {
        chart->Window()->Invalidate();
    }
}

// --- Hit test ----------------------------------------------------------------------------------

std::int32_t TFastLineSeries::PointAtPixel(std::int32_t x, std::int32_t y) const {
    if (FFirstVisible < 0 || FLastVisible < 0) {
        return -1;
    }
    TPoint p{x, y};
    if (const TCustomAxisPanel* chart = ParentChart()) {
        p = chart->Canvas().UnprojectPoint(x, y, MiddleDepth());
    }
    // The range is that of the last repaint; points removed since then are not read.
    const std::int32_t last = std::min(FLastVisible, PointCount() - 1);
    TPoint previous;
    for (std::int32_t i = FFirstVisible; i <= last; ++i) {
        const TPoint a{PointPixelX(i), PointPixelY(i)};
        if (a == p) {
            return i;
        }
        if (i > FFirstVisible && PointOnSegment(p, a, previous)) {
            return i - 1;
        }
        previous = a;
    }
    return -1;
}

} // namespace Korvatel
