// SPDX-License-Identifier: MIT
#include <korvatel/data/BarSeries.h>

#include "AxisLayout.h"
#include "CanvasImage.h"
#include <korvatel/render/Chart.h>
#include <korvatel/core/ChartErrors.h>
#include "ChartImage.h"
#include "ChartPrinters.h"
#include "CountingWindow.h"
#include <korvatel/data/HorizBarSeries.h>
#include <korvatel/data/PieSeries.h>

#include <gtest/gtest.h>
#include <limits>

using namespace Korvatel;

namespace {

constexpr QRgb White = qRgb(255, 255, 255);
constexpr QRgb Black = qRgb(0, 0, 0);
constexpr QRgb Red = qRgb(255, 0, 0);

// A chart drawn straight into a white 130 x 130 image, with a 100 x 100 chart rectangle at
// (10, 10). The ordering axis runs from 0 to 10 (10 pixels a unit, so the room of a point is
// 10 pixels and its bar 7 wide) and the value axis from 0 to 100: a vertical bar at X = 2 is
// centred on column 30, and value v lies on row 110 - v; a horizontal bar at Y = 2 is centred
// on row 90, and value v lies on column 10 + v.
struct BarDrawing : ::testing::Test {
    BarDrawing() : image(130, 130, QImage::Format_RGB32), surface(image) {
        image.fill(White);
        chart.SetSize(130, 130);
        chart.SetView3D(false);
        chart.Canvas().SetTargetSurface(&surface);
    }
    ~BarDrawing() override { chart.Canvas().SetTargetSurface(nullptr); }

    template <typename TSeries>
    TSeries* Add(TColor colour = clRed) {
        auto* series = new TSeries;
        series->SetParentChart(&chart);
        series->SetSeriesColor(colour);
        const bool horizontal = series->Horizontal();
        (horizontal ? chart.LeftAxis() : chart.BottomAxis()).AssignRange(0, 10);
        (horizontal ? chart.BottomAxis() : chart.LeftAxis()).AssignRange(0, 100);
        return series;
    }

    // The layout and the series' part of one repaint, without clipping.
    void Draw() {
        LayOutAxes(chart, {10, 10, 110, 110});
        for (TChartSeries* series : chart.SeriesList()) {
            series->ComputeVisibleRange();
            series->DrawPoints();
            if (series->Marks().Visible()) {
                series->DrawMarks();
            }
        }
        surface.EndPainting();
    }

    // The smallest rectangle round the pixels in area that are not white.
    TRect Ink(const TRect& area) {
        TRect bounds{area.Right, area.Bottom, area.Left, area.Top};
        for (int y = area.Top; y < area.Bottom; ++y) {
            for (int x = area.Left; x < area.Right; ++x) {
                if (image.pixel(x, y) != White) {
                    bounds = UnionRect(bounds.IsEmpty() ? TRect{x, y, x + 1, y + 1} : bounds,
                                       {x, y, x + 1, y + 1});
                }
            }
        }
        return bounds;
    }

    QImage image;
    TChartSurface surface;
    TChart chart;
};

} // namespace

TEST_F(BarDrawing, BarsCoverTheirStartPixelsAndNotTheLaterOnes) {
    // From the origin 70 down to 50 and up to 90: along the value axis each bar covers the
    // pixels from the lower of its two ends up to, not including, the higher.
    auto* bars = Add<TBarSeries>();
    bars->SetYOrigin(70);
    bars->AddPoint(2, 50);
    bars->AddPoint(3, 90);
    Draw();
    EXPECT_EQ(Ink({15, 0, 35, 130}), (TRect{27, 40, 34, 60}));
    EXPECT_EQ(Ink({35, 0, 50, 130}), (TRect{37, 20, 44, 40}));
    EXPECT_EQ(image.pixel(27, 50), Black);
    EXPECT_EQ(image.pixel(30, 50), Red);
    EXPECT_EQ(bars->BarBounds(1), (TRect{37, 20, 44, 40}));
    // Room for the 3 pixels left of a centre and the 3 right of it, and one for the frame;
    // along the values, one pixel.
    std::int32_t first = 0;
    std::int32_t second = 0;
    bars->HorizontalMargins(first, second);
    EXPECT_EQ(first, 5);
    EXPECT_EQ(second, 5);
    bars->VerticalMargins(first, second);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 1);
    // Without an origin of their own, bars start at the axis minimum.
    bars->SetUseYOrigin(false);
    Draw();
    EXPECT_EQ(bars->BarBounds(0), (TRect{27, 60, 34, 110}));
}

TEST_F(BarDrawing, BarWidthPercentIsTheShareOfItsRoomABarCovers) {
    // Ten pixels of room a point: each bar is that percent of them wide, centred on its X.
    auto* bars = Add<TBarSeries>();
    bars->AddPoint(2, 50);
    struct Row {
        std::int32_t percent, left, right;
    };
    for (const Row& row : {Row{30, 29, 32}, Row{70, 27, 34}, Row{100, 25, 35}}) {
        bars->SetBarWidthPercent(row.percent);
        image.fill(White);
        Draw();
        const TRect ink = Ink({15, 0, 50, 130});
        EXPECT_EQ(ink.Left, row.left) << row.percent;
        EXPECT_EQ(ink.Right, row.right) << row.percent;
    }
}

