// SPDX-License-Identifier: MIT
#include <korvatel/data/CustomBarSeries.h>

#include <korvatel/render/AxisPanel.h>
#include <korvatel/axes/ChartAxis.h>
#include <korvatel/canvas/ChartCanvas3D.h>
#include <korvatel/core/ChartErrors.h>
#include <korvatel/core/ChartStrings.h>
#include <korvatel/core/Rounding.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <typeinfo>

namespace Korvatel {

namespace {

constexpr std::int32_t MinimumBarWidthPercent = 1;
constexpr std::int32_t MaximumBarWidthPercent = 100;

// The pixel of a value on an axis. A value far outside a linear axis's range is first brought
// to within one range of it, so that its pixel lies beyond the chart rectangle on its own
// side; the mapping itself would give up on it and answer the axis's centre.
std::int32_t ReachablePixel(const TAxisMapping& mapping, double value) {
    if (mapping.Scale() == TAxisScale::Linear && mapping.Range() > 0) {
        const double range = mapping.Range();
        value = std::clamp(value, mapping.Minimum() - range, mapping.Maximum() + range);
    }
    return mapping.ValueToPixel(value);
}

// The length of an axis's range in the scale its values are spread in.
double ScaleSpan(const TAxisMapping& mapping) {
    if (mapping.Scale() != TAxisScale::Logarithmic) {
        return mapping.Range();
    }
    const auto logOf = [](double value) { return value > 0 ? std::log(value) : 0.0; };
    return logOf(mapping.Maximum()) - logOf(mapping.Minimum());
}

} // namespace

TCustomBarSeries::TCustomBarSeries(bool horizontal)
    : FHorizontal(horizontal), FBarPen(std::make_unique<TChartPen>([this] { StyleChanged(); })),
      FBarBrush(std::make_unique<TChartBrush>([this] { StyleChanged(); })) {
    if (horizontal) {
        // The values lie along X: points keep the order in which they are added, and
        // AppendValue numbers them upwards along Y.
        XValues().SetOrder(loNone);
    }
}

TCustomBarSeries::~TCustomBarSeries() = default;

// --- Properties ----------------------------------------------------------------------------

void TCustomBarSeries::SetBarWidthPercent(std::int32_t value) {
    if (value < MinimumBarWidthPercent || value > MaximumBarWidthPercent) {
        throw ChartException(FormatMessage(ChartStrings::BarWidthPercentRange,
                                           MinimumBarWidthPercent, MaximumBarWidthPercent));
    }
    if (FBarWidthPercent != value) {
        FBarWidthPercent = value;
        RequestRepaint();
    }
}

void TCustomBarSeries::SetMultiBar(TMultiBar value) {
    if (FMultiBar == value) {
        return;
    }
    FMultiBar = value;
    if (const TCustomAxisPanel* chart = ParentChart()) {
        for (TChartSeries* series : chart->SeriesList()) {
            auto* bar = dynamic_cast<TCustomBarSeries*>(series);
            if (bar != nullptr && typeid(*bar) == typeid(*this)) {
                bar->FMultiBar = value;
            }
        }
    }
    RequestRepaint();
}

void TCustomBarSeries::SetUseYOrigin(bool value) {
    if (FUseYOrigin != value) {
        FUseYOrigin = value;
        RequestRepaint();
    }
}

void TCustomBarSeries::SetYOrigin(double value) {
    if (!std::isfinite(value)) {
        throw ChartException(std::string(ChartStrings::OriginNotFinite));
    }
    if (FYOrigin != value) {
        FYOrigin = value;
        RequestRepaint();
    }
}

void TCustomBarSeries::SetBarStyle(TBarStyle value) {
    if (FBarStyle != value) {
        FBarStyle = value;
        RequestRepaint();
    }
}

void TCustomBarSeries::Assign(TChartSeries& source) {
    if (const auto* bar = dynamic_cast<const TCustomBarSeries*>(&source); bar && bar != this) {
        FBarWidthPercent = bar->FBarWidthPercent;
        FMultiBar = bar->FMultiBar;
        FUseYOrigin = bar->FUseYOrigin;
        FYOrigin = bar->FYOrigin;
        FBarStyle = bar->FBarStyle;
        FBarPen->Assign(*bar->FBarPen);
        FBarBrush->Assign(*bar->FBarBrush);
    }
    TChartSeries::Assign(source);
}

// --- Group and layout ----------------------------------------------------------------------

TChartValueList& TCustomBarSeries::MandatoryValues() {
    return FHorizontal ? XValues() : YValues();
}

const TCustomChartAxis* TCustomBarSeries::OrderingAxis() const {
    return FHorizontal ? ResolvedVertAxis() : ResolvedHorizAxis();
}

const TCustomChartAxis* TCustomBarSeries::ValueAxis() const {
    return FHorizontal ? ResolvedHorizAxis() : ResolvedVertAxis();
}

bool TCustomBarSeries::StandsWith(const TCustomBarSeries& other) const {
    return &other == this || (other.Active() && typeid(other) == typeid(*this) &&
                              other.ResolvedHorizAxis() == ResolvedHorizAxis() &&
                              other.ResolvedVertAxis() == ResolvedVertAxis());
}

bool TCustomBarSeries::SharesZOrder(const TChartSeries& other) const {
    const auto* bar = dynamic_cast<const TCustomBarSeries*>(&other);
    return bar != nullptr && bar != this && FMultiBar != mbNone && bar->FMultiBar != mbNone &&
           StandsWith(*bar);
}

TCustomBarSeries::TGroup TCustomBarSeries::CollectGroup() const {
    TGroup group;
    if (const TCustomAxisPanel* chart = ParentChart()) {
        for (const TChartSeries* series : chart->SeriesList()) {
            const auto* bar = dynamic_cast<const TCustomBarSeries*>(series);
            if (bar != nullptr && StandsWith(*bar)) {
                group.Members.push_back(bar);
            }
        }
    }
    if (group.Members.empty()) {
        group.Members.push_back(this);
    }
    group.Mode = group.Members.front()->FMultiBar;
    // A kind that stacks backwards puts the chart's last series at the bottom.
    if (!group.Members.front()->StacksForward()) {
        std::reverse(group.Members.begin(), group.Members.end());
    }
    const auto found = std::find(group.Members.begin(), group.Members.end(), this);
    group.Member = static_cast<std::size_t>(found - group.Members.begin());
    const TCustomChartAxis* ordering = OrderingAxis();
    const bool logarithmic = ordering != nullptr && ordering->Logarithmic();
    for (const TCustomBarSeries* member : group.Members) {
        group.Values.push_back(member->LayoutValues(logarithmic));
    }
    return group;
}

TBarValues TCustomBarSeries::LayoutValues(bool logarithmic) const {
    const std::int32_t count = PointCount();
    TBarValues bars;
    bars.Positions.resize(static_cast<std::size_t>(count));
    bars.Values.resize(static_cast<std::size_t>(count));
    if (count == 0) {
        return bars;
    }
    (FHorizontal ? YValues() : XValues()).CopyValues(0, count, bars.Positions.data());
    (FHorizontal ? XValues() : YValues()).CopyValues(0, count, bars.Values.data());
    constexpr double Missing = std::numeric_limits<double>::quiet_NaN();
    for (std::int32_t i = 0; i < count; ++i) {
        const auto index = static_cast<std::size_t>(i);
        double& position = bars.Positions[index];
        // On a logarithmic axis the room between points is measured between logarithms;
        // a bar at zero or below has no place there.
        if (logarithmic) {
            position = position > 0 ? std::log(position) : Missing;
        }
        if (PointIsNull(i) || !std::isfinite(position) || !std::isfinite(bars.Values[index])) {
            bars.Values[index] = Missing;
        }
    }
    return bars;
}

namespace {

bool SameBits(const std::vector<double>& a, const std::vector<double>& b) {
    // Bit for bit: a missing bar is NaN, which equals nothing.
    return a.size() == b.size() &&
           (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0);
}

bool SameGroup(const std::vector<TBarValues>& a, const std::vector<TBarValues>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const TBarValues& x, const TBarValues& y) {
                          return SameBits(x.Positions, y.Positions) && SameBits(x.Values, y.Values);
                      });
}

} // namespace

