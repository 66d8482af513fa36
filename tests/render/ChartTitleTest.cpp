// SPDX-License-Identifier: MIT
#include "CanvasImage.h"
#include "ChartPrinters.h"
#include "CountingWindow.h"
#include "DrawnChart.h"
#include <korvatel/data/FastLineSeries.h>
#include <korvatel/canvas/View3DOptions.h>

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace Korvatel;

namespace {

const QRgb White = qRgb(255, 255, 255);
const QRgb Black = qRgb(0, 0, 0);
const QRgb Blue = qRgb(0, 0, 255);
const QRgb Red = qRgb(255, 0, 0);
const QRgb Yellow = qRgb(255, 255, 0);
const QRgb Grey = qRgb(200, 200, 200);

// The chart rectangle of the main window's chart before the title blocks take their room.
const TRect MainPlot{29, 21, 932, 508};
constexpr int MainWidth = 961;
constexpr int MainHeight = 529;

// The main window's title font: "Arial" with a character height of 13 pixels, bold, blue.
void UseMainTitleFont(TChartFont& font) {
    font.SetName("Arial");
    font.SetHeight(-13);
    font.SetStyle(fsBold);
    font.SetColor(clBlue);
}

// Text measures of a font, taken on a canvas of its own.
struct TMetrics {
    explicit TMetrics(const TChartFont& font) { Canvas.Font().Assign(font); }
    std::int32_t RowHeight() { return Canvas.TextRowHeight(); }
    std::int32_t Width(const std::string& text) { return Canvas.MeasureTextWidth(text); }
    TChartCanvas3D Canvas;
};

struct TPlacedText {
    std::int32_t X;
    std::int32_t Y;
    std::string Text;
};

// The pixels that texts in a font leave when drawn at their top-left reference points: the
// second route to compare a block's lines with.
TPixelSet TextPixels(const TChartFont& font, const std::vector<TPlacedText>& texts) {
    TCanvasImage target(MainWidth, MainHeight);
    target.Canvas.Font().Assign(font);
    target.Canvas.SetTextBackgroundMode(cbmTransparent);
    for (const TPlacedText& text : texts) {
        target.Canvas.DrawTextAt(text.X, text.Y, text.Text);
    }
    return target.Pixels(ColorToRgb(font.Color()));
}

} // namespace

TEST(ChartTitleTest, MainWindowTitleIsOneBlueLineCentredAtTheTopWithoutABox) {
    TDrawnChart drawn(MainWidth, MainHeight, MainPlot);
    TChart& chart = drawn.Chart;
    UseMainTitleFont(chart.Title().Font());
    chart.Title().SetText({"Korvatel"});
    chart.Foot().SetColor(clWhite);
    chart.Legend().SetVisible(false);

    chart.DrawTitleBlocks();

    TMetrics metrics(chart.Title().Font());
    const std::int32_t h = metrics.RowHeight();
    const std::int32_t t = metrics.Width("Korvatel");
    EXPECT_EQ(h, 15);
    EXPECT_EQ(chart.PlotRect(), (TRect{29, 21 + h + 5, 932, 508}));
    const TPixelSet blue = drawn.Pixels(Blue);
    EXPECT_EQ(blue, TextPixels(chart.Title().Font(), {{480 - t / 2, 21, "Korvatel"}}));
    // Blue text on white and nothing else: no box, no frame, and the empty foot draws nothing.
    EXPECT_EQ(drawn.Pixels(White).size() + blue.size(), std::size_t{MainWidth * MainHeight});
    std::int32_t inkLeft = MainWidth;
    std::int32_t inkRight = 0;
    for (const auto& [x, y] : blue) {
        inkLeft = std::min(inkLeft, x);
        inkRight = std::max(inkRight, x + 1);
    }
    EXPECT_NEAR((inkLeft + inkRight) / 2.0, 480.0, 2.0);
    EXPECT_EQ(chart.Title().BlockRect(), (TRect{29, 21, 932, 21 + h}));
}

