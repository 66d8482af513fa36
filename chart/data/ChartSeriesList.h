// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/core/Export.h>
#include <algorithm>
#include <cstdint>
#include <vector>

namespace Korvatel {

class TChartSeries;
class TCustomAxisPanel;

// The series of one chart in drawing order (the order in which they joined the chart).
// The list does not own the series; the chart does.
class KORVATEL_EXPORT TChartSeriesList {
public:
    explicit TChartSeriesList(TCustomAxisPanel* chart) : FChart(chart) {}

    std::int32_t Count() const { return static_cast<std::int32_t>(FItems.size()); }
    TChartSeries* operator[](std::int32_t index) const;
    std::int32_t IndexOf(const TChartSeries* series) const;
    bool Contains(const TChartSeries* series) const { return IndexOf(series) >= 0; }
    // The number of series whose Active is set.
    std::int32_t ActiveCount() const;
    TCustomAxisPanel* Chart() const { return FChart; }

    auto begin() const { return FItems.begin(); }
    auto end() const { return FItems.end(); }

    void Append(TChartSeries* series) { FItems.push_back(series); }
    void Remove(const TChartSeries* series);

private:
    TCustomAxisPanel* FChart;
    std::vector<TChartSeries*> FItems;
};

} // namespace Korvatel
