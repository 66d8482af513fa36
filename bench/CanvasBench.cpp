// SPDX-License-Identifier: MIT
// The canvas's share of an animation frame. "lines" and "lines_million" time the one-pixel
// line path alone: connected segments of a sine across the main window's 961 x 529 chart
// image, 2001 points (one frame of the wave) and a million points. "canvas_frame" times a whole
// repaint as the pipeline issues it: background, bevel, title, back wall, two axes with 22
// labels, ticks, minor ticks and dotted grid lines, the clipped series of 2001 points, and the
// copy of the finished image to the window.
#include "BenchRunner.h"
#include <korvatel/canvas/ChartCanvas3D.h>
#include <korvatel/core/Rounding.h>
#include <korvatel/canvas/SystemColors.h>

#include <QImage>
#include <cmath>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

using namespace Korvatel;

namespace {

constexpr int ImageWidth = 961;
constexpr int ImageHeight = 529;

std::vector<TPoint> SinePoints(int count) {
    std::vector<TPoint> points;
    points.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / (count - 1);
        const double y = 264.0 + 240.0 * std::sin(2.0 * std::numbers::pi * 2.5 * t);
        points.push_back({RoundHalfEvenLow32(t * (ImageWidth - 1)), RoundHalfEvenLow32(y)});
    }
    return points;
}

struct TLineBench {
    explicit TLineBench(int count)
        : Points(SinePoints(count)), Image(ImageWidth, ImageHeight, QImage::Format_RGB32),
          Surface(Image) {
        Image.fill(Qt::white);
        Canvas.SetTargetSurface(&Surface);
        Canvas.Pen().SetColor(clRed);
    }
    ~TLineBench() { Canvas.SetTargetSurface(nullptr); }

    void Run() {
        Canvas.MovePenTo(Points[0].X, Points[0].Y);
        for (std::size_t i = 1; i < Points.size(); ++i) {
            Canvas.DrawLineTo(Points[i].X, Points[i].Y);
        }
    }

    std::vector<TPoint> Points;
    QImage Image;
    TChartSurface Surface;
    TChartCanvas3D Canvas;
};

std::unique_ptr<TLineBench> lines;
std::unique_ptr<TLineBench> linesMillion;

const TBenchRegistration LinesCase({"lines", 2001,
                                    [] { lines = std::make_unique<TLineBench>(2001); },
                                    [] { lines->Run(); }});
const TBenchRegistration LinesMillionCase(
    {"lines_million", 1000000, [] { linesMillion = std::make_unique<TLineBench>(1000000); },
     [] { linesMillion->Run(); }});

// The drawing calls of one repaint of the main window's chart, in pipeline order.
struct TFrameBench {
    TFrameBench()
        : Points(SinePoints(2001)), Window(ImageWidth, ImageHeight, QImage::Format_RGB32),
          WindowSurface(Window) {
        Title.SetName("Arial");
        Title.SetHeight(-13);
        Title.SetStyle(fsBold);
        Title.SetColor(clBlue);
        Grid.SetColor(clGray);
        Grid.SetStyle(psDot);
        Axis.SetWidth(2);
        Ticks.SetColor(clGray);
        for (int i = 0; i <= 10; ++i) {
            BottomLabels.push_back(std::to_string(i * 100));
            LeftLabels.push_back(std::to_string(-1000 + i * 200));
        }
    }

