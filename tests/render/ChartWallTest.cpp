// SPDX-License-Identifier: MIT
#include "ChartPrinters.h"
#include "CountingWindow.h"
#include "DrawnChart.h"
#include <korvatel/canvas/View3DOptions.h>
#include <korvatel/data/LineSeries.h>
#include <korvatel/data/PieSeries.h>

#include <gtest/gtest.h>
#include <vector>

using namespace Korvatel;

namespace {

const QRgb White = qRgb(255, 255, 255);
const QRgb Black = qRgb(0, 0, 0);
const QRgb Red = qRgb(255, 0, 0);
const QRgb Yellow = qRgb(255, 255, 0);

// The chart rectangle of the wall tests, on a panel with room around it.
const TRect Plot{10, 20, 110, 220};
constexpr int Width = 130;
constexpr int Height = 240;

// The main window's back wall: a clear brush of white, everything else default.
void UseMainBackWall(TChart& chart) {
    chart.BackWall().Brush().SetColor(clWhite);
    chart.BackWall().Brush().SetStyle(bsClear);
}

// The pixels of the one-pixel frame on all four edges of Plot, right and bottom included.
TPixelSet FramePixels() {
    TPixelSet frame;
    for (int y = Plot.Top; y <= Plot.Bottom; ++y) {
        frame.emplace(Plot.Left, y);
        frame.emplace(Plot.Right, y);
    }
    for (int x = Plot.Left; x <= Plot.Right; ++x) {
        frame.emplace(x, Plot.Top);
        frame.emplace(x, Plot.Bottom);
    }
    return frame;
}

// Inside the frame.
const TRect Inside{Plot.Left + 1, Plot.Top + 1, Plot.Right, Plot.Bottom};

} // namespace

TEST(ChartWallTest, FlatBackWallOutlinesAllFourEdgesAndSeriesStayInside) {
    TDrawnChart drawn(Width, Height, Plot);
    UseMainBackWall(drawn.Chart);
    drawn.Chart.PaintWalls();
    EXPECT_EQ(drawn.Pixels(Black), FramePixels());
    EXPECT_EQ(drawn.Pixels(White).size() + FramePixels().size(), std::size_t{Width * Height});

    // A series clipped to the chart box paints nothing of the frame.
    TChartCanvas3D& canvas = drawn.Chart.Canvas();
    canvas.ClipToChartBox(drawn.Chart.PlotRect(), 0, drawn.Chart.Depth3D());
    canvas.Brush().SetColor(clRed);
    canvas.Brush().SetStyle(bsSolid);
    canvas.FillRectangle({0, 0, Width, Height});
    canvas.RemoveClipping();
    EXPECT_EQ(drawn.Pixels(Black), FramePixels());
}

TEST(ChartWallTest, BackColorAtRunTimeFillsTheChartRectangle) {
    TCountingWindow window;
    TDrawnChart drawn(Width, Height, Plot);
    drawn.Chart.SetWindow(&window);
    UseMainBackWall(drawn.Chart);
    drawn.Chart.SetBackColor(clYellow);
    EXPECT_EQ(drawn.Chart.BackWall().Color(), clYellow);
    EXPECT_EQ(drawn.Chart.BackWall().Brush().Style(), bsSolid);
    EXPECT_EQ(drawn.Chart.BackColor(), clYellow);
    EXPECT_GE(window.Invalidations, 1);
    drawn.Chart.PaintWalls();
    EXPECT_EQ(drawn.Colours(Inside), std::set<QRgb>{Yellow});
    EXPECT_EQ(drawn.Pixels(Black), FramePixels());
    drawn.Chart.SetWindow(nullptr);

    // While a stored layout is read the brush is left as the layout has it.
    TDrawnChart loading(Width, Height, Plot);
    UseMainBackWall(loading.Chart);
    loading.Chart.BeginLoading();
    loading.Chart.SetBackColor(clYellow);
    loading.Chart.EndLoading();
    EXPECT_EQ(loading.Chart.BackWall().Brush().Style(), bsClear);
    loading.Chart.PaintWalls();
    EXPECT_EQ(loading.Colours(Inside), std::set<QRgb>{White});
}

