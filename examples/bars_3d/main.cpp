// SPDX-License-Identifier: MIT
// Two bar series side by side in the chart's 3D view, saved as bars3d.png in the current
// folder.
#include <korvatel/canvas/View3DOptions.h>
#include <korvatel/data/BarSeries.h>
#include <korvatel/render/Chart.h>

#include <QGuiApplication>
#include <utility>

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);

    Korvatel::TChart chart;
    chart.Title().SetText({"Rainfall, mm"});
    chart.Legend().SetVisible(true);
    chart.SetView3D(true);
    // The oblique view; View3DOptions() turns and zooms it.
    chart.View3DOptions().SetZoom(90);

    const char* months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun"};
    const double north[] = {62, 48, 51, 44, 58, 70};
    const double south[] = {35, 30, 41, 52, 47, 29};
    for (const auto& [title, values] : {std::pair{"North", north}, std::pair{"South", south}}) {
        auto* bars = new Korvatel::TBarSeries;
        chart.AddSeries(bars);
        bars->SetTitle(title);
        for (int i = 0; i < 6; ++i) {
            bars->AppendValue(values[i], months[i]);
        }
    }
    return chart.DrawToImage(640, 400).save("bars3d.png") ? 0 : 1;
}
