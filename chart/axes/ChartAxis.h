// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/core/Export.h>
#include <korvatel/axes/AxisLabelSpacing.h>
#include <korvatel/axes/AxisLabelValues.h>
#include <korvatel/axes/AxisMapping.h>
#include <korvatel/axes/AxisSide.h>
#include <korvatel/axes/ChartAxisTitle.h>
#include <korvatel/canvas/ChartFont.h>
#include <korvatel/canvas/ChartPen.h>
#include <korvatel/core/ChartTypes.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace Korvatel {

class TCustomAxisPanel;

// What the labels of an axis show: decided from the series (talAuto), nothing, values at
// regular steps, the mark texts or the text labels of the series' points.
enum TAxisLabelStyle : std::uint8_t { talAuto, talNone, talValue, talMark, talText };

// One axis of a chart. It turns series values into pixel positions along one side of the
// chart rectangle and back, and draws its line, ticks, grid and labels.
//
// On creation an axis adds itself to its chart's axis list, and the chart destroys every axis
// in that list when it is destroyed: create extra axes with new and leave them to the chart
// (or to its FreeAxis). The destructors are not public, so an axis can be neither deleted
// behind the chart's back nor placed where the chart could not delete it.
//
// The range properties may be fixed by the user or taken from the series; every layout of
// the chart turns them into the effective range and the pixel extent, in this order:
// ComputeRange, ComputePixelExtent, ApplySeriesMargins. The mappings between two layouts (for
// the mouse) use the values of the last one.
class KORVATEL_EXPORT TCustomChartAxis {
public:
    TCustomChartAxis(TCustomAxisPanel* chart, bool horizontal, bool oppositeSide, bool depth);
    TCustomChartAxis(const TCustomChartAxis&) = delete;
    TCustomChartAxis& operator=(const TCustomChartAxis&) = delete;

    // Takes every property of another axis.
    virtual void CopyAxisSettings(const TCustomChartAxis& source);

    TCustomAxisPanel* ParentChart() const { return FParentChart; }

    // --- Range properties ----------------------------------------------------------------

