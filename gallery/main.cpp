// korvatel-gallery: one chart per series kind of the engine's gallery, in a window, or written
// as PNG files with --png DIR (no window: the offscreen platform draws them).
#include "ChartWidget.h"
#include "GalleryCharts.h"
#include "SeriesGallery.h"

#include <QApplication>
#include <QGridLayout>
#include <QScrollArea>
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
    // The arguments are read before the application starts: pictures are drawn without any
    // window, and the platform must be chosen first; a bad argument is reported even where no
    // window could open.
    QString folder;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(Usage, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--png") == 0 && i + 1 < argc && argv[i + 1][0] != '\0' &&
            folder.isEmpty()) {
            folder = QString::fromLocal8Bit(argv[++i]);
            continue;
        }
        std::fprintf(stderr, "korvatel-gallery: érvénytelen argumentum: %s\n%s", argv[i], Usage);
        return 2;
    }
    if (folder.isEmpty()) {
        QApplication application(argc, argv);
        return ShowWindow();
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QString error = WriteGalleryImages(TSeriesGallery::Standard(), folder, Columns);
    if (!error.isEmpty()) {
        std::fprintf(stderr, "korvatel-gallery: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
