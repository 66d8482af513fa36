// SPDX-License-Identifier: MIT
#include <korvatel/data/AreaSeries.h>

#include <korvatel/core/ChartErrors.h>
#include "SeriesDrawing.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using namespace Korvatel;

namespace {

using TAreaDrawing = TSeriesDrawing<TAreaSeries>;
using P = TAreaDrawing;

// Every pixel of a rectangle (right and bottom exclusive).
TPixelSet Box(int left, int top, int right, int bottom) {
    TPixelSet result;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            result.emplace(x, y);
        }
    }
    return result;
}

} // namespace

TEST(AreaStacking, LayersStandOnTheOnesBelow) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Row {
        TMultiArea Mode;
        std::vector<double> Values;
        std::size_t Layer;
        TStackSpan Span;
    };
    const Row rows[] = {
        {maNone, {5, 7}, 1, {0, 7}},
        {maStacked, {5, 7, 2}, 0, {0, 5}},
        {maStacked, {5, 7, 2}, 2, {12, 14}},
        {maStacked, {5, -7, 2}, 2, {-2, 0}},
        {maStacked, {5, nan, 2}, 2, {5, 7}}, // a null takes no room
        {maStacked100, {1, 3, 4}, 1, {12.5, 50}},
        {maStacked100, {1, 3, 4}, 2, {50, 100}},
        {maStacked100, {-1, 3}, 1, {-25, 50}}, // shares of the absolute sum
        {maStacked100, {0, 0}, 1, {0, 0}},     // nothing to share
        {maStacked, {5}, 3, {0, 0}},           // no such layer
    };
    for (const Row& row : rows) {
        EXPECT_EQ(StackSpan(row.Mode, row.Values, row.Layer), row.Span)
            << int(row.Mode) << " layer " << row.Layer;
    }
}

// The region between the line and the origin is filled as the canvas fills polygons: the
// right column and, above the origin, the origin's row are left to the outline; below the
// origin the region starts at the origin's row.
TEST(AreaSeries, TheRegionEndsAtTheOriginUnderTheExclusiveRule) {
    for (const double value : {80.0, 20.0}) {
        TAreaDrawing d;
        d.Series->SetUseYOrigin(true);
        d.Series->SetYOrigin(50);
        d.Series->AreaLinesPen().SetVisible(false);
        d.Series->AddPoint(10, value);
        d.Series->AddPoint(30, value);
        d.Draw();
        const TPoint a = P::At(10, value);
        const TPoint origin = P::At(30, 50);
        const int top = std::min(a.Y, origin.Y);
        const int bottom = std::max(a.Y, origin.Y);
        EXPECT_EQ(d.Ink(), Box(a.X, top, origin.X, bottom)) << value;

        // The outline adds the right column and the bottom row.
        d.Series->AreaLinesPen().SetVisible(true);
        d.Draw();
        EXPECT_EQ(d.Pixels(P::Red), Box(a.X + 1, top + 1, origin.X, bottom)) << value;
        EXPECT_EQ(d.Ink(), Box(a.X, top, origin.X + 1, bottom + 1)) << value;
    }
}

// Without UseYOrigin the region reaches down to the axis minimum; a null point breaks it,
// outline and all.
TEST(AreaSeries, NullPointsBreakTheRegionDownToTheAxisMinimum) {
    TAreaDrawing d;
    d.Series->AddPoint(10, 40);
    d.Series->AddPoint(20, 40);
    d.Series->AddPoint(30, 40, {}, clNone);
    d.Series->AddPoint(40, 40);
    d.Series->AddPoint(50, 40);
    d.Draw();
    TPixelSet expected = Box(P::At(10, 0).X, P::At(0, 40).Y, P::At(20, 0).X + 1, 101);
    const TPixelSet second = Box(P::At(40, 0).X, P::At(0, 40).Y, P::At(50, 0).X + 1, 101);
    expected.insert(second.begin(), second.end());
    EXPECT_EQ(d.Ink(), expected);
}