const TCustomBarSeries::TLayout& TCustomBarSeries::CurrentLayout() const {
    TGroup group = CollectGroup();
    // The layout depends on the members' points, this series' place among them and the mode.
    const bool same = FLayoutKnown && group.Member == FLayout.Group.Member &&
                      group.Mode == FLayout.Group.Mode &&
                      SameGroup(group.Values, FLayout.Group.Values);
    if (!same) {
        FLayout.Spans = BarSpans(group.Mode, group.Values, group.Member);
        FLayout.Gap = SmallestBarGap(group.Values);
        FLayout.Slot = BarSlotOf(group.Mode, group.Member, group.Members.size());
        FLayout.Group = std::move(group);
        FLayoutKnown = true;
    }
    return FLayout;
}

std::int32_t TCustomBarSeries::GroupWidth(const TLayout& layout) const {
    const TCustomChartAxis* axis = OrderingAxis();
    if (axis == nullptr) {
        return BarGroupWidth(0, FBarWidthPercent, layout.Slot.Count);
    }
    const TAxisMapping& mapping = axis->Mapping();
    const double span = std::fabs(ScaleSpan(mapping));
    // An axis without a range puts every bar on its centre: a lone bar (or one position)
    // has the whole axis as its room. Without two positions the room is one unit.
    const double room = span > 0
                            ? (layout.Gap > 0 ? layout.Gap : 1.0) * mapping.PixelLength() / span
                            : static_cast<double>(mapping.PixelLength());
    return BarGroupWidth(room, FBarWidthPercent, layout.Slot.Count);
}

