// SPDX-License-Identifier: MIT
// A bar chart saved as bars.png in the current folder.
#include <korvatel/data/BarSeries.h>
#include <korvatel/render/Chart.h>

#include <QGuiApplication>

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv); // the chart measures its texts with Qt's fonts
    Korvatel::TChart chart;
    chart.Title().SetText({"Fruit sold this week"});
    auto* bars = new Korvatel::TBarSeries; // the chart owns its series
    chart.AddSeries(bars);
    bars->AppendValue(12, "Apples");
    bars->AppendValue(7, "Pears");
    bars->AppendValue(9, "Plums");
    return chart.DrawToImage(400, 300).save("bars.png") ? 0 : 1;
}
