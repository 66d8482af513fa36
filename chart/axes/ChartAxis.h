#pragma once

#include "AxisMapping.h"
#include "ChartTypes.h"

#include <cstdint>
#include <string>

class TCustomAxisPanel;

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
class TCustomChartAxis {
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
    // of the chart rectangle, and shrinks it; standard is set for the chart's own axes.
    void ReserveSpace(TRect& rect, bool standard);

    // --- Labels ----------------------------------------------------------------------------

    // The text of the label of a value.
    std::string AxisLabelText(double value) const;

    // --- Drawing ---------------------------------------------------------------------------

    // Draws the title, labels, line, ticks and grid; with placeLine the line position is
    // taken from the final chart rectangle first.
    void PaintAxis(bool placeLine);

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

    TAxisMapping FMapping;
};

// The four side axes; also the class of axes created by the user.
class TChartAxis : public TCustomChartAxis {
public:
    using TCustomChartAxis::TCustomChartAxis;

protected:
    ~TChartAxis() override = default;
};

// The depth axis of a three-dimensional chart; hidden by default.
class TChartDepthAxis : public TCustomChartAxis {
public:
    explicit TChartDepthAxis(TCustomAxisPanel* chart);

protected:
    ~TChartDepthAxis() override = default;
};