std::int32_t TCustomBarSeries::OrderingMargin() const {
    if (ParentChart() == nullptr || OrderingAxis() == nullptr) {
        return 0;
    }
    // The group's outer bars reach width / 2 pixels before their centre and the rest after
    // it; one pixel more keeps them off the frame of the chart rectangle, which the clip of
    // the series leaves out.
    const std::int32_t width = GroupWidth(CurrentLayout());
    return width - width / 2 + 1;
}

void TCustomBarSeries::ValueMargins(std::int32_t& forward, std::int32_t& backward) const {
    forward = 1;
    backward = 1;
    if (FMarkRoom == 0) {
        return;
    }
    // Marks stand beyond the ends the bars grow to: room is kept on those sides only.
    bool growsForward = false;
    bool growsBackward = false;
    for (const TBarSpan& span : CurrentLayout().Spans) {
        if (!span.Missing()) {
            const double start = span.FromOrigin ? Origin() : span.Start;
            (span.End >= start ? growsForward : growsBackward) = true;
        }
    }
    forward = growsForward ? ClampToInt32(std::int64_t{forward} + FMarkRoom) : forward;
    backward = growsBackward ? ClampToInt32(std::int64_t{backward} + FMarkRoom) : backward;
}

void TCustomBarSeries::HorizontalMargins(std::int32_t& left, std::int32_t& right) const {
    if (FHorizontal) {
        ValueMargins(right, left);
        return;
    }
    left = right = OrderingMargin();
}

void TCustomBarSeries::VerticalMargins(std::int32_t& top, std::int32_t& bottom) const {
    if (!FHorizontal) {
        ValueMargins(top, bottom);
        return;
    }
    top = bottom = OrderingMargin();
}

