// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/core/Export.h>

#include <stdexcept>
#include <string>

namespace Korvatel {

// Errors raised by the chart engine. Each carries one fixed message text; a refused value
// leaves the object it was meant for unchanged.

class ChartException : public std::runtime_error {
public:
    explicit ChartException(const std::string& message) : std::runtime_error(message) {}
};

class AxisException : public std::runtime_error {
public:
    explicit AxisException(const std::string& message) : std::runtime_error(message) {}
};

// An index outside a list: "List index out of bounds (%d)".
class ListIndexError : public std::out_of_range {
public:
    explicit ListIndexError(long long index);

    long long Index() const { return FIndex; }

private:
    long long FIndex;
};

// Refuses a value of a published property outside lowest..highest with a ChartException whose
// message names the property and its range ("Pen width must be between 0 and 100"). Setters
// call it before they store anything.
KORVATEL_EXPORT void CheckPropertyRange(const char* name, long long value, long long lowest, long long highest);

} // namespace Korvatel
