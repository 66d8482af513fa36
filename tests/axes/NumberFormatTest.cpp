// SPDX-License-Identifier: MIT
#include <korvatel/axes/NumberFormat.h>

#include <korvatel/core/ChartStrings.h>

#include <gtest/gtest.h>
#include <limits>
#include <string>

using namespace Korvatel;

namespace {

struct Row {
    double value;
    const char* format;
    const char* expected;
};

void ExpectRows(std::initializer_list<Row> rows, std::string_view thousands = ",",
                std::string_view decimal = ".") {
    for (const Row& row : rows) {
        EXPECT_EQ(FormatNumber(row.value, row.format, thousands, decimal), row.expected)
            << row.value << " with \"" << row.format << "\"";
    }
}

const std::string DefaultFormat(ChartStrings::DefaultValueFormat);
const std::string PercentFormat(ChartStrings::DefaultPercentFormat);

} // namespace

TEST(NumberFormatTest, DefaultAxisFormat) {
    const char* f = DefaultFormat.c_str();
    ExpectRows({
        {1234.5, f, "1,234.5"},
        {1000, f, "1,000"},
        {0, f, "0"},
        {0.0004, f, "0"},
        {0.0005, f, "0.001"}, // a half rounds away from zero
        {999.9996, f, "1,000"},
        {999.9994, f, "999.999"},
        {-0.0001, f, "0"}, // no "-0"
        {-0.0, f, "0"},
        {-1234.5, f, "-1,234.5"},
        {-1000, f, "-1,000"},
        {0.5, f, "0.5"},
        {0.1 + 0.2, f, "0.3"},
        {12, f, "12"},
        {123, f, "123"},
        {1234567.891, f, "1,234,567.891"},
        {-999999.9999, f, "-1,000,000"},
        {1e15, f, "1,000,000,000,000,000"},
        {123456789012345678.0, f, "123,456,789,012,345,680"},
        {1e-300, f, "0"},
        {std::numeric_limits<double>::denorm_min(), f, "0"},
    });
}

TEST(NumberFormatTest, SeparatorsComeFromTheCaller) {
    ExpectRows({{1234567.25, "#,##0.###", "1 234 567,25"}}, " ", ",");
    // Separators may be longer than one byte, like the non-breaking space of many locales.
    ExpectRows({{-1234.5, "#,##0.00", "-1\u00a0234,50"}}, "\u00a0", ",");
    ExpectRows({{1234.5, "#,##0.###", "1234.5"}}, "", ".");
}

TEST(NumberFormatTest, RepeatedCallsGiveTheSameTextsWhateverCameBetween) {
    // Texts are kept per format and separators: a change of either, and more values than are
    // kept, must never hand out a text made under other settings.
    const char* f = DefaultFormat.c_str();
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(FormatNumber(1234.5, f, ",", "."), "1,234.5");
        EXPECT_EQ(FormatNumber(1234.5, f, " ", ","), "1 234,5");
        EXPECT_EQ(FormatNumber(1234.5, "0.00", " ", ","), "1234,50");
        EXPECT_EQ(FormatNumber(1234.5, f, " ", ","), "1 234,5");
        EXPECT_EQ(FormatNumber(1234.5, f, ",", "."), "1,234.5");
        EXPECT_EQ(FormatNumber(-0.0, f, ",", "."), "0");
        EXPECT_EQ(FormatNumber(0.0, "0.0;(0.0)", ",", "."), "0.0");
    }
    for (int i = 0; i < 10000; ++i) {
        const double value = i * 0.25;
        ASSERT_EQ(FormatNumber(value, "0.00", ",", "."), std::to_string(i / 4) + "." +
                                                             (i % 4 == 0   ? "00"
                                                              : i % 4 == 1 ? "25"
                                                              : i % 4 == 2 ? "50"
                                                                           : "75"))
            << value;
    }
    EXPECT_EQ(FormatNumber(0.25, "0.00", ",", "."), "0.25");
}

TEST(NumberFormatTest, CommonPatterns) {
    ExpectRows({
        {2.5, "0", "3"},
        {3.5, "0", "4"},
        {-2.5, "0", "-3"},
        {1.005, "0.00", "1.01"}, // as written, not as its binary approximation
        {2.675, "0.00", "2.68"},
        {1.5, "0.00", "1.50"},
        {1234.5, "#,##0.00", "1,234.50"},
        {0.5, "#.##", ".5"},
        {0, "#.##", ""},
        {0, "#", ""},
        {12.3, "#.##", "12.3"},
        {7, "000", "007"},
        {1234, "00", "1234"},
        {5, "#0#", "05"},
        {0.25, "0.0#", "0.25"},
        {0.2, "0.0#", "0.2"},
        {0.2, "0.#0", "0.20"}, // decimals are written up to the last 0
        {1234, "#,#", "1,234"},
        {1234, "0,000", "1,234"},
        {1234.5678, "0.0,0", "1234.57"}, // a comma after the point is ignored
        {1.5, "0..0", "1.5"},
        {99.5, "#", "100"},
        {0.25, ".00", ".25"},
        {12.25, ".00", "12.25"},
    });
}