void TCustomBarSeries::PrepareChartDraw() {
    FMarkRoom = 0;
    if (ParentChart() == nullptr || !Marks().Visible()) {
        return;
    }
    // Only the extent along the values takes room; the other one is left unmeasured.
    std::int32_t width = 0;
    std::int32_t height = 0;
    LargestMarkBox(width, height, FHorizontal);
    const std::int64_t extent = FHorizontal ? width : height;
    FMarkRoom = ClampToInt32(std::max<std::int64_t>(0, Marks().ArrowLength()) + extent);
}

double TCustomBarSeries::ValueLimit(bool wantMinimum) const {
    bool found = false;
    double result = 0;
    const auto take = [&](double value) {
        if (std::isfinite(value) && (!found || (wantMinimum ? value < result : value > result))) {
            result = value;
            found = true;
        }
    };
    for (const TBarSpan& span : CurrentLayout().Spans) {
        if (!span.Missing()) {
            take(span.End);
            if (!span.FromOrigin) {
                take(span.Start);
            }
        }
    }
    if (FUseYOrigin) {
        take(FYOrigin);
    }
    if (!found) {
        const TChartValueList& values = FHorizontal ? XValues() : YValues();
        return wantMinimum ? values.FiniteMinimum() : values.FiniteMaximum();
    }
    return result;
}

double TCustomBarSeries::SeriesMinX() const {
    return FHorizontal ? ValueLimit(true) : TChartSeries::SeriesMinX();
}

double TCustomBarSeries::SeriesMaxX() const {
    return FHorizontal ? ValueLimit(false) : TChartSeries::SeriesMaxX();
}

double TCustomBarSeries::SeriesMinY() const {
    return FHorizontal ? TChartSeries::SeriesMinY() : ValueLimit(true);
}

double TCustomBarSeries::SeriesMaxY() const {
    return FHorizontal ? TChartSeries::SeriesMaxY() : ValueLimit(false);
}

std::int32_t TCustomBarSeries::AddBar(double value, double position, std::string_view label,
                                      TColor color) {
    return FHorizontal ? AddPoint(value, position, label, color)
                       : AddPoint(position, value, label, color);
}

double TCustomBarSeries::Origin() const {
    if (FUseYOrigin) {
        return FYOrigin;
    }
    const TCustomChartAxis* axis = ValueAxis();
    return axis != nullptr ? axis->EffectiveMinimum() : 0.0;
}

double TCustomBarSeries::OriginValue(std::int32_t index) const {
    if (index < 0 || index >= PointCount()) {
        throw ListIndexError(index);
    }
    const TBarSpan& span = CurrentLayout().Spans[static_cast<std::size_t>(index)];
    return span.FromOrigin ? Origin() : span.Start;
}

double TCustomBarSeries::StackOrigin(std::int32_t index, bool sumAll) const {
    if (index < 0 || index >= PointCount()) {
        throw ListIndexError(index);
    }
    const TGroup& group = CurrentLayout().Group;
    const TBarStackSums sums =
        BarStackSums(group.Values, group.Member, true)[static_cast<std::size_t>(index)];
    return sumAll ? sums.Magnitude : sums.Below;
}

// --- Drawing -------------------------------------------------------------------------------

void TCustomBarSeries::LayOutBar(std::int32_t index, const TBarSpan& span, std::int32_t groupWidth,
                                 TBarSlot slot, TDrawnBar& bar) const {
    bar = {};
    if (span.Missing()) {
        return;
    }
    const TAxisMapping& ordering = OrderingAxis()->Mapping();
    const TAxisMapping& values = ValueAxis()->Mapping();
    const double position = (FHorizontal ? YValues() : XValues()).ValueAt(index);
    const TBarEdges across = BarSlotEdges(ReachablePixel(ordering, position), groupWidth, slot);
    const std::int32_t start = ReachablePixel(values, span.FromOrigin ? Origin() : span.Start);
    const std::int32_t end = ReachablePixel(values, span.End);
    const std::int32_t low = std::min(start, end);
    const std::int32_t high = std::max(start, end);
    if (FHorizontal) {
        bar.Bounds = {low, across.Low, high, across.High};
        bar.Forward = end >= start;
    } else {
        bar.Bounds = {across.Low, low, across.High, high};
        bar.Forward = end <= start;
    }
    bar.Drawn = true;
}

