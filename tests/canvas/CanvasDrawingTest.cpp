// SPDX-License-Identifier: MIT
#include "CanvasImage.h"
#include "ChartPrinters.h"

#include <QPainter>
#include <chrono>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

using namespace Korvatel;

namespace {

const QRgb White = qRgb(255, 255, 255);
const QRgb Black = qRgb(0, 0, 0);
const QRgb Red = qRgb(255, 0, 0);

// The pixels of a rectangle of columns left..right-1 and rows top..bottom-1.
TPixelSet Area(int left, int top, int right, int bottom) {
    TPixelSet pixels;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            pixels.emplace(x, y);
        }
    }
    return pixels;
}

TPixelSet Outline(int left, int top, int right, int bottom) {
    TPixelSet pixels = Area(left, top, right, bottom);
    for (const auto& p : Area(left + 1, top + 1, right - 1, bottom - 1)) {
        pixels.erase(p);
    }
    return pixels;
}

// A picture with some colour in it, so that raster operations have something to work on.
void PaintNoise(QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            image.setPixel(
                x, y, qRgb((x * 37 + y * 11) & 255, (x * 5 + y * 73) & 255, (x ^ y) * 9 & 255));
        }
    }
}

// What a drawing leaves on a noisy 32 x 32 picture through a painter that someone else
// opened (the window's), instead of through the scan lines of an image.
QImage DrawThroughForeignPainter(const std::function<void(TChartCanvas3D&)>& draw) {
    QImage image(32, 32, QImage::Format_RGB32);
    PaintNoise(image);
    QPainter painter(&image);
    TChartSurface window(painter);
    TChartCanvas3D canvas;
    canvas.SetTargetSurface(&window);
    draw(canvas);
    canvas.SetTargetSurface(nullptr);
    painter.end();
    return image;
}

} // namespace

TEST(CanvasDrawingTest, CurrentPositionLinesPaintTheStartButNotTheEnd) {
    TCanvasImage target(12, 12);
    target.Canvas.MovePenTo(2, 3);
    target.Canvas.DrawLineTo(8, 3);
    EXPECT_EQ(target.Canvas.PenPosition(), (TPoint{8, 3}));
    EXPECT_EQ(target.Ink(), Area(2, 3, 8, 4));

    TCanvasImage reversed(12, 12);
    reversed.Canvas.MovePenTo(8, 3);
    reversed.Canvas.DrawLineTo(2, 3);
    EXPECT_EQ(reversed.Ink(), Area(3, 3, 9, 4));

    TCanvasImage vertical(12, 12);
    vertical.Canvas.DrawVerticalLine(5, 1, 4);
    vertical.Canvas.DrawHorizontalLine(1, 1, 9); // zero length: nothing
    vertical.Canvas.DrawLineSegment(7, 7, 7, 7);
    EXPECT_EQ(vertical.Ink(), Area(5, 1, 6, 4));
}

TEST(CanvasDrawingTest, LinePixelsAreExactlyTheRuleInEverySurfaceKind) {
    // The same drawing through the scan lines of an image and through a painter that someone
    // else opened (the window's) must give the same picture, also in not-xor and dotted.
    auto draw = [](TChartCanvas3D& canvas) {
        canvas.Pen().SetColor(clRed);
        canvas.MovePenTo(1, 1);
        const TPoint path[] = {{30, 9}, {4, 25}, {25, 30}, {1, 1}};
        for (const TPoint& p : path) {
            canvas.DrawLineTo(p.X, p.Y);
        }
        canvas.Pen().SetStyle(psDot);
        canvas.Pen().SetMode(pmNotXor);
        canvas.DrawLineSegment(0, 20, 31, 14);
        canvas.Pen().SetSmallDots(true);
        canvas.DrawLineSegment(15, 0, 18, 31);
    };
    TCanvasImage direct(32, 32);
    PaintNoise(direct.Image);
    draw(direct.Canvas);
    EXPECT_EQ(direct.Picture(), DrawThroughForeignPainter(draw));
}

