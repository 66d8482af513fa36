// SPDX-License-Identifier: MIT
#include "AxisLayout.h"
#include <korvatel/render/Chart.h>
#include <korvatel/data/ChartSeries.h>
#include <korvatel/data/FastLineSeries.h>

#include <gtest/gtest.h>
#include <utility>

using namespace Korvatel;

namespace {

// FirstVisible and LastVisible of the plain series, then of the fast line.
using Range = std::pair<int, int>;
using Ranges = std::pair<Range, Range>;

// A chart whose bottom axis shows a fixed range over columns 100 to 900 and whose left axis
// runs from -1000 to 1000 over rows 40 to 440; one plain series (the last point beyond the
// end is dropped) and one fast line (it is kept) hold the same points.
struct VisibleRange : ::testing::Test {
    VisibleRange() {
        chart.SetSize(1000, 500);
        plain = new TChartSeries;
        plain->SetParentChart(&chart);
        line = new TFastLineSeries;
        line->SetParentChart(&chart);
        chart.LeftAxis().AssignRange(-1000, 1000);
    }

    void Fill(std::initializer_list<double> xs) {
        for (TChartSeries* series : {plain, static_cast<TChartSeries*>(line)}) {
            series->ClearPoints();
            for (double x : xs) {
                series->AddPoint(x, 0);
            }
        }
    }

    // The visible ranges of the plain series and of the fast line with the bottom axis on
    // the given range.
    Ranges VisibleRanges(double minimum, double maximum) {
        chart.BottomAxis().AssignRange(minimum, maximum);
        LayOutAxes(chart, {100, 40, 900, 440});
        plain->ComputeVisibleRange();
        line->ComputeVisibleRange();
        return {{plain->FirstVisible(), plain->LastVisible()},
                {line->FirstVisible(), line->LastVisible()}};
    }

    TChart chart;
    TChartSeries* plain; // both owned by the chart
    TFastLineSeries* line;
};

} // namespace

TEST_F(VisibleRange, NarrowsToTheAxisRange) {
    Fill({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    struct Row {
        double minimum, maximum;
        Ranges expected;
    };
    const Row rows[] = {{0, 1000, {{0, 10}, {0, 10}}}, // every point inside
                        {2, 7, {{2, 7}, {2, 7}}},      // edges on points
                        {1.5, 6.5, {{2, 6}, {2, 7}}},  // the point beyond the end only for the line
                        {20, 30, {{-1, -1}, {-1, -1}}}, // every point below the range: nothing
                        // Every point above it: only the fast line keeps the first point, towards
                        // which its line runs.
                        {-50, -10, {{0, -1}, {0, 0}}},
                        {9.5, 30, {{10, 10}, {10, 10}}}};
    for (const Row& row : rows) {
        EXPECT_EQ(VisibleRanges(row.minimum, row.maximum), row.expected)
            << row.minimum << ".." << row.maximum;
    }
}

TEST_F(VisibleRange, InvertedAxisTakesItsLowestValueAtTheRightEdge) {
    Fill({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    chart.BottomAxis().SetInverted(true);
    EXPECT_EQ(VisibleRanges(1.5, 6.5), (Ranges{{2, 6}, {2, 7}}));
}

TEST_F(VisibleRange, WholeSeriesWhenNothingMayBeNarrowed) {
    Fill({0, 5, 10});
    plain->SetNarrowVisibleRange(false);
    line->XValues().SetOrder(loNone);
    EXPECT_EQ(VisibleRanges(6, 7), (Ranges{{0, 2}, {0, 2}}));

    Fill({});
    EXPECT_EQ(VisibleRanges(6, 7), (Ranges{{-1, -1}, {-1, -1}}));

    auto* loose = new TChartSeries; // no chart, no axes: nothing to narrow to
    loose->AddPoint(1, 1);
    loose->AddPoint(2, 2);
    loose->ComputeVisibleRange();
    EXPECT_EQ(loose->FirstVisible(), 0);
    EXPECT_EQ(loose->LastVisible(), 1);
    EXPECT_EQ(loose->PointPixelX(0), 0);
    delete loose;
}

TEST_F(VisibleRange, PointPixelsGoThroughTheSeriesAxes) {
    Fill({0, 500, 1000});
    VisibleRanges(0, 1000);
    EXPECT_EQ(plain->PointPixelX(1), 500);
    EXPECT_EQ(plain->PointPixelY(1), 240);
    EXPECT_EQ(plain->XValueToPixel(1), 101);
    EXPECT_EQ(plain->YValueToPixel(2.5), 240);
    EXPECT_EQ(plain->ValueToPixel(1000), 40); // Y is the mandatory dimension
    EXPECT_EQ(plain->XPixelToValue(900), 1000);

    // On the top and right axes, which have ranges of their own.
    chart.TopAxis().AssignRange(0, 10);
    chart.RightAxis().AssignRange(0, 10);
    plain->SetHorizAxis(aTopAxis);
    plain->SetVertAxis(aRightAxis);
    LayOutAxes(chart, {100, 40, 900, 440});
    EXPECT_EQ(plain->XValueToPixel(5), 500);
    EXPECT_EQ(plain->YValueToPixel(10), 40);
}
