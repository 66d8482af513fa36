// SPDX-License-Identifier: MIT
// The pure geometry of axis drawing: sides and bands, the placement of label lines, minor
// tick positions, centred grid lines and the overlap test of series labels.
#include <korvatel/axes/AxisLabelLayout.h>
#include <korvatel/axes/AxisLabelSpacing.h>
#include <korvatel/axes/AxisSide.h>
#include <korvatel/axes/AxisTickMarks.h>
#include <korvatel/canvas/ChartCanvas.h>
#include "ChartPrinters.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <vector>

using namespace Korvatel;

namespace {

constexpr TRect Plot{100, 50, 500, 250}; // 400 wide, 200 high

} // namespace

TEST(AxisSideTest, EdgesShrinkingAndPositionPercentBySide) {
    struct Case {
        TAxisSide Side;
        std::int32_t Edge;
        TRect Shrunk;         // by 10
        std::int32_t Outward; // 7 moved outward by 3
        std::int32_t AtHalf;  // the edge moved by 50 % into the rectangle
    };
    const Case cases[] = {
        {asBottom, 250, {100, 50, 500, 240}, 10, 150}, {asTop, 50, {100, 60, 500, 250}, 4, 150},
        {asLeft, 100, {110, 50, 500, 250}, 4, 300},    {asRight, 500, {100, 50, 490, 250}, 10, 300},
        {asDepth, 500, {100, 50, 490, 250}, 10, 300},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.Side));
        EXPECT_EQ(SideEdge(c.Side, Plot), c.Edge);
        TRect rect = Plot;
        ShrinkSide(c.Side, rect, 10);
        EXPECT_EQ(rect, c.Shrunk);
        EXPECT_EQ(MoveOutward(c.Side, 7, 3), c.Outward);
        EXPECT_EQ(ApplyPositionPercent(c.Side, 50, c.Edge, Plot), c.AtHalf);
        EXPECT_EQ(ApplyPositionPercent(c.Side, 0, c.Edge, Plot), c.Edge);
    }
    // Halves go to the even neighbour: 2.5 % of 100 is 2.5, which moves by 2.
    EXPECT_EQ(ApplyPositionPercent(asBottom, 2.5, 100, {0, 0, 10, 100}), 98);
}

TEST(AxisSideTest, AbsurdSizesSaturateInsteadOfWrapping) {
    constexpr std::int32_t Big = std::numeric_limits<std::int32_t>::max();
    TRect rect = Plot;
    ShrinkSide(asTop, rect, Big);
    EXPECT_EQ(rect.Top, Big);
    EXPECT_EQ(MoveOutward(asLeft, -10, Big), std::numeric_limits<std::int32_t>::min());
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(ApplyPositionPercent(asBottom, nan, 250, Plot), 250);
    EXPECT_EQ(ApplyPositionPercent(asRight, 1e300, 0, Plot), -Big);
    EXPECT_EQ(ApplyPositionPercent(asTop, -1e300, -5, Plot),
              std::numeric_limits<std::int32_t>::min());
}

