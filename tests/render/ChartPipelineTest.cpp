// SPDX-License-Identifier: MIT
#include <korvatel/render/Chart.h>
#include <korvatel/canvas/ChartCanvas3D.h>
#include "ChartImage.h"
#include "ChartPrinters.h"
#include <korvatel/data/FastLineSeries.h>
#include <korvatel/canvas/SystemColors.h>
#include <korvatel/canvas/View3DOptions.h>

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace Korvatel;

namespace {

QRgb Rgb(TColor color) {
    return ColorToRgb(color);
}

// A chart with fixed axes, 0 to 100 both ways, and one black fast line.
struct PipelineChart {
    explicit PipelineChart(int width = 200, int height = 150) {
        chart.SetSize(width, height);
        chart.SetView3D(false);
        chart.SetColor(clWhite);
        // The back wall's frame and the legend are black too; they have tests of their own.
        chart.Frame().SetVisible(false);
        chart.Legend().SetVisible(false);
        for (TChartAxis* axis : {&chart.BottomAxis(), &chart.LeftAxis()}) {
            axis->SetAutomatic(false);
            axis->SetMaximum(100);
            axis->SetMinimum(0);
        }
        series = new TFastLineSeries;
        series->SetParentChart(&chart);
        series->SetSeriesColor(clBlack);
    }

    // Every black pixel of the picture.
    static std::vector<QPoint> Black(const QImage& image) {
        std::vector<QPoint> result;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixel(x, y) == qRgb(0, 0, 0)) {
                    result.emplace_back(x, y);
                }
            }
        }
        return result;
    }

    TChart chart;
    TFastLineSeries* series; // owned by the chart
};

} // namespace

TEST(ChartPipelineTest, TheMarginsAndTheBorderPlaceTheChartRectangle) {
    struct Row {
        int width;
        int height;
        int border;
        TRect plot;
    };
    const Row rows[] = {
        {961, 529, 0, {29, 21, 932, 508}}, // MulDiv(3, 961, 100) = 29, MulDiv(4, 529, 100) = 21
        {961, 529, 5, {34, 26, 927, 503}},
        {8, 8, 5, {5, 5, 6, 6}}, // (5, 5, 3, 3) turned inside out, repaired
        // An absurd border leaves a rectangle beyond the panel, but nothing wraps round.
        {961, 529, 2000000000, {2000000029, 2000000021, 2000000030, 2000000022}},
    };
    for (const Row& row : rows) {
        TChart chart;
        chart.SetSize(row.width, row.height);
        chart.SetBorderWidth(row.border);
        chart.SetPanelBounds({0, 0, row.width, row.height});
        chart.ApplyPanelMargins();
        EXPECT_EQ(chart.PlotRect(), row.plot) << row.width << " x " << row.height;
    }
}

TEST(ChartPipelineTest, TheRaisedOuterBevelIsLightAboveAndDarkBelow) {
    TChart chart;
    chart.SetSize(961, 529);
    const QImage image = DrawChartImage(chart);
    const QRgb light = Rgb(clBtnHighlight);
    const QRgb dark = Rgb(clBtnShadow);
    ASSERT_NE(light, dark);
    for (int x = 0; x < 960; ++x) {
        ASSERT_EQ(image.pixel(x, 0), light) << x;
        ASSERT_EQ(image.pixel(x, 528), dark) << x;
    }
    for (int y = 0; y < 528; ++y) {
        ASSERT_EQ(image.pixel(0, y), light) << y;
        ASSERT_EQ(image.pixel(960, y), dark) << y;
    }
    EXPECT_EQ(image.pixel(960, 0), dark);
    EXPECT_EQ(image.pixel(0, 528), dark);
    // Inside, the panel colour.
    EXPECT_EQ(image.pixel(1, 1), Rgb(clBtnFace));
    EXPECT_EQ(image.pixel(480, 264), Rgb(clBtnFace));
}

