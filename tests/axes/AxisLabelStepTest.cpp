// SPDX-License-Identifier: MIT
#include <korvatel/axes/AxisLabelStep.h>

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <span>
#include <vector>

using namespace Korvatel;

namespace {

constexpr double Infinity = std::numeric_limits<double>::infinity();
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// Label size and pixel length giving room for exactly n labels with the default separation
// of 10 %: a 20-pixel label needs 22 pixels.
TLabelStepInputs RoomFor(std::int32_t n, double range, double increment) {
    TLabelStepInputs inputs;
    inputs.LabelSize = 20;
    inputs.PixelLength = 22 * n;
    inputs.EffectiveRange = range;
    inputs.Increment = increment;
    return inputs;
}

} // namespace

TEST(AxisLabelStepTest, NextRoundStepClimbsTheOneTwoFiveLadder) {
    struct Row {
        double x;
        double expected;
    };
    const Row rows[] = {{1, 2},     {1.5, 2},   {2, 5},      {3, 5},   {4.99, 5},  {5, 10},
                        {9.99, 10}, {10, 20},   {15, 20},    {20, 50}, {70, 100},  {100, 200},
                        {0.1, 0.2}, {0.3, 0.5}, {0.05, 0.1}, {0.7, 1}, {1e6, 2e6}, {3e-7, 5e-7}};
    for (const Row& row : rows) {
        EXPECT_DOUBLE_EQ(NextRoundStep(row.x), row.expected) << row.x;
    }
}

TEST(AxisLabelStepTest, NextRoundStepStaysDefinedOutsideItsDomain) {
    EXPECT_EQ(NextRoundStep(0), MinLabelStep);
    EXPECT_EQ(NextRoundStep(-3), MinLabelStep);
    EXPECT_EQ(NextRoundStep(NaN), MinLabelStep);
    EXPECT_EQ(NextRoundStep(Infinity), Infinity);
    // The largest doubles climb to infinity rather than looping.
    EXPECT_EQ(NextRoundStep(std::numeric_limits<double>::max()), Infinity);
    // Subnormal values lose the precision of the ladder but still climb.
    for (const double tiny : {std::numeric_limits<double>::denorm_min(), 9.8813129168249309e-323,
                              9.9999998365971443e-317}) {
        EXPECT_GT(NextRoundStep(tiny), tiny) << tiny;
    }
    // Twelve multiplications by 10 leave 1e-12 just below 1: its climb barely moves it.
    EXPECT_DOUBLE_EQ(NextRoundStep(1e-12), 1e-12);
    EXPECT_DOUBLE_EQ(NextRoundStep(NextRoundStep(1e-12)), 2e-12);
}

TEST(AxisLabelStepTest, MaxLabelCountFromLabelSizeAndSeparation) {
    struct Row {
        std::int32_t labelSize;
        std::int32_t separation;
        std::int32_t pixelLength;
        std::int32_t expected;
    };
    const Row rows[] = {
        {0, 10, 800, 1},                  // nothing to measure: one label
        {-4, 10, 800, 1},                 // likewise
        {20, 10, 660, 30},                // 20 + 2 = 22 pixels per label
        {20, 0, 660, 33},                 // no separation
        {40, 10, 1200, 27},               // 1200 / 44 = 27.27
        {20, 50, 75, 2},                  // 30 pixels per label: 2.5 goes to the even 2
        {20, 50, 105, 4},                 // 3.5 goes to 4
        {5, 50, 100, 14},                 // 5 + nearest(2.5) = 7: 100 / 7 = 14.3
        {20, 10, 0, 0},                   // no room at all
        {20, 10, -220, -10},              // reversed axis
        {1, 2147483647, 2147483647, 100}, // 1 + 21474836 pixels, formed without overflow
    };
    for (const Row& row : rows) {
        EXPECT_EQ(MaxLabelCount(row.labelSize, row.separation, row.pixelLength), row.expected)
            << row.labelSize << " " << row.separation << " " << row.pixelLength;
    }
}

