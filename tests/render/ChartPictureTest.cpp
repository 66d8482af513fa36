// SPDX-License-Identifier: MIT
#include <korvatel/render/Chart.h>
#include <korvatel/canvas/ChartCanvas3D.h>
#include <korvatel/core/ChartErrors.h>
#include "ChartImage.h"
#include <korvatel/canvas/ChartSurface.h>
#include <korvatel/data/FastLineSeries.h>
#include "PixelBlocks.h"
#include <korvatel/canvas/TextCache.h>

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>
#include <optional>
#include <stdexcept>

using namespace Korvatel;

namespace {

constexpr QRgb Red = 0xFFFF0000u;

// A flat chart with a title, fixed axes from 0 to 100 and a red line: flat at 50 from 0 to
// 60, then up to 90 at 100.
struct PictureChart {
    PictureChart(int width = 400, int height = 250) {
        chart.SetSize(width, height);
        chart.SetView3D(false);
        chart.SetColor(clWhite);
        chart.Title().SetText({"Korvatel"});
        for (TChartAxis* axis : {&chart.BottomAxis(), &chart.LeftAxis()}) {
            axis->SetAutomatic(false);
            axis->SetMaximum(100);
            axis->SetMinimum(0);
        }
        auto* series = new TFastLineSeries;
        series->SetParentChart(&chart);
        series->SetSeriesColor(clRed);
        series->AddPoint(0, 50);
        series->AddPoint(60, 50);
        series->AddPoint(100, 90);
        // The layout of a picture or a page (not that of the window's picture, which is laid
        // out again after it).
        chart.OnAfterDraw = [this](TCustomAxisPanel*) {
            if (chart.Canvas().DrawingOn()) {
                plotRect = chart.PlotRect();
                printing = chart.Printing();
            }
        };
    }

    TChart chart;
    TRect plotRect;
    bool printing = false;
};

// The box of the pixels of a colour (or of every pixel not of it), in device pixels.
QRect Box(const QImage& image, QRgb colour, bool equal = true) {
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if ((image.pixel(x, y) == colour) == equal) {
                box |= QRect(x, y, 1, 1);
            }
        }
    }
    return box;
}

// Blue-ish title pixels: more blue than red and green.
QRect TitleBox(const QImage& image, int below) {
    QRect box;
    for (int y = 0; y < below; ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (qBlue(pixel) > 128 && qRed(pixel) < 128 && qGreen(pixel) < 128) {
                box |= QRect(x, y, 1, 1);
            }
        }
    }
    return box;
}

// The page of a PDF as an image at a resolution; nullopt when pdftoppm is missing.
std::optional<QImage> Rasterise(const QString& pdf, int dpi) {
    const QString pdftoppm = QStandardPaths::findExecutable("pdftoppm");
    if (pdftoppm.isEmpty()) {
        return std::nullopt;
    }
    const QString base = pdf + ".page";
    QProcess process;
    process.start(pdftoppm, {"-r", QString::number(dpi), "-png", "-singlefile", pdf, base});
    EXPECT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    return QImage(base + ".png").convertToFormat(QImage::Format_RGB32);
}

#define SKIP_WITHOUT_PDFTOPPM()                                                                    \
    if (QStandardPaths::findExecutable("pdftoppm").isEmpty()) {                                    \
        GTEST_SKIP() << "*** pdftoppm (Debian poppler-utils) is not installed: the PDF is not "    \
                        "looked at ***";                                                           \
    }

} // namespace

TEST(ChartPictureTest, AtRatioOneThePictureIsTheWindowsPicture) {
    PictureChart p(961, 529);
    const QImage window = DrawChartImage(p.chart);
    const QImage picture = p.chart.DrawToImage(961, 529);
    EXPECT_EQ(picture.devicePixelRatio(), 1.0);
    EXPECT_EQ(picture, window);
}

TEST(ChartPictureTest, PicturesLeaveTheWindowsLayoutAndPictureAsTheyWere) {
    PictureChart p;
    DrawChartImage(p.chart);
    const TRect plot = p.chart.PlotRect();
    const QImage kept = *p.chart.Canvas().Bitmap();
    ASSERT_FALSE(p.chart.Canvas().IsDirty());

    const QImage picture = p.chart.DrawToImage(300, 500, 2.0);
    EXPECT_EQ(picture.size(), QSize(600, 1000));
    EXPECT_EQ(picture.devicePixelRatio(), 2.0);
    EXPECT_NE(p.plotRect, plot); // laid out for its own size
    // Mouse handling goes on with the window's layout, and the window's picture stays.
    EXPECT_EQ(p.chart.PlotRect(), plot);
    EXPECT_EQ(*p.chart.Canvas().Bitmap(), kept);
    EXPECT_FALSE(p.chart.Canvas().IsDirty());
}

