// SPDX-License-Identifier: MIT
#include <korvatel/data/PieGeometry.h>

#include "ChartPrinters.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <numbers>
#include <tuple>
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

TEST(PieGeometry, ARingLeavesItsHoleOutOfTheOutlineAndTheHitTest) {
    EXPECT_EQ(RingInnerRadius(20, 50), 10);
    EXPECT_EQ(RingInnerRadius(20, 0), 0);
    const std::vector<TPieSlice> slices = Slices();
    // Every corner lies on the outer or on the inner circle, both arcs from end to end.
    for (const std::size_t i : {std::size_t{0}, std::size_t{3}}) {
        const std::vector<TPoint> outline = SliceOutline(slices[i], 20, 10);
        int outer = 0;
        int inner = 0;
        for (const TPoint& p : outline) {
            const double distance = std::hypot(p.X - 50.0, p.Y - 50.0);
            outer += std::fabs(distance - 20) < 0.75 ? 1 : 0;
            inner += std::fabs(distance - 10) < 0.75 ? 1 : 0;
        }
        EXPECT_EQ(outer + inner, static_cast<int>(outline.size())) << i;
        EXPECT_GT(inner, 1) << i;
    }
    // Slice 0 covers 90 to 135 degrees: straight up from the centre lies the hole, then the
    // ring, then nothing.
    EXPECT_EQ(SliceAtPixel(slices, 20, {50, 50}, 10), -1);
    EXPECT_EQ(SliceAtPixel(slices, 20, {49, 41}, 10), -1);
    EXPECT_EQ(SliceAtPixel(slices, 20, {49, 35}, 10), 0);
    EXPECT_EQ(SliceAtPixel(slices, 20, {49, 41}, 0), 0);
}

TEST(PieGeometry, PiecesRunFromTheBackToTheFrontAndSplitSlicesOverBoth) {
    const TPieCircle circle{{0, 0}, 100};
    const auto degrees = [](double radians) { return std::lround(radians * 180 / Pi); };
    struct TCase {
        std::vector<double> Values;
        double Rotation;
        // Index, start and end in degrees, and whether each end is a cut face.
        std::vector<std::tuple<int, long, long, bool, bool>> Pieces;
    };
    const TCase cases[] = {
        // Quarters: the two at the back first, the two at the front last.
        {{1, 1, 1, 1},
         0,
         {{0, 0, 90, 1, 1}, {1, 90, 180, 1, 1}, {2, 180, 270, 1, 1}, {3, 270, 360, 1, 1}}},
        // A slice over the back and the front is cut at both; its piece at the front comes
        // after the other slice, which lies behind it.
        {{3, 1},
         45,
         {{0, 45, 90, 1, 0}, {0, 90, 270, 0, 0}, {1, 315, 405, 1, 1}, {0, 270, 315, 0, 1}}},
        // A whole pie: two halves, no cut faces.
        {{1}, 90, {{0, 90, 270, 0, 0}, {0, 270, 450, 0, 0}}},
    };
    for (const TCase& c : cases) {
        const std::vector<std::int32_t> none(c.Values.size(), 0);
        const std::vector<TPieSlice> slices = PieSlices(c.Values, c.Rotation, none, circle, 0);
        const std::vector<TPiePiece> pieces = PieDrawOrder(slices, 1.5 * Pi);
        ASSERT_EQ(pieces.size(), c.Pieces.size()) << c.Rotation;
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            const auto& [index, start, end, startCut, endCut] = c.Pieces[i];
            EXPECT_EQ(pieces[i].Index, index) << c.Rotation << " " << i;
            EXPECT_EQ(degrees(pieces[i].StartAngle), start) << c.Rotation << " " << i;
            EXPECT_EQ(degrees(pieces[i].EndAngle), end) << c.Rotation << " " << i;
            EXPECT_EQ(pieces[i].StartCut, startCut) << c.Rotation << " " << i;
            EXPECT_EQ(pieces[i].EndCut, endCut) << c.Rotation << " " << i;
        }
    }
    // The front of a flattened pie seen obliquely, and of a pie seen from straight above.
    EXPECT_EQ(degrees(PieFrontAngle(1, -1, 100, 100)), -45);
    EXPECT_EQ(degrees(PieFrontAngle(1, -1, 100, 25)), -76);
    EXPECT_EQ(degrees(PieFrontAngle(0, 0, 100, 100)), 270);
}
