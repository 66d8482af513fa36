// SPDX-License-Identifier: MIT
#include <korvatel/canvas/DeviceScale.h>
#include <korvatel/canvas/PixelLine.h>

#include <QImage>
#include <array>
#include <gtest/gtest.h>
#include <random>
#include <set>
#include <span>
#include <utility>
#include <vector>

using namespace Korvatel;

namespace {

using TPixel = std::pair<std::int64_t, std::int64_t>;
using TPixels = std::set<TPixel>;
__extension__ typedef __int128 TWide;

// The rule of a line at a device scale s = P / Q, written from its definition pixel by pixel in
// exact integers: a device pixel belongs to the line when its centre lies, along the major
// axis, among the device pixels of the line's logical pixels (start in, end out) and, across,
// among the first round(s) (at least one) whose centres lie at or after half a logical pixel
// before the course through the logical pixels' centres.
TPixels ReferenceLine(const TDeviceScale& scale, std::int64_t x0, std::int64_t y0, std::int64_t x1,
                      std::int64_t y1, const TRect& clip) {
    const TWide p = scale.Numerator();
    const TWide q = scale.Denominator();
    const bool xMajor = std::abs(x1 - x0) >= std::abs(y1 - y0);
    const TWide m0 = xMajor ? x0 : y0;
    const TWide m1 = xMajor ? x1 : y1;
    const TWide n0 = xMajor ? y0 : x0;
    const TWide minorDelta = xMajor ? y1 - y0 : x1 - x0;
    const TWide d = m1 > m0 ? m1 - m0 : m0 - m1;
    const TWide sign = m1 > m0 ? 1 : -1;
    const TWide width = std::max<TWide>(1, (2 * p + q) / (2 * q));
    // The major extent: logical edges from the start pixel to the end pixel, times 2 P.
    const TWide low = sign > 0 ? 2 * p * m0 : 2 * p * (m1 + 1);
    const TWide high = sign > 0 ? 2 * p * m1 : 2 * p * (m0 + 1);
    TPixels pixels;
    for (std::int64_t y = clip.Top; y < clip.Bottom; ++y) {
        for (std::int64_t x = clip.Left; x < clip.Right; ++x) {
            const TWide c = xMajor ? x : y;
            const TWide j = xMajor ? y : x;
            if (q * (2 * c + 1) < low || q * (2 * c + 1) >= high) {
                continue;
            }
            // The course at the centre of c, times 2 Q d.
            const TWide course =
                p * d * (2 * n0 + 1) + minorDelta * sign * (q * (2 * c + 1) - p * (2 * m0 + 1));
            const TWide centre = (2 * j + 1) * q * d;
            if (centre >= course - p * d && centre < course - p * d + width * 2 * q * d) {
                pixels.emplace(x, y);
            }
        }
    }
    return pixels;
}

TPixels SpanPixels(const TDeviceScale& scale, std::int32_t x0, std::int32_t y0, std::int32_t x1,
                   std::int32_t y1, const TRect& clip) {
    TPixels pixels;
    TPixelLine::TWideSpan span;
    if (TPixelLine::VisibleWideSpan(x0, y0, x1, y1, scale, clip, span)) {
        TPixelLine::WalkWide(span, [&](std::int64_t major, std::int64_t low, std::int32_t width,
                                       std::int64_t) {
            for (std::int64_t across = low; across < low + width; ++across) {
                const TPixel pixel = span.XMajor ? TPixel{major, across} : TPixel{across, major};
                if (clip.Contains(static_cast<std::int32_t>(pixel.first),
                                  static_cast<std::int32_t>(pixel.second))) {
                    pixels.insert(pixel);
                }
            }
        });
    }
    return pixels;
}

// A line routine drawing into a white image of a scale.
struct TWideImage {
    TWideImage(double ratio, int width, int height, TPixelLine::TPattern pattern = {})
        : Image(width, height, QImage::Format_RGB32) {
        Image.fill(Qt::white);
        Line.SetScale(TDeviceScale::FromRatio(ratio));
        Line.SetTarget(Image.bits(), Image.bytesPerLine(), {0, 0, width, height});
        Line.SetPen(qRgb(255, 0, 0), pmCopy, pattern, false, 0);
    }
    TPixels Red() const {
        TPixels pixels;
        for (int y = 0; y < Image.height(); ++y) {
            for (int x = 0; x < Image.width(); ++x) {
                if (Image.pixel(x, y) == qRgb(255, 0, 0)) {
                    pixels.emplace(x, y);
                }
            }
        }
        return pixels;
    }
    QImage Image;
    TPixelLine Line;
};

const double Ratios[] = {1.0, 1.25, 1.5, 1.75, 2.0, 3.0, 6.25};

} // namespace