TEST(CanvasDrawingTest, AChainOfLinesPaintsWhatItsLinesPaintOneByOne) {
    // A zigzag that runs up and down across a clip, as a folded series does, drawn line by line
    // and as one chain, with every kind of pen the chain treats differently: solid copy (runs
    // merged), not-xor, dotted, wide, hidden; on an image and through a foreign painter.
    std::vector<TPoint> zigzag;
    for (std::int32_t x = -3; x < 40; ++x) {
        zigzag.push_back({x, 2 + (x * 7) % 29});
        zigzag.push_back({x, 30 - (x * 5) % 23});
    }
    const std::function<void(TChartPen&)> pens[] = {
        [](TChartPen&) {},
        [](TChartPen& pen) { pen.SetMode(pmNotXor); },
        [](TChartPen& pen) { pen.SetStyle(psDot); },
        [](TChartPen& pen) { pen.SetWidth(3); },
        [](TChartPen& pen) { pen.SetVisible(false); },
    };
    for (std::size_t p = 0; p < std::size(pens); ++p) {
        auto draw = [&](TChartCanvas3D& canvas, bool chained) {
            canvas.Pen().SetColor(clRed);
            pens[p](canvas.Pen());
            canvas.ClipToRectangle({2, 3, 28, 27});
            canvas.MovePenTo(0, 0);
            if (chained) {
                canvas.DrawLinesTo(zigzag);
            } else {
                for (const TPoint& point : zigzag) {
                    canvas.DrawLineTo(point.X, point.Y);
                }
            }
            EXPECT_EQ(canvas.PenPosition(), zigzag.back());
            canvas.RemoveClipping();
        };
        TCanvasImage single(32, 32);
        PaintNoise(single.Image);
        draw(single.Canvas, false);
        TCanvasImage chain(32, 32);
        PaintNoise(chain.Image);
        draw(chain.Canvas, true);
        EXPECT_EQ(chain.Picture(), single.Picture()) << "pen " << p;

        EXPECT_EQ(DrawThroughForeignPainter([&](TChartCanvas3D& canvas) { draw(canvas, true); }),
                  single.Picture())
            << "pen " << p;
    }
}

TEST(CanvasDrawingTest, RectanglesAndFillsAreRightAndBottomExclusive) {
    TCanvasImage outlined(20, 20);
    outlined.Canvas.Brush().SetColor(clRed);
    outlined.Canvas.DrawRectangle(3, 4, 10, 12);
    EXPECT_EQ(outlined.Pixels(Black), Outline(3, 4, 10, 12));
    EXPECT_EQ(outlined.Pixels(Red), Area(4, 5, 9, 11));

    TCanvasImage swapped(20, 20); // corners in any order
    swapped.Canvas.Brush().SetStyle(bsClear);
    swapped.Canvas.DrawRectangle(10, 12, 3, 4);
    EXPECT_EQ(swapped.Ink(), Outline(3, 4, 10, 12));

    TCanvasImage thin(20, 20); // one pixel wide and one pixel square
    thin.Canvas.DrawRectangle(TRect{2, 2, 3, 9});
    thin.Canvas.DrawRectangle(TRect{5, 5, 6, 6});
    thin.Canvas.DrawRectangle(TRect{8, 8, 8, 12}); // zero wide: nothing
    TPixelSet expected = Area(2, 2, 3, 9);
    expected.emplace(5, 5);
    EXPECT_EQ(thin.Ink(), expected);

    TCanvasImage filled(20, 20);
    filled.Canvas.Brush().SetColor(clRed);
    filled.Canvas.FillRectangle({3, 4, 10, 12});
    filled.Canvas.FillRectangle({15, 15, 12, 18}); // inverted: nothing
    filled.Canvas.FillRectangle({15, 15, 15, 18}); // empty: nothing
    EXPECT_EQ(filled.Ink(), Area(3, 4, 10, 12));
    EXPECT_EQ(filled.Pixels(Red), Area(3, 4, 10, 12));
}

