// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/core/Export.h>
#include <korvatel/core/ChartTypes.h>

#include <cstdint>

namespace Korvatel {

// How many device pixels one logical pixel spans: 1 on an ordinary screen, 2 on a screen of
// twice the density, 6.25 on a 600-dpi page. The chart lays everything out in logical pixels
// (96 per inch) and a surface of another scale draws the same places at its own resolution.
//
// The scale is an exact fraction with a power-of-two denominator (steps of 1/256, which hold
// every usual screen ratio and printer resolution), so that every device edge follows from
// integer arithmetic and adjacent areas meet without a gap or an overlap:
//
// - A device pixel belongs to the logical area its centre lies in. The logical edge e becomes
//   the device edge ceil(s e - 1/2): the first device pixel whose centre is at or after s e.
// - A logical rectangle thus covers the device pixels from Edge(left) to Edge(right) - 1, and
//   two rectangles that share an edge share the device edge.
class KORVATEL_EXPORT TDeviceScale {
public:
    static constexpr std::int64_t Steps = 256;
    // The largest scale: 64 device pixels to the logical pixel (6144 dpi).
    static constexpr std::int64_t Largest = 64;

    // One to one.
    TDeviceScale() = default;
    // The nearest step to a device pixel ratio; a ratio that is not a positive number gives 1,
    // and ratios are kept between 1/256 and 64.
    static TDeviceScale FromRatio(double ratio);

    // The scale as a reduced fraction.
    std::int64_t Numerator() const { return FNumerator; }
    std::int64_t Denominator() const { return FDenominator; }
    double Value() const { return static_cast<double>(FNumerator) / FDenominator; }
    bool IsOne() const { return FNumerator == FDenominator; }
    bool IsWhole() const { return FDenominator == 1; }

    // The device edge of a logical edge (see above).
    std::int64_t Edge(std::int64_t logical) const;
    // The device pixels whose centres lie inside a logical rectangle; an empty rectangle gives
    // an empty one.
    TRect Inside(const TRect& logical) const;
    // Every device pixel that anything drawn inside a logical rectangle may reach, with one
    // pixel to spare on each side for the rounding of shapes that the painter draws.
    TRect Around(const TRect& logical) const;
    // The logical size of n device pixels, rounded up: the smallest logical extent whose
    // device extent holds them.
    std::int64_t LogicalExtent(std::int64_t device) const;
    // How many device pixels a line one logical pixel wide takes across: the scale rounded to
    // the nearest whole number (halves up), at least 1. A logical pixel itself spans a varying
    // number of device pixels at a fractional scale (at 1.5: one, two, one, two...), and a line
    // that took just its own pixel's share would come out one device pixel thick here and two
    // there; every line takes this one width instead, from the first device pixel of its
    // logical pixel on (see TPixelLine). At a whole scale it is exactly the logical pixel.
    std::int64_t LineWidth() const;

    friend bool operator==(const TDeviceScale&, const TDeviceScale&) = default;

private:
    TDeviceScale(std::int64_t numerator, std::int64_t denominator)
        : FNumerator(numerator), FDenominator(denominator) {}

    std::int64_t FNumerator = 1;
    std::int64_t FDenominator = 1;
};

} // namespace Korvatel
