// SPDX-License-Identifier: MIT
// The labels of an axis in a chart: property checks, texts, the effective style, the label
// producers as the axis runs them (custom, logarithmic, series labels, depth named) and the
// room the labels take.
#include "AxisPicture.h"
#include <korvatel/axes/ChartDateTime.h>
#include <korvatel/core/ChartErrors.h>
#include "CountingWindow.h"
#include <korvatel/axes/FormatSettings.h>

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <vector>

using namespace Korvatel;

namespace {

struct AxisLabels : ::testing::Test, TAxisPicture {
    AxisLabels() : saved(ProcessFormatSettings()) {
        ProcessFormatSettings().ThousandSeparator = ",";
        ProcessFormatSettings().DecimalSeparator = ".";
    }
    ~AxisLabels() override { ProcessFormatSettings() = saved; }

    // The series' points replaced by labelled ones.
    void LabelPoints(std::initializer_list<std::pair<double, const char*>> points) {
        Series->ClearPoints();
        for (const auto& [x, label] : points) {
            Series->AddPoint(x, 0, label);
        }
    }

    TFormatSettings saved;
    TChartAxis& bottom = Chart.BottomAxis();
    TChartAxis& left = Chart.LeftAxis();
};

template <typename Exception>
void ExpectRefused(const std::function<void()>& assign, const std::string& message) {
    try {
        assign();
        ADD_FAILURE() << "accepted; expected: " << message;
    } catch (const Exception& error) {
        EXPECT_EQ(error.what(), message);
    }
}

} // namespace

TEST_F(AxisLabels, RefusedValuesRaiseTheirMessagesAndLeaveTheAxisAlone) {
    const std::string increment = "Axis increment must be >= 0";
    ExpectRefused<AxisException>([&] { bottom.SetIncrement(-1); }, increment);
    ExpectRefused<AxisException>(
        [&] { bottom.SetIncrement(std::numeric_limits<double>::quiet_NaN()); }, increment);
    ExpectRefused<AxisException>([&] { bottom.SetLabelsSeparation(-1); },
                                 "Labels Separation % must be greater than 0");
    const std::string angle = "Axis Labels Angle must be between 0 and 359 degrees";
    ExpectRefused<ChartException>([&] { bottom.SetLabelsAngle(360); }, angle);
    ExpectRefused<ChartException>([&] { bottom.SetLabelsAngle(-1); }, angle);
    EXPECT_EQ(bottom.Increment(), 0);
    EXPECT_EQ(bottom.LabelsSeparation(), 10);
    EXPECT_EQ(bottom.LabelsAngle(), 0);

    bottom.SetLabelsSeparation(0);
    bottom.SetLabelsAngle(359);
    EXPECT_EQ(bottom.LabelsSeparation(), 0);
    EXPECT_EQ(bottom.LabelsAngle(), 359);
}

TEST_F(AxisLabels, ChangesRepaintOnlyWhenTheyChangeSomething) {
    TCountingWindow window;
    Chart.SetWindow(&window);
    bottom.SetTickLength(4);
    bottom.SetAxisValuesFormat("#,##0.###");
    bottom.Grid().SetStyle(psDot);
    EXPECT_EQ(window.Invalidations, 0);
    bottom.SetTickLength(5);
    bottom.Grid().SetColor(clRed);
    bottom.LabelsFont().SetSize(10);
    bottom.Title().SetCaption("x");
    EXPECT_EQ(window.Invalidations, 4);
    // Another label style lays the chart out at once.
    bottom.SetLabelStyle(talNone);
    bottom.SetLabelStyle(talNone);
    EXPECT_EQ(window.ImmediateRepaints, 1);
    Chart.SetWindow(nullptr);
}

