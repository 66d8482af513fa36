// SPDX-License-Identifier: MIT
#include <korvatel/axes/ChartDateTime.h>

#include <korvatel/core/Rounding.h>

#include <QTime>
#include <cmath>
#include <limits>

namespace Korvatel {

namespace {

// The Julian day of 30 December 1899, the day of value 0.
constexpr qint64 JulianDayOfValueZero = 2415019;
constexpr qint64 MSecsPerDay = 86400000;
// Far beyond the last day Qt's calendar can hold, but small enough for exact integer days.
constexpr double MaxDayMagnitude = 1e12;

struct TDayAndTime {
    bool Valid = false;
    qint64 Day = 0;
    qint64 MSecs = 0;
};

TDayAndTime SplitValue(double value) {
    TDayAndTime result;
    if (!(std::fabs(value) < MaxDayMagnitude)) {
        return result; // NaN, infinities and values no calendar holds
    }
    result.Day = TruncToInt64(value);
    // The difference is exact: value and its whole part share the same binary exponent range.
    const long double fraction = std::fabs(static_cast<long double>(value) - result.Day);
    result.MSecs = RoundHalfEven(fraction * MSecsPerDay);
    if (result.MSecs >= MSecsPerDay) {
        // A time that rounds up to midnight belongs to the next calendar day.
        result.MSecs = 0;
        ++result.Day;
    }
    result.Valid = true;
    return result;
}

} // namespace

QDate ChartDateToQDate(double value) {
    const TDayAndTime parts = SplitValue(value);
    if (!parts.Valid) {
        return {};
    }
    return QDate::fromJulianDay(JulianDayOfValueZero + parts.Day);
}

QDateTime ChartDateTimeToQDateTime(double value) {
    const TDayAndTime parts = SplitValue(value);
    if (!parts.Valid) {
        return {};
    }
    const QDate date = QDate::fromJulianDay(JulianDayOfValueZero + parts.Day);
    if (!date.isValid()) {
        return {};
    }
    return QDateTime(date, QTime::fromMSecsSinceStartOfDay(static_cast<int>(parts.MSecs)), Qt::UTC);
}

double QDateToChartDate(const QDate& date) {
    if (!date.isValid()) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    return static_cast<double>(date.toJulianDay() - JulianDayOfValueZero);
}

double QDateTimeToChartDateTime(const QDateTime& dateTime) {
    if (!dateTime.isValid()) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    const double day = QDateToChartDate(dateTime.date());
    const double time = static_cast<double>(dateTime.time().msecsSinceStartOfDay()) /
                        static_cast<double>(MSecsPerDay);
    // Before value 0 the time of day is still counted forward, so it is subtracted.
    return day < 0 ? day - time : day + time;
}

} // namespace Korvatel
