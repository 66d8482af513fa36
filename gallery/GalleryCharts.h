// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/render/Chart.h>
#include <korvatel/data/SeriesGallery.h>

#include <QImage>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QString>
#include <functional>
#include <string>
#include <string_view>

// The demonstration of the engine's series kinds: one chart per kind of the gallery, in
// gallery order, filled with sample values from fixed seeds, so that every run draws the same
// pictures.

// The width and height of one chart of the gallery.
constexpr int GalleryChartWidth = 400;
constexpr int GalleryChartHeight = 300;

// How the gallery shows its charts: flat, in 3D seen obliquely (the orthogonal view), or in
// 3D in perspective.
enum TGalleryView { gvFlat, gvOblique, gvPerspective };

// What the command line asks for: pictures into Folder (--png), a PDF file (--pdf), the view
// (--3d, and --3d --perspective), or the usage text (--help). Error names the first argument
// that is not understood; it stays empty when all are.
struct TGalleryArguments {
    QString Folder;
    QString Pdf;
    TGalleryView View = gvFlat;
    bool Help = false;
    std::string Error;
};
TGalleryArguments ParseGalleryArguments(int argc, const char* const* argv);

// Fills a chart with series of a kind. A kind without a set-up of its own shows one series
// of sample values.
using TGallerySetup = std::function<void(Korvatel::TChart& chart, const Korvatel::TSeriesKind& kind)>;
TGallerySetup GallerySetupFor(std::string_view kindName);

// Sets a chart up as the gallery shows the kind: title, colours and its series.
void SetUpGalleryChart(Korvatel::TChart& chart, const Korvatel::TSeriesKind& kind,
                       TGalleryView view = gvFlat);
// Shows a chart that is set up flat or in 3D.
void SetGalleryView(Korvatel::TChart& chart, TGalleryView view);

// The chart of a kind drawn into an image of the gallery's chart size, at a device pixel
// ratio (2 gives a picture as sharp as a screen of twice the density shows it).
QImage GalleryChartImage(const Korvatel::TSeriesKind& kind, double devicePixelRatio = 1.0,
                         TGalleryView view = gvFlat);

// The charts of every kind side by side, columns at a time, in one image.
QImage GalleryOverview(const Korvatel::TSeriesGallery& gallery, int columns,
                       double devicePixelRatio = 1.0, TGalleryView view = gvFlat);

// Prints the chart of every kind on a page of its own, onto the device that painter is open
// on (a printer or a PDF writer), each as large as fits inside the page's margins. Raises
// ChartException when the device cannot start a page.
void PrintGallery(const Korvatel::TSeriesGallery& gallery, QPagedPaintDevice& device,
                  QPainter& painter, TGalleryView view = gvFlat);

// Writes the charts of every kind into one PDF file, a page each (A4 across). Answers an
// empty text, or what went wrong; a file that was there stays as it was when writing fails.
QString WriteGalleryPdf(const Korvatel::TSeriesGallery& gallery, const QString& path,
                        TGalleryView view = gvFlat);

// The file name of a kind's picture: its name in lower case, every other character than
// letters and digits a dash ("Horiz. Bar" gives "horiz-bar.png").
QString GalleryFileName(std::string_view kindName);

// Writes the picture of every kind of the gallery into a folder (made when missing), and
// "gallery.png" with all of them side by side, columns at a time. Answers an empty text, or
// what went wrong.
QString WriteGalleryImages(const Korvatel::TSeriesGallery& gallery, const QString& folder,
                           int columns, TGalleryView view = gvFlat);
