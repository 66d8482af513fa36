// SPDX-License-Identifier: MIT
#include <korvatel/data/PieSeries.h>

#include <korvatel/render/AxisPanel.h>
#include <korvatel/canvas/ChartCanvas3D.h>
#include <korvatel/core/ChartErrors.h>
#include <korvatel/core/ChartStrings.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace Korvatel {

namespace {

constexpr std::int32_t LargestRotation = 359;
constexpr std::int32_t LargestExplode = 100;

void CheckExplode(std::int32_t percent) {
    if (percent < 0 || percent > LargestExplode) {
        throw ChartException(FormatMessage(ChartStrings::ExplodePercentRange, 0, LargestExplode));
    }
}

} // namespace

TPieSeries::TPieSeries() : FPiePen(std::make_unique<TChartPen>([this] { StyleChanged(); })) {
    SetColorEachPoint(true);
    // The slices are not ordered along any axis: every point is drawn.
    FNarrowVisibleRange = false;
    // The arrows run over the chart's background, not over the slices.
    Marks().Arrow().SetColor(clBlack);
}

TPieSeries::~TPieSeries() = default;

// --- Properties ----------------------------------------------------------------------------

void TPieSeries::SetRotationAngle(std::int32_t value) {
    if (value < 0 || value > LargestRotation) {
        throw ChartException(FormatMessage(ChartStrings::AngleRange, {ChartStrings::RotationName}));
    }
    if (FRotationAngle != value) {
        FRotationAngle = value;
        RequestRepaint();
    }
}

void TPieSeries::SetExplodeBiggest(std::int32_t value) {
    CheckExplode(value);
    if (FExplodeBiggest != value) {
        FExplodeBiggest = value;
        RequestRepaint();
    }
}

std::int32_t TPieSeries::ExplodedOffset(std::int32_t index) const {
    if (index < 0) {
        throw ListIndexError(index);
    }
    const auto place = static_cast<std::size_t>(index);
    return place < FExplodedOffsets.size() ? FExplodedOffsets[place] : 0;
}

void TPieSeries::SetExplodedOffset(std::int32_t index, std::int32_t percent) {
    if (index < 0) {
        throw ListIndexError(index);
    }
    if (index > LargestExplodedIndex) {
        throw ChartException(
            FormatMessage(ChartStrings::ExplodedIndexRange, 0, LargestExplodedIndex));
    }
    CheckExplode(percent);
    if (ExplodedOffset(index) == percent) {
        return;
    }
    const auto place = static_cast<std::size_t>(index);
    if (place >= FExplodedOffsets.size()) {
        FExplodedOffsets.resize(place + 1, 0);
    }
    FExplodedOffsets[place] = percent;
    RequestRepaint();
}

void TPieSeries::Assign(TChartSeries& source) {
    if (const auto* pie = dynamic_cast<const TPieSeries*>(&source); pie && pie != this) {
        FRotationAngle = pie->FRotationAngle;
        FExplodeBiggest = pie->FExplodeBiggest;
        FExplodedOffsets = pie->FExplodedOffsets;
        FPiePen->Assign(*pie->FPiePen);
    }
    TChartSeries::Assign(source);
}

// --- Drawing -------------------------------------------------------------------------------

bool TPieSeries::HasSlice(std::int32_t index) const {
    return !PointIsNull(index) && std::isfinite(MandatoryValues().ValueAt(index));
}

std::vector<double> TPieSeries::SliceValues() const {
    const std::int32_t count = PointCount();
    std::vector<double> values(static_cast<std::size_t>(count));
    if (count > 0) {
        MandatoryValues().CopyValues(0, count, values.data());
    }
    for (std::int32_t i = 0; i < count; ++i) {
        if (PointIsNull(i)) {
            values[static_cast<std::size_t>(i)] = std::numeric_limits<double>::quiet_NaN();
        }
    }
    return values;
}

void TPieSeries::DrawPoints() {
    FSlices.clear();
    FOutlines.clear();
    FCircle = {};
    TCustomAxisPanel* chart = ParentChart();
    if (chart == nullptr) {
        return;
    }
    const std::vector<double> values = SliceValues();
    const std::vector<std::int32_t> explodes =
        PieExplodes(values, FExplodeBiggest, FExplodedOffsets);
    std::int32_t roomX = 0;
    std::int32_t roomY = 0;
    if (Marks().Visible()) {
        LargestMarkBox(roomX, roomY);
        const std::int32_t arrow = std::max(Marks().ArrowLength(), 0);
        roomX = ClampToInt32(std::int64_t{roomX} + arrow);
        roomY = ClampToInt32(std::int64_t{roomY} + arrow);
    }
    // Inside the frame of the chart rectangle, which the clip of the series leaves out.
    const TRect& plot = chart->PlotRect();
    const TRect inside{plot.Left + 1, plot.Top + 1, plot.Right, plot.Bottom - 1};
    const std::int32_t explode =
        explodes.empty() ? 0 : *std::max_element(explodes.begin(), explodes.end());
    FCircle = FitPieCircle(inside, roomX, roomY, explode);
    FSlices = PieSlices(values, FRotationAngle, explodes, FCircle, Marks().ArrowLength());
    TChartCanvas3D& canvas = chart->Canvas();
    FOutlines.clear();
    for (const TPieSlice& slice : FSlices) {
        FOutlines.push_back(SliceOutline(slice, FCircle.Radius));
        if (chart->View3D()) {
            // The pie faces the viewer at the series' depth.
            for (TPoint& point : FOutlines.back()) {
                point = canvas.ProjectPoint(point.X, point.Y, MiddleDepth());
            }
        }
    }
    canvas.Brush().ClearImage();
    canvas.Brush().SetStyle(bsSolid);
    for (std::int32_t i = 0; i < PointCount(); ++i) {
        DrawPoint(i);
    }
}

