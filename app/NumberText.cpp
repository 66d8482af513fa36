// SPDX-License-Identifier: MIT
#include "NumberText.h"

#include <korvatel/core/ChartStrings.h>
#include <korvatel/axes/FormatSettings.h>
#include "ProgramErrors.h"
#include "ProgramStrings.h"

#include <array>
#include <charconv>
#include <clocale>
#include <cmath>
#include <limits>

using namespace Korvatel;

std::optional<std::int32_t> ParseInteger(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && text[pos] == ' ') {
        ++pos;
    }
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    if (pos == text.size()) {
        return std::nullopt;
    }
    // The magnitude is gathered in 64 bits and checked against the 32-bit range of its sign.
    constexpr std::int64_t Limit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t magnitude = 0;
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > Limit) {
            return std::nullopt;
        }
    }
    if (!negative && magnitude == Limit) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

std::int32_t StrToInt(std::string_view text) {
    if (const auto value = ParseInteger(text)) {
        return *value;
    }
    throw ConvertError(FormatMessage(ProgramStrings::InvalidInteger, {text}));
}

std::string DecimalText(double value) {
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::general, 15);
    return std::string(buffer.data(), result.ptr);
}

std::optional<double> ExtendedToDouble(long double value) {
    // Halfway between the largest double and the next power of two, and beyond, rounding
    // gives infinity (the tie goes to the even neighbour, which is 2^1024).
    constexpr long double OverflowThreshold = 0x1.fffffffffffff8p1023L;
    static_assert(OverflowThreshold > static_cast<long double>(std::numeric_limits<double>::max()));
    if (std::isnan(value)) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    if (std::fabs(value) >= OverflowThreshold) {
        return std::nullopt;
    }
    return static_cast<double>(value);
}

double RoundToDouble(long double value) {
    if (const auto rounded = ExtendedToDouble(value)) {
        return *rounded;
    }
    throw FloatOverflowError(std::string(ProgramStrings::FloatOverflow));
}

void UsePointAsDecimalSeparator() {
    ProcessFormatSettings().SetDecimalSeparator(".");
    // The toolkit hands the user's locale to the C library at start-up, after which printf,
    // strtod and their kin would write and read decimal commas.
    std::setlocale(LC_NUMERIC, "C");
}