TEST(ChartPictureTest, AtRatioTwoTheSamePlacesAreDrawnAtDeviceResolution) {
    PictureChart p;
    const QImage one = p.chart.DrawToImage(400, 250, 1.0);
    const TRect plotAtOne = p.plotRect;
    const QImage two = p.chart.DrawToImage(400, 250, 2.0);
    EXPECT_EQ(p.plotRect, plotAtOne);

    // The flat part of the line: one row at ratio 1, the two device rows of it at ratio 2.
    const QRect lineOne = Box(one.copy(0, 0, 200, 250), Red);
    const QRect lineTwo = Box(two.copy(0, 0, 400, 500), Red);
    ASSERT_EQ(lineOne.height(), 1);
    EXPECT_EQ(lineTwo, QRect(lineOne.left() * 2, lineOne.top() * 2, lineOne.width() * 2, 2));

    // The title takes twice the room, in glyphs of the device's own resolution: a magnified
    // picture would be made of 2 x 2 blocks of one colour each.
    const QRect titleOne = TitleBox(one, plotAtOne.Top);
    const QRect titleTwo = TitleBox(two, plotAtOne.Top * 2);
    ASSERT_FALSE(titleOne.isEmpty());
    EXPECT_NEAR(titleTwo.center().x(), titleOne.center().x() * 2 + 1, 2);
    EXPECT_NEAR(titleTwo.width(), titleOne.width() * 2, 3);
    const TPixelBlocks blocks = CountPixelBlocks(two, titleTwo);
    EXPECT_GT(blocks.Mixed * 3, blocks.Inked) << blocks.Mixed << " of " << blocks.Inked;
}

TEST(ChartPictureTest, FractionalRatiosCoverThePictureWithoutSeams) {
    for (const double ratio : {1.25, 1.5, 1.75}) {
        SCOPED_TRACE(testing::Message() << "ratio " << ratio);
        PictureChart p(401, 251);
        // Nothing of the chart is white then (the raised bevel's light side is).
        p.chart.SetColor(clYellow);
        p.chart.SetBevelOuter(bvNone);
        // The legend's sample of the line is red too; the gaps are looked for in the line.
        p.chart.Legend().SetVisible(false);
        p.chart.DrawToImage(401, 251, 1.0);
        const TRect plotAtOne = p.plotRect;
        const QImage picture = p.chart.DrawToImage(401, 251, ratio);
        EXPECT_EQ(p.plotRect, plotAtOne);
        // Every device pixel whose centre lies in the picture, and each one painted.
        EXPECT_EQ(picture.width(), static_cast<int>(std::ceil(401 * ratio - 0.5)));
        EXPECT_EQ(picture.height(), static_cast<int>(std::ceil(251 * ratio - 0.5)));
        const QRect white = Box(picture, qRgb(255, 255, 255));
        EXPECT_TRUE(white.isEmpty())
            << "white left showing at " << white.left() << ", " << white.top() << " to "
            << white.right() << ", " << white.bottom();
        // The line has no gaps: every device column from its start to its end holds it.
        const QRect line = Box(picture, Red);
        ASSERT_FALSE(line.isEmpty());
        for (int x = line.left(); x <= line.right(); ++x) {
            EXPECT_FALSE(Box(picture.copy(x, 0, 1, picture.height()), Red).isEmpty())
                << "column " << x;
        }
    }
}

