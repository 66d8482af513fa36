// SPDX-License-Identifier: MIT
#include <korvatel/axes/AxisLabelText.h>

#include <korvatel/axes/ChartDateTime.h>

#include <QLocale>
#include <gtest/gtest.h>
#include <limits>

using namespace Korvatel;

namespace {

// Every character is 5 pixels wide.
std::int32_t FiveEach(std::string_view line) {
    return static_cast<std::int32_t>(line.size()) * 5;
}

const double March5th1407 =
    QDateTimeToChartDateTime(QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9), Qt::UTC));

} // namespace

TEST(AxisLabelTextTest, DateTimeTextsUseTheFormatOrTheShortFormats) {
    TFormatSettings settings; // "yyyy-MM-dd" and "HH:mm:ss"
    struct Row {
        const char* name;
        double value;
        const char* format;
        double range;
        const char* expected;
    };
    const Row rows[] = {
        {"short date beyond a day", March5th1407, "", 30, "2024-03-05"},
        {"short time within a day", March5th1407, "", 1, "14:07:09"},
        {"short time for an empty range", March5th1407, "", 0, "14:07:09"},
        {"own format", March5th1407, "d MMM yyyy, HH:mm", 30, "5 Mar 2024, 14:07"},
        {"mm is the minute", March5th1407, "mm", 30, "07"},
        {"quoted text", March5th1407, "'week of' d.M.", 30, "week of 5.3."},
        {"value 0", 0, "", 30, "1899-12-30"},
        {"negative values have no text", -1, "", 30, ""},
        {"nor values beyond the calendar", 1e300, "", 30, ""},
        {"nor not-a-number", std::numeric_limits<double>::quiet_NaN(), "", 30, ""},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(DateTimeLabelText(row.value, row.format, row.range, settings), row.expected)
            << row.name;
    }
}

TEST(AxisLabelTextTest, SettingsComeFromTheLocale) {
    const TFormatSettings hungarian = TFormatSettings::FromLocale(QLocale(QLocale::Hungarian));
    EXPECT_EQ(hungarian.DecimalSeparator, ",");
    EXPECT_EQ(hungarian.ShortDateFormat, "yyyy. MM. dd.");
    EXPECT_EQ(DateTimeLabelText(March5th1407, "", 30, hungarian), "2024. 03. 05.");
    EXPECT_EQ(DateTimeLabelText(March5th1407, "yyyy. MMMM d.", 30, hungarian), "2024. március 5.");

    const TFormatSettings c = TFormatSettings::FromLocale(QLocale::c());
    EXPECT_EQ(c.ThousandSeparator, ",");
    EXPECT_EQ(c.DecimalSeparator, ".");
}

TEST(AxisLabelTextTest, AThousandsSeparatorEqualToTheDecimalSeparatorGivesWay) {
    TFormatSettings german = TFormatSettings::FromLocale(QLocale(QLocale::German));
    german.SetDecimalSeparator(".");
    EXPECT_EQ(german.DecimalSeparator, ".");
    EXPECT_EQ(german.ThousandSeparator, ",");
    TFormatSettings hungarian = TFormatSettings::FromLocale(QLocale(QLocale::Hungarian));
    hungarian.SetDecimalSeparator(".");
    EXPECT_EQ(hungarian.ThousandSeparator, "\xC2\xA0"); // a no-break space
    TFormatSettings english;
    english.SetDecimalSeparator(",");
    EXPECT_EQ(english.ThousandSeparator, ".");
}

TEST(AxisLabelTextTest, ValueTextsFollowTheAxisFormat) {
    TFormatSettings settings;
    TAxisLabelFormat format; // "#,##0.###"
    EXPECT_EQ(ValueLabelText(1234.5, format, settings), "1,234.5");
    settings.ThousandSeparator = ".";
    settings.DecimalSeparator = ",";
    EXPECT_EQ(ValueLabelText(1234.5, format, settings), "1.234,5");

    format.ValuesFormat = "0.00 \"V\"";
    EXPECT_EQ(ValueLabelText(-3, format, settings), "-3,00 V");

    format.DateTime = true;
    format.EffectiveRange = 10;
    EXPECT_EQ(ValueLabelText(March5th1407, format, settings), "2024-03-05");
    format.DateTimeFormat = "HH:mm";
    EXPECT_EQ(ValueLabelText(March5th1407, format, settings), "14:07");
}

TEST(AxisLabelTextTest, LabelEventRunsBeforeTheLineBreaks) {
    const TFormatSettings settings;
    TAxisLabelFormat format;
    format.ValuesFormat = "0 \"m s\"";
    EXPECT_EQ(FormatAxisLabel(5, format, settings, {}), "5 m s");

    format.MultiLine = true;
    EXPECT_EQ(FormatAxisLabel(5, format, settings, {}), "5\rm\rs");
    // The text the event writes is broken into lines too.
    EXPECT_EQ(
        FormatAxisLabel(5, format, settings, [](std::string& text) { text = "[" + text + "] ok"; }),
        "[5\rm\rs]\rok");
    format.MultiLine = false;
    EXPECT_EQ(FormatAxisLabel(5, format, settings, [](std::string& text) { text.clear(); }), "");
    EXPECT_EQ(MultiLineLabelText("a  b"), "a\r\rb");
}

TEST(AxisLabelTextTest, MultiLineMeasurement) {
    struct Row {
        const char* text;
        std::int32_t width;
        std::int32_t lines;
    };
    const Row rows[] = {
        {"", 0, 1},            // a text without separator is one line, also when empty
        {"1,000", 25, 1},      // one plain line
        {"ab\rabcd", 20, 2},   // the widest line gives the width ...
        {"abcd\rab", 20, 2},   // ... wherever it stands
        {"ab\r", 10, 1},       // an empty last part does not count
        {"ab\r\r", 10, 2},     // empty parts before a separator do
        {"\r", 0, 1},          // one empty line
        {"\rabc", 15, 2},      // an empty first line
        {"a\rbb\rccc", 15, 3}, // three lines
    };
    for (const Row& row : rows) {
        const TMultiLineExtent extent = MeasureMultiLineText(row.text, FiveEach);
        EXPECT_EQ(extent.Width, row.width) << row.text;
        EXPECT_EQ(extent.Lines, row.lines) << row.text;
    }
}

TEST(AxisLabelTextTest, LabelSizeAlongTheAxis) {
    const TMultiLineExtent twoLines{40, 2};
    struct Row {
        bool horizontal;
        std::int32_t angle;
        std::int32_t expected;
    };
    const Row rows[] = {
        {true, 0, 40},  {true, 180, 40},  {true, 45, 40},  {true, 90, 24},   {true, 270, 24},
        {false, 0, 24}, {false, 180, 24}, {false, 90, 40}, {false, 270, 40}, {false, 45, 40},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(LabelSizeAlongAxis(twoLines, 12, row.horizontal, row.angle), row.expected)
            << row.horizontal << " " << row.angle;
    }
    EXPECT_EQ(LabelSizeAlongAxis({1, 1000000}, 100000, false, 0), 2147483647);
}
