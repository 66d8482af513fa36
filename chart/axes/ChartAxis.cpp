#include "ChartAxis.h"

#include "AxisLabelText.h"
#include "AxisPanel.h"
#include "ChartErrors.h"
#include "ChartSeries.h"
#include "ChartStrings.h"

#include <string>
#include <utility>

TCustomChartAxis::TCustomChartAxis(TCustomAxisPanel* chart, bool horizontal, bool oppositeSide,
                                   bool depth)
    : FParentChart(chart), FIsHorizontal(horizontal), FOppositeSide(oppositeSide), FIsDepth(depth),
      FVisible(!depth) {
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

void TCustomChartAxis::ReserveSpace(TRect& /*rect*/, bool /*standard*/) {
    // The bands of the title, the labels and the ticks are measured by the axis drawing.
}

void TCustomChartAxis::PaintAxis(bool /*placeLine*/) {
    // The axis drawing paints title, labels, line, ticks and grid here.
}

std::string TCustomChartAxis::AxisLabelText(double value) const {
    // The label properties of the axis format it; until they exist, the default number format.
    return ValueLabelText(value, TAxisLabelFormat{}, ProcessFormatSettings());
}
