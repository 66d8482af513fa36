// SPDX-License-Identifier: MIT
#include "AxisLayout.h"
#include <korvatel/render/Chart.h>
#include <korvatel/core/ChartErrors.h>
#include <korvatel/data/ChartSeries.h>
#include "CountingWindow.h"

#include <gtest/gtest.h>

using namespace Korvatel;

namespace {

// A series ordered along Y, such as horizontal bars: its X values are the mandatory ones.
class TXMandatorySeries : public TChartSeries {
public:
    TXMandatorySeries() {
        XValues().SetOrder(loNone);
        YValues().SetOrder(loAscending);
    }
    TChartValueList& MandatoryValues() override { return XValues(); }
};

// 2500 points, X = 2 × index, on pages of 1000.
struct PagedChart : ::testing::Test {
    PagedChart() {
        chart.SetWindow(&window);
        series = new TChartSeries;
        series->SetParentChart(&chart);
        for (int i = 0; i < 2500; ++i) {
            series->AddPoint(2.0 * i, i % 7);
        }
        chart.SetMaxPointsPerPage(1000);
        chart.OnPageChange = [this](TCustomAxisPanel* sender) {
            EXPECT_EQ(sender, &chart);
            ++pageChanges;
        };
    }

    TCountingWindow window;
    TChart chart;
    TChartSeries* series; // owned by the chart
    int pageChanges = 0;
};

} // namespace

TEST_F(PagedChart, PagesCoverTheOrderingAxis) {
    EXPECT_EQ(chart.PageCount(), 3);
    struct Row {
        std::int32_t page;
        double minimum, maximum;
    };
    for (const Row& row : {Row{1, 0, 1998}, Row{2, 2000, 3998}, Row{3, 4000, 4998}}) {
        chart.SetPage(row.page);
        LayOutAxes(chart, {0, 0, 100, 100});
        EXPECT_EQ(chart.BottomAxis().Minimum(), row.minimum) << row.page;
        EXPECT_EQ(chart.BottomAxis().Maximum(), row.maximum) << row.page;
    }
    // The values axis is not paged.
    EXPECT_EQ(chart.LeftAxis().Minimum(), 0);
    EXPECT_EQ(chart.LeftAxis().Maximum(), 6);

    // A short last page keeps the scale of a full one: 500 points span half the axis.
    chart.SetScaleLastPage(false);
    LayOutAxes(chart, {0, 0, 100, 100});
    EXPECT_EQ(chart.BottomAxis().Maximum(), 4000 + (4998 - 4000) * 1000.0 / 500);
    // A fixed range is never paged.
    chart.BottomAxis().AssignRange(0, 10);
    LayOutAxes(chart, {0, 0, 100, 100});
    EXPECT_EQ(chart.BottomAxis().Maximum(), 10);
}

TEST_F(PagedChart, PageStaysBetweenOneAndPageCount) {
    window.Invalidations = 0;
    chart.SetPage(7);
    EXPECT_EQ(chart.Page(), 3);
    chart.SetPage(0);
    EXPECT_EQ(chart.Page(), 1);
    chart.SetPage(-5);
    EXPECT_EQ(pageChanges, 2);
    EXPECT_EQ(window.Invalidations, 2);

    chart.SetPage(3);
    chart.SetMaxPointsPerPage(2000); // two pages now: the page follows
    EXPECT_EQ(chart.Page(), 2);
    chart.SetMaxPointsPerPage(0);
    EXPECT_EQ(chart.PageCount(), 1);
    EXPECT_EQ(chart.Page(), 1);
}

TEST_F(PagedChart, NegativePageSizeIsRefused) {
    try {
        chart.SetMaxPointsPerPage(-1);
        FAIL();
    } catch (const ChartException& error) {
        EXPECT_STREQ(error.what(), "MaxPointsPerPage must be >= 0");
    }
    EXPECT_EQ(chart.MaxPointsPerPage(), 1000);
}

TEST_F(PagedChart, APageBeyondThePointsFallsBackToAFullOne) {
    chart.SetPage(3);
    series->ClearPoints();
    for (int i = 0; i < 1500; ++i) {
        series->AddPoint(i, 0);
    }
    LayOutAxes(chart, {0, 0, 100, 100});
    EXPECT_EQ(chart.BottomAxis().Minimum(), 0);
    EXPECT_EQ(chart.BottomAxis().Maximum(), 999);

    series->ClearPoints();
    LayOutAxes(chart, {0, 0, 100, 100});
    EXPECT_EQ(chart.BottomAxis().Minimum(), 0);
    EXPECT_EQ(chart.BottomAxis().Maximum(), 0);
}

TEST(PagingTest, SeriesOrderedAlongYArePagedVertically) {
    TChart chart;
    auto* bars = new TXMandatorySeries;
    bars->SetParentChart(&chart);
    for (int i = 0; i < 25; ++i) {
        bars->AddPoint(100 - i, 10.0 * i);
    }
    chart.SetMaxPointsPerPage(10);
    EXPECT_EQ(chart.PageCount(), 3);
    chart.SetPage(2);
    LayOutAxes(chart, {0, 0, 100, 100});
    EXPECT_EQ(chart.LeftAxis().Minimum(), 100);
    EXPECT_EQ(chart.LeftAxis().Maximum(), 190);
    EXPECT_EQ(chart.BottomAxis().Minimum(), 76); // all values
    EXPECT_EQ(chart.BottomAxis().Maximum(), 100);
}
