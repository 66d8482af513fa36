#include "StoredChartLayout.h"

#include "Chart.h"
#include "FastLineSeries.h"

namespace {

void ApplyChartSettings(TChart& chart) {
    chart.SetColor(clWhite);
    chart.SetView3D(false);
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
