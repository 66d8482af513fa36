// SPDX-License-Identifier: MIT
#pragma once

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

} // namespace Korvatel
