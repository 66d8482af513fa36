// SPDX-License-Identifier: MIT
#include <korvatel/axes/ChartAxis.h>

#include "AxisLayout.h"
#include <korvatel/render/Chart.h>
#include <korvatel/core/ChartErrors.h>
#include <korvatel/data/ChartSeries.h>
#include "CountingWindow.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>

using namespace Korvatel;

namespace {

// A series that asks for pixel margins beyond its data.
class TMarginSeries : public TChartSeries {
public:
    void HorizontalMargins(std::int32_t& left, std::int32_t& right) const override {
        left = Left;
        right = Right;
    }
    void VerticalMargins(std::int32_t& top, std::int32_t& bottom) const override {
        top = Top;
        bottom = Bottom;
    }
    std::int32_t Left = 0, Right = 0, Top = 0, Bottom = 0;
};

// A chart on a window that counts repaints, 1000 × 500, with no series yet.
struct AxisChart : ::testing::Test {
    AxisChart() {
        chart.SetWindow(&window);
        chart.SetSize(1000, 500);
    }

    // A series of the chart (owned by it) with the given points.
    template <typename Series = TChartSeries>
    Series* AddSeries(std::initializer_list<std::pair<double, double>> points) {
        auto* series = new Series;
        series->SetParentChart(&chart);
        for (const auto& [x, y] : points) {
            series->AddPoint(x, y);
        }
        return series;
    }

    void ExpectRefused(const std::function<void()>& assign, const std::string& message) {
        try {
            assign();
            ADD_FAILURE() << "accepted; expected: " << message;
        } catch (const AxisException& error) {
            EXPECT_EQ(error.what(), message);
        }
    }

    TCountingWindow window;
    TChart chart;
    TChartAxis& bottom = chart.BottomAxis();
    TChartAxis& left = chart.LeftAxis();
};

} // namespace

TEST_F(AxisChart, MainWindowAxesThroughAWholeLayout) {
    bottom.SetAutomatic(false);
    bottom.SetMaximum(1000);
    left.SetAutomatic(false);
    left.SetMinimum(-1000);
    left.SetMaximum(1000);
    AddSeries({{0, 0}, {999, 5}});
    LayOutAxes(chart, {100, 40, 900, 440});

    EXPECT_EQ(bottom.StartPixel(), 100);
    EXPECT_EQ(bottom.EndPixel(), 900);
    EXPECT_EQ(bottom.PixelLength(), 800);
    EXPECT_EQ(bottom.CenterPixel(), 500);
    EXPECT_EQ(bottom.XValueToPixel(1), 101);
    EXPECT_EQ(bottom.ValueToPixel(1000), 900);
    EXPECT_EQ(left.YValueToPixel(2.5), 240);
    EXPECT_EQ(left.ValueToPixel(-1000), 440);
    // The margin step with no margins leaves the fixed ranges exactly as they were.
    EXPECT_EQ(bottom.EffectiveMinimum(), 0);
    EXPECT_EQ(bottom.EffectiveMaximum(), 1000);
    EXPECT_EQ(left.PixelToValue(left.StartPixel()), 1000);
    EXPECT_EQ(left.PixelToValue(left.EndPixel()), -1000);
}

TEST_F(AxisChart, StartAndEndPositionPlaceTheExtentInsideThePlotRect) {
    bottom.SetStartPosition(25);
    bottom.SetEndPosition(75);
    left.SetStartPosition(10);
    LayOutAxes(chart, {100, 40, 900, 440});
    EXPECT_EQ(bottom.StartPixel(), 300);
    EXPECT_EQ(bottom.EndPixel(), 700);
    EXPECT_EQ(left.StartPixel(), 80);
    EXPECT_EQ(left.EndPixel(), 440);
    EXPECT_EQ(left.CenterPixel(), 260);
}

