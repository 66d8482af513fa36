// The axis in sections: construction and copying; range properties; label and drawing
// properties; runtime state; layout (range, extent, margins, reserved room); labels (step,
// texts, style, widest label, the producers); drawing (PaintAxis and its steps); hit test;
// range operations.
#include "ChartAxis.h"

#include "AxisLabelLayout.h"
#include "AxisLabelSpacing.h"
#include "AxisLabelStep.h"
#include "AxisLabelText.h"
#include "AxisLabelValues.h"
#include "AxisPanel.h"
#include "AxisTickMarks.h"
#include "ChartCanvas3D.h"
#include "ChartErrors.h"
#include "ChartSeries.h"
#include "ChartStrings.h"
#include "DateTimeSteps.h"
#include "NumberFormat.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

namespace {

// A left axis's title reads upwards along it, a right axis's downwards.
std::int32_t DefaultTitleAngle(bool horizontal, bool oppositeSide, bool depth) {
    if (horizontal || depth) {
        return 0;
    }
    return oppositeSide ? 270 : 90;
}

// A text runs along the axis: horizontally on a horizontal axis, turned by a quarter on a
// vertical one. Its room across the axis is then one text row.
bool TextRunsAlongAxis(bool horizontal, std::int32_t angle) {
    return horizontal ? (angle == 0 || angle == 180) : (angle == 90 || angle == 270);
}

// The mark text of a point for the labels of a mark-text axis: the point's label, or its
// mandatory value in the series' value format, passed through the series' OnGetMarkText.
std::string SeriesMarkText(TChartSeries& series, std::int32_t index) {
    std::string text = series.PointLabel(index);
    if (text.empty()) {
        const TFormatSettings& settings = ProcessFormatSettings();
        text = FormatNumber(series.MandatoryValues().ValueAt(index), series.ValueFormat(),
                            settings.ThousandSeparator, settings.DecimalSeparator);
    }
    if (series.OnGetMarkText) {
        series.OnGetMarkText(&series, index, text);
    }
    return text;
}

// Resets a flag when the scope ends, also when a label event throws.
class TFlagScope {
public:
    explicit TFlagScope(bool& flag) : FFlag(flag) { FFlag = true; }
    ~TFlagScope() { FFlag = false; }
    TFlagScope(const TFlagScope&) = delete;
    TFlagScope& operator=(const TFlagScope&) = delete;

private:
    bool& FFlag;
};

} // namespace

// --- Construction and copying --------------------------------------------------------------

TCustomChartAxis::TCustomChartAxis(TCustomAxisPanel* chart, bool horizontal, bool oppositeSide,
                                   bool depth)
    : FParentChart(chart), FIsHorizontal(horizontal), FOppositeSide(oppositeSide), FIsDepth(depth),
      FVisible(!depth), FLabelsFont([this] { Changed(); }),
      FAxisValuesFormat(ChartStrings::DefaultValueFormat), FAxisPen([this] { Changed(); }),
      FTicks([this] { Changed(); }), FTicksInner([this] { Changed(); }),
      FMinorTicks([this] { Changed(); }), FGrid([this] { Changed(); }),
      FMinorGrid([this] { Changed(); }),
      FTitle(DefaultTitleAngle(horizontal, oppositeSide, depth), [this] { Changed(); }) {
    UpdateMappingMode();
    if (FParentChart != nullptr) {
        FParentChart->RegisterAxis(this);
    }
}

TCustomChartAxis::~TCustomChartAxis() {
    if (FParentChart != nullptr) {
        FParentChart->ForgetAxis(this);
    }
}

void TCustomChartAxis::CopyAxisSettings(const TCustomChartAxis& source) {
    // Copied as stored, without the checks and couplings of the setters: the source already
    // holds a consistent set.
    FAutomatic = source.FAutomatic;
    FAutomaticMaximum = source.FAutomaticMaximum;
    FAutomaticMinimum = source.FAutomaticMinimum;
    FMaximum = source.FMaximum;
    FMinimum = source.FMinimum;
    FLogarithmic = source.FLogarithmic;
    FLogarithmicBase = source.FLogarithmicBase;
    FInverted = source.FInverted;
    FStartPosition = source.FStartPosition;
    FEndPosition = source.FEndPosition;
    FVisible = source.FVisible;

    FIncrement = source.FIncrement;
    FLabelsSeparation = source.FLabelsSeparation;
    FRoundFirstLabel = source.FRoundFirstLabel;
    FLabels = source.FLabels;
    FLabelsAngle = source.FLabelsAngle;
    FLabelsFont.Assign(source.FLabelsFont);
    FLabelsMultiLine = source.FLabelsMultiLine;
    FLabelsOnAxis = source.FLabelsOnAxis;
    FLabelStyle = source.FLabelStyle;
    FAxisValuesFormat = source.FAxisValuesFormat;
    FDateTimeFormat = source.FDateTimeFormat;
    FExactDateTime = source.FExactDateTime;
    FLabelsSize = source.FLabelsSize;

    FAxisPen.Assign(source.FAxisPen);
    FTicks.Assign(source.FTicks);
    FTickLength = source.FTickLength;
    FTicksInner.Assign(source.FTicksInner);
    FTickInnerLength = source.FTickInnerLength;
    FMinorTicks.Assign(source.FMinorTicks);
    FMinorTickLength = source.FMinorTickLength;
    FMinorTickCount = source.FMinorTickCount;
    FGrid.Assign(source.FGrid);
    FMinorGrid.Assign(source.FMinorGrid);
    FGridCentered = source.FGridCentered;
    FTickOnLabelsOnly = source.FTickOnLabelsOnly;
    FTitle.Assign(source.FTitle);
    FTitleSize = source.FTitleSize;
    FPositionPercent = source.FPositionPercent;
    UpdateMappingMode();
    Changed();
}

