#pragma once
// The start date of the weather retrieval as the user types it:
// "YYYY/MM/DD", exactly ten characters with "/" as the 5th and 8th.

#include <QDate>
#include <QString>

#include <optional>

namespace hv6 {

// "%04d/%02d/%02d" of a date.
QString startDateText(const QDate& date);

// The date of a start-date text: ASCII digits only in the three fields,
// year 1 to 9999, month 1 to 12, day 1 to 31, together a real day of the
// Gregorian calendar. Nothing otherwise.
std::optional<QDate> parseStartDate(const QString& text);

}  // namespace hv6
