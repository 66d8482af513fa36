// SPDX-License-Identifier: MIT
#include "CanvasImage.h"
#include "ChartPrinters.h"
#include <korvatel/canvas/View3DOptions.h>

#include <QFontInfo>
#include <QPainter>
#include <gtest/gtest.h>

using namespace Korvatel;

namespace {

const QRgb White = qRgb(255, 255, 255);

// The smallest rectangle holding every pixel of the set (right and bottom exclusive).
TRect Bounds(const TPixelSet& pixels) {
    TRect r{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
    for (const auto& [x, y] : pixels) {
        r.Left = std::min(r.Left, x);
        r.Top = std::min(r.Top, y);
        r.Right = std::max(r.Right, x + 1);
        r.Bottom = std::max(r.Bottom, y + 1);
    }
    return r;
}

bool Inside(const TRect& inner, const TRect& outer) {
    return inner.Left >= outer.Left && inner.Top >= outer.Top && inner.Right <= outer.Right &&
           inner.Bottom <= outer.Bottom;
}

} // namespace

TEST(CanvasTextTest, TheDefaultFontIsArialEightPointsAsLiberationSans) {
    TChartCanvas3D canvas;
    const QFont font = canvas.Font().ToQFont();
    EXPECT_EQ(QFontInfo(font).family(), "Liberation Sans");
    EXPECT_EQ(font.pixelSize(), 11); // 8 points at 96 pixels per inch
    EXPECT_EQ(canvas.TextRowHeight(), 12);
    EXPECT_EQ(canvas.MeasureTextHeight("anything"), 12);
    EXPECT_EQ(canvas.MeasureTextWidth("W"), 10);
    EXPECT_EQ(canvas.MeasureTextWidth(""), 0);
    EXPECT_EQ(canvas.MeasureTextWidth("WW"), 20); // whole-pixel advances

    // The title font of the main window: bold "Arial" with a character height of 13 pixels.
    canvas.Font().SetHeight(-13);
    canvas.Font().SetStyle(fsBold);
    EXPECT_EQ(QFontInfo(canvas.Font().ToQFont()).family(), "Liberation Sans");
    EXPECT_EQ(canvas.TextRowHeight(), 15);
    // Full hinting rounds the bold "W" up to 13 pixels (12 with lighter hinting).
    EXPECT_EQ(canvas.MeasureTextWidth("W"), 13);
}

TEST(CanvasTextTest, TextIsTwoColouredInTheFontColour) {
    TCanvasImage target(80, 20);
    target.Canvas.Font().SetColor(clBlue);
    target.Canvas.SetTextBackgroundMode(cbmTransparent);
    target.Canvas.DrawTextAt(2, 2, "Korvatel 1000");
    const TPixelSet ink = target.Ink();
    EXPECT_GT(ink.size(), 30u);
    EXPECT_EQ(target.Pixels(qRgb(0, 0, 255)), ink);
}

TEST(CanvasTextTest, TheAlignmentChoosesTheReferencePoint) {
    TChartCanvas3D measure;
    const std::int32_t width = measure.MeasureTextWidth("-1000");
    const std::int32_t height = measure.TextRowHeight();
    const std::int32_t ascent = 10;
    struct TCase {
        std::int32_t Alignment;
        TRect Box; // where the text's cell lies for the reference point (50, 30)
    };
    const TCase cases[] = {
        {TextAlign::Left | TextAlign::Top, {50, 30, 50 + width, 30 + height}},
        {TextAlign::Right | TextAlign::Top, {50 - width, 30, 50, 30 + height}},
        {TextAlign::Center | TextAlign::Top,
         {50 - width / 2, 30, 50 - width / 2 + width, 30 + height}},
        {TextAlign::Center | TextAlign::Bottom,
         {50 - width / 2, 30 - height, 50 - width / 2 + width, 30}},
        {TextAlign::Left | TextAlign::Baseline,
         {50, 30 - ascent, 50 + width, 30 - ascent + height}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Alignment);
        // An opaque background paints exactly the cell of the text.
        TCanvasImage target(100, 60);
        target.Canvas.SetTextAlignment(c.Alignment);
        target.Canvas.SetTextBackgroundMode(cbmOpaque);
        target.Canvas.SetTextBackgroundColor(clYellow);
        target.Canvas.DrawTextAt(50, 30, "-1000");
        EXPECT_EQ(Bounds(target.Ink()), c.Box);
        EXPECT_TRUE(target.Pixels(White).size() < 6000u);
    }
}

TEST(CanvasTextTest, RotatedTextTurnsCounterClockwiseAndAnglesAbove360AreReduced) {
    TCanvasImage upright(100, 100);
    upright.Canvas.SetTextBackgroundMode(cbmTransparent);
    upright.Canvas.DrawTextAt(40, 60, "Wave");
    const TRect flat = Bounds(upright.Ink());

    TCanvasImage turned(100, 100);
    turned.Canvas.SetTextBackgroundMode(cbmTransparent);
    turned.Canvas.DrawRotatedText(40, 60, 90, "Wave");
    const TRect ninety = Bounds(turned.Ink());
    // Reading upwards: the text runs up from the reference point, its top towards the left.
    EXPECT_EQ(ninety.Width(), flat.Height());
    EXPECT_EQ(ninety.Height(), flat.Width());
    EXPECT_TRUE(Inside(ninety, {40, 60 - turned.Canvas.MeasureTextWidth("Wave"),
                                40 + turned.Canvas.TextRowHeight(), 61}))
        << ninety.Left << " " << ninety.Top << " " << ninety.Right << " " << ninety.Bottom;
    EXPECT_EQ(turned.Canvas.Brush().Style(), bsClear);

    TCanvasImage again(100, 100);
    again.Canvas.SetTextBackgroundMode(cbmTransparent);
    again.Canvas.DrawRotatedText(40, 60, 450, "Wave");
    EXPECT_EQ(again.Picture(), turned.Picture());

    TCanvasImage zero(100, 100);
    zero.Canvas.SetTextBackgroundMode(cbmTransparent);
    zero.Canvas.DrawRotatedText(40, 60, 360, "Wave");
    EXPECT_EQ(zero.Picture(), upright.Picture());
}

TEST(CanvasTextTest, TextIsClippedLikeEverythingElse) {
    TCanvasImage target(100, 30);
    target.Canvas.SetTextBackgroundMode(cbmTransparent);
    target.Canvas.ClipToRectangle({0, 0, 20, 30});
    target.Canvas.DrawTextAt(5, 5, "WWWWWWWW");
    const TRect ink = Bounds(target.Ink());
    EXPECT_EQ(ink.Left, 5);
    EXPECT_EQ(ink.Right, 20);
}

TEST(CanvasTextTest, TextWithTheZoomOfA3DViewScalesItsFont) {
    TView3DOptions options;
    options.SetZoom(200);
    QImage window(10, 10, QImage::Format_RGB32);
    TChartSurface windowSurface(window);
    TChartCanvas3D canvas;
    canvas.BeginDrawing(windowSurface, &options, {0, 0, 200, 100}, true);
    canvas.SetProjectionCentre(0, {0, 0, 200, 100}, {0, 0, 200, 100});
    EXPECT_DOUBLE_EQ(canvas.ZoomFactor(), 2.0);
    canvas.SetTextBackgroundMode(cbmTransparent);
    canvas.DrawTextAt3D(100, 50, 0, "W");
    const QImage& picture = *canvas.Bitmap();
    canvas.EnterFrontPlane();
    canvas.DrawTextAt(10, 10, "W");
    canvas.PresentBuffer(windowSurface, {0, 0, 200, 100});

    TPixelSet zoomed;
    TPixelSet flat;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (picture.pixel(x, y) != White) {
                (x >= 60 ? zoomed : flat).emplace(x, y);
            }
        }
    }
    // 16 points instead of 8: about twice as wide.
    EXPECT_GE(Bounds(zoomed).Width(), 2 * Bounds(flat).Width() - 2);
}

