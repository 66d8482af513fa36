// SPDX-License-Identifier: MIT
// What a program may hand the engine and what it gets back: values that are not finite are
// null points, setters refuse values outside their range with a message that names it, and
// drawing stays inside its bounds. Each case here was once a fault.
#include <korvatel/render/Chart.h>
#include <korvatel/core/ChartErrors.h>
#include "ChartImage.h"
#include <korvatel/data/AreaSeries.h>
#include <korvatel/data/BarSeries.h>
#include <korvatel/data/FastLineSeries.h>
#include <korvatel/data/HorizBarSeries.h>
#include <korvatel/data/LineSeries.h>
#include <korvatel/data/PieSeries.h>
#include <korvatel/data/PointSeries.h>
#include <korvatel/canvas/View3DOptions.h>

#include <QTemporaryDir>
#include <climits>
#include <functional>
#include <gtest/gtest.h>
#include <limits>
#include <memory>
#include <string>

using namespace Korvatel;

namespace {

constexpr double Inf = std::numeric_limits<double>::infinity();
const double NaN = std::numeric_limits<double>::quiet_NaN();

struct TFlatChart {
    TFlatChart(int width = 400, int height = 250) {
        chart.SetSize(width, height);
        chart.SetView3D(false);
        chart.SetColor(clWhite);
        chart.Legend().SetVisible(false);
    }
    template <typename TSeries>
    TSeries& Add() {
        auto* series = new TSeries;
        series->SetParentChart(&chart);
        return *series;
    }
    TChart chart;
};

// Expects the message of the ChartException that f raises to contain every part.
void ExpectRefused(const std::function<void()>& f, std::initializer_list<std::string> parts) {
    try {
        f();
        ADD_FAILURE() << "not refused";
    } catch (const ChartException& e) {
        for (const std::string& part : parts) {
            EXPECT_NE(std::string(e.what()).find(part), std::string::npos)
                << e.what() << " lacks " << part;
        }
    }
}

} // namespace

// A NaN or an infinity among the values is a null point: the automatic value axis spans the
// finite values, whichever kind shows them and whichever way its bars grow.
TEST(SoundInputTest, NonFiniteValuesTakeNoPartInTheRanges) {
    struct TKind {
        const char* Name;
        std::function<TChartSeries&(TFlatChart&)> Make;
        bool Horizontal;
    };
    const TKind kinds[] = {
        {"line", [](TFlatChart& c) -> TChartSeries& { return c.Add<TLineSeries>(); }, false},
        {"area", [](TFlatChart& c) -> TChartSeries& { return c.Add<TAreaSeries>(); }, false},
        {"point", [](TFlatChart& c) -> TChartSeries& { return c.Add<TPointSeries>(); }, false},
        {"fast line", [](TFlatChart& c) -> TChartSeries& { return c.Add<TFastLineSeries>(); },
         false},
        {"bar", [](TFlatChart& c) -> TChartSeries& { return c.Add<TBarSeries>(); }, false},
        {"horizontal bar",
         [](TFlatChart& c) -> TChartSeries& { return c.Add<THorizBarSeries>(); }, true},
    };
    for (const TKind& kind : kinds) {
        for (double bad : {Inf, -Inf, NaN}) {
            SCOPED_TRACE(std::string(kind.Name) + " " + std::to_string(bad));
            TFlatChart c;
            TChartSeries& series = kind.Make(c);
            for (double value : {10.0, bad, 30.0, 20.0}) {
                series.AppendValue(value);
            }
            (void)DrawChartImage(c.chart);
            const TChartAxis& axis = kind.Horizontal ? c.chart.BottomAxis() : c.chart.LeftAxis();
            EXPECT_LE(axis.Maximum(), 30.0 * 1.5);
            EXPECT_GE(axis.Maximum(), 30.0);
            EXPECT_TRUE(std::isfinite(axis.Minimum()));
            EXPECT_LE(axis.Minimum(), 10.0);
        }
    }
}

// Percentages leave non-finite values out of the whole, in marks and in the legend.
TEST(SoundInputTest, PiePercentagesLeaveNonFiniteValuesOut) {
    for (double bad : {NaN, Inf, -Inf}) {
        TFlatChart c;
        auto& pie = c.Add<TPieSeries>();
        pie.Marks().SetStyle(smsPercent);
        pie.AppendValue(1);
        pie.AppendValue(bad);
        pie.AppendValue(3);
        EXPECT_EQ(pie.PointMarkText(0), "25 %");
        EXPECT_EQ(pie.LegendEntryText(2, ltsLeftPercent), "75 %");
    }
}

