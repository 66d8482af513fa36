#include "AxisTickMarks.h"

#include "AxisSide.h"
#include "Rounding.h"

namespace {

// The minor offset j x gap / (count + 1), rounded half to even.
std::int64_t MinorOffset(double spacing, std::int32_t j) {
    return RoundHalfEven(static_cast<long double>(spacing) * j);
}

} // namespace

void LinearMinorTickPositions(std::span<const std::int32_t> ticks, std::int32_t count,
                              const TPixelSink& sink) {
    const std::size_t n = ticks.size();
    if (count < 1) {
        return;
    }
    if (n > 1) {
        // Beyond the ends the axis has no further tick, so the first gap stands for both.
        const double spacing =
            static_cast<double>(std::int64_t{ticks[1]} - ticks[0]) / (std::int64_t{count} + 1);
        for (std::int32_t j = 1; j <= count; ++j) {
            const std::int64_t offset = MinorOffset(spacing, j);
            sink(SaturatedPixel(ticks[0] - offset));
            sink(SaturatedPixel(ticks[n - 1] + offset));
        }
    }
    for (std::size_t i = 1; i < n; ++i) {
        const double spacing =
            static_cast<double>(std::int64_t{ticks[i]} - ticks[i - 1]) / (std::int64_t{count} + 1);
        for (std::int32_t j = 1; j <= count; ++j) {
            sink(SaturatedPixel(ticks[i] - MinorOffset(spacing, j)));
        }
    }
}

void LogarithmicMinorTickPositions(std::span<const std::int32_t> ticks, std::int32_t count,
                                   const TAxisMapping& mapping, double logarithmicBase,
                                   const TPixelSink& sink) {
    if (count < 1) {
        return;
    }
    for (std::size_t i = 1; i < ticks.size(); ++i) {
        double value = mapping.PixelToValue(ticks[i - 1]);
        const double step = (logarithmicBase * value - value) / (std::int64_t{count} + 1);
        for (std::int32_t j = 1; j <= count; ++j) {
            value = value + step;
            if (value > mapping.Maximum()) {
                break;
            }
            sink(mapping.ValueToPixel(value));
        }
    }
}

std::int32_t CenteredGridPosition(std::int32_t previous, std::int32_t current) {
    return SaturatedPixel(RoundHalfEven((static_cast<long double>(previous) + current) * 0.5L));
}
