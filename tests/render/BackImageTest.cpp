// SPDX-License-Identifier: MIT
#include <korvatel/render/Chart.h>
#include "ChartImage.h"
#include <korvatel/canvas/SystemColors.h>

#include <gtest/gtest.h>

using namespace Korvatel;

namespace {

const QRgb White = qRgb(255, 255, 255);
const QRgb Red = qRgb(255, 0, 0);

// A 40 x 20 white chart with nothing on it but the back wall's red frame around the chart
// rectangle (8, 4, 32, 16): its inside is (9, 5, 32, 16).
struct TBackImageChart {
    TBackImageChart() {
        Chart.SetSize(40, 20);
        Chart.SetView3D(false);
        Chart.SetColor(clWhite);
        Chart.SetBevelOuter(bvNone);
        Chart.SetAxisVisible(false);
        Chart.Legend().SetVisible(false);
        Chart.Frame().SetColor(clRed);
        Chart.SetMarginLeft(20);
        Chart.SetMarginTop(20);
        Chart.SetMarginRight(20);
        Chart.SetMarginBottom(20);
    }
    QImage Draw(const QImage& image, TPictureBackMode mode, bool inside) {
        Chart.SetBackImage(image);
        Chart.SetBackImageMode(mode);
        Chart.SetBackImageInside(inside);
        return DrawChartImage(Chart);
    }
    TChart Chart;
};

// A picture of many colours, none of them white or red.
QImage Numbered(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.setPixel(x, y, qRgb((40 * x) % 256, (40 * y) % 256, 200));
        }
    }
    return image;
}

bool OnFrame(int x, int y) {
    return ((x == 8 || x == 32) && y >= 4 && y <= 16) || ((y == 4 || y == 16) && x >= 8 && x <= 32);
}

} // namespace

// Tiled and centred pictures, over the whole panel (under the walls) or inside the back wall
// (within its frame), pixel by pixel.
TEST(BackImageTest, TiledAndCentredPicturesCoverTheirArea) {
    const QImage tile = Numbered(3, 2);
    const QImage small = Numbered(5, 3);
    const QImage large = Numbered(60, 30);
    struct TCase {
        const char* Name;
        const QImage& Image;
        TPictureBackMode Mode;
        bool Inside;
        TRect Area;
        QPoint Origin; // where the picture's pixel (0, 0) lies
    };
    const TCase cases[] = {
        {"tiled panel", tile, pbmTile, false, {0, 0, 40, 20}, {0, 0}},
        {"tiled inside", tile, pbmTile, true, {9, 5, 32, 16}, {9, 5}},
        {"centred panel", small, pbmCenter, false, {17, 8, 22, 11}, {17, 8}},
        {"centred inside", small, pbmCenter, true, {18, 9, 23, 12}, {18, 9}},
        {"centred and cut", large, pbmCenter, false, {0, 0, 40, 20}, {-10, -5}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TBackImageChart chart;
        const QImage picture = chart.Draw(c.Image, c.Mode, c.Inside);
        for (int y = 0; y < 20; ++y) {
            for (int x = 0; x < 40; ++x) {
                QRgb expected = White;
                if (OnFrame(x, y)) {
                    expected = Red;
                } else if (c.Area.Contains(x, y)) {
                    const int u = x - c.Origin.x();
                    const int v = y - c.Origin.y();
                    expected = c.Image.pixel(u % c.Image.width(), v % c.Image.height());
                }
                ASSERT_EQ(picture.pixel(x, y), expected) << x << "," << y;
            }
        }
    }
}

// A stretched picture of a green and a blue half fills its area: green on the left, blue on
// the right; without the wall's outline the inside reaches the chart rectangle's edges.
TEST(BackImageTest, AStretchedPictureFillsItsArea) {
    QImage halves(2, 1, QImage::Format_RGB32);
    halves.setPixel(0, 0, qRgb(0, 255, 0));
    halves.setPixel(1, 0, qRgb(0, 0, 255));
    TBackImageChart chart;
    QImage picture = chart.Draw(halves, pbmStretch, false);
    EXPECT_EQ(picture.pixel(0, 0), qRgb(0, 255, 0));
    EXPECT_EQ(picture.pixel(5, 19), qRgb(0, 255, 0));
    EXPECT_EQ(picture.pixel(39, 0), qRgb(0, 0, 255));
    EXPECT_EQ(picture.pixel(8, 10), Red) << "the walls lie over the picture";

    chart.Chart.Frame().SetVisible(false);
    picture = chart.Draw(halves, pbmStretch, true);
    EXPECT_EQ(picture.pixel(7, 10), White);
    EXPECT_EQ(picture.pixel(8, 4), qRgb(0, 255, 0));
    EXPECT_EQ(picture.pixel(31, 15), qRgb(0, 0, 255));
    EXPECT_EQ(picture.pixel(32, 10), White);
}

TEST(BackImageTest, AMonochromeChartShowsThePictureInBlackAndWhite) {
    QImage greys(4, 1, QImage::Format_RGB32);
    for (int x = 0; x < 4; ++x) {
        greys.setPixel(x, 0, qRgb(60 * x + 20, 60 * x + 20, 60 * x + 20));
    }
    TBackImageChart chart;
    chart.Chart.SetMonochrome(true);
    const QImage picture = chart.Draw(greys, pbmTile, false);
    for (int x = 0; x < 8; ++x) {
        EXPECT_EQ(picture.pixel(x, 0), x % 4 < 2 ? qRgb(0, 0, 0) : White) << x;
    }
}
