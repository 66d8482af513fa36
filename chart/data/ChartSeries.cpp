// SPDX-License-Identifier: MIT
// The series base in two files: this one holds the points, the chart and axes, the visible
// range, the mouse, mark texts, the legend, sample values and properties;
// ChartSeriesLinks.cpp the data sources, linked series and copies from another series.

#include <korvatel/data/ChartSeries.h>

#include <korvatel/render/AxisPanel.h>
#include <korvatel/axes/AxisLabelText.h>
#include <korvatel/axes/ChartAxis.h>
#include <korvatel/canvas/ChartCanvas3D.h>
#include <korvatel/core/ChartErrors.h>
#include <korvatel/data/ChartPalette.h>
#include <korvatel/core/ChartStrings.h>
#include <korvatel/axes/FormatSettings.h>
#include <korvatel/axes/NumberFormat.h>
#include <korvatel/core/Rounding.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>

namespace Korvatel {

namespace {

bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

} // namespace

TChartSeries::TChartSeries()
    : FMarks(std::make_unique<TSeriesMarks>(this)),
      FPercentFormat(ChartStrings::DefaultPercentFormat),
      FValueFormat(ChartStrings::DefaultValueFormat),
      FXValues(std::make_unique<TChartValueList>(this, "X")),
      FYValues(std::make_unique<TChartValueList>(this, "Y")) {
    FXValues->SetOrder(loAscending);
}

TChartSeries::~TChartSeries() {
    FSourceFunction.reset();
    BreakDataLinks();
    ClearPoints();
    if (FParentChart != nullptr) {
        FParentChart->RemoveSeries(this);
    }
}

// --- Points --------------------------------------------------------------------------------

void TChartSeries::InsertPointEntries(std::int32_t index, TColor color, std::string_view label) {
    const auto position = static_cast<std::size_t>(index);
    // Lists shorter than the point (filled from a source without colours or labels) are
    // padded first: missing colours are clDefault, missing labels none.
    if (FColorList.size() < position || FLabelList.size() < position) [[unlikely]] {
        while (FColorList.size() < position) {
            FColorList.push_back(clDefault);
        }
        while (FLabelList.size() < position) {
            FLabelList.push_back(nullptr);
        }
    }
    FColorList.insert(position, color);
    FLabelList.insert(position, label.empty() ? nullptr : std::make_unique<std::string>(label));
    FMarks->InsertPosition(index);
}

std::int32_t TChartSeries::AddPoint(double x, double y, std::string_view label, TColor color) {
    FXValues->SetPendingValue(x);
    FYValues->SetPendingValue(y);
    if (OnBeforeAdd && !OnBeforeAdd(this)) {
        return -1;
    }
    const std::int32_t index = FXValues->InsertInOrder(FXValues->PendingValue());
    FYValues->InsertAt(index, FYValues->PendingValue());
    InsertPointEntries(index, color, label);
    PointAdded(index);
    return index;
}

void TChartSeries::PointAdded(std::int32_t index) {
    if (OnAfterAdd) {
        OnAfterAdd(this, index);
    }
    NotifyLinkedSeries(TSeriesChange::Insert, index);
    if (FActive) {
        RequestRepaint();
    }
}

void TChartSeries::EmptyAllLists() {
    for (TChartValueList* list : FValueLists) {
        list->RemoveAllValues();
    }
    FColorList.clear();
    FLabelList.clear();
    FMarks->ClearPositions();
}

void TChartSeries::ClearPoints() {
    EmptyAllLists();
    if (OnClearValues) {
        OnClearValues(this);
    }
    NotifyLinkedSeries(TSeriesChange::Clear, -1);
    if (FActive && FParentChart != nullptr && !FParentChart->Destroying()) {
        RequestRepaint();
    }
}

void TChartSeries::DeletePoint(std::int32_t index) {
    if (index < 0 || index >= PointCount()) {
        throw ListIndexError(index);
    }
    for (TChartValueList* list : FValueLists) {
        if (index < list->ValueCount()) {
            list->RemoveAt(index);
        }
    }
    if (static_cast<std::size_t>(index) < FColorList.size()) {
        FColorList.erase(static_cast<std::size_t>(index));
    }
    if (static_cast<std::size_t>(index) < FLabelList.size()) {
        FLabelList.erase(static_cast<std::size_t>(index));
    }
    FMarks->DeletePosition(index);
    NotifyLinkedSeries(TSeriesChange::Delete, index);
    if (FActive) {
        RequestRepaint();
    }
}

std::int32_t TChartSeries::AppendValue(double value, std::string_view label, TColor color) {
    return YIsMandatory() ? AppendYValue(value, label, color) : AppendXValue(value, label, color);
}

std::int32_t TChartSeries::AppendXValue(double value, std::string_view label, TColor color) {
    return AddPoint(value, PointCount(), label, color);
}

std::int32_t TChartSeries::AppendYValue(double value, std::string_view label, TColor color) {
    return AddPoint(PointCount(), value, label, color);
}

std::int32_t TChartSeries::AppendNull(std::string_view label) {
    return AppendValue(0.0, label, clNone);
}

std::int32_t TChartSeries::AddNullPoint(double x, double y, std::string_view label) {
    return AddPoint(x, y, label, clNone);
}

double TChartSeries::PointX(std::int32_t index) const {
    return FXValues->ValueAt(index);
}

double TChartSeries::PointY(std::int32_t index) const {
    return FYValues->ValueAt(index);
}

double TChartSeries::DimensionValue(bool horizontal, std::int32_t index) const {
    return horizontal ? PointX(index) : PointY(index);
}

TColor TChartSeries::PointColor(std::int32_t index) const {
    if (index < 0) {
        throw ListIndexError(index);
    }
    if (static_cast<std::size_t>(index) >= FColorList.size()) {
        return FSeriesColor;
    }
    const TColor stored = FColorList[static_cast<std::size_t>(index)];
    if (stored != clDefault) {
        return stored;
    }
    return FColorEachPoint ? SeriesPaletteColor(index) : FSeriesColor;
}

void TChartSeries::SetPointColor(std::int32_t index, TColor color) {
    if (index < 0 || static_cast<std::size_t>(index) >= FColorList.size()) {
        throw ListIndexError(index);
    }
    FColorList[static_cast<std::size_t>(index)] = color;
    RequestRepaint();
}

std::string TChartSeries::PointLabel(std::int32_t index) const {
    if (index < 0) {
        throw ListIndexError(index);
    }
    if (static_cast<std::size_t>(index) >= FLabelList.size()) {
        return {};
    }
    const std::unique_ptr<std::string>& text = FLabelList[static_cast<std::size_t>(index)];
    return text ? *text : std::string();
}

void TChartSeries::SwapPoints(std::int32_t a, std::int32_t b) {
    for (const std::int32_t index : {a, b}) {
        if (index < 0 || index >= PointCount()) {
            throw ListIndexError(index);
        }
    }
    for (TChartValueList* list : FValueLists) {
        list->SwapStoredValues(a, b);
    }
    const auto ua = static_cast<std::size_t>(a);
    const auto ub = static_cast<std::size_t>(b);
    if (ua < FColorList.size() && ub < FColorList.size()) {
        FColorList.swap_elements(ua, ub);
    }
    if (ua < FLabelList.size() && ub < FLabelList.size()) {
        FLabelList.swap_elements(ua, ub);
    }
    FMarks->SwapPositions(a, b);
}

TChartValueList& TChartSeries::ValueListNamed(std::string_view name) {
    for (std::int32_t i = 2; i < FValueLists.Count(); ++i) {
        if (SameTextIgnoringCase(FValueLists[i].Name(), name)) {
            return FValueLists[i];
        }
    }
    return *FYValues;
}

void TChartSeries::InsertExtraValues(std::int32_t index) {
    for (std::int32_t i = 2; i < FValueLists.Count(); ++i) {
        FValueLists[i].InsertAt(index, FValueLists[i].PendingValue());
    }
}

// --- Chart and axes ------------------------------------------------------------------------

void TChartSeries::SetParentChart(TCustomAxisPanel* chart) {
    if (FParentChart == chart) {
        return;
    }
    if (FParentChart != nullptr) {
        FParentChart->RemoveSeries(this);
    }
    FParentChart = chart;
    ResolveAxes();
    if (FParentChart != nullptr) {
        FParentChart->AddSeries(this);
    }
}

void TChartSeries::ResolveAxes() {
    if (FParentChart == nullptr) {
        FResolvedHorizAxis = nullptr;
        FResolvedVertAxis = nullptr;
        return;
    }
    FResolvedHorizAxis = &FParentChart->BottomAxis();
    if (FHorizAxis == aTopAxis) {
        FResolvedHorizAxis = &FParentChart->TopAxis();
    } else if (FHorizAxis == aCustomHorizAxis && FCustomHorizAxis != nullptr) {
        FResolvedHorizAxis = FCustomHorizAxis;
    }
    FResolvedVertAxis = &FParentChart->LeftAxis();
    if (FVertAxis == aRightAxis) {
        FResolvedVertAxis = &FParentChart->RightAxis();
    } else if (FVertAxis == aCustomVertAxis && FCustomVertAxis != nullptr) {
        FResolvedVertAxis = FCustomVertAxis;
    }
}

void TChartSeries::SetCustomHorizAxis(TCustomChartAxis* axis) {
    FCustomHorizAxis = axis;
    ResolveAxes();
}

void TChartSeries::SetCustomVertAxis(TCustomChartAxis* axis) {
    FCustomVertAxis = axis;
    ResolveAxes();
}

bool TChartSeries::IsAssociatedWith(const TCustomChartAxis& axis) const {
    if (!UsesAxes()) {
        return false;
    }
    if (axis.IsHorizontal()) {
        return FHorizAxis == aBothHorizAxis || &axis == FResolvedHorizAxis;
    }
    return FVertAxis == aBothVertAxis || &axis == FResolvedVertAxis;
}

void TChartSeries::HorizontalMargins(std::int32_t& left, std::int32_t& right) const {
    left = 0;
    right = 0;
}

void TChartSeries::VerticalMargins(std::int32_t& top, std::int32_t& bottom) const {
    top = 0;
    bottom = 0;
}

// --- Visible range and pixels -------------------------------------------------------------

std::int32_t TChartSeries::PointPixelX(std::int32_t index) const {
    return XValueToPixel(PointX(index));
}

std::int32_t TChartSeries::PointPixelY(std::int32_t index) const {
    return YValueToPixel(PointY(index));
}

std::int32_t TChartSeries::XValueToPixel(double value) const {
    return FResolvedHorizAxis != nullptr ? FResolvedHorizAxis->XValueToPixel(value) : 0;
}

std::int32_t TChartSeries::YValueToPixel(double value) const {
    return FResolvedVertAxis != nullptr ? FResolvedVertAxis->YValueToPixel(value) : 0;
}

std::int32_t TChartSeries::ValueToPixel(double value) const {
    return YIsMandatory() ? YValueToPixel(value) : XValueToPixel(value);
}

double TChartSeries::XPixelToValue(std::int32_t pixel) const {
    return FResolvedHorizAxis != nullptr ? FResolvedHorizAxis->PixelToValue(pixel) : 0.0;
}

void TChartSeries::ComputeVisibleRange() {
    FFirstVisible = -1;
    FLastVisible = -1;
    const std::int32_t count = PointCount();
    if (count < 1) {
        return;
    }
    const bool horizontal = YIsMandatory();
    const TChartValueList& order = horizontal ? *FXValues : *FYValues;
    const TCustomChartAxis* axis = horizontal ? FResolvedHorizAxis : FResolvedVertAxis;
    // Without an axis range to narrow to, every point may be visible.
    if (!FNarrowVisibleRange || order.Order() == loNone || axis == nullptr ||
        FParentChart == nullptr) {
        FFirstVisible = 0;
        FLastVisible = count - 1;
        return;
    }
    // The lowest value lies at the left (bottom) edge, or at the right (top) edge of an
    // inverted axis.
    const TRect& plot = FParentChart->PlotRect();
    const bool inverted = axis->Inverted();
    const std::int32_t lowEdge =
        horizontal ? (inverted ? plot.Right : plot.Left) : (inverted ? plot.Top : plot.Bottom);
    const std::int32_t highEdge =
        horizontal ? (inverted ? plot.Left : plot.Right) : (inverted ? plot.Bottom : plot.Top);
    const double lowest = axis->PixelToValue(lowEdge);
    const double highest = axis->PixelToValue(highEdge);

    // The scans assume ascending values and stop at the first point beyond each edge, so a
    // series that lies wholly inside the range costs two comparisons.
    std::int32_t first = 0;
    while (first < count && !(order.ValueAt(first) >= lowest)) {
        ++first;
    }
    if (first == count) {
        return;
    }
    FFirstVisible = first;
    if (order.LastValue() <= highest) {
        FLastVisible = count - 1;
        return;
    }
    std::int32_t last = first;
    while (last < count - 1 && !(order.ValueAt(last) >= highest)) {
        ++last;
    }
    // A point beyond the end is kept only by series whose line runs towards it.
    if (!FKeepPointBeyondEnd && order.ValueAt(last) > highest) {
        --last;
    }
    FLastVisible = last;
}

void TChartSeries::RequestRepaint() const {
    if (FParentChart != nullptr) {
        FParentChart->RequestRepaint();
    }
}

// --- Mouse -------------------------------------------------------------------------------------

bool TChartSeries::SeriesMouseDown(std::int32_t valueIndex, TMouseButton button, TShiftState shift,
                                   std::int32_t x, std::int32_t y) {
    // Kept here: a handler may take the series off its chart.
    TCustomAxisPanel* chart = FParentChart;
    if (chart == nullptr) {
        return false;
    }
    chart->SetCancelMouse(false);
    // A handler claims the press by leaving the flag set; it may clear it to pass the press on
    // to the chart's zoom and scroll.
    const TClickEvent& handler = shift.Double && OnDblClick ? OnDblClick : OnClick;
    return chart->OfferPress(handler, this, valueIndex, button, shift, x, y);
}

void TChartSeries::SetZOrder(std::int32_t value) {
    if (FZOrder != value) {
        FZOrder = value;
        RequestRepaint();
    }
}

void TChartSeries::SetDepths(std::int32_t start, std::int32_t end) {
    FStartDepth = start;
    FEndDepth = end;
    FMiddleDepth = (start + end) / 2;
}

void TChartSeries::DrawPoints() {
    if (FLastVisible < FFirstVisible) {
        return;
    }
    if (DrawsForward()) {
        for (std::int32_t i = FFirstVisible; i <= FLastVisible; ++i) {
            DrawPoint(i);
        }
    } else {
        for (std::int32_t i = FLastVisible; i >= FFirstVisible; --i) {
            DrawPoint(i);
        }
    }
}

void TChartSeries::FireBeforeDrawValues() {
    if (BeforeDrawValues) {
        BeforeDrawValues(this);
    }
}

void TChartSeries::FireAfterDrawValues() {
    if (AfterDrawValues) {
        AfterDrawValues(this);
    }
}

// --- Mark texts and marks ------------------------------------------------------------------

std::string TChartSeries::ValueText(double value) const {
    const TFormatSettings& settings = ProcessFormatSettings();
    return FormatNumber(value, FValueFormat, settings.ThousandSeparator, settings.DecimalSeparator);
}

std::string TChartSeries::PercentText(std::int32_t index) const {
    // Values that are not finite are null points: they add nothing to the whole.
    const long double sum = MandatoryValues().FiniteAbsoluteSum();
    // A series whose values are all zero shows every point as the whole.
    const double percent =
        sum == 0 ? 100.0
                 : StoreAsDouble(std::fabs(static_cast<long double>(MarkValue(index))) * 100 / sum);
    const TFormatSettings& settings = ProcessFormatSettings();
    return FormatNumber(percent, FPercentFormat, settings.ThousandSeparator,
                        settings.DecimalSeparator);
}

std::string TChartSeries::PercentTotalText(std::int32_t index) const {
    const std::string percent = PercentText(index);
    const std::string total = ValueText(MandatoryValues().FiniteAbsoluteSum());
    return FormatMessage(ChartStrings::PercentOf, {percent, total});
}

std::string TChartSeries::XValueText(std::int32_t index) const {
    const double x = PointX(index);
    return FResolvedHorizAxis != nullptr ? FResolvedHorizAxis->AxisLabelText(x) : ValueText(x);
}

std::string TChartSeries::PointMarkText(std::int32_t index) {
    // A point without a label is labelled by its value.
    const auto labelText = [this, index] {
        std::string label = PointLabel(index);
        return label.empty() ? ValueText(MarkValue(index)) : label;
    };
    std::string text;
    switch (FMarks->Style()) {
    case smsValue:
        text = ValueText(MarkValue(index));
        break;
    case smsPercent:
        text = PercentText(index);
        break;
    case smsLabel:
        text = labelText();
        break;
    case smsLabelPercent:
        text = labelText() + ' ' + PercentText(index);
        break;
    case smsLabelValue:
        text = labelText() + ' ' + ValueText(MarkValue(index));
        break;
    case smsLegend:
        text = LegendEntryText(index);
        break;
    case smsPercentTotal:
        text = PercentTotalText(index);
        break;
    case smsLabelPercentTotal:
        text = labelText() + ' ' + PercentTotalText(index);
        break;
    case smsXValue:
        text = XValueText(index);
        break;
    }
    if (OnGetMarkText) {
        OnGetMarkText(this, index, text);
    }
    return text;
}

std::int32_t TChartSeries::WidestMarkText() {
    if (FParentChart == nullptr) {
        return 0;
    }
    // Texts that an event broke into lines are as wide as their widest line.
    std::int32_t widest = 0;
    for (std::int32_t i = 0; i < PointCount(); ++i) {
        widest = std::max(widest, FParentChart->TextBlockWidth(PointMarkText(i)));
    }
    return widest;
}

namespace {

// How mark boxes are measured, in the marks' font: the widest line of the text plus the width
// of "W", and a row per line, each plus the frame on both sides.
class TMarkBoxMeasure {
public:
    TMarkBoxMeasure(TCustomAxisPanel& chart, TSeriesMarks& marks) : FChart(chart) {
        chart.SelectFont(marks.Font());
        FCharWidth = chart.Canvas().MeasureTextWidth("W");
        FRowHeight = chart.Canvas().TextRowHeight();
        FFrame = 2 * std::int64_t{marks.FrameWidth()};
    }

