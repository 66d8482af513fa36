// korvatel-gallery: one chart per series kind of the engine's gallery, in a window, or written
// as PNG files with --png DIR (no window: the offscreen platform draws them).
#include "ChartWidget.h"
#include "GalleryCharts.h"
#include "SeriesGallery.h"

#include <QApplication>
#include <QGridLayout>
#include <QScrollArea>
#include <QStringList>
#include <QWidget>
#include <cstdio>
#include <cstring>

namespace {

constexpr int Columns = 3;

const char* const Usage = "Használat: korvatel-gallery [--png MAPPA]\n"
                          "  --png MAPPA  minden diagramot PNG fájlba ír ablak nélkül\n";

int ShowWindow() {
    auto* charts = new QWidget;
    auto* grid = new QGridLayout(charts);
    const auto& kinds = TSeriesGallery::Standard().Kinds();
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        auto* widget = new TChartWidget;
        widget->setMinimumSize(GalleryChartWidth, GalleryChartHeight);
        SetUpGalleryChart(widget->Chart(), kinds[i]);
        grid->addWidget(widget, static_cast<int>(i) / Columns, static_cast<int>(i) % Columns);
    }
    QScrollArea window;
    window.setWindowTitle("Korvatel – galéria");
    window.setWidgetResizable(true);
    window.setWidget(charts);
    window.resize(Columns * (GalleryChartWidth + 12) + 24, 2 * (GalleryChartHeight + 12) + 24);
    window.show();
    return QApplication::exec();
}

} // namespace

int main(int argc, char** argv) {
    // Pictures are drawn without any window; the platform must be chosen before the
    // application starts.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--png") == 0) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
    }
    QApplication application(argc, argv);
    // Qt has taken its own options out; what is left is ours.
    const QStringList arguments = QApplication::arguments().mid(1);
    if (arguments.isEmpty()) {
        return ShowWindow();
    }
    if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h")) {
        std::fputs(Usage, stdout);
        return 0;
    }
    if (arguments.size() != 2 || arguments[0] != "--png" || arguments[1].isEmpty()) {
        std::fprintf(stderr, "korvatel-gallery: érvénytelen argumentum: %s\n%s",
                     qPrintable(arguments.join(' ')), Usage);
        return 2;
    }
    const QString error = WriteGalleryImages(TSeriesGallery::Standard(), arguments[1], Columns);
    if (!error.isEmpty()) {
        std::fprintf(stderr, "korvatel-gallery: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
