// SPDX-License-Identifier: MIT
#include <korvatel/data/ChartSeries.h>

#include <korvatel/render/Chart.h>
#include <korvatel/core/ChartErrors.h>
#include "CountingWindow.h"
#include <korvatel/data/FastLineSeries.h>

#include <gtest/gtest.h>
#include <memory>
#include <utility>
#include <vector>

using namespace Korvatel;

namespace {

// A chart on a window that counts repaint requests, with one series on it.
struct ChartWithSeries : ::testing::Test {
    ChartWithSeries() {
        chart.SetWindow(&window);
        series = new TChartSeries;
        series->SetParentChart(&chart);
        window.Invalidations = 0;
    }

    std::vector<std::pair<double, double>> Points() const {
        std::vector<std::pair<double, double>> result;
        for (std::int32_t i = 0; i < series->PointCount(); ++i) {
            result.emplace_back(series->PointX(i), series->PointY(i));
        }
        return result;
    }

    TCountingWindow window;
    TChart chart;
    TChartSeries* series; // owned by the chart
};

using PointPairs = std::vector<std::pair<double, double>>;

} // namespace

TEST_F(ChartWithSeries, PointsLandInXOrderAndKeepTheirY) {
    EXPECT_EQ(series->AddPoint(998, 1), 0);
    EXPECT_EQ(series->AddPoint(999, 2), 1);
    EXPECT_EQ(series->AddPoint(0, 3), 0);
    EXPECT_EQ(series->AddPoint(1, 4), 1);
    EXPECT_EQ(Points(), (PointPairs{{0, 3}, {1, 4}, {998, 1}, {999, 2}}));
    EXPECT_EQ(series->AddPoint(1, 5), 2); // a repeated X goes after the earlier one
    EXPECT_EQ(series->PointY(1), 4);
    EXPECT_EQ(series->PointY(2), 5);
    EXPECT_EQ(series->ColorList().size(), 5u);
    EXPECT_EQ(series->LabelList().size(), 5u);
}

TEST_F(ChartWithSeries, EveryAcceptedPointRequestsOneRepaintAndFiresItsEvent) {
    std::vector<std::int32_t> added;
    series->OnAfterAdd = [&](TChartSeries* sender, std::int32_t index) {
        EXPECT_EQ(sender, series);
        added.push_back(index);
    };
    for (int i = 0; i < 600; ++i) {
        series->AddPoint(i, i);
    }
    EXPECT_EQ(window.Invalidations, 600);
    EXPECT_EQ(added.size(), 600u);
}

TEST_F(ChartWithSeries, RejectedPointChangesNothing) {
    series->AddPoint(1, 1, "a", clBlue);
    window.Invalidations = 0;
    bool afterAdd = false;
    series->OnAfterAdd = [&](TChartSeries*, std::int32_t) { afterAdd = true; };
    series->OnBeforeAdd = [](TChartSeries* sender) {
        // The candidate point is visible to the handler as the pending values.
        EXPECT_EQ(sender->XValues().PendingValue(), 0.5);
        EXPECT_EQ(sender->YValues().PendingValue(), 7.0);
        return false;
    };
    EXPECT_EQ(series->AddPoint(0.5, 7.0, "b", clRed), -1);
    EXPECT_EQ(series->PointCount(), 1);
    EXPECT_EQ(series->YValues().ValueCount(), 1);
    EXPECT_EQ(series->ColorList().size(), 1u);
    EXPECT_EQ(series->LabelList().size(), 1u);
    EXPECT_FALSE(afterAdd);
    EXPECT_EQ(window.Invalidations, 0);
}

TEST_F(ChartWithSeries, InactiveSeriesStoresPointsWithoutRepainting) {
    series->SetActive(false);
    window.Invalidations = 0;
    int events = 0;
    series->OnAfterAdd = [&](TChartSeries*, std::int32_t) { ++events; };
    series->AddPoint(1, 2);
    series->ClearPoints();
    EXPECT_EQ(events, 1);
    EXPECT_EQ(window.Invalidations, 0);
}

