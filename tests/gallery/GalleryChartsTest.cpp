// SPDX-License-Identifier: MIT
#include "GalleryCharts.h"

#include <korvatel/data/AreaSeries.h>
#include <korvatel/canvas/View3DOptions.h>
#include <korvatel/data/LineSeries.h>
#include <korvatel/data/PieSeries.h>
#include <korvatel/data/PointSeries.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Korvatel;

TEST(GalleryCharts, KindsWithoutASetUpShowOneSeriesAndStackedAreasStack) {
    TSeriesGallery gallery;
    gallery.RegisterSeries("Mine", "Other Line", [] { return std::make_unique<TLineSeries>(); });
    gallery.RegisterSeries("Mine", "Area", [] { return std::make_unique<TAreaSeries>(); });
    TChart plain;
    SetUpGalleryChart(plain, gallery.Kinds()[0]);
    ASSERT_EQ(plain.SeriesList().Count(), 1);
    EXPECT_EQ(plain.SeriesList()[0]->PointCount(), plain.SeriesList()[0]->SampleCount());
    EXPECT_EQ(plain.Title().Text(), (std::vector<std::string>{"Other Line"}));
    TChart areas;
    SetUpGalleryChart(areas, gallery.Kinds()[1]);
    ASSERT_GT(areas.SeriesList().Count(), 1);
    EXPECT_EQ(dynamic_cast<TAreaSeries&>(*areas.SeriesList()[0]).MultiArea(), maStacked);
}

TEST(GalleryCharts, WritesTheSamePicturesEveryTimeAndReportsWhatItCannotWrite) {
    EXPECT_EQ(GalleryFileName("Horiz. Bar"), "horiz-bar.png");
    TSeriesGallery gallery;
    gallery.RegisterSeries("Mine", "Line", [] { return std::make_unique<TLineSeries>(); });
    gallery.RegisterSeries("Mine", "Point", [] { return std::make_unique<TPointSeries>(); });
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString first = folder.filePath("first/pictures");
    const QString second = folder.filePath("second");
    ASSERT_EQ(WriteGalleryImages(gallery, first, 3), "");
    ASSERT_EQ(WriteGalleryImages(gallery, second, 3), "");
    for (const char* name : {"line.png", "point.png", "gallery.png"}) {
        const QImage a(QDir(first).filePath(name));
        EXPECT_FALSE(a.isNull()) << name;
        EXPECT_EQ(a, QImage(QDir(second).filePath(name))) << name;
    }
    EXPECT_EQ(QImage(QDir(first).filePath("gallery.png")).size(),
              QSize(2 * GalleryChartWidth, GalleryChartHeight));

    // A file where the folder should be, and a folder where a picture should be.
    QFile blocker(folder.filePath("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_NE(WriteGalleryImages(gallery, folder.filePath("blocker"), 3), "");
    ASSERT_TRUE(QDir(second).remove("point.png") && QDir(second).mkpath("point.png"));
    EXPECT_NE(WriteGalleryImages(gallery, second, 3), "");
}

TEST(GalleryCharts, WritesAPdfOfAPagePerKindAndReportsAFileItCannotWrite) {
    TSeriesGallery gallery;
    gallery.RegisterSeries("Mine", "Line", [] { return std::make_unique<TLineSeries>(); });
    gallery.RegisterSeries("Mine", "Point", [] { return std::make_unique<TPointSeries>(); });
    gallery.RegisterSeries("Mine", "Area", [] { return std::make_unique<TAreaSeries>(); });
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath("gallery.pdf");
    ASSERT_EQ(WriteGalleryPdf(gallery, path), "");
    QFile pdf(path);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    // Page objects, not the page tree ("/Type /Pages").
    EXPECT_EQ(bytes.count("/Type /Page\n"), 3);

    // A file where the folder should be.
    EXPECT_NE(WriteGalleryPdf(gallery, folder.filePath("gallery.pdf/inside.pdf")), "");
}

TEST(GalleryCharts, TheCommandLineChoosesTheViewAndRefusesAPerspectiveWithout3D) {
    struct TCase {
        std::vector<const char*> Arguments;
        TGalleryView View;
        std::string Error;
    };
    const TCase cases[] = {
        {{"--png", "d"}, gvFlat, ""},
        {{"--3d", "--png", "d"}, gvOblique, ""},
        {{"--png", "d", "--perspective", "--3d"}, gvPerspective, ""},
        {{"--perspective", "--pdf", "f.pdf"}, gvFlat, "--perspective"},
        {{"--3d", "--3d"}, gvFlat, "--3d"},
    };
    for (const TCase& c : cases) {
        std::vector<const char*> argv{"korvatel-gallery"};
        argv.insert(argv.end(), c.Arguments.begin(), c.Arguments.end());
        const TGalleryArguments parsed =
            ParseGalleryArguments(static_cast<int>(argv.size()), argv.data());
        EXPECT_EQ(parsed.Error, c.Error) << c.Arguments.front();
        if (c.Error.empty()) {
            EXPECT_EQ(parsed.View, c.View) << c.Arguments.front();
        }
    }
}

TEST(GalleryCharts, ChartsIn3DAreSeenObliquelyOrInPerspective) {
    TSeriesGallery gallery;
    gallery.RegisterSeries("Mine", "Pie", [] { return std::make_unique<TPieSeries>(); });
    const TSeriesKind& pie = gallery.Kinds()[0];
    for (const TGalleryView view : {gvFlat, gvOblique, gvPerspective}) {
        TChart chart;
        SetUpGalleryChart(chart, pie, view);
        EXPECT_EQ(chart.View3D(), view != gvFlat);
        EXPECT_EQ(chart.View3DOptions().Orthogonal(), view != gvPerspective);
    }
    const QImage flat = GalleryChartImage(pie, 1.0, gvFlat);
    const QImage oblique = GalleryChartImage(pie, 1.0, gvOblique);
    const QImage perspective = GalleryChartImage(pie, 1.0, gvPerspective);
    EXPECT_NE(flat, oblique);
    EXPECT_NE(oblique, perspective);
}
