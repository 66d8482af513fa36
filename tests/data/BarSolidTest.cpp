// SPDX-License-Identifier: MIT
#include <korvatel/data/BarSeries.h>
#include <korvatel/data/HorizBarSeries.h>

#include "ChartImage.h"
#include <korvatel/canvas/ChartCanvas3D.h>
#include <korvatel/render/Chart.h>

#include <gtest/gtest.h>

using namespace Korvatel;

namespace {

// A 400 x 300 chart with one red bar series of three equal bars that touch, 16 pixels deep in
// 3D, its picture with and without the bars.
struct TBarChart {
    explicit TBarChart(bool view3D, TCustomBarSeries* series = new TBarSeries) : Bars(series) {
        Chart.SetSize(400, 300);
        Chart.SetView3D(view3D);
        Chart.SetChart3DPercent(50);
        Chart.SetColor(clWhite);
        Bars->SetParentChart(&Chart);
        Bars->SetSeriesColor(clRed);
        Bars->SetBarWidthPercent(100);
        for (int i = 0; i < 3; ++i) {
            Bars->Horizontal() ? Bars->AddPoint(50, i) : Bars->AddPoint(i, 50);
        }
    }
    void Draw() {
        Bars->SetActive(false);
        Without = DrawChartImage(Chart);
        Bars->SetActive(true);
        With = DrawChartImage(Chart);
    }
    bool Ink(TPoint p) const { return With.pixel(p.X, p.Y) != Without.pixel(p.X, p.Y); }
    // The screen pixel of a point of the bars' box at the series' middle depth, or in front.
    TPoint At(std::int32_t x, std::int32_t y) {
        return Chart.Canvas().ProjectPoint(x, y, Bars->MiddleDepth());
    }
    TPoint Front(std::int32_t x, std::int32_t y) {
        return Chart.Canvas().ProjectPoint(x, y, Bars->StartDepth());
    }

    TChart Chart;
    TCustomBarSeries* Bars;
    QImage With;
    QImage Without;
};

} // namespace

TEST(BarSolidTest, EachStyleHasItsFormFlatAndInDepth) {
    struct TCase {
        bool Horizontal;
        bool View3D;
        TBarStyle Style;
        bool NearStart; // ink in the corner where the bar starts, at its side
        bool NearEnd;   // ink in the corner at the end the bar grows to (where a cylinder's
                        // top bulges over its front)
    };
    const TCase cases[] = {
        {false, false, bsRectangle, true, true},   {false, false, bsPyramid, true, false},
        {false, false, bsInvPyramid, false, true}, {false, false, bsCone, true, false},
        {false, false, bsEllipse, false, false},   {false, false, bsArrow, false, false},
        {false, false, bsCylinder, true, true},    {false, false, bsRectGradient, true, true},
        {false, true, bsRectangle, true, true},    {false, true, bsPyramid, true, false},
        {false, true, bsCylinder, false, true},   {false, true, bsInvPyramid, false, true},
        {true, false, bsPyramid, true, false},     {true, true, bsInvPyramid, false, true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Horizontal << c.View3D << int{c.Style});
        TBarChart chart(c.View3D, c.Horizontal ? static_cast<TCustomBarSeries*>(new THorizBarSeries)
                                               : new TBarSeries);
        chart.Bars->SetBarStyle(c.Style);
        chart.Draw();
        const TRect r = chart.Bars->BarBounds(1);
        ASSERT_FALSE(r.IsEmpty());
        // Two pixels in from the corners of the front face.
        const TPoint start = c.Horizontal ? chart.Front(r.Left + 2, r.Top + 2)
                                          : chart.Front(r.Left + 2, r.Bottom - 3);
        const TPoint end = c.Horizontal ? chart.Front(r.Right - 3, r.Top + 2)
                                        : chart.Front(r.Left + 2, r.Top + 2);
        const TPoint middle = chart.At((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
        EXPECT_TRUE(chart.Ink(middle));
        EXPECT_EQ(chart.Ink(start), c.NearStart);
        EXPECT_EQ(chart.Ink(end), c.NearEnd);
    }
}

TEST(BarSolidTest, ANearerBarCoversItsNeighboursSideAndTheHitTestFindsIt) {
    TBarChart chart(true);
    chart.Draw();
    const TRect first = chart.Bars->BarBounds(0);
    const TRect second = chart.Bars->BarBounds(1);
    const std::int32_t row = (first.Top + first.Bottom) / 2;
    // The first bar's right side lies behind the second bar's front: the front's own colour
    // shows there, not the side's darker shade.
    const TPoint hiddenSide = chart.At(first.Right - 1, row);
    EXPECT_EQ(chart.With.pixel(hiddenSide.X + 1, hiddenSide.Y), qRgb(255, 0, 0));
    EXPECT_EQ(chart.Bars->PointAtPixel(hiddenSide.X + 1, hiddenSide.Y), 1);
    // The last bar's side shows, shaded, and is found.
    const TRect third = chart.Bars->BarBounds(2);
    const TPoint side = chart.At(third.Right - 1, row);
    EXPECT_EQ(chart.With.pixel(side.X + 1, side.Y), qRgb(191, 0, 0));
    EXPECT_EQ(chart.Bars->PointAtPixel(side.X + 1, side.Y), 2);
    // The front and the top of the middle bar find it; above the top nothing.
    const TPoint front = chart.Chart.Canvas().ProjectPoint((second.Left + second.Right) / 2, row,
                                                           chart.Bars->StartDepth());
    EXPECT_EQ(chart.Bars->PointAtPixel(front.X, front.Y), 1);
    const TPoint top = chart.At((second.Left + second.Right) / 2, second.Top);
    EXPECT_EQ(chart.With.pixel(top.X, top.Y + 1), qRgb(216, 0, 0));
    EXPECT_EQ(chart.Bars->PointAtPixel(top.X, top.Y + 1), 1);
    EXPECT_EQ(chart.Bars->PointAtPixel(top.X, top.Y - 30), -1);
}
