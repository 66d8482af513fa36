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

void TPieSeries::SetDonutPercent(std::int32_t value) {
    if (value < 0 || value > 100) {
        throw ChartException(FormatMessage(ChartStrings::DonutPercentRange, 0, 100));
    }
    if (FDonutPercent != value) {
        FDonutPercent = value;
        RequestRepaint();
    }
}

void TPieSeries::Assign(TChartSeries& source) {
    if (const auto* pie = dynamic_cast<const TPieSeries*>(&source); pie && pie != this) {
        FRotationAngle = pie->FRotationAngle;
        FDonutPercent = pie->FDonutPercent;
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
    FArcs.clear();
    FPieces.clear();
    FPieceFaces.clear();
    FMarkAngles.clear();
    FCircle = {};
    FDrawn3D = false;
    TCustomAxisPanel* chart = ParentChart();
    if (chart == nullptr) {
        return;
    }
    if (chart->View3D() && chart->Canvas().Is3D()) {
        DrawPoints3D();
        return;
    }
    const std::vector<double> values = SliceValues();
    const std::vector<std::int32_t> explodes =
        PieExplodes(values, FExplodeBiggest, FExplodedOffsets);
    std::int32_t roomX = 0;
    std::int32_t roomY = 0;
    MarkRoom(roomX, roomY);
    const std::int32_t explode =
        explodes.empty() ? 0 : *std::max_element(explodes.begin(), explodes.end());
    FCircle = FitPieCircle(InsideFrame(), roomX, roomY, explode);
    FSlices = PieSlices(values, FRotationAngle, explodes, FCircle, Marks().ArrowLength());
    const std::int32_t inner = InnerRadius();
    for (const TPieSlice& slice : FSlices) {
        FOutlines.push_back(SliceOutline(slice, FCircle.Radius, inner));
        if (inner > 0) {
            FArcs.emplace_back(SliceArc(slice, FCircle.Radius), SliceArc(slice, inner));
        }
    }
    TChartCanvas3D& canvas = chart->Canvas();
    canvas.Brush().ClearImage();
    canvas.Brush().SetStyle(bsSolid);
    for (std::int32_t i = 0; i < PointCount(); ++i) {
        DrawPoint(i);
    }
}

void TPieSeries::MarkRoom(std::int32_t& roomX, std::int32_t& roomY) {
    roomX = 0;
    roomY = 0;
    if (Marks().Visible()) {
        LargestMarkBox(roomX, roomY);
        const std::int32_t arrow = std::max(Marks().ArrowLength(), 0);
        roomX = ClampToInt32(std::int64_t{roomX} + arrow);
        roomY = ClampToInt32(std::int64_t{roomY} + arrow);
    }
}

TRect TPieSeries::InsideFrame() const {
    // Inside the frame of the chart rectangle, which the clip of the series leaves out.
    const TRect& plot = ParentChart()->PlotRect();
    return {plot.Left + 1, plot.Top + 1, plot.Right, plot.Bottom - 1};
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
    if (chart == nullptr || index < 0) {
        return;
    }
    if (FDrawn3D) {
        for (std::size_t piece = 0; piece < FPieces.size(); ++piece) {
            if (FPieces[piece].Index == index) {
                DrawPiece(piece);
            }
        }
        return;
    }
    if (static_cast<std::size_t>(index) >= FOutlines.size() ||
        FOutlines[static_cast<std::size_t>(index)].empty()) {
        return;
    }
    const auto place = static_cast<std::size_t>(index);
    const std::vector<TPoint>& outline = FOutlines[place];
    TChartCanvas3D& canvas = chart->Canvas();
    canvas.Brush().SetColor(PointColor(index));
    static const TChartHiddenPen NoOutline;
    if (place < FArcs.size()) {
        DrawRingSlice(place);
        return;
    }
    if (!SharesCentre(place)) {
        canvas.ApplyChartPen(*FPiePen);
        canvas.DrawPolygon(outline);
        return;
    }
    // Neighbours on the common centre share a radius: each is drawn once, so that a pen in a
    // raster mode such as not-xor does not take it away again. The fill, then the radius the
    // slice starts on and its arc, then the radius it ends on unless the next slice starts
    // there.
    canvas.ApplyChartPen(NoOutline);
    canvas.DrawPolygon(outline);
    canvas.ApplyChartPen(*FPiePen);
    canvas.DrawPolyline(outline);
    if (!NextStartsAt(place, outline.back())) {
        canvas.DrawLineTo(outline.front().X, outline.front().Y);
    }
}

void TPieSeries::DrawRingSlice(std::size_t place) {
    // The fill without an outline, then the arcs and the cuts. Neighbours share a cut: the
    // slice draws the one it starts on, and the one it ends on unless a later slice starts
    // there, so that each is drawn once.
    TChartCanvas3D& canvas = ParentChart()->Canvas();
    static const TChartHiddenPen NoOutline;
    canvas.ApplyChartPen(NoOutline);
    canvas.DrawPolygon(FOutlines[place]);
    canvas.ApplyChartPen(*FPiePen);
    const auto& [outer, inner] = FArcs[place];
    if (outer.empty() || inner.empty()) {
        return;
    }
    canvas.DrawPolyline(outer);
    canvas.DrawPolyline(std::vector<TPoint>(inner.rbegin(), inner.rend()));
    if (FSlices[place].Whole()) {
        return;
    }
    canvas.DrawLineSegment(inner.front().X, inner.front().Y, outer.front().X, outer.front().Y);
    for (std::size_t next = place + 1; next < FArcs.size(); ++next) {
        const auto& [nextOuter, nextInner] = FArcs[next];
        if (nextOuter.empty() || nextInner.empty()) {
            continue;
        }
        if (nextOuter.front() == outer.back() && nextInner.front() == inner.back()) {
            return;
        }
        break;
    }
    canvas.DrawLineSegment(outer.back().X, outer.back().Y, inner.back().X, inner.back().Y);
}

std::int32_t TPieSeries::PointAtPixel(std::int32_t x, std::int32_t y) const {
    if (FFirstVisible < 0) {
        return -1;
    }
    if (FDrawn3D) {
        // The face drawn last over the pixel is the one in front.
        for (std::size_t piece = FPieceFaces.size(); piece-- > 0;) {
            const auto& faces = FPieceFaces[piece];
            for (auto face = faces.rbegin(); face != faces.rend(); ++face) {
                if (PolygonHolds(*face, {x, y})) {
                    return FPieces[piece].Index < PointCount() ? FPieces[piece].Index : -1;
                }
            }
        }
        return -1;
    }
    const std::int32_t index = SliceAtPixel(FSlices, FCircle.Radius, {x, y}, InnerRadius());
    return index < PointCount() ? index : -1;
}

void TPieSeries::DrawPointMark(std::int32_t index, std::string_view text,
                               TSeriesMarkPosition& position) {
    if (index < 0 || static_cast<std::size_t>(index) >= FSlices.size() ||
        FSlices[static_cast<std::size_t>(index)].Empty()) {
        return;
    }
    TPieSlice slice = FSlices[static_cast<std::size_t>(index)];
    if (static_cast<std::size_t>(index) < FMarkAngles.size()) {
        // In 3D the arrow runs on the picture along the projected middle of the slice.
        slice.StartAngle = slice.EndAngle = FMarkAngles[static_cast<std::size_t>(index)];
    }
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