TEST(ChartPictureTest, TextStaysInsideItsRoomAtEveryResolution) {
    // Glyphs hinted for a larger size are not the small ones magnified; each text stays in its
    // room measured at 96 dpi (its advance, line height and 96-dpi pixels), on an image and on
    // a vector device alike.
    for (const double ratio : {1.5, 2.0, 6.25}) {
        for (const bool image : {true, false}) {
            for (const char* text : {"W", "gjqpy", "Korvatel", "-1,000"}) {
                SCOPED_TRACE(testing::Message()
                             << ratio << (image ? " image " : " painter ") << text);
                const TDeviceScale scale = TDeviceScale::FromRatio(ratio);
                QImage picture(scale.Edge(60), scale.Edge(30), QImage::Format_RGB32);
                picture.fill(Qt::white);
                QImage reference(60, 30, QImage::Format_RGB32);
                reference.fill(Qt::white);
                std::optional<QPainter> painter;
                if (image) {
                    picture.setDevicePixelRatio(ratio);
                } else {
                    painter.emplace(&picture);
                    painter->scale(ratio, ratio);
                }
                std::int32_t width = 0;
                std::int32_t height = 0;
                for (QImage* target : {&reference, &picture}) {
                    TChartSurface surface = target == &picture && painter ? TChartSurface(*painter)
                                                                          : TChartSurface(*target);
                    TChartCanvas3D canvas;
                    canvas.SetTargetSurface(&surface);
                    canvas.Font().SetStyle(fsBold);
                    canvas.SetTextBackgroundMode(cbmTransparent);
                    canvas.DrawTextAt(10, 8, text);
                    width = canvas.MeasureTextWidth(text);
                    height = canvas.MeasureTextHeight(text);
                    canvas.SetTargetSurface(nullptr);
                }
                painter.reset();
                const QRect room =
                    QRect(10, 8, width, height) | Box(reference, qRgb(255, 255, 255), false);
                const TRect inside =
                    scale.Inside({room.left(), room.top(), room.right() + 1, room.bottom() + 1});
                const QRect ink = Box(picture, qRgb(255, 255, 255), false);
                ASSERT_FALSE(ink.isEmpty());
                EXPECT_TRUE(
                    QRect(inside.Left, inside.Top, inside.Width(), inside.Height()).contains(ink))
                    << "ink " << ink.left() << ", " << ink.top() << " to " << ink.right() << ", "
                    << ink.bottom() << "; room " << inside.Left << ", " << inside.Top << " to "
                    << inside.Right << ", " << inside.Bottom;
            }
        }
    }
}

TEST(ChartPictureTest, GlyphsThatWouldLeaveTheirRoomAreNarrowedRatherThanCut) {
    // Hinted for 22 pixels, the "W" of the 11-pixel face is wider than twice its 96-dpi
    // advance, and the descenders longer; texts that fit keep their size.
    TTextCache cache;
    const TChartFont font;
    const TTextCache::TFontEntry& entry = cache.FontFor(font, 1.0);
    const TDeviceScale two = TDeviceScale::FromRatio(2.0);
    EXPECT_LT(cache.DeviceGlyphs(entry, "W", two).DeviceFit.X, 1.0);
    EXPECT_LT(cache.DeviceGlyphs(entry, "gjqpy", two).DeviceFit.Y, 1.0);
    EXPECT_EQ(cache.DeviceGlyphs(entry, "-", two).DeviceFit.X, 1.0);
    EXPECT_EQ(cache.DeviceGlyphs(entry, "-", two).DeviceFit.Y, 1.0);
}

TEST(ChartPictureTest, APainterOfAnotherScaleStrokesLinesAlongTheirPixels) {
    // Through a painter at ratio 2 a line covers the device pixels of its logical pixels, the
    // start pixel in and the end pixel out, in either direction.
    QImage picture(40, 40, QImage::Format_RGB32);
    picture.fill(Qt::white);
    {
        QPainter painter(&picture);
        painter.scale(2, 2);
        TChartSurface surface(painter);
        TChartCanvas3D canvas;
        canvas.SetTargetSurface(&surface);
        canvas.Pen().SetColor(clRed);
        canvas.DrawLineSegment(2, 3, 6, 3);
        canvas.DrawLineSegment(9, 10, 9, 4);
        canvas.SetTargetSurface(nullptr);
    }
    EXPECT_EQ(Box(picture.copy(0, 0, 16, 10), Red), QRect(4, 6, 8, 2));
    EXPECT_EQ(Box(picture.copy(16, 0, 24, 40), Red), QRect(2, 10, 2, 12));
}

TEST(ChartPdfTest, APdfShowsTheChartWhereThePictureDoes) {
    SKIP_WITHOUT_PDFTOPPM();
    QTemporaryDir directory;
    const QString path = directory.filePath("chart.pdf");
    PictureChart p;
    p.chart.SaveToPdf(path, QSize(400, 250));
    EXPECT_FALSE(p.printing);
    const std::optional<QImage> page = Rasterise(path, 192);
    ASSERT_TRUE(page);
    // A page of 300 x 187.5 points (whole points: 188) at 192 dpi.
    EXPECT_EQ(page->size(), QSize(800, 502));
    const QImage picture = p.chart.DrawToImage(400, 250, 2.0);
    const QRect title = TitleBox(*page, 40);
    const QRect expectedTitle = TitleBox(picture, 40);
    EXPECT_NEAR(title.center().x(), expectedTitle.center().x(), 3);
    EXPECT_NEAR(title.center().y(), expectedTitle.center().y(), 3);
    EXPECT_NEAR(title.width(), expectedTitle.width(), 6);
    // The flat part of the line, two device pixels high at the same place.
    const QRect line = Box(page->copy(0, 0, 400, 500), Red);
    EXPECT_EQ(line, Box(picture.copy(0, 0, 400, 500), Red));
}

