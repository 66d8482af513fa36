// SPDX-License-Identifier: MIT
// The chart in depth: which series share a slot of the 3D box, how deep the box may grow, what
// the series may paint over, where the grid lies, the faces of lines and areas, and marks
// over the shapes.
#include "ChartImage.h"
#include <korvatel/canvas/SolidShading.h>
#include <korvatel/canvas/SystemColors.h>
#include <korvatel/canvas/View3DOptions.h>
#include <korvatel/data/AreaSeries.h>
#include <korvatel/data/BarSeries.h>
#include <korvatel/data/LineSeries.h>
#include <korvatel/render/Chart.h>

#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

using namespace Korvatel;

namespace {

// A white 3D chart without bevel or legend; the series are added by each test.
struct TDepthChart {
    explicit TDepthChart(int width = 600, int height = 400) {
        Chart.SetSize(width, height);
        Chart.SetColor(clWhite);
        Chart.SetBevelOuter(bvNone);
        Chart.Legend().SetVisible(false);
    }
    template <typename TKind>
    TKind* Add(TColor color, std::initializer_list<double> values) {
        auto* series = new TKind;
        series->SetParentChart(&Chart);
        series->SetSeriesColor(color);
        double x = 0;
        for (double value : values) {
            series->AddPoint(x++, value);
        }
        return series;
    }
    void Draw() { Picture = DrawChartImage(Chart); }
    std::size_t Count(QRgb colour, const TRect& area) const {
        std::size_t count = 0;
        for (int y = std::max(area.Top, 0); y < std::min(area.Bottom, Picture.height()); ++y) {
            for (int x = std::max(area.Left, 0); x < std::min(area.Right, Picture.width()); ++x) {
                count += Picture.pixel(x, y) == colour ? 1 : 0;
            }
        }
        return count;
    }
    QRgb At(std::int32_t x, std::int32_t y, std::int32_t z) const {
        const TPoint p = Chart.Canvas().ProjectPoint(x, y, z);
        return Picture.pixel(p.X, p.Y);
    }

    TChart Chart;
    QImage Picture;
};

QRgb Rgb(TColor color) {
    return ColorToRgb(color);
}

} // namespace

TEST(DepthLayout, SeriesThatStandOrStackTogetherShareOneSlot) {
    struct Row {
        TMultiBar bars;
        TMultiArea areas;
        bool shared;
    };
    const Row rows[] = {{mbSide, maStacked, true},
                        {mbStacked, maStacked, true},
                        {mbStacked100, maStacked100, true},
                        {mbNone, maNone, false}};
    for (const Row& row : rows) {
        TDepthChart c;
        std::vector<TChartSeries*> bars;
        for (int i = 0; i < 3; ++i) {
            auto* bar = c.Add<TBarSeries>(clRed, {1, 2, 3});
            bar->SetMultiBar(row.bars);
            bars.push_back(bar);
        }
        auto* line = c.Add<TLineSeries>(clBlue, {1, 2, 3});
        std::vector<TChartSeries*> areas;
        for (int i = 0; i < 2; ++i) {
            auto* area = c.Add<TAreaSeries>(clGreen, {1, 2, 3});
            area->SetMultiArea(row.areas);
            areas.push_back(area);
        }
        c.Draw();
        const int expectedSlots = row.shared ? 3 : 6;
        EXPECT_EQ(c.Chart.HighestZOrder() + 1, expectedSlots) << int(row.bars);
        for (const auto& group : {bars, areas}) {
            std::set<std::pair<int, int>> depths;
            for (const TChartSeries* series : group) {
                depths.emplace(series->StartDepth(), series->EndDepth());
                EXPECT_LT(series->StartDepth(), series->EndDepth());
            }
            // A stack's tops, a row's bars: one slot, so one depth.
            EXPECT_EQ(depths.size(), row.shared ? 1u : group.size()) << int(row.bars);
        }
        // The line stands in a slot of its own, in front of the bars added before it.
        EXPECT_GE(bars[0]->StartDepth(), line->EndDepth());
        EXPECT_LE(areas[0]->EndDepth(), line->StartDepth());
    }
}

