// SPDX-License-Identifier: MIT
#include <korvatel/data/ChartValueList.h>

#include <korvatel/core/ChartErrors.h>
#include <korvatel/data/ChartSeries.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <tuple>
#include <utility>

namespace Korvatel {

namespace {

// Capacity steps of a growable list: +4 up to 8, +16 up to 64, then a quarter more.
std::int32_t GrownCapacity(std::int32_t capacity) {
    std::int64_t delta = 4;
    if (capacity > 64) {
        delta = capacity / 4;
    } else if (capacity > 8) {
        delta = 16;
    }
    const std::int64_t grown = static_cast<std::int64_t>(capacity) + delta;
    return static_cast<std::int32_t>(
        std::min<std::int64_t>(grown, std::numeric_limits<std::int32_t>::max()));
}

} // namespace

TChartValueList::TChartValueList(TChartSeries* owningSeries, std::string name)
    : FName(std::move(name)), FOwningSeries(owningSeries) {
    if (FOwningSeries != nullptr) {
        FOwningSeries->RegisterValueList(this);
    }
    RemoveAllValues();
}

double TChartValueList::Scaled(double stored) const {
    // Multiplying by 1 is exact, so the common case skips the multiplication.
    if (FMultiplier == 1.0) {
        return stored;
    }
    return static_cast<double>(static_cast<long double>(stored) * FMultiplier);
}

void TChartValueList::CheckIndex(std::int32_t index) const {
    if (index < 0 || index >= ValueCount()) {
        throw ListIndexError(index);
    }
}

double TChartValueList::ValueAt(std::int32_t index) const {
    CheckIndex(index);
    return Scaled(FValues[static_cast<std::size_t>(index)]);
}

void TChartValueList::CopyValues(std::int32_t first, std::int32_t count, double* out) const {
    if (count <= 0) {
        return;
    }
    const std::int64_t last = std::int64_t{first} + count - 1;
    if (first < 0 || last >= ValueCount()) {
        throw ListIndexError(first < 0 ? first : last);
    }
    const auto start = static_cast<std::size_t>(first);
    const auto n = static_cast<std::size_t>(count);
    if (FMultiplier == 1.0) {
        FValues.copy_out(start, n, out);
        return;
    }
    for (std::size_t i = 0; i < n; ++i) {
        out[i] = Scaled(FValues[start + i]);
    }
}

double TChartValueList::StoredValueAt(std::int32_t index) const {
    CheckIndex(index);
    return FValues[static_cast<std::size_t>(index)];
}

void TChartValueList::SetValueAt(std::int32_t index, double value) {
    CheckIndex(index);
    FValues[static_cast<std::size_t>(index)] = value;
    FStatsStale = true;
    FOrderState = TOrderState::Unknown;
    if (FOwningSeries != nullptr) {
        FOwningSeries->ValueModified(index);
    }
}

void TChartValueList::Grow() {
    FCapacity = GrownCapacity(FCapacity);
}

bool TChartValueList::InOrder() const {
    if (FOrderState == TOrderState::Unknown) {
        FOrderState = TOrderState::InOrder;
        const std::size_t count = FValues.size();
        for (std::size_t i = 0; i < count; ++i) {
            const double v = FValues[i];
            const bool outOfOrder =
                std::isnan(v) ||
                (i > 0 && (FOrder == loDescending ? FValues[i - 1] < v : FValues[i - 1] > v));
            if (outOfOrder) {
                FOrderState = TOrderState::OutOfOrder;
                break;
            }
        }
    }
    return FOrderState == TOrderState::InOrder;
}

// The place behind every value that is not greater (ascending) or not smaller (descending):
// for values in order, exactly where the backward scan would stop. The search starts at the
// previous insertion place and widens from there, so insertions that move steadily through
// the list (as the wrapped half of a frame does) cost a few comparisons each.
std::int32_t TChartValueList::OrderedPlace(double value) const {
    const std::size_t count = FValues.size();
    const bool descending = FOrder == loDescending;
    // Whether the value at an index stands before the new value's place.
    const auto before = [&](std::size_t index) {
        const double v = FValues[index];
        return descending ? v >= value : v <= value;
    };
    // The place P is the first index that does not stand before the value. Narrow [low, high)
    // around P by steps that double, starting at the hint.
    const std::size_t hint = std::min(FLastPlace, count);
    std::size_t low = 0;
    std::size_t high = count;
    if (hint < count && before(hint)) {
        low = hint + 1;
        for (std::size_t step = 1;; step *= 2) {
            const std::size_t probe = low + step - 1;
            if (probe >= count) {
                break;
            }
            if (!before(probe)) {
                high = probe;
                break;
            }
            low = probe + 1;
        }
    } else {
        high = hint;
        for (std::size_t step = 1;; step *= 2) {
            if (high < step) {
                break;
            }
            const std::size_t probe = high - step;
            if (before(probe)) {
                low = probe + 1;
                break;
            }
            high = probe;
        }
    }
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (before(middle)) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    FLastPlace = low;
    return static_cast<std::int32_t>(low);
}

// The backward scan over every value that is greater (ascending) or smaller (descending).
std::int32_t TChartValueList::ScannedPlace(double value) const {
    std::int32_t t = ValueCount() - 1;
    if (FOrder == loDescending) {
        while (t >= 0 && FValues[static_cast<std::size_t>(t)] < value) {
            --t;
        }
    } else {
        while (t >= 0 && FValues[static_cast<std::size_t>(t)] > value) {
            --t;
        }
    }
    return t + 1;
}

std::int32_t TChartValueList::InsertInOrderSlowly(double value) {
    Reserve();
    FStatsStale = true;
    const std::int32_t count = ValueCount();
    std::int32_t place = count;
    if (FOrder != loNone && count > 0) {
        const double last = FValues.back();
        const bool append = FOrder == loDescending ? last >= value : last <= value;
        if (!append) {
            // A NaN compares false both ways: the scan stops at once and it is appended.
            place = !std::isnan(value) && InOrder() ? OrderedPlace(value) : ScannedPlace(value);
        }
    }
    if (std::isnan(value) && FOrder != loNone) {
        FOrderState = TOrderState::OutOfOrder;
    }
    FValues.insert(static_cast<std::size_t>(place), value);
    return place;
}

void TChartValueList::ThrowIndexError(std::int32_t index) {
    throw ListIndexError(index);
}

void TChartValueList::RemoveAt(std::int32_t index) {
    CheckIndex(index);
    FValues.erase(static_cast<std::size_t>(index));
    FStatsStale = true;
    if (FOrderState == TOrderState::OutOfOrder) {
        FOrderState = TOrderState::Unknown;
    }
}

void TChartValueList::SetOrder(TChartListOrder value) {
    if (FOrder != value) {
        FOrder = value;
        FOrderState = TOrderState::Unknown;
    }
}

void TChartValueList::RemoveAllValues() {
    FValues.clear();
    FCapacity = 0;
    FStatsStale = true;
    FOrderState = TOrderState::InOrder;
}

double TChartValueList::LastValue() const {
    return ValueAt(ValueCount() - 1);
}

std::int32_t TChartValueList::IndexOfValue(double value) const {
    const std::int32_t count = ValueCount();
    for (std::int32_t i = 0; i < count; ++i) {
        if (Scaled(FValues[static_cast<std::size_t>(i)]) == value) {
            return i;
        }
    }
    return -1;
}

void TChartValueList::RotateValues() {
    if (FValues.size() > 1) {
        FValues.rotate_left();
        FOrderState = TOrderState::Unknown;
    }
}

void TChartValueList::NumberSequence() {
    const std::int32_t count = ValueCount();
    for (std::int32_t i = 0; i < count; ++i) {
        SetValueAt(i, i);
    }
}

void TChartValueList::RecomputeStats() const {
    // One pass: the statistics of every value as they come, and beside them those of the
    // finite values alone. The finite sum is taken in long double, so that finite values near
    // the largest double do not add up to an infinity before it is rounded back.
    double minimum = 0.0;
    double maximum = 0.0;
    double sum = 0.0;
    double absoluteSum = 0.0;
    bool finiteFound = false;
    double finiteMinimum = 0.0;
    double finiteMaximum = 0.0;
    long double finiteAbsoluteSum = 0.0L;
    for (std::size_t i = 0; i < FValues.size(); ++i) {
        const double v = Scaled(FValues[i]);
        if (i == 0) {
            minimum = maximum = v;
        } else if (v < minimum) {
            minimum = v;
        } else if (v > maximum) {
            maximum = v;
        }
        sum += v;
        absoluteSum += std::fabs(v);
        if (std::isfinite(v)) {
            if (!finiteFound) {
                finiteMinimum = finiteMaximum = v;
                finiteFound = true;
            } else {
                finiteMinimum = std::min(finiteMinimum, v);
                finiteMaximum = std::max(finiteMaximum, v);
            }
            finiteAbsoluteSum += std::fabs(v);
        }
    }
    FMinimumValue = minimum;
    FMaximumValue = maximum;
    FValueSum = sum;
    FAbsoluteSum = absoluteSum;
    FFiniteMinimum = finiteMinimum;
    FFiniteMaximum = finiteMaximum;
    FFiniteAbsoluteSum = static_cast<double>(
        std::min<long double>(finiteAbsoluteSum, std::numeric_limits<double>::max()));
    FStatsStale = false;
}

double TChartValueList::FiniteMinimum() const {
    if (FStatsStale) {
        RecomputeStats();
    }
    return FFiniteMinimum;
}

double TChartValueList::FiniteMaximum() const {
    if (FStatsStale) {
        RecomputeStats();
    }
    return FFiniteMaximum;
}

double TChartValueList::FiniteAbsoluteSum() const {
    if (FStatsStale) {
        RecomputeStats();
    }
    return FFiniteAbsoluteSum;
}

double TChartValueList::MaximumValue() const {
    if (FStatsStale) {
        RecomputeStats();
    }
    return FMaximumValue;
}

double TChartValueList::MinimumValue() const {
    if (FStatsStale) {
        RecomputeStats();
    }
    return FMinimumValue;
}

double TChartValueList::ValueSum() const {
    if (FStatsStale) {
        RecomputeStats();
    }
    return FValueSum;
}

double TChartValueList::AbsoluteSum() const {
    if (FStatsStale) {
        RecomputeStats();
    }
    return FAbsoluteSum;
}

void TChartValueList::SetDateTime(bool value) {
    if (FDateTime == value) {
        return;
    }
    FDateTime = value;
    if (FOwningSeries != nullptr) {
        FOwningSeries->RequestRepaint();
    }
}

void TChartValueList::SetMultiplier(double value) {
    if (FMultiplier == value) {
        return;
    }
    FMultiplier = value;
    FStatsStale = true;
    if (FOwningSeries != nullptr) {
        FOwningSeries->ValueListRescaled();
    }
}

void TChartValueList::SetValueSource(std::string value) {
    if (FValueSource == value) {
        return;
    }
    FValueSource = std::move(value);
    if (FOwningSeries != nullptr) {
        FOwningSeries->CheckDataSource();
    }
}

void TChartValueList::CopySettingsFrom(const TChartValueList& source) {
    SetOrder(source.FOrder);
    FDateTime = source.FDateTime;
    FMultiplier = source.FMultiplier;
    FStatsStale = true;
    FValueSource = source.FValueSource;
}

void TChartValueList::SwapStoredValues(std::int32_t a, std::int32_t b) {
    CheckIndex(a);
    CheckIndex(b);
    FValues.swap_elements(static_cast<std::size_t>(a), static_cast<std::size_t>(b));
    FOrderState = TOrderState::Unknown;
}

int TChartValueList::CompareValues(std::int32_t a, std::int32_t b) const {
    const double va = Scaled(FValues[static_cast<std::size_t>(a)]);
    const double vb = Scaled(FValues[static_cast<std::size_t>(b)]);
    int result = 0;
    if (va < vb) {
        result = -1;
    } else if (va > vb) {
        result = 1;
    }
    return FOrder == loDescending ? -result : result;
}

void TChartValueList::SwapPoints(std::int32_t a, std::int32_t b) {
    if (FOwningSeries != nullptr) {
        FOwningSeries->SwapPoints(a, b);
    } else {
        SwapStoredValues(a, b);
    }
}

void TChartValueList::SortRange(std::int32_t left, std::int32_t right) {
    // The quicksort is recursive by definition: each range is partitioned, then its left part
    // is sorted, then its right part. The parts share a point when the partition ends with
    // i = j, and then the order of the two sorts decides where equal keys end. So the order
    // is kept, but a part that waits for its turn goes onto a stack of its own instead of
    // the call stack, which a long series could exhaust. Where the parts share no point,
    // either may go first; the larger one waits then, which keeps the waiting parts few.
    std::vector<std::pair<std::int32_t, std::int32_t>> waiting;
    while (true) {
        while (left < right) {
            std::int32_t i = left;
            std::int32_t j = right;
            std::int32_t pivot = left + (right - left) / 2;
            while (i < j) {
                while (CompareValues(i, pivot) < 0) {
                    ++i;
                }
                while (CompareValues(pivot, j) < 0) {
                    --j;
                }
                if (i < j) {
                    SwapPoints(i, j);
                    if (pivot == i) {
                        pivot = j;
                    } else if (pivot == j) {
                        pivot = i;
                    }
                }
                if (i <= j) {
                    ++i;
                    --j;
                }
            }
            if (i == j || j - left < right - i) {
                if (i < right) {
                    waiting.emplace_back(i, right);
                }
                right = j;
            } else {
                if (j > left) {
                    waiting.emplace_back(left, j);
                }
                left = i;
            }
        }
        if (waiting.empty()) {
            return;
        }
        std::tie(left, right) = waiting.back();
        waiting.pop_back();
    }
}

void TChartValueList::SortByValues() {
    if (FOrder != loNone && ValueCount() > 1) {
        SortRange(0, ValueCount() - 1);
    }
}

TChartValueList& TChartValueLists::operator[](std::int32_t index) const {
    if (index < 0 || index >= Count()) {
        throw ListIndexError(index);
    }
    return *FLists[static_cast<std::size_t>(index)];
}

} // namespace Korvatel