TEST_F(ChartWithSeries, ClearingAnEmptySeriesStillNotifiesAndRepaints) {
    int cleared = 0;
    series->OnClearValues = [&](TChartSeries*) { ++cleared; };
    series->ClearPoints();
    EXPECT_EQ(cleared, 1);
    EXPECT_EQ(window.Invalidations, 1);

    series->AddPoint(1, 1);
    series->AddPoint(2, 2);
    series->ClearPoints();
    EXPECT_EQ(series->PointCount(), 0);
    EXPECT_EQ(series->ColorList().size(), 0u);
    EXPECT_EQ(series->LabelList().size(), 0u);
    EXPECT_EQ(series->XValues().Capacity(), 0);
    series->OnClearValues = nullptr; // the chart clears the series again when it goes
}

TEST_F(ChartWithSeries, EmptyLabelIsAnEntryWithoutText) {
    series->AddPoint(1, 1);
    series->AddPoint(2, 2, "two");
    ASSERT_EQ(series->LabelList().size(), 2u);
    EXPECT_EQ(series->PointLabel(0), "");
    EXPECT_EQ(series->PointLabel(1), "two");
    EXPECT_EQ(series->PointLabel(5), ""); // beyond the list: no label
}

TEST_F(ChartWithSeries, PointColorFollowsSeriesColourPaletteAndOwnColours) {
    series->SetSeriesColor(clTeal);
    series->AddPoint(0, 0);
    series->AddPoint(1, 1, {}, clNone);
    series->AddPoint(2, 2);
    series->AddPoint(3, 3, {}, clBlue);
    EXPECT_EQ(series->PointColor(0), clTeal);
    EXPECT_TRUE(series->PointIsNull(1));
    EXPECT_EQ(series->PointColor(3), clBlue);
    EXPECT_EQ(series->PointColor(99), clTeal); // beyond the colour list
    series->SetColorEachPoint(true);
    EXPECT_EQ(series->PointColor(0), clRed);    // palette colour 0
    EXPECT_EQ(series->PointColor(2), clYellow); // palette colour 2
    EXPECT_EQ(series->PointColor(3), clBlue);
    series->SetColorEachPoint(false); // every point loses its own colour
    EXPECT_EQ(series->PointColor(3), clTeal);
    EXPECT_FALSE(series->PointIsNull(1));
    window.Invalidations = 0;
    series->SetPointColor(0, clLime);
    EXPECT_EQ(series->PointColor(0), clLime);
    EXPECT_EQ(window.Invalidations, 1);
}

TEST_F(ChartWithSeries, IndexErrorsLeaveThePointsAsTheyWere) {
    series->AddPoint(1, 10, "a", clRed);
    series->AddPoint(2, 20, "b", clBlue);
    const PointPairs before = Points();
    window.Invalidations = 0;
    EXPECT_THROW(series->DeletePoint(2), ListIndexError);
    EXPECT_THROW(series->DeletePoint(-1), ListIndexError);
    EXPECT_THROW(series->SwapPoints(0, 2), ListIndexError);
    EXPECT_THROW(series->SwapPoints(-1, 0), ListIndexError);
    EXPECT_THROW(series->SetPointColor(2, clGreen), ListIndexError);
    EXPECT_THROW((void)series->PointX(2), ListIndexError);
    EXPECT_THROW((void)series->PointY(-1), ListIndexError);
    EXPECT_THROW((void)series->PointColor(-1), ListIndexError);
    EXPECT_EQ(Points(), before);
    EXPECT_EQ(series->PointLabel(1), "b");
    EXPECT_EQ(series->PointColor(1), clBlue);
    EXPECT_EQ(window.Invalidations, 0);
}

TEST_F(ChartWithSeries, DeleteAndSwapMoveEveryListTogether) {
    series->AddPoint(1, 10, "a", clRed);
    series->AddPoint(2, 20, "b", clGreen);
    series->AddPoint(3, 30, "c", clBlue);
    series->SwapPoints(0, 2);
    EXPECT_EQ(Points(), (PointPairs{{3, 30}, {2, 20}, {1, 10}}));
    EXPECT_EQ(series->PointLabel(0), "c");
    EXPECT_EQ(series->PointColor(0), clBlue);
    window.Invalidations = 0;
    series->DeletePoint(1);
    EXPECT_EQ(Points(), (PointPairs{{3, 30}, {1, 10}}));
    EXPECT_EQ(series->PointLabel(1), "a");
    EXPECT_EQ(series->PointColor(1), clRed);
    EXPECT_EQ(window.Invalidations, 1);
}