    void Measure(std::string_view text, TSeriesMarkPosition& position) const {
        std::int32_t lines = 0;
        const std::int64_t textWidth = FChart.TextBlockWidth(text, &lines);
        position.Width = Low32(textWidth + FCharWidth + FFrame);
        position.Height = Low32(lines * FRowHeight + FFrame);
    }

    // The height alone, from the number of lines: no text is laid out.
    std::int32_t Height(std::string_view text) const {
        const std::int64_t lines =
            MeasureMultiLineText(text, [](std::string_view) { return 0; }).Lines;
        return Low32(lines * FRowHeight + FFrame);
    }

private:
    TCustomAxisPanel& FChart;
    std::int64_t FCharWidth = 0;
    std::int64_t FRowHeight = 0;
    std::int64_t FFrame = 0;
};

// Measures the mark box of every point first..last that has a mark (not null, a text that is
// not empty, not hidden by hidden(i)) and hands the point, its text and its measured box to
// visit. The count is read again on every step: a mark text event may remove points.
template <typename THidden, typename TVisit>
void ForEachMarkText(TChartSeries& series, std::int32_t first, std::int32_t last,
                     THidden&& hidden, TVisit&& visit) {
    for (std::int32_t i = first; i <= last && i < series.PointCount(); ++i) {
        if (series.PointIsNull(i) || hidden(i)) {
            continue;
        }
        const std::string text = series.PointMarkText(i);
        if (!text.empty()) {
            visit(i, text);
        }
    }
}

template <typename TVisit, typename THidden>
void MeasureMarks(TChartSeries& series, TCustomAxisPanel& chart, TSeriesMarks& marks,
                  std::int32_t first, std::int32_t last, TVisit&& visit, THidden&& hidden) {
    const TMarkBoxMeasure measure(chart, marks);
    ForEachMarkText(series, first, last, hidden, [&](std::int32_t i, const std::string& text) {
        TSeriesMarkPosition position;
        measure.Measure(text, position);
        visit(i, text, position);
    });
}

} // namespace

void TChartSeries::DrawMarks() {
    if (FParentChart == nullptr || FFirstVisible < 0) {
        return;
    }
    // A mark is wider than a pixel, so the marks of many points in one pixel column (row, for
    // series that order along Y) are an unreadable heap: of those only the mark of the last
    // point that is not null is drawn, the one that would lie on top, and the others cost no
    // text. A series off the axes has no columns.
    const bool alongX = YIsMandatory();
    // The points are asked in order, so each column is worked out once: as the next point's
    // and then again as the point's own.
    std::int32_t knownIndex = -1;
    std::int32_t knownColumn = 0;
    const auto column = [&](std::int32_t i) {
        if (i != knownIndex) {
            knownIndex = i;
            knownColumn = alongX ? PointPixelX(i) : PointPixelY(i);
        }
        return knownColumn;
    };
    const bool inColumns = UsesAxes();
    const auto hidden = [&](std::int32_t i) {
        const std::int32_t next = i + 1;
        if (!inColumns || next > FLastVisible || next >= PointCount() || PointIsNull(next)) {
            return false;
        }
        const std::int32_t own = column(i);
        return column(next) == own;
    };
    MeasureMarks(
        *this, *FParentChart, *FMarks, FFirstVisible, FLastVisible,
        [this](std::int32_t i, const std::string& text, TSeriesMarkPosition& position) {
            // Centred on the point, with the box's bottom row on the point's row.
            const TPoint point{PointPixelX(i), PointPixelY(i)};
            position.ArrowFrom = point;
            position.ArrowTo = point;
            position.LeftTop = {Low32(std::int64_t{point.X} - position.Width / 2),
                                Low32(std::int64_t{point.Y} - position.Height + 1)};
            DrawPointMark(i, text, position);
        },
        hidden);
}

void TChartSeries::LargestMarkBox(std::int32_t& width, std::int32_t& height, bool measureWidth) {
    width = 0;
    height = 0;
    if (FParentChart == nullptr) {
        return;
    }
    if (measureWidth) {
        MeasureMarks(*this, *FParentChart, *FMarks, 0, PointCount() - 1,
                     [&](std::int32_t, const std::string&, const TSeriesMarkPosition& position) {
                         width = std::max(width, position.Width);
                         height = std::max(height, position.Height);
                     },
                     [](std::int32_t) { return false; });
        return;
    }
    // Laying out a text costs far more than making it: a million marks of bars are measured
    // in a fraction of the time when only their lines are counted.
    const TMarkBoxMeasure measure(*FParentChart, *FMarks);
    ForEachMarkText(*this, 0, PointCount() - 1, [](std::int32_t) { return false; },
                    [&](std::int32_t, const std::string& text) {
                        height = std::max(height, measure.Height(text));
                    });
}

void TChartSeries::DrawPointMark(std::int32_t index, std::string_view text,
                                 TSeriesMarkPosition& position) {
    if (FParentChart == nullptr) {
        return;
    }
    FMarks->UsePosition(index, position);
    FMarks->DrawItem(FParentChart->Canvas(), PointColor(index), text, position, FMiddleDepth);
}

// --- Legend --------------------------------------------------------------------------------

std::string TChartSeries::LegendEntryText(std::int32_t index, TLegendTextStyle style) {
    const std::string label = PointLabel(index);
    // The parts are joined by one blank; an empty label leaves no blank behind.
    const auto join = [](const std::string& first, const std::string& second) {
        if (first.empty() || second.empty()) {
            return first + second;
        }
        return first + ' ' + second;
    };
    switch (style) {
    case ltsPlain:
        return label.empty() ? ValueText(MarkValue(index)) : label;
    case ltsLeftValue:
        return join(ValueText(MarkValue(index)), label);
    case ltsRightValue:
        return join(label, ValueText(MarkValue(index)));
    case ltsLeftPercent:
        return join(PercentText(index), label);
    case ltsRightPercent:
        return join(label, PercentText(index));
    case ltsXValue:
        return XValueText(index);
    }
    return label;
}

void TChartSeries::PrepareLegendColors(std::int32_t index) {
    if (FParentChart == nullptr) {
        return;
    }
    TChartCanvas3D& canvas = FParentChart->Canvas();
    // An entry for the whole series (index -1) shows the series colour.
    canvas.Brush().ClearImage();
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(index < 0 ? FSeriesColor : LegendColorOf(index));
    const TChartPen outline;
    canvas.ApplyChartPen(outline);
}

void TChartSeries::DrawLegendSymbol(const TRect& rect) {
    if (FParentChart != nullptr) {
        FParentChart->Canvas().DrawRectangle(rect);
    }
}

void TChartSeries::PaintLegendItem(std::int32_t index, const TRect& rect) {
    PrepareLegendColors(index);
    DrawLegendSymbol(rect);
}

// --- Sample values and depth order ---------------------------------------------------------

namespace {

struct TDataRange {
    double Minimum = 0;
    double Maximum = 0;
};

// The range of the chart's points along X or Y. Without a chart, without points or when the
// points span no finite width, the fallback: sample points must spread out.
TDataRange ChartDataRange(const TCustomAxisPanel* chart, bool horizontal, TDataRange fallback) {
    if (chart == nullptr) {
        return fallback;
    }
    bool found = false;
    TDataRange range;
    for (const TChartSeries* series : chart->SeriesList()) {
        if (series->PointCount() < 1) {
            continue;
        }
        const double low = horizontal ? series->SeriesMinX() : series->SeriesMinY();
        const double high = horizontal ? series->SeriesMaxX() : series->SeriesMaxY();
        range.Minimum = found ? std::min(range.Minimum, low) : low;
        range.Maximum = found ? std::max(range.Maximum, high) : high;
        found = true;
    }
    const double width = range.Maximum - range.Minimum;
    if (!found || !std::isfinite(width) || !(width > 0)) {
        return fallback;
    }
    return range;
}

// Switches a chart's repaint requests off for a bulk change and restores them afterwards,
// also when the change ends in an exception.
class TRepaintSuspension {
public:
    explicit TRepaintSuspension(TCustomAxisPanel* chart)
        : FChart(chart), FWasEnabled(chart != nullptr && chart->RepaintEnabled()) {
        if (FChart != nullptr) {
            FChart->SetRepaintEnabled(false);
        }
    }
    ~TRepaintSuspension() {
        if (FChart != nullptr) {
            FChart->SetRepaintEnabled(FWasEnabled);
        }
    }
    TRepaintSuspension(const TRepaintSuspension&) = delete;
    TRepaintSuspension& operator=(const TRepaintSuspension&) = delete;

private:
    TCustomAxisPanel* FChart;
    bool FWasEnabled;
};

} // namespace

void TChartSeries::FillWithSamples(std::int32_t count) {
    if (count <= 0) {
        throw ChartException(std::string(ChartStrings::FillSampleCount));
    }
    ClearPoints();
    // The points step evenly along the dimension that orders them (X, unless X holds the
    // values) and walk along the other.
    const bool yMandatory = YIsMandatory();
    const TDataRange positions = ChartDataRange(FParentChart, yMandatory, {0.0, count - 1.0});
    const TDataRange values = ChartDataRange(FParentChart, !yMandatory, {0.0, 1000.0});
    const long double stride =
        count > 1 ? (static_cast<long double>(positions.Maximum) - positions.Minimum) / (count - 1)
                  : 0.0L;
    const long double range = static_cast<long double>(values.Maximum) - values.Minimum;
    // The walk moves by a random integer step below a quarter of the range, about zero.
    const long double quarter =
        std::min<long double>(range / 4, std::numeric_limits<std::int32_t>::max());
    const std::int64_t steps = std::max<std::int64_t>(0, RoundHalfEven(quarter));
    std::uniform_real_distribution<double> start(0.0, 1.0);
    long double walk = values.Minimum + start(FSampleRandom) * range;
    {
        const TRepaintSuspension suspension(FParentChart);
        for (std::int32_t i = 0; i < count; ++i) {
            const double position = StoreAsDouble(positions.Minimum + i * stride);
            const double value = StoreAsDouble(walk);
            AddPoint(yMandatory ? position : value, yMandatory ? value : position);
            std::int64_t step = 0;
            if (steps > 0) {
                step = std::uniform_int_distribution<std::int64_t>(0, steps - 1)(FSampleRandom);
            }
            walk = std::fabs(walk + step - steps / 2);
        }
    }
    NotifyLinkedSeries(TSeriesChange::Refresh, -1);
    // The requests of the additions went nowhere.
    if (FActive) {
        RequestRepaint();
    }
}

void TChartSeries::AssignZOrder() {
    if (FParentChart == nullptr) {
        return;
    }
    if (FZOrder != -1) {
        FParentChart->SetHighestZOrder(std::max(FParentChart->HighestZOrder(), FZOrder));
        return;
    }
    for (const TChartSeries* other : FParentChart->SeriesList()) {
        if (other == this) {
            break;
        }
        if (other->Active() && SharesZOrder(*other)) {
            FAutoZOrder = other->FZOrder == -1 ? other->FAutoZOrder : other->FZOrder;
            return;
        }
    }
    FParentChart->SetHighestZOrder(FParentChart->HighestZOrder() + 1);
    FAutoZOrder = FParentChart->HighestZOrder();
}

// --- Properties ----------------------------------------------------------------------------

void TChartSeries::SetActive(bool value) {
    if (FActive != value) {
        FActive = value;
        RequestRepaint();
    }
}

void TChartSeries::SetSeriesColor(TColor value) {
    if (FSeriesColor != value) {
        FSeriesColor = value;
        RequestRepaint();
    }
}

void TChartSeries::SetColorEachPoint(bool value) {
    if (FColorEachPoint == value) {
        return;
    }
    FColorEachPoint = value;
    if (!value) {
        FColorList.fill(clDefault);
    }
    RequestRepaint();
}

void TChartSeries::SetColorSource(std::string value) {
    if (FColorSource != value) {
        FColorSource = std::move(value);
        CheckDataSource();
    }
}

void TChartSeries::SetXLabelsSource(std::string value) {
    if (FXLabelsSource != value) {
        FXLabelsSource = std::move(value);
        CheckDataSource();
    }
}

void TChartSeries::SetHorizAxis(THorizAxis value) {
    if (FHorizAxis != value) {
        FHorizAxis = value;
        ResolveAxes();
        RequestRepaint();
    }
}

void TChartSeries::SetVertAxis(TVertAxis value) {
    if (FVertAxis != value) {
        FVertAxis = value;
        ResolveAxes();
        RequestRepaint();
    }
}

void TChartSeries::SetPercentFormat(std::string value) {
    if (FPercentFormat != value) {
        FPercentFormat = std::move(value);
        RequestRepaint();
    }
}

void TChartSeries::SetValueFormat(std::string value) {
    if (FValueFormat != value) {
        FValueFormat = std::move(value);
        RequestRepaint();
    }
}

void TChartSeries::SetShowInLegend(bool value) {
    if (FShowInLegend != value) {
        FShowInLegend = value;
        RequestRepaint();
    }
}

void TChartSeries::SetDark3D(bool value) {
    if (FDark3D != value) {
        FDark3D = value;
        RequestRepaint();
    }
}

void TChartSeries::SetTitle(std::string value) {
    if (FTitle != value) {
        FTitle = std::move(value);
        RequestRepaint();
    }
}

std::string TChartSeries::TitleOrName(std::int32_t number) const {
    if (!FTitle.empty()) {
        return FTitle;
    }
    if (!FName.empty()) {
        return FName;
    }
    return std::string(ChartStrings::SeriesTitlePrefix) + std::to_string(number);
}

} // namespace Korvatel
