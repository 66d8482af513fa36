// SPDX-License-Identifier: MIT
#pragma once

#include <QDate>
#include <QDateTime>
#include <ostream>

// Readable failure messages for Qt's dates.
inline void PrintTo(const QDate& date, std::ostream* os) {
    *os << (date.isValid() ? date.toString(Qt::ISODate).toStdString() : "invalid date");
}

inline void PrintTo(const QDateTime& dateTime, std::ostream* os) {
    *os << (dateTime.isValid() ? dateTime.toString(Qt::ISODateWithMs).toStdString()
                               : "invalid date-time");
}