TEST(DepthLayout, ManySeriesMakeThinnerSlotsNotASmallerPlot) {
    // The plot of 600 x 400 with 30 bar series, and with 60: the box stops at a quarter of the
    // smaller side of the chart rectangle, and the slots share it.
    TRect plots[2];
    std::int32_t slot[2] = {};
    for (int pass = 0; pass < 2; ++pass) {
        TDepthChart c;
        for (int i = 0; i < 30 * (pass + 1); ++i) {
            c.Add<TBarSeries>(clRed, {1, 2, 3});
        }
        c.Draw();
        plots[pass] = c.Chart.PlotRect();
        slot[pass] = c.Chart.SeriesDepth3D();
        // Before the depth is taken off it the chart rectangle is below 600 x 400.
        EXPECT_LE(c.Chart.Depth3D(), 400 / 4);
    }
    EXPECT_EQ(plots[0], plots[1]);
    EXPECT_LT(slot[1], slot[0]);
    EXPECT_GT(plots[0].Width(), 400);
    EXPECT_GT(plots[0].Height(), 220);
}

TEST(DepthLayout, SeriesNeverPaintOverTheLegendOrTheTitle) {
    // Lines far beyond their axes' range, unclipped, in the oblique and in a perspective
    // view: the legend at the bottom and the title above keep every pixel.
    for (bool orthogonal : {true, false}) {
        TDepthChart c;
        c.Chart.Legend().SetVisible(true);
        c.Chart.Legend().SetAlignment(laBottom);
        c.Chart.SetClipPoints(false);
        c.Chart.View3DOptions().SetOrthogonal(orthogonal);
        c.Chart.View3DOptions().SetPerspective(60);
        c.Chart.LeftAxis().AssignRange(0, 10);
        for (int i = 0; i < 40; ++i) {
            // Just beyond the range: far ones would be mapped onto the axis's centre.
            auto* line = c.Add<TLineSeries>(clFuchsia, {-4, 14, -4});
            line->SetDark3D(false);
            line->SetShowInLegend(false);
        }
        c.Add<TLineSeries>(clBlue, {5});
        c.Draw();
        EXPECT_GT(c.Chart.PlotRect().Height(), 100) << orthogonal;
        const QRgb fuchsia = Rgb(clFuchsia);
        EXPECT_EQ(c.Count(fuchsia, c.Chart.Legend().LegendRect()), 0u) << orthogonal;
        EXPECT_EQ(c.Count(fuchsia, c.Chart.Title().BlockRect()), 0u) << orthogonal;
        EXPECT_GT(c.Count(fuchsia, {0, 0, 600, 400}), 1000u) << orthogonal;
    }
}

TEST(DepthLayout, GridLinesLieOnTheBackWallAndTheWallsBeforeIt) {
    TDepthChart c;
    c.Add<TLineSeries>(clBlue, {0, 100});
    c.Chart.LeftAxis().AssignRange(0, 100);
    c.Chart.LeftAxis().SetIncrement(50);
    c.Chart.BottomAxis().AssignRange(0, 1);
    c.Chart.BottomAxis().SetIncrement(0.5);
    c.Chart.LeftAxis().Grid().SetColor(clRed);
    c.Chart.LeftAxis().Grid().SetStyle(psSolid);
    c.Chart.BottomAxis().Grid().SetColor(clLime);
    c.Chart.BottomAxis().Grid().SetStyle(psSolid);
    c.Draw();
    const TRect plot = c.Chart.PlotRect();
    const std::int32_t back = c.Chart.Depth3D();
    const std::int32_t row = c.Chart.LeftAxis().YValueToPixel(50);
    const QRgb red = Rgb(clRed);
    // Across the back wall, and along the left wall on its way there.
    EXPECT_EQ(c.At(plot.Left + plot.Width() / 2, row, back), red);
    EXPECT_EQ(c.At(plot.Left, row, back / 2), red);
    // Not on the front plane, where it would read against the series at the front.
    EXPECT_NE(c.At(plot.Left + plot.Width() / 2, row, 0), red);
    // A vertical grid line runs down the back wall and forward across the floor.
    const std::int32_t column = c.Chart.BottomAxis().XValueToPixel(0.5);
    const QRgb lime = Rgb(clLime);
    EXPECT_EQ(c.At(column, plot.Top + plot.Height() / 4, back), lime);
    EXPECT_EQ(c.At(column, plot.Bottom, back / 2), lime);
}

