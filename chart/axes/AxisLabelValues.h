// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/core/Export.h>
#include <korvatel/axes/DateTimeSteps.h>

#include <cstdint>
#include <functional>

namespace Korvatel {

// The values that get a value label on an axis, produced one at a time.
//
// Each producer hands every label value to a sink supplied by the caller (the axis places
// the label there), so producing labels allocates nothing per label. The producers only
// read the numbers they are given; the one change they can ask of the axis, a replaced
// logarithmic minimum, is returned to the caller.

using TLabelValueSink = std::function<void(double value)>;

// The chart's OnGetNextAxisLabel without its sender: it may set labelValue to the next
// label and must set stop to false to keep going.
using TNextAxisLabel = std::function<void(std::int32_t labelIndex, double& labelValue, bool& stop)>;

// More steps than this across the range suppress the linear labels altogether.
inline constexpr double MaxLinearLabelSteps = 10000.0;
// The last LabelIndex the custom producer asks for.
inline constexpr std::int32_t MaxCustomLabelIndex = 2000;

struct KORVATEL_EXPORT TLinearLabelInputs {
    double EffectiveMinimum = 0.0;
    double EffectiveMaximum = 0.0;
    double Step = 0.0;
    bool RoundFirstLabel = true;
    // From CalendarStepIndex: NoCalendarStep except on date-time axes with ExactDateTime on.
    std::int32_t CalendarIndex = NoCalendarStep;
};

// Labels from the top of the range down: the first one at the maximum (rounded down to a
// multiple of the step by TruncToStep or, on exact date-time axes, to a date), then one step
// (or calendar move) lower each time, down to the bound (minimum - 1e-12) / 1.000000000001. That
// bound lies just above a negative minimum, so a negative minimum itself gets no label, and just
// below a positive or zero one, which is labelled.
//
// Nothing is produced when the range holds 10000 steps or more, or when the step is not a
// positive finite number. An empty range (minimum = maximum) gets one label. The labels also
// end where a move would no longer lower the value (a step below the precision of the
// values) or would leave the calendar.
void ProduceLinearLabels(const TLinearLabelInputs& inputs, const TLabelValueSink& sink);

struct KORVATEL_EXPORT TLogarithmicLabels {
    // The minimum the axis uses for the rest of the repaint; it differs from the one given
    // only when MinimumReplaced is set.
    double EffectiveMinimum = 0.0;
    bool MinimumReplaced = false;
};

// Told the minimum that replaces one of 0 or below, before the first label is produced, so
// that the labels already map with it.
using TMinimumSink = std::function<void(double effectiveMinimum)>;

// Labels at the powers of the base from the one nearest the minimum upwards, each within
// the range. A minimum of 0 is replaced by 0.1 and a negative one by 1e-10, and the labels
// start there; the caller must use the replaced minimum for everything it still draws in
// this repaint. Nothing is produced, and nothing replaced, for an empty range (minimum =
// maximum) or a base that is not above 1.
TLogarithmicLabels ProduceLogarithmicLabels(double effectiveMinimum, double effectiveMaximum,
                                            double logarithmicBase, const TLabelValueSink& sink,
                                            const TMinimumSink& replaceMinimum = {});

// How the custom producer ended.
enum TCustomLabelsEnd : std::uint8_t {
    // The handler left Stop set on its first call: the ordinary producer must run instead.
    cleFallBack,
    // The handler set Stop on a later call.
    cleStopped,
    // The handler gave a value outside the range (with 1e-7 of tolerance), or not a number.
    cleOutOfRange,
    // LabelIndex passed MaxCustomLabelIndex.
    cleLimitReached,
};

// Asks the handler for label values, LabelIndex 0, 1, 2, ..., starting with LabelValue at
// the minimum and Stop set once before the first call.
TCustomLabelsEnd ProduceCustomLabels(double effectiveMinimum, double effectiveMaximum,
                                     const TNextAxisLabel& nextLabel, const TLabelValueSink& sink);

// Whether an axis produces labels at all, whatever their style: the step is positive or the
// calendar index is a calendar step, and the maximum is not below the minimum.
bool LabelsAreProduced(double step, std::int32_t calendarIndex, double effectiveMinimum,
                       double effectiveMaximum);

struct KORVATEL_EXPORT TValueLabelInputs {
    double EffectiveMinimum = 0.0;
    double EffectiveMaximum = 0.0;
    double Step = 0.0;
    bool RoundFirstLabel = true;
    std::int32_t CalendarIndex = NoCalendarStep;
    double Increment = 0.0;
    bool Logarithmic = false;
    double LogarithmicBase = 10.0;
};

// Whether the value labels come from the linear producer, whose labels follow the step: not
// on a logarithmic axis without Increment, nor when a handler supplies them (unless it falls
// back).
bool StepSpacedValueLabels(const TValueLabelInputs& inputs, bool customHandler);

// The value labels of an axis (label style talValue), once LabelsAreProduced: the custom
// producer when a handler is given (falling back as it asks), else the logarithmic producer
// for a logarithmic axis without Increment, else the linear producer.
void ProduceValueLabels(const TValueLabelInputs& inputs, const TNextAxisLabel& onGetNextAxisLabel,
                        const TMinimumSink& replaceMinimum, const TLabelValueSink& sink);

} // namespace Korvatel
