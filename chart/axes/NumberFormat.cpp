// SPDX-License-Identifier: MIT
#include <korvatel/axes/NumberFormat.h>

#include <korvatel/core/ChartStrings.h>

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace Korvatel {

namespace {

// Integer parts longer than this are written in the general form instead.
constexpr std::size_t MaxIntegerDigits = 18;
constexpr int GeneralPrecision = 15;

// A magnitude as significant digits: Digits[0].Digits[1..] x 10^Exponent; no digits for 0.
struct TDigits {
    std::string Digits;
    int Exponent = 0;
};

// The shortest decimal digits that read back as the same double.
TDigits ShortestDigits(double magnitude) {
    TDigits result;
    if (magnitude == 0) {
        return result;
    }
    std::array<char, 64> buffer{};
    const auto written = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                       std::chars_format::scientific);
    const std::string_view text(buffer.data(),
                                static_cast<std::size_t>(written.ptr - buffer.data()));
    const std::size_t e = text.find('e');
    for (const char c : text.substr(0, e)) {
        if (c != '.') {
            result.Digits += c;
        }
    }
    std::string_view exponent = text.substr(e + 1);
    const bool negative = exponent.front() == '-';
    if (exponent.front() == '+' || exponent.front() == '-') {
        exponent.remove_prefix(1);
    }
    std::from_chars(exponent.data(), exponent.data() + exponent.size(), result.Exponent);
    if (negative) {
        result.Exponent = -result.Exponent;
    }
    return result;
}

// Adds one to a string of decimal digits.
void IncrementDigits(std::string& digits) {
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
}

// A magnitude rounded to a number of decimals, halves away from zero.
struct TFixed {
    std::string Integer;  // without leading zeros; empty when the integer part is 0
    std::string Fraction; // exactly the requested number of decimals
};

TFixed RoundToFixed(const TDigits& value, int decimals) {
    // The digits whose place value is at least 10^-decimals are kept; the next one rounds.
    const long long keep = static_cast<long long>(value.Exponent) + 1 + decimals;
    const long long available = static_cast<long long>(value.Digits.size());
    std::string scaled; // the magnitude times 10^decimals, as integer digits
    bool roundUp = false;
    if (keep > 0) {
        scaled = value.Digits.substr(0, static_cast<std::size_t>(std::min(keep, available)));
        if (keep > available) {
            scaled.append(static_cast<std::size_t>(keep - available), '0');
        } else if (keep < available) {
            roundUp = value.Digits[static_cast<std::size_t>(keep)] >= '5';
        }
    } else if (keep == 0 && available > 0) {
        roundUp = value.Digits[0] >= '5';
    }
    if (roundUp) {
        IncrementDigits(scaled);
    }
    const auto fractionLength = static_cast<std::size_t>(decimals);
    if (scaled.size() < fractionLength) {
        scaled.insert(0, fractionLength - scaled.size(), '0');
    }
    TFixed result;
    result.Integer = scaled.substr(0, scaled.size() - fractionLength);
    result.Fraction = scaled.substr(scaled.size() - fractionLength);
    const std::size_t firstNonZero = result.Integer.find_first_not_of('0');
    result.Integer.erase(0, std::min(firstNonZero, result.Integer.size()));
    return result;
}

enum TTokenKind : std::uint8_t {
    tkLiteral,
    tkIntegerDigit,
    tkDecimalPoint,
    tkFractionDigit,
    tkExponent
};

struct TToken {
    TTokenKind Kind = tkLiteral;
    std::string_view Text; // literal text, or the exponent letter
    bool ExponentPlus = false;
    int ExponentDigits = 0;
};

struct TSection {
    std::vector<TToken> Tokens;
    int IntegerPlaceholders = 0;
    int IntegerForced = 0; // digits written at least: from the first 0 on
    int FractionPlaceholders = 0;
    int FractionForced = 0; // decimals written at least: up to the last 0
    bool Grouping = false;
    bool Scientific = false;

    bool HasPlaceholders() const { return IntegerPlaceholders + FractionPlaceholders > 0; }
};

bool IsQuote(char c) {
    return c == '"' || c == '\'';
}

// The sections of a format, split at semicolons outside quotes.
std::vector<std::string_view> SplitSections(std::string_view format) {
    std::vector<std::string_view> sections;
    std::size_t start = 0;
    char quote = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        const char c = format[i];
        if (quote != 0) {
            if (c == quote) {
                quote = 0;
            }
        } else if (IsQuote(c)) {
            quote = c;
        } else if (c == ';') {
            sections.push_back(format.substr(start, i - start));
            start = i + 1;
        }
    }
    sections.push_back(format.substr(start));
    return sections;
}

