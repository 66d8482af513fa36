#include "GalleryCharts.h"

#include "AreaSeries.h"
#include "ChartSurface.h"
#include "LineSeries.h"

#include <QDir>
#include <QPainter>
#include <algorithm>
#include <map>
#include <memory>
#include <vector>

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

// Kinds that show best with several series or settings of their own; one entry each.
const std::map<std::string, TGallerySetup, std::less<>>& Setups() {
    static const std::map<std::string, TGallerySetup, std::less<>> setups = {
        {"Line", Lines},
        {"Area", StackedAreas},
        {"Point", Points},
    };
    return setups;
}

} // namespace

TGallerySetup GallerySetupFor(std::string_view kindName) {
    const auto found = Setups().find(kindName);
    return found != Setups().end() ? found->second : TGallerySetup(OneSeries);
}

void SetUpGalleryChart(TChart& chart, const TSeriesKind& kind) {
    chart.SetView3D(false);
    chart.SetColor(clWhite);
    chart.SetSize(GalleryChartWidth, GalleryChartHeight);
    chart.Title().SetText({kind.Name});
    GallerySetupFor(kind.Name)(chart, kind);
}

QImage GalleryChartImage(const TSeriesKind& kind) {
    TChart chart;
    SetUpGalleryChart(chart, kind);
    QImage image(GalleryChartWidth, GalleryChartHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    TChartSurface surface(image);
    chart.DrawOnto(surface, {0, 0, GalleryChartWidth, GalleryChartHeight});
    return image;
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

QString WriteGalleryImages(const TSeriesGallery& gallery, const QString& folder, int columns) {
    QDir dir(folder);
    if (!dir.mkpath(".")) {
        return QString("A(z) %1 mappa nem hozható létre.").arg(folder);
    }
    const auto& kinds = gallery.Kinds();
    const int count = static_cast<int>(kinds.size());
    columns = std::max(1, std::min(columns, count));
    const int rows = (count + columns - 1) / columns;
    QImage overview(columns * GalleryChartWidth, std::max(rows, 1) * GalleryChartHeight,
                    QImage::Format_RGB32);
    overview.fill(Qt::white);
    QPainter painter(&overview);
    for (int i = 0; i < count; ++i) {
        const TSeriesKind& kind = kinds[static_cast<std::size_t>(i)];
        const QImage image = GalleryChartImage(kind);
        const QString path = dir.filePath(GalleryFileName(kind.Name));
        if (!image.save(path, "PNG")) {
            return QString("A(z) %1 fájl nem írható.").arg(path);
        }
        painter.drawImage((i % columns) * GalleryChartWidth, (i / columns) * GalleryChartHeight,
                          image);
    }
    painter.end();
    const QString path = dir.filePath("gallery.png");
    if (!overview.save(path, "PNG")) {
        return QString("A(z) %1 fájl nem írható.").arg(path);
    }
    return {};
}
