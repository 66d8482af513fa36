// SPDX-License-Identifier: MIT
// A pie with its legend, printed on an A4 page of pie.pdf in the current folder.
#include <korvatel/data/PieSeries.h>
#include <korvatel/render/Chart.h>

#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);

    Korvatel::TChart chart;
    chart.Title().SetText({"Where the day goes"});
    chart.Legend().SetVisible(true);
    chart.Frame().SetVisible(false);
    auto* pie = new Korvatel::TPieSeries;
    chart.AddSeries(pie);
    pie->AppendValue(8, "Sleep");
    pie->AppendValue(8, "Work");
    pie->AppendValue(2, "Travel");
    pie->AppendValue(3, "Meals");
    pie->AppendValue(3, "Leisure");
    pie->SetExplodeBiggest(10);

    QPdfWriter writer("pie.pdf");
    writer.setTitle("Where the day goes");
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                     QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter));
    QPainter painter;
    if (!painter.begin(&writer)) {
        return 1;
    }
    const QRectF page = writer.pageLayout().paintRectPixels(writer.logicalDpiX());
    chart.PrintPage(painter, QRectF(QPointF(0, 0), page.size()));
    return painter.end() ? 0 : 1;
}
