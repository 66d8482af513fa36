// SPDX-License-Identifier: MIT
#include <korvatel/axes/AxisRange.h>

#include <korvatel/core/Rounding.h>

#include <cmath>
#include <utility>

namespace Korvatel {

TAxisRange OrderedRange(double a, double b) {
    if (a > b) {
        std::swap(a, b);
    }
    return {a, b};
}

bool IsFiniteRange(const TAxisRange& range) {
    return std::isfinite(range.Minimum) && std::isfinite(range.Maximum);
}

TAxisRange RangeBetweenPixels(const TAxisMapping& mapping, std::int32_t first,
                              std::int32_t second) {
    return OrderedRange(mapping.PixelToValue(first), mapping.PixelToValue(second));
}

TAxisRange AnimatedZoomStep(const TAxisRange& current, const TAxisRange& target, double factor) {
    const TAxisRange goal = OrderedRange(target.Minimum, target.Maximum);
    const long double minimum =
        current.Minimum + (static_cast<long double>(goal.Minimum) - current.Minimum) / factor;
    const long double maximum =
        current.Maximum - (static_cast<long double>(current.Maximum) - goal.Maximum) / factor;
    return {StoreAsDouble(minimum), StoreAsDouble(maximum)};
}

TAxisRange ScrolledRange(const TAxisRange& range, const TAxisMapping& mapping, std::int32_t current,
                         std::int32_t last) {
    const double shift = mapping.PixelToValue(last) - mapping.PixelToValue(current);
    return {StoreAsDouble(static_cast<long double>(range.Minimum) + shift),
            StoreAsDouble(static_cast<long double>(range.Maximum) + shift)};
}

double WheelScrollOffset(const TAxisRange& range, bool down) {
    constexpr long double Percent = 3;
    const long double offset =
        (static_cast<long double>(range.Maximum) - range.Minimum) * Percent * 0.01L;
    return StoreAsDouble(down ? offset : -offset);
}

} // namespace Korvatel
