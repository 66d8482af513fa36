// SPDX-License-Identifier: MIT
#include <korvatel/data/SeriesPointer.h>

#include "CanvasImage.h"
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