TEST(CanvasDrawingTest, AHiddenChartPenStillLetsTheBrushFill) {
    TCanvasImage target(20, 20);
    TChartHiddenPen hidden;
    target.Canvas.ApplyChartPen(hidden);
    EXPECT_EQ(target.Canvas.Pen().Style(), psClear);
    target.Canvas.Brush().SetColor(clRed);
    target.Canvas.DrawRectangle(3, 4, 10, 12);
    target.Canvas.DrawLineSegment(0, 0, 19, 19);
    // Without a pen the fill stops one column and one row short, as on the platform.
    EXPECT_EQ(target.Ink(), Area(3, 4, 9, 11));
    EXPECT_EQ(target.Pixels(Red), Area(3, 4, 9, 11));

    // A visible pen afterwards draws again.
    TChartPen visible;
    target.Canvas.ApplyChartPen(visible);
    target.Canvas.DrawLineSegment(0, 19, 5, 19);
    EXPECT_EQ(target.Pixels(Black), Area(0, 19, 5, 20));
}

TEST(CanvasDrawingTest, SmallDotsSetEveryOtherPixelOnlyForOnePixelPens) {
    TChartPen dots;
    dots.SetSmallDots(true);
    dots.SetColor(clRed);
    TCanvasImage thin(20, 6);
    thin.Canvas.ApplyChartPen(dots);
    thin.Canvas.DrawHorizontalLine(2, 12, 2);
    EXPECT_EQ(thin.Ink(), (TPixelSet{{2, 2}, {4, 2}, {6, 2}, {8, 2}, {10, 2}}));

    // Two pixels wide, SmallDots is ignored: the same picture as an ordinary pen of width 2.
    dots.SetWidth(2);
    TChartPen plain;
    plain.SetWidth(2);
    plain.SetColor(clRed);
    TCanvasImage wide(20, 8);
    TCanvasImage reference(20, 8);
    wide.Canvas.ApplyChartPen(dots);
    reference.Canvas.ApplyChartPen(plain);
    wide.Canvas.DrawHorizontalLine(2, 12, 3);
    reference.Canvas.DrawHorizontalLine(2, 12, 3);
    EXPECT_FALSE(wide.Canvas.Pen().SmallDots());
    EXPECT_EQ(wide.Picture(), reference.Picture());
    EXPECT_GE(wide.Pixels(Red).size(), 20u);
}

TEST(CanvasDrawingTest, DottedLinesKeepTheirPhaseAcrossAPolyline) {
    // psDot is three pixels on, three off. A polyline round a corner continues the pattern at
    // the corner instead of starting it again.
    TCanvasImage target(20, 20);
    target.Canvas.Pen().SetStyle(psDot);
    const TPoint path[] = {{1, 1}, {5, 1}, {5, 12}};
    target.Canvas.DrawPolyline(path);
    // Steps 0..3 along the top (x 1..4), steps 4..14 down the side (y 1..11).
    TPixelSet expected{{1, 1}, {2, 1}, {3, 1}};
    for (int step = 4; step < 15; ++step) {
        if (step % 6 < 3) {
            expected.emplace(5, 1 + step - 4);
        }
    }
    EXPECT_EQ(target.Ink(), expected);

    // A move starts the pattern again.
    TCanvasImage moved(20, 4);
    moved.Canvas.Pen().SetStyle(psDot);
    moved.Canvas.DrawHorizontalLine(0, 4, 1);
    moved.Canvas.DrawHorizontalLine(4, 10, 1);
    EXPECT_EQ(moved.Ink(), (TPixelSet{{0, 1}, {1, 1}, {2, 1}, {4, 1}, {5, 1}, {6, 1}}));
}

TEST(CanvasDrawingTest, OpaqueBackgroundFillsTheGapsOfDottedLines) {
    TCanvasImage target(12, 3);
    target.Canvas.Pen().SetStyle(psDot);
    target.Canvas.SetTextBackgroundMode(cbmOpaque);
    target.Canvas.SetTextBackgroundColor(clRed);
    target.Canvas.DrawHorizontalLine(0, 12, 1);
    EXPECT_EQ(target.Pixels(Black), (TPixelSet{{0, 1}, {1, 1}, {2, 1}, {6, 1}, {7, 1}, {8, 1}}));
    EXPECT_EQ(target.Pixels(Red), (TPixelSet{{3, 1}, {4, 1}, {5, 1}, {9, 1}, {10, 1}, {11, 1}}));
}

