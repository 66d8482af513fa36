// SPDX-License-Identifier: MIT
#include <korvatel/canvas/PixelLine.h>

#include <QPolygon>
#include <QRegion>
#include <gtest/gtest.h>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

using namespace Korvatel;

namespace {

using TPixel = std::pair<std::int32_t, std::int32_t>;

// The pixel rule written out step by step, independently of the routine's error term: at each
// step along the major axis the nearest pixel to the exact line, a tie going to the smaller
// coordinate (the upper pixel of an x-major line, the left pixel of a y-major one).
std::vector<TPixel> ReferenceLine(std::int64_t x0, std::int64_t y0, std::int64_t x1,
                                  std::int64_t y1) {
    std::vector<TPixel> pixels;
    const std::int64_t dx = x1 - x0;
    const std::int64_t dy = y1 - y0;
    const bool xMajor = std::abs(dx) >= std::abs(dy);
    const std::int64_t d = xMajor ? std::abs(dx) : std::abs(dy);
    const std::int64_t delta = xMajor ? dy : dx;
    for (std::int64_t s = 0; s < d; ++s) {
        // The exact minor offset is s * delta / d; find the nearest integer by hand.
        const std::int64_t numerator = s * delta;
        std::int64_t low = numerator / d;
        if (low * d > numerator) {
            --low; // floor for negative numerators
        }
        const std::int64_t twiceRemainder = 2 * (numerator - low * d);
        const std::int64_t offset = twiceRemainder < d ? low : twiceRemainder > d ? low + 1 : low;
        const std::int64_t major =
            (xMajor ? x0 : y0) + (xMajor ? (dx > 0 ? s : -s) : (dy > 0 ? s : -s));
        const std::int64_t minor = (xMajor ? y0 : x0) + offset;
        pixels.emplace_back(static_cast<std::int32_t>(xMajor ? major : minor),
                            static_cast<std::int32_t>(xMajor ? minor : major));
    }
    return pixels;
}

std::vector<TPixel> RoutineLine(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1,
                                const TRect& clip) {
    std::vector<TPixel> pixels;
    TPixelLine::TSpan span;
    if (TPixelLine::VisibleSpan(x0, y0, x1, y1, clip, span)) {
        TPixelLine::Walk(
            span, [&](std::int32_t x, std::int32_t y, std::int64_t) { pixels.emplace_back(x, y); });
    }
    return pixels;
}

const TRect Everything{-100000, -100000, 100000, 100000};

} // namespace

TEST(PixelLineTest, EndPointsInEveryOctantAndDirection) {
    // Lines from the centre to the points of a square ring cover all octants, both diagonals,
    // the axes and every direction; the start pixel is always painted, the end pixel never.
    for (std::int32_t i = -7; i <= 7; ++i) {
        for (const TPixel& end : {TPixel{i, -7}, TPixel{i, 7}, TPixel{-7, i}, TPixel{7, i}}) {
            SCOPED_TRACE(testing::Message() << "to (" << end.first << ", " << end.second << ")");
            const std::vector<TPixel> line = RoutineLine(0, 0, end.first, end.second, Everything);
            ASSERT_EQ(line, ReferenceLine(0, 0, end.first, end.second));
            ASSERT_EQ(line.size(), 7u);
            EXPECT_EQ(line.front(), TPixel(0, 0));
            EXPECT_EQ(std::count(line.begin(), line.end(), end), 0);
        }
    }
}