// Where the lines of a block go and how much room it takes, by alignment, side, frame and
// line count.
TEST(ChartTitleTest, LinesArePlacedByAlignmentSideAndFrame) {
    struct TCase {
        const char* Name;
        bool OnTop;
        TAlignment Alignment;
        std::int32_t FrameWidth; // 0: hidden
        std::vector<std::string> Lines;
    };
    const std::vector<TCase> cases{
        {"two lines in a frame of 2", true, taCenter, 2, {"Első sor", "Second line, longer"}},
        {"foot of a and b in a frame of 1", false, taCenter, 1, {"a", "b"}},
        {"right-justified title", true, taRightJustify, 0, {"Állóhullám"}},
        {"left-justified foot", false, taLeftJustify, 0, {"L = 500"}},
        {"right-justified foot in a frame of 3", false, taRightJustify, 3, {"x", "yy", "zzz"}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TDrawnChart drawn(MainWidth, MainHeight, MainPlot);
        TChartTitle& block = c.OnTop ? drawn.Chart.Title() : drawn.Chart.Foot();
        block.SetAlignment(c.Alignment);
        block.SetText(c.Lines);
        if (c.FrameWidth > 0) {
            block.Frame().SetVisible(true);
            block.Frame().SetWidth(c.FrameWidth);
        }
        drawn.Chart.DrawTitleBlocks();

        TMetrics metrics(block.Font());
        const std::int32_t h = metrics.RowHeight();
        const std::int32_t w = metrics.Width("W");
        const std::int32_t f = c.FrameWidth;
        const std::int32_t n = static_cast<std::int32_t>(c.Lines.size());
        const std::int32_t left = MainPlot.Left + f;
        const std::int32_t right = MainPlot.Right - f;
        std::vector<TPlacedText> expected;
        for (std::int32_t i = 0; i < n; ++i) {
            const std::string& line = c.Lines[static_cast<std::size_t>(i)];
            const std::int32_t t = metrics.Width(line);
            const std::int32_t x = c.Alignment == taLeftJustify    ? left + w / 2
                                   : c.Alignment == taRightJustify ? right - t - w / 2
                                                                   : (left + right) / 2 - t / 2;
            // A title reads down from its top edge; a foot grows up from its bottom edge.
            const std::int32_t y =
                c.OnTop ? MainPlot.Top + f + i * h : MainPlot.Bottom - f - (n - i) * h;
            expected.push_back({x, y, line});
        }
        EXPECT_EQ(drawn.Pixels(Blue), TextPixels(block.Font(), expected));
        TRect plot = MainPlot;
        if (c.OnTop) {
            plot.Top += n * h + 2 * f + 5;
        } else {
            plot.Bottom -= n * h + 2 * f + 5;
        }
        EXPECT_EQ(drawn.Chart.PlotRect(), plot);
    }
}

TEST(ChartTitleTest, AdjustFrameNarrowsTheFrameToTheWidestLine) {
    struct TCase {
        TAlignment Alignment;
        bool AdjustFrame;
    };
    // The widest line gets a letter more where that makes the frame's width m odd: a centred
    // frame then loses the odd pixel, c - m div 2 to c + m div 2.
    TMetrics metrics(TChartTitle(nullptr).Font());
    const auto frameWidth = [&](const std::string& line) {
        return metrics.Width(line) + metrics.Width("W");
    };
    std::string widest = "Korvatel";
    for (const char* letter : {"i", "l", "t", "r", "f", "s", "a", "m"}) {
        if (frameWidth(widest) % 2 == 1) {
            break;
        }
        widest = std::string("Korvatel") + letter;
    }
    const std::int32_t m = frameWidth(widest);
    ASSERT_EQ(m % 2, 1);
    for (const TCase& c : {TCase{taCenter, true}, TCase{taCenter, false},
                           TCase{taLeftJustify, true}, TCase{taRightJustify, true}}) {
        SCOPED_TRACE(testing::Message()
                     << "alignment " << int(c.Alignment) << " adjust " << c.AdjustFrame);
        TDrawnChart drawn(MainWidth, MainHeight, MainPlot);
        TChartTitle& title = drawn.Chart.Title();
        title.SetText({widest, "β = 0.5"});
        title.SetAlignment(c.Alignment);
        title.SetAdjustFrame(c.AdjustFrame);
        title.Frame().SetVisible(true);
        drawn.Chart.DrawTitleBlocks();

        const std::int32_t h = metrics.RowHeight();
        ASSERT_GT(metrics.Width(widest), metrics.Width("β = 0.5"));
        TRect frame{MainPlot.Left, MainPlot.Top, MainPlot.Right, MainPlot.Top + 2 * h + 2};
        if (c.AdjustFrame && c.Alignment == taCenter) {
            frame.Left = 480 - m / 2; // 29 + 932 is odd as well: the centre 480.5 goes down
            frame.Right = 480 + m / 2;
        } else if (c.AdjustFrame && c.Alignment == taLeftJustify) {
            frame.Right = frame.Left + m;
        } else if (c.AdjustFrame) {
            frame.Left = frame.Right - m;
        }
        EXPECT_EQ(title.BlockRect(), frame);
        // The one-pixel outline runs on the columns from left to right - 1 of the top row.
        TPixelSet topRow;
        for (std::int32_t x = frame.Left; x < frame.Right; ++x) {
            topRow.emplace(x, frame.Top);
        }
        TPixelSet blackOnTopRow;
        for (const auto& pixel : drawn.Pixels(Black)) {
            if (pixel.second == frame.Top) {
                blackOnTopRow.insert(pixel);
            }
        }
        EXPECT_EQ(blackOnTopRow, topRow);
        EXPECT_EQ(drawn.Pixel(frame.Left, frame.Bottom - 1), Black);
        EXPECT_EQ(drawn.Pixel(frame.Right - 1, frame.Bottom - 1), Black);
    }
}

TEST(ChartTitleTest, HiddenBlockDrawsNothingTakesNoRoomAndIsNotHit) {
    TDrawnChart drawn(MainWidth, MainHeight, MainPlot);
    TChartTitle& title = drawn.Chart.Title();
    title.SetText({"Korvatel"});
    title.Frame().SetVisible(true);
    drawn.Chart.DrawTitleBlocks();
    const TRect block = title.BlockRect();
    EXPECT_TRUE(title.ContainsPoint(block.Left, block.Top));
    EXPECT_TRUE(title.ContainsPoint(block.Right - 1, block.Bottom - 1));
    EXPECT_FALSE(title.ContainsPoint(block.Right, block.Top));
    EXPECT_FALSE(title.ContainsPoint(block.Left, block.Bottom));

    TDrawnChart again(MainWidth, MainHeight, MainPlot);
    again.Chart.SetTitle(title);
    again.Chart.Title().SetBlockRect(block);
    again.Chart.Title().SetVisible(false);
    again.Chart.DrawTitleBlocks();
    EXPECT_EQ(again.Chart.PlotRect(), MainPlot);
    EXPECT_EQ(again.Pixels(White).size(), std::size_t{MainWidth * MainHeight});
    // The last BlockRect stays, but a hidden block is never hit.
    EXPECT_EQ(again.Chart.Title().BlockRect(), block);
    EXPECT_FALSE(again.Chart.Title().ContainsPoint(block.Left + 1, block.Top + 1));
}

TEST(ChartTitleTest, BlockWithoutLinesTakesOnlyItsFrame) {
    struct TCase {
        bool OnTop;
        bool FrameVisible;
        TColor FrameColor;
        std::int32_t Room;
    };
    for (const TCase& c : {TCase{true, false, clBlack, 0}, TCase{false, false, clBlack, 0},
                           TCase{true, true, clBlack, 6}, TCase{false, true, clBlack, 6},
                           TCase{true, true, clDefault, 0}}) {
        SCOPED_TRACE(testing::Message() << "top " << c.OnTop << " frame " << c.FrameVisible);
        TDrawnChart drawn(MainWidth, MainHeight, MainPlot, Grey);
        drawn.Chart.Title().SetVisible(c.OnTop);
        drawn.Chart.Foot().SetVisible(!c.OnTop);
        TChartTitle& block = c.OnTop ? drawn.Chart.Title() : drawn.Chart.Foot();
        // A solid background of a block without lines is a rectangle of no height.
        block.SetColor(clWhite);
        block.Frame().SetVisible(c.FrameVisible);
        block.Frame().SetColor(c.FrameColor);
        block.Frame().SetWidth(3);
        drawn.Chart.DrawTitleBlocks();

        TRect plot = MainPlot;
        (c.OnTop ? plot.Top : plot.Bottom) += c.OnTop ? c.Room : -c.Room;
        EXPECT_EQ(drawn.Chart.PlotRect(), plot);
        if (c.Room == 0) {
            // Nothing to outline and a background of no height: not a pixel drawn.
            EXPECT_TRUE(drawn.Pixels(White).empty());
        }
    }
}

// The five ways of the block background, told apart on a grey panel.
TEST(ChartTitleTest, BackgroundFollowsColorAndBrush) {
    struct TCase {
        const char* Name;
        TColor Color;
        TBrushStyle Style;
        TColor BrushColor;
        std::set<QRgb> Colours; // inside the block, with the blue text
    };
    const std::vector<TCase> cases{
        {"hatch over the panel", clDefault, bsCross, clRed, {Grey, Red, Blue}},
        {"no background", clDefault, bsSolid, clDefault, {Grey, Blue}},
        {"adopted brush colour", clDefault, bsSolid, clYellow, {Yellow, Blue}},
        {"hatch over the colour", clYellow, bsCross, clRed, {Yellow, Red, Blue}},
        {"solid colour", clYellow, bsSolid, clRed, {Yellow, Blue}},
        {"no fill at all", clYellow, bsClear, clRed, {Grey, Blue}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TDrawnChart drawn(MainWidth, MainHeight, MainPlot, Grey);
        TChartTitle& title = drawn.Chart.Title();
        title.SetText({"Korvatel"});
        title.SetColor(c.Color);
        title.Brush().SetStyle(c.Style);
        title.Brush().SetColor(c.BrushColor);
        drawn.Chart.DrawTitleBlocks();
        // Without a pen the fill leaves out the last column and row of the block.
        TRect inside = title.BlockRect();
        inside.Right -= 1;
        inside.Bottom -= 1;
        EXPECT_EQ(drawn.Colours(inside), c.Colours);
    }
}

TEST(ChartTitleTest, BrushColourIsAdoptedOnceAndShowsAtOnce) {
    TCountingWindow window;
    TDrawnChart first(MainWidth, MainHeight, MainPlot);
    TChart& chart = first.Chart;
    chart.SetWindow(&window);
    chart.Title().SetText({"Korvatel"});
    chart.Title().Brush().SetColor(clYellow);
    const int before = window.Invalidations;
    chart.DrawTitleBlocks();
    EXPECT_EQ(chart.Title().Color(), clYellow);
    EXPECT_EQ(window.Invalidations, before + 1);
    const TRect block = chart.Title().BlockRect();
    EXPECT_EQ(first.Pixel(block.Left, block.Top), Yellow);

    // From the next repaint on the block simply has its colour: the same picture, no request.
    TDrawnChart second(MainWidth, MainHeight, MainPlot);
    second.Chart.SetWindow(&window);
    second.Chart.SetTitle(chart.Title());
    const int copied = window.Invalidations;
    second.Chart.DrawTitleBlocks();
    EXPECT_EQ(window.Invalidations, copied);
    EXPECT_EQ(second.Picture(), first.Picture());
}

// A hidden legend, and one with nothing to list, draws nothing and takes no room.
TEST(ChartTitleTest, LegendTakesNoRoomHiddenOrEmpty) {
    TDrawnChart hidden(MainWidth, MainHeight, MainPlot);
    hidden.Chart.Title().SetText({"Korvatel"});
    hidden.Chart.Foot().SetText({"foot"});
    hidden.Chart.Legend().SetVisible(false);
    hidden.Chart.DrawTitleBlocks();

    for (TLegendAlignment alignment : {laLeft, laRight, laTop, laBottom}) {
        SCOPED_TRACE(int(alignment));
        TDrawnChart empty(MainWidth, MainHeight, MainPlot);
        auto* series = new TFastLineSeries;
        series->SetParentChart(&empty.Chart);
        series->AddPoint(1, 2);
        series->SetShowInLegend(false);
        empty.Chart.Title().SetText({"Korvatel"});
        empty.Chart.Foot().SetText({"foot"});
        empty.Chart.Legend().SetAlignment(alignment);
        empty.Chart.DrawTitleBlocks();
        EXPECT_EQ(empty.Chart.PlotRect(), hidden.Chart.PlotRect());
        EXPECT_EQ(empty.Picture(), hidden.Picture());
    }
}

TEST(ChartTitleTest, BlocksAreFlatInA3DChart) {
    TDrawnChart flat(MainWidth, MainHeight, MainPlot);
    flat.Chart.Title().SetText({"Korvatel"});
    flat.Chart.DrawTitleBlocks();

    // A buffered 3D repaint with a deep box: the projection would move every point.
    TChart chart;
    chart.SetSize(MainWidth, MainHeight);
    chart.Title().SetText({"Korvatel"});
    QImage windowImage(MainWidth, MainHeight, QImage::Format_RGB32);
    windowImage.fill(White);
    TView3DOptions options;
    {
        TChartSurface window(windowImage);
        TChartCanvas3D& canvas = chart.Canvas();
        const TRect bounds =
            canvas.BeginDrawing(window, &options, {0, 0, MainWidth, MainHeight}, true);
        chart.SetPanelBounds(bounds);
        chart.SetPlotRect(MainPlot);
        canvas.SetProjectionCentre(80, bounds, MainPlot);
        canvas.SetTextBackgroundMode(cbmTransparent);
        ASSERT_TRUE(canvas.Is3D());
        chart.DrawTitleBlocks();
        EXPECT_TRUE(canvas.Is3D());
        canvas.PresentBuffer(window, bounds);
        canvas.SetTargetSurface(nullptr);
    }
    EXPECT_EQ(windowImage, flat.Picture());
    EXPECT_EQ(chart.PlotRect(), flat.Chart.PlotRect());
}

// A blue, regular default chart font is the block's own default and need not be stored.
TEST(ChartTitleTest, BlueIsTheDefaultFontColourOfABlock) {
    TChart chart;
    EXPECT_EQ(chart.Title().Font().Color(), clBlue);
    EXPECT_EQ(chart.Foot().Font().Color(), clBlue);
    EXPECT_TRUE(chart.Title().FontIsDefault());
    UseMainTitleFont(chart.Title().Font());
    EXPECT_FALSE(chart.Title().FontIsDefault());
    chart.Title().Font().SetHeight(chart.Foot().Font().Height());
    chart.Title().Font().SetStyle(0);
    EXPECT_TRUE(chart.Title().FontIsDefault());
    chart.Title().Font().SetColor(clBlack);
    EXPECT_FALSE(chart.Title().FontIsDefault());
}

TEST(ChartTitleTest, AssignCopiesEverySetting) {
    TChart source;
    TChartTitle& from = source.Title();
    from.SetAdjustFrame(false);
    from.SetAlignment(taRightJustify);
    from.Brush().SetStyle(bsCross);
    from.Brush().SetColor(clRed);
    from.SetColor(clYellow);
    from.Frame().SetVisible(true);
    from.Frame().SetWidth(3);
    from.SetText({"a", "b"});
    from.SetVisible(false);
    UseMainTitleFont(from.Font());
    from.SetBlockRect({1, 2, 3, 4});

    TChart target;
    target.SetFoot(from);
    const TChartTitle& to = target.Foot();
    EXPECT_FALSE(to.AdjustFrame());
    EXPECT_EQ(to.Alignment(), taRightJustify);
    EXPECT_EQ(to.Brush().Style(), bsCross);
    EXPECT_EQ(to.Brush().Color(), clRed);
    EXPECT_EQ(to.Color(), clYellow);
    EXPECT_TRUE(to.Frame().Visible());
    EXPECT_EQ(to.Frame().Width(), 3);
    EXPECT_EQ(to.Text(), (std::vector<std::string>{"a", "b"}));
    EXPECT_FALSE(to.Visible());
    EXPECT_EQ(to.Font().Height(), -13);
    EXPECT_EQ(to.Font().Style(), fsBold);
    // Where a block was drawn belongs to its own chart.
    EXPECT_EQ(to.BlockRect(), TRect{});
    EXPECT_EQ(to.ParentChart(), &target);
}
