// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/core/Export.h>
#include <korvatel/canvas/ChartPen.h>
#include <korvatel/core/ChartTypes.h>
#include <korvatel/canvas/DeviceScale.h>

#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QRgb>
#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <vector>

namespace Korvatel {

// The pixels of a clip region, looked up by row. QRegion keeps its rectangles in y-x bands (the
// rectangles of one band share their rows, sorted by column), but its own point test walks
// every rectangle, and a 3D chart box is a polygon region of about one band per row: testing
// each pixel of a line against it cost more than the drawing itself. The index keeps, for each
// row, the one run of the region on it when there is one (a convex region has no other kind),
// and searches the bands only for rows of several runs.
class KORVATEL_EXPORT TRegionIndex {
public:
    // Takes the region's rectangles; a region equal to the last one (shared, as the canvas's
    // clip is between two changes) costs nothing.
    void Assign(const QRegion& region);
    bool Contains(std::int32_t x, std::int32_t y) const {
        const std::int64_t row = std::int64_t{y} - FTop;
        if (row < 0 || row >= static_cast<std::int64_t>(FRows.size())) {
            return false;
        }
        const TRun& run = FRows[static_cast<std::size_t>(row)];
        if (run.Left <= run.Right) {
            return x >= run.Left && x <= run.Right;
        }
        return run.Left == SeveralRuns && BandContains(x, x, y);
    }
    // Whether every pixel of the rectangle (right and bottom exclusive) lies in the region; an
    // empty rectangle does. A shape inside it needs no test per pixel.
    bool ContainsRect(const TRect& rect) const;

private:
    // Left > Right: no run on the row (Left NoRun) or several (Left SeveralRuns).
    struct TRun {
        std::int32_t Left = 0;
        std::int32_t Right = -1;
    };
    static constexpr std::int32_t NoRun = 0;
    static constexpr std::int32_t SeveralRuns = 1;
    // Whether one rectangle of row y's band covers columns left..right.
    bool BandContains(std::int32_t left, std::int32_t right, std::int32_t y) const;

    QRegion FSource;
    std::vector<QRect> FRects;
    std::int32_t FTop = 0;
    std::vector<TRun> FRows;
};

// The canvas's one-pixel lines, drawn by our own routine instead of the painter's, because the
// chart's pixel rules are exact and the painter's slanted lines are not:
//
// - A line from (x0, y0) to (x1, y1) paints one pixel per step along its major axis (x when
//   |dx| >= |dy|, else y), from the start pixel up to but not including the end pixel; a
//   zero-length line paints nothing. Drawing a polyline as a chain of such lines therefore
//   paints every vertex exactly once, which not-xor drawing relies on.
// - Each pixel is the one nearest to the exact line at that step; exactly halfway between two,
//   the upper one is taken for an x-major line and the left one for a y-major line, whatever the
//   direction in which the line is drawn.
// - The line is clipped analytically to the clip rectangle: the first visible step and the
//   error term there are computed directly, so a line millions of pixels long costs only the
//   pixels that are visible.
// - Dashed and dotted pens repeat a pattern of pixels; the pattern continues from one line to
//   the next (ResetPhase starts it again), and the pixels of the gaps are painted in the gap
//   colour when the background is opaque.
//
// A TPixelLine either writes into 32-bit scan lines or, for a surface without reachable pixels,
// collects the pixels for the painter to plot.
//
// On a surface of another device scale (SetScale) the same line is drawn at the device's
// resolution, as wide as one logical pixel, keeping its true course through the centres of its
// logical pixels instead of magnifying the staircase of the one-pixel line:
//
// - Along the major axis it covers the device pixels of its logical pixels from the start
//   pixel up to, not including, the end pixel (see TDeviceScale for which device pixels belong
//   to a logical one).
// - At each device step along the major axis it paints TDeviceScale::LineWidth device pixels
//   across it (the scale rounded, at least one), starting at the first one whose centre lies
//   at or after half a logical pixel before the course (measured along the minor axis). A
//   centre exactly on the near side is in, so ties go to the smaller coordinate as above; at
//   scale 1 these are exactly the pixels of the one-pixel line. At a whole scale they are the
//   device pixels of the logical ones; at a fractional scale a line keeps one width all along
//   (at 1.5, two device pixels, where its logical pixels span one or two of them), and a
//   horizontal or vertical line starts at the first device pixel of its logical pixel.
// - A dash pattern counts logical pixels along the major axis, so it scales with the width, and
//   its phase runs on from line to line as above.
// - Lines of a chain join without gaps; where two of them cross, a pixel may be painted by
//   both (which only matters in the raster modes that invert, and drawing the chain twice still
//   restores every pixel).
class KORVATEL_EXPORT TPixelLine {
public:
    // Which pixels of a period of Length pixels are painted: bit i of Mask for pixel i.
    // Length 0 is a solid line.
    struct TPattern {
        std::uint64_t Mask = 0;
        std::uint32_t Length = 0;