TEST_F(BarDrawing, HorizontalBarsSwapTheAxesAndAHiddenPenFillsToTheSameEdges) {
    auto* bars = Add<THorizBarSeries>();
    bars->SetYOrigin(70);
    bars->AddPoint(50, 2);
    bars->AddPoint(90, 3);
    bars->BarPen().SetVisible(false);
    Draw();
    EXPECT_EQ(Ink({0, 85, 130, 100}), (TRect{60, 87, 80, 94}));
    EXPECT_EQ(Ink({0, 70, 130, 85}), (TRect{80, 77, 100, 84}));
    EXPECT_EQ(image.pixel(60, 87), Red);
    EXPECT_EQ(bars->PointAtPixel(80, 80), 1);
    EXPECT_EQ(bars->PointAtPixel(79, 87), 0);
    EXPECT_EQ(bars->PointAtPixel(79, 86), -1);
}

TEST_F(BarDrawing, SideBySideSlotsMeetAndStacksStartOnTheBarsBelow) {
    auto* first = Add<TBarSeries>();
    auto* second = Add<TBarSeries>(clBlue);
    auto* across = new THorizBarSeries;
    across->SetParentChart(&chart);
    for (auto* bars : {first, second}) {
        bars->AddPoint(2, bars == first ? 50 : 30);
        bars->AddPoint(3, 10);
    }
    second->SetMultiBar(mbSide);
    EXPECT_EQ(first->MultiBar(), mbSide);
    EXPECT_EQ(across->MultiBar(), mbNone);
    Draw();
    EXPECT_EQ(first->BarBounds(0), (TRect{27, 60, 30, 110}));
    EXPECT_EQ(second->BarBounds(0), (TRect{30, 80, 34, 110}));
    EXPECT_EQ(second->PointAtPixel(31, 100), 0);
    EXPECT_EQ(first->PointAtPixel(31, 100), -1);

    first->SetMultiBar(mbStacked);
    Draw();
    EXPECT_EQ(second->BarBounds(0), (TRect{27, 30, 34, 60}));
    EXPECT_EQ(second->BarBounds(1), (TRect{37, 90, 44, 100}));
    EXPECT_DOUBLE_EQ(second->OriginValue(0), 50);
    EXPECT_DOUBLE_EQ(second->SeriesMaxY(), 80);
    EXPECT_EQ(second->PointAtPixel(30, 45), 0);
    EXPECT_EQ(first->PointAtPixel(30, 45), -1);
    EXPECT_EQ(first->PointAtPixel(30, 70), 0);
}

TEST_F(BarDrawing, ASeriesMovedToTheEndOfTheChartStacksOnTheOthers) {
    auto* moved = Add<TBarSeries>();
    auto* other = Add<TBarSeries>(clBlue);
    for (auto* bars : {moved, other}) {
        bars->AddPoint(2, 40);
    }
    moved->SetMultiBar(mbStacked);
    Draw();
    EXPECT_EQ(moved->BarBounds(0), (TRect{27, 70, 34, 110}));
    moved->SetParentChart(nullptr);
    moved->SetParentChart(&chart);
    Draw();
    EXPECT_EQ(moved->BarBounds(0), (TRect{27, 30, 34, 70}));
}

TEST_F(BarDrawing, MarksStandBeyondTheEndTheBarGrowsTo) {
    auto* bars = Add<TBarSeries>();
    bars->SetYOrigin(70);
    bars->AddPoint(2, 50);
    bars->AddPoint(3, 90);
    bars->Marks().SetVisible(true);
    bars->Marks().SetArrowLength(5);
    Draw();
    const TSeriesMarkPosition& below = *bars->Marks().Position(0);
    EXPECT_EQ(below.ArrowFrom, (TPoint{30, 59}));
    EXPECT_EQ(below.LeftTop.Y, 64);
    const TSeriesMarkPosition& above = *bars->Marks().Position(1);
    EXPECT_EQ(above.ArrowFrom, (TPoint{40, 20}));
    EXPECT_EQ(above.LeftTop.Y + above.Height - 1, 15);
}

TEST(BarChart, MarginsKeepTheOuterBarsAndTheirMarksInsideTheChartRectangle) {
    TChart chart;
    chart.SetSize(300, 200);
    chart.SetView3D(false);
    auto* bars = new THorizBarSeries;
    bars->SetParentChart(&chart);
    for (const double value : {-40.0, 25.0, 60.0}) {
        bars->AppendValue(value);
    }
    bars->Marks().SetVisible(true);
    DrawChartImage(chart);
    const TRect plot = chart.PlotRect();
    EXPECT_LE(bars->BarBounds(0).Bottom, plot.Bottom - 1);
    EXPECT_GE(bars->BarBounds(2).Top, plot.Top + 1);
    EXPECT_GE(bars->Marks().Position(0)->LeftTop.X, plot.Left + 1);
    EXPECT_LE(bars->Marks().Position(2)->Bounds().Right, plot.Right);
}