void TCustomChartAxis::Changed() const {
    if (FParentChart != nullptr) {
        FParentChart->RequestRepaint();
    }
}

bool TCustomChartAxis::Loading() const {
    return FParentChart != nullptr && FParentChart->Loading();
}

void TCustomChartAxis::UpdateMappingMode() {
    FMapping.SetScale(FIsDepth       ? TAxisScale::Depth
                      : FLogarithmic ? TAxisScale::Logarithmic
                                     : TAxisScale::Linear);
    FMapping.SetHorizontal(FIsHorizontal);
    FMapping.SetInverted(FInverted);
    FMapping.SetDepth(FParentChart != nullptr ? FParentChart->Depth3D() : 0);
}

// --- Range properties ----------------------------------------------------------------------

void TCustomChartAxis::SetAutomatic(bool value) {
    SetProperty(FAutomatic, value);
    // A stored layout carries all three flags, so the coupling would only disturb reading it.
    if (!Loading()) {
        SetAutomaticMinimum(value);
        SetAutomaticMaximum(value);
    }
}

void TCustomChartAxis::SetAutomaticMinimum(bool value) {
    SetProperty(FAutomaticMinimum, value);
    // Stored directly: going through SetAutomatic would clear the other flag as well.
    if (!value || FAutomaticMaximum) {
        SetProperty(FAutomatic, value);
    }
}

void TCustomChartAxis::SetAutomaticMaximum(bool value) {
    SetProperty(FAutomaticMaximum, value);
    if (!value || FAutomaticMinimum) {
        SetProperty(FAutomatic, value);
    }
}

void TCustomChartAxis::SetMinimum(double value) {
    // The stored layout may deliver the limits in either order.
    if (!Loading() && value > FMaximum) {
        throw AxisException(std::string(ChartStrings::AxisMinMax));
    }
    SetProperty(FMinimum, value);
}

void TCustomChartAxis::SetMaximum(double value) {
    if (!Loading() && value < FMinimum) {
        throw AxisException(std::string(ChartStrings::AxisMaxMin));
    }
    SetProperty(FMaximum, value);
}

void TCustomChartAxis::SetLogarithmic(bool value) {
    if (value) {
        if (IsDateTimeAxis()) {
            throw AxisException(std::string(ChartStrings::AxisLogDateTime));
        }
        // The check needs the range the axis would show now, automatic limits included.
        ComputeRange();
        if (!(EffectiveMinimum() >= 0 && EffectiveMaximum() >= 0)) {
            throw AxisException(std::string(ChartStrings::AxisLogNotPositive));
        }
    }
    SetProperty(FLogarithmic, value);
    UpdateMappingMode();
}

void TCustomChartAxis::SetLogarithmicBase(std::int32_t value) {
    if (value < 2) {
        throw AxisException(std::string(ChartStrings::AxisLogBase));
    }
    SetProperty(FLogarithmicBase, value);
}

void TCustomChartAxis::SetInverted(bool value) {
    SetProperty(FInverted, value);
    UpdateMappingMode();
}

void TCustomChartAxis::SetStartPosition(double value) {
    SetProperty(FStartPosition, value);
}

void TCustomChartAxis::SetEndPosition(double value) {
    SetProperty(FEndPosition, value);
}

void TCustomChartAxis::SetVisible(bool value) {
    SetProperty(FVisible, value);
}

// --- Label and drawing properties ----------------------------------------------------------

void TCustomChartAxis::SetIncrement(double value) {
    // Written so that a value that is not a number is refused as well.
    if (!(value >= 0)) {
        throw AxisException(std::string(ChartStrings::AxisIncrement));
    }
    SetProperty(FIncrement, value);
}

void TCustomChartAxis::SetLabelsSeparation(std::int32_t value) {
    if (value < 0) {
        throw AxisException(std::string(ChartStrings::AxisLabelSep));
    }
    SetProperty(FLabelsSeparation, value);
}

void TCustomChartAxis::SetRoundFirstLabel(bool value) {
    SetProperty(FRoundFirstLabel, value);
}

void TCustomChartAxis::SetLabels(bool value) {
    SetProperty(FLabels, value);
}

void TCustomChartAxis::SetLabelsAngle(std::int32_t value) {
    if (value < 0 || value > 359) {
        throw ChartException(
            FormatMessage(ChartStrings::AngleRange, {ChartStrings::AxisLabelsName}));
    }
    SetProperty(FLabelsAngle, value);
}

void TCustomChartAxis::SetLabelsMultiLine(bool value) {
    SetProperty(FLabelsMultiLine, value);
}

void TCustomChartAxis::SetLabelsOnAxis(bool value) {
    SetProperty(FLabelsOnAxis, value);
}

void TCustomChartAxis::SetLabelStyle(TAxisLabelStyle value) {
    if (FLabelStyle != value) {
        FLabelStyle = value;
        // Another style changes the room the labels take, so the chart is laid out now.
        if (FParentChart != nullptr) {
            FParentChart->RepaintImmediately();
        }
    }
}

void TCustomChartAxis::SetAxisValuesFormat(const std::string& value) {
    SetProperty(FAxisValuesFormat, value);
}