TEST_F(AxisChart, AutomaticRangesComeFromTheSeriesOfTheAxis) {
    LayOutAxes(chart, {0, 0, 100, 100});
    EXPECT_EQ(bottom.Minimum(), 0); // no series: 0 to 0
    EXPECT_EQ(bottom.Maximum(), 0);
    EXPECT_EQ(bottom.XValueToPixel(123), bottom.CenterPixel());

    TChartSeries* a = AddSeries({{10, -1}, {20, 4}});
    TChartSeries* b = AddSeries({{-5, 2}, {15, 3}});
    TChartSeries* hidden = AddSeries({{-100, -50}, {100, 50}});
    hidden->SetActive(false);
    TChartSeries* empty = AddSeries({}); // no points: ignored
    LayOutAxes(chart, {0, 0, 100, 100});
    EXPECT_EQ(bottom.Minimum(), -5);
    EXPECT_EQ(bottom.Maximum(), 20);
    EXPECT_EQ(left.Minimum(), -1);
    EXPECT_EQ(left.Maximum(), 4);

    // On both horizontal axes at once: the top axis shows that series only.
    b->SetHorizAxis(aBothHorizAxis);
    LayOutAxes(chart, {0, 0, 100, 100});
    EXPECT_EQ(chart.TopAxis().Minimum(), -5);
    EXPECT_EQ(chart.TopAxis().Maximum(), 15);

    // With no active series left on the axis, the inactive ones give its range. (An active
    // series without points would still keep the inactive ones out.)
    a->SetActive(false);
    b->SetActive(false);
    LayOutAxes(chart, {0, 0, 100, 100});
    EXPECT_EQ(bottom.Maximum(), 0);
    empty->SetActive(false);
    LayOutAxes(chart, {0, 0, 100, 100});
    EXPECT_EQ(bottom.Minimum(), -100);
    EXPECT_EQ(bottom.Maximum(), 100);

    // Turning automatic off keeps the last limits as fixed ones.
    bottom.SetAutomatic(false);
    hidden->AddPoint(500, 0);
    LayOutAxes(chart, {0, 0, 100, 100});
    EXPECT_EQ(bottom.Maximum(), 100);
}

TEST_F(AxisChart, SeriesMarginsWidenOnlyAutomaticSides) {
    auto* series = AddSeries<TMarginSeries>({{0, 0}, {100, 50}});
    series->Left = 10;
    series->Right = 10;
    series->Top = 20;
    LayOutAxes(chart, {0, 0, 100, 100});
    // 100 units over the 80 pixels between the margins: 1.25 units per pixel.
    EXPECT_DOUBLE_EQ(bottom.EffectiveMinimum(), -12.5);
    EXPECT_DOUBLE_EQ(bottom.EffectiveMaximum(), 112.5);
    EXPECT_DOUBLE_EQ(bottom.EffectiveRange(), 125);
    EXPECT_EQ(bottom.Minimum(), 0); // the stored limits stay
    EXPECT_EQ(bottom.Maximum(), 100);
    EXPECT_EQ(bottom.StartPixel(), 0); // and so does the full extent
    EXPECT_EQ(bottom.EndPixel(), 100);
    EXPECT_EQ(bottom.XValueToPixel(0), 10);
    EXPECT_EQ(left.EffectiveMinimum(), 0);
    EXPECT_DOUBLE_EQ(left.EffectiveMaximum(), 62.5);

    bottom.SetAutomaticMinimum(false);
    left.SetAutomatic(false);
    LayOutAxes(chart, {0, 0, 100, 100});
    EXPECT_DOUBLE_EQ(bottom.EffectiveMinimum(), 0);
    EXPECT_DOUBLE_EQ(bottom.EffectiveMaximum(), 100 / 0.9);
    EXPECT_EQ(left.EffectiveMaximum(), 50);
}

TEST_F(AxisChart, RefusedValuesLeaveTheAxisUnchanged) {
    bottom.SetMaximum(1000);
    ExpectRefused([&] { bottom.SetMinimum(2000); }, "Axis Minimum Value must be <= Maximum");
    EXPECT_EQ(bottom.Minimum(), 0);
    ExpectRefused([&] { bottom.SetMaximum(-1); }, "Axis Maximum Value must be >= Minimum");
    EXPECT_EQ(bottom.Maximum(), 1000);
    ExpectRefused([&] { bottom.SetLogarithmicBase(1); }, "Axis Logarithmic Base should be >= 2");
    EXPECT_EQ(bottom.LogarithmicBase(), 10);
    bottom.SetLogarithmicBase(2);

    TChartSeries* series = AddSeries({{-5, 1}, {10, 100}});
    ExpectRefused([&] { bottom.SetLogarithmic(true); },
                  "Logarithmic Axis Min and Max values should be >= 0");
    EXPECT_FALSE(bottom.Logarithmic());
    series->YValues().SetDateTime(true);
    EXPECT_TRUE(left.IsDateTimeAxis());
    EXPECT_FALSE(bottom.IsDateTimeAxis());
    ExpectRefused([&] { left.SetLogarithmic(true); }, "DateTime Axis cannot be Logarithmic");
    EXPECT_FALSE(left.Logarithmic());
    series->YValues().SetDateTime(false);
    left.SetLogarithmic(true); // its range, computed first, is 1 to 100
    EXPECT_TRUE(left.Logarithmic());
    left.SetLogarithmic(false);
}

TEST_F(AxisChart, WhileLoadingTheLimitsArriveInAnyOrder) {
    chart.BeginLoading();
    left.SetMaximum(1000);
    left.SetMinimum(2000);
    left.SetAutomatic(false); // the layout carries the other two flags itself
    EXPECT_TRUE(left.AutomaticMinimum());
    chart.EndLoading();
    EXPECT_EQ(left.Minimum(), 2000);
    EXPECT_EQ(left.Maximum(), 1000);
}