void AddLiteral(TSection& section, std::string_view text) {
    if (text.empty()) {
        return;
    }
    // Neighbouring characters of the format become one literal.
    if (!section.Tokens.empty() && section.Tokens.back().Kind == tkLiteral &&
        section.Tokens.back().Text.data() + section.Tokens.back().Text.size() == text.data()) {
        TToken& last = section.Tokens.back();
        last.Text = std::string_view(last.Text.data(), last.Text.size() + text.size());
        return;
    }
    section.Tokens.push_back({tkLiteral, text});
}

TSection ParseSection(std::string_view text) {
    TSection section;
    bool afterPoint = false;
    int firstForcedInteger = -1;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (IsQuote(c)) {
            const std::size_t end = std::min(text.find(c, i + 1), text.size());
            AddLiteral(section, text.substr(i + 1, end - i - 1));
            i = end;
        } else if (section.Scientific) {
            AddLiteral(section, text.substr(i, 1)); // the number ends with its exponent
        } else if (c == '0' || c == '#') {
            if (afterPoint) {
                section.Tokens.push_back({tkFractionDigit, {}});
                ++section.FractionPlaceholders;
                if (c == '0') {
                    section.FractionForced = section.FractionPlaceholders;
                }
            } else {
                section.Tokens.push_back({tkIntegerDigit, {}});
                if (c == '0' && firstForcedInteger < 0) {
                    firstForcedInteger = section.IntegerPlaceholders;
                }
                ++section.IntegerPlaceholders;
            }
        } else if (c == '.') {
            if (!afterPoint) {
                section.Tokens.push_back({tkDecimalPoint, {}});
                afterPoint = true;
            }
        } else if (c == ',') {
            section.Grouping = section.Grouping || !afterPoint;
        } else if ((c == 'E' || c == 'e') && i + 1 < text.size() &&
                   (text[i + 1] == '+' || text[i + 1] == '-')) {
            TToken exponent{tkExponent, text.substr(i, 1), text[i + 1] == '+', 0};
            i += 2;
            while (i < text.size() && text[i] == '0') {
                ++exponent.ExponentDigits;
                ++i;
            }
            --i;
            section.Tokens.push_back(exponent);
            section.Scientific = true;
        } else {
            AddLiteral(section, text.substr(i, 1));
        }
    }
    if (firstForcedInteger >= 0) {
        section.IntegerForced = section.IntegerPlaceholders - firstForcedInteger;
    }
    return section;
}

struct TRendered {
    std::string Text;
    bool Zero = false;        // the value is zero after rounding
    bool General = false;     // too many integer digits: the caller writes the general form
    bool ShowsDigits = false; // without digits a minus sign would stand on its own
};