TEST(CanvasDrawingTest, NotXorDrawnTwiceRestoresEveryPixel) {
    TCanvasImage target(40, 40);
    PaintNoise(target.Image);
    const QImage before = target.Image.copy();
    TChartCanvas3D& canvas = target.Canvas;
    canvas.Pen().SetMode(pmNotXor);
    canvas.Brush().SetStyle(bsClear);
    auto drawAll = [&] {
        canvas.DrawRectangle(5, 6, 30, 33);                                  // the rubber band
        canvas.DrawRectangle(20, 20, 21, 28);                                // one pixel wide
        const TPoint path[] = {{1, 1}, {38, 10}, {12, 37}, {1, 1}, {25, 2}}; // shared vertices
        canvas.DrawPolyline(path);
        const TPoint triangle[] = {{3, 30}, {15, 38}, {8, 22}};
        canvas.DrawPolygon(triangle);
    };
    drawAll();
    EXPECT_NE(target.Picture(), before);
    drawAll();
    EXPECT_EQ(target.Picture(), before);

    // Drawn once, black on white gives black on every pixel of the figure: no corner is
    // painted twice (which would make it vanish).
    TCanvasImage band(40, 40);
    TCanvasImage copied(40, 40);
    for (TCanvasImage* image : {&band, &copied}) {
        image->Canvas.Pen().SetMode(image == &band ? pmNotXor : pmCopy);
        image->Canvas.Brush().SetStyle(bsClear);
        image->Canvas.DrawRectangle(1, 1, 8, 8);
        const TPoint triangle[] = {{12, 2}, {38, 6}, {20, 36}};
        image->Canvas.DrawPolygon(triangle);
    }
    EXPECT_EQ(band.Picture(), copied.Picture());
    EXPECT_TRUE(band.Pixels(Black).contains({12, 2}));
    EXPECT_TRUE(band.Pixels(Black).contains({1, 7}));
}

TEST(CanvasDrawingTest, ClipToChartBoxLetsOnlyTheInsideOfTheFrameThrough) {
    TCanvasImage target(130, 240);
    target.Canvas.ClipToChartBox({10, 20, 110, 220}, 0, 0);
    target.Canvas.Brush().SetColor(clRed);
    target.Canvas.FillRectangle({0, 0, 130, 240});
    EXPECT_EQ(target.Pixels(Red), Area(11, 21, 110, 219)); // 11 <= x <= 109, 21 <= y <= 218
    // Lines are clipped the same way.
    TCanvasImage lines(130, 240);
    lines.Canvas.ClipToChartBox({10, 20, 110, 220}, 0, 0);
    for (int y = 0; y < 240; ++y) {
        lines.Canvas.DrawHorizontalLine(-5, 200, y);
    }
    EXPECT_EQ(lines.Ink(), Area(11, 21, 110, 219));
}

TEST(CanvasDrawingTest, ClipsNestByIntersectionUntilRemoved) {
    TCanvasImage target(30, 30);
    TChartCanvas3D& canvas = target.Canvas;
    canvas.ClipToRectangle({2, 3, 20, 25});
    canvas.ClipToRectangle({15, 1, 8, 28}); // given inverted: the same as (8, 1, 15, 28)
    EXPECT_EQ(canvas.ClipRectangle(), (TRect{8, 3, 15, 25}));
    canvas.Brush().SetColor(clRed);
    canvas.FillRectangle({0, 0, 30, 30});
    canvas.DrawHorizontalLine(0, 30, 27); // outside the clip
    EXPECT_EQ(target.Ink(), Area(8, 3, 15, 25));

    canvas.ClipToRectangle({0, 0, 5, 5}); // no overlap: nothing gets through
    canvas.Brush().SetColor(clBlue);
    canvas.FillRectangle({0, 0, 30, 30});
    canvas.DrawLineSegment(0, 0, 29, 29);
    canvas.PlotPixel(9, 9, clBlue);
    EXPECT_EQ(target.Pixels(qRgb(0, 0, 255)), TPixelSet{});

    canvas.RemoveClipping();
    EXPECT_FALSE(canvas.ClipRectangle().has_value());
    canvas.FillRectangle({0, 0, 1, 1});
    canvas.PlotPixel(29, 29, clBlue);
    EXPECT_EQ(target.Pixels(qRgb(0, 0, 255)), (TPixelSet{{0, 0}, {29, 29}}));
}