TEST(ChartPdfTest, AFileThatCannotBeWrittenIsReported) {
    QTemporaryDir directory;
    PictureChart p;
    for (const QString& path : {directory.filePath("missing/chart.pdf"), directory.path()}) {
        EXPECT_THROW(p.chart.SaveToPdf(path, QSize(400, 250)), ChartException)
            << path.toStdString();
    }
    EXPECT_TRUE(QDir(directory.path()).entryList(QDir::Files).isEmpty());
    EXPECT_THROW(p.chart.SaveToPdf(directory.filePath("chart.pdf"), QSize(0, 250)), ChartException);
    EXPECT_THROW(p.chart.DrawToImage(400, 250, 0.0), ChartException);
}

TEST(ChartPdfTest, PrintingPutsTheWholeChartOnOnePageInsideTheMargins) {
    SKIP_WITHOUT_PDFTOPPM();
    QTemporaryDir directory;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(directory.filePath("printed.pdf"));
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageMargins(QMarginsF(20, 30, 20, 30), QPageLayout::Millimeter);
    PictureChart p;
    p.chart.SetColor(clYellow);
    p.chart.Print(printer);
    EXPECT_TRUE(p.printing);
    EXPECT_FALSE(p.chart.Printing());
    const std::optional<QImage> page = Rasterise(printer.outputFileName(), 72);
    ASSERT_TRUE(page);
    // A4 at 72 dpi is 595 x 842 points; the margins are 56.7 and 85 points.
    const QRect chart = Box(*page, qRgb(255, 255, 255), false);
    EXPECT_NEAR(chart.left(), 57, 1);
    EXPECT_NEAR(chart.right() + 1, 595 - 57, 1);
    EXPECT_NEAR(chart.top(), 85, 1);
    EXPECT_NEAR(double(chart.width()) / chart.height(), 400.0 / 250.0, 0.02);
}

// A page of four device pixels to the logical one (384 dots per inch), printed on.
QImage PrintedPage(TChart& chart) {
    QImage page(1600, 1000, QImage::Format_RGB32);
    page.fill(Qt::white);
    page.setDotsPerMeterX(4 * 3780);
    page.setDotsPerMeterY(4 * 3780);
    QPainter painter(&page);
    chart.PrintPage(painter, QRectF(0, 0, 1600, 1000));
    return page;
}

TEST(ChartPdfTest, APrintedSeriesIsClippedToTheBoxLikeItsPicture) {
    // In 3D the series' clip is the outline of the box, a region.
    PictureChart p;
    p.chart.SetView3D(true);
    p.chart.SeriesList()[0]->AddPoint(80, 400); // far above the box
    const QRect printed = Box(PrintedPage(p.chart), Red);
    const QRect pictured = Box(p.chart.DrawToImage(400, 250, 4.0), Red);
    ASSERT_FALSE(pictured.isEmpty());
    EXPECT_NEAR(printed.top(), pictured.top(), 4);
    EXPECT_NEAR(printed.bottom(), pictured.bottom(), 4);
}

TEST(ChartPdfTest, PrintedDottedGridLinesAreHairlines) {
    // The printing rules give dotted grid pens width 0: on a page the device's thinnest line.
    // A picture of the same size keeps them one logical pixel (here four device pixels) wide.
    PictureChart p;
    const QImage page = PrintedPage(p.chart);
    const QImage picture = p.chart.DrawToImage(400, 250, 4.0);
    auto grey = [](const QImage& image) {
        int count = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                count += image.pixel(x, y) == qRgb(128, 128, 128) ? 1 : 0;
            }
        }
        return count;
    };
    EXPECT_GT(grey(page), 1000);
    EXPECT_LT(grey(page) * 2, grey(picture));
}

