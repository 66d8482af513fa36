// SPDX-License-Identifier: MIT
#include <korvatel/canvas/ChartBrush.h>
#include <korvatel/canvas/ChartFont.h>
#include <korvatel/canvas/ChartGradient.h>
#include <korvatel/canvas/ChartPen.h>
#include <korvatel/canvas/SystemColors.h>
#include <korvatel/canvas/View3DOptions.h>

#include <QGuiApplication>
#include <QPalette>
#include <gtest/gtest.h>

using namespace Korvatel;

TEST(CanvasObjectsTest, ColoursResolveToPlainRgb) {
    EXPECT_EQ(ColorToRgb(clRed), qRgb(255, 0, 0));
    EXPECT_EQ(ColorToRgb(0x00336699), qRgb(0x99, 0x66, 0x33)); // red in the low byte
    EXPECT_EQ(ColorToRgb(clYellow), qRgb(255, 255, 0));
    const QPalette palette = QGuiApplication::palette();
    EXPECT_EQ(ColorToRgb(clBtnFace), palette.color(QPalette::Active, QPalette::Button).rgb());
    EXPECT_EQ(ColorToRgb(clBtnHighlight), palette.color(QPalette::Active, QPalette::Light).rgb());
    EXPECT_EQ(ColorToRgb(clBtnShadow), palette.color(QPalette::Active, QPalette::Dark).rgb());
    EXPECT_EQ(ColorToRgb(clWindow), palette.color(QPalette::Active, QPalette::Base).rgb());
    // A system colour the table does not have is black, as the platform answers.
    EXPECT_EQ(ColorToRgb(MakeSystemColor(31)), qRgb(0, 0, 0));
    EXPECT_EQ(ColorToRgb(MakeSystemColor(0xFFFFFF)), qRgb(0, 0, 0));
}

TEST(CanvasObjectsTest, BrushDefaultsChangesAndHatchNumbers) {
    int changes = 0;
    TChartBrush brush([&] { ++changes; });
    EXPECT_EQ(brush.Color(), clDefault);
    EXPECT_EQ(brush.Style(), bsSolid);
    EXPECT_FALSE(brush.HasImage());
    brush.SetColor(clDefault);
    brush.SetStyle(bsSolid);
    brush.ClearImage();
    EXPECT_EQ(changes, 0);

    const TBrushStyle hatches[] = {bsHorizontal, bsVertical, bsFDiagonal,
                                   bsBDiagonal,  bsCross,    bsDiagCross};
    for (std::int32_t n = -12; n <= 13; ++n) {
        EXPECT_EQ(TChartBrush::DefaultHatch(n), hatches[((n % 6) + 6) % 6]) << n;
    }
    brush.SetDefaultHatch(8);
    EXPECT_EQ(brush.Style(), bsFDiagonal);
    EXPECT_EQ(changes, 1);

    QImage pattern(8, 8, QImage::Format_RGB32);
    pattern.fill(Qt::red);
    brush.SetImage(pattern);
    brush.SetImage(pattern); // the same image again
    EXPECT_EQ(changes, 2);
    TChartBrush copy;
    copy.Assign(brush);
    EXPECT_TRUE(copy.HasImage());
    EXPECT_EQ(copy.Style(), bsFDiagonal);
}