void TCustomChartAxis::SetDateTimeFormat(const std::string& value) {
    SetProperty(FDateTimeFormat, value);
}

void TCustomChartAxis::SetExactDateTime(bool value) {
    SetProperty(FExactDateTime, value);
}

void TCustomChartAxis::SetLabelsSize(std::int32_t value) {
    SetProperty(FLabelsSize, value);
}

void TCustomChartAxis::SetTickLength(std::int32_t value) {
    SetProperty(FTickLength, value);
}

void TCustomChartAxis::SetTickInnerLength(std::int32_t value) {
    SetProperty(FTickInnerLength, value);
}

void TCustomChartAxis::SetMinorTickLength(std::int32_t value) {
    SetProperty(FMinorTickLength, value);
}

void TCustomChartAxis::SetMinorTickCount(std::int32_t value) {
    SetProperty(FMinorTickCount, value);
}

void TCustomChartAxis::SetGridCentered(bool value) {
    SetProperty(FGridCentered, value);
}

void TCustomChartAxis::SetTickOnLabelsOnly(bool value) {
    SetProperty(FTickOnLabelsOnly, value);
}

void TCustomChartAxis::SetTitleSize(std::int32_t value) {
    SetProperty(FTitleSize, value);
}

void TCustomChartAxis::SetPositionPercent(double value) {
    SetProperty(FPositionPercent, value);
}

// --- Runtime state -------------------------------------------------------------------------

bool TCustomChartAxis::IsDateTimeAxis() const {
    if (FParentChart == nullptr) {
        return false;
    }
    for (const TChartSeries* series : FParentChart->SeriesList()) {
        if (series->Active() && series->IsAssociatedWith(*this)) {
            return FIsHorizontal ? series->XValues().DateTime() : series->YValues().DateTime();
        }
    }
    return false;
}

void TCustomChartAxis::SetEffectiveRange(double minimum, double maximum) {
    FMapping.SetRange(minimum, maximum);
}

std::int32_t TCustomChartAxis::WallSize() const {
    return FParentChart != nullptr ? FParentChart->AxisWallSize(*this) : 0;
}

// --- Layout --------------------------------------------------------------------------------

double TCustomChartAxis::DataLimit(bool wantMinimum) const {
    return FParentChart != nullptr ? FParentChart->AxisDataLimit(*this, wantMinimum, FIsHorizontal)
                                   : 0.0;
}

void TCustomChartAxis::ComputeRange() {
    // Written directly: an automatic limit is no user input to check or to repaint for.
    if (FAutomatic || FAutomaticMaximum) {
        FMaximum = DataLimit(false);
    }
    if (FAutomatic || FAutomaticMinimum) {
        FMinimum = DataLimit(true);
    }
    UpdateMappingMode();
    FMapping.SetRange(FMinimum, FMaximum);
}

void TCustomChartAxis::ComputePixelExtent() {
    TRect plot;
    if (FParentChart != nullptr) {
        plot = FParentChart->PlotRect();
    }
    const std::int32_t origin = FIsHorizontal ? plot.Left : plot.Top;
    const long double size = FIsHorizontal ? plot.Width() : plot.Height();
    const auto at = [&](double percent) {
        return Low32(std::int64_t{origin} + RoundHalfEvenLow32(size * 0.01L * percent));
    };
    UpdateMappingMode();
    FMapping.SetExtent(at(FStartPosition), at(FEndPosition));
}

void TCustomChartAxis::ApplySeriesMargins(const TRect& margins) {
    const std::int32_t start = StartPixel();
    const std::int32_t end = EndPixel();
    const std::int32_t first = FIsHorizontal ? margins.Left : margins.Top;
    const std::int32_t second = FIsHorizontal ? margins.Right : margins.Bottom;
    // The values at the full extent's ends, read off the extent narrowed by the margins.
    TAxisMapping narrowed = FMapping;
    narrowed.SetExtent(Low32(std::int64_t{start} + first), Low32(std::int64_t{end} - second));
    const double a = narrowed.PixelToValue(start);
    const double b = narrowed.PixelToValue(end);
    ComputePixelExtent();
    FMapping.SetRange(a < b ? a : b, a < b ? b : a);
}

// --- Reserved room -------------------------------------------------------------------------

std::int32_t TCustomChartAxis::TickZoneSize() const {
    std::int64_t size = FAxisPen.Visible() ? FAxisPen.Width() : 0;
    if (FTicks.Visible()) {
        size += FTickLength;
    }
    // Minor ticks stand beside the ticks, so only the longer of the two counts.
    if (FMinorTicks.Visible()) {
        size = std::max<std::int64_t>(size, FMinorTickLength);
    }
    return SaturatedPixel(size);
}

std::int32_t TCustomChartAxis::LabelsZoneSize() {
    if (FLabelsSize != 0) {
        return FLabelsSize;
    }
    if (FParentChart == nullptr) {
        return 0;
    }
    FParentChart->SelectFont(FLabelsFont);
    // One text row, also for multi-line labels.
    if (TextRunsAlongAxis(FIsHorizontal, FLabelsAngle)) {
        return FParentChart->Canvas().TextRowHeight();
    }
    return WidestLabelWidth();
}

std::int32_t TCustomChartAxis::TitleZoneSize() {
    if (FTitleSize != 0) {
        return FTitleSize;
    }
    if (FParentChart == nullptr) {
        return 0;
    }
    FParentChart->SelectFont(FTitle.Font());
    if (TextRunsAlongAxis(FIsHorizontal, FTitle.Angle())) {
        return FParentChart->Canvas().TextRowHeight();
    }
    // The widest line: a caption with line breaks is drawn line by line.
    return FParentChart->TextBlockWidth(FTitle.Caption());
}

