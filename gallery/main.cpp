// SPDX-License-Identifier: MIT
// korvatel-gallery: one chart per series kind of the engine's gallery, in a window that prints
// them and saves them as PDF or PNG, or written without a window: as PNG files with --png DIR,
// as one PDF of a page per chart with --pdf FILE (the offscreen platform draws them).
#include <korvatel/core/ChartErrors.h>
#include <korvatel/render/ChartWidget.h>
#include "GalleryCharts.h"
#include <korvatel/data/SeriesGallery.h>

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QGridLayout>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollArea>
#include <QWidget>
#include <cstdio>
#include <cstring>

using namespace Korvatel;

namespace {

constexpr int Columns = 3;

const char* const Usage = "Használat: korvatel-gallery [--png MAPPA | --pdf FÁJL]\n"
                          "  --png MAPPA  minden diagramot PNG fájlba ír ablak nélkül\n"
                          "  --pdf FÁJL   minden diagramot egy PDF fájl egy-egy oldalára ír\n";

// The gallery's window: the charts in a grid, and a menu to print them or save them.
class TGalleryWindow : public QMainWindow {
public:
    TGalleryWindow() {
        setWindowTitle("Korvatel – galéria");
        auto* charts = new QWidget;
        auto* grid = new QGridLayout(charts);
        const auto& kinds = TSeriesGallery::Standard().Kinds();
        for (std::size_t i = 0; i < kinds.size(); ++i) {
            auto* widget = new TChartWidget;
            widget->setMinimumSize(GalleryChartWidth, GalleryChartHeight);
            SetUpGalleryChart(widget->Chart(), kinds[i]);
            grid->addWidget(widget, static_cast<int>(i) / Columns, static_cast<int>(i) % Columns);
        }
        auto* scroll = new QScrollArea;
        scroll->setWidgetResizable(true);
        scroll->setWidget(charts);
        setCentralWidget(scroll);

        QMenu* file = menuBar()->addMenu("&Fájl");
        QAction* print = file->addAction("&Nyomtatás…", this, &TGalleryWindow::Print);
        print->setShortcut(QKeySequence::Print);
        QAction* save =
            file->addAction("&Mentés PDF vagy PNG fájlba…", this, &TGalleryWindow::Save);
        save->setShortcut(QKeySequence::Save);
        file->addSeparator();
        QAction* quit = file->addAction("&Kilépés", this, &QWidget::close);
        quit->setShortcut(QKeySequence::Quit);
        resize(Columns * (GalleryChartWidth + 12) + 24, 2 * (GalleryChartHeight + 12) + 48);
    }

private:
    // Every chart on a page of its own.
    void Print() {
        QPrinter printer(QPrinter::HighResolution);
        printer.setPageOrientation(QPageLayout::Landscape);
        printer.setDocName("Korvatel – galéria");
        QPrintDialog dialog(&printer, this);
        if (dialog.exec() != QDialog::Accepted) {
            return;
        }
        QPainter painter;
        bool printed = painter.begin(&printer);
        if (printed) {
            try {
                PrintGallery(TSeriesGallery::Standard(), printer, painter);
            } catch (const ChartException&) {
                printed = false;
            }
            painter.end();
        }
        if (!printed || printer.printerState() == QPrinter::Error) {
            QMessageBox::critical(this, windowTitle(), "A nyomtatás nem sikerült.");
        }
    }

    // A PDF of a page per chart, or one PNG of all charts at the screen's density.
    void Save() {
        QString filter;
        QString path = QFileDialog::getSaveFileName(this, "Mentés", "korvatel-galeria.pdf",
                                                    "PDF (*.pdf);;PNG (*.png)", &filter);
        if (path.isEmpty()) {
            return;
        }
        const bool png = filter.startsWith("PNG") || path.endsWith(".png", Qt::CaseInsensitive);
        QString error;
        if (png) {
            const QImage overview =
                GalleryOverview(TSeriesGallery::Standard(), Columns, devicePixelRatioF());
            if (!overview.save(path, "PNG")) {
                error = QString("A(z) %1 fájl nem írható.").arg(path);
            }
        } else {
            error = WriteGalleryPdf(TSeriesGallery::Standard(), path);
        }
        if (!error.isEmpty()) {
            QMessageBox::critical(this, windowTitle(), error);
        }
    }
};

} // namespace

int main(int argc, char** argv) {
    // The arguments are read before the application starts: pictures are drawn without any
    // window, and the platform must be chosen first; a bad argument is reported even where no
    // window could open.
    QString folder;
    QString pdf;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(Usage, stdout);
            return 0;
        }
        const bool png = std::strcmp(argv[i], "--png") == 0;
        if ((png || std::strcmp(argv[i], "--pdf") == 0) && i + 1 < argc && argv[i + 1][0] != '\0' &&
            folder.isEmpty() && pdf.isEmpty()) {
            (png ? folder : pdf) = QString::fromLocal8Bit(argv[++i]);
            continue;
        }
        std::fprintf(stderr, "korvatel-gallery: érvénytelen argumentum: %s\n%s", argv[i], Usage);
        return 2;
    }
    if (folder.isEmpty() && pdf.isEmpty()) {
        QApplication application(argc, argv);
        TGalleryWindow window;
        window.show();
        return QApplication::exec();
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QString error = pdf.isEmpty()
                              ? WriteGalleryImages(TSeriesGallery::Standard(), folder, Columns)
                              : WriteGalleryPdf(TSeriesGallery::Standard(), pdf);
    if (!error.isEmpty()) {
        std::fprintf(stderr, "korvatel-gallery: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