TEST(DepthLayout, LinesAreRibbonsAndAreasHaveFacesInDepth) {
    struct Row {
        bool area;
        bool dark;
    };
    for (const Row row : {Row{false, true}, Row{false, false}, Row{true, true}}) {
        TDepthChart c;
        c.Chart.SetAxisVisible(false);
        TChartSeries* series = row.area ? static_cast<TChartSeries*>(
                                              c.Add<TAreaSeries>(clBlue, {50, 50, 50}))
                                        : c.Add<TLineSeries>(clBlue, {50, 50, 50});
        series->SetDark3D(row.dark);
        c.Chart.LeftAxis().AssignRange(0, 100);
        c.Draw();
        const std::int32_t x = series->PointPixelX(1);
        const std::int32_t y = series->PointPixelY(1);
        const std::int32_t middle = (series->StartDepth() + series->EndDepth()) / 2;
        const QRgb top = Rgb(row.dark ? ShadedColor(clBlue, sfTop) : clBlue);
        // The top face across the slot.
        EXPECT_EQ(c.At(x, y, middle), top) << row.area << row.dark;
        if (row.area) {
            // The front face below the line, and the end face at the last point.
            EXPECT_EQ(c.At(x, y + 20, series->StartDepth()), Rgb(clBlue));
            const std::int32_t end = series->PointPixelX(2);
            EXPECT_EQ(c.At(end, y + 20, middle), Rgb(ShadedColor(clBlue, sfSide)));
        }
    }
}

TEST(DepthLayout, MarksStandOverTheShapesOfEverySeries) {
    TDepthChart c;
    c.Chart.SetAxisVisible(false);
    c.Chart.LeftAxis().AssignRange(0, 100);
    c.Chart.BottomAxis().AssignRange(0, 4);
    // The deeper line's marks lie well inside the front face of the nearer area.
    auto* line = new TLineSeries;
    line->SetParentChart(&c.Chart);
    for (double x : {1.5, 2.0, 2.5}) {
        line->AddPoint(x, 20);
    }
    line->Marks().SetVisible(true);
    line->Marks().SetBackColor(clYellow);
    c.Add<TAreaSeries>(clGreen, {90, 90, 90, 90, 90});
    c.Draw();
    EXPECT_GT(c.Count(Rgb(clYellow), {0, 0, 600, 400}), 50u);
}

TEST(DepthLayout, ExtremeViewsAndManySeriesGiveASanePicture) {
    struct Row {
        int zoom;
        int perspective;
        bool orthogonal;
        int rotation;
        int elevation;
        int series;
    };
    const Row rows[] = {{0, 0, true, 345, 345, 3},        {100000, 0, true, 345, 345, 3},
                        {100, 100, false, 345, 345, 3},   {250, 100, false, 90, 270, 3},
                        {100, 50, false, 181, 359, 1},    {100, 0, true, 345, 345, 1000}};
    for (const Row& row : rows) {
        TDepthChart c(300, 200);
        c.Chart.View3DOptions().SetZoom(row.zoom);
        c.Chart.View3DOptions().SetPerspective(row.perspective);
        c.Chart.View3DOptions().SetOrthogonal(row.orthogonal);
        c.Chart.View3DOptions().SetRotation(row.rotation);
        c.Chart.View3DOptions().SetElevation(row.elevation);
        for (int i = 0; i < row.series; ++i) {
            c.Add<TAreaSeries>(clBlue, {1, 3, 2});
        }
        c.Draw();
        EXPECT_LE(c.Chart.Depth3D(), 200 / 4) << row.zoom << ' ' << row.series;
        EXPECT_GT(c.Chart.PlotRect().Width(), 150) << row.zoom << ' ' << row.series;
        // The deepest series' slot ends at the back of the box.
        EXPECT_EQ(c.Chart.SeriesList()[0]->EndDepth(), c.Chart.Depth3D()) << row.series;
    }
}
