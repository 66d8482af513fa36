// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/core/Export.h>
#include <cstddef>
#include <cstdint>
#include <span>

namespace Korvatel {

// How the area series of one chart share the value axis: each on its own origin, stacked one
// on another, or stacked and scaled so that each point's stack spans 100.
enum TMultiArea : std::uint8_t { maNone, maStacked, maStacked100 };

// Where one layer of a stack lies at one point, in axis values.
struct KORVATEL_EXPORT TStackSpan {
    double Bottom = 0;
    double Top = 0;

    friend bool operator==(const TStackSpan&, const TStackSpan&) = default;
};

// The span of layer `layer` of a stack at one point, given the value of every layer there,
// bottom layer first. A stack stands on 0 and each layer on the sum of the ones below it.
// Stacked to 100 %, every value counts as its share of the absolute sum of all of them, so
// that a stack of positive values reaches 100; a stack whose values are all 0 stays at 0.
// Values that are not finite numbers (and null points, which the caller passes as NaN) take
// no room. Without stacking a layer spans 0 to its value.
TStackSpan StackSpan(TMultiArea mode, std::span<const double> values, std::size_t layer);

} // namespace Korvatel