TEST_F(AxisLabels, LabelTextsFollowTheFormatTheEventAndTheLineBreaks) {
    struct Case {
        double Value;
        const char* Text;
    };
    for (const Case& c :
         {Case{1234.5, "1,234.5"}, Case{1000, "1,000"}, Case{0.0004, "0"}, Case{-2.25, "-2.25"}}) {
        EXPECT_EQ(bottom.AxisLabelText(c.Value), c.Text) << c.Value;
    }
    bottom.SetAxisValuesFormat("0.00");
    EXPECT_EQ(bottom.AxisLabelText(1234.5), "1234.50");

    TCustomChartAxis* sender = nullptr;
    Chart.OnGetAxisLabel = [&](TCustomChartAxis* axis, TChartSeries* series,
                               std::int32_t valueIndex, std::string& text) {
        sender = axis;
        EXPECT_EQ(series, nullptr);
        EXPECT_EQ(valueIndex, -1);
        text = "about " + text;
    };
    bottom.SetLabelsMultiLine(true);
    EXPECT_EQ(bottom.AxisLabelText(5), "about\r5.00");
    EXPECT_EQ(sender, &bottom);
}

TEST_F(AxisLabels, DateTimeModeComesFromTheSeriesAtLayout) {
    Series->XValues().SetDateTime(true);
    bottom.SetDateTimeFormat("yyyy");
    LayOut();
    EXPECT_TRUE(bottom.DateTimeMode());
    EXPECT_FALSE(left.DateTimeMode());
    EXPECT_EQ(bottom.AxisLabelText(0), "1899");
    EXPECT_EQ(bottom.AxisLabelText(-1), "");
}

TEST_F(AxisLabels, EffectiveLabelStyleFollowsTheSeries) {
    EXPECT_EQ(bottom.EffectiveLabelStyle(), talValue);
    EXPECT_EQ(Chart.TopAxis().EffectiveLabelStyle(), talNone); // no series on it
    EXPECT_EQ(Chart.DepthAxis().EffectiveLabelStyle(), talText);

    // Point texts label the axis along which the points are ordered.
    LabelPoints({{1, "A"}, {2, "B"}});
    EXPECT_EQ(bottom.EffectiveLabelStyle(), talText);
    EXPECT_EQ(left.EffectiveLabelStyle(), talValue);
    // Only the first point's text counts.
    LabelPoints({{1, ""}, {2, "B"}});
    EXPECT_EQ(bottom.EffectiveLabelStyle(), talValue);

    bottom.SetLabelStyle(talMark);
    EXPECT_EQ(bottom.EffectiveLabelStyle(), talMark);
    Series->SetActive(false);
    left.SetLabelStyle(talAuto);
    EXPECT_EQ(left.EffectiveLabelStyle(), talNone);
}

TEST_F(AxisLabels, AnEventCanSupplyTheLabelValues) {
    std::vector<std::int32_t> indexes;
    Chart.OnGetNextAxisLabel = [&](TCustomChartAxis* sender, std::int32_t index, double& value,
                                   bool& stop) {
        if (sender != &bottom) {
            return; // stop stays set: the left axis keeps its ordinary labels
        }
        indexes.push_back(index);
        stop = false;
        value = index * 100.0;
    };
    LayOutAndPaint();
    // 0 to 1000, then 1100 lies beyond the maximum and ends the labels.
    EXPECT_EQ(indexes.size(), 12U);
    ASSERT_EQ(bottom.TickPositions().size(), 11U);
    EXPECT_EQ(bottom.TickPositions().front(), bottom.StartPixel());
    EXPECT_EQ(left.TickPositions().size(), 20U);
}

TEST_F(AxisLabels, LogarithmicLabelsGoUpByPowersAndReplaceAZeroMinimum) {
    left.AssignRange(2, 5000);
    left.SetIncrement(0);
    left.SetLogarithmic(true);
    LayOutAndPaint();
    EXPECT_EQ(left.TickPositions(),
              (std::vector<std::int32_t>{left.ValueToPixel(10), left.ValueToPixel(100),
                                         left.ValueToPixel(1000)}));

    // A minimum of 0 has no logarithm: 0.1 stands in for it, and the label there already
    // maps with it, at the bottom end of the axis.
    left.AssignRange(0, 1000);
    LayOut();
    Paint({&left});
    EXPECT_DOUBLE_EQ(left.EffectiveMinimum(), 0.1);
    ASSERT_EQ(left.TickPositions().size(), 5U); // 0.1, 1, 10, 100, 1000
    EXPECT_EQ(left.TickPositions().front(), left.EndPixel());
    EXPECT_EQ(left.TickPositions().back(), left.StartPixel());
}