TEST(WideLineTest, SpansFollowTheRuleAtEveryScaleInsideAnyClip) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> coordinate(-12, 40);
    for (const double ratio : Ratios) {
        const TDeviceScale scale = TDeviceScale::FromRatio(ratio);
        for (int i = 0; i < 300; ++i) {
            const int x0 = coordinate(random), y0 = coordinate(random);
            const int x1 = coordinate(random), y1 = coordinate(random);
            const int left = coordinate(random) * 3, top = coordinate(random) * 3;
            const TRect clip{left, top, left + 70, top + 60};
            SCOPED_TRACE(testing::Message()
                         << "ratio " << ratio << ": (" << x0 << ", " << y0 << ") to (" << x1 << ", "
                         << y1 << ") in (" << left << ", " << top << ")");
            ASSERT_EQ(SpanPixels(scale, x0, y0, x1, y1, clip),
                      ReferenceLine(scale, x0, y0, x1, y1, clip));
        }
        // Lines between the far ends of the 32-bit range cost only their visible part, and
        // their arithmetic does not overflow.
        constexpr std::int32_t Low = INT32_MIN;
        constexpr std::int32_t High = INT32_MAX;
        const TRect clip{-30, -30, 40, 40};
        for (const auto& [x0, y0, x1, y1] :
             {std::array{Low, Low, High, High}, std::array{High, Low + 5, Low, High - 7},
              std::array{Low, 3, High, 3}, std::array{5, High, 4, Low}}) {
            SCOPED_TRACE(testing::Message() << "ratio " << ratio << ": (" << x0 << ", " << y0
                                            << ") to (" << x1 << ", " << y1 << ")");
            ASSERT_EQ(SpanPixels(scale, x0, y0, x1, y1, clip),
                      ReferenceLine(scale, x0, y0, x1, y1, clip));
        }
    }
}

TEST(WideLineTest, ChainsPaintWhatTheirLinesPaint) {
    // A chain running up and down between neighbouring columns, as a folded wave does, and
    // random strokes, swept into rows.
    std::mt19937 random(11);
    std::uniform_int_distribution<int> row(-5, 75);
    for (const double ratio : {2.0, 3.0, 1.5}) {
        std::vector<TPoint> points;
        for (int x = -3; x < 60; ++x) {
            points.push_back({x, row(random)});
            points.push_back({x + (x % 3 == 0 ? 1 : 0), row(random)});
        }
        TWideImage chain(ratio, 150, 150);
        TWideImage lines(ratio, 150, 150);
        const TPoint start{-2, 30};
        chain.Line.DrawChain(start, points);
        TPoint from = start;
        for (const TPoint& to : points) {
            lines.Line.Draw(from.X, from.Y, to.X, to.Y);
            from = to;
        }
        SCOPED_TRACE(testing::Message() << "ratio " << ratio);
        EXPECT_EQ(chain.Red(), lines.Red());
        EXPECT_GT(chain.Red().size(), 1000u);
    }
}

TEST(WideLineTest, DashesCountLogicalPixels) {
    // The dotted pen's three pixels on and three off become six device pixels each at ratio
    // 2, continuing from one line to the next.
    TWideImage dots(2.0, 60, 8, TPixelLine::PatternFor(psDot, false));
    dots.Line.Draw(0, 1, 5, 1);
    dots.Line.Draw(5, 1, 12, 1);
    for (int x = 0; x < 24; ++x) {
        const bool on = (x / 6) % 2 == 0;
        EXPECT_EQ(dots.Image.pixel(x, 2) == qRgb(255, 0, 0), on) << "column " << x;
        EXPECT_EQ(dots.Image.pixel(x, 3), dots.Image.pixel(x, 2)) << "column " << x;
    }
}

TEST(WideLineTest, OnePixelLinesTakeOneWidthAtEveryScale) {
    // Lines along successive logical rows and columns: each the same number of device pixels
    // across, from the first device pixel of its logical one; at a whole scale just the device
    // pixels of the logical one, as before.
    struct Row {
        double Ratio;
        std::int64_t Width;
    };
    for (const Row& row : {Row{1.0, 1}, Row{1.25, 1}, Row{1.5, 2}, Row{1.75, 2}, Row{2.0, 2},
                           Row{2.5, 3}, Row{3.0, 3}, Row{0.5, 1}}) {
        const TDeviceScale scale = TDeviceScale::FromRatio(row.Ratio);
        for (int at = 0; at < 7; ++at) {
            SCOPED_TRACE(testing::Message() << "ratio " << row.Ratio << ", pixel " << at);
            TWideImage horizontal(row.Ratio, 40, 40);
            TWideImage vertical(row.Ratio, 40, 40);
            horizontal.Line.Draw(0, at, 12, at);
            vertical.Line.Draw(at, 12, at, 0);
            std::set<std::int64_t> rows;
            std::set<std::int64_t> columns;
            for (const TPixel& pixel : horizontal.Red()) {
                rows.insert(pixel.second);
            }
            for (const TPixel& pixel : vertical.Red()) {
                columns.insert(pixel.first);
            }
            std::set<std::int64_t> expected;
            for (std::int64_t i = 0; i < row.Width; ++i) {
                expected.insert(scale.Edge(at) + i);
            }
            EXPECT_EQ(rows, expected);
            EXPECT_EQ(columns, expected);
            if (scale.IsWhole()) {
                EXPECT_EQ(scale.Edge(at) + row.Width, scale.Edge(at + 1));
            }
        }
    }
}