TEST(PixelLineTest, HalfwayPixelsGoUpForXMajorAndLeftForYMajor) {
    struct TCase {
        std::int32_t X0, Y0, X1, Y1;
        TPixel Halfway; // the pixel at the step where the exact line is halfway
    };
    const TCase cases[] = {
        // x-major, the exact y at x = 1 is 0.5: the upper pixel (y 0), in both directions.
        {0, 0, 2, 1, {1, 0}},
        {2, 1, 0, 0, {1, 0}},
        // Falling instead of rising: the exact y at x = 1 is 0.5 again, upper pixel y 0.
        {0, 1, 2, 0, {1, 0}},
        {2, 0, 0, 1, {1, 0}},
        // y-major, the exact x at y = 1 is 0.5: the left pixel (x 0).
        {0, 0, 1, 2, {0, 1}},
        {1, 2, 0, 0, {0, 1}},
        {1, 0, 0, 2, {0, 1}},
        {0, 2, 1, 0, {0, 1}},
        // A longer one: from (0, 0) to (6, 3) the exact y is 0.5, 1.5 and 2.5 at x 1, 3, 5.
        {0, 0, 6, 3, {3, 1}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "(" << c.X0 << ", " << c.Y0 << ") to (" << c.X1 << ", " << c.Y1 << ")");
        const std::vector<TPixel> line = RoutineLine(c.X0, c.Y0, c.X1, c.Y1, Everything);
        EXPECT_EQ(line, ReferenceLine(c.X0, c.Y0, c.X1, c.Y1));
        EXPECT_EQ(std::count(line.begin(), line.end(), c.Halfway), 1);
    }
    EXPECT_EQ(RoutineLine(0, 0, 6, 3, Everything),
              (std::vector<TPixel>{{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}, {5, 2}}));
}

TEST(PixelLineTest, ZeroLengthLinesPaintNothing) {
    TPixelLine::TSpan span;
    EXPECT_FALSE(TPixelLine::VisibleSpan(3, 4, 3, 4, Everything, span));
    EXPECT_TRUE(RoutineLine(3, 4, 3, 4, Everything).empty());
}

TEST(PixelLineTest, RandomLinesMatchTheRuleAndClipToExactlyTheVisiblePixels) {
    std::mt19937 random(20240611);
    std::uniform_int_distribution<std::int32_t> coordinate(-40, 80);
    const TRect clip{3, 5, 37, 29};
    for (int i = 0; i < 4000; ++i) {
        const std::int32_t x0 = coordinate(random);
        const std::int32_t y0 = coordinate(random);
        const std::int32_t x1 = coordinate(random);
        const std::int32_t y1 = coordinate(random);
        const std::vector<TPixel> reference = ReferenceLine(x0, y0, x1, y1);
        ASSERT_EQ(RoutineLine(x0, y0, x1, y1, Everything), reference);
        std::vector<TPixel> visible;
        for (const TPixel& p : reference) {
            if (clip.Contains(p.first, p.second)) {
                visible.push_back(p);
            }
        }
        ASSERT_EQ(RoutineLine(x0, y0, x1, y1, clip), visible)
            << "(" << x0 << ", " << y0 << ") to (" << x1 << ", " << y1 << ")";
    }
}