void TCustomBarSeries::DrawPoints() {
    FDrawn.clear();
    TCustomAxisPanel* chart = ParentChart();
    if (chart == nullptr || OrderingAxis() == nullptr || ValueAxis() == nullptr ||
        FFirstVisible < 0 || FLastVisible < FFirstVisible) {
        return;
    }
    // A bar whose centre lies just outside the chart rectangle may still reach into it.
    const std::int32_t first = std::max(0, FFirstVisible - 1);
    const std::int32_t last = std::min(PointCount() - 1, FLastVisible + 1);
    if (last < first) {
        return;
    }
    const TLayout& layout = CurrentLayout();
    const std::int32_t width = GroupWidth(layout);
    FFirstDrawn = first;
    FDrawn.resize(static_cast<std::size_t>(last - first + 1));
    for (std::int32_t i = first; i <= last; ++i) {
        LayOutBar(i, layout.Spans[static_cast<std::size_t>(i)], width, layout.Slot,
                  FDrawn[static_cast<std::size_t>(i - first)]);
    }
    TChartCanvas3D& canvas = chart->Canvas();
    canvas.ApplyChartPen(*FBarPen);
    canvas.Brush().Assign(*FBarBrush);
    // Whole bars in the order of the view: the neighbour on the side that shows comes later.
    FDrawn3D = chart->View3D();
    FDrawnBackwards = FDrawn3D && DrawsBackwards(canvas);
    if (FDrawnBackwards) {
        for (std::int32_t i = last; i >= first; --i) {
            DrawPoint(i);
        }
    } else {
        for (std::int32_t i = first; i <= last; ++i) {
            DrawPoint(i);
        }
    }
}

bool TCustomBarSeries::DrawsBackwards(const TChartCanvas3D& canvas) const {
    // The bars in index order run towards larger pixels (right, or down for horizontal bars)
    // unless the axis is inverted.
    std::int64_t order = 1;
    const TDrawnBar* firstBar = nullptr;
    const TDrawnBar* lastBar = nullptr;
    for (const TDrawnBar& bar : FDrawn) {
        if (bar.Drawn) {
            firstBar = firstBar != nullptr ? firstBar : &bar;
            lastBar = &bar;
        }
    }
    if (firstBar == nullptr) {
        return false;
    }
    if (lastBar != firstBar) {
        const std::int64_t a = FHorizontal ? firstBar->Bounds.Top : firstBar->Bounds.Left;
        const std::int64_t b = FHorizontal ? lastBar->Bounds.Top : lastBar->Bounds.Left;
        order = b < a ? -1 : 1;
    }
    // Which way depth moves a point on the screen, seen in the middle of the bars.
    const std::int32_t x = Low32((std::int64_t{firstBar->Bounds.Left} + lastBar->Bounds.Right) / 2);
    const std::int32_t y = Low32((std::int64_t{firstBar->Bounds.Top} + lastBar->Bounds.Bottom) / 2);
    const TPoint near = canvas.ProjectPoint(x, y, StartDepth());
    const TPoint far = canvas.ProjectPoint(x, y, EndDepth());
    const std::int64_t shift = FHorizontal ? std::int64_t{far.Y} - near.Y
                                           : std::int64_t{far.X} - near.X;
    // Vertical bars: the right side shows when depth moves right, and then bars go left to
    // right. Horizontal bars: the top shows when depth moves up, and then the lower bars go
    // first. Either way the bars follow the way depth moves a point on the screen, which is
    // backwards in index order when the two disagree.
    return (shift < 0) == (order > 0);
}

