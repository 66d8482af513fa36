// SPDX-License-Identifier: MIT
#include <korvatel/axes/AxisRange.h>

#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <limits>

using namespace Korvatel;

namespace {

constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Huge = std::numeric_limits<double>::max();

TAxisMapping Mapping(double minimum, double maximum, std::int32_t start, std::int32_t end,
                     bool horizontal, bool inverted = false) {
    TAxisMapping mapping;
    mapping.SetRange(minimum, maximum);
    mapping.SetExtent(start, end);
    mapping.SetHorizontal(horizontal);
    mapping.SetInverted(inverted);
    return mapping;
}

// The bottom axis 0 to 1000 over columns 100 to 900 (0.8 pixels per unit) and the left axis
// -1000 to 1000 over rows 40 to 440 (0.2 pixels per unit).
const TAxisMapping Bottom = Mapping(0, 1000, 100, 900, true);
const TAxisMapping Left = Mapping(-1000, 1000, 40, 440, false);

} // namespace

TEST(AxisRangeTest, OrderedRangePutsTheSmallerValueFirst) {
    EXPECT_EQ(OrderedRange(2, 10), (TAxisRange{2, 10}));
    EXPECT_EQ(OrderedRange(10, 2), (TAxisRange{2, 10}));
    EXPECT_EQ(OrderedRange(-5, -5), (TAxisRange{-5, -5}));
}

TEST(AxisRangeTest, OnlyFiniteLimitsMakeARange) {
    EXPECT_TRUE(IsFiniteRange({-Huge, Huge}));
    EXPECT_FALSE(IsFiniteRange({0, Inf}));
    EXPECT_FALSE(IsFiniteRange({-Inf, 0}));
    EXPECT_FALSE(IsFiniteRange({NaN, 1}));
}