TRendered RenderSection(const TSection& section, const TDigits& magnitude,
                        std::string_view thousandSeparator, std::string_view decimalSeparator) {
    TRendered result;
    TFixed fixed;
    int exponent = 0;
    if (section.Scientific && !magnitude.Digits.empty()) {
        fixed = RoundToFixed({magnitude.Digits, 0}, section.FractionPlaceholders);
        exponent = magnitude.Exponent;
        if (fixed.Integer.size() > 1) {
            // 9.99 rounded up to 10.0: the mantissa becomes 1 and the exponent grows.
            fixed.Integer = "1";
            std::fill(fixed.Fraction.begin(), fixed.Fraction.end(), '0');
            ++exponent;
        }
    } else {
        fixed = RoundToFixed(magnitude, section.FractionPlaceholders);
        if (fixed.Integer.size() > MaxIntegerDigits) {
            result.General = true;
            return result;
        }
    }
    result.Zero =
        fixed.Integer.empty() && fixed.Fraction.find_first_not_of('0') == std::string::npos;
    if (!section.HasPlaceholders()) {
        for (const TToken& token : section.Tokens) {
            if (token.Kind == tkLiteral) {
                result.Text += token.Text;
            }
        }
        return result;
    }
    result.ShowsDigits = true;

    std::size_t fractionLength = fixed.Fraction.size();
    while (fractionLength > static_cast<std::size_t>(section.FractionForced) &&
           fixed.Fraction[fractionLength - 1] == '0') {
        --fractionLength;
    }
    std::string integer = fixed.Integer;
    // A mantissa has one integer digit, however many 0s stand before the point.
    const auto forced = static_cast<std::size_t>(
        section.Scientific ? std::min(section.IntegerForced, 1) : section.IntegerForced);
    if (integer.size() < forced) {
        integer.insert(0, forced - integer.size(), '0');
    }
    const auto length = static_cast<long long>(integer.size());
    const bool grouping = section.Grouping && !section.Scientific;
    std::string& out = result.Text;
    auto writeIntegerDigits = [&](long long from, long long to) { // [from, to)
        for (long long i = std::max(from, 0LL); i < to; ++i) {
            if (grouping && i > 0 && (length - i) % 3 == 0) {
                out += thousandSeparator;
            }
            out += integer[static_cast<std::size_t>(i)];
        }
    };

    long long integerPlaceholder = 0;
    std::size_t fractionPlaceholder = 0;
    for (const TToken& token : section.Tokens) {
        switch (token.Kind) {
        case tkLiteral:
            out += token.Text;
            break;
        case tkIntegerDigit: {
            // Digits are aligned to the right; the first placeholder takes all extra ones.
            const long long digit = length - section.IntegerPlaceholders + integerPlaceholder;
            writeIntegerDigits(integerPlaceholder == 0 ? 0 : digit, digit + 1);
            ++integerPlaceholder;
            break;
        }
        case tkDecimalPoint:
            if (section.IntegerPlaceholders == 0) {
                writeIntegerDigits(0, length);
            }
            if (fractionLength > 0) {
                out += decimalSeparator;
            }
            break;
        case tkFractionDigit:
            if (fractionPlaceholder < fractionLength) {
                out += fixed.Fraction[fractionPlaceholder];
            }
            ++fractionPlaceholder;
            break;
        case tkExponent: {
            out += token.Text;
            if (exponent < 0) {
                out += '-';
            } else if (token.ExponentPlus) {
                out += '+';
            }
            std::string digits = std::to_string(exponent < 0 ? -exponent : exponent);
            if (digits.size() < static_cast<std::size_t>(token.ExponentDigits)) {
                digits.insert(0, static_cast<std::size_t>(token.ExponentDigits) - digits.size(),
                              '0');
            }
            out += digits;
            break;
        }
        }
    }
    return result;
}

} // namespace

std::string FormatGeneralNumber(double value, std::string_view decimalSeparator) {
    if (std::isnan(value)) {
        return std::string(ChartStrings::NotANumberText);
    }
    if (std::isinf(value)) {
        return std::string(value > 0 ? ChartStrings::InfinityText
                                     : ChartStrings::NegativeInfinityText);
    }
    if (value == 0) {
        return "0"; // also for -0
    }
    std::array<char, 64> buffer{};
    const auto written = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                       std::chars_format::general, GeneralPrecision);
    const std::string_view text(buffer.data(),
                                static_cast<std::size_t>(written.ptr - buffer.data()));
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '.') {
            result += decimalSeparator;
        } else if (c == 'e') {
            // "e+05" becomes "E+5": the sign is kept, leading zeros of the exponent are not.
            result += 'E';
            result += text[i + 1];
            std::size_t digits = i + 2;
            while (digits + 1 < text.size() && text[digits] == '0') {
                ++digits;
            }
            result += text.substr(digits);
            break;
        } else {
            result += c;
        }
    }
    return result;
}

