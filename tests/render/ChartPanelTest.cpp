// SPDX-License-Identifier: MIT
#include <korvatel/render/Chart.h>
#include <korvatel/canvas/ChartCanvas3D.h>
#include <korvatel/core/ChartErrors.h>
#include <korvatel/canvas/ChartFont.h>
#include "ChartPrinters.h"
#include "CountingWindow.h"

#include <gtest/gtest.h>

using namespace Korvatel;

TEST(ChartPanelTest, NormalizeKeepsThePlotRectInsideAndNeverEmpty) {
    TChart chart;
    chart.SetSize(8, 8);
    chart.SetPanelBounds({0, 0, 8, 8});
    chart.SetPlotRect({5, 5, 3, 3}); // turned inside out by a border of 5
    EXPECT_EQ(chart.PlotRect(), (TRect{5, 5, 6, 6}));
    EXPECT_EQ(chart.PlotWidth(), 1);
    EXPECT_EQ(chart.PlotHeight(), 1);

    chart.SetPlotRect({-4, -2, -4, -2}); // left of and above the panel, inside out
    EXPECT_EQ(chart.PlotRect(), (TRect{0, 0, 1, 1}));
    chart.SetPlotRect({-4, -2, 0, 0}); // zero sized once moved in: the control's size
    EXPECT_EQ(chart.PlotRect(), (TRect{0, 0, 8, 8}));

    chart.SetPlotRect({10, 20, 110, 221});
    EXPECT_EQ(chart.PlotCenterX(), 60);
    EXPECT_EQ(chart.PlotCenterY(), 120);
}

TEST(ChartPanelTest, Chart3DPercentIsCheckedBeforeItIsStored) {
    TChart chart;
    for (int bad : {0, 101, -5}) {
        try {
            chart.SetChart3DPercent(bad);
            FAIL() << bad;
        } catch (const ChartException& error) {
            EXPECT_STREQ(error.what(), "3D effect percent must be between 1 and 100");
        }
    }
    EXPECT_EQ(chart.Chart3DPercent(), 15);
    chart.SetChart3DPercent(1);
    chart.SetChart3DPercent(100);
    EXPECT_EQ(chart.Chart3DPercent(), 100);
}

TEST(ChartPanelTest, PropertiesRepaintOnlyWhenChanged) {
    TCountingWindow window;
    TChart chart;
    chart.SetWindow(&window);
    chart.SetMarginLeft(3);
    chart.SetBevelOuter(bvRaised);
    chart.SetView3D(true);
    chart.SetColor(clBtnFace);
    EXPECT_EQ(window.Invalidations, 0);
    chart.SetView3D(false);
    chart.SetBorderWidth(5);
    EXPECT_EQ(window.Invalidations, 2);
}

TEST(ChartPanelTest, RequestsMarkTheKeptPictureStale) {
    TCountingWindow window;
    TChart chart;
    chart.SetWindow(&window);
    chart.Canvas().MarkDirty();
    EXPECT_TRUE(chart.Canvas().IsDirty());
    chart.SetRepaintEnabled(false);
    chart.SetColor(clRed); // stored, but no request while repaints are off
    EXPECT_EQ(window.Invalidations, 0);
    chart.SetRepaintEnabled(true);
    chart.RequestRepaint();
    chart.RepaintImmediately();
    EXPECT_EQ(window.Invalidations, 1);
    EXPECT_EQ(window.ImmediateRepaints, 1);
}

TEST(ChartPanelTest, TextBlockWidthMeasuresTheWidestLine) {
    TChart chart;
    TChartFont font;
    chart.SelectFont(font);
    TChartCanvas3D& canvas = chart.Canvas();
    const std::int32_t wide = canvas.MeasureTextWidth("Wide line");
    const std::int32_t narrow = canvas.MeasureTextWidth("ab");
    struct Row {
        const char* text;
        std::int32_t width;
        std::int32_t lines;
    };
    const Row rows[] = {{"", 0, 1},
                        {"ab", narrow, 1},
                        {"ab\rWide line", wide, 2},
                        {"Wide line\rab\r", wide, 2}, // no empty last line
                        {"\r\r", 0, 2},
                        {"ab\r\rab", narrow, 3}};
    for (const Row& row : rows) {
        std::int32_t lines = -1;
        EXPECT_EQ(chart.TextBlockWidth(row.text, &lines), row.width) << row.text;
        EXPECT_EQ(lines, row.lines) << row.text;
    }
}