        bool IsSolid() const { return Length == 0; }
        bool IsOn(std::uint32_t position) const { return ((Mask >> position) & 1u) != 0; }
        friend bool operator==(const TPattern&, const TPattern&) = default;
    };

    // Sets pixels left..right (both included) of a 32-bit scan line to a colour, four to a
    // store where the processor has 16-byte stores; the rows of solid fills are written so too.
    static void FillRun(QRgb* line, std::int32_t left, std::int32_t right, QRgb color);

    // Alternating runs of painted and skipped pixels, starting with a painted run.
    static TPattern MakePattern(std::initializer_list<std::uint32_t> runs);
    // The pattern of a one-pixel pen of a style; SmallDots is every other pixel.
    static TPattern PatternFor(TPenStyle style, bool smallDots);

    // The visible part of a line: its first visible pixel, that pixel's step number from the
    // start of the line, the number of visible pixels and the state for stepping on.
    struct TSpan {
        std::int32_t X = 0;
        std::int32_t Y = 0;
        std::int64_t First = 0;
        std::int64_t Count = 0;
        bool XMajor = true;
        std::int32_t MajorStep = 1;
        std::int32_t MinorStep = 1;
        std::int64_t Error = 0;
        std::int64_t ErrorStep = 0;
        std::int64_t ErrorLimit = 1;
    };

    // Computes the visible part of the line from (x0, y0) to (x1, y1) inside clip (right and
    // bottom exclusive). False when no pixel of it is visible.
    static bool VisibleSpan(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1,
                            const TRect& clip, TSpan& span);

    // Calls plot(x, y, step) for every pixel of a span, in drawing order.
    template <typename Plot>
    static void Walk(const TSpan& span, Plot&& plot) {
        std::int32_t x = span.X;
        std::int32_t y = span.Y;
        const std::int32_t majorX = span.XMajor ? span.MajorStep : 0;
        const std::int32_t majorY = span.XMajor ? 0 : span.MajorStep;
        const std::int32_t minorX = span.XMajor ? 0 : span.MinorStep;
        const std::int32_t minorY = span.XMajor ? span.MinorStep : 0;
        std::int64_t error = span.Error;
        for (std::int64_t i = 0; i < span.Count; ++i) {
            plot(x, y, span.First + i);
            x += majorX;
            y += majorY;
            error += span.ErrorStep;
            if (error >= span.ErrorLimit) {
                error -= span.ErrorLimit;
                x += minorX;
                y += minorY;
            }
        }
    }

    // Calls paint(pixel) for every pixel of a span, in drawing order, on 32-bit scan lines
    // starting at bits. It visits exactly the pixels of Walk, but a run of pixels that share
    // their minor coordinate at a time: the length of a run follows from the error term by one
    // division, and inside it only the address moves. A near-vertical line then costs a store
    // per pixel instead of a multiplication, a comparison and a branch.
    static constexpr std::int64_t ShortSpan = 8;
    template <typename PaintPixel>
    static void WalkRuns(const TSpan& span, std::uint8_t* bits, std::int64_t bytesPerLine,
                         PaintPixel&& paint) {
        constexpr std::int64_t PixelBytes = sizeof(QRgb);
        const std::int64_t majorBytes =
            span.XMajor ? span.MajorStep * PixelBytes : span.MajorStep * bytesPerLine;
        const std::int64_t minorBytes =
            span.XMajor ? span.MinorStep * bytesPerLine : span.MinorStep * PixelBytes;
        // Offsets in bytes from bits; only offsets of visible pixels are ever dereferenced.
        std::int64_t at = span.Y * bytesPerLine + span.X * PixelBytes;
        const std::int64_t step = span.ErrorStep;
        const std::int64_t limit = span.ErrorLimit;
        std::int64_t error = span.Error;
        std::int64_t left = span.Count;
        if (left <= ShortSpan) {
            // A few pixels (most lines of a dense series): stepping costs less than dividing.
            for (; left > 0; --left) {
                paint(*reinterpret_cast<QRgb*>(bits + at));
                at += majorBytes;
                error += step;
                if (error >= limit) {
                    error -= limit;
                    at += minorBytes;
                }
            }
            return;
        }
        while (left > 0) {
            // The pixels up to and including the one after which the error term reaches the
            // limit: the smallest k >= 1 with error + k * step >= limit.
            std::int64_t run = left;
            if (step > 0) {
                run = std::max<std::int64_t>(1, (limit - error + step - 1) / step);
                run = std::min(run, left);
            }
            for (std::int64_t i = 0; i < run; ++i) {
                paint(*reinterpret_cast<QRgb*>(bits + at));
                at += majorBytes;
            }
            left -= run;
            error += run * step;
            if (error >= limit) {
                error -= limit;
                at += minorBytes;
            }
        }
    }

