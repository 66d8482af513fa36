// SPDX-License-Identifier: MIT
#include <korvatel/render/Chart.h>
#include <korvatel/canvas/ChartCanvas3D.h>
#include <korvatel/data/ChartSeries.h>
#include "CountingWindow.h"
#include <korvatel/axes/FormatSettings.h>

#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

using namespace Korvatel;

namespace {

// Number texts with "," and "." whatever the machine's locale; the settings are put back
// after each test.
struct FixedNumberSettings : ::testing::Test {
    FixedNumberSettings() : saved(ProcessFormatSettings()) {
        ProcessFormatSettings().ThousandSeparator = ",";
        ProcessFormatSettings().DecimalSeparator = ".";
    }
    ~FixedNumberSettings() override { ProcessFormatSettings() = saved; }

    TFormatSettings saved;
};

// A series without a chart holding Y values 10, -30 and 0 (absolute sum 40); the first and
// the last point have labels.
struct MarkTexts : FixedNumberSettings {
    MarkTexts() {
        series.AddPoint(1, 10, "ten");
        series.AddPoint(2, -30);
        series.AddPoint(3, 0, "zero");
    }

    std::vector<std::string> TextsFor(TSeriesMarksStyle style) {
        series.Marks().SetStyle(style);
        std::vector<std::string> result;
        for (std::int32_t i = 0; i < series.PointCount(); ++i) {
            result.push_back(series.PointMarkText(i));
        }
        return result;
    }

    TChartSeries series;
};

using Texts = std::vector<std::string>;

} // namespace

TEST_F(MarkTexts, EveryStyleBuildsItsText) {
    const std::vector<std::pair<TSeriesMarksStyle, Texts>> rows = {
        {smsValue, {"10", "-30", "0"}},
        {smsPercent, {"25 %", "75 %", "0 %"}},
        {smsLabel, {"ten", "-30", "zero"}}, // without a label, the value
        {smsLabelPercent, {"ten 25 %", "-30 75 %", "zero 0 %"}},
        {smsLabelValue, {"ten 10", "-30 -30", "zero 0"}},
        {smsLegend, {"10 ten", "-30", "0 zero"}},
        {smsPercentTotal, {"25 % of 40", "75 % of 40", "0 % of 40"}},
        {smsLabelPercentTotal, {"ten 25 % of 40", "-30 75 % of 40", "zero 0 % of 40"}},
        {smsXValue, {"1", "2", "3"}},
    };
    for (const auto& [style, expected] : rows) {
        EXPECT_EQ(TextsFor(style), expected) << "style " << static_cast<int>(style);
    }
    EXPECT_EQ(TextsFor(static_cast<TSeriesMarksStyle>(99)), (Texts{"", "", ""}));
}

TEST_F(MarkTexts, FormatsComeFromTheSeries) {
    series.AddPoint(4, 1234.56789);
    EXPECT_EQ(series.PointMarkText(3), "1,234.568"); // smsLabel without a label: "#,##0.###"
    series.SetValueFormat("0.0");
    series.SetPercentFormat("0.000%");
    series.Marks().SetStyle(smsLabelPercentTotal);
    // 1234.56789 of an absolute sum of 1274.56789.
    EXPECT_EQ(series.PointMarkText(3), "1234.6 96.862% of 1274.6");
}

TEST_F(FixedNumberSettings, APercentOfAnAllZeroSeriesIsTheWhole) {
    TChartSeries series;
    series.AddPoint(0, 0);
    series.AddPoint(1, 0);
    series.Marks().SetStyle(smsPercent);
    EXPECT_EQ(series.PointMarkText(1), "100 %");
    series.SetPercentFormat("0.0");
    EXPECT_EQ(series.PointMarkText(0), "100.0");
}

TEST_F(FixedNumberSettings, XValuesAreLabelledAsTheHorizontalAxisLabelsThem) {
    TChartSeries alone;
    alone.SetValueFormat("0.00");
    alone.Marks().SetStyle(smsXValue);
    alone.AddPoint(1234.5, 0);
    EXPECT_EQ(alone.PointMarkText(0), "1234.50"); // no axis: the value format

    TChart chart;
    auto* series = new TChartSeries;
    series->SetParentChart(&chart);
    series->SetValueFormat("0.00");
    series->Marks().SetStyle(smsXValue);
    series->AddPoint(1234.5, 0);
    EXPECT_EQ(series->PointMarkText(0), chart.BottomAxis().AxisLabelText(1234.5));
}