void TCustomChartAxis::ReserveSpace(TRect& rect, bool standard) {
    FDateTimeMode = IsDateTimeAxis();
    const TAxisSide side = Side();
    if (!standard) {
        // A further axis takes no room; it stands on the edge and draws outward from it.
        FAxisLinePos = ApplyPositionPercent(side, FPositionPercent, SideEdge(side, rect), rect);
        FLabelsPos = MoveOutward(side, FAxisLinePos, TickZoneSize());
        FTitlePos = MoveOutward(side, FLabelsPos, LabelsZoneSize());
        return;
    }
    // The bands are stacked from the outside in: title, labels, ticks. A band that is not
    // there puts its line on the edge where it would have begun, so that the positions always
    // belong to this layout: the hit test reads LabelsPos, and PositionPercent must move each
    // position once, not once more with every repaint.
    if (FIsDepth) {
        FTitlePos = rect.Right;
    } else {
        if (!FTitle.Caption().empty()) {
            ShrinkSide(side, rect, TitleZoneSize());
        }
        FTitlePos = SideEdge(side, rect);
    }
    if (FLabels) {
        ShrinkSide(side, rect, LabelsZoneSize());
    }
    FLabelsPos = SideEdge(side, rect);
    const std::int32_t ticks = SaturatedPixel(std::int64_t{TickZoneSize()} + WallSize());
    if (ticks > 0) {
        ShrinkSide(side, rect, ticks);
    }
    FTitlePos = ApplyPositionPercent(side, FPositionPercent, FTitlePos, rect);
    FLabelsPos = ApplyPositionPercent(side, FPositionPercent, FLabelsPos, rect);
}

// --- Labels --------------------------------------------------------------------------------

std::string TCustomChartAxis::PlainLabelText(double value) const {
    const double range = EffectiveRange();
    if (FDrawing) {
        for (const TLabelTextMemo& memo : FLabelTextMemo) {
            if (memo.Valid && memo.Value == value && memo.Range == range) {
                return memo.Text;
            }
        }
    }
    const TAxisLabelFormat format{FDateTimeMode, FAxisValuesFormat, FDateTimeFormat, range, false};
    std::string text = ValueLabelText(value, format, ProcessFormatSettings());
    // The first texts of a drawing are those of the step's measurement, at the ends of the
    // range; they are the ones the labels ask for again.
    if (FDrawing) {
        for (TLabelTextMemo& memo : FLabelTextMemo) {
            if (!memo.Valid) {
                memo = {value, range, true, text};
                break;
            }
        }
    }
    return text;
}

std::string TCustomChartAxis::LabelText(double value, bool withEvent) const {
    std::string text = PlainLabelText(value);
    if (withEvent && FParentChart != nullptr && FParentChart->OnGetAxisLabel) {
        // The handler receives the axis to change as it likes; asking for a text does not
        // make the axis itself read-only.
        FParentChart->OnGetAxisLabel(const_cast<TCustomChartAxis*>(this), nullptr, -1, text);
    }
    if (FLabelsMultiLine) {
        text = MultiLineLabelText(std::move(text));
    }
    return text;
}

std::string TCustomChartAxis::AxisLabelText(double value) const {
    return LabelText(value, true);
}

std::int32_t TCustomChartAxis::LabelSizeOf(double value) {
    std::int32_t lines = 0;
    const std::int32_t width = FParentChart->TextBlockWidth(LabelText(value, true), &lines);
    return LabelSizeAlongAxis({width, lines}, FParentChart->Canvas().TextRowHeight(), FIsHorizontal,
                              FLabelsAngle);
}

double TCustomChartAxis::ComputeLabelStep() {
    TLabelStepInputs inputs;
    inputs.PixelLength = PixelLength();
    if (FParentChart != nullptr) {
        inputs.LabelSize =
            std::max(LabelSizeOf(EffectiveMinimum()), LabelSizeOf(EffectiveMaximum()));
    }
    inputs.Increment = FIncrement;
    inputs.LabelsSeparation = FLabelsSeparation;
    inputs.EffectiveRange = EffectiveRange();
    inputs.DateTime = FDateTimeMode;
    return ::ComputeLabelStep(inputs);
}

TAxisLabelStyle TCustomChartAxis::EffectiveLabelStyle() const {
    if (FLabelStyle != talAuto) {
        return FLabelStyle;
    }
    if (FParentChart == nullptr) {
        return FIsDepth ? talText : talNone;
    }
    if (FIsDepth) {
        // Values once a series spreads over more than one depth; otherwise the series' names,
        // one per depth slot.
        for (const TChartSeries* series : FParentChart->SeriesList()) {
            if (series->Active() &&
                (series->OwnDepthValues() || series->SeriesMinZ() != series->SeriesMaxZ())) {
                return talValue;
            }
        }
        return talText;
    }
    TAxisLabelStyle style = talNone;
    for (const TChartSeries* series : FParentChart->SeriesList()) {
        if (!series->Active() || !series->IsAssociatedWith(*this)) {
            continue;
        }
        // Point texts label the axis that orders the points.
        const bool textsAlongAxis = FIsHorizontal == series->YIsMandatory();
        const auto& labels = series->LabelList();
        if (textsAlongAxis && !labels.empty() && labels[0] && !labels[0]->empty()) {
            return talText;
        }
        style = talValue;
    }
    return style;
}

