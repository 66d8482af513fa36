// SPDX-License-Identifier: MIT
#include <korvatel/axes/ChartDateTime.h>

#include "QtDatePrinters.h"

#include <QTime>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using namespace Korvatel;

TEST(ChartDateTimeTest, ValuesCountDaysFromTheEndOf1899) {
    struct Row {
        double value;
        QDateTime expected;
    };
    const Row rows[] = {
        {0, QDateTime(QDate(1899, 12, 30), QTime(0, 0), Qt::UTC)},
        {2, QDateTime(QDate(1900, 1, 1), QTime(0, 0), Qt::UTC)},
        {36526, QDateTime(QDate(2000, 1, 1), QTime(0, 0), Qt::UTC)},
        {45000.5, QDateTime(QDate(2023, 3, 15), QTime(12, 0), Qt::UTC)},
        {0.25, QDateTime(QDate(1899, 12, 30), QTime(6, 0), Qt::UTC)},
        // Before value 0 the fraction is still the time of day, counted forward.
        {-1.25, QDateTime(QDate(1899, 12, 29), QTime(6, 0), Qt::UTC)},
        {-700, QDateTime(QDate(1898, 1, 29), QTime(0, 0), Qt::UTC)},
        // Times are kept to the millisecond; one that rounds to midnight is the next day.
        {1.0 + 1234.0 / 86400000, QDateTime(QDate(1899, 12, 31), QTime(0, 0, 1, 234), Qt::UTC)},
        {0.9999999999, QDateTime(QDate(1899, 12, 31), QTime(0, 0), Qt::UTC)},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(ChartDateTimeToQDateTime(row.value), row.expected) << row.value;
        EXPECT_EQ(ChartDateToQDate(row.value), row.expected.date()) << row.value;
    }
}

TEST(ChartDateTimeTest, DatesConvertBackToTheSameValues) {
    for (const double value : {0.0, 2.0, 36526.0, 45000.5, 45000.75, -1.25, -693593.0}) {
        EXPECT_DOUBLE_EQ(QDateTimeToChartDateTime(ChartDateTimeToQDateTime(value)), value) << value;
    }
    EXPECT_EQ(QDateToChartDate(QDate(2024, 2, 29)), 45351);
}

TEST(ChartDateTimeTest, ValuesBeyondTheCalendarAreInvalid) {
    for (const double value : {std::numeric_limits<double>::quiet_NaN(),
                               std::numeric_limits<double>::infinity(), 1e300, -1e15}) {
        EXPECT_FALSE(ChartDateTimeToQDateTime(value).isValid()) << value;
        EXPECT_FALSE(ChartDateToQDate(value).isValid()) << value;
    }
    EXPECT_TRUE(std::isnan(QDateToChartDate(QDate())));
    EXPECT_TRUE(std::isnan(QDateTimeToChartDateTime(QDateTime())));
}