void TCustomBarSeries::DrawPoint(std::int32_t index) {
    const TDrawnBar* bar = DrawnBar(index);
    TCustomAxisPanel* chart = ParentChart();
    if (bar == nullptr || !bar->Drawn || bar->Bounds.IsEmpty() || chart == nullptr) {
        return;
    }
    TChartCanvas3D& canvas = chart->Canvas();
    if (FBarBrush->Color() == clDefault) {
        canvas.Brush().SetColor(PointColor(index));
    }
    PaintStyledBar(canvas, *bar, chart->View3D());
}

TSolidKind TCustomBarSeries::SolidOf(const TDrawnBar& bar, TSolidDirection& tip) const {
    // The end the bar grows to, and the one it starts from.
    const TSolidDirection end = FHorizontal ? (bar.Forward ? sdRight : sdLeft)
                                            : (bar.Forward ? sdUp : sdDown);
    const TSolidDirection start = FHorizontal ? (bar.Forward ? sdLeft : sdRight)
                                              : (bar.Forward ? sdDown : sdUp);
    tip = end;
    switch (FBarStyle) {
    case bsPyramid:
        return skPyramid;
    case bsInvPyramid:
        tip = start;
        return skPyramid;
    case bsCylinder:
        return skCylinder;
    case bsEllipse:
        return skDisc;
    case bsArrow:
        return skArrow;
    case bsCone:
        return skCone;
    case bsRectangle:
    case bsRectGradient:
        break;
    }
    return skCube;
}

void TCustomBarSeries::PaintStyledBar(TChartCanvas3D& canvas, const TDrawnBar& bar,
                                      bool view3D) const {
    const TRect& bounds = bar.Bounds;
    TSolidDirection tip = sdUp;
    const TSolidKind kind = SolidOf(bar, tip);
    if (view3D) {
        canvas.DrawSolid(kind, bounds, StartDepth(), EndDepth(), tip, Dark3D());
    } else if (kind == skDisc) {
        canvas.DrawEllipse(bounds.Left, bounds.Top, bounds.Right, bounds.Bottom);
    } else if (kind == skCube || kind == skCylinder) {
        PaintBar(canvas, bounds);
    } else {
        // The front of the solid as the flat canvas sees it: a triangle or an arrow.
        canvas.DrawSolid(kind, bounds, 0, 0, tip, false);
    }
    if (FBarStyle != bsRectGradient) {
        return;
    }
    // The gradient covers the front face inside its outline, where the front is a rectangle
    // on the screen (flat, or the oblique view).
    if (view3D && !canvas.IsOrthogonal()) {
        return;
    }
    TRect front = bounds;
    if (view3D) {
        const TPoint a = canvas.ProjectPoint(bounds.Left, bounds.Top, StartDepth());
        const TPoint b = canvas.ProjectPoint(bounds.Right, bounds.Bottom, StartDepth());
        front = {a.X, a.Y, b.X, b.Y};
    }
    if (FBarPen->Visible()) {
        front = {ClampToInt32(std::int64_t{front.Left} + 1),
                 ClampToInt32(std::int64_t{front.Top} + 1),
                 ClampToInt32(std::int64_t{front.Right} - 1),
                 ClampToInt32(std::int64_t{front.Bottom} - 1)};
    }
    const TGradientDirection direction =
        FHorizontal ? (bar.Forward ? gdRightLeft : gdLeftRight)
                    : (bar.Forward ? gdTopBottom : gdBottomTop);
    canvas.FillGradient(front, clWhite, canvas.Brush().Color(), direction);
}

void TCustomBarSeries::PaintBar(TChartCanvas3D& canvas, const TRect& bounds) const {
    // Without an outline the fill reaches the same edges as an outlined bar.
    if (FBarPen->Visible()) {
        canvas.DrawRectangle(bounds);
    } else {
        canvas.FillRectangle(bounds);
    }
}

const TCustomBarSeries::TDrawnBar* TCustomBarSeries::DrawnBar(std::int32_t index) const {
    // Nothing was drawn by a repaint that found no visible point.
    if (FFirstVisible < 0 || index < FFirstDrawn ||
        index - std::int64_t{FFirstDrawn} >= static_cast<std::int64_t>(FDrawn.size()) ||
        index >= PointCount()) {
        return nullptr;
    }
    return &FDrawn[static_cast<std::size_t>(index - FFirstDrawn)];
}

