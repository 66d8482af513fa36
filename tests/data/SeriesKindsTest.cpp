// SPDX-License-Identifier: MIT
#include <korvatel/data/AreaSeries.h>
#include "ChartImage.h"
#include "SeriesDrawing.h"
#include <korvatel/data/SeriesGallery.h>

#include <gtest/gtest.h>
#include <limits>

using namespace Korvatel;

// Empty series, series of null points and values that are no numbers draw nothing of their
// own, flat or in 3D, and nothing under the mouse belongs to them.
TEST(SeriesKinds, EmptyNullAndNonFiniteSeriesDrawSanely) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (const char* kind : {"Line", "Area", "Point"}) {
        for (const bool view3D : {false, true}) {
            for (int content = 0; content < 3; ++content) {
                TChart chart;
                chart.SetSize(200, 150);
                chart.SetView3D(view3D);
                chart.SetColor(clWhite);
                // A legend shows its entries in the series colour; only the series are looked
                // at here.
                chart.Legend().SetVisible(false);
                TChartSeries* series = TSeriesGallery::Standard().CreateSeries(kind).release();
                series->SetParentChart(&chart);
                series->SetSeriesColor(clRed);
                if (content == 1) {
                    for (int i = 0; i < 3; ++i) {
                        series->AddNullPoint(i, i);
                    }
                } else if (content == 2) {
                    series->AddPoint(0, nan);
                    series->AddPoint(1, inf);
                    series->AddPoint(inf, -inf);
                }
                const QImage picture = DrawChartImage(chart);
                for (int y = 0; y < picture.height(); ++y) {
                    for (int x = 0; x < picture.width(); ++x) {
                        ASSERT_NE(picture.pixel(x, y), qRgb(255, 0, 0))
                            << kind << " " << view3D << " " << content;
                    }
                }
                EXPECT_EQ(series->PointAtPixel(100, 75), -1) << kind << " " << content;
            }
        }
    }
}

// The mark of a point of a stacked area stands on the top of its layer, lifted by the arrow.
TEST(SeriesKinds, MarksStandOnTheTopOfAStackedLayer) {
    TSeriesDrawing<TAreaSeries> d;
    TAreaSeries* upper = d.Add();
    for (int i = 0; i < 3; ++i) {
        d.Series->AddPoint(i * 10, 10 + i);
        upper->AddPoint(i * 10, 20);
    }
    upper->SetMultiArea(maStacked);
    upper->Marks().SetVisible(true);
    upper->Marks().SetArrowLength(5);
    d.Draw(*upper);
    upper->DrawMarks();
    const TSeriesMarkPosition* mark = upper->Marks().Position(1);
    ASSERT_NE(mark, nullptr);
    EXPECT_EQ(mark->ArrowFrom, TSeriesDrawing<TAreaSeries>::At(10, 31));
    EXPECT_EQ(mark->ArrowTo.Y, mark->ArrowFrom.Y - 5);
}