TEST(AxisLabelStepTest, ComputeLabelStepClimbsUntilTheLabelsFit) {
    struct Row {
        const char* name;
        TLabelStepInputs inputs;
        double expected;
    };
    TLabelStepInputs noSeparation = RoomFor(29, 1000, 0);
    noSeparation.LabelsSeparation = 0;
    TLabelStepInputs noRoom = RoomFor(29, 1000, 0);
    noRoom.PixelLength = 10;
    TLabelStepInputs noRoomDateTime = noRoom;
    noRoomDateTime.DateTime = true;
    const Row rows[] = {
        // Left axis of the main window: 10, 20, 50, 100 (2000 / 100 = 20 labels).
        {"left axis", RoomFor(30, 2000, 10), 100},
        {"left axis, room for 100", RoomFor(100, 2000, 10), 20},
        {"left axis, room for 40", RoomFor(40, 2000, 10), 50},
        // Bottom axis: 1, 2, 5, 10, 20, 50 (1000 / 50 = 20 labels).
        {"bottom axis", RoomFor(29, 1000, 0), 50},
        {"bottom axis, room for 10", RoomFor(10, 1000, 0), 100},
        {"separation 0 keeps the start step", noSeparation, 1},
        {"increment that already fits", RoomFor(100, 100, 3), 3},
        {"increment between rungs", RoomFor(10, 100, 3), 10},
        {"increment above the range", RoomFor(10, 100, 500), 500},
        {"no room: smallest step", noRoom, MinLabelStep},
        {"no room on a date-time axis: one second", noRoomDateTime, OneSecond},
        {"reversed range fits at once", RoomFor(10, -1000, 0), 1},
        {"empty range", RoomFor(10, 0, 0), MinLabelStep},
    };
    for (const Row& row : rows) {
        EXPECT_DOUBLE_EQ(ComputeLabelStep(row.inputs), row.expected) << row.name;
    }
}

TEST(AxisLabelStepTest, SmallRangesStartTheLadderAtTheSmallestStep) {
    // 0.5 / 0.05 = 10 labels; 0.5 / 0.1 = 5.
    EXPECT_NEAR(ComputeLabelStep(RoomFor(10, 0.5, 0)), 0.05, 1e-15);
    EXPECT_NEAR(ComputeLabelStep(RoomFor(5, 0.5, 0)), 0.1, 1e-15);
    EXPECT_NEAR(ComputeLabelStep(RoomFor(4, 0.5, 0)), 0.2, 1e-15);
    // A range of 1e-9 climbs from 1e-12 through counts too large for 32 bits.
    EXPECT_NEAR(ComputeLabelStep(RoomFor(10, 1e-9, 0)), 1e-10, 1e-24);
}

TEST(AxisLabelStepTest, RangesThatAreNotFiniteEndTheClimb) {
    for (const double range : {Infinity, -Infinity, NaN}) {
        EXPECT_EQ(ComputeLabelStep(RoomFor(10, range, 0)), Infinity) << range;
    }
    // So does a subnormal Increment, whose first rungs lose all precision.
    EXPECT_DOUBLE_EQ(ComputeLabelStep(RoomFor(10, 1000, 1e-320)), 100);
    // A huge but finite range still finds a finite rung.
    EXPECT_DOUBLE_EQ(ComputeLabelStep(RoomFor(10, 1e300, 0)), 1e299);
}

