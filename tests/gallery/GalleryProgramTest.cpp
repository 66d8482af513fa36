// SPDX-License-Identifier: MIT
// The gallery program run as a user runs it: its pictures and its answer to a bad command line.
#include "GalleryCharts.h"

#include <korvatel/canvas/SystemColors.h>

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>
#include <set>

using namespace Korvatel;

namespace {

struct TRun {
    int Status = -1;
    QString Errors;
};

TRun RunGallery(const QStringList& arguments) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    process.setProcessEnvironment(environment);
    process.start(KORVATEL_GALLERY_PROGRAM, arguments);
    EXPECT_TRUE(process.waitForFinished(120000));
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardError())};
}

// Whether a colour stands out from the grey, black and white of panel, axes and text.
bool IsStrong(QRgb pixel) {
    const int high = std::max({qRed(pixel), qGreen(pixel), qBlue(pixel)});
    const int low = std::min({qRed(pixel), qGreen(pixel), qBlue(pixel)});
    return high - low > 100;
}

// The strong colours the chart of a kind shows its points in, as the gallery sets it up.
std::set<QRgb> SeriesColours(const TSeriesKind& kind) {
    TChart chart;
    SetUpGalleryChart(chart, kind);
    std::set<QRgb> colours;
    for (const TChartSeries* series : chart.SeriesList()) {
        for (std::int32_t i = 0; i < series->PointCount(); ++i) {
            const QRgb colour = ColorToRgb(series->PointColor(i));
            if (IsStrong(colour)) {
                colours.insert(colour);
            }
        }
    }
    return colours;
}

int PixelsOf(const QImage& image, QRgb colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += image.pixel(x, y) == colour ? 1 : 0;
        }
    }
    return count;
}

} // namespace

TEST(GalleryProgram, WritesAChartForEveryKindAndRefusesABadCommandLine) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const TRun run = RunGallery({"--png", folder.path()});
    ASSERT_EQ(run.Status, 0) << run.Errors.toStdString();
    // Each picture shows every series of its kind in the series' own colours, over more
    // pixels than the title, which is blue too, could give; and no two kinds look alike.
    std::vector<QImage> pictures;
    for (const TSeriesKind& kind : TSeriesGallery::Standard().Kinds()) {
        const QImage picture =
            QImage(QDir(folder.path()).filePath(GalleryFileName(kind.Name)))
                .convertToFormat(QImage::Format_RGB32);
        ASSERT_FALSE(picture.isNull()) << kind.Name;
        EXPECT_EQ(picture.size(), QSize(GalleryChartWidth, GalleryChartHeight)) << kind.Name;
        const std::set<QRgb> colours = SeriesColours(kind);
        EXPECT_FALSE(colours.empty()) << kind.Name;
        for (const QRgb colour : colours) {
            EXPECT_GT(PixelsOf(picture, colour), 250) << kind.Name << " " << std::hex << colour;
        }
        for (const QImage& other : pictures) {
            EXPECT_NE(picture, other) << kind.Name;
        }
        pictures.push_back(picture);
    }

    for (const QStringList& arguments :
         {QStringList{"--png"}, QStringList{"--colour"}, QStringList{"--png", "a", "--pdf", "b"}}) {
        const TRun bad = RunGallery(arguments);
        EXPECT_EQ(bad.Status, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(bad.Errors.contains(QString::fromUtf8("Használat: korvatel-gallery")))
            << bad.Errors.toStdString();
    }
}