TEST(ChartPipelineTest, BevelsAndBorderAreRingsFromTheEdgeInwards) {
    // Columns 0 .. 6 of row 5 of a 12 x 11 panel cross every ring on the left.
    struct Row {
        TPanelBevel outer;
        TPanelBevel inner;
        int bevelWidth;
        int border;
        std::vector<TColor> left;  // row 5 from column 0
        std::vector<TColor> right; // row 5 from column 11 leftwards
    };
    const TColor face = clTeal;
    const TColor hi = clBtnHighlight;
    const TColor sh = clBtnShadow;
    const Row rows[] = {
        {bvRaised, bvNone, 1, 0, {hi, face}, {sh, face}},
        {bvLowered, bvNone, 2, 0, {sh, sh, face}, {hi, hi, face}},
        {bvSpace, bvNone, 1, 0, {hi, face}, {hi, face}},
        {bvNone, bvNone, 1, 0, {face}, {face}},
        {bvRaised, bvLowered, 1, 2, {hi, face, face, sh, face}, {sh, face, face, hi, face}},
    };
    for (const Row& row : rows) {
        TChart chart;
        chart.SetSize(12, 11);
        chart.SetColor(face);
        chart.SetBevelOuter(row.outer);
        chart.SetBevelInner(row.inner);
        chart.SetBevelWidth(row.bevelWidth);
        chart.SetBorderWidth(row.border);
        chart.SetAxisVisible(false);
        // On so small a panel the walls would cover the rings.
        chart.SetView3D(false);
        chart.Frame().SetVisible(false);
        const QImage image = DrawChartImage(chart);
        for (std::size_t i = 0; i < row.left.size(); ++i) {
            EXPECT_EQ(image.pixel(static_cast<int>(i), 5), Rgb(row.left[i]))
                << "ring " << i << " outer " << int(row.outer);
            EXPECT_EQ(image.pixel(11 - static_cast<int>(i), 5), Rgb(row.right[i]))
                << "ring " << i << " outer " << int(row.outer);
        }
    }
}

TEST(ChartPipelineTest, AHugeBevelStopsWhereTheRingsMeet) {
    TChart chart;
    chart.SetSize(20, 10);
    chart.SetBevelWidth(2000000000);
    chart.Frame().SetVisible(false);
    const QImage image = DrawChartImage(chart); // returns at once
    EXPECT_EQ(image.pixel(0, 0), Rgb(clBtnHighlight));
    EXPECT_EQ(image.pixel(19, 9), Rgb(clBtnShadow));
}

TEST(ChartPipelineTest, AVisibleGradientReplacesThePanelColour) {
    TChart chart;
    chart.SetSize(40, 40);
    chart.SetBevelOuter(bvNone);
    chart.Gradient().SetStartColor(clWhite);
    chart.Gradient().SetEndColor(clBlack);
    chart.Gradient().SetVisible(true);
    const QImage image = DrawChartImage(chart);
    EXPECT_EQ(image.pixel(20, 0), qRgb(255, 255, 255));
    EXPECT_NE(image.pixel(20, 39), image.pixel(20, 0));
    EXPECT_LT(qRed(image.pixel(20, 39)), 20);
}

TEST(ChartPipelineTest, TheStepsRunInTheirOrder) {
    PipelineChart p;
    std::vector<std::string> steps;
    p.chart.OnBeforeDrawAxes = [&](TCustomAxisPanel*) { steps.push_back("axes"); };
    p.chart.OnBeforeDrawSeries = [&](TCustomAxisPanel*) { steps.push_back("series"); };
    p.chart.OnAfterDraw = [&](TCustomAxisPanel*) { steps.push_back("after"); };
    p.series->BeforeDrawValues = [&](TChartSeries*) { steps.push_back("before values"); };
    p.series->AfterDrawValues = [&](TChartSeries*) { steps.push_back("after values"); };
    auto* empty = new TFastLineSeries;
    empty->SetParentChart(&p.chart);
    empty->BeforeDrawValues = [&](TChartSeries*) { steps.push_back("empty"); };
    p.series->AddPoint(10, 10);
    p.series->AddPoint(20, 20);

    DrawChartImage(p.chart);
    EXPECT_EQ(steps, (std::vector<std::string>{"axes", "series", "before values", "after values",
                                               "after"}));

    // Without axes the axis event is not raised either.
    steps.clear();
    p.chart.SetAxisVisible(false);
    DrawChartImage(p.chart);
    EXPECT_EQ(steps,
              (std::vector<std::string>{"series", "before values", "after values", "after"}));
}

