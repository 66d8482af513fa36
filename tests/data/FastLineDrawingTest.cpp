// SPDX-License-Identifier: MIT
#include "AxisLayout.h"
#include "CanvasImage.h"
#include <korvatel/render/Chart.h>
#include <korvatel/canvas/ChartCanvas3D.h>
#include "ChartPrinters.h"
#include "CountingWindow.h"
#include <korvatel/data/FastLineSeries.h>

#include <gtest/gtest.h>
#include <vector>

using namespace Korvatel;

namespace {

// A fast line on a chart whose canvas draws straight onto a white image. The bottom axis runs
// from Left to Left + 100 and the left axis from 0 to 100 over a 100 x 100 chart rectangle
// at (Offset, 0), so a point (x, y) lands on the pixel (Offset + x - Left, 100 - y).
struct FastLineDrawing : ::testing::Test {
    static constexpr int Offset = 50;

    FastLineDrawing() : Image(200, 101, QImage::Format_RGB32), Surface(Image) {
        Image.fill(qRgb(255, 255, 255));
        chart.SetSize(200, 101);
        chart.SetView3D(false);
        chart.SetWindow(&window);
        series = new TFastLineSeries;
        series->SetParentChart(&chart);
        series->SetSeriesColor(clBlack);
        SetBottomRange(0);
        chart.LeftAxis().SetAutomatic(false);
        chart.LeftAxis().SetMaximum(100);
        chart.LeftAxis().SetMinimum(0);
        chart.Canvas().SetTargetSurface(&Surface);
    }
    ~FastLineDrawing() override { chart.Canvas().SetTargetSurface(nullptr); }

    void SetBottomRange(double left) {
        chart.BottomAxis().SetAutomatic(false);
        chart.BottomAxis().SetMaximum(left + 100);
        chart.BottomAxis().SetMinimum(left);
    }

    // The layout and the series' part of one repaint, without clipping.
    void Draw() {
        LayOutAxes(chart, {Offset, 0, Offset + 100, 100});
        series->ComputeVisibleRange();
        series->DrawPoints();
    }

    TPixelSet Ink() {
        Surface.EndPainting();
        TPixelSet result;
        for (int y = 0; y < Image.height(); ++y) {
            for (int x = 0; x < Image.width(); ++x) {
                if (Image.pixel(x, y) != qRgb(255, 255, 255)) {
                    result.emplace(x, y);
                }
            }
        }
        return result;
    }

    // The pixels of a polyline through the given points drawn by the canvas itself.
    static TPixelSet Polyline(const std::vector<TPoint>& points) {
        TCanvasImage reference(200, 101);
        reference.Canvas.DrawPolyline(points);
        return reference.Ink();
    }

    TCountingWindow window;
    QImage Image;
    TChartSurface Surface;
    TChart chart;
    TFastLineSeries* series; // owned by the chart
};

} // namespace

TEST_F(FastLineDrawing, OnePointOnlyMovesThePen) {
    series->AddPoint(30, 40);
    Draw();
    EXPECT_TRUE(Ink().empty());
    EXPECT_EQ(chart.Canvas().PenPosition(), (TPoint{Offset + 30, 60}));
}

TEST_F(FastLineDrawing, AMoveThenPointsOnTheSamePixelAreSkipped) {
    // Pixels (60, 50), (60, 50) and (62, 40).
    series->AddPoint(10, 50);
    series->AddPoint(10, 50);
    series->AddPoint(12, 60);
    Draw();
    EXPECT_EQ(Ink(), Polyline({{60, 50}, {62, 40}}));
    EXPECT_EQ(series->LastDrawnX(), 62);
    EXPECT_EQ(series->LastDrawnY(), 40);
}

TEST_F(FastLineDrawing, TheLineEntersFromThePointBeforeTheVisibleRange) {
    // Points at x = 0, 10, ..., 90 with the axis starting at 45: points 0 to 4 lie left of the
    // chart rectangle, and only point 4's segment into it is drawn.
    for (int i = 0; i < 10; ++i) {
        series->AddPoint(i * 10, 20 + i * 5);
    }
    SetBottomRange(45);
    Draw();
    EXPECT_EQ(series->FirstVisible(), 5);
    std::vector<TPoint> expected;
    for (int i = 4; i < 10; ++i) {
        expected.push_back({Offset + i * 10 - 45, 100 - (20 + i * 5)});
    }
    EXPECT_EQ(Ink(), Polyline(expected));
}

TEST_F(FastLineDrawing, AHiddenPenDrawsNothing) {
    series->AddPoint(0, 0);
    series->AddPoint(50, 50);
    series->LinePen().SetVisible(false);
    Draw();
    EXPECT_TRUE(Ink().empty());
}