bool TPieSeries::SharesCentre(std::size_t index) const {
    return !FSlices[index].Whole() && FSlices[index].Centre == FCircle.Centre;
}

bool TPieSeries::NextStartsAt(std::size_t index, const TPoint& point) const {
    // Only a slice drawn later: the fill of the last slice may cover pixels of the radius the
    // first one started on, which the last one then draws again.
    for (std::size_t next = index + 1; next < FSlices.size(); ++next) {
        if (!FOutlines[next].empty()) {
            return SharesCentre(next) && FOutlines[next][1] == point;
        }
    }
    return false;
}

void TPieSeries::DrawPoint(std::int32_t index) {
    TCustomAxisPanel* chart = ParentChart();
    if (chart == nullptr || index < 0 || static_cast<std::size_t>(index) >= FOutlines.size() ||
        FOutlines[static_cast<std::size_t>(index)].empty()) {
        return;
    }
    const auto place = static_cast<std::size_t>(index);
    const std::vector<TPoint>& outline = FOutlines[place];
    TChartCanvas3D& canvas = chart->Canvas();
    canvas.Brush().SetColor(PointColor(index));
    if (!SharesCentre(place)) {
        canvas.ApplyChartPen(*FPiePen);
        canvas.DrawPolygon(outline);
        return;
    }
    // Neighbours on the common centre share a radius: each is drawn once, so that a pen in a
    // raster mode such as not-xor does not take it away again. The fill, then the radius the
    // slice starts on and its arc, then the radius it ends on unless the next slice starts
    // there.
    static const TChartHiddenPen NoOutline;
    canvas.ApplyChartPen(NoOutline);
    canvas.DrawPolygon(outline);
    canvas.ApplyChartPen(*FPiePen);
    canvas.DrawPolyline(outline);
    if (!NextStartsAt(place, outline.back())) {
        canvas.DrawLineTo(outline.front().X, outline.front().Y);
    }
}

std::int32_t TPieSeries::PointAtPixel(std::int32_t x, std::int32_t y) const {
    if (FFirstVisible < 0) {
        return -1;
    }
    TPoint p{x, y};
    if (const TCustomAxisPanel* chart = ParentChart()) {
        p = chart->Canvas().UnprojectPoint(x, y, MiddleDepth());
    }
    const std::int32_t index = SliceAtPixel(FSlices, FCircle.Radius, p);
    return index < PointCount() ? index : -1;
}

void TPieSeries::DrawPointMark(std::int32_t index, std::string_view text,
                               TSeriesMarkPosition& position) {
    if (index < 0 || static_cast<std::size_t>(index) >= FSlices.size() ||
        FSlices[static_cast<std::size_t>(index)].Empty()) {
        return;
    }
    const TPieSlice& slice = FSlices[static_cast<std::size_t>(index)];
    position.ArrowFrom = slice.MarkFrom;
    position.ArrowTo = slice.MarkTo;
    position.LeftTop = PieMarkLeftTop(slice, position.Width, position.Height);
    TChartSeries::DrawPointMark(index, text, position);
}

// --- Legend and gallery --------------------------------------------------------------------

std::int32_t TPieSeries::LegendItemCount() const {
    std::int32_t count = 0;
    for (std::int32_t i = 0; i < PointCount(); ++i) {
        count += HasSlice(i) ? 1 : 0;
    }
    return count;
}

std::int32_t TPieSeries::LegendItemToPoint(std::int32_t item) const {
    for (std::int32_t i = 0; i < PointCount(); ++i) {
        if (HasSlice(i) && item-- == 0) {
            return i;
        }
    }
    return -1;
}

void TPieSeries::DrawLegendSymbol(const TRect& rect) {
    TCustomAxisPanel* chart = ParentChart();
    if (chart == nullptr) {
        return;
    }
    TChartCanvas3D& canvas = chart->Canvas();
    canvas.ApplyChartPen(*FPiePen);
    // Without an outline the box is filled to the same edges.
    if (FPiePen->Visible()) {
        canvas.DrawRectangle(rect);
    } else {
        canvas.FillRectangle(rect);
    }
}

void TPieSeries::GalleryPreview() {
    if (TCustomAxisPanel* chart = ParentChart()) {
        chart->SetAxisVisible(false);
    }
}

} // namespace Korvatel