// A hatch in the colour of its own background would vanish; it is drawn black, or white on
// black. A hatch without colours draws black lines and leaves its gaps alone.
TEST(ChartWallTest, HatchNeverVanishesIntoItsBackground) {
    struct TCase {
        TColor Color;
        TColor BrushColor;
        std::set<QRgb> Colours;
    };
    const std::vector<TCase> cases{
        {clRed, clRed, {Black, Red}},
        {clBlack, clBlack, {White, Black}},
        {clYellow, clRed, {Yellow, Red}},
        {clDefault, clDefault, {Black, White}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.Color << " on " << c.BrushColor);
        TDrawnChart drawn(Width, Height, Plot);
        drawn.Chart.BackWall().Pen().SetVisible(false);
        drawn.Chart.BackWall().SetColor(c.Color);
        drawn.Chart.BackWall().Brush().SetColor(c.BrushColor);
        drawn.Chart.BackWall().Brush().SetStyle(bsDiagCross);
        drawn.Chart.PaintWalls();
        EXPECT_EQ(drawn.Colours(Inside), c.Colours);
    }
}

TEST(ChartWallTest, PatternImageFillsTheWall) {
    TDrawnChart drawn(Width, Height, Plot);
    QImage pattern(8, 8, QImage::Format_RGB32);
    pattern.fill(qRgb(0, 128, 0));
    drawn.Chart.BackWall().Brush().SetImage(pattern);
    drawn.Chart.PaintWalls();
    EXPECT_EQ(drawn.Colours(Inside), std::set<QRgb>{qRgb(0, 128, 0)});
    EXPECT_EQ(drawn.Pixels(Black), FramePixels());
}

TEST(ChartWallTest, AxesGetAWallSizeOnlyWith3DWalls) {
    TChart chart;
    chart.LeftWall().SetSize(7);
    chart.BottomWall().SetSize(4);
    chart.BackWall().SetSize(9);
    struct TCase {
        bool View3D;
        bool Walls;
        std::int32_t Left;
        std::int32_t Bottom;
    };
    for (const TCase& c :
         {TCase{false, true, 0, 0}, TCase{true, false, 0, 0}, TCase{true, true, 7, 4}}) {
        chart.SetView3D(c.View3D);
        chart.SetView3DWalls(c.Walls);
        EXPECT_EQ(chart.AxisWallSize(chart.LeftAxis()), c.Left);
        EXPECT_EQ(chart.AxisWallSize(chart.BottomAxis()), c.Bottom);
        EXPECT_EQ(chart.AxisWallSize(chart.TopAxis()), 0);
        EXPECT_EQ(chart.AxisWallSize(chart.RightAxis()), 0);
        EXPECT_EQ(chart.AxisWallSize(chart.DepthAxis()), 0);
    }
    // A negative thickness is no wall at all.
    chart.LeftWall().SetSize(-5);
    EXPECT_EQ(chart.AxisWallSize(chart.LeftAxis()), 0);
}

TEST(ChartWallTest, EachWallHasItsOwnDefaultColourAndCopiesTheOthersSettings) {
    TChart chart;
    EXPECT_EQ(chart.BackWall().Color(), clDefault);
    EXPECT_EQ(chart.BackWall().Brush().Style(), bsClear);
    EXPECT_EQ(chart.LeftWall().Color(), 8454143);
    EXPECT_EQ(chart.LeftWall().Brush().Style(), bsSolid);
    EXPECT_EQ(chart.BottomWall().Color(), clWhite);
    EXPECT_EQ(&chart.Frame(), &chart.BackWall().Pen());

    // Copying takes every setting but the other wall's own default colour.
    chart.BackWall().SetColor(clRed);
    chart.BackWall().Brush().SetStyle(bsCross);
    chart.BackWall().SetDark3D(false);
    chart.BackWall().Pen().SetWidth(3);
    chart.BackWall().SetSize(5);
    chart.SetLeftWall(chart.BackWall());
    EXPECT_EQ(chart.LeftWall().Color(), clRed);
    EXPECT_EQ(chart.LeftWall().Brush().Style(), bsCross);
    EXPECT_FALSE(chart.LeftWall().Dark3D());
    EXPECT_EQ(chart.LeftWall().Pen().Width(), 3);
    EXPECT_EQ(chart.LeftWall().Size(), 5);
    EXPECT_EQ(chart.LeftWall().DefaultColor(), 8454143);
    EXPECT_TRUE(chart.LeftWall().IsColorStored());
}