TEST(AxisLabelLayoutTest, AlignmentAndPlacementBySideAndAngle) {
    // Row height 12 (h = 6), reference point (200, 300), one line and two lines. The point
    // given is where the first line is written (after its step).
    struct Case {
        TAxisSide Side;
        std::int32_t Angle;
        std::int32_t Lines;
        std::int32_t Alignment;
        TPoint First;
        TPoint Step;
    };
    const Case cases[] = {
        // Angle 0: hanging below, standing above, right- and left-aligned beside the tick.
        {asBottom, 0, 1, 6, {200, 300}, {0, 12}},
        {asTop, 0, 1, 14, {200, 300}, {0, 12}},
        {asTop, 0, 2, 14, {200, 288}, {0, 12}},
        {asLeft, 0, 1, 2, {200, 294}, {0, 12}},
        {asRight, 0, 1, 0, {200, 294}, {0, 12}},
        {asLeft, 0, 2, 2, {200, 288}, {0, 12}},
        // 90: read upwards.
        {asBottom, 90, 1, 2, {194, 300}, {12, 0}},
        {asTop, 90, 1, 0, {194, 300}, {12, 0}},
        {asLeft, 90, 1, 14, {200, 300}, {12, 0}},
        {asLeft, 90, 2, 14, {188, 300}, {12, 0}},
        {asRight, 90, 1, 6, {200, 300}, {12, 0}},
        {asRight, 90, 2, 6, {200, 300}, {12, 0}},
        // 180: upside down, the rows count backwards.
        {asBottom, 180, 1, 14, {200, 300}, {0, -12}},
        {asBottom, 180, 2, 14, {200, 312}, {0, -12}},
        {asTop, 180, 1, 6, {200, 300}, {0, -12}},
        {asLeft, 180, 1, 0, {200, 306}, {0, -12}},
        {asRight, 180, 1, 2, {200, 306}, {0, -12}},
        // 270: read downwards.
        {asBottom, 270, 1, 0, {206, 300}, {-12, 0}},
        {asTop, 270, 1, 2, {206, 300}, {-12, 0}},
        {asLeft, 270, 1, 6, {200, 300}, {-12, 0}},
        {asRight, 270, 1, 14, {200, 300}, {-12, 0}},
        {asRight, 270, 2, 14, {212, 300}, {-12, 0}},
        // Any other angle: left-top, every line turned about the point itself.
        {asBottom, 45, 2, 0, {200, 300}, {0, 0}},
        {asLeft, 300, 1, 0, {200, 300}, {0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "side " << static_cast<int>(c.Side) << " angle "
                                          << c.Angle << " lines " << c.Lines);
        const TLabelTextLayout layout = LayOutLabelText(c.Side, 200, 300, c.Angle, 12, c.Lines);
        EXPECT_EQ(layout.Alignment, c.Alignment);
        EXPECT_EQ((TPoint{layout.X + layout.StepX, layout.Y + layout.StepY}), c.First);
        EXPECT_EQ((TPoint{layout.StepX, layout.StepY}), c.Step);
        EXPECT_EQ(layout.Rotated, c.Angle != 0);
    }
}

TEST(AxisLabelLayoutTest, LinesAreCountedAndSplitAtCarriageReturns) {
    struct Case {
        std::string Text;
        std::vector<std::string> Lines;
    };
    const Case cases[] = {
        {"", {}},       {"1,000", {"1,000"}}, {"a\rb", {"a", "b"}},
        {"a\r", {"a"}}, {"\r", {""}},         {"a\r\rb", {"a", "", "b"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> lines;
        ForEachLabelLine(c.Text, [&](std::string_view line) { lines.emplace_back(line); });
        EXPECT_EQ(lines, c.Lines) << c.Text;
        EXPECT_EQ(LabelLineCount(c.Text), static_cast<std::int32_t>(c.Lines.size())) << c.Text;
    }
}

TEST(AxisTickMarksTest, LinearMinorTicksFillTheGapsAndRunPastBothEnds) {
    const std::vector<std::int32_t> ticks{100, 200, 300};
    std::vector<std::int32_t> minor;
    LinearMinorTickPositions(ticks, 3, [&](std::int32_t p) { minor.push_back(p); });
    EXPECT_EQ(minor,
              (std::vector<std::int32_t>{75, 325, 50, 350, 25, 375, 175, 150, 125, 275, 250, 225}));

    // Labels come from the top of the range down, so positions may fall; halves of a pixel
    // go to the even neighbour (gap -10 / 4 = -2.5 gives 2, then 5, then 7.5 gives 8).
    minor.clear();
    LinearMinorTickPositions(std::vector<std::int32_t>{110, 100}, 3,
                             [&](std::int32_t p) { minor.push_back(p); });
    EXPECT_EQ(minor, (std::vector<std::int32_t>{112, 98, 115, 95, 118, 92, 102, 105, 108}));

    // One tick has no gap to divide; no count, no minor ticks.
    minor.clear();
    LinearMinorTickPositions(std::vector<std::int32_t>{100}, 3,
                             [&](std::int32_t p) { minor.push_back(p); });
    LinearMinorTickPositions(ticks, 0, [&](std::int32_t p) { minor.push_back(p); });
    LinearMinorTickPositions(ticks, -2, [&](std::int32_t p) { minor.push_back(p); });
    EXPECT_TRUE(minor.empty());
}

TEST(AxisTickMarksTest, LogarithmicMinorTicksStepThroughEachDecade) {
    // A vertical axis from 1 to 1000 on rows 0 to 300: one decade per 100 rows.
    TAxisMapping mapping;
    mapping.SetScale(TAxisScale::Logarithmic);
    mapping.SetRange(1, 1000);
    mapping.SetExtent(0, 300);
    const std::vector<std::int32_t> ticks{mapping.ValueToPixel(1), mapping.ValueToPixel(10),
                                          mapping.ValueToPixel(100)};
    ASSERT_EQ(ticks, (std::vector<std::int32_t>{300, 200, 100}));
    std::vector<std::int32_t> minor;
    LogarithmicMinorTickPositions(ticks, 8, mapping, 10,
                                  [&](std::int32_t p) { minor.push_back(p); });
    // 2, 3, ..., 9 and 20, 30, ..., 90: no positions beyond the end ticks.
    std::vector<std::int32_t> expected;
    for (const double decade : {1.0, 10.0}) {
        for (int k = 2; k <= 9; ++k) {
            expected.push_back(mapping.ValueToPixel(k * decade));
        }
    }
    EXPECT_EQ(minor, expected);

    // Steps above the maximum end the decade early.
    mapping.SetRange(1, 35);
    minor.clear();
    LogarithmicMinorTickPositions(std::vector<std::int32_t>{0, mapping.ValueToPixel(10)}, 8,
                                  mapping, 10, [&](std::int32_t p) { minor.push_back(p); });
    // From 35 (the value at row 0) upwards every step is beyond the maximum.
    EXPECT_TRUE(minor.empty());
}

TEST(AxisTickMarksTest, HugeMinorCountsDrawEachPixelOnceAndFinish) {
    // Counts beyond what one gap can show give every pixel of the gap, in the order the
    // repeated positions would come, but each only once: the same pixels the repeats draw.
    const auto distinctInOrder = [](const std::vector<std::int32_t>& all) {
        std::vector<std::int32_t> seen;
        for (const std::int32_t p : all) {
            if (std::find(seen.begin(), seen.end(), p) == seen.end()) {
                seen.push_back(p);
            }
        }
        return seen;
    };
    const std::vector<std::int32_t> ticks{300, 210, 100};
    for (const std::int32_t count : {4097, 10000}) {
        std::vector<std::int32_t> fast;
        LinearMinorTickPositions(ticks, count, [&](std::int32_t p) { fast.push_back(p); });
        // The reference: every j of the formula, repeats removed.
        std::vector<std::int32_t> reference;
        const double first = (210.0 - 300.0) / (count + 1);
        for (std::int32_t j = 1; j <= count; ++j) {
            const auto e = static_cast<std::int32_t>(std::nearbyint(first * j));
            reference.push_back(300 - e);
            reference.push_back(100 + e);
        }
        for (std::size_t i = 1; i < ticks.size(); ++i) {
            const double gap = static_cast<double>(ticks[i] - ticks[i - 1]) / (count + 1);
            for (std::int32_t j = 1; j <= count; ++j) {
                reference.push_back(ticks[i] - static_cast<std::int32_t>(std::nearbyint(gap * j)));
            }
        }
        EXPECT_EQ(distinctInOrder(fast), distinctInOrder(reference)) << count;
        EXPECT_LE(fast.size(), 2u * 91 + 91 + 111) << count;
    }
    std::vector<std::int32_t> minor;
    LinearMinorTickPositions(ticks, std::numeric_limits<std::int32_t>::max(),
                             [&](std::int32_t p) { minor.push_back(p); });
    EXPECT_EQ(minor.size(), 2u * 91 + 91 + 111); // offset 0 included

    TAxisMapping mapping;
    mapping.SetScale(TAxisScale::Logarithmic);
    mapping.SetRange(1, 1000);
    mapping.SetExtent(0, 300);
    const std::vector<std::int32_t> decades{300, 200, 100};
    // The reference steps through every j as the exact loop does; repeats within a decade
    // are dropped, not those where a decade ends on the pixel where the next one starts.
    std::vector<std::int32_t> reference;
    for (std::size_t i = 1; i < decades.size(); ++i) {
        double value = mapping.PixelToValue(decades[i - 1]);
        const double step = (10 * value - value) / 4098;
        std::vector<std::int32_t> decade;
        for (int j = 1; j <= 4097 && value + step <= 1000; ++j) {
            value += step;
            decade.push_back(mapping.ValueToPixel(value));
        }
        decade.erase(std::unique(decade.begin(), decade.end()), decade.end());
        reference.insert(reference.end(), decade.begin(), decade.end());
    }
    std::vector<std::int32_t> fast;
    LogarithmicMinorTickPositions(decades, 4097, mapping, 10,
                                  [&](std::int32_t p) { fast.push_back(p); });
    EXPECT_EQ(fast, reference);
    // The largest count fills both decades pixel by pixel, each from its own tick.
    fast.clear();
    LogarithmicMinorTickPositions(decades, std::numeric_limits<std::int32_t>::max(), mapping, 10,
                                  [&](std::int32_t p) { fast.push_back(p); });
    std::vector<std::int32_t> rows;
    for (std::int32_t row = 300; row >= 100; --row) {
        rows.push_back(row);
    }
    rows.insert(rows.begin() + 101, 200);
    EXPECT_EQ(fast, rows);
}

TEST(AxisTickMarksTest, CenteredGridLinesRoundHalvesToEven) {
    EXPECT_EQ(CenteredGridPosition(100, 151), 126); // 125.5
    EXPECT_EQ(CenteredGridPosition(100, 149), 124); // 124.5
    EXPECT_EQ(CenteredGridPosition(151, 100), 126);
    EXPECT_EQ(CenteredGridPosition(-3, 0), -2); // -1.5
}

TEST(AxisLabelSpacingTest, LabelsKeepClearOfTheLastOneDrawn) {
    // Size 20 with 10 % separation: half sizes 10 for the first, (20 + 4) / 2 = 12 after it.
    TAxisLabelSpacing spacing(10);
    EXPECT_TRUE(spacing.Admit(100, 20));
    EXPECT_FALSE(spacing.Admit(121, 20)); // 121 - 12 = 109 < 100 + 10
    EXPECT_TRUE(spacing.Admit(122, 20));  // 110 >= 110
    EXPECT_FALSE(spacing.Admit(99, 20));  // tested against 122 now: 99 + 12 > 122 - 12
    EXPECT_TRUE(spacing.Admit(98, 20));   // downwards as well: 110 <= 110

    // Without separation every label is drawn.
    TAxisLabelSpacing all(0);
    EXPECT_TRUE(all.Admit(100, 20));
    EXPECT_TRUE(all.Admit(100, 20));
}

TEST(AxisLabelSpacingTest, NeighboursOverlapOrKeepClearOfEachOther) {
    using Labels = std::vector<TPlacedLabel>;
    // Two labels of 20 touch 20 apart and overlap 19 apart, in either direction; a size of 21
    // reaches half a pixel further.
    EXPECT_FALSE(NeighboursOverlap(Labels{{100, 20}, {120, 20}, {140, 20}}));
    EXPECT_TRUE(NeighboursOverlap(Labels{{100, 20}, {120, 20}, {139, 20}}));
    EXPECT_TRUE(NeighboursOverlap(Labels{{120, 20}, {101, 20}}));
    EXPECT_TRUE(NeighboursOverlap(Labels{{100, 21}, {120, 20}}));
    EXPECT_FALSE(NeighboursOverlap(Labels{{100, 500}}));
    // With 10 % the half sizes are 10, then 12: the second label needs 22 pixels, the third
    // 24 more.
    EXPECT_FALSE(AllKeepClear(Labels{{100, 20}, {120, 20}}, 10));
    EXPECT_TRUE(AllKeepClear(Labels{{100, 20}, {122, 20}, {146, 20}}, 10));
    EXPECT_FALSE(AllKeepClear(Labels{{100, 20}, {122, 20}, {145, 20}}, 10));
}
