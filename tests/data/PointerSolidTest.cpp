// SPDX-License-Identifier: MIT
#include <korvatel/data/PointSeries.h>

#include "ChartImage.h"
#include <korvatel/canvas/ChartCanvas3D.h>
#include <korvatel/render/Chart.h>

#include <gtest/gtest.h>

using namespace Korvatel;

namespace {

constexpr QRgb Red = qRgb(255, 0, 0);
constexpr QRgb RedTop = qRgb(216, 0, 0);  // 15 % towards black
constexpr QRgb RedSide = qRgb(191, 0, 0); // 25 % towards black

// A 400 x 300 chart in the oblique view with a red point series of ten points in a row, their
// pointers size either side of the point and taking no room of the axes.
struct TPointChart {
    explicit TPointChart(std::int32_t size) {
        Chart.SetSize(400, 300);
        Chart.SetView3D(true);
        Chart.SetChart3DPercent(50);
        Chart.SetColor(clWhite);
        Points->SetParentChart(&Chart);
        Points->SetSeriesColor(clRed);
        Points->Pointer().SetHorizSize(size);
        Points->Pointer().SetVertSize(size);
        Points->Pointer().SetInflateMargins(false);
        for (int i = 0; i < 10; ++i) {
            Points->AddPoint(i, 50);
        }
    }
    // The picture with and without the pointers, on the same axes and grid.
    void Draw() {
        Points->Pointer().SetVisible(false);
        Without = DrawChartImage(Chart);
        Points->Pointer().SetVisible(true);
        With = DrawChartImage(Chart);
    }
    bool Ink(TPoint p) const { return With.pixel(p.X, p.Y) != Without.pixel(p.X, p.Y); }
    // The screen pixel of a point of the 3D box offset from point index's centre, whose depth
    // is the middle of the series' slot.
    TPoint At(std::int32_t index, std::int32_t dx, std::int32_t dy, std::int32_t dz) const {
        return Chart.Canvas().ProjectPoint(Points->PointPixelX(index) + dx,
                                           Points->PointPixelY(index) + dy,
                                           Points->MiddleDepth() + dz);
    }

    TChart Chart;
    TPointSeries* Points = new TPointSeries;
    QImage With;
    QImage Without;
};

} // namespace

TEST(PointerSolidTest, EachStyleStandsAsItsSolidShadedByTheFixedStep) {
    // Points on the solids of a pointer 6 either side of its centre, as deep as it is wide.
    struct TSample {
        TSeriesPointerStyle Style;
        bool Dark;
        bool Draw3D;
        TPoint Offset; // from the centre, on the middle plane of depth
        std::int32_t Dz;
        QRgb Expected; // 0: no ink at all
    };
    const TSample samples[] = {
        // A cube: the front keeps the colour, the top and the right side are shaded.
        {ptsRectangle, true, true, {0, 0}, -6, Red},
        {ptsRectangle, true, true, {0, -6}, 3, RedTop},
        {ptsRectangle, true, true, {6, 0}, 3, RedSide},
        {ptsRectangle, false, true, {6, 0}, 3, Red},
        // Without Draw3D the flat shape stands at the middle depth, and nothing is behind it.
        {ptsRectangle, true, false, {0, 0}, 0, Red},
        {ptsRectangle, true, false, {0, -6}, 3, 0},
        // A pyramid has no top but its apex; upside down, its base is the top.
        {ptsTriangle, true, true, {-5, -5}, -6, 0},
        {ptsTriangle, true, true, {0, 4}, -6, Red},
        {ptsDownTriangle, true, true, {0, -6}, 3, RedTop},
        {ptsDownTriangle, true, true, {0, 5}, -5, 0},
        // A coin facing the viewer: round in front, its rim beside it in the side shade.
        {ptsCircle, true, true, {-6, -6}, -6, 0},
        {ptsCircle, true, true, {6, 0}, 3, RedSide},
        // A diamond prism: no corners, its slanted faces in depth.
        {ptsDiamond, true, true, {-5, 5}, -6, 0},
        {ptsDiamond, true, true, {0, 0}, -6, Red},
        // Crosses stay flat.
        {ptsCross, true, true, {0, -6}, 3, 0},
    };
    for (const TSample& s : samples) {
        SCOPED_TRACE(testing::Message() << int{s.Style} << s.Dark << s.Draw3D << " ("
                                        << s.Offset.X << ", " << s.Offset.Y << ", " << s.Dz << ")");
        TPointChart chart(6);
        chart.Points->Pointer().SetStyle(s.Style);
        chart.Points->Pointer().SetDraw3D(s.Draw3D);
        chart.Points->Pointer().Pen().SetVisible(false);
        chart.Points->SetDark3D(s.Dark);
        chart.Draw();
        const TPoint p = chart.At(4, s.Offset.X, s.Offset.Y, s.Dz);
        if (s.Expected == 0) {
            EXPECT_FALSE(chart.Ink(p));
        } else {
            EXPECT_EQ(chart.With.pixel(p.X, p.Y), s.Expected);
        }
    }
}

TEST(PointerSolidTest, ANearerSolidCoversItsNeighboursSideAndTheHitTestFindsIt) {
    // Points a apart, pointers three quarters of a either side: a solid's front hides the
    // front part of the right side of the one before it.
    TPointChart chart(4);
    chart.Points->Pointer().Pen().SetVisible(false);
    chart.Draw();
    const std::int32_t a = chart.Points->PointPixelX(5) - chart.Points->PointPixelX(4);
    ASSERT_GT(a, 12);
    const std::int32_t s = a * 3 / 4;
    chart.Points->Pointer().SetHorizSize(s);
    chart.Points->Pointer().SetVertSize(s);
    chart.Draw();
    const TPoint hidden = chart.At(4, s, 0, a / 4 - s);
    EXPECT_EQ(chart.With.pixel(hidden.X, hidden.Y), Red);
    EXPECT_EQ(chart.Points->PointAtPixel(hidden.X, hidden.Y), 5);
    // A top shows beyond the flat shape and finds its point; the air above it finds nothing.
    const TPoint top = chart.At(2, 0, -s, 2 - s);
    EXPECT_EQ(chart.With.pixel(top.X, top.Y), RedTop);
    EXPECT_EQ(chart.Points->PointAtPixel(top.X, top.Y), 2);
    EXPECT_EQ(chart.Points->PointAtPixel(top.X, top.Y - 2 * s - 5), -1);
}