std::int32_t TCustomChartAxis::WidestLabelWidth() {
    if (FParentChart == nullptr) {
        return 0;
    }
    switch (EffectiveLabelStyle()) {
    case talValue: {
        TLabelBounds bounds{EffectiveMinimum(), EffectiveMaximum()};
        if ((FDateTimeMode && FExactDateTime) || FRoundFirstLabel) {
            // The labels at the ends stand on multiples of the step, not at the limits.
            bounds = LabelMeasureBounds(EffectiveMinimum(), EffectiveMaximum(), ComputeLabelStep(),
                                        true);
        }
        // Measured without the label event: the room must not depend on what a handler
        // does to the texts at the ends.
        const std::int32_t widest =
            std::max(FParentChart->TextBlockWidth(LabelText(bounds.High, false)),
                     FParentChart->TextBlockWidth(LabelText(bounds.Low, false)));
        return SaturatedPixel(std::int64_t{widest} + FParentChart->Canvas().MeasureTextWidth(" "));
    }
    case talMark:
        return WidestSeriesLabelWidth(true);
    case talText:
        return WidestSeriesLabelWidth(false);
    default:
        return 0;
    }
}

std::int32_t TCustomChartAxis::WidestSeriesLabelWidth(bool markTexts) {
    std::int32_t widest = 0;
    for (TChartSeries* series : FParentChart->SeriesList()) {
        // Mark texts come from the active series; point texts from every series with labels.
        if (markTexts ? !series->Active() : series->LabelList().empty()) {
            continue;
        }
        const std::int32_t count = series->PointCount();
        for (std::int32_t i = 0; i < count; ++i) {
            const std::int32_t width =
                markTexts ? FParentChart->Canvas().MeasureTextWidth(SeriesMarkText(*series, i))
                          : FParentChart->TextBlockWidth(series->PointLabel(i));
            widest = std::max(widest, width);
        }
    }
    return widest;
}

template <typename MakeText, typename Admit>
void TCustomChartAxis::ConsiderLabel(std::int32_t pixel, MakeText&& makeText, Admit&& admit) {
    if (!FLabelsOnAxis && !(StartPixel() < pixel && pixel < EndPixel())) {
        return;
    }
    if (!FTickOnLabelsOnly) {
        FTickPositions.push_back(pixel);
    }
    if (!FLabels) {
        return;
    }
    const std::string text = makeText();
    if (admit(text)) {
        PlaceLabel(pixel, text);
    }
}

void TCustomChartAxis::AddValueLabel(double value) {
    ConsiderLabel(
        ValueToPixel(value), [&] { return LabelText(value, true); },
        [](const std::string&) { return true; });
}

void TCustomChartAxis::ProduceLabels(double step) {
    const std::int32_t calendarIndex =
        CalendarStepIndex(FDateTimeMode, FExactDateTime, FIncrement, step);
    if (!((step > 0 || IsCalendarStep(calendarIndex)) &&
          EffectiveMaximum() >= EffectiveMinimum())) {
        return;
    }
    // Texts of series labels are measured for the overlap test before they are drawn, and
    // the title may have left its own font on the canvas.
    FParentChart->SelectFont(FLabelsFont);
    switch (EffectiveLabelStyle()) {
    case talValue:
        ProduceValueLabels(step, calendarIndex);
        break;
    case talMark:
        ProduceSeriesLabels(true);
        break;
    case talText:
        if (FIsDepth) {
            ProduceDepthLabels();
        } else {
            ProduceSeriesLabels(false);
        }
        break;
    default:
        break;
    }
}

void TCustomChartAxis::ProduceValueLabels(double step, std::int32_t calendarIndex) {
    const TLabelValueSink place = [this](double value) { AddValueLabel(value); };
    if (FParentChart->OnGetNextAxisLabel) {
        const TNextAxisLabel next = [this](std::int32_t index, double& value, bool& stop) {
            FParentChart->OnGetNextAxisLabel(this, index, value, stop);
        };
        if (ProduceCustomLabels(EffectiveMinimum(), EffectiveMaximum(), next, place) !=
            cleFallBack) {
            return;
        }
    }
    if (FLogarithmic && FIncrement == 0) {
        // A minimum of 0 or below has no logarithm; the producer replaces it, and the labels
        // and everything drawn after them in this repaint map with the replaced one. So the
        // values are collected first and placed once the range is settled.
        FLabelValues.clear();
        const double maximum = EffectiveMaximum();
        const TLogarithmicLabels result =
            ProduceLogarithmicLabels(EffectiveMinimum(), maximum, FLogarithmicBase,
                                     [this](double value) { FLabelValues.push_back(value); });
        if (result.MinimumReplaced) {
            SetEffectiveRange(result.EffectiveMinimum, maximum);
        }
        for (const double value : FLabelValues) {
            AddValueLabel(value);
        }
        return;
    }
    ProduceLinearLabels(
        {EffectiveMinimum(), EffectiveMaximum(), step, FRoundFirstLabel, calendarIndex}, place);
}

