#include "Chart.h"
#include "ChartErrors.h"
#include "ChartPrinters.h"
#include "CountingWindow.h"

#include <gtest/gtest.h>

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
