// SPDX-License-Identifier: MIT
#include <korvatel/render/Chart.h>
#include <korvatel/core/ChartErrors.h>
#include <korvatel/data/ChartSeries.h>
#include "CountingWindow.h"

#include <cmath>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

using namespace Korvatel;

namespace {

std::vector<std::pair<double, double>> PointsOf(const TChartSeries& series) {
    std::vector<std::pair<double, double>> result;
    for (std::int32_t i = 0; i < series.PointCount(); ++i) {
        result.emplace_back(series.PointX(i), series.PointY(i));
    }
    return result;
}

// A chart with two series, the second of which may follow the first.
struct Samples : ::testing::Test {
    Samples() {
        chart.SetWindow(&window);
        source = new TChartSeries;
        source->SetParentChart(&chart);
        follower = new TChartSeries;
        follower->SetParentChart(&chart);
    }

    TCountingWindow window;
    TChart chart;
    TChartSeries* source; // owned by the chart
    TChartSeries* follower;
};

} // namespace

TEST_F(Samples, FillingWithSamplesChecksTheCountFirst) {
    source->AddPoint(1, 1);
    for (const std::int32_t bad : {0, -1}) {
        try {
            source->FillWithSamples(bad);
            FAIL() << bad;
        } catch (const ChartException& error) {
            EXPECT_STREQ(error.what(), "FillSampleValues NumValues must be > 0");
        }
    }
    EXPECT_EQ(source->PointCount(), 1);
    EXPECT_EQ(source->SampleCount(), 26);
}

TEST_F(Samples, SamplesWalkAcrossDefaultRangesWithoutRepaintsOnTheWay) {
    follower->SetDataSource(source);
    bool repaintsOff = true;
    source->OnAfterAdd = [&](TChartSeries*, std::int32_t) {
        repaintsOff = repaintsOff && !chart.RepaintEnabled();
    };
    window.Invalidations = 0;
    source->SetSampleSeed(1);
    source->FillWithSamples(40);
    EXPECT_TRUE(repaintsOff);
    EXPECT_TRUE(chart.RepaintEnabled());
    EXPECT_GT(window.Invalidations, 0);

    ASSERT_EQ(source->PointCount(), 40);
    for (std::int32_t i = 0; i < 40; ++i) {
        EXPECT_EQ(source->PointX(i), i); // no data: X is 0..n-1
        EXPECT_GE(source->PointY(i), 0);
        if (i > 0) { // steps below a quarter of 0..1000, about zero
            EXPECT_LE(std::abs(source->PointY(i) - source->PointY(i - 1)), 125);
        }
    }
    EXPECT_LE(source->PointY(0), 1000);
    EXPECT_EQ(PointsOf(*follower), PointsOf(*source));

    const auto first = PointsOf(*source);
    source->SetSampleSeed(1);
    source->FillWithSamples(40);
    EXPECT_EQ(PointsOf(*source), first); // the same seed, the same walk
}

TEST_F(Samples, SamplesSpreadOverTheChartsDataRange) {
    follower->AddPoint(100, 0);
    follower->AddPoint(200, 400);
    source->SetSampleSeed(7);
    source->FillWithSamples(5);
    ASSERT_EQ(source->PointCount(), 5);
    for (std::int32_t i = 0; i < 5; ++i) {
        EXPECT_DOUBLE_EQ(source->PointX(i), 100 + 25 * i);
    }
    EXPECT_GE(source->PointY(0), 0);
    EXPECT_LE(source->PointY(0), 400);
    for (std::int32_t i = 1; i < 5; ++i) {
        EXPECT_LE(std::abs(source->PointY(i) - source->PointY(i - 1)), 50);
    }

    chart.SetRepaintEnabled(false); // a chart that was off stays off
    source->FillWithSamples(1);
    EXPECT_FALSE(chart.RepaintEnabled());
    EXPECT_EQ(source->PointX(0), 100);
}

TEST(SampleValuesTest, WithoutAChartTheDefaultRangesApply) {
    TChartSeries series;
    series.SetSampleSeed(3);
    series.FillWithSamples(1);
    ASSERT_EQ(series.PointCount(), 1);
    EXPECT_EQ(series.PointX(0), 0);
}

// --- Depth order ---------------------------------------------------------------------------

TEST(DepthOrderTest, AutomaticSeriesTakeTheNextSlotFixedOnesRaiseTheHighest) {
    TChart chart;
    auto* first = new TChartSeries;
    auto* second = new TChartSeries;
    auto* fixed = new TChartSeries;
    for (TChartSeries* series : {first, second, fixed}) {
        series->SetParentChart(&chart);
    }
    fixed->SetZOrder(5);
    chart.SetHighestZOrder(-1);
    for (TChartSeries* series : chart.SeriesList()) {
        series->AssignZOrder();
    }
    EXPECT_EQ(first->AutoZOrder(), 0);
    EXPECT_EQ(second->AutoZOrder(), 1);
    EXPECT_EQ(chart.HighestZOrder(), 5);
}