void TCustomChartAxis::ProduceSeriesLabels(bool markTexts) {
    std::vector<TChartSeries*> labelled;
    for (TChartSeries* series : FParentChart->SeriesList()) {
        if (series->Active() && series->IsAssociatedWith(*this) && !series->LabelList().empty()) {
            labelled.push_back(series);
        }
    }
    std::int32_t first = -1;
    std::int32_t last = -1;
    for (TChartSeries* series : labelled) {
        series->ComputeVisibleRange();
        if (series->FirstVisible() != -1) {
            first = first == -1 ? series->FirstVisible() : std::min(first, series->FirstVisible());
        }
        last = std::max(last, series->LastVisible());
    }
    if (first == -1) {
        return;
    }
    TCanvas3D& canvas = FParentChart->Canvas();
    const bool alongAxis = FIsHorizontal ? !(FLabelsAngle == 90 || FLabelsAngle == 270)
                                         : (FLabelsAngle == 90 || FLabelsAngle == 270);
    TAxisLabelSpacing spacing(FLabelsSeparation);
    for (std::int32_t i = first; i >= 0 && i <= last; ++i) {
        TChartSeries* source = nullptr;
        for (TChartSeries* series : labelled) {
            if (series->LabelList().size() > static_cast<std::size_t>(i) &&
                i < series->PointCount()) {
                source = series;
                break;
            }
        }
        if (source == nullptr) {
            continue;
        }
        std::string text = markTexts ? SeriesMarkText(*source, i) : source->PointLabel(i);
        if (FParentChart->OnGetAxisLabel) {
            FParentChart->OnGetAxisLabel(this, source, i, text);
        }
        const double value = source->DimensionValue(FIsHorizontal, i);
        if (!(EffectiveMinimum() <= value && value <= EffectiveMaximum())) {
            continue;
        }
        const std::int32_t pixel = ValueToPixel(value);
        ConsiderLabel(
            pixel, [&] { return text; },
            [&](const std::string& shown) {
                std::int32_t lines = 0;
                const std::int32_t width = FParentChart->TextBlockWidth(shown, &lines);
                const std::int64_t size =
                    alongAxis ? width : std::int64_t{canvas.TextRowHeight()} * lines;
                return spacing.Admit(pixel, SaturatedPixel(size));
            });
        if (i == last) {
            break; // the index cannot step past the largest one
        }
    }
}

void TCustomChartAxis::ProduceDepthLabels() {
    // One label per depth slot, naming the series shown in the legend in that slot.
    std::vector<const TChartSeries*> named;
    bool anyActive = false;
    for (const TChartSeries* series : FParentChart->SeriesList()) {
        anyActive = anyActive || series->Active();
        if (series->Active() && series->ShowInLegend()) {
            named.push_back(series);
        }
    }
    const double minimum = EffectiveMinimum();
    const double maximum = EffectiveMaximum();
    if (!anyActive || !std::isfinite(minimum) || !std::isfinite(maximum)) {
        return;
    }
    const std::int64_t first = TruncToInt64(minimum);
    const std::int64_t last = TruncToInt64(maximum);
    // As with value labels, more slots than this would only repaint a smear of text.
    if (last - first >= static_cast<std::int64_t>(MaxLinearLabelSteps)) {
        return;
    }
    for (std::int64_t slot = first; slot <= last; ++slot) {
        std::string text;
        if (slot >= 0 && slot < static_cast<std::int64_t>(named.size())) {
            const TChartSeries& series = *named[static_cast<std::size_t>(slot)];
            text = !series.Title().empty() ? series.Title()
                   : !series.Name().empty()
                       ? series.Name()
                       : std::string(ChartStrings::SeriesTitlePrefix) + std::to_string(slot);
        }
        const auto index = static_cast<std::int32_t>(slot);
        if (FParentChart->OnGetAxisLabel) {
            FParentChart->OnGetAxisLabel(this, nullptr, index, text);
        }
        const std::int32_t pixel =
            ValueToPixel(StoreAsDouble(static_cast<long double>(maximum) - slot - 0.5L));
        ConsiderLabel(
            pixel, [&] { return text; }, [](const std::string&) { return true; });
    }
}

// --- Drawing -------------------------------------------------------------------------------

void TCustomChartAxis::PaintAxis(bool placeLine) {
    if (FParentChart == nullptr) {
        return;
    }
    const TFlagScope drawing(FDrawing);
    for (TLabelTextMemo& memo : FLabelTextMemo) {
        memo.Valid = false;
    }
    FDateTimeMode = IsDateTimeAxis();
    FParentChart->SelectFont(FLabelsFont);
    const double step = ComputeLabelStep();
    if (placeLine) {
        const TRect& plot = FParentChart->PlotRect();
        FAxisLinePos = ApplyPositionPercent(Side(), FPositionPercent, SideEdge(Side(), plot), plot);
    }
    if (!FTitle.Caption().empty()) {
        DrawTitle();
    }
    FTickPositions.clear();
    ProduceLabels(step);
    // The lines come after the texts and paint over them where they meet.
    if (FAxisPen.Visible()) {
        DrawAxisLine();
    }
    DrawTicks(FTicks, 1, FTickLength);
    if (FGrid.Visible()) {
        DrawGrid();
    }
    DrawTicks(FTicksInner, -1, SaturatedPixel(-std::int64_t{FTickInnerLength}));
    DrawMinorMarks(FMinorTicks, false);
    DrawMinorMarks(FMinorGrid, true);
}

void TCustomChartAxis::PrepareTextDrawing(TChartFont& font) {
    FParentChart->SelectFont(font);
    TCanvas3D& canvas = FParentChart->Canvas();
    // Texts are written without a box of background behind them.
    canvas.Brush().SetColor(FParentChart->Color());
    canvas.Brush().SetStyle(bsClear);
    canvas.SetTextBackgroundMode(cbmTransparent);
    if (FParentChart->Printing() && canvas.Font().Color() == clWhite) {
        canvas.Font().SetColor(clBlack); // white text would vanish on paper
    }
}

