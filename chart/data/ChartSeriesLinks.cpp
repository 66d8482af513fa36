// SPDX-License-Identifier: MIT
// The series base: data sources, linked series and copies from another series (see
// ChartSeries.cpp).

#include <korvatel/render/AxisPanel.h>
#include <korvatel/axes/ChartAxis.h>
#include <korvatel/canvas/ChartCanvas3D.h>
#include <korvatel/core/ChartErrors.h>
#include <korvatel/data/ChartPalette.h>
#include <korvatel/data/ChartSeries.h>
#include <korvatel/core/ChartStrings.h>
#include <korvatel/axes/FormatSettings.h>
#include <korvatel/axes/NumberFormat.h>
#include <korvatel/core/Rounding.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>

namespace Korvatel {
// --- Data sources and linked series --------------------------------------------------------

void TChartSeries::LinkTo(TChartSeries* source) {
    if (std::find(FDataSources.begin(), FDataSources.end(), source) == FDataSources.end()) {
        FDataSources.push_back(source);
    }
    auto& linked = source->FLinkedSeries;
    if (std::find(linked.begin(), linked.end(), this) == linked.end()) {
        linked.push_back(this);
    }
}

void TChartSeries::UnlinkFrom(TChartSeries* source) {
    FDataSources.erase(std::remove(FDataSources.begin(), FDataSources.end(), source),
                       FDataSources.end());
    auto& linked = source->FLinkedSeries;
    linked.erase(std::remove(linked.begin(), linked.end(), this), linked.end());
}

void TChartSeries::UnlinkAllSources() {
    for (TChartSeries* source : std::vector<TChartSeries*>(FDataSources)) {
        UnlinkFrom(source);
    }
}

void TChartSeries::BreakDataLinks() {
    UnlinkAllSources();
    for (TChartSeries* linked : std::vector<TChartSeries*>(FLinkedSeries)) {
        linked->UnlinkFrom(this);
    }
}

bool TChartSeries::IsValidDataSource(const TChartSeries* source) const {
    if (source == nullptr || !AcceptsSource(source)) {
        return false;
    }
    // Following a series that follows this one, however indirectly, would pass every change
    // round the loop for ever.
    std::vector<const TChartSeries*> pending{source};
    std::vector<const TChartSeries*> visited;
    while (!pending.empty()) {
        const TChartSeries* series = pending.back();
        pending.pop_back();
        if (series == this) {
            return false;
        }
        if (std::find(visited.begin(), visited.end(), series) != visited.end()) {
            continue;
        }
        visited.push_back(series);
        pending.insert(pending.end(), series->FDataSources.begin(), series->FDataSources.end());
    }
    return true;
}

void TChartSeries::SetDataSource(TChartSeries* source) {
    if (source == nullptr) {
        if (FDataSources.empty()) {
            return;
        }
        UnlinkAllSources();
        ClearPoints();
        RequestRepaint();
        return;
    }
    if (FParentChart == nullptr) {
        throw ChartException(std::string(ChartStrings::NoParentChartForSource));
    }
    if (!IsValidDataSource(source)) {
        throw ChartException(FormatMessage(ChartStrings::InvalidDataSource, {source->Name()}));
    }
    if (FDataSources.size() == 1 && FDataSources.front() == source) {
        return;
    }
    UnlinkAllSources();
    LinkTo(source);
    CheckDataSource();
    RequestRepaint();
}

void TChartSeries::TakePointsFromSource() {
    if (FDataSources.empty()) {
        return;
    }
    if (FParentChart != nullptr) {
        CheckDataSource();
    } else {
        CopyAllFrom(*FDataSources.front());
    }
}

void TChartSeries::SetSourceFunction(std::unique_ptr<TSeriesSourceFunction> function) {
    if (function == FSourceFunction) {
        return;
    }
    FSourceFunction = std::move(function);
    TakePointsFromSource();
    RequestRepaint();
}

void TChartSeries::NotifyEachLinkedSeries(TSeriesChange change, std::int32_t index) {
    // A copy: a linked series may unlink itself while it follows the change.
    const std::vector<TChartSeries*> linked = FLinkedSeries;
    for (TChartSeries* series : linked) {
        // One that stopped following (or was destroyed) while an earlier one followed the
        // change is left out.
        if (std::find(FLinkedSeries.begin(), FLinkedSeries.end(), series) == FLinkedSeries.end()) {
            continue;
        }
        const TRefreshTriggers& triggers = series->FRefreshTriggers;
        switch (change) {
        case TSeriesChange::Clear:
            if (triggers.Clear) {
                series->ClearPoints();
            }
            break;
        case TSeriesChange::Insert:
            if (triggers.Insert && !series->HasSourceFunction()) {
                series->SourcePointAdded(*this, index);
            }
            break;
        case TSeriesChange::Delete:
            if (triggers.Delete && !series->HasSourceFunction()) {
                series->SourcePointDeleted(*this, index);
            }
            break;
        case TSeriesChange::Modify:
            if (triggers.Modify) {
                series->CopyAllFrom(*this);
            }
            break;
        case TSeriesChange::Refresh:
            series->CopyAllFrom(*this);
            break;
        }
    }
}

std::int32_t TChartSeries::InsertCopiedPoint(const TChartSeries& source, std::int32_t index,
                                             bool stored) {
    const auto read = [stored, index](const TChartValueList& list) {
        return stored ? list.StoredValueAt(index) : list.ValueAt(index);
    };
    // Series that differ in their mandatory dimension exchange X and Y.
    const bool crosswise = source.YIsMandatory() != YIsMandatory();
    const double x = read(crosswise ? *source.FYValues : *source.FXValues);
    const double y = read(crosswise ? *source.FXValues : *source.FYValues);
    const std::int32_t target = FXValues->InsertInOrder(x);
    FYValues->InsertAt(target, y);
    const TChartValueLists& sourceLists = source.ValueLists();
    for (std::int32_t i = 2; i < FValueLists.Count(); ++i) {
        const double extra = i < sourceLists.Count() && index < sourceLists[i].ValueCount()
                                 ? read(sourceLists[i])
                                 : 0.0;
        FValueLists[i].InsertAt(target, extra);
    }
    const auto unsignedIndex = static_cast<std::size_t>(index);
    const TColor color =
        unsignedIndex < source.FColorList.size() ? source.FColorList[unsignedIndex] : clDefault;
    const std::string_view label =
        unsignedIndex < source.FLabelList.size() && source.FLabelList[unsignedIndex]
            ? std::string_view(*source.FLabelList[unsignedIndex])
            : std::string_view();
    InsertPointEntries(target, color, label);
    return target;
}

std::int32_t TChartSeries::CopyPointFrom(const TChartSeries& source, std::int32_t index) {
    return InsertCopiedPoint(source, index, false);
}

void TChartSeries::SourcePointAdded(TChartSeries& source, std::int32_t index) {
    PointAdded(CopyPointFrom(source, index));
}

void TChartSeries::SourcePointDeleted(TChartSeries& /*source*/, std::int32_t index) {
    // A follower that skipped some changes of its source may be shorter than it.
    if (index >= 0 && index < PointCount()) {
        DeletePoint(index);
    }
}

void TChartSeries::CopyAllFrom(TChartSeries& source) {
    if (!AcceptsSource(&source)) {
        return;
    }
    ClearPoints();
    if (FSourceFunction != nullptr) {
        FSourceFunction->AddPoints(*this, source);
    } else {
        const std::int32_t count = source.PointCount();
        for (std::int32_t i = 0; i < count && i < source.PointCount(); ++i) {
            SourcePointAdded(source, i);
        }
    }
    NotifyLinkedSeries(TSeriesChange::Refresh, -1);
}

void TChartSeries::CheckDataSource() {
    if (FParentChart != nullptr) {
        FParentChart->CheckDataSource(*this);
    }
}

// --- Copy from another series --------------------------------------------------------------

void TChartSeries::CopyPointsOf(const TChartSeries& source) {
    // The followers hear of the new points once, by the refresh below, and not of the
    // emptying first: the source may be one of them and would lose its points before they
    // are copied.
    EmptyAllLists();
    if (OnClearValues) {
        OnClearValues(this);
    }
    // The value list settings came from the source too, so the stored values are copied:
    // copying what the lists read would apply a multiplier twice.
    for (std::int32_t i = 0; i < source.PointCount(); ++i) {
        InsertCopiedPoint(source, i, true);
    }
    NotifyLinkedSeries(TSeriesChange::Refresh, -1);
}

void TChartSeries::Assign(TChartSeries& source) {
    if (&source == this) {
        return;
    }
    FTag = source.FTag;
    UnlinkAllSources();
    const bool crosswise = source.YIsMandatory() != YIsMandatory();
    FXValues->CopySettingsFrom(crosswise ? *source.FYValues : *source.FXValues);
    FYValues->CopySettingsFrom(crosswise ? *source.FXValues : *source.FYValues);
    for (std::int32_t i = 2; i < FValueLists.Count() && i < source.FValueLists.Count(); ++i) {
        FValueLists[i].CopySettingsFrom(source.FValueLists[i]);
    }
    FColorSource = source.FColorSource;
    FXLabelsSource = source.FXLabelsSource;
    if (FSourceFunction == nullptr && source.FSourceFunction != nullptr) {
        FSourceFunction = std::move(source.FSourceFunction);
    }
    // Sources that would make this series follow itself are left out.
    for (TChartSeries* dataSource : source.FDataSources) {
        if (IsValidDataSource(dataSource)) {
            LinkTo(dataSource);
        }
    }
    if (FDataSources.empty()) {
        CopyPointsOf(source);
    } else {
        TakePointsFromSource();
    }
    FMarks->Assign(*source.FMarks);
    SetSeriesColor(source.FSeriesColor);
    // Stored directly: the setter would reset the colours just copied.
    FColorEachPoint = source.FColorEachPoint;
    FTitle = source.FTitle;
    FValueFormat = source.FValueFormat;
    FPercentFormat = source.FPercentFormat;
    FActive = source.FActive;
    FHorizAxis = source.FHorizAxis;
    FVertAxis = source.FVertAxis;
    FRefreshTriggers = source.FRefreshTriggers;
    FCursor = source.FCursor;
    FShowInLegend = source.FShowInLegend;
    FStyleFlags = source.FStyleFlags;
    FIdentifier = source.FIdentifier;
    ResolveAxes();
    RequestRepaint();
}

void TChartSeries::ValueModified(std::int32_t index) {
    NotifyLinkedSeries(TSeriesChange::Modify, index);
}

void TChartSeries::ValueListRescaled() {
    NotifyLinkedSeries(TSeriesChange::Refresh, -1);
    RequestRepaint();
}

} // namespace Korvatel