TEST(CanvasDrawingTest, AFarAwayLineIsClippedCorrectlyAndCheaply) {
    TCanvasImage target(961, 529);
    TChartCanvas3D& canvas = target.Canvas;
    canvas.ClipToChartBox({29, 21, 932, 508}, 0, 0);
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 1000; ++i) {
        canvas.MovePenTo(-1000000000, -999999735);
        canvas.DrawLineTo(1000000000, 1000000265);
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    // Walking two billion steps per line would take seconds per line.
    EXPECT_LT(seconds, 2.0);
    // A diagonal through (0, 265): the pixels with y = x + 265 inside the clip.
    TPixelSet expected;
    for (int x = 30; x < 932; ++x) {
        if (x + 265 >= 22 && x + 265 < 507) {
            expected.emplace(x, x + 265);
        }
    }
    EXPECT_EQ(target.Ink(), expected);
}

TEST(CanvasDrawingTest, PolygonsEllipsesAndWidePensStayInsideTheirBox) {
    TCanvasImage target(40, 40);
    target.Canvas.Brush().SetColor(clRed);
    target.Canvas.DrawEllipse(4, 5, 20, 30);
    for (const auto& p : target.Ink()) {
        EXPECT_TRUE(TRect({4, 5, 20, 30}).Contains(p.first, p.second));
    }
    EXPECT_FALSE(target.Pixels(Red).empty());

    // An axis-aligned polygon fills the inside and outlines every edge including its last
    // pixels, like DrawRectangle3D does.
    TCanvasImage polygon(20, 20);
    polygon.Canvas.Brush().SetColor(clRed);
    const TPoint square[] = {{2, 3}, {10, 3}, {10, 12}, {2, 12}};
    polygon.Canvas.DrawPolygon(square);
    EXPECT_EQ(polygon.Pixels(Black), Outline(2, 3, 11, 13));
    EXPECT_EQ(polygon.Pixels(Red), Area(3, 4, 10, 12));

    // Slanted edges: the outline encloses the fill, along its row and along its column.
    TCanvasImage slanted(40, 40);
    slanted.Canvas.Brush().SetColor(clRed);
    const TPoint fan[] = {{20, 20}, {36, 3}, {30, 37}, {4, 33}, {2, 8}};
    slanted.Canvas.DrawPolygon(fan);
    const TPixelSet outline = slanted.Pixels(Black);
    const auto outlined = [&outline](int x, int y, int dx, int dy) {
        for (x += dx, y += dy; x >= 0 && y >= 0 && x < 40 && y < 40; x += dx, y += dy) {
            if (outline.contains({x, y})) {
                return true;
            }
        }
        return false;
    };
    for (const auto& [x, y] : slanted.Pixels(Red)) {
        EXPECT_TRUE(outlined(x, y, -1, 0) && outlined(x, y, 1, 0) && outlined(x, y, 0, -1) &&
                    outlined(x, y, 0, 1))
            << x << ", " << y;
    }
    // ... while axis-aligned edges still fill as a rectangle does.
    TCanvasImage unoutlined(20, 20);
    unoutlined.Canvas.Pen().SetVisible(false);
    unoutlined.Canvas.ApplyChartPen(unoutlined.Canvas.Pen());
    unoutlined.Canvas.Brush().SetColor(clRed);
    unoutlined.Canvas.DrawPolygon(square);
    EXPECT_EQ(unoutlined.Ink(), Area(2, 3, 10, 12));

    TCanvasImage wide(40, 40);
    wide.Canvas.Pen().SetWidth(3);
    wide.Canvas.Brush().SetStyle(bsClear);
    wide.Canvas.DrawRectangle(10, 10, 30, 30);
    EXPECT_FALSE(wide.Ink().empty());
    for (const auto& p : wide.Ink()) {
        EXPECT_TRUE(TRect({8, 8, 32, 32}).Contains(p.first, p.second));
    }
}