TEST(ChartPipelineTest, TheLayoutCanBeComputedWithoutDrawing) {
    PipelineChart p;
    p.chart.SetPanelBounds({0, 0, 200, 150});
    p.chart.ApplyPanelMargins();
    p.chart.ReserveAxisSpace();
    const TRect plot = p.chart.PlotRect();
    EXPECT_EQ(p.chart.BottomAxis().StartPixel(), plot.Left);
    EXPECT_EQ(p.chart.BottomAxis().EndPixel(), plot.Right);
    EXPECT_EQ(p.chart.LeftAxis().StartPixel(), plot.Top);
    EXPECT_EQ(p.chart.LeftAxis().EndPixel(), plot.Bottom);
    EXPECT_EQ(p.chart.BottomAxis().EffectiveMaximum(), 100);
    EXPECT_EQ(p.chart.Depth3D(), 0);
    EXPECT_EQ(p.chart.Canvas().TargetSurface(), nullptr); // nothing was drawn
}

TEST(ChartPipelineTest, TheDepthOfThe3DBoxFollowsThePlotWidth) {
    struct Row {
        bool view3D;
        bool orthogonal;
        int percent;
        int seriesDepth;
    };
    // A plot 900 pixels wide: 900 x 15 / 1000 = 13.5, rounded to even.
    const Row rows[] = {{false, true, 15, 0},
                        {true, true, 15, 14},
                        {true, false, 15, 27},
                        {true, true, 100, 90},
                        {true, true, 1, 1}};
    for (const Row& row : rows) {
        TChart chart;
        chart.SetView3D(row.view3D);
        chart.View3DOptions().SetOrthogonal(row.orthogonal);
        chart.SetChart3DPercent(row.percent);
        chart.SetPanelBounds({0, 0, 1000, 500});
        chart.SetPlotRect({50, 20, 950, 480});
        chart.ComputeDepth3D();
        EXPECT_EQ(chart.SeriesDepth3D(), row.seriesDepth) << row.percent;
        EXPECT_EQ(chart.Depth3D(), row.seriesDepth) << row.percent;
    }
}

TEST(ChartPipelineTest, ClipPointsKeepsTheLineInsideTheChartRectangle) {
    for (bool clip : {true, false}) {
        PipelineChart p;
        p.chart.SetClipPoints(clip);
        p.chart.SetAxisVisible(false);
        // From the middle up far beyond the top of the range.
        p.series->AddPoint(50, 50);
        p.series->AddPoint(60, 400);
        const QImage image = DrawChartImage(p.chart);
        const TRect plot = p.chart.PlotRect();
        bool outside = false;
        bool inside = false;
        for (const QPoint& pixel : PipelineChart::Black(image)) {
            const bool in = pixel.x() > plot.Left && pixel.x() < plot.Right &&
                            pixel.y() > plot.Top && pixel.y() < plot.Bottom - 1;
            (in ? inside : outside) = true;
        }
        EXPECT_TRUE(inside) << clip;
        EXPECT_EQ(outside, !clip) << clip;
    }
}

TEST(ChartPipelineTest, WithoutAxesTheSeriesSpansTheChartRectangle) {
    PipelineChart p;
    p.chart.SetAxisVisible(false);
    for (const TCustomChartAxis* axis : p.chart.AxisList()) {
        EXPECT_FALSE(p.chart.AxisIsShown(*axis));
    }
    p.chart.SetClipPoints(false);
    p.series->AddPoint(0, 0);
    p.series->AddPoint(100, 0);
    const QImage image = DrawChartImage(p.chart);
    const TRect plot = p.chart.PlotRect();
    // The bottom of the range lies on the chart rectangle's bottom edge, from its left edge.
    EXPECT_EQ(image.pixel(plot.Left, plot.Bottom), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(plot.Right - 1, plot.Bottom), qRgb(0, 0, 0));
    EXPECT_NE(image.pixel(plot.Left - 1, plot.Bottom), qRgb(0, 0, 0));
}

TEST(ChartPipelineTest, AnAxisWhoseRoomWouldLeaveNothingIsLeftOutOfTheLayout) {
    // Labels wider than the chart: the left axis's room is dropped, the bottom axis keeps its
    // own, and the line still spans the width between the margins.
    PipelineChart c(400, 300);
    c.series->AddPoint(0, 50);
    c.series->AddPoint(100, 50);
    DrawChartImage(c.chart);
    const TRect normal = c.chart.PlotRect();
    c.chart.LeftAxis().SetLabelsSize(1000);
    DrawChartImage(c.chart);
    const TRect& plot = c.chart.PlotRect();
    EXPECT_EQ(plot.Left, 12); // MulDiv(3, 400, 100)
    EXPECT_EQ(plot.Right, normal.Right);
    EXPECT_EQ(plot.Bottom, normal.Bottom);
    EXPECT_GT(plot.Width(), normal.Width());
}