void TCustomChartAxis::PlaceLabel(std::int32_t pixel, std::string_view text) {
    if (FTickOnLabelsOnly) {
        FTickPositions.push_back(pixel);
    }
    if (FParentChart == nullptr) {
        return;
    }
    PrepareTextDrawing(FLabelsFont);
    if (FIsDepth) {
        TCanvas3D& canvas = FParentChart->Canvas();
        canvas.SetTextAlignment(TextAlign::Left | TextAlign::Top);
        canvas.DrawTextAt3D(FLabelsPos, FParentChart->PlotRect().Bottom, pixel, text);
    } else if (FIsHorizontal) {
        DrawLabelText(pixel, FLabelsPos, text, FLabelsAngle);
    } else {
        DrawLabelText(FLabelsPos, pixel, text, FLabelsAngle);
    }
}

void TCustomChartAxis::DrawLabelText(std::int32_t x, std::int32_t y, std::string_view text,
                                     std::int32_t angle) {
    if (FParentChart == nullptr) {
        return;
    }
    TCanvas3D& canvas = FParentChart->Canvas();
    const TAxisSide side = Side();
    const TLabelTextLayout layout =
        LayOutLabelText(side, x, y, angle, canvas.TextRowHeight(), LabelLineCount(text));
    canvas.SetTextAlignment(layout.Alignment);
    // Texts of the far axes stand at the back of the 3D box.
    const std::int32_t z = (side == asTop || side == asRight) ? FParentChart->Depth3D() : 0;
    std::int32_t px = layout.X;
    std::int32_t py = layout.Y;
    ForEachLabelLine(text, [&](std::string_view line) {
        px = SaturatedPixel(std::int64_t{px} + layout.StepX);
        py = SaturatedPixel(std::int64_t{py} + layout.StepY);
        if (layout.Rotated) {
            canvas.DrawRotatedText3D(px, py, z, angle, line);
        } else {
            canvas.DrawTextAt3D(px, py, z, line);
        }
    });
    canvas.SetTextAlignment(TextAlign::Left | TextAlign::Top);
}

void TCustomChartAxis::DrawTitle() {
    PrepareTextDrawing(FTitle.Font());
    const std::string& caption = FTitle.Caption();
    if (FIsDepth) {
        TCanvas3D& canvas = FParentChart->Canvas();
        canvas.SetTextAlignment(TextAlign::Left | TextAlign::Top);
        canvas.DrawTextAt3D(FTitlePos, FParentChart->PlotRect().Bottom,
                            Div(FParentChart->Depth3D(), 2), caption);
    } else if (FIsHorizontal) {
        DrawLabelText(CenterPixel(), FTitlePos, caption, FTitle.Angle());
    } else {
        DrawLabelText(FTitlePos, CenterPixel(), caption, FTitle.Angle());
    }
}

void TCustomChartAxis::DrawAxisLine() {
    TCanvas3D& canvas = FParentChart->Canvas();
    canvas.ApplyChartPen(FAxisPen);
    const std::int64_t wall = WallSize();
    const std::int32_t depth = FParentChart->Depth3D();
    // The near axes reach across the wall of the axis they meet, closing the corner.
    switch (Side()) {
    case asBottom:
        canvas.DrawHorizontalLine3D(
            SaturatedPixel(std::int64_t{StartPixel()} -
                           FParentChart->AxisWallSize(FParentChart->LeftAxis())),
            EndPixel(), SaturatedPixel(FAxisLinePos + wall), 0);
        break;
    case asTop:
        canvas.DrawHorizontalLine3D(StartPixel(), EndPixel(), FAxisLinePos, depth);
        break;
    case asLeft:
        canvas.DrawVerticalLine3D(
            SaturatedPixel(FAxisLinePos - wall), StartPixel(),
            SaturatedPixel(std::int64_t{EndPixel()} +
                           FParentChart->AxisWallSize(FParentChart->BottomAxis())),
            0);
        break;
    case asRight:
        canvas.DrawVerticalLine3D(FAxisLinePos, StartPixel(), EndPixel(), depth);
        break;
    case asDepth:
        break; // the depth axis's line belongs to the 3D drawing of the box
    }
}

void TCustomChartAxis::DrawTick(std::int32_t pixel, std::int32_t direction, std::int32_t length) {
    TCanvas3D& canvas = FParentChart->Canvas();
    const std::int64_t wall = WallSize();
    const std::int64_t line = FAxisLinePos;
    // Every tick starts one pixel off the axis line: outward for outer ticks (direction 1),
    // inward for inner ones (direction -1, with a negative length).
    switch (Side()) {
    case asBottom: {
        const std::int64_t from = line + wall + direction;
        canvas.DrawVerticalLine3D(pixel, SaturatedPixel(from), SaturatedPixel(from + length), 0);
        break;
    }
    case asTop: {
        const std::int64_t from = line - direction;
        canvas.DrawVerticalLine3D(pixel, SaturatedPixel(from), SaturatedPixel(from - length),
                                  FParentChart->Depth3D());
        break;
    }
    case asLeft: {
        const std::int64_t from = line - wall - direction;
        canvas.DrawHorizontalLine3D(SaturatedPixel(from), SaturatedPixel(from - length), pixel, 0);
        break;
    }
    case asRight: {
        const std::int64_t from = line + direction;
        canvas.DrawHorizontalLine3D(SaturatedPixel(from), SaturatedPixel(from + length), pixel,
                                    FParentChart->Depth3D());
        break;
    }
    case asDepth:
        break;
    }
}

