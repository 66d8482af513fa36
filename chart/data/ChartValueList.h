// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/core/Export.h>
#include <korvatel/data/GapBuffer.h>

#include <cstdint>
#include <string>
#include <vector>

namespace Korvatel {

class TChartSeries;

// Ordering rule of a value list for insertions.
enum TChartListOrder : std::uint8_t { loNone = 0, loAscending = 1, loDescending = 2 };

// One dimension of the points of a series (X, Y, ...), as doubles.
//
// Values are stored raw and scaled by Multiplier when read; ordering decisions look at the
// stored values, statistics at the scaled ones. Statistics are computed lazily, once per
// change. Capacity() follows the growth steps of a growable list (0, 4, 8, 12, 28, 44, 60,
// 76, 95, ...) and drops to 0 when the list is emptied, while the memory behind it is kept,
// so that a series refilled every frame does not reallocate.
//
// Ordered insertion scans back from the end over every greater value. While the list is
// known to be in order, the same place is found by a binary search from the end, and the
// storage is a gap buffer, so that a frame whose second half wraps around into the first
// costs linear time, not quadratic.
class KORVATEL_EXPORT TChartValueList final {
public:
    // Appends itself to the owning series' value lists (when there is an owner).
    TChartValueList(TChartSeries* owningSeries, std::string name);
    TChartValueList(const TChartValueList&) = delete;
    TChartValueList& operator=(const TChartValueList&) = delete;

    std::int32_t ValueCount() const { return static_cast<std::int32_t>(FValues.size()); }
    bool Empty() const { return FValues.empty(); }
    std::int32_t Capacity() const { return FCapacity; }

    // The stored value times Multiplier, rounded to double. Throws ListIndexError.
    double ValueAt(std::int32_t index) const;
    // The values first .. first + count - 1, as ValueAt gives them, written to out: for
    // drawing loops that read many values in a row. Throws ListIndexError when the range does
    // not lie inside the list.
    void CopyValues(std::int32_t first, std::int32_t count, double* out) const;
    // The value as stored, without Multiplier. Throws ListIndexError.
    double StoredValueAt(std::int32_t index) const;
    // Overwrites the stored value (Multiplier is not divided out). Throws ListIndexError.
    void SetValueAt(std::int32_t index, double value);

    // Stores the value where Order demands and returns its index; equal values keep their
    // order of arrival.
    std::int32_t InsertInOrder(double value) {
        // A series filled in its own order appends: that case stays here, inline.
        const std::int32_t count = ValueCount();
        if (FOrder == loAscending && count > 0 && count < FCapacity && FValues.back() <= value) {
            FStatsStale = true;
            FValues.push_back(value);
            return count;
        }
        return InsertInOrderSlowly(value);
    }
    // Stores the value at the index (0..count), shifting later values up.
    void InsertAt(std::int32_t index, double value) {
        if (index < 0 || index > ValueCount()) {
            ThrowIndexError(index);
        }
        Reserve();
        FValues.insert(static_cast<std::size_t>(index), value);
        FStatsStale = true;
        FOrderState = TOrderState::Unknown;
    }
    void RemoveAt(std::int32_t index);
    void RemoveAllValues();

    double LastValue() const;
    std::int32_t IndexOfValue(double value) const;
    // The first value moves to the end, all others move down by one.
    void RotateValues();
    // Sets every value to its own index.
    void NumberSequence();
    // Reorders all points of the owning series by this list's values (not stable).
    void SortByValues();
    // Takes Order, DateTime, Multiplier and ValueSource of another list.
    void CopySettingsFrom(const TChartValueList& source);

    double MaximumValue() const;
    double MinimumValue() const;
    double ValueSum() const;
    double AbsoluteSum() const;
    // The same statistics over the finite values only: a NaN or an infinity is a point
    // without a value, which the chart's ranges, sums and percentages leave out. The limits
    // are 0 when no value is finite.
    double FiniteMinimum() const;
    double FiniteMaximum() const;
    double FiniteAbsoluteSum() const;
    bool StatsStale() const { return FStatsStale; }

    bool DateTime() const { return FDateTime; }
    void SetDateTime(bool value);
    const std::string& Name() const { return FName; }
    void SetName(std::string value) { FName = std::move(value); }
    double Multiplier() const { return FMultiplier; }
    void SetMultiplier(double value);
    TChartListOrder Order() const { return FOrder; }
    void SetOrder(TChartListOrder value);
    const std::string& ValueSource() const { return FValueSource; }
    void SetValueSource(std::string value);

    double PendingValue() const { return FPendingValue; }
    void SetPendingValue(double value) { FPendingValue = value; }

    TChartSeries* OwningSeries() const { return FOwningSeries; }

    // Exchanges two stored values; the series' point swap calls it for every list.
    void SwapStoredValues(std::int32_t a, std::int32_t b);

private:
    double Scaled(double stored) const;
    void CheckIndex(std::int32_t index) const;
    [[noreturn]] static void ThrowIndexError(std::int32_t index);
    std::int32_t InsertInOrderSlowly(double value);
    // Counts the growth of the capacity before a value is added.
    void Reserve() {
        if (ValueCount() >= FCapacity) {
            Grow();
        }
    }
    void Grow();
    void RecomputeStats() const;
    bool InOrder() const;
    std::int32_t OrderedPlace(double value) const;
    std::int32_t ScannedPlace(double value) const;
    int CompareValues(std::int32_t a, std::int32_t b) const;
    void SwapPoints(std::int32_t a, std::int32_t b);
    void SortRange(std::int32_t left, std::int32_t right);

    enum class TOrderState : std::uint8_t { Unknown, InOrder, OutOfOrder };

    TGapBuffer<double> FValues;
    std::int32_t FCapacity = 0;
    // Whether the stored values follow Order (ascending or descending, no NaN).
    mutable TOrderState FOrderState = TOrderState::InOrder;
    // Where the last ordered insertion landed: the next one usually lands near it.
    mutable std::size_t FLastPlace = 0;
    bool FDateTime = false;
    double FMultiplier = 1.0;
    std::string FName;
    TChartListOrder FOrder = loNone;
    TChartSeries* FOwningSeries;
    double FPendingValue = 0.0;
    std::string FValueSource;

    mutable bool FStatsStale = true;
    mutable double FMaximumValue = 0.0;
    mutable double FMinimumValue = 0.0;
    mutable double FValueSum = 0.0;
    mutable double FAbsoluteSum = 0.0;
    mutable double FFiniteMinimum = 0.0;
    mutable double FFiniteMaximum = 0.0;
    mutable double FFiniteAbsoluteSum = 0.0;
};

// The value lists of one series in creation order (X at 0, Y at 1, further dimensions after).
// It does not own the lists.
class KORVATEL_EXPORT TChartValueLists {
public:
    std::int32_t Count() const { return static_cast<std::int32_t>(FLists.size()); }
    TChartValueList& operator[](std::int32_t index) const;
    void Add(TChartValueList* list) { FLists.push_back(list); }

    auto begin() const { return FLists.begin(); }
    auto end() const { return FLists.end(); }

private:
    std::vector<TChartValueList*> FLists;
};

} // namespace Korvatel