TEST(AxisLabelStepTest, DateTimeStepWalksTheStepTable) {
    struct Row {
        const char* name;
        double increment;
        double range;
        std::int32_t maxLabels;
        double expected;
    };
    const Row rows[] = {
        {"ten days in ten labels", 0, 10, 10, 1},
        {"one hour in six labels", 0, 1.0 / 24, 6, 600.0 / 86400},
        {"one minute in four labels", 0, 60.0 / 86400, 4, 15.0 / 86400},
        {"a day fits at once", 0, 1.0 / 86400, 3, 1.0 / 86400},
        {"increment is the start", 7, 70, 10, 7},
        {"increment between entries", 5, 100, 10, 15},
        {"two years: table ends at a year", 0, 730, 2, 365},
        {"ten years: then doubling", 0, 3652, 5, 730},
        {"forty years", 0, 14610, 5, 2920},
        {"increment below one second", 1e-9, 10.0 / 86400, 20, 1.0 / 86400},
        // 1e7 days in steps of one second would be 8.64e11 steps: the start becomes 10 days.
        {"very many seconds", 0, 1e7, 100000, 120},
    };
    for (const Row& row : rows) {
        EXPECT_DOUBLE_EQ(DateTimeLabelStep(row.increment, row.range, row.maxLabels), row.expected)
            << row.name;
    }
    TLabelStepInputs inputs = RoomFor(10, 10, 0);
    inputs.DateTime = true;
    EXPECT_DOUBLE_EQ(ComputeLabelStep(inputs), 1);
    EXPECT_DOUBLE_EQ(DateTimeLabelStep(0, NaN, 10), OneSecond);
    EXPECT_EQ(DateTimeLabelStep(0, Infinity, 10), Infinity);
}

TEST(AxisLabelStepTest, OverlappingLabelsClimbUntilTheyKeepClear) {
    // Labels from 0 to 1 at 1000 pixels per unit, 10 pixels wide at the ends and wider in
    // between.
    std::vector<TPlacedLabel> labels;
    const auto placeWith = [&](std::int32_t inner) -> TPlaceLabels {
        return [&labels, inner](double step) {
            labels.clear();
            const auto last = std::lround(1 / step);
            for (long k = 0; k <= last; ++k) {
                labels.push_back({static_cast<std::int32_t>(std::lround(k * step * 1000)),
                                  k == 0 || k == last ? 10 : inner});
            }
            return std::span<const TPlacedLabel>(labels);
        };
    };
    const TPlaceLabels place = placeWith(30);
    // 50 apart, labels of 30 do not overlap: the step stays, although 100 % asks for 90.
    EXPECT_EQ(SeparatedLabelStep(0.05, false, 100, place), 0.05);
    // 20 apart they do; 0.05 is not clear by 100 % either, 0.1 is. With 10 %, 0.05 is.
    EXPECT_DOUBLE_EQ(SeparatedLabelStep(0.02, false, 100, place), 0.1);
    EXPECT_DOUBLE_EQ(SeparatedLabelStep(0.02, false, 10, place), 0.05);
    // Date-time steps climb the step table: one hour, two hours, six hours.
    EXPECT_DOUBLE_EQ(SeparatedLabelStep(1.0 / 24, true, 100, placeWith(50)), 0.25);
}

TEST(AxisLabelStepTest, TruncToStepIgnoresTheRoundingOfTheQuotient) {
    struct Row {
        double value;
        double step;
        double expected;
    };
    const Row rows[] = {
        {0.3, 0.1, 0.3}, // 0.3 / 0.1 is 2.9999999999999996
        {0.5, 0.1, 0.5}, // 4.99999999999999972 in extended precision
        {0.29, 0.1, 0.2}, {-0.3, 0.1, -0.3},  {-0.29, 0.1, -0.2}, // toward zero
        {1000, 50, 1000}, {1049.9, 50, 1000}, {1e20, 1e-12, 1e20}, {0, 0.1, 0},
    };
    for (const Row& row : rows) {
        EXPECT_NEAR(TruncToStep(row.value, row.step), row.expected, 1e-15 * std::fabs(row.expected))
            << row.value << " / " << row.step;
    }
}

TEST(AxisLabelStepTest, MeasureBoundsAreMultiplesOfTheStepWhenRounded) {
    const TLabelBounds rounded = LabelMeasureBounds(-987, 1234, 100, true);
    EXPECT_DOUBLE_EQ(rounded.Low, -900); // truncated toward zero
    EXPECT_DOUBLE_EQ(rounded.High, 1200);
    const TLabelBounds plain = LabelMeasureBounds(-987, 1234, 100, false);
    EXPECT_DOUBLE_EQ(plain.Low, -987);
    EXPECT_DOUBLE_EQ(plain.High, 1234);
}
