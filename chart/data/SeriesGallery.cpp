// SPDX-License-Identifier: MIT
#include <korvatel/data/SeriesGallery.h>

#include <korvatel/data/AreaSeries.h>
#include <korvatel/data/BarSeries.h>
#include <korvatel/core/ChartErrors.h>
#include <korvatel/core/ChartStrings.h>
#include <korvatel/data/FastLineSeries.h>
#include <korvatel/data/HorizBarSeries.h>
#include <korvatel/data/LineSeries.h>
#include <korvatel/data/PieSeries.h>
#include <korvatel/data/PointSeries.h>

#include <algorithm>
#include <cctype>

namespace Korvatel {

namespace {

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

template <typename TKind>
TSeriesKind::TFactory FactoryOf() {
    return [] { return std::make_unique<TKind>(); };
}

} // namespace

TSeriesGallery& TSeriesGallery::Standard() {
    // Filled on first use, so that no order of static construction can find it empty.
    static TSeriesGallery gallery = [] {
        TSeriesGallery standard;
        RegisterStandardSeries(standard);
        return standard;
    }();
    return gallery;
}

void TSeriesGallery::RegisterSeries(std::string page, std::string name,
                                    TSeriesKind::TFactory create) {
    if (page.empty() || name.empty() || !create) {
        throw ChartException(std::string(ChartStrings::GalleryKindIncomplete));
    }
    if (FindKind(name) != nullptr) {
        throw ChartException(FormatMessage(ChartStrings::GalleryKindTwice, {name}));
    }
    FKinds.push_back({std::move(page), std::move(name), std::move(create)});
}

bool TSeriesGallery::UnregisterSeries(std::string_view name) {
    const auto found = std::find_if(FKinds.begin(), FKinds.end(), [name](const TSeriesKind& kind) {
        return SameName(kind.Name, name);
    });
    if (found == FKinds.end()) {
        return false;
    }
    FKinds.erase(found);
    return true;
}

const TSeriesKind* TSeriesGallery::FindKind(std::string_view name) const {
    for (const TSeriesKind& kind : FKinds) {
        if (SameName(kind.Name, name)) {
            return &kind;
        }
    }
    return nullptr;
}

std::unique_ptr<TChartSeries> TSeriesGallery::CreateSeries(std::string_view name) const {
    const TSeriesKind* kind = FindKind(name);
    if (kind == nullptr) {
        throw ChartException(FormatMessage(ChartStrings::GalleryKindUnknown, {name}));
    }
    return kind->Create();
}

void RegisterStandardSeries(TSeriesGallery& gallery) {
    const std::string page(ChartStrings::GalleryStandardPage);
    // Gallery order: "Line", "Bar", "Horiz. Bar", "Area", "Point", "Pie", "Fast Line".
    gallery.RegisterSeries(page, "Line", FactoryOf<TLineSeries>());
    gallery.RegisterSeries(page, "Bar", FactoryOf<TBarSeries>());
    gallery.RegisterSeries(page, "Horiz. Bar", FactoryOf<THorizBarSeries>());
    gallery.RegisterSeries(page, "Area", FactoryOf<TAreaSeries>());
    gallery.RegisterSeries(page, "Point", FactoryOf<TPointSeries>());
    gallery.RegisterSeries(page, "Pie", FactoryOf<TPieSeries>());
    gallery.RegisterSeries(page, "Fast Line", FactoryOf<TFastLineSeries>());
}

} // namespace Korvatel
