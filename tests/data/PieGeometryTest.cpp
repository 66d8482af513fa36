// SPDX-License-Identifier: MIT
#include <korvatel/data/PieGeometry.h>

#include "ChartPrinters.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <numbers>
#include <vector>

using namespace Korvatel;

namespace {

constexpr double Pi = std::numbers::pi;
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// Four values from 90 degrees on a circle of radius 20 round (50, 50): the third has no slice
// and the last counts by its magnitude, so the slices take 1, 3, 0 and 4 eighths of the turn.
const std::vector<double> Values = {1, 3, NaN, -4};
const TPieCircle Circle{{50, 50}, 20};

std::vector<TPieSlice> Slices(const std::vector<std::int32_t>& explodes = {0, 0, 0, 0}) {
    return PieSlices(Values, 90, explodes, Circle, 5);
}

} // namespace

TEST(PieGeometry, AnglesAreSharesOfTheMagnitudesFromTheRotation) {
    const std::vector<TPieSlice> slices = Slices();
    const double expected[][2] = {{Pi / 2, Pi * 3 / 4},
                                  {Pi * 3 / 4, Pi * 3 / 2},
                                  {Pi * 3 / 2, Pi * 3 / 2},
                                  {Pi * 3 / 2, Pi * 5 / 2}};
    for (std::size_t i = 0; i < slices.size(); ++i) {
        EXPECT_NEAR(slices[i].StartAngle, expected[i][0], 1e-12) << i;
        EXPECT_NEAR(slices[i].EndAngle, expected[i][1], 1e-12) << i;
    }
    EXPECT_TRUE(slices[2].Empty());
    // The mark of the first slice leaves the rim at 112.5 degrees.
    EXPECT_EQ(slices[0].MarkFrom, (TPoint{42, 32}));
    EXPECT_EQ(slices[0].MarkTo, (TPoint{40, 27}));

    // A lone value is the whole circle; a pie of zeros has no slice at all.
    EXPECT_TRUE(PieSlices(std::vector<double>{0, -7, 0}, 0, {}, Circle, 5)[1].Whole());
    for (const TPieSlice& slice : PieSlices(std::vector<double>{0, 0}, 0, {}, Circle, 5)) {
        EXPECT_TRUE(slice.Empty());
    }
}

TEST(PieGeometry, ExplodedSlicesMoveOutAlongTheirMiddle) {
    const std::vector<std::int32_t> explodes =
        PieExplodes(Values, 20, std::vector<std::int32_t>{0, 10});
    EXPECT_EQ(explodes, (std::vector<std::int32_t>{0, 10, 0, 20}));
    EXPECT_EQ(PieExplodes(Values, 20, std::vector<std::int32_t>{0, 0, 0, 30})[3], 30);
    const std::vector<TPieSlice> slices = Slices(explodes);
    // The largest slice lies round 360 degrees: 20 % of the radius to the right.
    EXPECT_EQ(slices[3].Centre, (TPoint{54, 50}));
    EXPECT_EQ(slices[3].MarkFrom, (TPoint{74, 50}));
    EXPECT_EQ(SliceAtPixel(slices, 20, {74, 50}), 3);
    EXPECT_EQ(SliceAtPixel(slices, 20, {75, 50}), -1);
    // The first slice runs from 90 to 135 degrees, the second on to 270.
    EXPECT_EQ(SliceAtPixel(slices, 20, {41, 45}), 1);
    EXPECT_EQ(SliceAtPixel(slices, 20, {49, 40}), 0);
}

TEST(PieGeometry, TheCircleFitsItsRoomAndOutlinesMeetOnSharedEdges) {
    EXPECT_EQ(FitPieCircle({0, 0, 101, 61}, 0, 0, 0), (TPieCircle{{50, 30}, 30}));
    EXPECT_EQ(FitPieCircle({0, 0, 101, 61}, 0, 10, 25), (TPieCircle{{50, 30}, 16}));
    // Marks never leave less than a third of the radius.
    EXPECT_EQ(FitPieCircle({0, 0, 101, 61}, 0, 28, 0).Radius, 10);

    const std::vector<TPieSlice> slices = Slices();
    const std::vector<TPoint> first = SliceOutline(slices[0], 20);
    const std::vector<TPoint> second = SliceOutline(slices[1], 20);
    EXPECT_EQ(first.front(), Circle.Centre);
    EXPECT_EQ(first[1], (TPoint{50, 30}));
    EXPECT_EQ(first.back(), second[1]);
    // A whole circle: no centre, no point twice in a row (round the end too), every point
    // on the rim.
    TPieSlice whole = slices[3];
    whole.EndAngle = whole.StartAngle + 2 * Pi;
    for (const std::int32_t radius : {1, 2, 3, 20}) {
        const std::vector<TPoint> circle = SliceOutline(whole, radius);
        ASSERT_GE(circle.size(), 4u);
        for (std::size_t i = 0; i < circle.size(); ++i) {
            EXPECT_NE(circle[i], circle[(i + 1) % circle.size()]) << radius;
            EXPECT_NEAR(std::hypot(circle[i].X - 50, circle[i].Y - 50), radius, 0.75);
        }
    }

    // A sliver of a slice whose arc ends on the pixel it starts on.
    TPieSlice sliver = slices[0];
    sliver.EndAngle = sliver.StartAngle + 0.01;
    EXPECT_EQ(SliceOutline(sliver, 20), (std::vector<TPoint>{{50, 50}, {50, 30}}));

    // A mark box stands beyond its arrow: right of it at 0 degrees, above it at 90.
    TPieSlice right;
    right.MarkTo = {100, 100};
    EXPECT_EQ(PieMarkLeftTop(right, 30, 12), (TPoint{100, 94}));
    TPieSlice up;
    up.StartAngle = Pi / 4;
    up.EndAngle = Pi * 3 / 4;
    up.MarkTo = {100, 100};
    EXPECT_EQ(PieMarkLeftTop(up, 30, 12), (TPoint{85, 88}));
}
