// SPDX-License-Identifier: MIT
#include <korvatel/axes/AxisLabelStep.h>

#include <korvatel/axes/DateTimeSteps.h>
#include <korvatel/core/Rounding.h>

#include <algorithm>
#include <cmath>

namespace Korvatel {

namespace {

// Quotients at or beyond this size are too large to count labels with.
constexpr double LargestLabelCount = 2147483647.0;
// Above this many steps across the range, a date-time step starts from range / 1000000.
constexpr double MostDateTimeSteps = 1000000.0;
constexpr double OneYear = 365.0;

} // namespace

double NextRoundStep(double x) {
    if (!(x > 0)) {
        return MinLabelStep;
    }
    if (std::isinf(x)) {
        return x;
    }
    // Bring x into [1, 10) one factor of ten at a time and go back the same way, storing
    // every product as a double, exactly as the recursive definition of the ladder does.
    const double original = x;
    int upward = 0;
    int downward = 0;
    while (x >= 10) {
        x = x * 0.1;
        ++downward;
    }
    while (x < 1) {
        x = x * 10;
        ++upward;
    }
    double rung = x < 2 ? 2.0 : (x < 5 ? 5.0 : 10.0);
    for (; downward > 0; --downward) {
        rung = rung * 10;
    }
    for (; upward > 0; --upward) {
        rung = rung * 0.1;
    }
    // Far below the smallest step, among the subnormal numbers, the products lose so much
    // precision that a rung can come back where it started; the climb must still go up.
    return rung > original ? rung : 2 * original;
}

std::int32_t MaxLabelCount(std::int32_t labelSize, std::int32_t labelsSeparation,
                           std::int32_t pixelLength) {
    if (labelSize <= 0) {
        return 1;
    }
    std::int64_t size = labelSize;
    if (labelsSeparation > 0) {
        size += RoundHalfEven(static_cast<long double>(labelsSeparation) * 0.01L * size);
    }
    // |pixelLength / size| never exceeds the range of a 32-bit pixel length.
    return RoundHalfEvenLow32(static_cast<long double>(pixelLength) / size);
}

double NextLabelStep(double step, bool dateTime) {
    if (!dateTime) {
        return NextRoundStep(step);
    }
    if (step >= OneYear) {
        return 2 * step;
    }
    for (std::int32_t i = LastCalendarStep - 1; i >= 0; --i) {
        if (DateTimeSteps[static_cast<std::size_t>(i)] <= step) {
            return DateTimeSteps[static_cast<std::size_t>(i + 1)];
        }
    }
    return OneYear;
}

double DateTimeLabelStep(double increment, double effectiveRange, std::int32_t maxLabels) {
    double step = std::max(OneSecond, increment);
    if (effectiveRange / step > MostDateTimeSteps) {
        step = effectiveRange / MostDateTimeSteps;
    }
    // Each pass makes the step strictly larger, and a count that cannot be formed (a range
    // that is not a number) ends the search at once.
    std::int64_t count = 0;
    do {
        count = RoundHalfEven(effectiveRange / step);
        if (count > maxLabels) {
            step = NextLabelStep(step, true);
        }
    } while (count > maxLabels);
    return std::max(OneSecond, step);
}

double ComputeLabelStep(const TLabelStepInputs& inputs) {
    const std::int32_t maxLabels =
        MaxLabelCount(inputs.LabelSize, inputs.LabelsSeparation, inputs.PixelLength);
    if (maxLabels < 1) {
        return inputs.DateTime ? OneSecond : MinLabelStep;
    }
    if (inputs.DateTime) {
        return DateTimeLabelStep(inputs.Increment, inputs.EffectiveRange, maxLabels);
    }
    const double range = inputs.EffectiveRange;
    double step = 0;
    if (inputs.Increment > 0) {
        step = inputs.Increment;
    } else {
        step = std::fabs(range) >= 1 ? 1.0 : MinLabelStep;
    }
    if (inputs.LabelsSeparation > 0) {
        // The count starts above the maximum so that the climb always runs once.
        std::int64_t count = static_cast<std::int64_t>(maxLabels) + 1;
        while (count > maxLabels) {
            const double quotient = range / step;
            if (std::fabs(quotient) < LargestLabelCount) {
                count = RoundHalfEven(quotient);
                if (count > maxLabels) {
                    step = NextRoundStep(step);
                }
            } else {
                step = NextRoundStep(step);
            }
            if (std::isinf(step)) {
                break; // a range that is not finite never fits; no labels will be made
            }
        }
    }
    return std::max(step, MinLabelStep);
}

double SeparatedLabelStep(double step, bool dateTime, std::int32_t labelsSeparation,
                          const TPlaceLabels& place) {
    if (!NeighboursOverlap(place(step))) {
        return step;
    }
    // Each step is at least twice the last, so the labels soon thin out to one, which keeps
    // clear of everything; a step that reached infinity gives no labels at all.
    do {
        step = NextLabelStep(step, dateTime);
    } while (!AllKeepClear(place(step), labelsSeparation) && std::isfinite(step));
    return step;
}

double TruncToStep(double value, double step) {
    const long double quotient = static_cast<long double>(value) / step;
    long double whole = std::trunc(quotient);
    const long double nearest = std::round(quotient);
    if (std::fabs(quotient - nearest) <= StepQuotientSlack * std::max(1.0L, std::fabs(quotient))) {
        whole = nearest;
    }
    return static_cast<double>(whole * step);
}

TLabelBounds LabelMeasureBounds(double effectiveMinimum, double effectiveMaximum, double step,
                                bool roundToStep) {
    if (!roundToStep) {
        return {effectiveMinimum, effectiveMaximum};
    }
    return {TruncToStep(effectiveMinimum, step), TruncToStep(effectiveMaximum, step)};
}

} // namespace Korvatel