void TCustomChartAxis::DrawTicks(const TChartPen& pen, std::int32_t direction,
                                 std::int32_t length) {
    // A tick of no length paints nothing.
    if (!pen.Visible() || length == 0) {
        return;
    }
    FParentChart->Canvas().ApplyChartPen(pen);
    for (const std::int32_t pixel : FTickPositions) {
        DrawTick(pixel, direction, length);
    }
}

void TCustomChartAxis::DrawGridLine(std::int32_t pixel) {
    TCanvas3D& canvas = FParentChart->Canvas();
    const TRect& plot = FParentChart->PlotRect();
    if (FIsHorizontal) {
        canvas.DrawVerticalLine(pixel, plot.Top, plot.Bottom);
    } else {
        canvas.DrawHorizontalLine(plot.Left, plot.Right, pixel);
    }
}

void TCustomChartAxis::DrawGrid() {
    TCanvas3D& canvas = FParentChart->Canvas();
    canvas.Brush().SetStyle(bsClear);
    // The gaps of a dotted grid line show what lies behind them.
    canvas.SetTextBackgroundMode(cbmTransparent);
    canvas.ApplyChartPen(FGrid);
    TChartPen& pen = canvas.Pen();
    if (FParentChart->Printing() && pen.Width() == 1 && pen.Style() != psSolid) {
        pen.SetWidth(0);
    }
    if (pen.Color() == clDefault) {
        pen.SetColor(clGray);
    }
    if (!FGridCentered) {
        for (const std::int32_t pixel : FTickPositions) {
            DrawGridLine(pixel);
        }
    } else {
        for (std::size_t i = 1; i < FTickPositions.size(); ++i) {
            DrawGridLine(CenteredGridPosition(FTickPositions[i - 1], FTickPositions[i]));
        }
    }
    canvas.SetTextBackgroundMode(cbmOpaque);
}

void TCustomChartAxis::DrawMinorMarks(const TChartPen& pen, bool asGrid) {
    if (FTickPositions.empty() || !pen.Visible()) {
        return;
    }
    FParentChart->Canvas().ApplyChartPen(pen);
    const TPixelSink draw = [&](std::int32_t pixel) {
        if (!(StartPixel() < pixel && pixel < EndPixel())) {
            return;
        }
        if (asGrid) {
            DrawGridLine(pixel);
        } else {
            DrawTick(pixel, 1, FMinorTickLength);
        }
    };
    if (FLogarithmic) {
        LogarithmicMinorTickPositions(FTickPositions, FMinorTickCount, FMapping, FLogarithmicBase,
                                      draw);
    } else {
        LinearMinorTickPositions(FTickPositions, FMinorTickCount, draw);
    }
}

// --- Hit test ------------------------------------------------------------------------------

bool TCustomChartAxis::ClickedAt(std::int32_t x, std::int32_t y) const {
    if (FParentChart == nullptr || !FParentChart->AxisIsShown(*this)) {
        return false;
    }
    const std::int32_t start = std::min(StartPixel(), EndPixel());
    const std::int32_t end = std::max(StartPixel(), EndPixel());
    // The tick zone up to the label line, plus 3 pixels on the inner side of the axis line.
    constexpr std::int64_t Inside = 3;
    std::int32_t bandStart = 0;
    std::int32_t bandEnd = 0;
    if (FLabelsPos < FAxisLinePos) {
        bandStart = FLabelsPos;
        bandEnd = SaturatedPixel(FAxisLinePos + Inside);
    } else {
        bandStart = SaturatedPixel(FAxisLinePos - Inside);
        bandEnd = FLabelsPos;
    }
    const TRect band = FIsHorizontal ? TRect{start, bandStart, end, bandEnd}
                                     : TRect{bandStart, start, bandEnd, end};
    return band.Contains(x, y);
}

// --- Range operations ----------------------------------------------------------------------

void TCustomChartAxis::AssignRange(double minimum, double maximum) {
    FAutomatic = false;
    FAutomaticMinimum = false;
    FAutomaticMaximum = false;
    if (minimum > maximum) {
        std::swap(minimum, maximum);
    }
    // A zero range would map every value to the centre; zooming can reach one.
    constexpr double Narrowest = 1e-10;
    if (maximum - minimum < Narrowest) {
        maximum = minimum + Narrowest;
    }
    SetProperty(FMinimum, minimum);
    SetProperty(FMaximum, maximum);
}

void TCustomChartAxis::ShiftRange(double offset, bool checkLimits) {
    if (checkLimits) {
        // The limits before the shift decide, so one shift may still move past the data.
        if (offset == 0 || (offset > 0 && DataLimit(false) <= FMaximum) ||
            (offset < 0 && DataLimit(true) >= FMinimum)) {
            return;
        }
    }
    FAutomatic = false;
    FAutomaticMaximum = false;
    FMaximum += offset;
    FAutomaticMinimum = false;
    FMinimum += offset;
    // Scrolling shows every step, so the chart is painted now, not merely invalidated.
    if (FParentChart != nullptr) {
        FParentChart->RepaintImmediately();
    }
}

TChartDepthAxis::TChartDepthAxis(TCustomAxisPanel* chart)
    : TCustomChartAxis(chart, false, true, true) {}
