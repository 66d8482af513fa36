// SPDX-License-Identifier: MIT
#include "ParamNumber.h"

#include <clocale>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <vector>

namespace {

struct TNumberCase {
    std::string Text;
    long double Value;
};

} // namespace

TEST(ParamNumberTest, NumbersAndTheirExtendedValues) {
    const std::vector<TNumberCase> cases = {
        {"500", 500.0L},
        {"2000", 2000.0L},
        {"2000.0001", 2000.0001L},
        {"99.99", 99.99L},
        {"  500", 500.0L},
        {"5e2", 500.0L},
        {"5E2", 500.0L},
        {"+500", 500.0L},
        {"-0.1", -0.1L},
        {"0.995", 0.995L},
        {"00012", 12.0L},
        {"5.", 5.0L},
        {".5", 0.5L},
        {"-.5e1", -5.0L},
        {"1e+3", 1000.0L},
        {"1E-3", 0.001L},
        {"12.5e-1", 1.25L},
        {".", 0.0L},
        {"e5", 0.0L},
        {"E-7", 0.0L},
        {"0e99999999999999999999", 0.0L},
        // Beyond the range of a double, but an extended value all the same.
        {"1e400", 1e400L},
        {"-1e400", -1e400L},
        // Too small for the extended range.
        {"1e-5000", 0.0L},
        {"0.0000000000000000000000000000001e-4950", 0.0L},
    };
    for (const TNumberCase& c : cases) {
        const TParamNumber number = ParseParamNumber(c.Text);
        EXPECT_TRUE(number.Valid) << '"' << c.Text << '"';
        EXPECT_EQ(number.Value, c.Value) << '"' << c.Text << '"';
    }
}

TEST(ParamNumberTest, BeyondTheExtendedRangeReadsAsInfinityOfItsSign) {
    for (const std::string text : {"1e5000", "1e99999999999999999999999", "123456e4930"}) {
        const TParamNumber number = ParseParamNumber(text);
        EXPECT_TRUE(number.Valid) << text;
        EXPECT_TRUE(std::isinf(number.Value) && number.Value > 0) << text;
    }
    const TParamNumber negative = ParseParamNumber("-1e5000");
    EXPECT_TRUE(negative.Valid);
    EXPECT_TRUE(std::isinf(negative.Value) && negative.Value < 0);
}

TEST(ParamNumberTest, ZeroKeepsItsSign) {
    for (const std::string text : {"-0", "-.", "-e5", "-0.000"}) {
        const TParamNumber number = ParseParamNumber(text);
        EXPECT_TRUE(number.Valid) << text;
        EXPECT_EQ(number.Value, 0.0L) << text;
        EXPECT_TRUE(std::signbit(number.Value)) << text;
    }
}

TEST(ParamNumberTest, TextsThatAreNotNumbers) {
    const std::vector<std::string> texts = {
        "",
        " ",
        "   ",
        "-",
        "+",
        "500 ",
        "5,5",
        "1.2.3",
        "e",
        "5e",
        "5e+",
        "e+",
        ".e",
        "0x10",
        "$10",
        "\t500",
        "5 00",
        "++5",
        "+-5",
        "- 5",
        "abc",
        "1e5.5",
        "Inf",
        "nan",
        ". ",
        "1_000",
        "1e 5",
        "500\n",
        "5\xC2\xA0",
        "\xD9\xA1",
        std::string("5\0", 2),
        "1,000.5",
    };
    for (const std::string& text : texts) {
        EXPECT_FALSE(ParseParamNumber(text).Valid) << '"' << text << '"';
    }
}

TEST(ParamNumberTest, TheResultDoesNotDependOnTheLocale) {
    // Qt programs take the user's locale for the C library; a Hungarian one writes "5,5".
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous != nullptr ? previous : "C";
    if (std::setlocale(LC_NUMERIC, "hu_HU.UTF-8") == nullptr &&
        std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) {
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    }
    EXPECT_EQ(ParseParamNumber("5.5").Value, 5.5L);
    EXPECT_FALSE(ParseParamNumber("5,5").Valid);
    std::setlocale(LC_NUMERIC, saved.c_str());
}
