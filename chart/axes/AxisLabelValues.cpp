// SPDX-License-Identifier: MIT
#include <korvatel/axes/AxisLabelValues.h>

#include <korvatel/axes/AxisLabelStep.h>
#include <korvatel/core/Rounding.h>

#include <algorithm>
#include <cmath>
#include <optional>

namespace Korvatel {

namespace {

// Tolerance around the range for the values a custom handler supplies.
constexpr double CustomLabelTolerance = 1e-7;

// One step back from value: a calendar move on calendar steps, else a subtraction. No
// value when the move leaves the calendar or does not lower the value, which would
// otherwise repeat the same label forever.
std::optional<double> StepBack(double value, const TLinearLabelInputs& inputs) {
    std::optional<double> previous;
    if (IsCalendarStep(inputs.CalendarIndex)) {
        previous = CalendarStepBack(value, inputs.CalendarIndex);
    } else {
        previous = value - inputs.Step;
    }
    if (previous && !(*previous < value)) {
        return std::nullopt;
    }
    return previous;
}

std::optional<double> FirstLinearLabel(const TLinearLabelInputs& inputs) {
    const double maximum = inputs.EffectiveMaximum;
    if (inputs.CalendarIndex != NoCalendarStep && inputs.CalendarIndex >= FirstDateStep) {
        return RoundDownFirstDate(maximum, inputs.CalendarIndex);
    }
    if (inputs.EffectiveMinimum == maximum || !inputs.RoundFirstLabel) {
        return maximum;
    }
    const double multiple = TruncToStep(maximum, inputs.Step);
    // A multiple above the maximum by rounding alone is the maximum's own label; moving it
    // back a step would leave the top of the axis without one.
    if (multiple > maximum &&
        multiple - maximum <=
            StepQuotientSlack * inputs.Step * std::max(1.0, std::fabs(maximum / inputs.Step))) {
        return maximum;
    }
    return multiple;
}

} // namespace

void ProduceLinearLabels(const TLinearLabelInputs& inputs, const TLabelValueSink& sink) {
    const double step = inputs.Step;
    if (!(step > 0) || std::isinf(step)) {
        return;
    }
    const double range = inputs.EffectiveMaximum - inputs.EffectiveMinimum;
    // Written so that a range that is not a number also produces nothing.
    if (!(std::fabs(range / step) < MaxLinearLabelSteps)) {
        return;
    }
    std::optional<double> value = FirstLinearLabel(inputs);
    while (value && *value > inputs.EffectiveMaximum) {
        value = StepBack(*value, inputs);
    }
    // The bound is formed in extended precision and then stored, as the minimum is. Its
    // slack grows with the minimum's magnitude: far from zero it would span many steps of a
    // narrow range (4500 below a range one unit wide at 4.5e15), thousands of labels off the
    // axis. So it never reaches further below the minimum than a millionth of the range,
    // which is well under a pixel yet above the rounding of the steps taken to get there.
    const double relativeBound = static_cast<double>(
        (static_cast<long double>(inputs.EffectiveMinimum) - 1e-12L) / 1.000000000001L);
    const double bound = std::max(relativeBound, inputs.EffectiveMinimum - std::fabs(range) * 1e-6);
    while (value && *value >= bound) {
        sink(*value);
        if (inputs.EffectiveMinimum == inputs.EffectiveMaximum) {
            // An empty range has one value. The bound lies a relative 1e-12 below it, so the
            // smallest step would otherwise repeat the same text at the same pixel thousands
            // of times (8798 labels for 8000).
            return;
        }
        value = StepBack(*value, inputs);
    }
}

TLogarithmicLabels ProduceLogarithmicLabels(double effectiveMinimum, double effectiveMaximum,
                                            double logarithmicBase, const TLabelValueSink& sink,
                                            const TMinimumSink& replaceMinimum) {
    TLogarithmicLabels result{effectiveMinimum, false};
    // A base not above 1 would never let the powers grow past the maximum.
    if (effectiveMinimum == effectiveMaximum || !(effectiveMaximum >= effectiveMinimum) ||
        !(logarithmicBase > 1) || std::isinf(logarithmicBase)) {
        return result;
    }
    double value = 0;
    if (effectiveMinimum > 0) {
        const long double exponent = std::log(static_cast<long double>(effectiveMinimum)) /
                                     std::log(static_cast<long double>(logarithmicBase));
        value = static_cast<double>(
            std::pow(static_cast<long double>(logarithmicBase), RoundHalfEven(exponent)));
    } else {
        result.EffectiveMinimum = effectiveMinimum == 0 ? 0.1 : 1e-10;
        result.MinimumReplaced = true;
        value = result.EffectiveMinimum;
        if (replaceMinimum) {
            replaceMinimum(result.EffectiveMinimum);
        }
    }
    // The labels end where the powers overflow, also below an infinite maximum.
    while (value <= effectiveMaximum && std::isfinite(value)) {
        if (value >= result.EffectiveMinimum) {
            sink(value);
        }
        value = value * logarithmicBase;
    }
    return result;
}

TCustomLabelsEnd ProduceCustomLabels(double effectiveMinimum, double effectiveMaximum,
                                     const TNextAxisLabel& nextLabel, const TLabelValueSink& sink) {
    double labelValue = effectiveMinimum;
    bool stop = true;
    for (std::int32_t labelIndex = 0; labelIndex <= MaxCustomLabelIndex; ++labelIndex) {
        nextLabel(labelIndex, labelValue, stop);
        if (stop) {
            return labelIndex == 0 ? cleFallBack : cleStopped;
        }
        if (!(labelValue >= effectiveMinimum - CustomLabelTolerance &&
              labelValue <= effectiveMaximum + CustomLabelTolerance)) {
            return cleOutOfRange;
        }
        sink(labelValue);
    }
    return cleLimitReached;
}

bool LabelsAreProduced(double step, std::int32_t calendarIndex, double effectiveMinimum,
                       double effectiveMaximum) {
    return (step > 0 || IsCalendarStep(calendarIndex)) && effectiveMaximum >= effectiveMinimum;
}

bool StepSpacedValueLabels(const TValueLabelInputs& inputs, bool customHandler) {
    return !customHandler && !(inputs.Logarithmic && inputs.Increment == 0);
}

void ProduceValueLabels(const TValueLabelInputs& inputs, const TNextAxisLabel& onGetNextAxisLabel,
                        const TMinimumSink& replaceMinimum, const TLabelValueSink& sink) {
    if (onGetNextAxisLabel && ProduceCustomLabels(inputs.EffectiveMinimum, inputs.EffectiveMaximum,
                                                  onGetNextAxisLabel, sink) != cleFallBack) {
        return;
    }
    if (!StepSpacedValueLabels(inputs, false)) {
        ProduceLogarithmicLabels(inputs.EffectiveMinimum, inputs.EffectiveMaximum,
                                 inputs.LogarithmicBase, sink, replaceMinimum);
        return;
    }
    ProduceLinearLabels({inputs.EffectiveMinimum, inputs.EffectiveMaximum, inputs.Step,
                         inputs.RoundFirstLabel, inputs.CalendarIndex},
                        sink);
}

} // namespace Korvatel