TEST(CanvasDrawingTest, HatchedBrushesShowTheBackgroundColourWhenOpaque) {
    TCanvasImage opaque(16, 16);
    opaque.Canvas.Brush().SetStyle(bsHorizontal);
    opaque.Canvas.Brush().SetColor(clRed);
    opaque.Canvas.SetTextBackgroundMode(cbmOpaque);
    opaque.Canvas.SetTextBackgroundColor(clBlue);
    opaque.Canvas.FillRectangle({0, 0, 16, 16});
    const std::size_t red = opaque.Pixels(Red).size();
    const std::size_t blue = opaque.Pixels(qRgb(0, 0, 255)).size();
    EXPECT_GT(red, 0u);
    EXPECT_GT(blue, 0u);
    EXPECT_EQ(red + blue, 256u);

    TCanvasImage transparent(16, 16);
    transparent.Canvas.Brush().SetStyle(bsHorizontal);
    transparent.Canvas.Brush().SetColor(clRed);
    transparent.Canvas.SetTextBackgroundMode(cbmTransparent);
    transparent.Canvas.FillRectangle({0, 0, 16, 16});
    EXPECT_EQ(transparent.Pixels(Red).size(), red);
    EXPECT_EQ(transparent.Pixels(White).size(), blue);
}

TEST(CanvasDrawingTest, PlotPixelSetsOnePixelWhateverThePen) {
    TCanvasImage target(5, 5);
    target.Canvas.Pen().SetMode(pmNotXor);
    target.Canvas.PlotPixel(2, 3, clRed);
    target.Canvas.PlotPixel(7, 3, clRed); // outside the image
    target.Canvas.PlotPixel(-1, 0, clRed);
    EXPECT_EQ(target.Ink(), (TPixelSet{{2, 3}}));
    EXPECT_EQ(target.Pixel(2, 3), Red);
}

TEST(CanvasDrawingTest, ACanvasWithoutATargetDrawsNothingAndDoesNotFail) {
    TChartCanvas3D canvas;
    canvas.DrawLineSegment(0, 0, 10, 10);
    canvas.DrawRectangle(0, 0, 10, 10);
    canvas.FillRectangle({0, 0, 10, 10});
    canvas.DrawTextAt(0, 0, "Korvatel");
    canvas.FillGradient({0, 0, 10, 10}, clWhite, clBlack, gdTopBottom);
    canvas.PlotPixel(1, 1, clRed);
    // Measuring needs no surface.
    EXPECT_GT(canvas.MeasureTextWidth("Korvatel"), 0);
}

TEST(CanvasDrawingTest, ShapesAtTheEndsOfThe32BitRangeDrawTheirVisiblePart) {
    // Deep zoom hands the canvas coordinates far outside the picture; nothing may overflow
    // (the sanitizer build checks) and what is visible must still be drawn.
    constexpr std::int32_t Low = INT32_MIN;
    constexpr std::int32_t High = INT32_MAX;
    TCanvasImage target(20, 20);
    TChartCanvas3D& canvas = target.Canvas;
    canvas.Brush().SetColor(clRed);
    canvas.DrawRectangle(Low, Low, High, High);
    EXPECT_EQ(target.Pixels(Red).size(), 400u); // the fill covers the picture, no outline in it
    canvas.Brush().SetColor(clBlue);
    canvas.DrawEllipse(Low, Low, High, High);
    EXPECT_EQ(target.Pixels(qRgb(0, 0, 255)).size(), 400u);
    canvas.FillGradient({Low, Low, High, High}, clBlack, clWhite, gdLeftRight);
    canvas.FillGradient({Low, Low, High, High}, clBlack, clWhite, gdFromCenter);
    canvas.FillGradient({Low, Low, High, High}, clBlack, clWhite, gdFromBottomLeft);
    canvas.ClipToChartBox({Low, Low, High, High}, 0, 0);
    canvas.DrawEllipse3D(Low, Low, High, High, 0);
    canvas.DrawTextAt(High, High, "W");
    canvas.DrawTextAt(Low, Low, "W");
    canvas.DrawRotatedText(High, Low, 90, "W");
    canvas.Pen().SetWidth(3);
    canvas.DrawLineSegment(Low, Low, High, High);
    canvas.Pen().SetWidth(1);
    canvas.RemoveClipping();
    canvas.Brush().SetColor(clWhite);
    canvas.Brush().SetStyle(bsSolid); // DrawRotatedText left it clear
    canvas.FillRectangle({Low, Low, High, High});
    canvas.DrawLineSegment(Low, 10, High, 10);
    EXPECT_EQ(target.Ink(), Area(0, 10, 20, 11));
}
