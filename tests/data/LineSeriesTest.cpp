// SPDX-License-Identifier: MIT
#include <korvatel/data/LineSeries.h>

#include <korvatel/data/ChartPalette.h>
#include <korvatel/data/PointSeries.h>
#include "SeriesDrawing.h"
#include <korvatel/canvas/SystemColors.h>

#include <gtest/gtest.h>
#include <limits>

using namespace Korvatel;

namespace {

using TLineDrawing = TSeriesDrawing<TLineSeries>;

TPixelSet Union(std::initializer_list<TPixelSet> sets) {
    TPixelSet result;
    for (const TPixelSet& set : sets) {
        result.insert(set.begin(), set.end());
    }
    return result;
}

QRgb Rgb(TColor color) {
    return ColorToRgb(color) | 0xFF000000u;
}

} // namespace

TEST(LineSeries, NullPointsAndValuesThatAreNotNumbersBreakTheLine) {
    TLineDrawing d;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double ys[] = {10, 30, 50, 20, 60, nan, 40, 90};
    for (int i = 0; i < 8; ++i) {
        d.Series->AddPoint(i * 10, ys[i], {}, i == 2 ? clNone : clDefault);
    }
    d.Draw();
    using P = TLineDrawing;
    EXPECT_EQ(d.Ink(), Union({P::Polyline({P::At(0, 10), P::At(10, 30)}),
                              P::Polyline({P::At(30, 20), P::At(40, 60)}),
                              P::Polyline({P::At(60, 40), P::At(70, 90)})}));
}

TEST(LineSeries, StairsStepAcrossFirstOrUpFirst) {
    TLineDrawing d;
    d.Series->AddPoint(0, 10);
    d.Series->AddPoint(20, 40);
    d.Series->AddPoint(30, 20);
    d.Series->SetStairs(true);
    d.Draw();
    using P = TLineDrawing;
    EXPECT_EQ(d.Ink(), P::Polyline({P::At(0, 10), P::At(20, 10), P::At(20, 40), P::At(30, 40),
                                    P::At(30, 20)}));

    TLineDrawing inverted;
    inverted.Series->AddPoint(0, 10);
    inverted.Series->AddPoint(20, 40);
    inverted.Series->SetStairs(true);
    inverted.Series->SetInvertedStairs(true);
    inverted.Draw();
    EXPECT_EQ(inverted.Ink(), P::Polyline({P::At(0, 10), P::At(0, 40), P::At(20, 40)}));
}

TEST(LineSeries, PointColoursTakeTheSegmentsTheyLeaveAndThePointersLieOnTop) {
    TLineDrawing d;
    d.Series->AddPoint(0, 50);
    d.Series->AddPoint(20, 50);
    d.Series->AddPoint(40, 50, {}, clBlue);
    d.Series->AddPoint(60, 50);
    d.Series->Pointer().SetVisible(true);
    d.Series->Pointer().SetHorizSize(1);
    d.Series->Pointer().SetVertSize(1);
    d.Series->Pointer().Pen().SetVisible(false);
    d.Draw();
    const QImage& picture = d.Picture();
    const TPoint middle = TLineDrawing::At(10, 50);
    EXPECT_EQ(picture.pixel(middle.X, middle.Y), TLineDrawing::Red);
    const TPoint leaving = TLineDrawing::At(50, 50);
    EXPECT_EQ(picture.pixel(leaving.X, leaving.Y), Rgb(clBlue));
    const TPoint pointer = TLineDrawing::At(41, 51);
    EXPECT_EQ(picture.pixel(pointer.X, pointer.Y), Rgb(clBlue));

    // Each point its palette colour.
    TLineDrawing palette;
    for (int i = 0; i < 4; ++i) {
        palette.Series->AddPoint(i * 20, 50);
    }
    palette.Series->SetColorEachPoint(true);
    palette.Draw();
    for (int i = 0; i < 3; ++i) {
        const TPoint p = TLineDrawing::At(i * 20 + 10, 50);
        EXPECT_EQ(palette.Picture().pixel(p.X, p.Y), Rgb(SeriesPaletteColor(i))) << i;
    }
}