// Upright bars keep room for the number of lines of their marks: a text of three lines on the
// tallest bar stays inside, although its width is never measured.
TEST(BarChart, RoomAboveUprightBarsCountsTheLinesOfTheMarks) {
    TChart chart;
    chart.SetSize(300, 200);
    chart.SetView3D(false);
    auto* bars = new TBarSeries;
    bars->SetParentChart(&chart);
    for (const double value : {25.0, 60.0, 40.0}) {
        bars->AppendValue(value);
    }
    bars->Marks().SetVisible(true);
    bars->OnGetMarkText = [](TChartSeries*, std::int32_t index, std::string& text) {
        if (index == 1) {
            text += "\rsecond\rthird";
        }
    };
    DrawChartImage(chart);
    const TSeriesMarkPosition& tallest = *bars->Marks().Position(1);
    EXPECT_GE(tallest.LeftTop.Y, chart.PlotRect().Top + 1);
    EXPECT_GT(tallest.Height, 3 * 12);
}

TEST(BarChart, RefusedSettingsAndPointsWithoutABar) {
    TChart chart;
    chart.SetView3D(false);
    auto* bars = new TBarSeries;
    bars->SetParentChart(&chart);
    for (const std::int32_t percent : {0, 101, 1000, -5}) {
        EXPECT_THROW(bars->SetBarWidthPercent(percent), ChartException);
    }
    EXPECT_EQ(bars->BarWidthPercent(), 70);
    EXPECT_THROW(bars->SetYOrigin(std::numeric_limits<double>::infinity()), ChartException);
    EXPECT_THROW(bars->SetYOrigin(std::numeric_limits<double>::quiet_NaN()), ChartException);

    DrawChartImage(chart);
    EXPECT_EQ(bars->PointAtPixel(100, 100), -1);
    bars->AddPoint(0, 5);
    bars->AddPoint(1, std::numeric_limits<double>::infinity());
    bars->AddPoint(2, std::numeric_limits<double>::quiet_NaN());
    bars->AddNullPoint(3, 500);
    EXPECT_DOUBLE_EQ(bars->SeriesMaxY(), 5);
    DrawChartImage(chart);
    EXPECT_FALSE(bars->BarBounds(0).IsEmpty());
    for (std::int32_t i = 1; i < 4; ++i) {
        EXPECT_TRUE(bars->BarBounds(i).IsEmpty()) << i;
    }
}

TEST_F(BarDrawing, TheLegendSymbolIsABarInTheEntrysColourOrTheBarsOwn) {
    auto* bars = Add<TBarSeries>();
    bars->AddPoint(2, 50);
    bars->PaintLegendItem(0, {5, 5, 15, 12});
    bars->BarBrush().SetColor(clBlue);
    bars->PaintLegendItem(0, {20, 5, 30, 12});
    surface.EndPainting();
    EXPECT_EQ(image.pixel(5, 5), Black);
    EXPECT_EQ(image.pixel(10, 8), Red);
    EXPECT_EQ(image.pixel(25, 8), qRgb(0, 0, 255));
}

TEST(BarChart, OwnSettingsAndPensAskForARepaintOnlyWhenTheyChange) {
    TCountingWindow window;
    TChart chart;
    chart.SetWindow(&window);
    auto* bars = new TBarSeries;
    bars->SetParentChart(&chart);
    auto* pie = new TPieSeries;
    pie->SetParentChart(&chart);
    const int before = window.Invalidations;
    bars->SetBarWidthPercent(70);
    pie->SetRotationAngle(0);
    EXPECT_EQ(window.Invalidations, before);
    bars->BarPen().SetColor(clRed);
    bars->BarBrush().SetStyle(bsCross);
    pie->PiePen().SetWidth(2);
    EXPECT_EQ(window.Invalidations, before + 3);
}

TEST(BarChart, HorizontalSamplesStepAlongYAndAssignCopiesTheBarSettings) {
    THorizBarSeries horizontal;
    horizontal.FillWithSamples(4);
    for (std::int32_t i = 0; i < 4; ++i) {
        EXPECT_DOUBLE_EQ(horizontal.PointY(i), i);
    }
    TBarSeries source;
    source.SetBarWidthPercent(40);
    source.SetUseYOrigin(false);
    source.BarBrush().SetStyle(bsCross);
    horizontal.Assign(source);
    EXPECT_EQ(horizontal.BarWidthPercent(), 40);
    EXPECT_FALSE(horizontal.UseYOrigin());
    EXPECT_EQ(horizontal.BarBrush().Style(), bsCross);
}