namespace {

// A format split into its sections and parsed, with the texts it gave. An axis formats the
// same labels with one format frame after frame, so the last format is kept (per thread: the
// function stays pure), and so are its texts for the separators last used.
struct TParsedFormat {
    std::string Format;
    std::vector<std::string_view> Sections; // views into Format
    std::vector<TSection> Parsed;           // one per section; their texts view into Format
    std::string ThousandSeparator;
    std::string DecimalSeparator;
    std::unordered_map<std::uint64_t, std::string> Texts; // by the bits of the value
};

// Texts kept at most; the table starts again when it is full.
constexpr std::size_t MaxKeptTexts = 4096;

TParsedFormat& ParsedFormat(std::string_view format, std::string_view thousandSeparator,
                            std::string_view decimalSeparator) {
    thread_local TParsedFormat cache;
    thread_local bool valid = false;
    if (!valid || cache.Format != format) {
        valid = false;
        cache.Texts.clear();
        cache.Format.assign(format);
        cache.Sections = SplitSections(cache.Format);
        cache.Parsed.clear();
        for (std::string_view section : cache.Sections) {
            cache.Parsed.push_back(ParseSection(section));
        }
        valid = true;
    }
    if (cache.ThousandSeparator != thousandSeparator ||
        cache.DecimalSeparator != decimalSeparator || cache.Texts.size() >= MaxKeptTexts) {
        cache.Texts.clear();
        cache.ThousandSeparator.assign(thousandSeparator);
        cache.DecimalSeparator.assign(decimalSeparator);
    }
    return cache;
}

std::string FormatFiniteNumber(double value, const TParsedFormat& parsed,
                               std::string_view thousandSeparator,
                               std::string_view decimalSeparator);

} // namespace

std::string FormatNumber(double value, std::string_view format, std::string_view thousandSeparator,
                         std::string_view decimalSeparator) {
    if (!std::isfinite(value)) {
        return FormatGeneralNumber(value, decimalSeparator);
    }
    TParsedFormat& parsed = ParsedFormat(format, thousandSeparator, decimalSeparator);
    const auto bits = std::bit_cast<std::uint64_t>(value);
    if (const auto kept = parsed.Texts.find(bits); kept != parsed.Texts.end()) {
        return kept->second;
    }
    std::string text = FormatFiniteNumber(value, parsed, thousandSeparator, decimalSeparator);
    parsed.Texts.emplace(bits, text);
    return text;
}

namespace {

std::string FormatFiniteNumber(double value, const TParsedFormat& parsed,
                               std::string_view thousandSeparator,
                               std::string_view decimalSeparator) {
    const std::vector<std::string_view>& sections = parsed.Sections;
    if (sections.front().empty()) {
        return FormatGeneralNumber(value, decimalSeparator);
    }
    const TDigits magnitude = ShortestDigits(std::fabs(value));
    const bool negative = value < 0;
    std::size_t chosen = 0;
    bool minus = negative;
    if (negative && sections.size() >= 2 && !sections[1].empty()) {
        chosen = 1; // the negative section writes its own sign, if any
        minus = false;
    }
    const TRendered rendered =
        RenderSection(parsed.Parsed[chosen], magnitude, thousandSeparator, decimalSeparator);
    if (rendered.General) {
        return FormatGeneralNumber(value, decimalSeparator);
    }
    if (rendered.Zero && (chosen == 1 || (sections.size() >= 3 && !sections[2].empty()))) {
        // A negative value that rounds away must not look negative, nor positive: it is 0.
        const std::size_t zeroSection = sections.size() >= 3 && !sections[2].empty() ? 2 : 0;
        return RenderSection(parsed.Parsed[zeroSection], TDigits{}, thousandSeparator,
                             decimalSeparator)
            .Text;
    }
    if (minus && rendered.ShowsDigits && !rendered.Zero) {
        return "-" + rendered.Text;
    }
    return rendered.Text;
}

} // namespace

} // namespace Korvatel
