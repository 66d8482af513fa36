// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/core/Export.h>
#include <korvatel/axes/AxisLabelSpacing.h>

#include <cstdint>
#include <functional>
#include <span>

namespace Korvatel {

// The step between the value labels of an axis, as pure functions of the axis's numbers.
//
// The axis measures its labels and knows its pixel length and effective range; everything
// below works on those numbers alone, so that the step choice can be tested without a chart.
// An axis member of the same name must call these with the global qualifier
// (::ComputeLabelStep), because a member hides a free function of the same name.

// The smallest step ever used between labels.
inline constexpr double MinLabelStep = 1e-12;
// One second, in days: the smallest step of a date-time axis.
inline constexpr double OneSecond = 1.0 / 86400.0;

// The next rung of the 1-2-5 ladder above x: ..., 0.1, 0.2, 0.5, 1, 2, 5, 10, 20, ...
// A value between rungs goes to the next rung above it (3 to 5, 10 to 20, 70 to 100). Every
// intermediate product is stored as a double, so results carry the rounding of the
// repeated multiplications by 10 and 0.1: the rung above 0.05 is 0.10000000000000001, and
// 1e-12, which twelve multiplications by 10 leave just below 1, climbs only to
// 1.0000000000000006e-12.
// A value that is not positive gives MinLabelStep; infinity stays infinity.
double NextRoundStep(double x);

// The step above a label step: the next rung of the ladder, or for a date-time axis the next
// entry of the date-time step table (one year below one second), and beyond a year twice
// the step.
double NextLabelStep(double step, bool dateTime);

// The number of labels that fit along pixelLength when each label needs labelSize pixels
// plus labelsSeparation percent of it; 1 when the label size is not positive. The result
// may be 0 or negative for short or reversed axes.
std::int32_t MaxLabelCount(std::int32_t labelSize, std::int32_t labelsSeparation,
                           std::int32_t pixelLength);

// What the step choice of one axis depends on.
struct KORVATEL_EXPORT TLabelStepInputs {
    std::int32_t PixelLength = 0;
    // The larger of the label sizes along the axis for the effective minimum and maximum.
    std::int32_t LabelSize = 0;
    double Increment = 0.0;
    std::int32_t LabelsSeparation = 10;
    double EffectiveRange = 0.0;
    bool DateTime = false;
};

// The step between value labels. A date-time axis uses DateTimeLabelStep; any other axis
// starts at Increment (or at 1, or at MinLabelStep for a range below 1) and, unless
// LabelsSeparation is 0, climbs the ladder until the labels fit. The result is at least
// MinLabelStep. A range that is not finite makes the step climb to infinity, which the
// label producers refuse, so such an axis gets no labels instead of hanging the repaint.
double ComputeLabelStep(const TLabelStepInputs& inputs);

// The labels that a step would give along an axis, in the order they are produced.
using TPlaceLabels = std::function<std::span<const TPlacedLabel>(double step)>;

// The step measured on the texts at the ends of the range may be too small for wider texts
// in between (0.01 to 0.49 between 0 and 0.5). Labels that do not overlap keep the step;
// overlapping ones climb the steps (NextLabelStep) until they keep clear of each other by
// labelsSeparation, which is what the measure at the ends meant to give them.
double SeparatedLabelStep(double step, bool dateTime, std::int32_t labelsSeparation,
                          const TPlaceLabels& place);

// The step of a date-time axis for at most maxLabels labels (maxLabels >= 1): Increment
// (at least one second), then the next entries of the date-time step table, and beyond a
// year doubling, until the labels fit. The result is at least one second.
double DateTimeLabelStep(double increment, double effectiveRange, std::int32_t maxLabels);

// Quotients closer than this (relative) below a whole number count as that number.
inline constexpr double StepQuotientSlack = 1e-9;

// The value truncated toward zero to a multiple of the step: trunc(value / step) x step, the
// quotient formed in extended precision. A quotient within StepQuotientSlack of a whole
// number counts as that number: it carries the rounding of both operands (0.5 divided by the
// ladder's 0.1 is 4.99999999999999972 in extended precision), and plain truncation would turn
// the multiple 0.5 into 0.4. The result may then lie above the value by rounding alone.
double TruncToStep(double value, double step);

// The two values whose label texts decide how wide the labels of an axis are: the limits
// themselves, or with roundToStep both truncated toward zero to a multiple of the step.
struct KORVATEL_EXPORT TLabelBounds {
    double Low = 0.0;
    double High = 0.0;
};
TLabelBounds LabelMeasureBounds(double effectiveMinimum, double effectiveMaximum, double step,
                                bool roundToStep);

} // namespace Korvatel