TEST(LineSeries, HitTestFindsPointersThenSegments) {
    TLineDrawing d;
    EXPECT_EQ(d.Series->PointAtPixel(TLineDrawing::Offset, 100), -1); // nothing drawn yet
    const double ys[] = {10, 30, 30, 80, 80};
    for (int i = 0; i < 5; ++i) {
        d.Series->AddPoint(i * 20, ys[i], {}, i == 3 ? clNone : clDefault);
    }
    d.Series->Pointer().SetVisible(true);
    d.Series->Pointer().SetHorizSize(2);
    d.Series->Pointer().SetVertSize(2);
    d.Draw();
    struct Row {
        TPoint Pixel;
        std::int32_t Index;
    };
    using P = TLineDrawing;
    const Row rows[] = {
        {P::At(22, 32), 1},  // the corner of point 1's pointer
        {P::At(23, 33), -1}, // just beside it, three pixels off the level segment
        {P::At(30, 32), 1},  // two pixels off the segment from point 1
        {P::At(30, 33), -1}, // three pixels off it
        {P::At(10, 20), 0},  // on the rising segment from point 0
        {P::At(50, 55), -1}, // where the segments to and from the null point would run
    };
    for (const Row& row : rows) {
        EXPECT_EQ(d.Series->PointAtPixel(row.Pixel.X, row.Pixel.Y), row.Index)
            << row.Pixel.X << ", " << row.Pixel.Y;
    }
    // Stairs move the segment to its step.
    d.Series->SetStairs(true);
    d.Draw();
    EXPECT_EQ(d.Series->PointAtPixel(P::At(10, 10).X, P::At(10, 10).Y), 0);
    EXPECT_EQ(d.Series->PointAtPixel(P::At(10, 20).X, P::At(10, 20).Y), -1);
}

TEST(PointSeries, PointersAloneHitByTheirBox) {
    TSeriesDrawing<TPointSeries> d;
    d.Series->AddPoint(20, 20);
    d.Series->AddPoint(60, 60);
    d.Series->AddPoint(60, 60, {}, clBlue);
    d.Draw();
    using P = TSeriesDrawing<TPointSeries>;
    // No line between the pointers; the later of two at one place lies on top.
    EXPECT_EQ(d.Picture().pixel(P::At(40, 40).X, P::At(40, 40).Y), P::White);
    EXPECT_EQ(d.Picture().pixel(P::At(60, 60).X, P::At(60, 60).Y), Rgb(clBlue));
    EXPECT_EQ(d.Series->PointAtPixel(P::At(24, 16).X, P::At(24, 16).Y), 0);
    EXPECT_EQ(d.Series->PointAtPixel(P::At(25, 20).X, P::At(25, 20).Y), -1);
    EXPECT_EQ(d.Series->PointAtPixel(P::At(40, 40).X, P::At(40, 40).Y), -1);
    EXPECT_EQ(d.Series->PointAtPixel(P::At(60, 60).X, P::At(60, 60).Y), 2);
}

// With automatic axes the chart leaves room for the pointers: the first and last pointer
// are drawn whole inside the chart's clip, whatever the data's range.
TEST(PointSeries, MarginsKeepThePointersAtTheEndsWhole) {
    TSeriesDrawing<TPointSeries> d;
    d.Chart.BottomAxis().SetAutomatic(true);
    d.Chart.LeftAxis().SetAutomatic(true);
    d.Series->AddPoint(0, 0);
    d.Series->AddPoint(100, 100);
    d.Series->Pointer().SetHorizSize(3);
    d.Series->Pointer().SetVertSize(5);
    LayOutAxes(d.Chart, {TSeriesDrawing<TPointSeries>::Offset, 0, 150, 100});
    d.Chart.RenderSeries(*d.Series);
    // Each pointer is 7 x 11 pixels; 5 x 9 of them are the fill.
    EXPECT_EQ(d.Pixels(TSeriesDrawing<TPointSeries>::Red).size(), 2u * 5u * 9u);
    EXPECT_EQ(d.Pixels(TSeriesDrawing<TPointSeries>::Black).size(), 2u * (7u * 11u - 5u * 9u));
}

TEST(LineSeries, TheLegendSymbolIsTheLineWithThePointerInItsMiddle) {
    TLineDrawing d;
    d.Series->DrawLegendSymbol({10, 20, 31, 27});
    EXPECT_EQ(d.Ink(), TLineDrawing::Polyline({{10, 23}, {31, 23}}));
    d.Series->Pointer().SetVisible(true);
    d.Series->Pointer().Pen().SetVisible(false);
    d.Series->PaintLegendItem(-1, {40, 20, 61, 28});
    // The pointer is cut to the rectangle's height: 9 x 7 pixels around the line's middle
    // (50, 24).
    EXPECT_EQ(d.Pixels(TLineDrawing::Red).size(), 21u + 21u + 9u * 7u - 9u);
    EXPECT_EQ(d.Picture().pixel(54, 27), TLineDrawing::Red);
    EXPECT_EQ(d.Picture().pixel(54, 20), TLineDrawing::White);
}

TEST(LineSeries, AssignTakesTheLineAndItsPointer) {
    TLineSeries source;
    source.SetStairs(true);
    source.SetInvertedStairs(true);
    source.Pointer().SetStyle(ptsDiamond);
    source.Pointer().SetVisible(true);
    source.SetSeriesColor(clBlue);
    TLineSeries target;
    target.Assign(source);
    EXPECT_TRUE(target.Stairs());
    EXPECT_TRUE(target.InvertedStairs());
    EXPECT_EQ(target.Pointer().Style(), ptsDiamond);
    EXPECT_TRUE(target.Pointer().Visible());
    EXPECT_EQ(target.LinePen().Color(), clBlue);
}