TEST_F(AxisLabels, ValueLabelsWiderThanThoseAtTheEndsTakeALargerStep) {
    // "0" and "0.5" fit every 0.01 along the bottom axis, "0.01" to "0.49" do not: the step
    // becomes 0.02, where the labels keep clear of each other by the separation.
    bottom.AssignRange(0, 0.5);
    LayOutAndPaint();
    const std::vector<std::int32_t>& ticks = bottom.TickPositions();
    ASSERT_EQ(ticks.size(), 26U);
    EXPECT_EQ(ticks[1], bottom.ValueToPixel(0.48));
    Chart.SelectFont(bottom.LabelsFont());
    const std::int32_t widest = Chart.Canvas().MeasureTextWidth("0.48");
    EXPECT_GE(ticks[0] - ticks[1], widest + widest / 10);
    // Without texts drawn, or without a separation to keep, the step stays as measured.
    bottom.SetLabels(false);
    bottom.SetTickOnLabelsOnly(false);
    LayOutAndPaint();
    EXPECT_EQ(ticks.size(), 51U);
    bottom.SetLabels(true);
    bottom.SetLabelsSeparation(0);
    bottom.AssignRange(0, 1000);
    LayOutAndPaint();
    EXPECT_EQ(ticks.size(), 1001U); // one label per unit
    bottom.SetLabelsSeparation(10);

    // Date-time labels climb the steps of their own table. Days of the month from the 9th
    // to the 1st along 129 pixels: "9" and "1" fit every 2 days, "11" to "31" do not, and
    // 3 days is the next step.
    Series->XValues().SetDateTime(true);
    bottom.SetDateTimeFormat("d");
    bottom.AssignRange(QDateToChartDate(QDate(2024, 1, 9)), QDateToChartDate(QDate(2024, 2, 1)));
    bottom.SetEndPosition(15);
    LayOutAndPaint();
    ASSERT_EQ(bottom.PixelLength(), 129);
    EXPECT_EQ(ticks.size(), 8U);
}

TEST_F(AxisLabels, SeriesLabelsSkipTheOnesThatWouldOverlap) {
    // 1 apart is under a pixel on this axis: "B" would cover "A".
    LabelPoints({{100, "A"}, {101, "B"}, {500, "C"}});
    std::vector<std::pair<TChartSeries*, std::int32_t>> asked;
    Chart.OnGetAxisLabel = [&](TCustomChartAxis* sender, TChartSeries* series, std::int32_t index,
                               std::string& text) {
        if (sender == &bottom && series != nullptr) {
            asked.emplace_back(series, index);
            text += "!";
        }
    };
    LayOutAndPaint();
    ASSERT_EQ(bottom.EffectiveLabelStyle(), talText);
    EXPECT_EQ(asked.size(), 3U);
    EXPECT_EQ(asked.front(), std::make_pair(Series, 0));
    EXPECT_EQ(bottom.TickPositions(),
              (std::vector<std::int32_t>{bottom.ValueToPixel(100), bottom.ValueToPixel(500)}));

    // Without separation every label is drawn; without labels drawn, every label position
    // still gets its tick when ticks need no text.
    bottom.SetLabelsSeparation(0);
    Paint({&bottom});
    EXPECT_EQ(bottom.TickPositions().size(), 3U);
    bottom.SetLabelsSeparation(10);
    bottom.SetLabels(false);
    bottom.SetTickOnLabelsOnly(false);
    Paint({&bottom});
    EXPECT_EQ(bottom.TickPositions().size(), 3U);
}