TEST_F(ChartWithSeries, AppendFormsAndNullPoints) {
    EXPECT_EQ(series->AppendValue(5), 0);
    EXPECT_EQ(series->AppendValue(6), 1);
    EXPECT_EQ(Points(), (PointPairs{{0, 5}, {1, 6}}));
    EXPECT_EQ(series->AppendXValue(-3), 0); // X = -3, Y = point count
    EXPECT_EQ(series->PointY(0), 2);
    EXPECT_EQ(series->AppendNull("n"), 3);
    EXPECT_TRUE(series->PointIsNull(3));
    EXPECT_EQ(series->AddNullPoint(10, 1), 4);
    EXPECT_TRUE(series->PointIsNull(4));
    EXPECT_TRUE(series->YIsMandatory());
    EXPECT_EQ(&series->ValueListNamed("anything"), &series->YValues());
}

TEST_F(ChartWithSeries, SettersRepaintOnlyWhenTheValueChanges) {
    series->SetTitle("A");
    series->SetTitle("A");
    series->SetActive(true);
    series->SetValueFormat(series->ValueFormat());
    series->SetShowInLegend(true);
    series->SetHorizAxis(aBottomAxis);
    EXPECT_EQ(window.Invalidations, 1);
    series->YValues().SetDateTime(true);
    series->YValues().SetDateTime(true);
    series->YValues().SetMultiplier(1.0);
    EXPECT_EQ(window.Invalidations, 2);
    series->YValues().SetMultiplier(2.0);
    EXPECT_EQ(window.Invalidations, 3);
}

TEST_F(ChartWithSeries, AxesResolveFromTheAxisChoice) {
    EXPECT_EQ(series->ResolvedHorizAxis(), &chart.BottomAxis());
    EXPECT_EQ(series->ResolvedVertAxis(), &chart.LeftAxis());
    EXPECT_TRUE(series->IsAssociatedWith(chart.BottomAxis()));
    EXPECT_FALSE(series->IsAssociatedWith(chart.TopAxis()));
    EXPECT_FALSE(series->IsAssociatedWith(chart.RightAxis()));

    series->SetHorizAxis(aTopAxis);
    series->SetVertAxis(aRightAxis);
    EXPECT_EQ(series->ResolvedHorizAxis(), &chart.TopAxis());
    EXPECT_EQ(series->ResolvedVertAxis(), &chart.RightAxis());

    series->SetHorizAxis(aBothHorizAxis);
    EXPECT_EQ(series->ResolvedHorizAxis(), &chart.BottomAxis());
    EXPECT_TRUE(series->IsAssociatedWith(chart.TopAxis()));
    EXPECT_TRUE(series->IsAssociatedWith(chart.BottomAxis()));

    series->SetVertAxis(aCustomVertAxis); // no custom axis set: the left axis
    EXPECT_EQ(series->ResolvedVertAxis(), &chart.LeftAxis());
    auto* custom = new TChartAxis(&chart, false, false, false); // owned by the chart
    series->SetCustomVertAxis(custom);
    EXPECT_EQ(series->ResolvedVertAxis(), custom);
    EXPECT_TRUE(series->IsAssociatedWith(*custom));
    series->SetCustomVertAxis(nullptr);
}

TEST(ChartMembershipTest, SeriesTakeTheFirstFreePaletteColour) {
    TChart chart;
    chart.SetColor(clWhite);
    std::vector<TColor> colours;
    for (int i = 0; i < 6; ++i) {
        auto* series = new TChartSeries;
        series->SetParentChart(&chart);
        colours.push_back(series->SeriesColor());
    }
    // White is the chart's own colour and is skipped.
    EXPECT_EQ(colours, (std::vector<TColor>{clRed, clGreen, clYellow, clBlue, clGray, clFuchsia}));

    auto* own = new TChartSeries;
    own->SetSeriesColor(clMaroon);
    own->SetParentChart(&chart);
    EXPECT_EQ(own->SeriesColor(), clMaroon);
    EXPECT_EQ(chart.SeriesList().Count(), 7);
}