TEST(ChartPipelineTest, TheImageIsKeptUntilTheNextRequest) {
    PipelineChart p;
    p.series->AddPoint(0, 0);
    p.series->AddPoint(100, 100);
    QImage window(200, 150, QImage::Format_RGB32);
    TChartSurface surface(window);
    EXPECT_FALSE(p.chart.Canvas().RepaintFromBuffer(surface)); // nothing drawn yet
    const QImage drawn = DrawChartImage(p.chart);
    ASSERT_NE(p.chart.Canvas().Bitmap(), nullptr);
    EXPECT_EQ(*p.chart.Canvas().Bitmap(), drawn);
    EXPECT_TRUE(p.chart.Canvas().RepaintFromBuffer(surface));
    p.series->AddPoint(50, 0);
    EXPECT_FALSE(p.chart.Canvas().RepaintFromBuffer(surface));

    // Drawing into the buffer alone draws the same picture, copies nothing and leaves it stale
    // until a repaint presents it.
    window.fill(Qt::black);
    p.chart.DrawIntoBuffer(surface, {0, 0, 200, 150});
    p.chart.Canvas().TargetSurface()->EndPainting();
    EXPECT_EQ(window.pixel(100, 75), qRgb(0, 0, 0));
    EXPECT_TRUE(p.chart.Canvas().IsDirty());
    EXPECT_FALSE(p.chart.Canvas().RepaintFromBuffer(surface));
    const QImage buffered = *p.chart.Canvas().Bitmap();
    EXPECT_EQ(buffered, DrawChartImage(p.chart));
}

TEST(ChartPipelineTest, TheZoomRectangleVanishesWhenDrawnTwice) {
    for (TColor panel : {clWhite, clTeal}) {
        PipelineChart p;
        p.chart.SetColor(panel);
        p.chart.SetAxisVisible(false); // no grid under the band: the colours stay plain
        p.series->AddPoint(0, 0);
        p.series->AddPoint(100, 100);
        const QImage before = DrawChartImage(p.chart);
        p.chart.Zoom().Start(150, 120);
        p.chart.Zoom().CurrentX = 40;
        p.chart.Zoom().CurrentY = 30;
        p.chart.DrawZoomRectangle();
        p.chart.Canvas().TargetSurface()->EndPainting();
        const QImage band = *p.chart.Canvas().Bitmap();
        EXPECT_NE(band, before);
        if (panel == clWhite) {
            EXPECT_EQ(band.pixel(100, 30), qRgb(0, 0, 0)); // black on white
        }
        EXPECT_EQ(band.pixel(100, 31), before.pixel(100, 31));
        p.chart.DrawZoomRectangle();
        p.chart.Canvas().TargetSurface()->EndPainting();
        EXPECT_EQ(*p.chart.Canvas().Bitmap(), before);
    }
}

TEST(ChartPipelineTest, ADragInProgressDrawsItsRubberBandInEveryRepaint) {
    PipelineChart p;
    p.chart.Zoom().Start(20, 20);
    p.chart.Zoom().CurrentX = 60;
    p.chart.Zoom().CurrentY = 50;
    const QImage image = DrawChartImage(p.chart);
    EXPECT_EQ(image.pixel(40, 20), qRgb(0, 0, 0));
    p.chart.Zoom().DragActive = false;
    EXPECT_NE(DrawChartImage(p.chart).pixel(40, 20), qRgb(0, 0, 0));
}

TEST(ZoomPanningRecordTest, StartAndNormalize) {
    struct Row {
        TPoint anchor;
        TPoint current;
        TRect normalized;
    };
    const Row rows[] = {{{10, 20}, {30, 40}, {10, 20, 30, 40}},
                        {{30, 40}, {10, 20}, {10, 20, 30, 40}},
                        {{30, 20}, {10, 40}, {10, 20, 30, 40}},
                        {{5, 5}, {5, 5}, {5, 5, 5, 5}}};
    for (const Row& row : rows) {
        TZoomPanningRecord record;
        record.Start(row.anchor.X, row.anchor.Y);
        EXPECT_TRUE(record.DragActive);
        EXPECT_EQ(record.Rectangle(),
                  (TRect{row.anchor.X, row.anchor.Y, row.anchor.X, row.anchor.Y}));
        record.CurrentX = row.current.X;
        record.CurrentY = row.current.Y;
        record.Normalize();
        EXPECT_EQ(record.Rectangle(), row.normalized);
    }
}