TEST_F(AxisChart, AutomaticIsTrueOnlyWhileBothLimitsAre) {
    bottom.SetAutomatic(false);
    EXPECT_FALSE(bottom.AutomaticMinimum());
    EXPECT_FALSE(bottom.AutomaticMaximum());
    bottom.SetAutomaticMinimum(true);
    EXPECT_FALSE(bottom.Automatic());
    bottom.SetAutomaticMaximum(true);
    EXPECT_TRUE(bottom.Automatic());
    bottom.SetAutomaticMaximum(false);
    EXPECT_FALSE(bottom.Automatic());
    EXPECT_TRUE(bottom.AutomaticMinimum());
    bottom.SetAutomatic(true);
    EXPECT_TRUE(bottom.AutomaticMaximum());
}

TEST_F(AxisChart, SettersRepaintOnlyOnChange) {
    window.Invalidations = 0;
    bottom.SetMinimum(0);
    bottom.SetInverted(false);
    bottom.SetEndPosition(100);
    bottom.SetAutomatic(true);
    bottom.SetLogarithmicBase(10);
    EXPECT_EQ(window.Invalidations, 0);
    bottom.SetMaximum(5);
    bottom.SetInverted(true);
    bottom.SetVisible(false);
    EXPECT_EQ(window.Invalidations, 3);
    // Computing the range rewrites automatic limits without a repaint.
    AddSeries({{1, 1}, {2, 2}});
    window.Invalidations = 0;
    bottom.SetAutomatic(true);
    bottom.ComputeRange();
    EXPECT_EQ(window.Invalidations, 0);
}

TEST_F(AxisChart, InvertedAndLogarithmicTakeEffectAtOnce) {
    bottom.AssignRange(1, 100);
    LayOutAxes(chart, {0, 0, 100, 100});
    bottom.SetInverted(true);
    EXPECT_EQ(bottom.XValueToPixel(1), 100);
    bottom.SetLogarithmic(true);
    EXPECT_EQ(bottom.XValueToPixel(10), 50);
    EXPECT_EQ(bottom.PixelToValue(0), 100);
}

TEST_F(AxisChart, AssignRangeOrdersWidensAndFixesTheAxis) {
    window.Invalidations = 0;
    bottom.AssignRange(10, 2);
    EXPECT_EQ(bottom.Minimum(), 2);
    EXPECT_EQ(bottom.Maximum(), 10);
    EXPECT_FALSE(bottom.Automatic());
    EXPECT_FALSE(bottom.AutomaticMinimum());
    EXPECT_FALSE(bottom.AutomaticMaximum());
    EXPECT_EQ(window.Invalidations, 2);
    bottom.AssignRange(2, 10);
    EXPECT_EQ(window.Invalidations, 2);
    bottom.AssignRange(5, 5);
    EXPECT_EQ(bottom.Minimum(), 5);
    EXPECT_EQ(bottom.Maximum(), 5 + 1e-10);
    // Even reversed limits pass, as zoom on an inverted axis delivers them.
    bottom.AssignRange(-1, -1 - 1e-12);
    EXPECT_EQ(bottom.Minimum(), -1 - 1e-12);
    EXPECT_EQ(bottom.Maximum(), -1 - 1e-12 + 1e-10);
}

TEST_F(AxisChart, ShiftRangeMovesBothLimitsAndPaintsAtOnce) {
    AddSeries({{0, 0}, {900, 1}});
    bottom.AssignRange(0, 1000);
    window.ImmediateRepaints = 0;
    struct Row {
        double offset;
        bool moves;
    };
    // Checked shifts stop where the data end: below the maximum, and at the minimum.
    for (const Row& row : {Row{50, false}, Row{0, false}, Row{-50, false}}) {
        bottom.ShiftRange(row.offset, true);
        EXPECT_EQ(bottom.Minimum(), 0) << row.offset;
    }
    EXPECT_EQ(window.ImmediateRepaints, 0);

    bottom.SetAutomaticMaximum(true); // ShiftRange always fixes the axis again
    bottom.ShiftRange(50, false);
    EXPECT_EQ(bottom.Minimum(), 50);
    EXPECT_EQ(bottom.Maximum(), 1050);
    EXPECT_FALSE(bottom.Automatic() || bottom.AutomaticMinimum() || bottom.AutomaticMaximum());
    EXPECT_EQ(window.ImmediateRepaints, 1);
    // The data begin below the minimum now: a checked shift back is allowed, and only the
    // limits before it count, so it may move past the data.
    bottom.ShiftRange(-100, true);
    EXPECT_EQ(bottom.Minimum(), -50);
    EXPECT_EQ(window.ImmediateRepaints, 2);
}