    void Run() {
        const TRect panel{0, 0, ImageWidth, ImageHeight};
        TChartCanvas3D& c = Canvas;
        const TRect r = c.BeginDrawing(WindowSurface, nullptr, panel, false);
        // Background and raised bevel.
        c.Brush().SetColor(clWhite);
        c.Brush().SetStyle(bsSolid);
        c.ClearBackground(r);
        c.Pen().SetColor(clBtnHighlight);
        const TPoint light[] = {{0, r.Bottom - 1}, {0, 0}, {r.Right - 1, 0}};
        c.DrawPolyline(light);
        c.Pen().SetColor(clBtnShadow);
        const TPoint dark[] = {{r.Right - 1, 0}, {r.Right - 1, r.Bottom - 1}, {-1, r.Bottom - 1}};
        c.DrawPolyline(dark);
        // Title.
        c.Font().Assign(Title);
        c.SetTextBackgroundMode(cbmTransparent);
        c.DrawTextAt(480 - c.MeasureTextWidth("Korvatel") / 2, 21, "Korvatel");
        // Back wall.
        const TRect plot{61, 41, 932, 489};
        c.ApplyChartPen(Frame);
        c.Brush().SetStyle(bsClear);
        c.DrawRectangle(plot.Left, plot.Top, plot.Right + 1, plot.Bottom + 1);
        // Axes: labels, axis line, ticks, grid, minor ticks.
        c.Font().Assign(Labels);
        c.SetTextAlignment(TextAlign::Center);
        std::vector<int> bottomTicks;
        std::vector<int> leftTicks;
        for (int i = 0; i <= 10; ++i) {
            const int x = plot.Left + MulDiv(i, plot.Width(), 10);
            const int y = plot.Bottom - MulDiv(i, plot.Height(), 10);
            bottomTicks.push_back(x);
            leftTicks.push_back(y);
            c.SetTextAlignment(TextAlign::Center);
            c.DrawTextAt(x, plot.Bottom + 7, BottomLabels[static_cast<std::size_t>(i)]);
            c.SetTextAlignment(TextAlign::Right);
            c.DrawTextAt(plot.Left - 7, y - 6, LeftLabels[static_cast<std::size_t>(i)]);
        }
        c.SetTextAlignment(0);
        c.ApplyChartPen(Axis);
        c.DrawHorizontalLine(plot.Left, plot.Right, plot.Bottom);
        c.DrawVerticalLine(plot.Left, plot.Top, plot.Bottom);
        c.ApplyChartPen(Ticks);
        for (int x : bottomTicks) {
            c.DrawVerticalLine(x, plot.Bottom + 1, plot.Bottom + 5);
        }
        for (int y : leftTicks) {
            c.DrawHorizontalLine(plot.Left - 1, plot.Left - 5, y);
        }
        c.ApplyChartPen(Grid);
        for (int x : bottomTicks) {
            c.DrawVerticalLine(x, plot.Top, plot.Bottom);
        }
        for (int y : leftTicks) {
            c.DrawHorizontalLine(plot.Left, plot.Right, y);
        }
        c.ApplyChartPen(Ticks);
        for (std::size_t i = 1; i < bottomTicks.size(); ++i) {
            for (int j = 1; j <= 3; ++j) {
                const int x = bottomTicks[i] - (bottomTicks[i] - bottomTicks[i - 1]) * j / 4;
                c.DrawVerticalLine(x, plot.Bottom + 1, plot.Bottom + 3);
                const int y = leftTicks[i] + (leftTicks[i - 1] - leftTicks[i]) * j / 4;
                c.DrawHorizontalLine(plot.Left - 1, plot.Left - 3, y);
            }
        }
        // The series, clipped to the inside of the back wall.
        c.ClipToChartBox(plot, 0, 0);
        c.Pen().SetColor(clRed);
        c.Pen().SetStyle(psSolid);
        c.Brush().SetStyle(bsClear);
        c.MovePenTo(Points[0].X, Points[0].Y);
        for (std::size_t i = 1; i < Points.size(); ++i) {
            c.DrawLineTo(Points[i].X, Points[i].Y);
        }
        c.RemoveClipping();
        c.ResetDrawingState();
        c.PresentBuffer(WindowSurface, panel);
    }

    std::vector<TPoint> Points;
    std::vector<std::string> BottomLabels;
    std::vector<std::string> LeftLabels;
    QImage Window;
    TChartSurface WindowSurface;
    TChartCanvas3D Canvas;
    TChartFont Title;
    TChartFont Labels;
    TChartPen Frame;
    TDottedGrayPen Grid;
    TChartAxisPen Axis;
    TDarkGrayPen Ticks;
};

std::unique_ptr<TFrameBench> frame;

const TBenchRegistration FrameCase({"canvas_frame", 2001,
                                    [] { frame = std::make_unique<TFrameBench>(); },
                                    [] { frame->Run(); }});

} // namespace