TEST(NumberFormatTest, PercentAndLiteralText) {
    const char* p = PercentFormat.c_str();
    ExpectRows({
        {12.345, p, "12.35 %"},
        {100, p, "100 %"},
        {0, p, "0 %"},
        {0.5, "0%", "1%"}, // the value is not scaled
        {-5, "$#,##0.00", "-$5.00"},
        {1234, "#,##0 \"kg\"", "1,234 kg"},
        {5, "'#'0", "#5"},
        {5, "\"a;b\"0", "a;b5"}, // a quoted semicolon separates nothing
        {12, "0 \"unterminated", "12 unterminated"},
        {1234, "00-00", "12-34"},
        {5, "00-00", "00-05"},
        {123456, "0-00", "1234-56"},
        {5, "abc", "abc"},
        {-5, "abc", "abc"}, // without digits there is no sign either
        {12.5, "Ä 0.0 €", "Ä 12.5 €"},
    });
}

TEST(NumberFormatTest, Sections) {
    ExpectRows({
        {5, "0.0;(0.0)", "5.0"},
        {-5, "0.0;(0.0)", "(5.0)"},
        {-0.01, "0.0;(0.0)", "0.0"}, // rounds to zero: neither negative nor positive
        {-0.3, "0.00;(0)", "0.00"},
        {0, "0;-0;zero", "zero"},
        {0.2, "0;-0;zero", "zero"}, // zero after rounding
        {-0.2, "0;-0;zero", "zero"},
        {3, "0;-0;zero", "3"},
        {-3, "0;;zero", "-3"}, // an empty negative section falls back to the first
        {-3, "0;", "-3"},
        {-3, "0;minus", "minus"},
        {0, "0;-0;", "0"},
        {1, "0;-0;zero;ignored", "1"},
    });
}

TEST(NumberFormatTest, ScientificNotation) {
    ExpectRows({
        {12345, "0.00E+00", "1.23E+04"},
        {-12345, "0.00E+00", "-1.23E+04"},
        {0.00012345, "0.00E+00", "1.23E-04"},
        {0.00012345, "0.00E-00", "1.23E-04"},
        {12345, "0.00E-00", "1.23E04"},
        {9.996, "0.00E+0", "1.00E+1"}, // rounding up carries into the exponent
        {0, "0.00E+00", "0.00E+00"},
        {1e300, "0.###e+0", "1e+300"},
        {123, "#.##E+0 \"m\"", "1.23E+2 m"},
        {123, "000.0E+0", "1.2E+2"}, // one integer digit, however many 0s
        {5, "0 \"E-\"", "5 E-"},
    });
}

TEST(NumberFormatTest, ValuesBeyondTheDigitLayout) {
    const char* f = DefaultFormat.c_str();
    ExpectRows({
        {1e300, f, "1E+300"},
        {-1e300, f, "-1E+300"},
        {1e18, f, "1E+18"},
        {999999999999999999.0, f, "1E+18"}, // the nearest double is 1e18 itself
        {1.5e20, "0.00", "1.5E+20"},
        {std::numeric_limits<double>::quiet_NaN(), f, "NaN"},
        {std::numeric_limits<double>::infinity(), f, "INF"},
        {-std::numeric_limits<double>::infinity(), f, "-INF"},
    });
}

TEST(NumberFormatTest, EmptyFormatWritesTheGeneralForm) {
    ExpectRows({
        {0.25, "", "0.25"},
        {0.1 + 0.2, "", "0.3"},
        {-1234.5, "", "-1234.5"},
        {1e15, "", "1E+15"},
        {123456789012345, "", "123456789012345"},
        {0.0001, "", "0.0001"},
        {0.00001, "", "1E-5"},
        {-0.0, "", "0"},
        {5, ";0", "5"},
    });
    EXPECT_EQ(FormatGeneralNumber(2.5, ","), "2,5");
    EXPECT_EQ(FormatGeneralNumber(1.5e-7, ","), "1,5E-7");
}
