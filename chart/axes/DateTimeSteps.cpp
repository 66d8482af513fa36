// SPDX-License-Identifier: MIT
#include <korvatel/axes/DateTimeSteps.h>

#include <korvatel/axes/ChartDateTime.h>

#include <cmath>

namespace Korvatel {

namespace {

constexpr double OneSecondInDays = 1.0 / 86400;
// 1 January 1900: earlier first labels are not rounded down to a date.
constexpr double FirstRoundedDate = 2.0;

std::optional<double> ToValue(const QDate& date) {
    if (!date.isValid()) {
        return std::nullopt;
    }
    return QDateToChartDate(date);
}

} // namespace

std::int32_t CalendarStepIndex(bool dateTime, bool exactDateTime, double increment, double step) {
    if (!dateTime || !exactDateTime || increment == 0) {
        return NoCalendarStep;
    }
    std::int32_t index = NoCalendarStep;
    for (std::int32_t i = DateTimeStepCount - 1; i >= 0; --i) {
        if (std::fabs(DateTimeSteps[static_cast<std::size_t>(i)] - increment) < OneSecondInDays) {
            index = i;
            break;
        }
    }
    if (index == NoCalendarStep) {
        return index;
    }
    // A wide range may have pushed the step beyond Increment; the calendar move follows it.
    while (index < LastCalendarStep && step > DateTimeSteps[static_cast<std::size_t>(index)]) {
        ++index;
    }
    return index;
}

std::optional<double> CalendarStepBack(double value, std::int32_t calendarIndex) {
    const QDate date = ChartDateToQDate(value);
    if (!date.isValid() || !IsCalendarStep(calendarIndex)) {
        return std::nullopt;
    }
    const int year = date.year();
    const int month = date.month();
    const int day = date.day();
    switch (calendarIndex) {
    case 18: // half a month: the 15th and the 1st of each month
        if (day > 15) {
            return ToValue(QDate(year, month, 15));
        }
        if (day > 1) {
            return ToValue(QDate(year, month, 1));
        }
        return ToValue(QDate(year, month, 1).addMonths(-1).addDays(14));
    case 19:
        return ToValue(QDate(year, month, 1).addMonths(-1));
    case 20:
        return ToValue(QDate(year, month, 1).addMonths(-2));
    case 21:
        return ToValue(QDate(year, month, 1).addMonths(-3));
    case 22:
        return ToValue(QDate(year, month, 1).addMonths(-4));
    case 23:
        return ToValue(QDate(year, month, 1).addMonths(-6));
    default:
        // Qt lands on the last day of a shorter month (29 February to 28 February).
        return ToValue(date.addYears(-1));
    }
}

std::optional<double> RoundDownFirstDate(double value, std::int32_t calendarIndex) {
    if (value <= FirstRoundedDate) {
        return value;
    }
    const QDate date = ChartDateToQDate(value);
    if (!date.isValid()) {
        return std::nullopt;
    }
    int month = date.month();
    int day = date.day();
    if (calendarIndex == 18) {
        day = day < 15 ? 1 : 15;
    } else if (calendarIndex >= 19 && calendarIndex <= 23) {
        day = 1;
    } else if (calendarIndex == LastCalendarStep) {
        day = 1;
        month = 1;
    }
    return ToValue(QDate(date.year(), month, day));
}

} // namespace Korvatel
