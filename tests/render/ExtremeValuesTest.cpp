// SPDX-License-Identifier: MIT
// Values and ranges at the edges of what a double holds, through the whole chart: adding,
// statistics, automatic ranges, mapping, drawing, marks, labels and hit tests. Nothing may
// crash, hang or trip the sanitizers; where the outcome is defined it is checked.
#include <korvatel/render/Chart.h>
#include <korvatel/canvas/ChartCanvas3D.h>
#include "ChartImage.h"
#include <korvatel/data/FastLineSeries.h>

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <vector>

using namespace Korvatel;

namespace {

constexpr double Inf = std::numeric_limits<double>::infinity();
const double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Huge = 1e308;
constexpr double Tiny = std::numeric_limits<double>::denorm_min();

const std::vector<double> Extremes = {0.0,
                                      -0.0,
                                      1.0,
                                      -1.0,
                                      Huge,
                                      -Huge,
                                      Inf,
                                      -Inf,
                                      NaN,
                                      Tiny,
                                      std::numeric_limits<double>::max(),
                                      std::numeric_limits<double>::lowest(),
                                      1e-300,
                                      4.5e15};

struct TExtremeChart {
    TExtremeChart() {
        chart.SetSize(961, 529);
        chart.SetView3D(false);
        series = new TFastLineSeries;
        series->SetParentChart(&chart);
    }

    // Draws the chart and asks every part under a grid of pixels what it is.
    void DrawAndProbe() {
        (void)DrawChartImage(chart);
        for (int y = 0; y < 529; y += 23) {
            for (int x = 0; x < 961; x += 31) {
                (void)series->PointAtPixel(x, y);
                for (const TCustomChartAxis* axis : chart.AxisList()) {
                    (void)axis->ClickedAt(x, y);
                    (void)axis->PixelToValue(x);
                }
            }
        }
    }

    TChart chart;
    TFastLineSeries* series;
};

} // namespace

TEST(ExtremeValuesTest, PointsOfEveryKindDrawOnAutomaticAndFixedAxes) {
    for (bool automatic : {true, false}) {
        for (bool marks : {false, true}) {
            TExtremeChart c;
            if (!automatic) {
                c.chart.BottomAxis().AssignRange(0, 1000);
                c.chart.LeftAxis().AssignRange(-1000, 1000);
            }
            c.series->Marks().SetVisible(marks);
            for (double x : Extremes) {
                for (double y : Extremes) {
                    c.series->AddPoint(x, y);
                }
            }
            (void)c.series->XValues().MinimumValue();
            (void)c.series->YValues().ValueSum();
            (void)c.series->WidestMarkText();
            c.DrawAndProbe();
            // Each extreme value alone, too: a range that is all NaN or all infinite.
            for (double v : Extremes) {
                c.series->ClearPoints();
                c.series->AddPoint(v, v);
                c.series->AddPoint(v, 0);
                c.DrawAndProbe();
            }
        }
    }
}

TEST(ExtremeValuesTest, AxisRangesAtTheEdges) {
    const std::pair<double, double> ranges[] = {{0, 0},
                                                {5, 5},
                                                {NaN, NaN},
                                                {0, NaN},
                                                {-Inf, Inf},
                                                {-Huge, Huge},
                                                {0, 1e-300},
                                                {1e300, 1e300 + 1e285},
                                                {-1e-300, 1e-300},
                                                {Huge, Huge},
                                                {-Inf, -Inf},
                                                {0, Inf},
                                                {1, 1 + 1e-15},
                                                {4.5e15, 4.5e15 + 1}};
    for (const auto& [minimum, maximum] : ranges) {
        for (int variant = 0; variant < 6; ++variant) {
            TExtremeChart c;
            for (int i = 0; i < 50; ++i) {
                c.series->AddPoint(i, std::sin(i));
            }
            TChartAxis& bottom = c.chart.BottomAxis();
            TChartAxis& left = c.chart.LeftAxis();
            switch (variant) {
            case 1:
                left.SetLabelsSeparation(0);
                bottom.SetLabelsSeparation(0);
                break;
            case 2:
                left.SetIncrement(1e-300);
                bottom.SetIncrement(Huge);
                break;
            case 3:
                c.series->XValues().SetDateTime(true);
                c.series->YValues().SetDateTime(true);
                break;
            case 4:
                left.SetInverted(true);
                bottom.SetInverted(true);
                left.SetMinorTickCount(7);
                left.MinorGrid().SetVisible(true);
                bottom.SetMinorTickCount(std::numeric_limits<std::int32_t>::max());
                bottom.MinorGrid().SetVisible(true);
                break;
            case 5:
                left.SetLabelsMultiLine(true);
                left.SetLabelsAngle(45);
                bottom.SetLabelsAngle(90);
                break;
            default:
                break;
            }
            bottom.AssignRange(minimum, maximum);
            left.AssignRange(minimum, maximum);
            c.DrawAndProbe();
            // Scrolling and zooming from there.
            left.ShiftRange(maximum - minimum, false);
            bottom.ShiftRange(NaN, false);
            c.DrawAndProbe();
        }
    }
}

TEST(ExtremeValuesTest, LogarithmicAxesWithExtremeData) {
    for (double top : {10.0, 1e308, Inf}) {
        TExtremeChart c;
        c.series->AddPoint(1, 1e-300);
        c.series->AddPoint(2, top);
        c.chart.LeftAxis().SetLogarithmic(true);
        c.DrawAndProbe();
        c.chart.LeftAxis().AssignRange(Tiny, Huge);
        c.DrawAndProbe();
    }
}

TEST(ExtremeValuesTest, PointsThatCannotBeMappedDrawAtTheCentreOfTheAxes) {
    // A value with no pixel (not a number, infinite, or beyond 32 bits of pixels) takes the
    // centre of its axis, so the line runs to the middle of the plot and on from there.
    for (double wild : {NaN, Inf, -Huge, 1e15}) {
        TExtremeChart c;
        c.chart.BottomAxis().AssignRange(0, 1000);
        c.chart.LeftAxis().AssignRange(-1000, 1000);
        c.series->SetSeriesColor(clRed);
        c.series->AddPoint(100, 500);
        c.series->AddPoint(500, wild);
        c.series->AddPoint(900, 500);
        const QImage image = DrawChartImage(c.chart);
        const TChartAxis& bottom = c.chart.BottomAxis();
        const TChartAxis& left = c.chart.LeftAxis();
        // The middle segment starts at the centre; the first one ends there, unpainted.
        EXPECT_EQ(image.pixel(bottom.CenterPixel(), left.CenterPixel()), qRgb(255, 0, 0)) << wild;
        const int y500 = left.YValueToPixel(500);
        EXPECT_EQ(image.pixel(bottom.XValueToPixel(100), y500), qRgb(255, 0, 0)) << wild;
        EXPECT_NE(image.pixel(bottom.XValueToPixel(900), y500), qRgb(255, 0, 0)) << wild;
    }
}