TEST_F(AxisLabels, MarkLabelsUseThePointLabelOrTheValue) {
    LabelPoints({{100, "A"}, {500, ""}});
    bottom.SetLabelStyle(talMark);
    std::vector<std::string> texts;
    Chart.OnGetAxisLabel = [&](TCustomChartAxis*, TChartSeries* series, std::int32_t,
                               std::string& text) {
        if (series != nullptr) {
            texts.push_back(text);
        }
    };
    LayOutAndPaint();
    // The mandatory value of the unlabelled point, 0, in the series' value format.
    EXPECT_EQ(texts, (std::vector<std::string>{"A", "0"}));

    // The texts follow the style of the series' marks, and so does the room they take.
    Series->Marks().SetStyle(smsLabelValue);
    texts.clear();
    LayOutAndPaint();
    EXPECT_EQ(texts, (std::vector<std::string>{"A 0", "0 0"}));
    Chart.SelectFont(bottom.LabelsFont());
    const std::int32_t widest =
        std::max(Chart.Canvas().MeasureTextWidth("A 0"), Chart.Canvas().MeasureTextWidth("0 0"));
    EXPECT_EQ(bottom.WidestLabelWidth(), widest);
    // The marks of an inactive series take no room.
    auto* inactive = new TChartSeries;
    inactive->SetParentChart(&Chart);
    inactive->AddPoint(1, 0, "a much wider label");
    inactive->SetActive(false);
    EXPECT_EQ(bottom.WidestLabelWidth(), widest);
}

TEST_F(AxisLabels, WidestLabelWidthByStyle) {
    LayOut();
    Chart.SelectFont(bottom.LabelsFont());
    TCanvas3D& canvas = Chart.Canvas();
    const std::int32_t values = canvas.MeasureTextWidth("1,000") + canvas.MeasureTextWidth(" ");
    EXPECT_EQ(bottom.WidestLabelWidth(), values);
    // The room does not depend on what the label event makes of the texts.
    Chart.OnGetAxisLabel = [](TCustomChartAxis*, TChartSeries*, std::int32_t, std::string& text) {
        text += " units";
    };
    EXPECT_EQ(bottom.WidestLabelWidth(), values);
    Chart.OnGetAxisLabel = nullptr;
    LabelPoints({{1, "ab\rcdefgh"}, {2, "xyz"}});
    EXPECT_EQ(bottom.WidestLabelWidth(), canvas.MeasureTextWidth("cdefgh"));
    bottom.SetLabelStyle(talNone);
    EXPECT_EQ(bottom.WidestLabelWidth(), 0);
}

TEST_F(AxisLabels, FixedBandSizesAndFurtherAxes) {
    bottom.SetLabelsSize(30);
    bottom.SetTitleSize(20);
    bottom.Title().SetCaption("x");
    LayOut();
    EXPECT_EQ(Chart.PlotRect().Bottom, MarginRect.Bottom - 20 - 30 - 6);
    EXPECT_EQ(bottom.TitlePos(), MarginRect.Bottom - 20);
    EXPECT_EQ(bottom.LabelsPos(), MarginRect.Bottom - 50);

    // An axis of the user's stands on the edge it is given and takes no room.
    auto* extra = new TChartAxis(&Chart, true, false, false);
    extra->SetLabelsSize(15);
    TRect rect{10, 10, 200, 100};
    extra->ReserveSpace(rect, false);
    EXPECT_EQ(rect, (TRect{10, 10, 200, 100}));
    EXPECT_EQ(extra->AxisLinePos(), 100);
    EXPECT_EQ(extra->LabelsPos(), 106);
    EXPECT_EQ(extra->TitlePos(), 121);
}

TEST_F(AxisLabels, DepthLabelsNameTheSeriesOfEachSlot) {
    std::vector<std::pair<std::int32_t, std::string>> named;
    Chart.OnGetAxisLabel = [&](TCustomChartAxis* sender, TChartSeries*, std::int32_t index,
                               std::string& text) {
        if (sender == &Chart.DepthAxis() && index >= 0) {
            named.emplace_back(index, text);
        }
    };
    LayOut();
    Paint({&Chart.DepthAxis()});
    EXPECT_EQ(named, (std::vector<std::pair<std::int32_t, std::string>>{{0, "Series 0"}}));
    Series->SetTitle("Hullám");
    named.clear();
    Paint({&Chart.DepthAxis()});
    EXPECT_EQ(named, (std::vector<std::pair<std::int32_t, std::string>>{{0, "Hullám"}}));
}
