// SPDX-License-Identifier: MIT
#include <korvatel/data/SeriesPointer.h>

#include "CanvasImage.h"
#include <korvatel/canvas/ChartSurface.h>
#include <korvatel/core/ChartErrors.h>

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace Korvatel;

namespace {

constexpr QRgb White = qRgb(255, 255, 255);
constexpr QRgb Black = qRgb(0, 0, 0);
constexpr QRgb Red = qRgb(255, 0, 0);
constexpr QRgb Blue = qRgb(0, 0, 255);

// The picture of one red point's pointer centred on (4, 3) of a 9 x 7 image, a row of text
// per image row: '#' the pen (black), 'o' the point's colour, 'b' blue, '.' untouched.
std::vector<std::string> PointerPicture(const TSeriesPointer& pointer) {
    TCanvasImage image(9, 7);
    pointer.Draw(image.Canvas, 4, 3, clRed);
    std::vector<std::string> rows;
    const QImage& picture = image.Picture();
    for (int y = 0; y < picture.height(); ++y) {
        std::string row;
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb c = picture.pixel(x, y);
            row += c == White ? '.' : c == Black ? '#' : c == Red ? 'o' : c == Blue ? 'b' : '?';
        }
        rows.push_back(row);
    }
    return rows;
}

} // namespace

// Three pixels to either side and two above and below: every shape symmetric, outlined by
// the pen, filled inside it with the point's colour; the cross styles are strokes in it.
TEST(SeriesPointer, EachStyleDrawsItsShape) {
    struct Row {
        TSeriesPointerStyle Style;
        std::vector<std::string> Picture;
    };
    const Row rows[] = {
        {ptsRectangle,
         {".........", ".#######.", ".#ooooo#.", ".#ooooo#.", ".#ooooo#.", ".#######.",
          "........."}},
        {ptsCircle,
         {".........", "..#####..", ".#ooooo#.", ".#ooooo#.", ".#ooooo#.", "..#####..",
          "........."}},
        {ptsTriangle,
         {".........", "....#....", "...#o#...", "...#o#...", "..#ooo#..", ".#######.",
          "........."}},
        {ptsDownTriangle,
         {".........", ".#######.", "..#ooo#..", "...#o#...", "...#o#...", "....#....",
          "........."}},
        {ptsDiamond,
         {".........", "....#....", "..##o##..", ".#ooooo#.", "..##o##..", "....#....",
          "........."}},
        {ptsCross,
         {".........", "....o....", "....o....", ".ooooooo.", "....o....", "....o....",
          "........."}},
        {ptsDiagCross,
         {".........", ".o.....o.", "..oo.oo..", "....o....", "..oo.oo..", ".o.....o.",
          "........."}},
        {ptsStar,
         {".........", ".o..o..o.", "..ooooo..", ".ooooooo.", "..ooooo..", ".o..o..o.",
          "........."}},
    };
    for (const Row& row : rows) {
        TSeriesPointer pointer(nullptr, true);
        pointer.SetStyle(row.Style);
        pointer.SetHorizSize(3);
        pointer.SetVertSize(2);
        EXPECT_EQ(PointerPicture(pointer), row.Picture) << "style " << int(row.Style);
        EXPECT_EQ(pointer.Box(4, 3), (TRect{1, 1, 8, 6}));
    }
}

TEST(SeriesPointer, ColoursSizesAndRefusedSizes) {
    TSeriesPointer pointer(nullptr, true);
    pointer.SetHorizSize(1);
    pointer.SetVertSize(0);
    // A brush colour of its own wins over the point's; without a pen the whole box is filled.
    pointer.Brush().SetColor(clBlue);
    pointer.Pen().SetVisible(false);
    EXPECT_EQ(PointerPicture(pointer)[3], "...bbb...");
    pointer.SetStyle(ptsCircle);
    EXPECT_EQ(PointerPicture(pointer)[3], "...bbb...");

    EXPECT_THROW(pointer.SetHorizSize(-1), ChartException);
    EXPECT_THROW(pointer.SetVertSize(-2), ChartException);
    EXPECT_EQ(pointer.HorizSize(), 1);
    EXPECT_EQ(pointer.VertSize(), 0);
}

TEST(SeriesPointer, AHugePointerCostsNoMoreThanThePicture) {
    TSeriesPointer pointer(nullptr, true);
    pointer.SetStyle(ptsDiamond);
    pointer.SetHorizSize(TSeriesPointer::LargestSize);
    pointer.SetVertSize(TSeriesPointer::LargestSize);
    TCanvasImage image(9, 7);
    pointer.Draw(image.Canvas, 4, 3, clRed);
    // The middle of a diamond larger than the picture fills all of it.
    EXPECT_EQ(image.Pixels(Red).size(), 9u * 7u);
}

TEST(SeriesPointer, ARoundPointerIsRoundAtTheDevicesResolution) {
    // A circle of 8 pixels to either side at ratio 3: the device pixels of its logical box,
    // 51 across, symmetric, its outline as wide as a line (three device pixels) and its edge
    // not the logical staircase magnified, which would leave every aligned 3 x 3 block of one
    // colour.
    QImage image(60, 60, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setDevicePixelRatio(3.0);
    {
        TChartSurface surface(image);
        TChartCanvas3D canvas;
        canvas.SetTargetSurface(&surface);
        TSeriesPointer pointer(nullptr, true);
        pointer.SetStyle(ptsCircle);
        pointer.SetHorizSize(8);
        pointer.SetVertSize(8);
        pointer.Draw(canvas, 10, 10, clRed);
        canvas.SetTargetSurface(nullptr);
    }
    QRect box;
    int mixed = 0;
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 60; ++x) {
            if (image.pixel(x, y) != White) {
                box |= QRect(x, y, 1, 1);
            }
            EXPECT_EQ(image.pixel(x, y), image.pixel(62 - x < 60 ? 62 - x : x, y));
            EXPECT_EQ(image.pixel(x, y), image.pixel(x, 62 - y < 60 ? 62 - y : y));
        }
    }
    for (int y = 0; y + 3 <= 60; y += 3) {
        for (int x = 0; x + 3 <= 60; x += 3) {
            for (int i = 1; i < 9; ++i) {
                if (image.pixel(x + i % 3, y + i / 3) != image.pixel(x, y)) {
                    ++mixed;
                    break;
                }
            }
        }
    }
    EXPECT_EQ(box, QRect(6, 6, 51, 51));
    EXPECT_GT(mixed, 10);
    // The middle row: three pixels of the pen at either end, the point's colour between.
    EXPECT_EQ(image.pixel(6, 31), Black);
    EXPECT_EQ(image.pixel(8, 31), Black);
    EXPECT_EQ(image.pixel(9, 31), Red);
    EXPECT_EQ(image.pixel(53, 31), Red);
    EXPECT_EQ(image.pixel(54, 31), Black);
    EXPECT_EQ(image.pixel(56, 31), Black);
}
