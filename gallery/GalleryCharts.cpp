// SPDX-License-Identifier: MIT
#include "GalleryCharts.h"

#include <korvatel/data/AreaSeries.h>
#include <korvatel/core/ChartErrors.h>
#include <korvatel/core/ChartStrings.h>
#include <korvatel/data/CustomBarSeries.h>
#include <korvatel/canvas/DeviceScale.h>
#include <korvatel/canvas/View3DOptions.h>
#include <korvatel/data/LineSeries.h>
#include <korvatel/data/PieSeries.h>

#include <QDir>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <algorithm>
#include <map>
#include <memory>
#include <vector>

using namespace Korvatel;

namespace {

// Adds a series of the kind to the chart, filled with sample values from a fixed seed.
TChartSeries& AddSampleSeries(TChart& chart, const TSeriesKind& kind, std::uint32_t seed) {
    TChartSeries* series = kind.Create().release();
    // The chart owns its series from here on.
    series->SetParentChart(&chart);
    series->SetTitle(kind.Name + " " + std::to_string(chart.SeriesList().Count()));
    series->SetSampleSeed(seed);
    series->FillWithSamples(series->SampleCount());
    series->GalleryPreview();
    return *series;
}

void OneSeries(TChart& chart, const TSeriesKind& kind) {
    AddSampleSeries(chart, kind, 1);
}

void Lines(TChart& chart, const TSeriesKind& kind) {
    if (auto* pointed = dynamic_cast<TLineSeries*>(&AddSampleSeries(chart, kind, 1))) {
        pointed->Pointer().SetStyle(ptsCircle);
    }
    if (auto* steps = dynamic_cast<TLineSeries*>(&AddSampleSeries(chart, kind, 2))) {
        steps->Pointer().SetVisible(false);
        steps->SetStairs(true);
    }
}

void StackedAreas(TChart& chart, const TSeriesKind& kind) {
    for (std::uint32_t seed = 1; seed <= 3; ++seed) {
        if (auto* area = dynamic_cast<TAreaSeries*>(&AddSampleSeries(chart, kind, seed))) {
            area->SetMultiArea(maStacked);
        }
    }
}

void Points(TChart& chart, const TSeriesKind& kind) {
    std::uint32_t seed = 1;
    for (const TSeriesPointerStyle style : {ptsRectangle, ptsTriangle, ptsStar}) {
        if (auto* points = dynamic_cast<TLineSeries*>(&AddSampleSeries(chart, kind, seed++))) {
            points->Pointer().SetStyle(style);
        }
    }
}

void BarGroup(TChart& chart, const TSeriesKind& kind, TMultiBar mode) {
    for (std::uint32_t seed = 1; seed <= 3; ++seed) {
        if (auto* bars = dynamic_cast<TCustomBarSeries*>(&AddSampleSeries(chart, kind, seed))) {
            bars->SetMultiBar(mode);
        }
    }
}

void SideBySideBars(TChart& chart, const TSeriesKind& kind) {
    BarGroup(chart, kind, mbSide);
}

void StackedBars(TChart& chart, const TSeriesKind& kind) {
    BarGroup(chart, kind, mbStacked);
}

// A pie lists its slices in the legend; the biggest one stands out. It needs no frame.
void ExplodedPie(TChart& chart, const TSeriesKind& kind) {
    if (auto* pie = dynamic_cast<TPieSeries*>(&AddSampleSeries(chart, kind, 1))) {
        pie->SetExplodeBiggest(15);
    }
    chart.Frame().SetVisible(false);
}

// Two lines, so that the legend lists the series rather than the points of one of them.
void TwoSeries(TChart& chart, const TSeriesKind& kind) {
    AddSampleSeries(chart, kind, 1);
    AddSampleSeries(chart, kind, 2);
}

// Kinds that show best with several series or settings of their own; one entry each.
const std::map<std::string, TGallerySetup, std::less<>>& Setups() {
    static const std::map<std::string, TGallerySetup, std::less<>> setups = {
        {"Line", Lines},          {"Bar", SideBySideBars}, {"Horiz. Bar", StackedBars},
        {"Area", StackedAreas},   {"Point", Points},       {"Pie", ExplodedPie},
        {"Fast Line", TwoSeries},
    };
    return setups;
}

} // namespace

TGallerySetup GallerySetupFor(std::string_view kindName) {
    const auto found = Setups().find(kindName);
    return found != Setups().end() ? found->second : TGallerySetup(OneSeries);
}

TGalleryArguments ParseGalleryArguments(int argc, const char* const* argv) {
    TGalleryArguments arguments;
    bool view3D = false;
    bool perspective = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            arguments.Help = true;
            return arguments;
        }
        if (argument == "--3d" && !view3D) {
            view3D = true;
            continue;
        }
        if (argument == "--perspective" && !perspective) {
            perspective = true;
            continue;
        }
        const bool png = argument == "--png";
        if ((png || argument == "--pdf") && i + 1 < argc && argv[i + 1][0] != '\0' &&
            arguments.Folder.isEmpty() && arguments.Pdf.isEmpty()) {
            (png ? arguments.Folder : arguments.Pdf) = QString::fromLocal8Bit(argv[++i]);
            continue;
        }
        arguments.Error = argument;
        return arguments;
    }
    // The perspective is a way of showing 3D, not a view of its own.
    if (perspective && !view3D) {
        arguments.Error = "--perspective";
        return arguments;
    }
    arguments.View = !view3D ? gvFlat : perspective ? gvPerspective : gvOblique;
    return arguments;
}