TEST(CanvasObjectsTest, FontDefaultsSizesAndChanges) {
    int changes = 0;
    TChartFont font([&] { ++changes; });
    EXPECT_EQ(font.Name(), "Arial");
    EXPECT_EQ(font.Size(), 8);
    EXPECT_EQ(font.Height(), -11); // 8 points at 96 pixels per inch, rounded
    EXPECT_EQ(font.Color(), clBlack);
    EXPECT_EQ(font.Style(), 0);
    EXPECT_EQ(font.Charset(), DefaultCharset);
    EXPECT_TRUE(font.IsDefault());

    font.SetSize(8);
    font.SetName("Arial");
    EXPECT_EQ(changes, 0);
    // The title of the main window: a character height of 13 pixels is 10 points.
    font.SetHeight(-13);
    EXPECT_EQ(font.Size(), 10);
    EXPECT_EQ(font.PixelSize(), 13);
    EXPECT_FALSE(font.IsDefault());
    font.SetStyle(fsBold | fsItalic);
    EXPECT_TRUE(font.ToQFont().bold());
    EXPECT_TRUE(font.ToQFont().italic());
    EXPECT_EQ(changes, 2);

    // Zoom scales the size in points, never below one point.
    font.SetSize(8);
    EXPECT_EQ(font.PixelSize(2.0), 21); // 16 points
    EXPECT_EQ(font.PixelSize(0.01), 1); // 1 point at 96 pixels per inch
    // Height 0 is the platform's default height; absurd heights are bounded.
    font.SetHeight(0);
    EXPECT_EQ(font.PixelSize(), 11);
    font.SetHeight(-2000000000);
    EXPECT_EQ(font.PixelSize(), 4096);
    // A positive height is a cell height: ascent plus descent.
    font.SetHeight(12);
    EXPECT_EQ(font.PixelSize(), 11);

    TChartFont other;
    other.SetPixelsPerInch(192);
    other.Assign(font);
    EXPECT_EQ(other.Name(), "Arial");
    font.SetHeight(-11);
    font.SetStyle(0);
    other.Assign(font);
    EXPECT_EQ(other.Size(), 8);
    EXPECT_EQ(other.Height(), -21); // 8 points at 192 pixels per inch
}

TEST(CanvasObjectsTest, GradientDefaultsAndChanges) {
    int changes = 0;
    TChartGradient gradient([&] { ++changes; });
    EXPECT_EQ(gradient.Direction(), gdTopBottom);
    EXPECT_EQ(gradient.StartColor(), clWhite);
    EXPECT_EQ(gradient.EndColor(), clYellow);
    EXPECT_FALSE(gradient.Visible());
    gradient.SetVisible(false);
    gradient.SetEndColor(clYellow);
    EXPECT_EQ(changes, 0);
    gradient.SetVisible(true);
    gradient.SetDirection(gdFromCenter);
    EXPECT_EQ(changes, 2);
}

TEST(CanvasObjectsTest, ViewOptionsReportScrollsAndZoomsAndCopyQuietly) {
    int changes = 0;
    std::vector<bool> scrolls;
    std::vector<std::int32_t> zooms;
    TView3DOptions options([&] { ++changes; });
    options.OnScrolled = [&](bool horizontal) { scrolls.push_back(horizontal); };
    options.OnChangedZoom = [&](std::int32_t zoom) {
        zooms.push_back(zoom);
        EXPECT_EQ(options.Zoom(), 100); // raised before the new value is stored
    };
    EXPECT_EQ(options.Elevation(), 345);
    EXPECT_EQ(options.Rotation(), 345);
    EXPECT_EQ(options.Perspective(), 15);
    EXPECT_EQ(options.Zoom(), 100);
    EXPECT_TRUE(options.Orthogonal());
    EXPECT_TRUE(options.ZoomText());

    options.SetHorizOffset(0);
    options.SetZoom(100);
    EXPECT_EQ(changes, 0);
    options.SetHorizOffset(4);
    options.SetVertOffset(-2);
    options.SetZoom(150);
    EXPECT_EQ(scrolls, (std::vector<bool>{true, false}));
    EXPECT_EQ(zooms, (std::vector<std::int32_t>{150}));
    EXPECT_EQ(changes, 3);

    TView3DOptions copy([&] { ++changes; });
    copy.Assign(options);
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(copy.HorizOffset(), 4);
    EXPECT_EQ(copy.VertOffset(), -2);
    EXPECT_EQ(copy.Zoom(), 150);
}