TRect TCustomBarSeries::BarBounds(std::int32_t index) const {
    const TDrawnBar* bar = DrawnBar(index);
    return bar != nullptr && bar->Drawn ? bar->Bounds : TRect{};
}

std::int32_t TCustomBarSeries::PointAtPixel(std::int32_t x, std::int32_t y) const {
    const TCustomAxisPanel* chart = ParentChart();
    // The bar drawn last lies on top: in 3D a solid covers the faces of those drawn before it,
    // so a click on a hidden face finds the bar in front of it.
    const auto size = static_cast<std::int32_t>(FDrawn.size());
    for (std::int32_t k = size - 1; k >= 0; --k) {
        const std::int32_t i = FDrawnBackwards ? size - 1 - k : k;
        const std::int32_t index = FFirstDrawn + i;
        const TDrawnBar* bar = DrawnBar(index);
        if (bar == nullptr || !bar->Drawn) {
            continue;
        }
        if (FDrawn3D && chart != nullptr) {
            TSolidDirection tip = sdUp;
            const TSolidKind kind = SolidOf(*bar, tip);
            if (chart->Canvas().SolidContains(kind, bar->Bounds, StartDepth(), EndDepth(), tip, x,
                                              y)) {
                return index;
            }
        } else if (bar->Bounds.Contains(x, y)) {
            return index;
        }
    }
    return -1;
}

void TCustomBarSeries::DrawPointMark(std::int32_t index, std::string_view text,
                                     TSeriesMarkPosition& position) {
    const TDrawnBar* bar = DrawnBar(index);
    if (bar == nullptr || !bar->Drawn) {
        return;
    }
    const TRect& r = bar->Bounds;
    const std::int64_t arrow = Marks().ArrowLength();
    const std::int64_t width = position.Width;
    const std::int64_t height = position.Height;
    std::int64_t fromX;
    std::int64_t fromY;
    std::int64_t toX;
    std::int64_t toY;
    std::int64_t left;
    std::int64_t top;
    if (FHorizontal) {
        fromY = (std::int64_t{r.Top} + r.Bottom - 1) / 2;
        fromX = bar->Forward ? std::int64_t{r.Right} - 1 : r.Left;
        toX = bar->Forward ? fromX + arrow : fromX - arrow;
        toY = fromY;
        left = bar->Forward ? toX : toX - width + 1;
        top = fromY - height / 2;
    } else {
        fromX = (std::int64_t{r.Left} + r.Right - 1) / 2;
        fromY = bar->Forward ? r.Top : std::int64_t{r.Bottom} - 1;
        toX = fromX;
        toY = bar->Forward ? fromY - arrow : fromY + arrow;
        left = fromX - width / 2;
        top = bar->Forward ? toY - height + 1 : toY;
    }
    position.ArrowFrom = {Low32(fromX), Low32(fromY)};
    position.ArrowTo = {Low32(toX), Low32(toY)};
    position.LeftTop = {Low32(left), Low32(top)};
    TChartSeries::DrawPointMark(index, text, position);
}

void TCustomBarSeries::DrawLegendSymbol(const TRect& rect) {
    TCustomAxisPanel* chart = ParentChart();
    if (chart == nullptr) {
        return;
    }
    TChartCanvas3D& canvas = chart->Canvas();
    // The legend prepared a solid brush of the entry's colour; the bars' own fill style, and
    // their own colour when they have one, take its place.
    canvas.Brush().SetStyle(FBarBrush->Style());
    canvas.Brush().SetImage(FBarBrush->Image());
    if (FBarBrush->Color() != clDefault) {
        canvas.Brush().SetColor(FBarBrush->Color());
    }
    canvas.ApplyChartPen(*FBarPen);
    PaintBar(canvas, rect);
}

} // namespace Korvatel
