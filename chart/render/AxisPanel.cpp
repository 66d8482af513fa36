#include "AxisPanel.h"

#include "ChartPalette.h"
#include "ChartSeries.h"

namespace {

template <typename T, typename... Args>
T* AddAxis(std::vector<std::unique_ptr<TCustomChartAxis>>& axes, Args&&... args) {
    auto axis = std::make_unique<T>(std::forward<Args>(args)...);
    T* result = axis.get();
    axes.push_back(std::move(axis));
    return result;
}

} // namespace

TCustomAxisPanel::TCustomAxisPanel()
    : FBottomAxis(AddAxis<TChartAxis>(FAxes, this, true, false, false)),
      FTopAxis(AddAxis<TChartAxis>(FAxes, this, true, true, false)),
      FLeftAxis(AddAxis<TChartAxis>(FAxes, this, false, false, false)),
      FRightAxis(AddAxis<TChartAxis>(FAxes, this, false, true, false)),
      FDepthAxis(AddAxis<TChartDepthAxis>(FAxes, this)) {}

TCustomAxisPanel::~TCustomAxisPanel() {
    MarkDestroying();
    while (FSeriesList.Count() > 0) {
        TChartSeries* series = FSeriesList[0];
        FSeriesList.Remove(series);
        series->FParentChart = nullptr;
        series->ResolveAxes();
        delete series;
    }
}

TColor TCustomAxisPanel::FreeSeriesColor() const {
    for (std::int32_t i = 0; i < SeriesPaletteSize; ++i) {
        const TColor candidate = SeriesPaletteColor(i);
        bool taken = candidate == Color() || candidate == BackColor();
        for (const TChartSeries* series : FSeriesList) {
            taken = taken || series->SeriesColor() == candidate;
        }
        if (!taken) {
            return candidate;
        }
    }
    return SeriesPaletteColor(SeriesPaletteSize);
}

void TCustomAxisPanel::AddSeries(TChartSeries* series) {
    if (series == nullptr || FSeriesList.Contains(series)) {
        return;
    }
    if (series->ParentChart() != this) {
        // Leaves its old chart first; comes back here through its own setter.
        series->SetParentChart(this);
        return;
    }
    if (series->SeriesColor() == clDefault) {
        series->SetSeriesColor(FreeSeriesColor());
    }
    series->CheckDataSource();
    FSeriesList.Append(series);
    RequestRepaint();
}

void TCustomAxisPanel::RemoveSeries(TChartSeries* series) {
    if (series == nullptr || !FSeriesList.Contains(series)) {
        return;
    }
    series->FParentChart = nullptr;
    series->ResolveAxes();
    FSeriesList.Remove(series);
    RequestRepaint();
}

void TCustomAxisPanel::CheckDataSource(TChartSeries& series) {
    if (Loading() || series.DataSourceList().empty()) {
        return;
    }
    series.CopyAllFrom(*series.DataSourceList().front());
}
