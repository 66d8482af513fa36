// SPDX-License-Identifier: MIT
#include <korvatel/axes/AxisTickMarks.h>

#include <korvatel/axes/AxisSide.h>
#include <korvatel/core/Rounding.h>

#include <cmath>

namespace Korvatel {

namespace {

// The minor offset j x gap / (count + 1), rounded half to even.
std::int64_t MinorOffset(double spacing, std::int32_t j) {
    return RoundHalfEven(static_cast<long double>(spacing) * j);
}

// Above this many minor ticks in a gap, each distinct position is produced once. The
// positions of a count that large lie closer than a pixel apart, so the repeats would only
// draw the same pixels again; without this a count near the integer limit would draw
// billions of ticks and never finish the frame.
constexpr std::int32_t MaxRepeatedMinorCount = 4096;

// Calls offsetSink with nearest(j x spacing) for j = 1 to count.
template <typename TOffsetSink>
void ForEachMinorOffset(double spacing, std::int32_t count, TOffsetSink offsetSink) {
    if (count <= MaxRepeatedMinorCount || std::fabs(spacing) >= 1) {
        for (std::int32_t j = 1; j <= count; ++j) {
            offsetSink(MinorOffset(spacing, j));
        }
        return;
    }
    // Steps below a pixel reach every whole pixel between the first and the last offset,
    // in order.
    const std::int64_t first = MinorOffset(spacing, 1);
    const std::int64_t last = MinorOffset(spacing, count);
    const std::int64_t direction = last >= first ? 1 : -1;
    for (std::int64_t offset = first;; offset += direction) {
        offsetSink(offset);
        if (offset == last) {
            break;
        }
    }
}

// The logarithmic steps of a huge count, each pixel once: from each produced position the
// next one is found by bisection over the step number, where the pixel changes or the value
// passes the maximum. Both are monotonic in the step number, as the mapping is monotonic.
void DistinctLogarithmicPositions(double start, double step, std::int32_t count,
                                  const TAxisMapping& mapping, const TPixelSink& sink) {
    const auto valueAt = [&](std::int64_t j) {
        return static_cast<double>(start + static_cast<long double>(step) * j);
    };
    std::int64_t j = 1;
    while (j <= count && !(valueAt(j) > mapping.Maximum())) {
        const std::int32_t pixel = mapping.ValueToPixel(valueAt(j));
        sink(pixel);
        std::int64_t low = j; // still this pixel
        std::int64_t high = std::int64_t{count} + 1;
        while (high - low > 1) {
            const std::int64_t middle = low + (high - low) / 2;
            const double value = valueAt(middle);
            if (value > mapping.Maximum() || mapping.ValueToPixel(value) != pixel) {
                high = middle;
            } else {
                low = middle;
            }
        }
        j = high;
    }
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
        ForEachMinorOffset(spacing, count, [&](std::int64_t offset) {
            sink(SaturatedPixel(ticks[0] - offset));
            sink(SaturatedPixel(ticks[n - 1] + offset));
        });
    }
    for (std::size_t i = 1; i < n; ++i) {
        const double spacing =
            static_cast<double>(std::int64_t{ticks[i]} - ticks[i - 1]) / (std::int64_t{count} + 1);
        ForEachMinorOffset(spacing, count,
                           [&](std::int64_t offset) { sink(SaturatedPixel(ticks[i] - offset)); });
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
        if (count > MaxRepeatedMinorCount) {
            DistinctLogarithmicPositions(value, step, count, mapping, sink);
            continue;
        }
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

} // namespace Korvatel