TEST(ChartMembershipTest, WhenThePaletteIsUsedUpColourZeroComesAgain) {
    TChart chart;
    for (int i = 0; i < 16; ++i) {
        auto* series = new TChartSeries;
        series->SetParentChart(&chart);
    }
    auto* extra = new TChartSeries;
    extra->SetParentChart(&chart);
    EXPECT_EQ(extra->SeriesColor(), clRed);
}

TEST(ChartMembershipTest, AddingTwiceMovingAndLeaving) {
    TCountingWindow windowA;
    TCountingWindow windowB;
    TChart chartA;
    TChart chartB;
    chartA.SetWindow(&windowA);
    chartB.SetWindow(&windowB);
    auto series = std::make_unique<TChartSeries>();
    series->SetParentChart(&chartA);
    chartA.AddSeries(series.get());
    EXPECT_EQ(chartA.SeriesList().Count(), 1);

    chartB.AddSeries(series.get()); // moves over
    EXPECT_EQ(chartA.SeriesList().Count(), 0);
    EXPECT_EQ(chartB.SeriesList().Count(), 1);
    EXPECT_EQ(series->ParentChart(), &chartB);
    EXPECT_EQ(series->ResolvedHorizAxis(), &chartB.BottomAxis());
    EXPECT_GT(windowA.Invalidations, 0);

    series->SetParentChart(nullptr);
    EXPECT_EQ(chartB.SeriesList().Count(), 0);
    EXPECT_EQ(series->ResolvedHorizAxis(), nullptr);
    series->AddPoint(1, 1); // without a chart the repaint request goes nowhere
    EXPECT_EQ(series->PointCount(), 1);
}

TEST(ChartMembershipTest, DestroyingEitherSideFirstIsSafe) {
    auto chart = std::make_unique<TChart>();
    auto* first = new TChartSeries;
    auto* second = new TChartSeries;
    first->SetParentChart(chart.get());
    second->SetParentChart(chart.get());
    first->AddPoint(1, 1);
    delete first; // leaves the chart's list
    ASSERT_EQ(chart->SeriesList().Count(), 1);
    EXPECT_EQ(chart->SeriesList()[0], second);
    int cleared = 0;
    second->OnClearValues = [&](TChartSeries*) { ++cleared; };
    chart.reset(); // destroys the remaining series; the sanitizer build checks for leaks
    EXPECT_EQ(cleared, 1);
}

TEST(ChartMembershipTest, ActiveCountCountsActiveSeries) {
    TChart chart;
    auto* a = new TChartSeries;
    auto* b = new TChartSeries;
    a->SetParentChart(&chart);
    b->SetParentChart(&chart);
    b->SetActive(false);
    EXPECT_EQ(chart.SeriesList().ActiveCount(), 1);
    EXPECT_EQ(chart.SeriesList().IndexOf(b), 1);
}

TEST(FastLineSeriesTest, SeriesColourAndLinePenMoveTogether) {
    TCountingWindow window;
    TChart chart;
    chart.SetWindow(&window);
    auto* series = new TFastLineSeries;
    series->SetParentChart(&chart);
    EXPECT_EQ(series->SeriesColor(), clRed); // first free palette colour, also the pen's
    EXPECT_EQ(series->LinePen().Color(), clRed);
    series->SetSeriesColor(clBlue);
    EXPECT_EQ(series->LinePen().Color(), clBlue);

    TChartPen green;
    green.SetColor(clGreen);
    green.SetWidth(3);
    series->SetLinePen(green);
    EXPECT_EQ(series->SeriesColor(), clGreen);
    EXPECT_EQ(series->LinePen().Width(), 3);

    window.Invalidations = 0;
    series->LinePen().SetVisible(false);
    EXPECT_EQ(window.Invalidations, 1);
    series->LinePen().SetVisible(false);
    EXPECT_EQ(window.Invalidations, 1);

    EXPECT_TRUE(series->AutoRepaint());
    EXPECT_TRUE(series->KeepPointBeyondEnd());
    EXPECT_FALSE(series->SinglePointAllowed());
    EXPECT_EQ(series->XValues().Order(), loAscending);
    EXPECT_EQ(series->YValues().Order(), loNone);
}