// Sizes are never taken from a property without a bound: an exploded slice index and a
// pointer size outside their ranges are refused, named with their range, and nothing changes.
TEST(SoundInputTest, SettersRefuseSizesBeyondTheirRange) {
    TFlatChart c;
    auto& pie = c.Add<TPieSeries>();
    pie.SetExplodedOffset(TPieSeries::LargestExplodedIndex, 30);
    EXPECT_EQ(pie.ExplodedOffset(TPieSeries::LargestExplodedIndex), 30);
    ExpectRefused([&] { pie.SetExplodedOffset(INT_MAX, 10); },
                  {"Exploded slice index", std::to_string(TPieSeries::LargestExplodedIndex)});
    EXPECT_EQ(pie.ExplodedOffset(INT_MAX), 0);

    auto& points = c.Add<TPointSeries>();
    points.Pointer().SetHorizSize(TSeriesPointer::LargestSize);
    for (std::int32_t size : {INT_MAX, TSeriesPointer::LargestSize + 1, -1}) {
        ExpectRefused([&] { points.Pointer().SetVertSize(size); },
                      {"Pointer size", std::to_string(TSeriesPointer::LargestSize)});
    }
    EXPECT_EQ(points.Pointer().VertSize(), 4);
}

// Every size a setter takes has a range: a value outside it is refused with a message that
// names the property and the range, and the property keeps its value.
TEST(SoundInputTest, SettersRefuseValuesOutsideTheirRangeByName) {
    TFlatChart c;
    auto& line = c.Add<TLineSeries>();
    struct TRow {
        const char* Message;
        std::function<void(std::int32_t)> Set;
        std::function<std::int32_t()> Get;
        std::int32_t Bad;
    };
    TChartAxis& axis = c.chart.LeftAxis();
    const TRow rows[] = {
        {"Pen width must be between 0 and 100", [&](std::int32_t v) { line.LinePen().SetWidth(v); },
         [&] { return line.LinePen().Width(); }, TChartPen::LargestWidth + 1},
        {"Pen width must be between 0 and 100", [&](std::int32_t v) { axis.Grid().SetWidth(v); },
         [&] { return axis.Grid().Width(); }, -1},
        {"Axis TickLength must be between -10000 and 10000",
         [&](std::int32_t v) { axis.SetTickLength(v); }, [&] { return axis.TickLength(); },
         INT_MIN},
        {"Axis TickInnerLength must be between -10000 and 10000",
         [&](std::int32_t v) { axis.SetTickInnerLength(v); },
         [&] { return axis.TickInnerLength(); }, 10001},
        {"Axis MinorTickLength must be between -10000 and 10000",
         [&](std::int32_t v) { axis.SetMinorTickLength(v); },
         [&] { return axis.MinorTickLength(); }, INT_MAX},
        {"Axis LabelsSize must be between 0 and 10000",
         [&](std::int32_t v) { axis.SetLabelsSize(v); }, [&] { return axis.LabelsSize(); }, -1},
        {"Axis TitleSize must be between 0 and 10000",
         [&](std::int32_t v) { axis.SetTitleSize(v); }, [&] { return axis.TitleSize(); }, 10001},
        {"MarginLeft must be between 0 and 100", [&](std::int32_t v) { c.chart.SetMarginLeft(v); },
         [&] { return c.chart.MarginLeft(); }, 101},
        {"MarginBottom must be between 0 and 100",
         [&](std::int32_t v) { c.chart.SetMarginBottom(v); },
         [&] { return c.chart.MarginBottom(); }, -1},
        {"Marks ArrowLength must be between -10000 and 10000",
         [&](std::int32_t v) { line.Marks().SetArrowLength(v); },
         [&] { return line.Marks().ArrowLength(); }, -10001},
        {"Perspective must be between 0 and 100",
         [&](std::int32_t v) { c.chart.View3DOptions().SetPerspective(v); },
         [&] { return c.chart.View3DOptions().Perspective(); }, 101},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Message);
        const std::int32_t before = row.Get();
        ExpectRefused([&] { row.Set(row.Bad); }, {row.Message});
        EXPECT_EQ(row.Get(), before);
    }
    // The ends of a range are accepted.
    line.LinePen().SetWidth(TChartPen::LargestWidth);
    EXPECT_EQ(line.LinePen().Width(), TChartPen::LargestWidth);
    axis.SetTickLength(-TChartAxis::LargestRoom);
    EXPECT_EQ(axis.TickLength(), -TChartAxis::LargestRoom);
}