    // The visible part of a line at a device scale. At each step along the major axis (from
    // Major, by MajorStep) the line paints the Width device pixels from Low across it. Low
    // moves by one towards LowStep whenever the remainder passes the divisor, as the error
    // term of the one-pixel line does.
    // PatternIndex is the logical pixel along the line that the first visible step lies in.
    struct TWideSpan {
        bool XMajor = true;
        std::int32_t MajorStep = 1;
        std::int64_t Major = 0;
        std::int64_t Count = 0;
        std::int64_t Low = 0;
        std::int32_t LowStep = 1;
        std::int64_t Remainder = 0;
        std::int64_t RemainderStep = 0;
        std::int64_t Divisor = 1;
        std::int32_t Width = 1;
        std::int64_t PatternIndex = 0;
        std::int64_t PatternRemainder = 0;
        std::int64_t PatternStep = 0;
        std::int64_t PatternDivisor = 1;
    };

    // Computes the visible part of the line between logical (x0, y0) and (x1, y1) at a scale,
    // inside a clip of device pixels. False when no pixel of it is visible. Steps whose pixels
    // across all lie outside the clip may be included; painting clips them.
    static bool VisibleWideSpan(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1,
                                const TDeviceScale& scale, const TRect& clip, TWideSpan& span);

    // Calls visit(major, low, width, patternIndex) for every step of a wide span, in drawing
    // order.
    template <typename Visit>
    static void WalkWide(const TWideSpan& span, Visit&& visit) {
        std::int64_t major = span.Major;
        std::int64_t low = span.Low;
        std::int64_t remainder = span.Remainder;
        std::int64_t pattern = span.PatternIndex;
        std::int64_t patternRemainder = span.PatternRemainder;
        for (std::int64_t i = 0; i < span.Count; ++i) {
            visit(major, low, span.Width, pattern);
            major += span.MajorStep;
            if (span.LowStep > 0) {
                remainder -= span.RemainderStep;
                if (remainder < 0) {
                    remainder += span.Divisor;
                    ++low;
                }
            } else {
                remainder += span.RemainderStep;
                if (remainder >= span.Divisor) {
                    remainder -= span.Divisor;
                    --low;
                }
            }
            patternRemainder += span.PatternStep;
            while (patternRemainder >= span.PatternDivisor) {
                patternRemainder -= span.PatternDivisor;
                ++pattern;
            }
        }
    }

    // Calls visit(firstMajor, lastMajor, low) for each run of steps of a wide span that share
    // their pixels across, in drawing order. The length of a run follows from the remainder by
    // one division, so a steep line costs a division per column, not work per row.
    template <typename Visit>
    static void WalkWideRuns(const TWideSpan& span, Visit&& visit) {
        std::int64_t major = span.Major;
        std::int64_t low = span.Low;
        std::int64_t remainder = span.Remainder;
        std::int64_t left = span.Count;
        const std::int64_t step = span.RemainderStep;
        while (left > 0) {
            // The steps before the remainder passes the divisor: with it falling, while it
            // stays >= 0; with it rising, while it stays below the divisor.
            std::int64_t run = left;
            if (step > 0) {
                const std::int64_t room =
                    span.LowStep > 0 ? remainder : span.Divisor - 1 - remainder;
                run = std::min(left, room / step + 1);
            }
            visit(major, major + span.MajorStep * (run - 1), low);
            major += span.MajorStep * run;
            left -= run;
            if (span.LowStep > 0) {
                remainder += span.Divisor - run * step;
                ++low;
            } else {
                remainder -= span.Divisor - run * step;
                --low;
            }
        }
    }

