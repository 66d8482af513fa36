// SPDX-License-Identifier: MIT
#include "ParamNumber.h"

#include <charconv>
#include <cstddef>
#include <limits>
#include <string>

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Advances over a run of decimal digits and returns it.
std::string_view TakeDigits(std::string_view text, std::size_t& pos) {
    const std::size_t start = pos;
    while (pos < text.size() && IsDigit(text[pos])) {
        ++pos;
    }
    return text.substr(start, pos - start);
}

// The decimal exponent of the leading significant digit, for deciding whether a value the
// converter could not hold lies beyond the top or below the bottom of the range. The written
// exponent is saturated, which is harmless: only its sign matters that far out.
long long LeadingDigitExponent(std::string_view whole, std::string_view fraction,
                               std::string_view exponent) {
    long long written = 0;
    std::size_t pos = 0;
    bool negative = false;
    if (!exponent.empty() && (exponent[0] == '+' || exponent[0] == '-')) {
        negative = exponent[0] == '-';
        pos = 1;
    }
    constexpr long long Saturation = 1'000'000'000LL;
    for (; pos < exponent.size(); ++pos) {
        written = written * 10 + (exponent[pos] - '0');
        if (written > Saturation) {
            written = Saturation;
        }
    }
    if (negative) {
        written = -written;
    }
    const std::size_t firstWhole = whole.find_first_not_of('0');
    if (firstWhole != std::string_view::npos) {
        return written + static_cast<long long>(whole.size() - firstWhole) - 1;
    }
    const std::size_t firstFraction = fraction.find_first_not_of('0');
    return written - static_cast<long long>(firstFraction) - 1;
}

} // namespace

TParamNumber ParseParamNumber(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && text[pos] == ' ') {
        ++pos;
    }

    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }

    const std::string_view whole = TakeDigits(text, pos);
    bool point = false;
    std::string_view fraction;
    if (pos < text.size() && text[pos] == '.') {
        point = true;
        ++pos;
        fraction = TakeDigits(text, pos);
    }

    std::string_view exponent;
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        std::size_t expPos = pos + 1;
        if (expPos < text.size() && (text[expPos] == '+' || text[expPos] == '-')) {
            ++expPos;
        }
        const std::size_t digitsStart = expPos;
        TakeDigits(text, expPos);
        if (expPos > digitsStart) {
            exponent = text.substr(pos + 1, expPos - pos - 1);
            pos = expPos;
        }
    }

    // Something must stand after the spaces and the sign, and nothing may follow the number.
    const bool hasMantissa = !whole.empty() || point;
    if (pos != text.size() || (!hasMantissa && exponent.empty())) {
        return {};
    }

    const bool allZero = whole.find_first_not_of('0') == std::string_view::npos &&
                         fraction.find_first_not_of('0') == std::string_view::npos;
    if (allZero) {
        return {true, negative ? -0.0L : 0.0L};
    }

    // The converter reads the unsigned number in the C locale's own syntax.
    std::string digits;
    digits.reserve(whole.size() + fraction.size() + exponent.size() + 3);
    digits.append(whole.empty() ? std::string_view("0") : whole);
    digits.push_back('.');
    digits.append(fraction);
    if (!exponent.empty()) {
        digits.push_back('e');
        digits.append(exponent);
    }

    long double value = 0.0L;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error == std::errc::result_out_of_range) {
        value = LeadingDigitExponent(whole, fraction, exponent) > 0
                    ? std::numeric_limits<long double>::infinity()
                    : 0.0L;
    } else if (error != std::errc() || end != digits.data() + digits.size()) {
        return {};
    }
    return {true, negative ? -value : value};
}