// A picture is drawn at the ratio asked for, or refused with a message that names the ratio:
// below 1/256 the scale has no step, and a picture too small for one device pixel has none.
TEST(SoundInputTest, PicturesRefuseRatiosTheyCannotHonour) {
    TFlatChart c;
    ExpectRefused([&] { (void)c.chart.DrawToImage(1, 1, 0.001); }, {"0.001", "1/256"});
    ExpectRefused([&] { (void)c.chart.DrawToImage(400, 250, 65); }, {"65", "64"});
    ExpectRefused([&] { (void)c.chart.DrawToImage(1, 1, 1.0 / 256); },
                  {"1 x 1", "0.00390625", "no device pixels"});
    const QImage small = c.chart.DrawToImage(512, 256, 1.0 / 256);
    EXPECT_EQ(small.size(), QSize(2, 1));
    EXPECT_EQ(small.devicePixelRatio(), 1.0 / 256);
    // Between two steps the nearer one is drawn, and the picture says which.
    EXPECT_EQ(c.chart.DrawToImage(10, 10, 1.001).devicePixelRatio(), 1.0);

    QTemporaryDir directory;
    const QString path = directory.filePath("chart.pdf");
    ExpectRefused([&] { c.chart.SaveToPdf(path, QSize(TChart::LargestPdfPage + 1, 100)); },
                  {"19200 x 19200", "19201 x 100"});
    EXPECT_FALSE(QFile::exists(path));
}

// A margin, however large, never leaves the legend without room.
TEST(SoundInputTest, LargeLegendMarginsKeepTheLegendDrawn) {
    for (TLegendAlignment alignment : {laLeft, laRight, laTop, laBottom}) {
        SCOPED_TRACE(int(alignment));
        TFlatChart c;
        c.chart.Legend().SetVisible(true);
        c.chart.Legend().SetAlignment(alignment);
        c.chart.Legend().SetHorizMargin(INT_MAX);
        c.chart.Legend().SetVertMargin(INT_MAX);
        // Two series: the legend lists series, not points.
        c.Add<TLineSeries>().SetTitle("A");
        c.Add<TLineSeries>().SetTitle("B");
        (void)DrawChartImage(c.chart);
        EXPECT_EQ(c.chart.Legend().Items().size(), 2u);
        EXPECT_FALSE(c.chart.Legend().LegendRect().IsEmpty());
    }
}

// AddBar takes the value first, whichever way the bars grow.
TEST(SoundInputTest, AddBarTakesTheValueThenThePosition) {
    TFlatChart c;
    auto& across = c.Add<THorizBarSeries>();
    auto& upright = c.Add<TBarSeries>();
    for (TCustomBarSeries* bars : {static_cast<TCustomBarSeries*>(&across),
                                   static_cast<TCustomBarSeries*>(&upright)}) {
        bars->AddBar(7, 2);
        EXPECT_EQ(bars->MandatoryValues().ValueAt(0), 7);
        EXPECT_EQ(bars->MarkValue(0), 7);
    }
    EXPECT_EQ(across.YValues().ValueAt(0), 2);
    EXPECT_EQ(upright.XValues().ValueAt(0), 2);
}

// Marks that would all overlap in one pixel column cost no text: ten thousand points across
// 400 pixels ask for at most one mark text per column (and those of any measuring pass).
TEST(SoundInputTest, MarksInOnePixelColumnCostOneText) {
    for (bool bars : {false, true}) {
        SCOPED_TRACE(bars);
        TFlatChart c;
        TChartSeries& series = bars ? static_cast<TChartSeries&>(c.Add<TBarSeries>())
                                    : static_cast<TChartSeries&>(c.Add<TLineSeries>());
        for (int i = 0; i < 10000; ++i) {
            series.AddPoint(i, i % 7);
        }
        series.Marks().SetVisible(true);
        int drawn = 0;
        series.OnGetMarkText = [&](TChartSeries*, std::int32_t, std::string&) { ++drawn; };
        (void)DrawChartImage(c.chart);
        drawn = 0;
        // The measuring pass of the bars' room runs before the layout: counted apart.
        series.AfterDrawValues = [&](TChartSeries*) {};
        int measured = 0;
        series.BeforeDrawValues = [&](TChartSeries*) {
            measured = drawn;
            drawn = 0;
        };
        (void)DrawChartImage(c.chart);
        EXPECT_GT(drawn, 100);
        EXPECT_LE(drawn, 400);
        (void)measured;
    }
}
