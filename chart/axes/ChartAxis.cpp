// SPDX-License-Identifier: MIT
// The axis in two files: this one holds construction and copying, the range, label and
// drawing properties, the runtime state, the layout and its reserved room, and the range
// operations; ChartAxisDrawing.cpp the labels (step, texts, style, widest label, the
// producers), the drawing (PaintAxis and its steps) and the hit test.

#include <korvatel/axes/ChartAxis.h>

#include <korvatel/axes/AxisLabelLayout.h>
#include <korvatel/axes/AxisLabelSpacing.h>
#include <korvatel/axes/AxisLabelStep.h>
#include <korvatel/axes/AxisLabelText.h>
#include <korvatel/axes/AxisLabelValues.h>
#include <korvatel/render/AxisPanel.h>
#include <korvatel/axes/AxisTickMarks.h>
#include <korvatel/canvas/ChartCanvas3D.h>
#include <korvatel/core/ChartErrors.h>
#include <korvatel/data/ChartSeries.h>
#include <korvatel/core/ChartStrings.h>
#include <korvatel/axes/DateTimeSteps.h>
#include <korvatel/axes/NumberFormat.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

namespace Korvatel {

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
    CheckPropertyRange("Axis LabelsSize", value, 0, TCustomChartAxis::LargestRoom);
    SetProperty(FLabelsSize, value);
}

void TCustomChartAxis::SetTickLength(std::int32_t value) {
    CheckPropertyRange("Axis TickLength", value, -TCustomChartAxis::LargestRoom, TCustomChartAxis::LargestRoom);
    SetProperty(FTickLength, value);
}

void TCustomChartAxis::SetTickInnerLength(std::int32_t value) {
    CheckPropertyRange("Axis TickInnerLength", value, -TCustomChartAxis::LargestRoom, TCustomChartAxis::LargestRoom);
    SetProperty(FTickInnerLength, value);
}

void TCustomChartAxis::SetMinorTickLength(std::int32_t value) {
    CheckPropertyRange("Axis MinorTickLength", value, -TCustomChartAxis::LargestRoom, TCustomChartAxis::LargestRoom);
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
    CheckPropertyRange("Axis TitleSize", value, 0, TCustomChartAxis::LargestRoom);
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

} // namespace Korvatel