// Every setting of the title blocks, walls and legend repaints the chart when, and only when,
// it changes; text lines always repaint.
TEST(ChartWallTest, PartsRepaintTheChartOnlyWhenChanged) {
    struct TCase {
        const char* Name;
        void (*Same)(TChart&);
        void (*Changed)(TChart&);
    };
    const std::vector<TCase> cases{
        {"title Visible", [](TChart& c) { c.Title().SetVisible(true); },
         [](TChart& c) { c.Title().SetVisible(false); }},
        {"title AdjustFrame", [](TChart& c) { c.Title().SetAdjustFrame(true); },
         [](TChart& c) { c.Title().SetAdjustFrame(false); }},
        {"title Alignment", [](TChart& c) { c.Title().SetAlignment(taCenter); },
         [](TChart& c) { c.Title().SetAlignment(taLeftJustify); }},
        {"title Color", [](TChart& c) { c.Title().SetColor(clDefault); },
         [](TChart& c) { c.Title().SetColor(clRed); }},
        {"title font", [](TChart& c) { c.Title().Font().SetColor(clBlue); },
         [](TChart& c) { c.Title().Font().SetColor(clRed); }},
        {"title frame", [](TChart& c) { c.Title().Frame().SetVisible(false); },
         [](TChart& c) { c.Title().Frame().SetVisible(true); }},
        {"foot brush", [](TChart& c) { c.Foot().Brush().SetStyle(bsSolid); },
         [](TChart& c) { c.Foot().Brush().SetStyle(bsCross); }},
        {"wall Color", [](TChart& c) { c.LeftWall().SetColor(8454143); },
         [](TChart& c) { c.LeftWall().SetColor(clRed); }},
        {"wall Size", [](TChart& c) { c.BottomWall().SetSize(0); },
         [](TChart& c) { c.BottomWall().SetSize(3); }},
        {"wall Dark3D", [](TChart& c) { c.BackWall().SetDark3D(true); },
         [](TChart& c) { c.BackWall().SetDark3D(false); }},
        {"wall pen", [](TChart& c) { c.Frame().SetWidth(1); },
         [](TChart& c) { c.Frame().SetWidth(2); }},
        {"wall brush", [](TChart& c) { c.BackWall().Brush().SetStyle(bsClear); },
         [](TChart& c) { c.BackWall().Brush().SetColor(clRed); }},
        {"legend", [](TChart& c) { c.Legend().SetVisible(true); },
         [](TChart& c) { c.Legend().SetVisible(false); }},
        {"legend LegendStyle", [](TChart& c) { c.Legend().SetLegendStyle(lsAuto); },
         [](TChart& c) { c.Legend().SetLegendStyle(lsSeries); }},
        {"legend CheckBoxes", [](TChart& c) { c.Legend().SetCheckBoxes(false); },
         [](TChart& c) { c.Legend().SetCheckBoxes(true); }},
        {"legend frame", [](TChart& c) { c.Legend().Frame().SetWidth(1); },
         [](TChart& c) { c.Legend().Frame().SetWidth(2); }},
        {"back image mode", [](TChart& c) { c.SetBackImageMode(pbmStretch); },
         [](TChart& c) { c.SetBackImageMode(pbmTile); }},
        {"back image", [](TChart& c) { c.SetBackImage(QImage()); },
         [](TChart& c) {
             QImage image(2, 2, QImage::Format_RGB32);
             image.fill(Qt::red);
             c.SetBackImage(image);
         }},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TCountingWindow window;
        TChart chart;
        chart.SetWindow(&window);
        c.Same(chart);
        EXPECT_EQ(window.Invalidations, 0);
        c.Changed(chart);
        EXPECT_EQ(window.Invalidations, 1);
        chart.SetWindow(nullptr);
    }
    TCountingWindow window;
    TChart chart;
    chart.SetWindow(&window);
    chart.Title().SetText({});
    EXPECT_EQ(window.Invalidations, 1);
    chart.SetWindow(nullptr);
}