TEST(ChartPdfTest, OnPaperWhiteTextsTurnBlackAndADottedLineBecomesAHairline) {
    // White labels and a white axis title on a navy panel: on the screen they show, on paper
    // (where the panel may not be printed) they would vanish.
    PictureChart p;
    p.chart.SetColor(clNavy);
    TChartAxis& left = p.chart.LeftAxis();
    left.LabelsFont().SetColor(clWhite);
    left.Title().SetCaption("Y");
    left.Title().Font().SetColor(clWhite);
    auto* series = static_cast<TFastLineSeries*>(p.chart.SeriesList()[0]);
    series->LinePen().SetStyle(psDot);
    const QImage picture = p.chart.DrawToImage(400, 250, 4.0);
    const QImage page = PrintedPage(p.chart);
    // The texts of the left axis stand left of the axis line's ticks.
    const QRect texts(8, 4 * p.plotRect.Top, 4 * p.plotRect.Left - 40,
                      4 * (p.plotRect.Bottom - p.plotRect.Top));
    auto count = [&texts](const QImage& image, auto&& test) {
        int n = 0;
        for (int y = texts.top(); y <= texts.bottom(); ++y) {
            for (int x = texts.left(); x <= texts.right(); ++x) {
                n += test(image.pixel(x, y)) ? 1 : 0;
            }
        }
        return n;
    };
    const auto white = [](QRgb c) { return qRed(c) > 200 && qGreen(c) > 200 && qBlue(c) > 200; };
    const auto black = [](QRgb c) { return qRed(c) < 60 && qGreen(c) < 60 && qBlue(c) < 60; };
    EXPECT_GT(count(picture, white), 500);
    EXPECT_EQ(count(picture, black), 0);
    EXPECT_GT(count(page, black), 500);
    EXPECT_EQ(count(page, white), 0);
    // The dotted line is drawn with the device's thinnest pen on paper, one logical pixel
    // (four device pixels) wide in the picture.
    const auto red = [](const QImage& image) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                n += image.pixel(x, y) == Red ? 1 : 0;
            }
        }
        return n;
    };
    EXPECT_GT(red(page), 100);
    EXPECT_LT(red(page) * 2, red(picture));
}

TEST(ChartPdfTest, APrintoutIsOnePageWithinTheMarginsCentredAcross) {
    // A wide chart fills the width between the margins; a tall one the height, and stands in
    // the middle across. A4 at 72 dpi is 595 x 842 points, the margins 56.7 and 85 points.
    SKIP_WITHOUT_PDFTOPPM();
    struct Row {
        int width, height;
    };
    for (const Row& row : {Row{400, 250}, Row{250, 500}}) {
        SCOPED_TRACE(row.width);
        QTemporaryDir directory;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(directory.filePath("printed.pdf"));
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageMargins(QMarginsF(20, 30, 20, 30), QPageLayout::Millimeter);
        PictureChart p(row.width, row.height);
        p.chart.SetColor(clYellow);
        p.chart.Print(printer);

        QProcess process;
        process.start(QStandardPaths::findExecutable("pdftoppm"),
                      {"-r", "72", "-png", printer.outputFileName(), directory.filePath("page")});
        ASSERT_TRUE(process.waitForFinished(60000));
        const QStringList pages = QDir(directory.path()).entryList({"page*.png"});
        ASSERT_EQ(pages.size(), 1) << pages.join(' ').toStdString();
        const QImage page =
            QImage(directory.filePath(pages[0])).convertToFormat(QImage::Format_RGB32);
        const QRect chart = Box(page, qRgb(255, 255, 255), false);
        EXPECT_NEAR(chart.top(), 85, 1);
        EXPECT_LE(chart.bottom() + 1, 842 - 85 + 1);
        EXPECT_GE(chart.left(), 56);
        EXPECT_NEAR(chart.left(), 595 - chart.right() - 1, 1);
        EXPECT_NEAR(double(chart.width()) / chart.height(), double(row.width) / row.height,
                    0.02);
        // Either the width or the height between the margins is filled.
        EXPECT_TRUE(std::abs(chart.width() - (595 - 2 * 57)) <= 2 ||
                    std::abs(chart.height() - (842 - 2 * 85)) <= 2)
            << chart.width() << " x " << chart.height();
    }
}

TEST(ChartPictureTest, AHandlerThatRaisesLeavesTheWindowsLayoutAsItWas) {
    PictureChart p;
    DrawChartImage(p.chart);
    const TRect plot = p.chart.PlotRect();
    // It raises while a picture or a page is drawn, not while the window's is.
    p.chart.OnAfterDraw = [&p](TCustomAxisPanel*) {
        if (p.chart.Canvas().DrawingOn()) {
            throw std::runtime_error("handler");
        }
    };
    EXPECT_THROW(p.chart.DrawToImage(300, 500), std::runtime_error);
    EXPECT_EQ(p.chart.PlotRect(), plot);
    QImage page(600, 1000, QImage::Format_RGB32);
    QPainter painter(&page);
    EXPECT_THROW(p.chart.PrintPage(painter, QRectF(0, 0, 600, 1000)), std::runtime_error);
    EXPECT_EQ(p.chart.PlotRect(), plot);
    EXPECT_FALSE(p.chart.Printing());
}