TEST(AxisRangeTest, TheEdgesOfAZoomRectangleSelectTheValuesAtTheirPixels) {
    struct Row {
        const char* name;
        TAxisMapping mapping;
        std::int32_t first;
        std::int32_t second;
        TAxisRange expected;
    };
    const Row rows[] = {
        // Columns 300 and 500: (300 - 100) / 0.8 and (500 - 100) / 0.8.
        {"columns", Bottom, 300, 500, {250, 500}},
        // A vertical axis grows upwards: the lower row 350 is the smaller value.
        {"rows", Left, 350, 200, {-550, 200}},
        {"rows either way", Left, 200, 350, {-550, 200}},
        // Inverted, the left column is the larger value; the range is still ordered.
        {"inverted", Mapping(0, 1000, 100, 900, true, true), 300, 500, {500, 750}},
        {"the whole axis", Bottom, 100, 900, {0, 1000}},
        // An axis shorter than a pixel maps every pixel to 0.
        {"no extent", Mapping(0, 1000, 100, 100, true), 300, 500, {0, 0}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(RangeBetweenPixels(row.mapping, row.first, row.second), row.expected) << row.name;
    }
}

TEST(AxisRangeTest, AnAnimatedZoomStepCoversAThirdOfTheRemainingWay) {
    const TAxisRange step = AnimatedZoomStep({0, 1000}, {300, 600}, 3.0);
    EXPECT_DOUBLE_EQ(step.Minimum, 100);
    EXPECT_DOUBLE_EQ(step.Maximum, 1000 - 400.0 / 3);
    // The target of an inverted axis arrives high value first; it moves the same way.
    EXPECT_EQ(AnimatedZoomStep({0, 1000}, {600, 300}, 3.0), step);
    // Zooming out moves outwards.
    const TAxisRange out = AnimatedZoomStep({300, 600}, {0, 1200}, 3.0);
    EXPECT_DOUBLE_EQ(out.Minimum, 200);
    EXPECT_DOUBLE_EQ(out.Maximum, 800);
}

TEST(AxisRangeTest, SevenStepsLeaveTwoThirdsToTheSeventhOfTheWay) {
    TAxisRange range{0, 1000};
    const TAxisRange target{300, 600};
    for (int i = 0; i < 7; ++i) {
        const TAxisRange next = AnimatedZoomStep(range, target, 3.0);
        // Every step moves both limits towards the target and never past it.
        EXPECT_GT(next.Minimum, range.Minimum);
        EXPECT_LT(next.Minimum, target.Minimum);
        EXPECT_LT(next.Maximum, range.Maximum);
        EXPECT_GT(next.Maximum, target.Maximum);
        range = next;
    }
    const double left = std::pow(2.0 / 3.0, 7);
    EXPECT_NEAR(range.Minimum, 300 - 300 * left, 1e-9);
    EXPECT_NEAR(range.Maximum, 600 + 400 * left, 1e-9);
}

TEST(AxisRangeTest, AScrollMovesBothLimitsByTheValueOfTheMouseDistance) {
    struct Row {
        const char* name;
        TAxisMapping mapping;
        TAxisRange range;
        std::int32_t current;
        std::int32_t last;
        TAxisRange expected;
    };
    const Row rows[] = {
        // 50 columns are 62.5 units; the data follows the mouse, so the range moves the other
        // way.
        {"left", Bottom, {0, 1000}, 450, 500, {62.5, 1062.5}},
        {"right", Bottom, {0, 1000}, 550, 500, {-62.5, 937.5}},
        // 50 rows are 250 units; dragging down shows higher values.
        {"down", Left, {-1000, 1000}, 250, 200, {-750, 1250}},
        {"up", Left, {-1000, 1000}, 150, 200, {-1250, 750}},
        {"still", Bottom, {0, 1000}, 500, 500, {0, 1000}},
        // The mapping of the last repaint measures the distance; the range is the axis's
        // current one, which may already have moved since.
        {"since the repaint", Bottom, {62.5, 1062.5}, 400, 450, {125, 1125}},
        // Inverted, the values grow to the left and the scroll turns round with them.
        {"inverted", Mapping(0, 1000, 100, 900, true, true), {0, 1000}, 450, 500, {-62.5, 937.5}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(ScrolledRange(row.range, row.mapping, row.current, row.last), row.expected)
            << row.name;
    }
}

TEST(AxisRangeTest, AScrollThereAndBackReturnsTheRange) {
    TAxisRange range{0, 1000};
    for (std::int32_t x = 499; x >= 450; --x) {
        range = ScrolledRange(range, Bottom, x, x + 1);
    }
    EXPECT_NEAR(range.Minimum, 62.5, 1e-9);
    for (std::int32_t x = 451; x <= 500; ++x) {
        range = ScrolledRange(range, Bottom, x, x - 1);
    }
    EXPECT_NEAR(range.Minimum, 0, 1e-9);
    EXPECT_NEAR(range.Maximum, 1000, 1e-9);
}

TEST(AxisRangeTest, AScrollBeyondTheDoubleRangeIsNotFinite) {
    // Two pixels span the largest double: a step to the left shifts by all of it.
    const TAxisMapping wide = Mapping(0, Huge, 0, 2, true);
    EXPECT_FALSE(IsFiniteRange(ScrolledRange({Huge / 2, Huge}, wide, 0, 2)));
}

TEST(AxisRangeTest, AWheelStepIsThreePercentOfTheRange) {
    EXPECT_DOUBLE_EQ(WheelScrollOffset({-1000, 1000}, true), 60);
    EXPECT_DOUBLE_EQ(WheelScrollOffset({-1000, 1000}, false), -60);
    EXPECT_DOUBLE_EQ(WheelScrollOffset({10, 20}, true), 0.3);
    EXPECT_EQ(WheelScrollOffset({5, 5}, true), 0);
    // A range as wide as a quarter of the largest double still gives a finite step.
    EXPECT_TRUE(std::isfinite(WheelScrollOffset({-Huge / 8, Huge / 8}, true)));
}
