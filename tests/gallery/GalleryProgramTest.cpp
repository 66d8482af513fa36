// SPDX-License-Identifier: MIT
// The gallery program run as a user runs it: its pictures and its answer to a bad command line.
#include "GalleryCharts.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>

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

// Pixels of a strong colour: a series, not the grey, black and white of panel, axes and text.
int StrongPixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            const int high = std::max({qRed(pixel), qGreen(pixel), qBlue(pixel)});
            const int low = std::min({qRed(pixel), qGreen(pixel), qBlue(pixel)});
            count += high - low > 100 ? 1 : 0;
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
    for (const TSeriesKind& kind : TSeriesGallery::Standard().Kinds()) {
        const QImage picture(QDir(folder.path()).filePath(GalleryFileName(kind.Name)));
        ASSERT_FALSE(picture.isNull()) << kind.Name;
        EXPECT_EQ(picture.width(), GalleryChartWidth) << kind.Name;
        EXPECT_GT(StrongPixels(picture), 300) << kind.Name;
    }

    for (const QStringList& arguments :
         {QStringList{"--png"}, QStringList{"--colour"}, QStringList{"--png", "a", "--pdf", "b"}}) {
        const TRun bad = RunGallery(arguments);
        EXPECT_EQ(bad.Status, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(bad.Errors.contains(QString::fromUtf8("Használat: korvatel-gallery")))
            << bad.Errors.toStdString();
    }
}
