// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/core/Export.h>
#include <korvatel/core/Rounding.h>

#include <cmath>
#include <cstdint>

namespace Korvatel {

// How values are spread along an axis.
enum class TAxisScale : std::uint8_t { Linear, Logarithmic, Depth };

// The value-to-pixel mapping of one axis, and back, as a small copyable value.
//
// An axis keeps one of these and refreshes it whenever its range, its pixel extent or its
// orientation changes; series drawing, axis drawing and mouse handling all map through it, so
// the formulas live in one place. Every field the mappings need is precomputed (logarithms of
// the limits included), so a mapping costs one multiplication, one division and one rounding
// and never allocates.
//
// The mappings never fail: a zero range yields the centre pixel, and so does a value whose
// pixel offset reaches 2147483647 in magnitude, is not a number, or would put the pixel
// outside 32 bits. Intermediates are formed in extended precision.
class KORVATEL_EXPORT TAxisMapping {
public:
    // The effective range; its logarithms are taken here, once.
    void SetRange(double minimum, double maximum);
    // First and last pixel of the axis. The length and the centre follow; sums that leave
    // 32 bits keep their low 32 bits, as a stored pixel does.
    void SetExtent(std::int32_t startPixel, std::int32_t endPixel);
    void SetScale(TAxisScale value) { FScale = value; }
    void SetHorizontal(bool value) { FHorizontal = value; }
    void SetInverted(bool value) { FInverted = value; }
    // The depth of the 3D box that the depth mapping spreads values over.
    void SetDepth(std::int32_t value) { FDepth = value; }

    double Minimum() const { return FMinimum; }
    double Maximum() const { return FMaximum; }
    double Range() const { return FRange; }
    std::int32_t StartPixel() const { return FStartPixel; }
    std::int32_t EndPixel() const { return FEndPixel; }
    std::int32_t PixelLength() const { return FPixelLength; }
    std::int32_t CenterPixel() const { return FCenterPixel; }
    TAxisScale Scale() const { return FScale; }
    bool Horizontal() const { return FHorizontal; }
    bool Inverted() const { return FInverted; }
    std::int32_t Depth() const { return FDepth; }

    // The pixel column of a value: measured from the start, or from the end when inverted.
    std::int32_t XValueToPixel(double value) const {
        return ValueToPixelFrom(value, FInverted, true);
    }
    // The pixel row of a value: measured from the end (values grow upwards), or from the
    // start when inverted.
    std::int32_t YValueToPixel(double value) const {
        return ValueToPixelFrom(value, !FInverted, false);
    }
    // The column for a horizontal axis, the row for any other.
    std::int32_t ValueToPixel(double value) const {
        return FHorizontal ? XValueToPixel(value) : YValueToPixel(value);
    }
    // The value at a pixel; an axis shorter than one pixel maps every pixel to 0.
    double PixelToValue(std::int32_t pixel) const {
        return FScale == TAxisScale::Logarithmic ? LogarithmicPixelToValue(pixel)
                                                 : LinearPixelToValue(pixel);
    }

private:
    std::int32_t ValueToPixelFrom(double value, bool fromEnd, bool xForm) const {
        switch (FScale) {
        case TAxisScale::Linear:
            return LinearToPixel(value, fromEnd);
        case TAxisScale::Logarithmic:
            return LogarithmicToPixel(value, xForm);
        case TAxisScale::Depth:
            return DepthToPixel(value);
        }
        return FCenterPixel;
    }

    // Start + offset or end - offset, or the centre when that leaves 32 bits.
    std::int32_t OffsetPixel(std::int32_t offset, bool fromEnd) const {
        const std::int64_t pixel =
            fromEnd ? std::int64_t{FEndPixel} - offset : std::int64_t{FStartPixel} + offset;
        return pixel == static_cast<std::int32_t>(pixel) ? static_cast<std::int32_t>(pixel)
                                                         : FCenterPixel;
    }

    std::int32_t LinearToPixel(double value, bool fromEnd) const {
        if (FRange == 0) {
            return FCenterPixel;
        }
        // The offset is kept as a double before it is rounded, as stored pixels expect.
        const double offset =
            StoreAsDouble((static_cast<long double>(value) - FMinimum) * FPixelLength / FRange);
        std::int32_t rounded;
        if (!TryRoundHalfEven32(offset, rounded)) {
            return FCenterPixel;
        }
        return OffsetPixel(rounded, fromEnd);
    }

    std::int32_t LogarithmicToPixel(double value, bool xForm) const {
        if (FLogSpan == 0) {
            return FCenterPixel;
        }
        if (value <= 0) {
            // No logarithm: the end where the smallest values lie.
            return xForm == FInverted ? FEndPixel : FStartPixel;
        }
        const long double logValue = std::log(static_cast<long double>(value));
        const long double along = FInverted ? FLogMax - logValue : logValue - FLogMin;
        std::int32_t rounded;
        if (!TryRoundHalfEven32(along * FPixelLength / FLogSpan, rounded)) {
            return FCenterPixel;
        }
        return OffsetPixel(rounded, !xForm);
    }

    std::int32_t DepthToPixel(double value) const {
        if (FRange == 0) {
            return Div(FDepth, 2);
        }
        const long double along = FInverted ? FMaximum - static_cast<long double>(value)
                                            : static_cast<long double>(value) - FMinimum;
        std::int32_t rounded;
        if (!TryRoundHalfEven32(FDepth * along / FRange, rounded)) {
            return Div(FDepth, 2);
        }
        return rounded;
    }

    double LinearPixelToValue(std::int32_t pixel) const {
        if (FPixelLength < 1) {
            return 0;
        }
        const long double along =
            FInverted ? std::int64_t{FEndPixel} - pixel : std::int64_t{pixel} - FStartPixel;
        const long double offset = along * FRange / FPixelLength;
        return StoreAsDouble(FHorizontal ? FMinimum + offset : FMaximum - offset);
    }

    double LogarithmicPixelToValue(std::int32_t pixel) const;

    double FMinimum = 0;
    double FMaximum = 0;
    double FRange = 0;
    long double FLogMin = 0;
    long double FLogMax = 0;
    long double FLogSpan = 0;
    std::int32_t FStartPixel = 0;
    std::int32_t FEndPixel = 0;
    std::int32_t FPixelLength = 0;
    std::int32_t FCenterPixel = 0;
    std::int32_t FDepth = 0;
    TAxisScale FScale = TAxisScale::Linear;
    bool FHorizontal = false;
    bool FInverted = false;
};

} // namespace Korvatel
