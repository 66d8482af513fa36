// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/core/Export.h>
#include <korvatel/axes/AxisMapping.h>

#include <cmath>
#include <cstdint>

namespace Korvatel {

// Maps many values of one axis to pixels at once, for series drawing loops. The pixels are
// exactly those of the axis mapping (TAxisMapping::XValueToPixel or YValueToPixel): a linear
// axis first maps in plain double arithmetic, which is several times faster than the
// mapping's extended precision, and hands the rare value whose offset lies too close to a
// rounding boundary (or outside 32 bits, or not a number) to the mapping itself.
class KORVATEL_EXPORT TBatchPixelMapper {
public:
    // column: the pixel columns of a horizontal mapping; otherwise rows. The mapping must
    // stay as it is while the mapper is used.
    TBatchPixelMapper(const TAxisMapping& mapping, bool column);

    std::int32_t Map(double value) const {
        if (FFast) {
            std::int32_t pixel;
            if (TryFastMap(value, pixel)) {
                return pixel;
            }
        }
        return FColumn ? FMapping.XValueToPixel(value) : FMapping.YValueToPixel(value);
    }
    // The same for many values, two at a time in vector registers where the processor has
    // them: a pair that the fast path takes goes out at once, any other pair goes value by
    // value.
    void Map(const double* values, std::int32_t count, std::int32_t* pixels) const;

private:
    // Adding and subtracting 1.5 x 2^52 rounds a double below 2^51 in magnitude to the
    // nearest integer, halves to even, without leaving double arithmetic.
    static constexpr double RoundingMagic = 6755399441055744.0;
    // Offsets from 2^30 on go to the mapping, which knows what to do with them.
    static constexpr double LargestFastOffset = 1073741824.0;
    // The plain double offset differs from the mapping's by a few units in the last place,
    // far less than this; an offset nearer than that to a half is left to the mapping.
    static constexpr double RelativeMargin = 1e-14;
    static constexpr double AbsoluteMargin = 1e-12;

    bool TryFastMap(double value, std::int32_t& pixel) const {
        const double offset = (value - FMinimum) * FScale;
        // Also false for NaN.
        if (!(std::abs(offset) < LargestFastOffset)) {
            return false;
        }
        const double rounded = (offset + RoundingMagic) - RoundingMagic;
        if (!(0.5 - std::abs(offset - rounded) >
              AbsoluteMargin + std::abs(offset) * RelativeMargin)) {
            return false;
        }
        // Below 2^30 in magnitude: the conversion is exact.
        const auto steps = static_cast<std::int64_t>(rounded);
        const std::int64_t result = FFromEnd ? FEnd - steps : FStart + steps;
        if (result != static_cast<std::int32_t>(result)) {
            return false;
        }
        pixel = static_cast<std::int32_t>(result);
        return true;
    }

    const TAxisMapping& FMapping;
    bool FColumn;
    bool FFast = false;
    bool FFromEnd = false;
    double FMinimum = 0;
    double FScale = 0;
    std::int64_t FStart = 0;
    std::int64_t FEnd = 0;
};

} // namespace Korvatel
