// SPDX-License-Identifier: MIT
#include "NumberText.h"

#include "MessageBoxes.h"
#include "ParamNumber.h"
#include "ProgramErrors.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace {

struct TIntegerCase {
    std::string Text;
    std::optional<std::int32_t> Value;
};

} // namespace

TEST(NumberTextTest, WholeNumbers) {
    const std::vector<TIntegerCase> cases = {
        {"0", 0},
        {"37", 37},
        {"  12", 12},
        {"+7", 7},
        {"-5", -5},
        {"007", 7},
        {"2147483647", std::numeric_limits<std::int32_t>::max()},
        {"-2147483648", std::numeric_limits<std::int32_t>::min()},
        {"2147483648", std::nullopt},
        {"-2147483649", std::nullopt},
        {"99999999999999999999999", std::nullopt},
        {"", std::nullopt},
        {" ", std::nullopt},
        {"-", std::nullopt},
        {"12 ", std::nullopt},
        {"1.0", std::nullopt},
        {"1e2", std::nullopt},
        {"0x1", std::nullopt},
        {"\t1", std::nullopt},
        {"+-1", std::nullopt},
    };
    for (const TIntegerCase& c : cases) {
        EXPECT_EQ(ParseInteger(c.Text), c.Value) << '"' << c.Text << '"';
    }
}

TEST(NumberTextTest, ANonIntegerRaisesTheConversionErrorWithTheText) {
    try {
        StrToInt("25x");
        FAIL() << "no error raised";
    } catch (const ConvertError& error) {
        EXPECT_STREQ(error.what(), "'25x' is not a valid integer value");
    }
    EXPECT_EQ(StrToInt(" 42"), 42);
}

TEST(NumberTextTest, DecimalTexts) {
    EXPECT_EQ(DecimalText(0.0), "0");
    EXPECT_EQ(DecimalText(0.37), "0.37");
    EXPECT_EQ(DecimalText(0.5), "0.5");
    EXPECT_EQ(DecimalText(1.0), "1");
    EXPECT_EQ(DecimalText(-0.05), "-0.05");
    EXPECT_EQ(DecimalText(37 * 0.01), "0.37");
    EXPECT_EQ(DecimalText(2147483647 * 0.01), "21474836.47");
    EXPECT_EQ(DecimalText(0.1 + 0.2), "0.3");
}

// The spin control writes n × 0.01 or n / 100 into the velocity field and reads it back:
// every position must come back as the same double.
TEST(NumberTextTest, HundredthsReadBackAsTheSameDouble) {
    for (int n = -100; n <= 200; ++n) {
        const double expected = n / 100.0;
        for (const double written : {n * 0.01, n / 100.0}) {
            const TParamNumber back = ParseParamNumber(DecimalText(written));
            ASSERT_TRUE(back.Valid) << n;
            EXPECT_EQ(RoundToDouble(back.Value), expected) << n;
        }
    }
}

TEST(NumberTextTest, ExtendedValuesRoundToDoubleOrOverflow) {
    constexpr double Largest = std::numeric_limits<double>::max();
    const long double largest = Largest;
    // Up to half a unit beyond the largest double, rounding comes back to it.
    EXPECT_EQ(ExtendedToDouble(largest), Largest);
    EXPECT_EQ(ExtendedToDouble(largest + 0x1p969L), Largest);
    EXPECT_EQ(ExtendedToDouble(-(largest + 0x1p969L)), -Largest);
    EXPECT_EQ(ExtendedToDouble(largest + 0x1p970L), std::nullopt);
    EXPECT_EQ(ExtendedToDouble(1e400L), std::nullopt);
    EXPECT_EQ(ExtendedToDouble(-1e400L), std::nullopt);
    EXPECT_EQ(ExtendedToDouble(std::numeric_limits<long double>::infinity()), std::nullopt);
    EXPECT_EQ(ExtendedToDouble(1e-400L), 0.0);
    EXPECT_EQ(ExtendedToDouble(0.995L), 0.995);
    EXPECT_TRUE(std::isnan(*ExtendedToDouble(std::numeric_limits<long double>::quiet_NaN())));

    try {
        RoundToDouble(1e400L);
        FAIL() << "no error raised";
    } catch (const FloatOverflowError& error) {
        EXPECT_STREQ(error.what(), "Floating point overflow");
    }
}

TEST(NumberTextTest, TheGeneralErrorBoxEndsAMessageWithAFullStop) {
    const std::vector<std::pair<QString, QString>> cases = {
        {"Floating point overflow", "Floating point overflow."},
        {"'25x' is not a valid integer value", "'25x' is not a valid integer value."},
        {"Already a sentence.", "Already a sentence."},
        // Characters that sort before "." keep the message as it is.
        {"Done!", "Done!"},
        {"(see above)", "(see above)"},
        {"a-", "a-"},
        {"Value 1", "Value 1."},
        {QString::fromUtf8("Hibás adat ő"), QString::fromUtf8("Hibás adat ő.")},
        {"", ""},
    };
    for (const auto& [message, shown] : cases) {
        EXPECT_EQ(ErrorBoxText(message), shown) << message.toStdString();
    }
}
