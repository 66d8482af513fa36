// SPDX-License-Identifier: MIT
#include <korvatel/data/ChartSeriesList.h>

#include <korvatel/core/ChartErrors.h>
#include <korvatel/data/ChartSeries.h>

namespace Korvatel {

TChartSeries* TChartSeriesList::operator[](std::int32_t index) const {
    if (index < 0 || index >= Count()) {
        throw ListIndexError(index);
    }
    return FItems[static_cast<std::size_t>(index)];
}

std::int32_t TChartSeriesList::IndexOf(const TChartSeries* series) const {
    const auto it = std::find(FItems.begin(), FItems.end(), series);
    return it == FItems.end() ? -1 : static_cast<std::int32_t>(it - FItems.begin());
}

std::int32_t TChartSeriesList::ActiveCount() const {
    return static_cast<std::int32_t>(std::count_if(
        FItems.begin(), FItems.end(), [](const TChartSeries* s) { return s->Active(); }));
}

void TChartSeriesList::Remove(const TChartSeries* series) {
    const auto it = std::find(FItems.begin(), FItems.end(), series);
    if (it != FItems.end()) {
        FItems.erase(it);
    }
}

} // namespace Korvatel
