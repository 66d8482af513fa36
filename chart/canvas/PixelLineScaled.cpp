// SPDX-License-Identifier: MIT
// TPixelLine at a device scale other than 1: lines as wide as a logical pixel, drawn at the
// device's resolution (see PixelLine.h).

#include <korvatel/canvas/PixelLine.h>
#include <korvatel/canvas/PixelLineRuns.h>

#include <QRegion>
#include <algorithm>
#include <cstdlib>
#include <type_traits>

namespace Korvatel {

namespace {

__extension__ typedef __int128 TWide;

template <typename TInt>
TInt FloorDiv(TInt numerator, TInt divisor) {
    const TInt quotient = numerator / divisor;
    return quotient * divisor > numerator ? quotient - 1 : quotient;
}

template <typename TInt>
TInt CeilDiv(TInt numerator, TInt divisor) {
    return -FloorDiv<TInt>(-numerator, divisor);
}

// Below this every product of the span's set-up fits 64 bits: coordinates, deltas and the
// scale's numerator multiply to less than 2^61.
constexpr std::int64_t SmallCoordinate = std::int64_t{1} << 21;

// The span of a line whose major axis, minor axis, deltas and clip are given; TInt holds the
// products of the set-up (see SmallCoordinate).
template <typename TInt>
bool ComputeWideSpan(bool xMajor, std::int64_t m0, std::int64_t n0, std::int64_t m1,
                     std::int64_t n1, const TDeviceScale& scale, const TRect& clip,
                     TPixelLine::TWideSpan& span) {
    const std::int64_t d = std::abs(m1 - m0);
    const std::int64_t a = std::abs(n1 - n0);
    const std::int32_t majorStep = m1 > m0 ? 1 : -1;
    const std::int32_t minorStep = n1 >= n0 ? 1 : -1;
    const TInt p = scale.Numerator();
    const TInt q = scale.Denominator();

    // The device steps along the major axis, in drawing order: the device pixels of the
    // logical pixels from the start pixel up to the end pixel, end pixel excluded.
    std::int64_t first = majorStep > 0 ? scale.Edge(m0) : scale.Edge(m0 + 1) - 1;
    std::int64_t last = majorStep > 0 ? scale.Edge(m1) - 1 : scale.Edge(m1 + 1);
    const std::int64_t majorLow = xMajor ? clip.Left : clip.Top;
    const std::int64_t majorHigh = (xMajor ? clip.Right : clip.Bottom) - std::int64_t{1};
    const std::int64_t minorLow = xMajor ? clip.Top : clip.Left;
    const std::int64_t minorHigh = (xMajor ? clip.Bottom : clip.Right) - std::int64_t{1};
    if (majorStep > 0) {
        first = std::max(first, majorLow);
        last = std::min(last, majorHigh);
    } else {
        first = std::min(first, majorHigh);
        last = std::max(last, majorLow);
    }
    const std::int64_t count = (last - first) * majorStep + 1;
    if (count <= 0) {
        return false;
    }

    // With T the distance of the near side of the line from the device rows' (or columns')
    // centres, times D = 2 Q d, the first pixel across it at device column c is ceil(T / D):
    // T(c) = 2 P d n0 - Q d + minorStep * majorStep * a * (2 Q c + Q - 2 P m0 - P).
    // Each step moves T by minorStep * 2 Q a.
    const TInt divisor = 2 * q * d;
    const TInt tStep = 2 * q * a;
    const TInt tFirst = 2 * p * d * n0 - q * d +
                        TInt{minorStep * majorStep} * a * (2 * q * first + q - 2 * p * m0 - p);
    // The pixels across: the same number at every step (see TDeviceScale::LineWidth), never
    // fewer than one, so that a line shrunk below a pixel stays whole.
    const std::int64_t widest = scale.LineWidth();

    // Steps whose pixels across may be visible: ceil(T / D) <= minorHigh and
    // ceil(T / D) + widest > minorLow.
    const TInt highBound = divisor * minorHigh;
    const TInt lowBound = divisor * (minorLow - widest);
    std::int64_t kMin = 0;
    std::int64_t kMax = count - 1;
    if (tStep == 0) {
        if (tFirst > highBound || tFirst <= lowBound) {
            return false;
        }
    } else if (minorStep > 0) {
        if (tFirst > highBound) {
            return false;
        }
        if (tFirst <= lowBound) {
            kMin = static_cast<std::int64_t>(
                std::min<TInt>(FloorDiv<TInt>(lowBound - tFirst, tStep) + 1, count));
        }
        kMax = static_cast<std::int64_t>(
            std::min<TInt>(FloorDiv<TInt>(highBound - tFirst, tStep), kMax));
    } else {
        if (tFirst <= lowBound) {
            return false;
        }
        if (tFirst > highBound) {
            kMin = static_cast<std::int64_t>(
                std::min<TInt>(CeilDiv<TInt>(tFirst - highBound, tStep), count));
        }
        kMax = static_cast<std::int64_t>(
            std::min<TInt>(CeilDiv<TInt>(tFirst - lowBound, tStep) - 1, kMax));
    }
    if (kMin > kMax) {
        return false;
    }

    const TInt t = tFirst + TInt{minorStep} * tStep * kMin;
    const TInt low = CeilDiv<TInt>(t, divisor);
    span.XMajor = xMajor;
    span.MajorStep = majorStep;
    span.Major = first + majorStep * kMin;
    span.Count = kMax - kMin + 1;
    span.Low = static_cast<std::int64_t>(low);
    span.LowStep = minorStep;
    span.Remainder = static_cast<std::int64_t>(low * divisor - t);
    span.RemainderStep = static_cast<std::int64_t>(tStep);
    span.Divisor = static_cast<std::int64_t>(divisor);
    span.Width = static_cast<std::int32_t>(widest);

    // The logical pixel along the line of a device step: the distance of its centre from the
    // line's start edge, in logical pixels, times 2 P.
    const TInt c = span.Major;
    const TInt along =
        majorStep > 0 ? 2 * q * c + q - 2 * p * m0 : 2 * p * (TInt{m0} + 1) - 2 * q * c - q;
    const TInt index = FloorDiv<TInt>(along, 2 * p);
    span.PatternIndex = static_cast<std::int64_t>(index);
    span.PatternRemainder = static_cast<std::int64_t>(along - index * 2 * p);
    span.PatternStep = static_cast<std::int64_t>(2 * q);
    span.PatternDivisor = static_cast<std::int64_t>(2 * p);
    return true;
}

} // namespace

bool TPixelLine::VisibleWideSpan(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1,
                                 const TDeviceScale& scale, const TRect& clip, TWideSpan& span) {
    if (clip.IsEmpty() || (x0 == x1 && y0 == y1)) {
        return false;
    }
    const bool xMajor = std::abs(std::int64_t{x1} - x0) >= std::abs(std::int64_t{y1} - y0);
    const std::int64_t m0 = xMajor ? x0 : y0;
    const std::int64_t n0 = xMajor ? y0 : x0;
    const std::int64_t m1 = xMajor ? x1 : y1;
    const std::int64_t n1 = xMajor ? y1 : x1;
    auto small = [](std::int64_t value) {
        return value > -SmallCoordinate && value < SmallCoordinate;
    };
    if (small(m0) && small(n0) && small(m1) && small(n1) && small(clip.Left) && small(clip.Top) &&
        small(clip.Right) && small(clip.Bottom) && scale.Numerator() < (std::int64_t{1} << 15)) {
        return ComputeWideSpan<std::int64_t>(xMajor, m0, n0, m1, n1, scale, clip, span);
    }
    return ComputeWideSpan<TWide>(xMajor, m0, n0, m1, n1, scale, clip, span);
}

namespace {

// The pixels across a step of a wide span that lie inside the clip: [from, to).
struct TAcross {
    std::int64_t From;
    std::int64_t To;
};

TAcross ClipAcross(const TPixelLine::TWideSpan& span, std::int64_t low, std::int32_t width,
                   const TRect& clip) {
    const std::int64_t clipLow = span.XMajor ? clip.Top : clip.Left;
    const std::int64_t clipHigh = span.XMajor ? clip.Bottom : clip.Right;
    return {std::max(low, clipLow), std::min(low + width, clipHigh)};
}

} // namespace

void TPixelLine::PaintWide(const TWideSpan& span) {
    if (FBits == nullptr) {
        return; // only scan lines are drawn at another scale
    }
    if (FRegion != nullptr || !FPattern.IsSolid()) {
        PaintWidePattern(span);
        return;
    }
    const QRgb color = FColor;
    if (FMode != pmCopy) {
        const TPenMode mode = FMode;
        WalkWide(span, [&](std::int64_t major, std::int64_t low, std::int32_t width, std::int64_t) {
            const TAcross across = ClipAcross(span, low, width, FClip);
            for (std::int64_t i = across.From; i < across.To; ++i) {
                QRgb& pixel =
                    span.XMajor
                        ? PixelAt(static_cast<std::int32_t>(major), static_cast<std::int32_t>(i))
                        : PixelAt(static_cast<std::int32_t>(i), static_cast<std::int32_t>(major));
                pixel = ApplyMode(mode, color, pixel);
            }
        });
        return;
    }
    // Solid and copying: the steps that share their pixels across make one block, written a
    // scan line at a time.
    auto fill = [&](std::int64_t from, std::int64_t to, std::int64_t low, std::int32_t width) {
        const TAcross across = ClipAcross(span, low, width, FClip);
        const auto majorFirst = static_cast<std::int32_t>(std::min(from, to));
        const auto majorLast = static_cast<std::int32_t>(std::max(from, to));
        if (span.XMajor) {
            for (std::int64_t row = across.From; row < across.To; ++row) {
                PixelLineDetail::FillStretch(&PixelAt(0, static_cast<std::int32_t>(row)),
                                             majorFirst, majorLast, color);
            }
        } else if (across.From < across.To) {
            for (std::int32_t row = majorFirst; row <= majorLast; ++row) {
                PixelLineDetail::FillStretch(&PixelAt(0, row),
                                             static_cast<std::int32_t>(across.From),
                                             static_cast<std::int32_t>(across.To - 1), color);
            }
        }
    };
    WalkWideRuns(span, [&](std::int64_t from, std::int64_t to, std::int64_t low) {
        fill(from, to, low, span.Width);
    });
}

void TPixelLine::PaintWidePattern(const TWideSpan& span) {
    const bool solid = FPattern.IsSolid();
    const std::int64_t length = solid ? 1 : FPattern.Length;
    const std::uint64_t mask = solid ? 1 : FPattern.Mask;
    WalkWide(span,
             [&](std::int64_t major, std::int64_t low, std::int32_t width, std::int64_t index) {
                 const bool on = ((mask >> ((FPhase + index) % length)) & 1u) != 0;
                 if (!on && !FOpaqueGaps) {
                     return;
                 }
                 const QRgb color = on ? FColor : FGapColor;
                 const TAcross across = ClipAcross(span, low, width, FClip);
                 for (std::int64_t i = across.From; i < across.To; ++i) {
                     const auto x = static_cast<std::int32_t>(span.XMajor ? major : i);
                     const auto y = static_cast<std::int32_t>(span.XMajor ? i : major);
                     if (FRegion != nullptr && !FRegionIndex.Contains(x, y)) {
                         continue;
                     }
                     QRgb& pixel = PixelAt(x, y);
                     pixel = ApplyMode(FMode, color, pixel);
                 }
             });
}

void TPixelLine::DrawWideChain(TPoint start, std::span<const TPoint> points) {
    if (FBits == nullptr || FRegion != nullptr || !FPattern.IsSolid() || FMode != pmCopy) {
        for (const TPoint& point : points) {
            Draw(start.X, start.Y, point.X, point.Y);
            start = point;
        }
        return;
    }
    // Every step is a band of the same width, so the steep lines' bands sweep into rows as the
    // one-pixel lines' columns do.
    const auto rows = static_cast<std::size_t>(std::max(0, FClip.Bottom - FClip.Top));
    if (FOpenRows.size() < rows) {
        FOpenRows.resize(rows);
    }
    const auto width = static_cast<std::int32_t>(FScale.LineWidth());
    TColumnRuns<true> columns(FBits, FBytesPerLine, FColor, FClip, FOpenRows.data(), width);
    for (const TPoint& point : points) {
        TWideSpan span;
        if (VisibleWideSpan(start.X, start.Y, point.X, point.Y, FScale, FClip, span)) {
            if (span.XMajor) {
                PaintWide(span);
            } else {
                WalkWideRuns(span, [&](std::int64_t from, std::int64_t to, std::int64_t low) {
                    columns.Add(static_cast<std::int32_t>(low),
                                static_cast<std::int32_t>(std::min(from, to)),
                                static_cast<std::int32_t>(std::max(from, to)));
                });
            }
        }
        start = point;
    }
}

} // namespace Korvatel
