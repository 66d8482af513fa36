#pragma once

#include "Chart.h"
#include "SeriesGallery.h"

#include <QImage>
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

// Fills a chart with series of a kind. A kind without a set-up of its own shows one series
// of sample values.
using TGallerySetup = std::function<void(TChart& chart, const TSeriesKind& kind)>;
TGallerySetup GallerySetupFor(std::string_view kindName);

// Sets a chart up as the gallery shows the kind: title, colours and its series.
void SetUpGalleryChart(TChart& chart, const TSeriesKind& kind);

// The chart of a kind drawn into an image of the gallery's chart size.
QImage GalleryChartImage(const TSeriesKind& kind);

// The file name of a kind's picture: its name in lower case, every other character than
// letters and digits a dash ("Horiz. Bar" gives "horiz-bar.png").
QString GalleryFileName(std::string_view kindName);

// Writes the picture of every kind of the gallery into a folder (made when missing), and
// "gallery.png" with all of them side by side, columns at a time. Answers an empty text, or
// what went wrong.
QString WriteGalleryImages(const TSeriesGallery& gallery, const QString& folder, int columns);
