// SPDX-License-Identifier: MIT
#include <korvatel/canvas/PixelLine.h>

#include <korvatel/canvas/PixelLineRuns.h>

#include <QRegion>
#include <algorithm>
#include <cstring>

namespace Korvatel {

namespace {

// 128-bit intermediates: the clipping arithmetic multiplies two 33-bit distances by 2, which
// does not fit 64 bits for lines between the far ends of the 32-bit coordinate range.
__extension__ typedef __int128 TWide;

// Division rounding up, for a non-negative numerator and a positive divisor.
TWide CeilDiv(TWide numerator, TWide divisor) {
    return (numerator + divisor - 1) / divisor;
}

constexpr QRgb Opaque = 0xFF000000u;

} // namespace

TPixelLine::TPattern TPixelLine::MakePattern(std::initializer_list<std::uint32_t> runs) {
    TPattern pattern;
    bool on = true;
    for (std::uint32_t run : runs) {
        for (std::uint32_t i = 0; i < run && pattern.Length < 64; ++i) {
            if (on) {
                pattern.Mask |= std::uint64_t{1} << pattern.Length;
            }
            ++pattern.Length;
        }
        on = !on;
    }
    return pattern;
}

TPixelLine::TPattern TPixelLine::PatternFor(TPenStyle style, bool smallDots) {
    // The platform's cosmetic pen styles, in pixels.
    static const TPattern Alternate = MakePattern({1, 1});
    static const TPattern Dash = MakePattern({18, 6});
    static const TPattern Dot = MakePattern({3, 3});
    static const TPattern DashDot = MakePattern({9, 6, 3, 6});
    static const TPattern DashDotDot = MakePattern({9, 3, 3, 3, 3, 3});
    if (smallDots) {
        return Alternate;
    }
    switch (style) {
    case psDash:
        return Dash;
    case psDot:
        return Dot;
    case psDashDot:
        return DashDot;
    case psDashDotDot:
        return DashDotDot;
    default:
        return TPattern{};
    }
}

bool TPixelLine::VisibleSpan(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1,
                             const TRect& clip, TSpan& span) {
    if (clip.IsEmpty()) {
        return false;
    }
    const std::int64_t dx = std::int64_t{x1} - x0;
    const std::int64_t dy = std::int64_t{y1} - y0;
    const std::int64_t adx = dx < 0 ? -dx : dx;
    const std::int64_t ady = dy < 0 ? -dy : dy;
    if (adx == 0 && ady == 0) {
        return false;
    }
    // Along the major axis the line takes d steps; the minor coordinate at step s is
    // m0 + minorStep * r(s) with r(s) = floor((2 s a + d - bias) / 2d): the nearest integer to
    // s a / d, a tie going to the smaller coordinate (bias 1 when the minor axis grows, so the
    // tie rounds r down; bias 0 when it shrinks, so r rounds up).
    const bool xMajor = adx >= ady;
    const std::int64_t d = xMajor ? adx : ady;
    const std::int64_t a = xMajor ? ady : adx;
    const std::int64_t majorDelta = xMajor ? dx : dy;
    const std::int64_t minorDelta = xMajor ? dy : dx;
    const std::int32_t majorStep = majorDelta > 0 ? 1 : -1;
    const std::int32_t minorStep = minorDelta >= 0 ? 1 : -1;
    const std::int64_t bias = minorDelta > 0 ? 1 : 0;
    const std::int64_t major0 = xMajor ? x0 : y0;
    const std::int64_t minor0 = xMajor ? y0 : x0;

    span.XMajor = xMajor;
    span.MajorStep = majorStep;
    span.MinorStep = minorStep;
    span.ErrorStep = 2 * a;
    span.ErrorLimit = 2 * d;

    const bool startInside = clip.Contains(x0, y0);
    const bool endInside = clip.Contains(x1, y1);
    if (startInside && endInside) {
        // The common case: every pixel lies between the two ends, so all of them are visible.
        span.X = x0;
        span.Y = y0;
        span.First = 0;
        span.Count = d;
        span.Error = d - bias;
        return true;
    }

    const std::int64_t majorLow = xMajor ? clip.Left : clip.Top;
    const std::int64_t majorHigh = (xMajor ? clip.Right : clip.Bottom) - std::int64_t{1};
    const std::int64_t minorLow = xMajor ? clip.Top : clip.Left;
    const std::int64_t minorHigh = (xMajor ? clip.Bottom : clip.Right) - std::int64_t{1};

    // Steps whose major coordinate is inside the clip.
    std::int64_t first = 0;
    std::int64_t last = d - 1;
    if (majorStep > 0) {
        first = std::max(first, majorLow - major0);
        last = std::min(last, majorHigh - major0);
    } else {
        first = std::max(first, major0 - majorHigh);
        last = std::min(last, major0 - majorLow);
    }
    if (first > last) {
        return false;
    }

    // Steps whose minor coordinate is inside: r(s) within [rLow, rHigh]. r never decreases,
    // so both bounds solve for s directly.
    const std::int64_t rLow = minorStep > 0 ? minorLow - minor0 : minor0 - minorHigh;
    const std::int64_t rHigh = minorStep > 0 ? minorHigh - minor0 : minor0 - minorLow;
    if (rHigh < 0) {
        return false;
    }
    const TWide twoD = TWide{2} * d;
    if (a == 0) {
        if (rLow > 0) {
            return false;
        }
    } else {
        const TWide twoA = TWide{2} * a;
        if (rLow > 0) {
            // r(s) >= rLow  <=>  2 s a >= 2 d rLow - d + bias
            const TWide bound = CeilDiv(twoD * rLow - d + bias, twoA);
            if (bound > last) {
                return false;
            }
            first = std::max(first, static_cast<std::int64_t>(bound));
        }
        // r(s) <= rHigh  <=>  2 s a < 2 d (rHigh + 1) - d + bias
        const TWide bound = CeilDiv(twoD * (TWide{rHigh} + 1) - d + bias, twoA) - 1;
        if (bound < first) {
            return false;
        }
        last = std::min(last, static_cast<std::int64_t>(std::min<TWide>(bound, last)));
    }
    if (first > last) {
        return false;
    }

    const TWide numerator = TWide{2} * first * a + d - bias;
    const auto r = static_cast<std::int64_t>(numerator / twoD);
    span.Error = static_cast<std::int64_t>(numerator % twoD);
    span.First = first;
    span.Count = last - first + 1;
    const auto major = static_cast<std::int32_t>(major0 + majorStep * first);
    const auto minor = static_cast<std::int32_t>(minor0 + minorStep * r);
    span.X = xMajor ? major : minor;
    span.Y = xMajor ? minor : major;
    return true;
}

QRgb TPixelLine::ApplyMode(TPenMode mode, QRgb pen, QRgb pixel) {
    const QRgb p = pen & 0xFFFFFFu;
    const QRgb d = pixel & 0xFFFFFFu;
    QRgb result = d;
    switch (mode) {
    case pmBlack:
        result = 0;
        break;
    case pmWhite:
        result = 0xFFFFFFu;
        break;
    case pmNop:
        result = d;
        break;
    case pmNot:
        result = ~d;
        break;
    case pmCopy:
        result = p;
        break;
    case pmNotCopy:
        result = ~p;
        break;
    case pmMergePenNot:
        result = p | ~d;
        break;
    case pmMaskPenNot:
        result = p & ~d;
        break;
    case pmMergeNotPen:
        result = ~p | d;
        break;
    case pmMaskNotPen:
        result = ~p & d;
        break;
    case pmMerge:
        result = p | d;
        break;
    case pmNotMerge:
        result = ~(p | d);
        break;
    case pmMask:
        result = p & d;
        break;
    case pmNotMask:
        result = ~(p & d);
        break;
    case pmXor:
        result = p ^ d;
        break;
    case pmNotXor:
        result = ~(p ^ d);
        break;
    }
    return (result & 0xFFFFFFu) | Opaque;
}

void TRegionIndex::Assign(const QRegion& region) {
    if (region == FSource) {
        return;
    }
    FSource = region;
    FRects.assign(region.begin(), region.end());
    FRows.clear();
    if (FRects.empty()) {
        return;
    }
    const QRect box = region.boundingRect();
    FTop = box.top();
    FRows.assign(static_cast<std::size_t>(box.height()), TRun{NoRun, NoRun - 1});
    for (const QRect& rect : FRects) {
        for (std::int32_t y = rect.top(); y <= rect.bottom(); ++y) {
            TRun& run = FRows[static_cast<std::size_t>(y - FTop)];
            run = run.Left == NoRun && run.Right == NoRun - 1
                      ? TRun{rect.left(), rect.right()}
                      : TRun{SeveralRuns, SeveralRuns - 1};
        }
    }
}

bool TRegionIndex::BandContains(std::int32_t left, std::int32_t right, std::int32_t y) const {
    // The first rectangle whose rows reach y; the rectangles of its band follow it. Rectangles
    // of one band never touch (they would be one), so a run of columns lies in the region only
    // when one of them covers it.
    auto it = std::partition_point(FRects.begin(), FRects.end(),
                                   [y](const QRect& rect) { return rect.bottom() < y; });
    for (; it != FRects.end() && it->top() <= y; ++it) {
        if (left >= it->left() && right <= it->right()) {
            return true;
        }
    }
    return false;
}

bool TRegionIndex::ContainsRect(const TRect& rect) const {
    if (rect.IsEmpty()) {
        return true;
    }
    const std::int64_t first = std::int64_t{rect.Top} - FTop;
    const std::int64_t last = std::int64_t{rect.Bottom} - 1 - FTop;
    if (first < 0 || last >= static_cast<std::int64_t>(FRows.size())) {
        return false;
    }
    const std::int32_t right = rect.Right - 1;
    for (std::int64_t row = first; row <= last; ++row) {
        const TRun& run = FRows[static_cast<std::size_t>(row)];
        if (run.Left <= run.Right) {
            if (rect.Left < run.Left || right > run.Right) {
                return false;
            }
        } else if (run.Left == NoRun ||
                   !BandContains(rect.Left, right, static_cast<std::int32_t>(row + FTop))) {
            return false;
        }
    }
    return true;
}

void TPixelLine::SetTarget(std::uint8_t* bits, std::int64_t bytesPerLine, const TRect& clip,
                           const QRegion* region) {
    FBits = bits;
    FBytesPerLine = bytesPerLine;
    FPoints = nullptr;
    FGaps = nullptr;
    FClip = clip;
    FRegion = region;
    if (region != nullptr) {
        FRegionIndex.Assign(*region);
    }
}

void TPixelLine::SetCollector(std::vector<QPoint>* points, std::vector<QPoint>* gaps,
                              const TRect& clip, const QRegion* region) {
    FBits = nullptr;
    FBytesPerLine = 0;
    FPoints = points;
    FGaps = gaps;
    FClip = clip;
    FRegion = region;
    if (region != nullptr) {
        FRegionIndex.Assign(*region);
    }
}

void TPixelLine::SetPen(QRgb color, TPenMode mode, TPattern pattern, bool opaqueGaps,
                        QRgb gapColor) {
    FColor = color | Opaque;
    FMode = mode;
    if (!(FPattern == pattern)) {
        FPattern = pattern;
        FPhase = 0;
    }
    FOpaqueGaps = opaqueGaps;
    FGapColor = gapColor | Opaque;
}

void TPixelLine::Draw(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1) {
    const std::int64_t dx = std::int64_t{x1} - x0;
    const std::int64_t dy = std::int64_t{y1} - y0;
    const std::int64_t length = std::max(dx < 0 ? -dx : dx, dy < 0 ? -dy : dy);
    if (length == 0) {
        return;
    }
    if (FScaled) {
        TWideSpan span;
        if (VisibleWideSpan(x0, y0, x1, y1, FScale, FClip, span)) {
            PaintWide(span);
        }
    } else {
        TSpan span;
        if (VisibleSpan(x0, y0, x1, y1, FClip, span)) {
            Paint(span, NeedsRegion(x0, y0, x1, y1));
        }
    }
    if (!FPattern.IsSolid()) {
        FPhase = static_cast<std::uint32_t>((FPhase + length % FPattern.Length) % FPattern.Length);
    }
}

void TPixelLine::FillRun(QRgb* line, std::int32_t left, std::int32_t right, QRgb color) {
    PixelLineDetail::FillStretch(line, left, right, color);
}

void TPixelLine::DrawChain(TPoint start, std::span<const TPoint> points) {
    if (FScaled) {
        DrawWideChain(start, points);
        return;
    }
    if (FBits == nullptr || !FPattern.IsSolid() || FMode != pmCopy) {
        for (const TPoint& point : points) {
            Draw(start.X, start.Y, point.X, point.Y);
            start = point;
        }
        return;
    }
    const auto rows = static_cast<std::size_t>(std::max(0, FClip.Bottom - FClip.Top));
    if (FOpenRows.size() < rows) {
        FOpenRows.resize(rows);
    }
    TColumnRuns<false> columns(FBits, FBytesPerLine, FColor, FClip, FOpenRows.data());
    const QRgb color = FColor;
    // Asked once: in 2D there is no region, and the test per segment would cost the hot loop.
    const bool regionClip = FRegion != nullptr;
    for (const TPoint& point : points) {
        if (regionClip && NeedsRegion(start.X, start.Y, point.X, point.Y)) {
            // A line that leaves the region's inside tests its pixels one by one; the others
            // are solid and of one colour, so the order of their pixels does not matter.
            TSpan span;
            if (VisibleSpan(start.X, start.Y, point.X, point.Y, FClip, span)) {
                PaintPattern(span, true);
            }
            start = point;
            continue;
        }
        const std::int64_t dx = std::int64_t{point.X} - start.X;
        const std::int64_t dy = std::int64_t{point.Y} - start.Y;
        if (((dx == 0 && dy != 0) || ((dx == 1 || dx == -1) && (dy > 1 || dy < -1))) &&
            FClip.Contains(start.X, start.Y) && FClip.Contains(point.X, point.Y)) {
            // A steep stroke inside the clip that stays in one column or moves to the next
            // (the lines of a series that runs up and down at every column): its column runs
            // straight from the pixel rule. Step s is in the start column while
            // 2 s + d − bias < 2 d (see VisibleSpan), that is for s below (d + bias + 1) / 2.
            const auto d = static_cast<std::int32_t>(dy > 0 ? dy : -dy);
            const std::int32_t rowStep = dy > 0 ? 1 : -1;
            const std::int32_t bias = dx > 0 ? 1 : 0;
            const std::int32_t inStart = dx == 0 ? d : (d + bias + 1) / 2;
            const std::int32_t lastInStart = start.Y + rowStep * (inStart - 1);
            columns.Add(start.X, std::min(start.Y, lastInStart), std::max(start.Y, lastInStart));
            if (inStart < d) {
                const std::int32_t first = lastInStart + rowStep;
                const std::int32_t last = point.Y - rowStep;
                columns.Add(point.X, std::min(first, last), std::max(first, last));
            }
            start = point;
            continue;
        }
        TSpan span;
        if (VisibleSpan(start.X, start.Y, point.X, point.Y, FClip, span)) {
            if (span.XMajor) {
                WalkRuns(span, FBits, FBytesPerLine, [color](QRgb& pixel) { pixel = color; });
            } else {
                columns.AddSpan(span);
            }
        }
        start = point;
    }
}

void TPixelLine::Advance(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1) {
    if (FPattern.IsSolid()) {
        return;
    }
    const std::int64_t dx = std::int64_t{x1} - x0;
    const std::int64_t dy = std::int64_t{y1} - y0;
    const std::int64_t length = std::max(dx < 0 ? -dx : dx, dy < 0 ? -dy : dy);
    FPhase = static_cast<std::uint32_t>((FPhase + length % FPattern.Length) % FPattern.Length);
}

bool TPixelLine::NeedsRegion(std::int32_t x0, std::int32_t y0, std::int32_t x1,
                             std::int32_t y1) const {
    if (FRegion == nullptr) {
        return false;
    }
    const auto last = [](std::int32_t a, std::int32_t b) {
        return static_cast<std::int32_t>(std::min<std::int64_t>(std::int64_t{std::max(a, b)} + 1,
                                                                INT32_MAX));
    };
    const TRect box = IntersectRect(
        {std::min(x0, x1), std::min(y0, y1), last(x0, x1), last(y0, y1)}, FClip);
    return !FRegionIndex.ContainsRect(box);
}

void TPixelLine::Paint(const TSpan& span, bool region) {
    if (FBits == nullptr || region || !FPattern.IsSolid()) {
        PaintPattern(span, region);
        return;
    }
    // The hot path of every chart: solid lines written straight into the scan lines.
    const QRgb color = FColor;
    switch (FMode) {
    case pmCopy:
        WalkRuns(span, FBits, FBytesPerLine, [color](QRgb& pixel) { pixel = color; });
        break;
    case pmNotXor:
        WalkRuns(span, FBits, FBytesPerLine,
                 [color](QRgb& pixel) { pixel = ~(color ^ pixel) | Opaque; });
        break;
    default: {
        const TPenMode mode = FMode;
        WalkRuns(span, FBits, FBytesPerLine,
                 [mode, color](QRgb& pixel) { pixel = ApplyMode(mode, color, pixel); });
        break;
    }
    }
}

void TPixelLine::PaintPattern(const TSpan& span, bool region) {
    const bool solid = FPattern.IsSolid();
    const std::uint32_t length = solid ? 1 : FPattern.Length;
    // The pattern position of the first visible pixel; from there it only counts up and wraps.
    std::uint32_t position = static_cast<std::uint32_t>(
        (FPhase + static_cast<std::uint64_t>(span.First) % length) % length);
    const std::uint64_t mask = solid ? 1 : FPattern.Mask;
    if (FBits != nullptr && !region) {
        // Dotted grid lines: the second most frequent kind of line in a chart.
        const QRgb color = FColor;
        const QRgb gap = FGapColor;
        const bool opaque = FOpaqueGaps;
        const TPenMode mode = FMode;
        if (mode == pmCopy) {
            WalkRuns(span, FBits, FBytesPerLine, [&](QRgb& pixel) {
                if (((mask >> position) & 1u) != 0) {
                    pixel = color;
                } else if (opaque) {
                    pixel = gap;
                }
                if (++position == length) {
                    position = 0;
                }
            });
            return;
        }
        WalkRuns(span, FBits, FBytesPerLine, [&](QRgb& pixel) {
            const bool on = ((mask >> position) & 1u) != 0;
            if (++position == length) {
                position = 0;
            }
            if (on || opaque) {
                pixel = ApplyMode(mode, on ? color : gap, pixel);
            }
        });
        return;
    }
    Walk(span, [&](std::int32_t x, std::int32_t y, std::int64_t) {
        const bool on = ((mask >> position) & 1u) != 0;
        if (++position == length) {
            position = 0;
        }
        if ((!on && !FOpaqueGaps) || (region && !FRegionIndex.Contains(x, y))) {
            return;
        }
        if (FBits != nullptr) {
            QRgb& pixel = PixelAt(x, y);
            pixel = ApplyMode(FMode, on ? FColor : FGapColor, pixel);
        } else if (on) {
            FPoints->emplace_back(x, y);
        } else {
            FGaps->emplace_back(x, y);
        }
    });
}

} // namespace Korvatel