void SetGalleryView(TChart& chart, TGalleryView view) {
    chart.SetView3D(view != gvFlat);
    chart.View3DOptions().SetOrthogonal(view != gvPerspective);
}

void SetUpGalleryChart(TChart& chart, const TSeriesKind& kind, TGalleryView view) {
    SetGalleryView(chart, view);
    chart.SetColor(clWhite);
    chart.SetSize(GalleryChartWidth, GalleryChartHeight);
    chart.Title().SetText({kind.Name});
    GallerySetupFor(kind.Name)(chart, kind);
}

QImage GalleryChartImage(const TSeriesKind& kind, double devicePixelRatio, TGalleryView view) {
    TChart chart;
    SetUpGalleryChart(chart, kind, view);
    return chart.DrawToImage(GalleryChartWidth, GalleryChartHeight, devicePixelRatio);
}

QImage GalleryOverview(const TSeriesGallery& gallery, int columns, double devicePixelRatio,
                       TGalleryView view) {
    const auto& kinds = gallery.Kinds();
    const int count = static_cast<int>(kinds.size());
    columns = std::max(1, std::min(columns, count));
    const int rows = std::max(1, (count + columns - 1) / columns);
    // Every chart takes the device pixels of its own logical rectangle, so that neighbours
    // meet without a seam at any ratio.
    const TDeviceScale scale = TDeviceScale::FromRatio(devicePixelRatio);
    QImage overview(static_cast<int>(scale.Edge(std::int64_t{columns} * GalleryChartWidth)),
                    static_cast<int>(scale.Edge(std::int64_t{rows} * GalleryChartHeight)),
                    QImage::Format_RGB32);
    overview.fill(Qt::white);
    QPainter painter(&overview);
    for (int i = 0; i < count; ++i) {
        const QImage image =
            GalleryChartImage(kinds[static_cast<std::size_t>(i)], devicePixelRatio, view);
        painter.drawImage(
            QPoint(static_cast<int>(scale.Edge(std::int64_t{i % columns} * GalleryChartWidth)),
                   static_cast<int>(scale.Edge(std::int64_t{i / columns} * GalleryChartHeight))),
            image);
    }
    painter.end();
    overview.setDevicePixelRatio(devicePixelRatio);
    return overview;
}

void PrintGallery(const TSeriesGallery& gallery, QPagedPaintDevice& device, QPainter& painter,
                  TGalleryView view) {
    const QRectF page = device.pageLayout().paintRectPixels(device.logicalDpiX());
    bool first = true;
    for (const TSeriesKind& kind : gallery.Kinds()) {
        if (!first && !device.newPage()) {
            throw ChartException(std::string(ChartStrings::CannotPrint));
        }
        first = false;
        TChart chart;
        SetUpGalleryChart(chart, kind, view);
        // The page's painter starts where the printable area starts.
        chart.PrintPage(painter, QRectF(QPointF(0, 0), page.size()));
    }
}

QString WriteGalleryPdf(const TSeriesGallery& gallery, const QString& path, TGalleryView view) {
    // Written aside and put in place at the end, so that a failed run leaves no half file and
    // an older file stays as it was.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return QString("A(z) %1 fájl nem írható.").arg(path);
    }
    {
        QPdfWriter writer(&file);
        writer.setTitle("Korvatel – galéria");
        writer.setCreator("korvatel-gallery");
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                         QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter));
        QPainter painter;
        if (!painter.begin(&writer)) {
            return QString("A(z) %1 fájl nem írható.").arg(path);
        }
        try {
            PrintGallery(gallery, writer, painter, view);
        } catch (const std::exception& error) {
            return QString("A(z) %1 fájl nem írható: %2").arg(path, error.what());
        }
        painter.end();
    }
    if (!file.commit()) {
        return QString("A(z) %1 fájl nem írható.").arg(path);
    }
    return {};
}

QString GalleryFileName(std::string_view kindName) {
    QString name;
    bool dash = false;
    for (const QChar c :
         QString::fromUtf8(kindName.data(), static_cast<qsizetype>(kindName.size()))) {
        if (c.isLetterOrNumber()) {
            name += c.toLower();
            dash = false;
        } else if (!dash && !name.isEmpty()) {
            name += '-';
            dash = true;
        }
    }
    while (name.endsWith('-')) {
        name.chop(1);
    }
    return name + ".png";
}

QString WriteGalleryImages(const TSeriesGallery& gallery, const QString& folder, int columns,
                           TGalleryView view) {
    QDir dir(folder);
    if (!dir.mkpath(".")) {
        return QString("A(z) %1 mappa nem hozható létre.").arg(folder);
    }
    for (const TSeriesKind& kind : gallery.Kinds()) {
        const QString path = dir.filePath(GalleryFileName(kind.Name));
        if (!GalleryChartImage(kind, 1.0, view).save(path, "PNG")) {
            return QString("A(z) %1 fájl nem írható.").arg(path);
        }
    }
    const QString path = dir.filePath("gallery.png");
    if (!GalleryOverview(gallery, columns, 1.0, view).save(path, "PNG")) {
        return QString("A(z) %1 fájl nem írható.").arg(path);
    }
    return {};
}