    bool Automatic() const { return FAutomatic; }
    // Outside loading, also sets AutomaticMinimum and AutomaticMaximum to the value.
    void SetAutomatic(bool value);
    bool AutomaticMinimum() const { return FAutomaticMinimum; }
    // Automatic then follows: it is True only while both automatic limits are.
    void SetAutomaticMinimum(bool value);
    bool AutomaticMaximum() const { return FAutomaticMaximum; }
    void SetAutomaticMaximum(bool value);
    // The limits; an automatic limit is rewritten by every layout.
    double Minimum() const { return FMinimum; }
    // Refused (AxisException) above Maximum, except while the chart is loading.
    void SetMinimum(double value);
    double Maximum() const { return FMaximum; }
    // Refused (AxisException) below Minimum, except while the chart is loading.
    void SetMaximum(double value);
    bool Logarithmic() const { return FLogarithmic; }
    // True is refused (AxisException) for a date-time axis and for an axis whose range,
    // computed first, reaches below 0.
    void SetLogarithmic(bool value);
    // The base of the logarithmic label ladder; the mapping does not depend on it.
    std::int32_t LogarithmicBase() const { return FLogarithmicBase; }
    // Values below 2 are refused (AxisException).
    void SetLogarithmicBase(std::int32_t value);
    // The axis runs from its maximum to its minimum.
    bool Inverted() const { return FInverted; }
    void SetInverted(bool value);
    // Where the axis begins and ends, in percent of the chart rectangle's width (horizontal)
    // or height (vertical).
    double StartPosition() const { return FStartPosition; }
    void SetStartPosition(double value);
    double EndPosition() const { return FEndPosition; }
    void SetEndPosition(double value);
    // The axis takes part in layout and drawing.
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);

    // --- Runtime state -------------------------------------------------------------------

    bool IsHorizontal() const { return FIsHorizontal; }
    // The axis lies on the far side of the chart rectangle (top or right).
    bool OppositeSide() const { return FOppositeSide; }
    bool IsDepth() const { return FIsDepth; }
    // Whether the labels show date-times; set by the layout before labels are computed.
    bool DateTimeMode() const { return FDateTimeMode; }
    void SetDateTimeMode(bool value) { FDateTimeMode = value; }
    // True when the first active series associated with the axis holds date-time values in
    // the axis's dimension (X for a horizontal axis, Y otherwise).
    bool IsDateTimeAxis() const;

    double EffectiveMinimum() const { return FMapping.Minimum(); }
    double EffectiveMaximum() const { return FMapping.Maximum(); }
    double EffectiveRange() const { return FMapping.Range(); }
    // Replaces the effective range for the rest of the current repaint (label producers
    // that cannot work with the range as it is). The stored limits stay.
    void SetEffectiveRange(double minimum, double maximum);
    std::int32_t StartPixel() const { return FMapping.StartPixel(); }
    std::int32_t EndPixel() const { return FMapping.EndPixel(); }
    std::int32_t PixelLength() const { return FMapping.PixelLength(); }
    std::int32_t CenterPixel() const { return FMapping.CenterPixel(); }

    // --- Label properties ------------------------------------------------------------------

    // The smallest step between labels; 0 chooses it. Below 0 (or not a number) is refused
    // (AxisException).
    double Increment() const { return FIncrement; }
    void SetIncrement(double value);
    // Extra room between labels, in percent of the label size; 0 turns the search for a step
    // that fits off. Below 0 is refused (AxisException).
    std::int32_t LabelsSeparation() const { return FLabelsSeparation; }
    void SetLabelsSeparation(std::int32_t value);
    // Start the labels on a multiple of the step.
    bool RoundFirstLabel() const { return FRoundFirstLabel; }
    void SetRoundFirstLabel(bool value);
    // Draw the label texts.
    bool Labels() const { return FLabels; }
    void SetLabels(bool value);
    // Degrees counter-clockwise, 0 to 359; other values are refused (ChartException).
    std::int32_t LabelsAngle() const { return FLabelsAngle; }
    void SetLabelsAngle(std::int32_t value);
    TChartFont& LabelsFont() { return FLabelsFont; }
    const TChartFont& LabelsFont() const { return FLabelsFont; }
    void SetLabelsFont(const TChartFont& value) { FLabelsFont.Assign(value); }
    // Break label texts into lines at every blank.
    bool LabelsMultiLine() const { return FLabelsMultiLine; }
    void SetLabelsMultiLine(bool value);
    // Also draw the labels that fall exactly on the ends of the axis.
    bool LabelsOnAxis() const { return FLabelsOnAxis; }
    void SetLabelsOnAxis(bool value);
    TAxisLabelStyle LabelStyle() const { return FLabelStyle; }
    // Paints the chart at once when the style changes.
    void SetLabelStyle(TAxisLabelStyle value);
    // The number format of value labels.
    const std::string& AxisValuesFormat() const { return FAxisValuesFormat; }
    void SetAxisValuesFormat(const std::string& value);
    // The format of date-time labels; empty chooses the short date or time format.
    const std::string& DateTimeFormat() const { return FDateTimeFormat; }
    void SetDateTimeFormat(const std::string& value);
    // Calendar-exact steps (whole months, years) for date-time labels.
    bool ExactDateTime() const { return FExactDateTime; }
    void SetExactDateTime(bool value);
    // Lengths and fixed rooms in pixels reach at most LargestRoom (lengths either way).
    static constexpr std::int32_t LargestRoom = 10000;
    // Fixed room for the labels across the axis, 0 to LargestRoom; 0 measures them.
    std::int32_t LabelsSize() const { return FLabelsSize; }
    void SetLabelsSize(std::int32_t value);

    // --- Drawing properties ----------------------------------------------------------------

    // The pen of the axis line.
    TChartPen& Axis() { return FAxisPen; }
    const TChartPen& Axis() const { return FAxisPen; }
    void SetAxis(const TChartPen& value) { FAxisPen.Assign(value); }
    // Ticks outside the chart rectangle, and their length (-LargestRoom to LargestRoom).
    TChartPen& Ticks() { return FTicks; }
    const TChartPen& Ticks() const { return FTicks; }
    void SetTicks(const TChartPen& value) { FTicks.Assign(value); }
    std::int32_t TickLength() const { return FTickLength; }
    void SetTickLength(std::int32_t value);
    // Ticks inside the chart rectangle, and their length (-LargestRoom to LargestRoom).
    TChartPen& TicksInner() { return FTicksInner; }
    const TChartPen& TicksInner() const { return FTicksInner; }
    void SetTicksInner(const TChartPen& value) { FTicksInner.Assign(value); }
    std::int32_t TickInnerLength() const { return FTickInnerLength; }
    void SetTickInnerLength(std::int32_t value);
    // Minor ticks, their length (-LargestRoom to LargestRoom) and how many stand between two
    // neighbouring ticks.
    TChartPen& MinorTicks() { return FMinorTicks; }
    const TChartPen& MinorTicks() const { return FMinorTicks; }
    void SetMinorTicks(const TChartPen& value) { FMinorTicks.Assign(value); }
    std::int32_t MinorTickLength() const { return FMinorTickLength; }
    void SetMinorTickLength(std::int32_t value);
    std::int32_t MinorTickCount() const { return FMinorTickCount; }
    void SetMinorTickCount(std::int32_t value);
    // Grid lines across the chart rectangle at the ticks, and at the minor ticks.
    TChartPen& Grid() { return FGrid; }
    const TChartPen& Grid() const { return FGrid; }
    void SetGrid(const TChartPen& value) { FGrid.Assign(value); }
    TChartPen& MinorGrid() { return FMinorGrid; }
    const TChartPen& MinorGrid() const { return FMinorGrid; }
    void SetMinorGrid(const TChartPen& value) { FMinorGrid.Assign(value); }
    // Grid lines halfway between ticks instead of at them.
    bool GridCentered() const { return FGridCentered; }
    void SetGridCentered(bool value);
    // Ticks only where a label text is drawn; otherwise at every label position considered.
    bool TickOnLabelsOnly() const { return FTickOnLabelsOnly; }
    void SetTickOnLabelsOnly(bool value);
    TChartAxisTitle& Title() { return FTitle; }
    const TChartAxisTitle& Title() const { return FTitle; }
    void SetTitle(const TChartAxisTitle& value) { FTitle.Assign(value); }
    // Fixed room for the title across the axis, 0 to LargestRoom; 0 measures it.
    std::int32_t TitleSize() const { return FTitleSize; }
    void SetTitleSize(std::int32_t value);
    // Moves the axis line, labels and title into the chart rectangle by this percent of its
    // extent across the axis.
    double PositionPercent() const { return FPositionPercent; }
    void SetPositionPercent(double value);

    // --- Layout --------------------------------------------------------------------------

    // Takes the automatic limits from the series (no check, no repaint) and makes the stored
    // limits the effective range.
    void ComputeRange();
    // The pixel extent from the chart rectangle and StartPosition/EndPosition.
    void ComputePixelExtent();
    // Widens the effective range so that the series keep the given pixel margins inside the
    // extent: a horizontal axis reads Left and Right, a vertical one Top and Bottom.
    void ApplySeriesMargins(const TRect& margins);
    // Reserves the room of the title, the labels and the ticks on the axis's side of a copy
    // of the chart rectangle, and shrinks it (from the outside in: title, labels, ticks);
    // standard is set for the chart's own axes. Any other axis leaves rect alone and stands
    // on its edge. Sets LabelsPos and TitlePos.
    void ReserveSpace(TRect& rect, bool standard);
    // The room of the three bands outside the chart rectangle. The label and title bands
    // select their fonts on the canvas to measure.
    std::int32_t TickZoneSize() const;
    std::int32_t LabelsZoneSize();
    std::int32_t TitleZoneSize();

    // --- Labels ----------------------------------------------------------------------------

    // The step between value labels for the current range and pixel length, with the
    // canvas's current font measuring the labels at both ends of the range. Where the labels
    // at that step would overlap (a text in between is wider than those at the ends), the
    // step climbs further until they keep clear of each other by LabelsSeparation.
    double ComputeLabelStep();
    // The text of the label of a value: formatted, passed to the chart's OnGetAxisLabel, and
    // broken into lines when LabelsMultiLine is on.
    std::string AxisLabelText(double value) const;
    // LabelStyle, with talAuto decided from the series of the axis.
    TAxisLabelStyle EffectiveLabelStyle() const;
    // The room across the axis that the widest label needs, in the canvas's current font.
    std::int32_t WidestLabelWidth();

    // --- Drawing ---------------------------------------------------------------------------

    // Draws the title, the labels, the axis line, the ticks and the grid; with placeLine the
    // line position is taken from the final chart rectangle first.
    void PaintAxis(bool placeLine);
    // Draws one label at a pixel along the axis (recording its tick when ticks go with label
    // texts only).
    void PlaceLabel(std::int32_t pixel, std::string_view text);
    // Draws a text of one or more lines around a reference point, aligned by the axis's side
    // and the angle (see LayOutLabelText).
    void DrawLabelText(std::int32_t x, std::int32_t y, std::string_view text, std::int32_t angle);
    // Whether a point of the chart lies on the axis: along the axis between its ends, across
    // it on the tick and label band up to the label line, plus 3 pixels inside the line.
    bool ClickedAt(std::int32_t x, std::int32_t y) const;

    // Where the axis line, the label line and the title line stand across the axis, as of
    // the last layout and drawing.
    std::int32_t AxisLinePos() const { return FAxisLinePos; }
    std::int32_t LabelsPos() const { return FLabelsPos; }
    std::int32_t TitlePos() const { return FTitlePos; }
    // The pixels along the axis where the last drawing put its ticks, in recording order.
    const std::vector<std::int32_t>& TickPositions() const { return FTickPositions; }
    // The side of the chart rectangle the axis stands on.
    TAxisSide Side() const { return AxisSideOf(FIsHorizontal, FOppositeSide, FIsDepth); }

    // --- Mapping -------------------------------------------------------------------------

    // The mapping of the last layout step; cheap to copy.
    const TAxisMapping& Mapping() const { return FMapping; }
    std::int32_t XValueToPixel(double value) const { return FMapping.XValueToPixel(value); }
    std::int32_t YValueToPixel(double value) const { return FMapping.YValueToPixel(value); }
    std::int32_t ValueToPixel(double value) const { return FMapping.ValueToPixel(value); }
    double PixelToValue(std::int32_t pixel) const { return FMapping.PixelToValue(pixel); }

    // --- Range operations (zoom and scroll) ----------------------------------------------

    // Sets both limits at once, in either order, and makes the axis fully non-automatic.
    // A range narrower than 1e-10 is widened upwards to that.
    void AssignRange(double minimum, double maximum);
    // Moves both limits by the offset and repaints at once. With checkLimits the shift is
    // skipped when the offset is 0 or the series' data end within the range on that side.
    void ShiftRange(double offset, bool checkLimits);

