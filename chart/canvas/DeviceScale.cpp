// SPDX-License-Identifier: MIT
#include <korvatel/canvas/DeviceScale.h>

#include <korvatel/core/Rounding.h>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace Korvatel {

namespace {

// Division rounding towards negative infinity, for a positive divisor.
std::int64_t FloorDiv(std::int64_t numerator, std::int64_t divisor) {
    const std::int64_t quotient = numerator / divisor;
    return quotient * divisor > numerator ? quotient - 1 : quotient;
}

std::int64_t CeilDiv(std::int64_t numerator, std::int64_t divisor) {
    return -FloorDiv(-numerator, divisor);
}

} // namespace

TDeviceScale TDeviceScale::FromRatio(double ratio) {
    if (!(ratio > 0) || !std::isfinite(ratio)) {
        return {};
    }
    const double steps = std::clamp(std::round(ratio * Steps), 1.0, double(Largest * Steps));
    const auto numerator = static_cast<std::int64_t>(steps);
    const std::int64_t common = std::gcd(numerator, Steps);
    return {numerator / common, Steps / common};
}

std::int64_t TDeviceScale::Edge(std::int64_t logical) const {
    // ceil(s e - 1/2) = ceil((2 P e - Q) / 2 Q).
    return CeilDiv(2 * FNumerator * logical - FDenominator, 2 * FDenominator);
}

TRect TDeviceScale::Inside(const TRect& logical) const {
    if (logical.IsEmpty()) {
        return {};
    }
    return {ClampToInt32(Edge(logical.Left)), ClampToInt32(Edge(logical.Top)),
            ClampToInt32(Edge(logical.Right)), ClampToInt32(Edge(logical.Bottom))};
}

TRect TDeviceScale::Around(const TRect& logical) const {
    if (logical.IsEmpty()) {
        return {};
    }
    auto low = [this](std::int64_t e) { return FloorDiv(FNumerator * e, FDenominator) - 1; };
    auto high = [this](std::int64_t e) { return CeilDiv(FNumerator * e, FDenominator) + 1; };
    return {ClampToInt32(low(logical.Left)), ClampToInt32(low(logical.Top)),
            ClampToInt32(high(logical.Right)), ClampToInt32(high(logical.Bottom))};
}

std::int64_t TDeviceScale::LineWidth() const {
    // round(P / Q) with halves up: floor((2 P + Q) / 2 Q).
    return std::max<std::int64_t>(1, (2 * FNumerator + FDenominator) / (2 * FDenominator));
}

std::int64_t TDeviceScale::LogicalExtent(std::int64_t device) const {
    return CeilDiv(device * FDenominator, FNumerator);
}

} // namespace Korvatel