TEST_F(MarkTexts, TheEventHasTheLastWord) {
    std::vector<std::int32_t> asked;
    series.OnGetMarkText = [&](TChartSeries* sender, std::int32_t index, std::string& text) {
        EXPECT_EQ(sender, &series);
        asked.push_back(index);
        text = "<" + text + ">";
    };
    EXPECT_EQ(series.PointMarkText(2), "<zero>");
    EXPECT_EQ(asked, std::vector<std::int32_t>{2});
}

TEST_F(MarkTexts, LegendTextsJoinLabelValueAndPercent) {
    const std::vector<std::pair<TLegendTextStyle, Texts>> rows = {
        {ltsPlain, {"ten", "-30", "zero"}},
        {ltsLeftValue, {"10 ten", "-30", "0 zero"}},
        {ltsRightValue, {"ten 10", "-30", "zero 0"}},
        {ltsLeftPercent, {"25 % ten", "75 %", "0 % zero"}},
        {ltsRightPercent, {"ten 25 %", "75 %", "zero 0 %"}},
        {ltsXValue, {"1", "2", "3"}},
    };
    for (const auto& [style, expected] : rows) {
        Texts texts;
        for (std::int32_t i = 0; i < series.LegendItemCount(); ++i) {
            texts.push_back(series.LegendEntryText(series.LegendItemToPoint(i), style));
        }
        EXPECT_EQ(texts, expected) << "style " << static_cast<int>(style);
    }
}

TEST_F(FixedNumberSettings, WidestMarkTextMeasuresInTheCanvasFont) {
    TChart chart;
    auto* series = new TChartSeries;
    series->SetParentChart(&chart);
    EXPECT_EQ(series->WidestMarkText(), 0);

    series->AddPoint(0, 1);
    series->AddPoint(1, 1000000);
    series->AddPoint(2, 22);
    TChartCanvas3D& canvas = chart.Canvas();
    const std::int32_t widest = canvas.MeasureTextWidth("1,000,000");
    EXPECT_GT(widest, canvas.MeasureTextWidth("22"));
    EXPECT_EQ(series->WidestMarkText(), widest);

    // A text broken into lines is as wide as its widest line.
    series->OnGetMarkText = [](TChartSeries*, std::int32_t index, std::string& text) {
        text = index == 1 ? "1\rWWWW\r" : "1";
    };
    EXPECT_EQ(series->WidestMarkText(), canvas.MeasureTextWidth("WWWW"));

    TChartSeries alone; // no chart, no canvas
    alone.AddPoint(0, 5);
    EXPECT_EQ(alone.WidestMarkText(), 0);
}

TEST(SeriesMarksTest, EveryChangeAsksForOneRepaintAndAssignTakesAllSettings) {
    TCountingWindow window;
    TChart chart;
    chart.SetWindow(&window);
    auto* series = new TChartSeries;
    series->SetParentChart(&chart);
    TSeriesMarks& marks = series->Marks();
    EXPECT_EQ(marks.BackColor(), DefaultMarkBackColor);
    EXPECT_EQ(marks.Arrow().Color(), clWhite);
    EXPECT_TRUE(marks.Frame().Visible());
    EXPECT_TRUE(marks.Font().IsDefault());

    window.Invalidations = 0;
    marks.SetStyle(smsLabel); // unchanged values ask for nothing
    marks.SetArrowLength(8);
    marks.Font().SetSize(8);
    marks.SetBackColor(DefaultMarkBackColor);
    EXPECT_EQ(window.Invalidations, 0);
    marks.SetTransparent(true);
    marks.Font().SetColor(clRed);
    marks.Frame().SetWidth(2);
    marks.Brush().SetStyle(bsCross);
    marks.Arrow().SetColor(clDefault);
    EXPECT_EQ(window.Invalidations, 5);

    TSeriesMarks other(nullptr);
    other.SetStyle(smsValue);
    other.SetArrowLength(3);
    other.SetClip(true);
    other.SetBackColor(clBlue);
    other.Font().SetSize(12);
    other.Frame().SetColor(clRed);
    other.Arrow().SetWidth(2);
    other.SetVisible(false);
    other.SetCustomPosition(0, {});
    marks.Assign(other);
    EXPECT_EQ(marks.Style(), smsValue);
    EXPECT_EQ(marks.ArrowLength(), 3);
    EXPECT_TRUE(marks.Clip());
    EXPECT_FALSE(marks.Transparent());
    EXPECT_EQ(marks.BackColor(), clBlue);
    EXPECT_EQ(marks.Brush().Style(), bsSolid);
    EXPECT_EQ(marks.Font().Size(), 12);
    EXPECT_EQ(marks.Frame().Color(), clRed);
    EXPECT_EQ(marks.Arrow().Width(), 2);
    EXPECT_FALSE(marks.Visible());
    EXPECT_TRUE(marks.Positions().empty()); // positions belong to the other series' points
}
