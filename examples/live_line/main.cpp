// SPDX-License-Identifier: MIT
// A chart widget whose line a timer feeds with a new point twenty times a second; the chart
// keeps the last ten seconds in view.
//
//   korvatel_example_live_line [--quit-after SECONDS]
#include <korvatel/data/LineSeries.h>
#include <korvatel/render/ChartWidget.h>

#include <QApplication>
#include <QStringList>
#include <QTimer>
#include <cmath>

int main(int argc, char** argv) {
    QApplication application(argc, argv);

    Korvatel::TChartWidget widget;
    widget.resize(640, 400);
    widget.setWindowTitle("Live line");
    Korvatel::TChart& chart = widget.Chart();
    chart.SetView3D(false);
    chart.Title().SetText({"A signal as it arrives"});
    auto* line = new Korvatel::TLineSeries;
    chart.AddSeries(line);

    constexpr int PointsPerSecond = 20;
    constexpr int PointsKept = 10 * PointsPerSecond;
    int step = 0;
    QTimer feed;
    QObject::connect(&feed, &QTimer::timeout, [&] {
        const double t = static_cast<double>(step++) / PointsPerSecond;
        line->AddPoint(t, std::sin(t) + 0.3 * std::sin(7.0 * t));
        if (line->PointCount() > PointsKept) {
            line->DeletePoint(0);
        }
    });
    feed.start(1000 / PointsPerSecond);

    const QStringList arguments = application.arguments();
    const qsizetype option = arguments.indexOf("--quit-after");
    if (option >= 0 && option + 1 < arguments.size()) {
        QTimer::singleShot(static_cast<int>(arguments[option + 1].toDouble() * 1000), &application,
                           &QApplication::quit);
    }
    widget.show();
    return application.exec();
}