// A dense area fills exactly what a polygon through all its points fills, although many
// points share a column.
TEST(AreaSeries, ADenseRegionFillsAsThePolygonOfAllItsPoints) {
    TAreaDrawing d;
    d.Series->AreaLinesPen().SetVisible(false);
    std::vector<TPoint> polygon;
    std::uint32_t state = 7;
    for (int i = 0; i <= 2000; ++i) {
        state = state * 1664525u + 1013904223u;
        const double x = i * 0.05;
        const double y = 50 + 30 * std::sin(i * 0.01) + (state >> 24) % 20;
        d.Series->AddPoint(x, y);
        polygon.push_back({P::Offset + static_cast<int>(std::nearbyint(x)),
                           100 - static_cast<int>(std::nearbyint(y))});
    }
    polygon.push_back({P::Offset + 100, 100});
    polygon.push_back({P::Offset, 100});
    d.Draw();

    TCanvasImage reference(200, 101);
    reference.Canvas.Pen().SetStyle(psClear);
    reference.Canvas.Brush().SetColor(clRed);
    reference.Canvas.DrawPolygon(polygon);
    EXPECT_EQ(d.Ink(), reference.Ink());
}

TEST(AreaSeries, StackedSeriesAddUpAndShareTheSetting) {
    TAreaDrawing d;
    TAreaSeries* upper = d.Add();
    for (int i = 0; i < 3; ++i) {
        d.Series->AddPoint(i * 10, 10 + i);
        upper->AddPoint(i * 10, 20);
    }
    upper->SetMultiArea(maStacked);
    EXPECT_EQ(d.Series->MultiArea(), maStacked);
    EXPECT_DOUBLE_EQ(upper->SeriesMaxY(), 32);
    EXPECT_DOUBLE_EQ(upper->SeriesMinY(), 0);
    EXPECT_DOUBLE_EQ(upper->OriginValue(1), 11);
    EXPECT_DOUBLE_EQ(d.Series->StackOrigin(2, true), 32);
    LayOutAxes(d.Chart, {P::Offset, 0, P::Offset + 100, 100});
    EXPECT_EQ(upper->PointPixelY(1), P::At(0, 31).Y);

    d.Series->SetMultiArea(maStacked100);
    EXPECT_DOUBLE_EQ(upper->SeriesMaxY(), 100);
    EXPECT_DOUBLE_EQ(upper->OriginValue(0), 100.0 * 10 / 30);
}

TEST(AreaSeries, HitTestFindsThePartOfTheRegionUnderThePixel) {
    TAreaDrawing d;
    d.Series->AddPoint(0, 50);
    d.Series->AddPoint(20, 50);
    d.Series->AddPoint(40, 10);
    d.Draw();
    EXPECT_EQ(d.Series->PointAtPixel(P::At(10, 30).X, P::At(10, 30).Y), 0);
    EXPECT_EQ(d.Series->PointAtPixel(P::At(30, 5).X, P::At(30, 5).Y), 1);
    EXPECT_EQ(d.Series->PointAtPixel(P::At(30, 40).X, P::At(30, 40).Y), -1); // above the line
    EXPECT_EQ(d.Series->PointAtPixel(P::At(45, 5).X, P::At(45, 5).Y), -1);   // beyond the end
}

// Stacked steps: each layer fills from the step line of the layer below to its own.
TEST(AreaSeries, StackedStairsMeetWithoutGaps) {
    TAreaDrawing d;
    TAreaSeries* upper = d.Add();
    upper->SetSeriesColor(clBlue);
    for (TAreaSeries* series : {d.Series, upper}) {
        series->AreaLinesPen().SetVisible(false);
        series->SetStairs(true);
    }
    d.Series->AddPoint(0, 10);
    d.Series->AddPoint(40, 30);
    upper->AddPoint(0, 20);
    upper->AddPoint(40, 20);
    upper->SetMultiArea(maStacked);
    d.Draw(*d.Series);
    d.Draw(*upper);
    const QImage& picture = d.Picture();
    const int x = P::At(20, 0).X;
    for (int y = P::At(0, 30).Y; y < 100; ++y) {
        EXPECT_EQ(picture.pixel(x, y), y < P::At(0, 10).Y ? qRgb(0, 0, 255) : P::Red) << y;
    }
}

// The origin must be a number, and the axis shows the region down to it.
TEST(AreaSeries, TheOriginIsAFiniteNumberInsideTheAxisRange) {
    TAreaSeries area;
    area.AddPoint(0, 60);
    area.AddPoint(1, 80);
    area.SetYOrigin(10);
    EXPECT_THROW(area.SetYOrigin(std::numeric_limits<double>::quiet_NaN()), ChartException);
    EXPECT_THROW(area.SetYOrigin(-std::numeric_limits<double>::infinity()), ChartException);
    EXPECT_EQ(area.YOrigin(), 10);
    EXPECT_EQ(area.SeriesMinY(), 60);
    area.SetUseYOrigin(true);
    EXPECT_EQ(area.SeriesMinY(), 10);
    EXPECT_EQ(area.SeriesMaxY(), 80);
}