namespace {

// Paints the walls of a 3D chart (orthogonal view, box depth 20) in the chart rectangle
// (30, 40, 100, 200) and answers the picture; the canvas keeps the projection for the checks.
QImage PaintWalls3D(TChart& chart) {
    constexpr int Depth = 20;
    chart.SetSize(Width, Height);
    QImage picture(Width, Height, QImage::Format_RGB32);
    picture.fill(White);
    TView3DOptions options;
    TChartSurface window(picture);
    TChartCanvas3D& canvas = chart.Canvas();
    const TRect bounds = canvas.BeginDrawing(window, &options, {0, 0, Width, Height}, true);
    chart.SetPanelBounds(bounds);
    chart.SetPlotRect({30, 40, 100, 200});
    chart.SetDepths3D(Depth, Depth);
    canvas.SetProjectionCentre(Depth, bounds, chart.PlotRect());
    chart.PaintWalls();
    canvas.PresentBuffer(window, bounds);
    canvas.SetTargetSurface(nullptr);
    window.EndPainting();
    return picture;
}

} // namespace

// In 3D the walls are planes of the box: the back wall at its full depth, the left and bottom
// walls running from the front to the back.
TEST(ChartWallTest, FlatWallsIn3DArePlanesOfTheBox) {
    TChart chart;
    chart.BottomWall().SetColor(clRed);
    const QImage picture = PaintWalls3D(chart);
    const TChartCanvas3D& canvas = chart.Canvas();
    // Depth moves a point right and up by as many pixels.
    const TPoint back = canvas.ProjectPoint(31, 120, 20);
    EXPECT_EQ(back, (TPoint{51, 100}));
    EXPECT_EQ(picture.pixel(back.X, back.Y), Black);
    const TPoint leftWall = canvas.ProjectPoint(30, 120, 10);
    EXPECT_EQ(picture.pixel(leftWall.X + 1, leftWall.Y), qRgb(255, 255, 128));
    const TPoint bottomWall = canvas.ProjectPoint(60, 200, 10);
    EXPECT_EQ(picture.pixel(bottomWall.X, bottomWall.Y), Red);
}

TEST(ChartWallTest, ThickWallsIn3DHaveDarkerSides) {
    for (bool dark : {true, false}) {
        SCOPED_TRACE(dark);
        TChart chart;
        chart.LeftWall().SetSize(6);
        chart.LeftWall().SetDark3D(dark);
        const QImage picture = PaintWalls3D(chart);
        // The front face of the left wall lies left of the chart rectangle; its inner side
        // runs into the depth from the chart rectangle's left edge.
        EXPECT_EQ(picture.pixel(27, 120), qRgb(255, 255, 128));
        const TPoint side = chart.Canvas().ProjectPoint(30, 120, 10);
        EXPECT_EQ(picture.pixel(side.X, side.Y), dark ? qRgb(191, 191, 96) : qRgb(255, 255, 128));
        // Its top takes the lighter step of a top face.
        const TPoint top = chart.Canvas().ProjectPoint(27, 40, 10);
        EXPECT_EQ(picture.pixel(top.X, top.Y), dark ? qRgb(216, 216, 108) : qRgb(255, 255, 128));
    }
}

// A pie uses no axes, and in 3D it stands free of the axes' walls too; a series with axes
// beside it brings them back.
TEST(ChartWallTest, APieAloneShowsNoWallsIn3D) {
    for (const bool withLine : {false, true}) {
        SCOPED_TRACE(withLine);
        TChart chart;
        auto* pie = new TPieSeries;
        pie->SetParentChart(&chart);
        pie->AddPoint(0, 10);
        if (withLine) {
            (new TLineSeries)->SetParentChart(&chart);
        }
        const QImage picture = PaintWalls3D(chart);
        const TPoint leftWall = chart.Canvas().ProjectPoint(30, 120, 10);
        EXPECT_EQ(picture.pixel(leftWall.X + 1, leftWall.Y) == qRgb(255, 255, 128), withLine);
    }
}