TEST_F(FastLineDrawing, PointAtPixelFindsPointsAndSegments) {
    EXPECT_EQ(series->PointAtPixel(Offset, 100), -1); // nothing drawn yet
    const double ys[] = {0, 10, 0, 10, 0, 10, 0, 20, 40, 50};
    for (int i = 0; i < 10; ++i) {
        series->AddPoint(i * 10, ys[i]);
    }
    Draw();
    struct Row {
        TPoint pixel;
        std::int32_t index;
    };
    const Row rows[] = {
        {{Offset + 70, 80}, 7},  // on point 7
        {{Offset + 75, 70}, 7},  // on the line from point 7 (70, 80) to point 8 (80, 60)
        {{Offset + 75, 72}, -1}, // just off that line
        {{Offset + 80, 60}, 8},  // on point 8, which is tested before its segment
        {{Offset + 90, 50}, 9},  // the last point
        {{Offset + 91, 49}, -1}, // one pixel beyond it, along the line
        {{Offset + 5, 95}, 0},   // on the first segment
        {{Offset, 100}, 0},      {{Offset - 1, 101}, -1}, // before the first point, along the line
    };
    for (const Row& row : rows) {
        EXPECT_EQ(series->PointAtPixel(row.pixel.X, row.pixel.Y), row.index)
            << row.pixel.X << ", " << row.pixel.Y;
    }
}

TEST_F(FastLineDrawing, PointAtPixelReadsOnlyPointsThatStillExist) {
    for (int i = 0; i < 10; ++i) {
        series->AddPoint(i * 10, 50);
    }
    Draw();
    // A new, shorter frame arrives before the next repaint: the range of the last repaint
    // names points 0 to 9, of which only 0 to 2 exist now.
    series->ClearPoints();
    for (int i = 0; i < 3; ++i) {
        series->AddPoint(i * 10, 20);
    }
    EXPECT_EQ(series->PointAtPixel(Offset + 70, 50), -1);
    EXPECT_EQ(series->PointAtPixel(Offset + 10, 80), 1);
    EXPECT_EQ(series->PointAtPixel(Offset + 15, 80), 1);
    series->ClearPoints();
    EXPECT_EQ(series->PointAtPixel(Offset + 10, 80), -1);
}

TEST_F(FastLineDrawing, DrawingAfterTheSeriesShrankReadsOnlyExistingPoints) {
    for (int i = 0; i < 10; ++i) {
        series->AddPoint(i * 10, 50);
    }
    Draw();
    series->ClearPoints();
    series->AddPoint(0, 20);
    series->AddPoint(10, 30);
    series->DrawPoints(); // the range of the last layout still names points 0 to 9
    EXPECT_EQ(series->LastDrawnX(), Offset + 10);
    EXPECT_EQ(series->LastDrawnY(), 70);
}

TEST_F(FastLineDrawing, AutoRepaintRequestsARepaintPerPointAndDrawsNothing) {
    window.Invalidations = 0;
    int added = 0;
    series->OnAfterAdd = [&](TChartSeries*, std::int32_t) { ++added; };
    for (int i = 0; i < 600; ++i) {
        series->AddPoint(i % 100, i % 100);
    }
    EXPECT_EQ(window.Invalidations, 600);
    EXPECT_EQ(added, 600);
    EXPECT_TRUE(Ink().empty());
}

TEST_F(FastLineDrawing, WithoutAutoRepaintAnAddedPointIsDrawnAtOnce) {
    for (int i = 0; i < 3; ++i) {
        series->AddPoint(i * 10, 50);
    }
    Draw();
    const TPixelSet before = Ink();
    chart.SetClipPoints(false);
    series->SetAutoRepaint(false);
    chart.Canvas().MarkDirty();
    chart.Canvas().PresentBuffer(Surface, {0, 0, 0, 0}); // the picture is clean again
    chart.Canvas().SetTargetSurface(&Surface);
    int added = 0;
    series->OnAfterAdd = [&](TChartSeries*, std::int32_t) { ++added; };
    window.Invalidations = 0;

    series->AddPoint(30, 80);

    // Drawn from point 2 to point 3; no event, no repaint request, only the window asked to
    // show the picture again.
    TPixelSet expected = before;
    const TPixelSet segment = Polyline({{Offset + 20, 50}, {Offset + 30, 20}});
    expected.insert(segment.begin(), segment.end());
    EXPECT_EQ(Ink(), expected);
    EXPECT_EQ(added, 0);
    EXPECT_FALSE(chart.Canvas().IsDirty());
    EXPECT_EQ(window.Invalidations, 1);
}

TEST_F(FastLineDrawing, TheLegendSymbolIsAStrokeAcrossTheMiddle) {
    series->DrawLegendSymbol({10, 20, 30, 31});
    EXPECT_EQ(Ink(), Polyline({{10, 25}, {30, 25}}));
}

TEST(FastLineSeriesTest, AssignTakesAutoRepaintAndTheLinePen) {
    TFastLineSeries source;
    source.SetAutoRepaint(false);
    // The base series' copy follows and takes the series colour, which is the pen's colour.
    source.SetSeriesColor(clBlue);
    source.LinePen().SetWidth(2);
    source.LinePen().SetStyle(psDot);
    TFastLineSeries target;
    target.Assign(source);
    EXPECT_FALSE(target.AutoRepaint());
    EXPECT_EQ(target.LinePen().Color(), clBlue);
    EXPECT_EQ(target.LinePen().Width(), 2);
    EXPECT_EQ(target.LinePen().Style(), psDot);

    TChartSeries plain;
    TFastLineSeries untouched;
    untouched.Assign(plain);
    EXPECT_TRUE(untouched.AutoRepaint());
    EXPECT_EQ(untouched.LinePen().Width(), 1);
}