TEST(CanvasTextTest, KeptGlyphPixelsAreThoseThePainterDraws) {
    // An image surface copies kept glyph pixels; a window surface lets its painter lay the text
    // out every time. Both must give the same picture, in every style, aligned and clipped.
    auto draw = [](TChartCanvas3D& canvas) {
        canvas.SetTextBackgroundMode(cbmTransparent);
        canvas.DrawTextAt(3, 2, "Korvatel -1000 0.25");
        canvas.Font().SetStyle(fsBold);
        canvas.Font().SetHeight(-13);
        canvas.Font().SetColor(clBlue);
        canvas.DrawTextAt(3, 20, "Korvatel");
        canvas.DrawTextAt(3, 20, "Korvatel"); // drawn again from the kept pixels
        canvas.Font().SetStyle(fsItalic | fsUnderline);
        canvas.SetTextAlignment(TextAlign::Right | TextAlign::Bottom);
        canvas.DrawTextAt(150, 60, "fjord Ágnes");
        canvas.SetTextBackgroundMode(cbmOpaque);
        canvas.SetTextBackgroundColor(clYellow);
        canvas.SetTextAlignment(TextAlign::Center | TextAlign::Baseline);
        canvas.Font().SetStyle(fsStrikeOut);
        canvas.ClipToRectangle({0, 0, 120, 80});
        canvas.DrawTextAt(110, 75, "500 800");
    };
    TCanvasImage direct(160, 90);
    draw(direct.Canvas);

    QImage windowImage(160, 90, QImage::Format_RGB32);
    windowImage.fill(Qt::white);
    {
        QPainter painter(&windowImage);
        TChartSurface window(painter);
        TChartCanvas3D canvas;
        canvas.SetTargetSurface(&window);
        draw(canvas);
        canvas.SetTargetSurface(nullptr);
    }
    EXPECT_EQ(direct.Picture(), windowImage);
    EXPECT_GT(direct.Ink().size(), 300u);
}