    // The result of a raster operation of the pen colour on a pixel (alpha kept opaque).
    static QRgb ApplyMode(TPenMode mode, QRgb pen, QRgb pixel);

    // Draw into 32-bit scan lines; clip must lie inside the image. region, when given, further
    // limits the pixels (a non-rectangular clip); it must outlive the drawing.
    void SetTarget(std::uint8_t* bits, std::int64_t bytesPerLine, const TRect& clip,
                   const QRegion* region = nullptr);
    // Collect the pixels instead: painted ones into points, opaque gap pixels into gaps.
    void SetCollector(std::vector<QPoint>* points, std::vector<QPoint>* gaps, const TRect& clip,
                      const QRegion* region = nullptr);
    void SetPen(QRgb color, TPenMode mode, TPattern pattern, bool opaqueGaps, QRgb gapColor);
    // The clip of the last SetTarget or SetCollector.
    const TRect& Clip() const { return FClip; }
    // The device scale of the target: the clip of SetTarget is in device pixels, the points of
    // Draw and DrawChain in logical ones. Only scan lines are drawn at another scale than 1.
    void SetScale(const TDeviceScale& scale) {
        FScale = scale;
        FScaled = !scale.IsOne();
    }
    const TDeviceScale& Scale() const { return FScale; }
    // Starts the dash pattern again at its first pixel.
    void ResetPhase() { FPhase = 0; }
    std::uint32_t Phase() const { return FPhase; }
    // The pattern of the last pen and the phase, to put back after a pass that is run again.
    TPattern Pattern() const { return FPattern; }
    void RestorePattern(TPattern pattern, std::uint32_t phase) {
        FPattern = pattern;
        FPhase = phase;
    }

    // Draws the line from (x0, y0) to (x1, y1), end pixel excluded, and moves the dash pattern
    // on by the whole length of the line, visible or not.
    void Draw(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1);
    // Draw from start through each point in turn. A solid copy-mode chain on scan lines writes
    // each pixel once however often its lines cross it: the runs of steep lines that follow
    // each other in one column are merged, and runs in neighbouring columns are written as
    // stretches along the rows they share, so that a line that runs up and down at every
    // column costs a few stores per row instead of two per pixel. The pixels are those of the
    // single lines, since every pixel of the chain gets the same colour whatever the order.
    void DrawChain(TPoint start, std::span<const TPoint> points);
    // Moves the dash pattern on as Draw would, without painting.
    void Advance(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1);

private:
    // Banded: runs stand for bands of several columns (a whole device scale above 1).
    template <bool Banded>
    class TColumnRuns;
    // Whether the pixels of the line between the two points need the region's test one by
    // one: not when the box of its visible part lies wholly inside the region.
    bool NeedsRegion(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1) const;
    // region: test each pixel against the clip region.
    void Paint(const TSpan& span, bool region);
    void PaintPattern(const TSpan& span, bool region);
    void PaintWide(const TWideSpan& span);
    void PaintWidePattern(const TWideSpan& span);
    void DrawWideChain(TPoint start, std::span<const TPoint> points);
    QRgb& PixelAt(std::int32_t x, std::int32_t y) const {
        return reinterpret_cast<QRgb*>(FBits + y * FBytesPerLine)[x];
    }

    std::uint8_t* FBits = nullptr;
    std::int64_t FBytesPerLine = 0;
    std::vector<QPoint>* FPoints = nullptr;
    std::vector<QPoint>* FGaps = nullptr;
    TRect FClip;
    const QRegion* FRegion = nullptr;
    TRegionIndex FRegionIndex;
    QRgb FColor = 0xFF000000u;
    QRgb FGapColor = 0xFFFFFFFFu;
    TPenMode FMode = pmCopy;
    TPattern FPattern;
    bool FOpaqueGaps = false;
    std::uint32_t FPhase = 0;
    TDeviceScale FScale;
    bool FScaled = false;
    // Scratch of DrawChain: the column where each row of the clip opened.
    std::vector<std::int32_t> FOpenRows;
};

} // namespace Korvatel
