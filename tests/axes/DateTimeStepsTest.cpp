// SPDX-License-Identifier: MIT
#include <korvatel/axes/DateTimeSteps.h>

#include <korvatel/axes/ChartDateTime.h>
#include "QtDatePrinters.h"

#include <gtest/gtest.h>
#include <limits>
#include <optional>

using namespace Korvatel;

namespace {

double Day(int year, int month, int day) {
    return QDateToChartDate(QDate(year, month, day));
}

QDate DateOf(const std::optional<double>& value) {
    return value ? ChartDateToQDate(*value) : QDate();
}

} // namespace

TEST(DateTimeStepsTest, CalendarIndexFollowsIncrementAndStep) {
    struct Row {
        const char* name;
        bool dateTime;
        bool exact;
        double increment;
        double step;
        std::int32_t expected;
    };
    const Row rows[] = {
        {"not a date-time axis", false, true, 30, 30, NoCalendarStep},
        {"ExactDateTime off", true, false, 30, 30, NoCalendarStep},
        {"no Increment", true, true, 0, 30, NoCalendarStep},
        {"one month", true, true, 30, 30, 19},
        {"one year", true, true, 365, 365, 24},
        {"one day", true, true, 1, 1, 14},
        {"half a second off still matches", true, true, 1 + 0.5 / 86400, 1, 14},
        {"no table entry", true, true, 45, 45, NoCalendarStep},
        {"step beyond the month raises it", true, true, 30, 61, 21},
        {"raised at most to a year", true, true, 30, 5000, 24},
        {"a step equal to the entry stays", true, true, 60, 60, 20},
        {"seconds", true, true, 5.0 / 86400, 5.0 / 86400, 1},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(CalendarStepIndex(row.dateTime, row.exact, row.increment, row.step), row.expected)
            << row.name;
    }
}

TEST(DateTimeStepsTest, CalendarMovesGoBackByMonthsAndYears) {
    struct Row {
        QDate from;
        std::int32_t index;
        QDate expected;
    };
    const Row rows[] = {
        {QDate(2024, 3, 20), 18, QDate(2024, 3, 15)}, // half month: above 15 goes to the 15th
        {QDate(2024, 3, 15), 18, QDate(2024, 3, 1)},  // 2..15 goes to the 1st
        {QDate(2024, 3, 2), 18, QDate(2024, 3, 1)},
        {QDate(2024, 3, 1), 18, QDate(2024, 2, 15)},  // the 1st goes to the 15th before
        {QDate(2024, 1, 1), 18, QDate(2023, 12, 15)}, // across January
        {QDate(2024, 3, 1), 19, QDate(2024, 2, 1)},
        {QDate(2024, 3, 17), 19, QDate(2024, 2, 1)}, // the day becomes 1
        {QDate(2024, 1, 1), 19, QDate(2023, 12, 1)},
        {QDate(2024, 2, 1), 20, QDate(2023, 12, 1)},
        {QDate(2024, 2, 1), 21, QDate(2023, 11, 1)},
        {QDate(2024, 2, 1), 22, QDate(2023, 10, 1)},
        {QDate(2024, 3, 1), 23, QDate(2023, 9, 1)},
        {QDate(2024, 1, 1), 24, QDate(2023, 1, 1)},
        {QDate(2024, 7, 14), 24, QDate(2023, 7, 14)},  // same month and day
        {QDate(2024, 2, 29), 24, QDate(2023, 2, 28)},  // no 29 February in 2023
        {QDate(1899, 12, 31), 19, QDate(1899, 11, 1)}, // before value 0 as well
    };
    for (const Row& row : rows) {
        EXPECT_EQ(DateOf(CalendarStepBack(QDateToChartDate(row.from), row.index)), row.expected)
            << row.from.toString(Qt::ISODate).toStdString() << " by " << row.index;
    }
    // The time of day is dropped by the move.
    EXPECT_EQ(CalendarStepBack(Day(2024, 3, 1) + 0.75, 19), Day(2024, 2, 1));
}

TEST(DateTimeStepsTest, CalendarMovesEndWhereTheCalendarDoes) {
    EXPECT_FALSE(CalendarStepBack(std::numeric_limits<double>::quiet_NaN(), 19));
    EXPECT_FALSE(CalendarStepBack(1e300, 24));
    EXPECT_FALSE(CalendarStepBack(Day(2024, 3, 1), 17)); // not a calendar step
}

TEST(DateTimeStepsTest, FirstDateIsRoundedDownToTheCalendarStep) {
    const double march20Noon = Day(2024, 3, 20) + 0.5;
    struct Row {
        double value;
        std::int32_t index;
        double expected;
    };
    const Row rows[] = {
        {march20Noon, 14, Day(2024, 3, 20)}, // days keep the day, not the time
        {march20Noon, 17, Day(2024, 3, 20)},
        {march20Noon, 18, Day(2024, 3, 15)},
        {Day(2024, 3, 14), 18, Day(2024, 3, 1)}, // below 15 goes to the 1st
        {Day(2024, 3, 15), 18, Day(2024, 3, 15)},
        {march20Noon, 19, Day(2024, 3, 1)},
        {march20Noon, 23, Day(2024, 3, 1)},
        {march20Noon, 24, Day(2024, 1, 1)},
        {1.5, 24, 1.5}, // up to 1 January 1900 the value stays as it is
        {2.0, 19, 2.0},
        {-30.25, 19, -30.25},
        {2.5, 14, 2.0},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(RoundDownFirstDate(row.value, row.index), row.expected)
            << row.value << " by " << row.index;
    }
    EXPECT_FALSE(RoundDownFirstDate(1e300, 19));
    EXPECT_FALSE(RoundDownFirstDate(std::numeric_limits<double>::infinity(), 19));
}