TEST_F(AxisChart, ACheckedShiftStopsWhenTheDataEndExactlyAtTheLimit) {
    AddSeries({{100, 0}, {900, 1}});
    struct Row {
        double minimum, maximum, offset;
        bool moves;
    };
    for (const Row& row : {Row{100, 900, 50, false}, Row{100, 900, -50, false},
                           Row{100, 899.5, 50, true}, Row{100.5, 900, -50, true}}) {
        bottom.AssignRange(row.minimum, row.maximum);
        bottom.ShiftRange(row.offset, true);
        EXPECT_EQ(bottom.Minimum(), row.minimum + (row.moves ? row.offset : 0))
            << row.minimum << " " << row.maximum << " " << row.offset;
    }
}

TEST_F(AxisChart, AxesShownFollowTheSeries) {
    for (TCustomChartAxis* axis :
         {static_cast<TCustomChartAxis*>(&bottom), static_cast<TCustomChartAxis*>(&chart.TopAxis()),
          static_cast<TCustomChartAxis*>(&left),
          static_cast<TCustomChartAxis*>(&chart.RightAxis())}) {
        EXPECT_TRUE(chart.AxisIsShown(*axis)); // no series: all four side axes
    }
    TChartSeries* series = AddSeries({{1, 1}});
    EXPECT_TRUE(chart.AxisIsShown(bottom));
    EXPECT_TRUE(chart.AxisIsShown(left));
    EXPECT_FALSE(chart.AxisIsShown(chart.TopAxis()));
    EXPECT_FALSE(chart.AxisIsShown(chart.RightAxis()));
    series->SetActive(false);
    EXPECT_TRUE(chart.AxisIsShown(chart.TopAxis()));

    chart.SetView3D(true);
    EXPECT_FALSE(chart.AxisIsShown(chart.DepthAxis())); // hidden by default
    chart.DepthAxis().SetVisible(true);
    EXPECT_TRUE(chart.AxisIsShown(chart.DepthAxis()));
    chart.SetView3D(false);
    EXPECT_FALSE(chart.AxisIsShown(chart.DepthAxis()));
    chart.SetAxisVisible(false);
    EXPECT_FALSE(chart.AxisIsShown(bottom));
}

TEST_F(AxisChart, DepthAxisRangeSpansTheDepthSlots) {
    const TChartSeries* series = AddSeries({{1, 1}});
    chart.SetHighestZOrder(2);
    LayOutAxes(chart, {0, 0, 100, 100});
    EXPECT_EQ(chart.DepthAxis().Minimum(), -0.5);
    EXPECT_EQ(chart.DepthAxis().Maximum(), 2.5);
    // Value labels, also when set rather than found from the series, span the series' depth.
    chart.DepthAxis().SetLabelStyle(talValue);
    LayOutAxes(chart, {0, 0, 100, 100});
    EXPECT_EQ(chart.DepthAxis().Minimum(), series->SeriesMinZ());
    EXPECT_EQ(chart.DepthAxis().Maximum(), series->SeriesMaxZ());
    chart.DepthAxis().SetLabelStyle(talAuto);
    // Values spread over the depth of the box as the last layout left it.
    chart.SetDepths3D(10, 30);
    LayOutAxes(chart, {0, 0, 100, 100});
    EXPECT_EQ(chart.DepthAxis().XValueToPixel(0), 5);
    EXPECT_EQ(chart.DepthAxis().YValueToPixel(2), 25);
}

TEST_F(AxisChart, CustomAxesBelongToTheChart) {
    ASSERT_EQ(chart.AxisList().size(), 5u);
    EXPECT_EQ(chart.AxisList()[0], &bottom);
    EXPECT_EQ(chart.AxisList()[4], &chart.DepthAxis());

    auto* custom = new TChartAxis(&chart, false, true, false);
    auto* kept = new TChartAxis(&chart, true, false, false); // freed with the chart
    ASSERT_EQ(chart.AxisList().size(), 7u);
    EXPECT_EQ(chart.AxisList()[5], custom);
    EXPECT_EQ(chart.AxisList()[6], kept);

    TChartSeries* series = AddSeries({{1, 7}, {2, 9}});
    series->SetVertAxis(aCustomVertAxis);
    series->SetCustomVertAxis(custom);
    LayOutAxes(chart, {0, 0, 100, 100});
    EXPECT_EQ(custom->Maximum(), 9);
    EXPECT_EQ(left.Maximum(), 0);

    EXPECT_FALSE(chart.FreeAxis(&left));
    EXPECT_TRUE(chart.FreeAxis(custom));
    EXPECT_FALSE(chart.FreeAxis(custom)); // no longer in the list
    EXPECT_EQ(chart.AxisList().size(), 6u);
    EXPECT_EQ(series->CustomVertAxis(), nullptr);
    EXPECT_EQ(series->ResolvedVertAxis(), &left);
}