TEST(PixelLineTest, ALineAcrossTheWhole32BitRangeCostsOnlyItsVisiblePart) {
    // Deep zoom: a segment between points a billion pixels outside the picture.
    const TRect clip{0, 0, 961, 529};
    struct TCase {
        std::int32_t X0, Y0, X1, Y1;
    };
    const TCase cases[] = {
        {-1000000000, 100, 1000000000, 400},
        {1000000000, 400, -1000000000, 100},
        {-2147483647 - 1, -2147483647 - 1, 2147483647, 2147483647},
        {480, -2000000000, 481, 2000000000},
        {-1000000000, -999999500, 1000000000, 1000000500},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "(" << c.X0 << ", " << c.Y0 << ") to (" << c.X1 << ", " << c.Y1 << ")");
        TPixelLine::TSpan span;
        ASSERT_TRUE(TPixelLine::VisibleSpan(c.X0, c.Y0, c.X1, c.Y1, clip, span));
        // The walk only visits the visible steps: at most one per column (or row) of the clip.
        EXPECT_LE(span.Count, span.XMajor ? clip.Width() : clip.Height());
        // Every visited pixel is inside and is the reference pixel of its step.
        const std::int64_t dx = std::int64_t{c.X1} - c.X0;
        const std::int64_t dy = std::int64_t{c.Y1} - c.Y0;
        const bool xMajor = std::abs(dx) >= std::abs(dy);
        const std::int64_t d = xMajor ? std::abs(dx) : std::abs(dy);
        const std::int64_t delta = xMajor ? dy : dx;
        std::int64_t visited = 0;
        TPixelLine::Walk(span, [&](std::int32_t x, std::int32_t y, std::int64_t step) {
            ++visited;
            ASSERT_TRUE(clip.Contains(x, y));
            __extension__ typedef __int128 TWide;
            const TWide numerator = TWide{step} * delta;
            TWide low = numerator / d;
            if (low * d > numerator) {
                --low;
            }
            const TWide twice = 2 * (numerator - low * d);
            const TWide offset = twice <= d ? low : low + 1;
            const std::int64_t minor = (xMajor ? c.Y0 : c.X0) + static_cast<std::int64_t>(offset);
            ASSERT_EQ(xMajor ? y : x, minor) << "step " << step;
        });
        EXPECT_EQ(visited, span.Count);
    }
    // The far diagonal crosses the whole picture's diagonal band: 529 visible steps.
    TPixelLine::TSpan span;
    ASSERT_TRUE(TPixelLine::VisibleSpan(-2147483647 - 1, -2147483647 - 1, 2147483647, 2147483647,
                                        clip, span));
    EXPECT_EQ(span.Count, 529);
    EXPECT_EQ(span.X, 0);
    EXPECT_EQ(span.Y, 0);
}

TEST(PixelLineTest, LinesThatMissTheClipPaintNothing) {
    const TRect clip{10, 10, 20, 20};
    TPixelLine::TSpan span;
    EXPECT_FALSE(TPixelLine::VisibleSpan(0, 0, 30, 0, clip, span));    // above
    EXPECT_FALSE(TPixelLine::VisibleSpan(0, 30, 9, 0, clip, span));    // left, slanted
    EXPECT_FALSE(TPixelLine::VisibleSpan(20, 10, 30, 10, clip, span)); // starts on the right edge
    EXPECT_FALSE(TPixelLine::VisibleSpan(15, 0, 15, 10, clip, span));  // ends where it would enter
    EXPECT_FALSE(TPixelLine::VisibleSpan(0, 0, 5, 5, TRect{}, span));  // empty clip
}

TEST(PixelLineTest, PatternsHaveThePlatformRunLengths) {
    const TPixelLine::TPattern dot = TPixelLine::PatternFor(psDot, false);
    EXPECT_EQ(dot.Length, 6u);
    EXPECT_EQ(dot.Mask, 0b000111u);
    const TPixelLine::TPattern alternate = TPixelLine::PatternFor(psDot, true);
    EXPECT_EQ(alternate.Length, 2u);
    EXPECT_EQ(alternate.Mask, 0b01u);
    EXPECT_EQ(TPixelLine::PatternFor(psDash, false).Length, 24u);
    EXPECT_EQ(TPixelLine::PatternFor(psDashDot, false), TPixelLine::MakePattern({9, 6, 3, 6}));
    EXPECT_TRUE(TPixelLine::PatternFor(psSolid, false).IsSolid());
    EXPECT_TRUE(TPixelLine::PatternFor(psInsideFrame, false).IsSolid());
}