protected:
    // Leaves the chart's axis list and the series that used the axis.
    virtual ~TCustomChartAxis();

    // Asks the chart for a repaint.
    void Changed() const;

private:
    friend class TCustomAxisPanel;

    template <typename T>
    void SetProperty(T& field, T value) {
        if (field != value) {
            field = value;
            Changed();
        }
    }
    // The scale, orientation and depth that the mapping follows.
    void UpdateMappingMode();
    double DataLimit(bool wantMinimum) const;
    // The chart is being read from the stored layout.
    bool Loading() const;

    // Labels.
    std::string LabelText(double value, bool withEvent) const;
    std::int32_t LabelSizeOf(double value);
    // The step raised (SeparatedLabelStep) where the value labels it gives would overlap.
    double SeparateOverlappingLabels(double step);
    // The pixels and sizes of the value labels a step would give, into FPlacedLabels.
    void PlaceValueLabels(double step);
    // Whether a label at the pixel is drawn at all (LabelsOnAxis).
    bool LabelConsidered(std::int32_t pixel) const;
    std::int32_t WidestSeriesLabelWidth(bool markTexts);
    void ProduceLabels(double step);
    // What the value label producers need of the axis for a step.
    TValueLabelInputs ValueLabelInputs(double step) const;
    void ProduceSeriesLabels(bool markTexts);
    void ProduceDepthLabels();
    void AddValueLabel(double value);
    // The rule every producer follows at a label's pixel: considered on the axis or strictly
    // inside it; a tick for every considered position unless ticks go with texts only; the
    // text (made only then) drawn when labels are on and admit allows it.
    template <typename MakeText, typename Admit>
    void ConsiderLabel(std::int32_t pixel, MakeText&& makeText, Admit&& admit);

    // Drawing.
    std::int32_t WallSize() const;
    void PrepareTextDrawing(TChartFont& font);
    void DrawTitle();
    void DrawAxisLine();
    void DrawTick(std::int32_t pixel, std::int32_t direction, std::int32_t length);
    void DrawTicks(const TChartPen& pen, std::int32_t direction, std::int32_t length);
    void DrawGridLine(std::int32_t pixel);
    // In 3D a grid line lies on the walls: on the back wall, continued forward across the
    // left wall (lines of a vertical axis) or the floor (lines of a horizontal axis); the
    // depth axis's lines run across the floor.
    void DrawGridLine3D(std::int32_t pixel);
    void DrawGrid();
    void DrawMinorMarks(const TChartPen& pen, bool asGrid);

    TCustomAxisPanel* FParentChart;
    bool FIsHorizontal;
    bool FOppositeSide;
    bool FIsDepth;
    bool FDateTimeMode = false;

    bool FAutomatic = true;
    bool FAutomaticMaximum = true;
    bool FAutomaticMinimum = true;
    double FMaximum = 0;
    double FMinimum = 0;
    bool FLogarithmic = false;
    std::int32_t FLogarithmicBase = 10;
    bool FInverted = false;
    double FStartPosition = 0;
    double FEndPosition = 100;
    bool FVisible;

    double FIncrement = 0;
    std::int32_t FLabelsSeparation = 10;
    bool FRoundFirstLabel = true;
    bool FLabels = true;
    std::int32_t FLabelsAngle = 0;
    TChartFont FLabelsFont;
    bool FLabelsMultiLine = false;
    bool FLabelsOnAxis = true;
    TAxisLabelStyle FLabelStyle = talAuto;
    std::string FAxisValuesFormat;
    std::string FDateTimeFormat;
    bool FExactDateTime = true;
    std::int32_t FLabelsSize = 0;

    TChartAxisPen FAxisPen;
    TDarkGrayPen FTicks;
    std::int32_t FTickLength = 4;
    TDarkGrayPen FTicksInner;
    std::int32_t FTickInnerLength = 0;
    TDarkGrayPen FMinorTicks;
    std::int32_t FMinorTickLength = 2;
    std::int32_t FMinorTickCount = 3;
    TDottedGrayPen FGrid;
    TChartHiddenPen FMinorGrid;
    bool FGridCentered = false;
    bool FTickOnLabelsOnly = true;
    TChartAxisTitle FTitle;
    std::int32_t FTitleSize = 0;
    double FPositionPercent = 0;

    TAxisMapping FMapping;

    std::int32_t FAxisLinePos = 0;
    std::int32_t FLabelsPos = 0;
    std::int32_t FTitlePos = 0;
    // Kept from one drawing to the next so that its room is reused; there is no limit on
    // its length, since every position considered gets its tick.
    std::vector<std::int32_t> FTickPositions;
    // The labels a step is tried with, kept so that their room is reused.
    std::vector<TPlacedLabel> FPlacedLabels;
};

// The four side axes; also the class of axes created by the user.
class KORVATEL_EXPORT TChartAxis : public TCustomChartAxis {
public:
    using TCustomChartAxis::TCustomChartAxis;

protected:
    ~TChartAxis() override = default;
};

// The depth axis of a three-dimensional chart; hidden by default.
class KORVATEL_EXPORT TChartDepthAxis : public TCustomChartAxis {
public:
    explicit TChartDepthAxis(TCustomAxisPanel* chart);

protected:
    ~TChartDepthAxis() override = default;
};

} // namespace Korvatel
