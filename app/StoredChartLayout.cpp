// SPDX-License-Identifier: MIT
#include "StoredChartLayout.h"

#include <korvatel/render/Chart.h>
#include <korvatel/data/FastLineSeries.h>

using namespace Korvatel;

namespace {

void ApplyChartSettings(TChart& chart) {
    chart.SetColor(clWhite);
    chart.SetView3D(false);
    // The back wall is the black frame around the plotting area with nothing filled inside.
    chart.BackWall().Brush().SetColor(clWhite);
    chart.BackWall().Brush().SetStyle(bsClear);
    chart.Foot().SetColor(clWhite);
    chart.Title().SetText({"Korvatel"});
    TChartFont& titleFont = chart.Title().Font();
    titleFont.SetName("Arial");
    titleFont.SetHeight(-13);
    titleFont.SetStyle(fsBold);
    titleFont.SetColor(clBlue);
    chart.Legend().SetVisible(false);
    chart.SetMaxPointsPerPage(1000);
    // Fixed ranges: the wave runs from 0 to 1000 and swings between -1000 and 1000. The
    // limits arrive in the layout's order; their cross checks are off while loading.
    TChartAxis& bottom = chart.BottomAxis();
    bottom.SetAutomatic(false);
    bottom.SetAutomaticMinimum(false);
    bottom.SetAutomaticMaximum(false);
    bottom.SetMaximum(1000);
    TChartAxis& left = chart.LeftAxis();
    left.SetAutomatic(false);
    left.SetAutomaticMinimum(false);
    left.SetAutomaticMaximum(false);
    left.SetMaximum(1000);
    left.SetMinimum(-1000);
    left.SetIncrement(10);
    left.SetExactDateTime(false);
}

void ApplySeriesSettings(TFastLineSeries& series) {
    series.SetName("Series1");
    // The series colour is also the line's colour.
    series.SetSeriesColor(clRed);
    series.Marks().SetVisible(false);
    series.Marks().SetArrowLength(8);
    series.XValues().SetName("X");
    series.XValues().SetOrder(loAscending);
    series.XValues().SetMultiplier(1.0);
    series.XValues().SetDateTime(false);
    series.YValues().SetName("Y");
    series.YValues().SetOrder(loNone);
    series.YValues().SetMultiplier(1.0);
    series.YValues().SetDateTime(false);
}

} // namespace

void ApplyStoredChartLayout(TChart& chart, TFastLineSeries& series) {
    chart.BeginLoading();
    try {
        ApplyChartSettings(chart);
        ApplySeriesSettings(series);
        series.SetParentChart(&chart);
    } catch (...) {
        chart.EndLoading();
        throw;
    }
    chart.EndLoading();
}