TEST(PixelLineTest, RasterOperationsFollowTheirTruthTables) {
    const QRgb pen = qRgb(0xF0, 0x0F, 0x55);
    const QRgb pixel = qRgb(0xCC, 0x33, 0xFF);
    const auto low = [](QRgb c) { return c & 0xFFFFFFu; };
    EXPECT_EQ(low(TPixelLine::ApplyMode(pmCopy, pen, pixel)), low(pen));
    EXPECT_EQ(low(TPixelLine::ApplyMode(pmNop, pen, pixel)), low(pixel));
    EXPECT_EQ(low(TPixelLine::ApplyMode(pmXor, pen, pixel)), low(pen ^ pixel));
    EXPECT_EQ(low(TPixelLine::ApplyMode(pmNotXor, pen, pixel)), low(~(pen ^ pixel)));
    EXPECT_EQ(low(TPixelLine::ApplyMode(pmMask, pen, pixel)), low(pen & pixel));
    EXPECT_EQ(low(TPixelLine::ApplyMode(pmMergePenNot, pen, pixel)), low(pen | ~pixel));
    EXPECT_EQ(low(TPixelLine::ApplyMode(pmBlack, pen, pixel)), 0u);
    EXPECT_EQ(low(TPixelLine::ApplyMode(pmWhite, pen, pixel)), 0xFFFFFFu);
    // Black on white in not-xor gives black, and twice gives white again.
    const QRgb once = TPixelLine::ApplyMode(pmNotXor, qRgb(0, 0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(once, qRgb(0, 0, 0));
    EXPECT_EQ(TPixelLine::ApplyMode(pmNotXor, qRgb(0, 0, 0), once), qRgb(255, 255, 255));
    for (int mode = pmBlack; mode <= pmNotXor; ++mode) {
        EXPECT_EQ(qAlpha(TPixelLine::ApplyMode(static_cast<TPenMode>(mode), pen, pixel)), 255);
    }
}

namespace {

// A small 32-bit picture with a border of untouched pixels round the clip, so that a pixel
// written outside the clip shows.
struct TLinePicture {
    static constexpr std::int32_t Width = 70;
    static constexpr std::int32_t Height = 90;
    std::vector<QRgb> Pixels;

    TLinePicture() : Pixels(static_cast<std::size_t>(Width * Height)) {
        for (std::size_t i = 0; i < Pixels.size(); ++i) {
            // Every pixel different, so that raster operations leave traces of what was there.
            Pixels[i] = 0xFF000000u | static_cast<QRgb>((i * 2654435761u) & 0xFFFFFFu);
        }
    }
    std::uint8_t* Bits() { return reinterpret_cast<std::uint8_t*>(Pixels.data()); }
    QRgb& At(std::int32_t x, std::int32_t y) {
        return Pixels[static_cast<std::size_t>(y * Width + x)];
    }
    QRgb At(std::int32_t x, std::int32_t y) const {
        return Pixels[static_cast<std::size_t>(y * Width + x)];
    }
};

// What a chain of lines must leave in a picture, pixel by pixel from the step-by-step rule: the
// pattern runs on over every step of every line, visible or not.
void ReferenceChain(TLinePicture& picture, const std::vector<TPixel>& chain, const TRect& clip,
                    TPenMode mode, QRgb color, TPixelLine::TPattern pattern, bool opaqueGaps,
                    QRgb gap) {
    std::uint64_t position = 0;
    for (std::size_t i = 1; i < chain.size(); ++i) {
        for (const TPixel& p : ReferenceLine(chain[i - 1].first, chain[i - 1].second,
                                             chain[i].first, chain[i].second)) {
            const bool on = pattern.IsSolid() || pattern.IsOn(position % pattern.Length);
            ++position;
            if (!clip.Contains(p.first, p.second) || (!on && !opaqueGaps)) {
                continue;
            }
            QRgb& pixel = picture.At(p.first, p.second);
            pixel = TPixelLine::ApplyMode(mode, on ? color : gap, pixel);
        }
    }
}

} // namespace

TEST(PixelLineTest, ScanLineDrawingPaintsExactlyTheReferencePixels) {
    // Near-vertical and near-horizontal strokes (the folded wave's), diagonals, axis-parallel
    // lines and lines that cross or miss the clip, chained so that dash patterns run on, in the
    // plain copy, not-xor and another raster operation, solid and dotted with and without
    // opaque gaps. The scan-line routine walks runs of pixels; every pixel must still be the
    // reference's.
    std::mt19937 random(7081);
    std::uniform_int_distribution<std::int32_t> wide(-30, 100);
    std::uniform_int_distribution<std::int32_t> narrow(-2, 2);
    std::uniform_int_distribution<int> shape(0, 3);
    const TRect clip{4, 6, 63, 81};
    struct TPen {
        TPenMode Mode;
        TPixelLine::TPattern Pattern;
        bool OpaqueGaps;
    };
    const TPen pens[] = {
        {pmCopy, {}, false},
        {pmNotXor, {}, false},
        {pmXor, {}, false},
        {pmCopy, TPixelLine::PatternFor(psDot, false), false},
        {pmCopy, TPixelLine::PatternFor(psDashDot, false), true},
        {pmNotXor, TPixelLine::PatternFor(psDot, true), false},
        {pmMerge, TPixelLine::PatternFor(psDash, false), true},
    };
    const QRgb color = qRgb(0xE0, 0x10, 0x20);
    const QRgb gap = qRgb(0x10, 0xF0, 0x30);
    for (int round = 0; round < 300; ++round) {
        std::vector<TPixel> chain{{wide(random), wide(random)}};
        for (int i = 0; i < 12; ++i) {
            const TPixel& last = chain.back();
            switch (shape(random)) {
            case 0: // steep: a column or two across many rows
                chain.emplace_back(last.first + narrow(random), wide(random));
                break;
            case 1: // flat
                chain.emplace_back(wide(random), last.second + narrow(random));
                break;
            case 2: { // diagonal
                const std::int32_t length = wide(random) / 2;
                chain.emplace_back(last.first + length, last.second - length);
                break;
            }
            default:
                chain.emplace_back(wide(random), wide(random));
                break;
            }
        }
        for (const TPen& pen : pens) {
            TLinePicture expected;
            ReferenceChain(expected, chain, clip, pen.Mode, color, pen.Pattern, pen.OpaqueGaps,
                           gap);
            // Line by line, and as one chain (which merges the runs of a solid copy pen).
            TLinePicture drawn;
            TLinePicture chained;
            TPixelLine line;
            line.SetTarget(drawn.Bits(), TLinePicture::Width * 4, clip);
            line.SetPen(color, pen.Mode, pen.Pattern, pen.OpaqueGaps, gap);
            for (std::size_t i = 1; i < chain.size(); ++i) {
                line.Draw(chain[i - 1].first, chain[i - 1].second, chain[i].first, chain[i].second);
            }
            TPixelLine chainLine;
            chainLine.SetTarget(chained.Bits(), TLinePicture::Width * 4, clip);
            chainLine.SetPen(color, pen.Mode, pen.Pattern, pen.OpaqueGaps, gap);
            std::vector<TPoint> points;
            for (std::size_t i = 1; i < chain.size(); ++i) {
                points.push_back({chain[i].first, chain[i].second});
            }
            chainLine.DrawChain({chain[0].first, chain[0].second}, points);
            for (std::int32_t y = 0; y < TLinePicture::Height; ++y) {
                for (std::int32_t x = 0; x < TLinePicture::Width; ++x) {
                    ASSERT_EQ(drawn.At(x, y), expected.At(x, y))
                        << "pixel (" << x << ", " << y << "), round " << round << ", mode "
                        << pen.Mode << ", pattern length " << pen.Pattern.Length;
                    ASSERT_EQ(chained.At(x, y), expected.At(x, y))
                        << "chained, pixel (" << x << ", " << y << "), round " << round
                        << ", mode " << pen.Mode << ", pattern length " << pen.Pattern.Length;
                }
            }
        }
    }
}

namespace {

// Draws a chain with a solid copy pen line by line and as one chain. Returns the picture of
// the single lines, and in difference the first pixel where the chain's picture differs.
TLinePicture DrawBothWays(const std::vector<TPoint>& chain, const TRect& clip,
                          std::string& difference) {
    TLinePicture single;
    TLinePicture chained;
    TPixelLine line;
    line.SetTarget(single.Bits(), TLinePicture::Width * 4, clip);
    line.SetPen(qRgb(9, 8, 7), pmCopy, {}, false, 0);
    for (std::size_t i = 1; i < chain.size(); ++i) {
        line.Draw(chain[i - 1].X, chain[i - 1].Y, chain[i].X, chain[i].Y);
    }
    line.SetTarget(chained.Bits(), TLinePicture::Width * 4, clip);
    line.DrawChain(chain[0], std::span(chain).subspan(1));
    difference.clear();
    for (std::int32_t y = 0; y < TLinePicture::Height && difference.empty(); ++y) {
        for (std::int32_t x = 0; x < TLinePicture::Width && difference.empty(); ++x) {
            if (chained.At(x, y) != single.At(x, y)) {
                difference = "pixel (" + std::to_string(x) + ", " + std::to_string(y) + ")";
            }
        }
    }
    return single;
}

} // namespace

TEST(PixelLineTest, AChainOfStrokesAcrossThe32BitRangePaintsTheirVisibleColumns) {
    // Steep strokes millions of pixels long that cross the picture over a few columns: the
    // chain finds their column runs with the wide arithmetic.
    const TRect clip{3, 4, 60, 75};
    const std::vector<TPoint> chain{{5, -2000000000}, {8, 2000000000}, {9, -2100000000},
                                    {6, 2100000000},  {40, 30},        {41, -1999999999}};
    std::string difference;
    const TLinePicture single = DrawBothWays(chain, clip, difference);
    EXPECT_EQ(difference, "");
    std::int32_t painted = 0;
    for (std::int32_t y = 0; y < TLinePicture::Height; ++y) {
        for (std::int32_t x = 0; x < TLinePicture::Width; ++x) {
            painted += single.At(x, y) == qRgb(9, 8, 7) ? 1 : 0;
        }
    }
    // Three of the strokes cross every row of the clip.
    EXPECT_GE(painted, 3 * (clip.Bottom - clip.Top));
}

TEST(PixelLineTest, AChainSweptIntoRowsPaintsWhatItsLinesPaint) {
    // Chains whose steep lines go from column to column in every way the row sweep knows:
    // a folded wave left to right and right to left, back and forth between two columns,
    // columns skipped, several separate runs in one column, runs that stop sharing rows.
    auto folded = [](std::int32_t from, std::int32_t to) {
        std::vector<TPoint> chain;
        const std::int32_t step = from < to ? 1 : -1;
        for (std::int32_t x = from; x != to; x += step) {
            chain.push_back({x, 40 + (x * 13) % 17});
            chain.push_back({x, 10 + (x * 7) % 11});
        }
        return chain;
    };
    const std::vector<std::vector<TPoint>> chains{
        folded(2, 66),
        folded(66, 2),
        {{10, 5}, {10, 60}, {11, 8}, {10, 70}, {11, 3}, {12, 50}, {11, 20}, {12, 77}},
        {{10, 5}, {10, 30}, {12, 8}, {12, 40}, {15, 10}, {16, 60}, {17, 61}, {18, 2}},
        {{20, 5}, {20, 10}, {25, 10}, {20, 30}, {20, 40}, {21, 12}, {21, 14}, {22, 50}},
        {{30, 5}, {31, 20}, {32, 40}, {33, 60}, {34, 70}, {35, 50}, {36, 30}, {37, 4}},
        {{40, 30}, {40, 31}, {41, 33}, {41, 30}, {42, 29}, {42, 31}, {43, 30}, {43, 30}},
    };
    for (const TRect& clip : {TRect{0, 0, TLinePicture::Width, TLinePicture::Height},
                              TRect{4, 9, 60, 45}}) {
        for (std::size_t c = 0; c < chains.size(); ++c) {
            std::string difference;
            DrawBothWays(chains[c], clip, difference);
            EXPECT_EQ(difference, "") << "chain " << c << ", clip top " << clip.Top;
        }
    }
}

TEST(PixelLineTest, AChainMergesTheRunsOfAColumnOnlyWhereTheyTouch) {
    // A steep line, a flat excursion and a steep line back in the same column, starting 0 to 4
    // rows away from the first, above and below it and in both directions: the rows between
    // the two runs must stay as the single lines leave them.
    const TRect clip{0, 0, TLinePicture::Width, TLinePicture::Height};
    for (std::int32_t gap = 0; gap <= 4; ++gap) {
        for (std::int32_t direction : {1, -1}) {
            const std::int32_t top = 20;
            const std::int32_t bottom = 40;
            const std::int32_t start = direction > 0 ? bottom + gap : top - gap;
            const std::vector<TPoint> chain{{5, direction > 0 ? top : bottom},
                                            {5, direction > 0 ? bottom : top},
                                            {40, 50},
                                            {5, start},
                                            {5, direction > 0 ? 70 : 1},
                                            {6, 30}};
            std::string difference;
            DrawBothWays(chain, clip, difference);
            EXPECT_EQ(difference, "") << "gap " << gap << ", direction " << direction;
        }
    }
}

TEST(PixelLineTest, ALongVerticalRunStopsAtTheClip) {
    // One stroke far longer than the picture: a single run of the scan-line routine, which must
    // end at the clip's last row and leave the rows below untouched.
    TLinePicture picture;
    const TLinePicture untouched;
    const TRect clip{0, 10, TLinePicture::Width, 40};
    TPixelLine line;
    line.SetTarget(picture.Bits(), TLinePicture::Width * 4, clip);
    line.SetPen(qRgb(1, 2, 3), pmCopy, {}, false, 0);
    line.Draw(5, -1000000, 5, 1000000);
    line.Draw(9, 1000000, 10, -1000000);
    for (std::int32_t y = 0; y < TLinePicture::Height; ++y) {
        const bool inside = y >= clip.Top && y < clip.Bottom;
        EXPECT_EQ(picture.At(5, y), inside ? qRgb(1, 2, 3) : untouched.Pixels[y * 70 + 5]) << y;
        // The reversed stroke is y-major with its halfway row at y = 0: left of it x = 10,
        // right of it x = 9, rounding going to the smaller x exactly at the middle.
        const std::int32_t x = y > 0 ? 9 : 10;
        EXPECT_EQ(picture.At(x, y),
                  inside ? qRgb(1, 2, 3) : untouched.Pixels[static_cast<std::size_t>(y * 70 + x)])
            << y;
    }
}

// The band index answers as QRegion does, for a polygon region of one band per row, a region
// of several rectangles in one band, a single rectangle, and again after the region changed.
TEST(PixelLineTest, TheRegionIndexFindsExactlyTheRegionsPixels) {
    const QPolygon slanted({QPoint(5, 2), QPoint(40, 9), QPoint(33, 37), QPoint(2, 30)});
    const std::vector<QRegion> regions = {
        QRegion(slanted),
        QRegion(2, 3, 10, 20) + QRegion(20, 3, 5, 20) + QRegion(30, 10, 8, 4),
        QRegion(7, 7, 1, 1),
        QRegion(),
    };
    TRegionIndex index;
    for (const QRegion& region : regions) {
        index.Assign(region);
        for (std::int32_t y = -1; y < 42; ++y) {
            for (std::int32_t x = -1; x < 42; ++x) {
                ASSERT_EQ(index.Contains(x, y), region.contains(QPoint(x, y)))
                    << x << ", " << y << " of " << region.rectCount() << " rectangles";
            }
        }
        // A rectangle lies inside when nothing of it is left once the region is taken away;
        // shapes inside draw without the test per pixel, so a wrong yes paints outside.
        for (std::int32_t top = -1; top < 40; top += 3) {
            for (std::int32_t left = -1; left < 40; left += 2) {
                for (const auto& [width, height] : {std::pair{1, 1}, {3, 5}, {9, 2}, {4, 14}}) {
                    const QRect rect(left, top, width, height);
                    ASSERT_EQ(index.ContainsRect({left, top, left + width, top + height}),
                              (QRegion(rect) - region).isEmpty())
                        << left << ", " << top << ", " << width << " x " << height;
                }
            }
        }
    }
}
