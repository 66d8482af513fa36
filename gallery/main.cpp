// SPDX-License-Identifier: MIT
// korvatel-gallery: one chart per series kind of the engine's gallery, in a window that prints
// them and saves them as PDF or PNG, or written without a window: as PNG files with --png DIR,
// as one PDF of a page per chart with --pdf FILE (the offscreen platform draws them). The charts
// are flat, or in 3D with --3d (seen obliquely) and --3d --perspective; the window has a switch.
#include <korvatel/core/ChartErrors.h>
#include <korvatel/render/ChartWidget.h>
#include "GalleryCharts.h"
#include <korvatel/data/SeriesGallery.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollArea>
#include <QVBoxLayout>
#include <QWidget>
#include <cstdio>
#include <vector>

using namespace Korvatel;

namespace {

constexpr int Columns = 3;

const char* const Usage =
    "Használat: korvatel-gallery [--3d [--perspective]] [--png MAPPA | --pdf FÁJL]\n"
    "  --png MAPPA    minden diagramot PNG fájlba ír ablak nélkül\n"
    "  --pdf FÁJL     minden diagramot egy PDF fájl egy-egy oldalára ír\n"
    "  --3d           térhatású diagramok, ferde rálátással\n"
    "  --perspective  a --3d mellett: térhatású diagramok perspektívában\n";

// The gallery's window: the charts in a grid, and a menu to print them or save them.
class TGalleryWindow : public QMainWindow {
public:
    explicit TGalleryWindow(TGalleryView view) : FView(view) {
        setWindowTitle("Korvatel – galéria");
        auto* charts = new QWidget;
        auto* grid = new QGridLayout(charts);
        const auto& kinds = TSeriesGallery::Standard().Kinds();
        for (std::size_t i = 0; i < kinds.size(); ++i) {
            auto* widget = new TChartWidget;
            widget->setMinimumSize(GalleryChartWidth, GalleryChartHeight);
            SetUpGalleryChart(widget->Chart(), kinds[i], FView);
            grid->addWidget(widget, static_cast<int>(i) / Columns, static_cast<int>(i) % Columns);
            FCharts.push_back(widget);
        }
        auto* scroll = new QScrollArea;
        scroll->setWidgetResizable(true);
        scroll->setWidget(charts);
        // The 3D switch shows every chart in the oblique view, or flat again.
        auto* view3D = new QCheckBox("&Térhatású (3D) nézet");
        view3D->setChecked(FView != gvFlat);
        connect(view3D, &QCheckBox::toggled, this, [this](bool on) {
            FView = !on ? gvFlat : FView == gvPerspective ? gvPerspective : gvOblique;
            for (TChartWidget* widget : FCharts) {
                SetGalleryView(widget->Chart(), on ? FView : gvFlat);
            }
        });
        auto* central = new QWidget;
        auto* column = new QVBoxLayout(central);
        column->addWidget(view3D);
        column->addWidget(scroll);
        setCentralWidget(central);

        QMenu* file = menuBar()->addMenu("&Fájl");
        QAction* print = file->addAction("&Nyomtatás…", this, &TGalleryWindow::Print);
        print->setShortcut(QKeySequence::Print);
        QAction* save =
            file->addAction("&Mentés PDF vagy PNG fájlba…", this, &TGalleryWindow::Save);
        save->setShortcut(QKeySequence::Save);
        file->addSeparator();
        QAction* quit = file->addAction("&Kilépés", this, &QWidget::close);
        quit->setShortcut(QKeySequence::Quit);
        resize(Columns * (GalleryChartWidth + 12) + 24, 2 * (GalleryChartHeight + 12) + 80);
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
                PrintGallery(TSeriesGallery::Standard(), printer, painter, FView);
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
                GalleryOverview(TSeriesGallery::Standard(), Columns, devicePixelRatioF(), FView);
            if (!overview.save(path, "PNG")) {
                error = QString("A(z) %1 fájl nem írható.").arg(path);
            }
        } else {
            error = WriteGalleryPdf(TSeriesGallery::Standard(), path, FView);
        }
        if (!error.isEmpty()) {
            QMessageBox::critical(this, windowTitle(), error);
        }
    }

    TGalleryView FView;
    std::vector<TChartWidget*> FCharts;
};

} // namespace

int main(int argc, char** argv) {
    // The arguments are read before the application starts: pictures are drawn without any
    // window, and the platform must be chosen first; a bad argument is reported even where no
    // window could open.
    const TGalleryArguments arguments = ParseGalleryArguments(argc, argv);
    if (arguments.Help) {
        std::fputs(Usage, stdout);
        return 0;
    }
    if (!arguments.Error.empty()) {
        std::fprintf(stderr, "korvatel-gallery: érvénytelen argumentum: %s\n%s",
                     arguments.Error.c_str(), Usage);
        return 2;
    }
    if (arguments.Folder.isEmpty() && arguments.Pdf.isEmpty()) {
        QApplication application(argc, argv);
        TGalleryWindow window(arguments.View);
        window.show();
        return QApplication::exec();
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QString error =
        arguments.Pdf.isEmpty()
            ? WriteGalleryImages(TSeriesGallery::Standard(), arguments.Folder, Columns,
                                 arguments.View)
            : WriteGalleryPdf(TSeriesGallery::Standard(), arguments.Pdf, arguments.View);
    if (!error.isEmpty()) {
        std::fprintf(stderr, "korvatel-gallery: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
