// SPDX-License-Identifier: MIT
#include <korvatel/core/ChartStrings.h>

#include <korvatel/core/ChartErrors.h>

#include <initializer_list>

namespace Korvatel {

std::string FormatMessage(std::string_view pattern, std::initializer_list<std::string_view> args) {
    std::string result;
    result.reserve(pattern.size() + 16);
    auto next = args.begin();
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c == '%' && i + 1 < pattern.size()) {
            const char kind = pattern[i + 1];
            if (kind == '%') {
                result += '%';
                ++i;
                continue;
            }
            if ((kind == 's' || kind == 'd') && next != args.end()) {
                result += *next++;
                ++i;
                continue;
            }
        }
        result += c;
    }
    return result;
}

std::string FormatMessage(std::string_view pattern, long long a) {
    const std::string text = std::to_string(a);
    return FormatMessage(pattern, {text});
}

std::string FormatMessage(std::string_view pattern, long long a, long long b) {
    const std::string first = std::to_string(a);
    const std::string second = std::to_string(b);
    return FormatMessage(pattern, {first, second});
}

void CheckPropertyRange(const char* name, long long value, long long lowest, long long highest) {
    if (value < lowest || value > highest) {
        throw ChartException(FormatMessage(ChartStrings::PropertyRange,
                                           {name, std::to_string(lowest), std::to_string(highest)}));
    }
}

ListIndexError::ListIndexError(long long index)
    : std::out_of_range(FormatMessage(ChartStrings::ListIndexOutOfBounds, index)), FIndex(index) {}

} // namespace Korvatel
