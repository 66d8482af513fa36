// SPDX-License-Identifier: MIT
#include <korvatel/axes/AxisMapping.h>

namespace Korvatel {

namespace {

// The logarithm of a limit; limits that have none count as 0.
long double LimitLogarithm(double limit) {
    return limit > 0 ? std::log(static_cast<long double>(limit)) : 0.0L;
}

} // namespace

void TAxisMapping::SetRange(double minimum, double maximum) {
    FMinimum = minimum;
    FMaximum = maximum;
    FRange = maximum - minimum;
    FLogMin = LimitLogarithm(minimum);
    FLogMax = LimitLogarithm(maximum);
    FLogSpan = FLogMax - FLogMin;
}

void TAxisMapping::SetExtent(std::int32_t startPixel, std::int32_t endPixel) {
    FStartPixel = startPixel;
    FEndPixel = endPixel;
    FPixelLength = Low32(std::int64_t{endPixel} - startPixel);
    // The mean of two 32-bit values always fits; the division truncates toward zero.
    FCenterPixel = static_cast<std::int32_t>((std::int64_t{startPixel} + endPixel) / 2);
}

double TAxisMapping::LogarithmicPixelToValue(std::int32_t pixel) const {
    // The two ends give the limits exactly, before any logarithm is taken. The maximum lies
    // at the start of a horizontal inverted axis and of a vertical axis that is not.
    const bool maximumAtStart = FHorizontal == FInverted;
    if (pixel == FStartPixel) {
        return maximumAtStart ? FMaximum : FMinimum;
    }
    if (pixel == FEndPixel) {
        return maximumAtStart ? FMinimum : FMaximum;
    }
    if (FLogSpan == 0) {
        return FMinimum;
    }
    // Between the ends a shorter axis has no pixels to divide by.
    if (FPixelLength < 1) {
        return 0;
    }
    const long double along =
        FInverted ? std::int64_t{FEndPixel} - pixel : std::int64_t{pixel} - FStartPixel;
    const long double offset = FLogSpan * along / FPixelLength;
    return StoreAsDouble(std::exp(FHorizontal ? FLogMin + offset : FLogMax - offset));
}

} // namespace Korvatel
