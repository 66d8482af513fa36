// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/core/Export.h>
#include <korvatel/data/ChartSeries.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace Korvatel {

// One kind of series in the gallery: the page it is listed under, its name there, and how a
// series of the kind is made.
struct KORVATEL_EXPORT TSeriesKind {
    using TFactory = std::function<std::unique_ptr<TChartSeries>()>;

    std::string Page;
    std::string Name;
    TFactory Create;
};

// The gallery of series kinds: every kind a chart can show, by page and name, in the order in
// which the kinds were registered. The engine registers its standard kinds when the gallery is
// first used; a program may add kinds of its own after them.
class KORVATEL_EXPORT TSeriesGallery {
public:
    // The gallery of the program, with the standard kinds already in it.
    static TSeriesGallery& Standard();

    // An empty gallery, for tests and for programs that want only their own kinds.
    TSeriesGallery() = default;

    // Adds a kind after the ones already there. An empty page or name, a name that is already
    // registered (ignoring case) or no factory is refused with ChartException.
    void RegisterSeries(std::string page, std::string name, TSeriesKind::TFactory create);
    // Removes a kind by name; false when there is none of that name.
    bool UnregisterSeries(std::string_view name);

    const std::vector<TSeriesKind>& Kinds() const { return FKinds; }
    // The kind of that name (ignoring case), or null.
    const TSeriesKind* FindKind(std::string_view name) const;
    // A new series of the kind of that name; ChartException when no kind has that name.
    std::unique_ptr<TChartSeries> CreateSeries(std::string_view name) const;

private:
    std::vector<TSeriesKind> FKinds;
};

// Registers the engine's own kinds under the page "Standard", in gallery order.
KORVATEL_EXPORT void RegisterStandardSeries(TSeriesGallery& gallery);

} // namespace Korvatel
