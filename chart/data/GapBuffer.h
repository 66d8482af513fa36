// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/core/Export.h>
#include <algorithm>
#include <cstddef>
#include <type_traits>
#include <utility>
#include <vector>

namespace Korvatel {

// A sequence with a movable gap: inserting or erasing next to the previous insertion point
// costs O(1), so a run of insertions whose positions move steadily through the sequence
// (the wrapped half of a wave frame lands at positions 1, 3, 5, ...) costs linear time in
// total instead of quadratic. Elements are read by index as in a vector.
//
// Storage is kept when the sequence is cleared, so refilling it allocates nothing.
template <typename T>
class KORVATEL_EXPORT TGapBuffer {
public:
    std::size_t size() const { return FCapacity - FGapSize; }
    bool empty() const { return size() == 0; }

    T& operator[](std::size_t index) { return FItems[Physical(index)]; }
    const T& operator[](std::size_t index) const { return FItems[Physical(index)]; }
    const T& back() const { return (*this)[size() - 1]; }

    void insert(std::size_t position, T value) {
        if (FGapSize == 0) {
            Grow();
        }
        if (position != FGapStart) {
            MoveGapTo(position);
        }
        FItems[FGapStart] = std::move(value);
        ++FGapStart;
        --FGapSize;
    }

    void push_back(T value) { insert(size(), std::move(value)); }

    void erase(std::size_t position) {
        MoveGapTo(position);
        FItems[FGapStart + FGapSize] = T{}; // release what the element holds
        ++FGapSize;
    }

    void clear() {
        if constexpr (!std::is_trivially_destructible_v<T>) {
            for (std::size_t i = 0; i < size(); ++i) {
                (*this)[i] = T{};
            }
        }
        FGapStart = 0;
        FGapSize = FCapacity;
    }

    // Copies count elements from index start on to out: at most two contiguous pieces.
    void copy_out(std::size_t start, std::size_t count, T* out) const {
        const std::size_t before = start < FGapStart ? std::min(count, FGapStart - start) : 0;
        std::copy_n(FItems.begin() + static_cast<std::ptrdiff_t>(start), before, out);
        std::copy_n(FItems.begin() + static_cast<std::ptrdiff_t>(Physical(start + before)),
                    count - before, out + before);
    }

    void swap_elements(std::size_t a, std::size_t b) {
        using std::swap;
        swap((*this)[a], (*this)[b]);
    }

    // The first value moves to the end, every other one moves down by one.
    void rotate_left() {
        if (size() > 1) {
            MoveGapTo(size());
            std::rotate(FItems.begin(), FItems.begin() + 1, FItems.begin() + FGapStart);
        }
    }

    void fill(const T& value) {
        for (std::size_t i = 0; i < size(); ++i) {
            (*this)[i] = value;
        }
    }

private:
    std::size_t Physical(std::size_t index) const {
        return index < FGapStart ? index : index + FGapSize;
    }

    void MoveGapTo(std::size_t position) {
        if (position < FGapStart) {
            std::move_backward(FItems.begin() + position, FItems.begin() + FGapStart,
                               FItems.begin() + FGapStart + FGapSize);
        } else if (position > FGapStart) {
            std::move(FItems.begin() + FGapStart + FGapSize, FItems.begin() + position + FGapSize,
                      FItems.begin() + FGapStart);
        }
        FGapStart = position;
    }

    void Grow() {
        const std::size_t oldCapacity = FItems.size();
        const std::size_t newCapacity = std::max<std::size_t>(16, oldCapacity * 2);
        std::vector<T> items(newCapacity);
        const std::size_t tail = oldCapacity - FGapStart - FGapSize;
        std::move(FItems.begin(), FItems.begin() + FGapStart, items.begin());
        std::move(FItems.end() - tail, FItems.end(), items.end() - tail);
        FItems.swap(items);
        FCapacity = newCapacity;
        FGapSize = newCapacity - FGapStart - tail;
    }

    std::vector<T> FItems;
    std::size_t FCapacity = 0;
    std::size_t FGapStart = 0;
    std::size_t FGapSize = 0;
};

} // namespace Korvatel
