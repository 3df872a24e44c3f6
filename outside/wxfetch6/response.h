#pragma once
// The weather service's answers (Open-Meteo's JSON): the daily values and
// the hourly weather codes of a point, by day.

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>

#include <array>
#include <map>
#include <optional>

namespace hv6::wxfetch {

// The values of one day; a value the service has not got stays empty.
struct DayValues {
  std::optional<double> tempMax;        // °C
  std::optional<double> tempMin;        // °C
  std::optional<double> tempMean;       // °C
  std::optional<double> precipitation;  // mm
  std::optional<double> sunshineHours;  // h
  std::optional<int> weatherCode;       // WMO code of the day
  std::array<std::optional<int>, 3> periods;  // WMO codes: morning, afternoon, night

  bool hasData() const;
};

using DayMap = std::map<QDate, DayValues>;

// The daily variables asked for, in the order of the query; the hourly one.
QStringList dailyVariables();
inline const QString kHourlyVariable = QStringLiteral("weather_code");

enum class ParseStatus {
  Ok,
  ServiceError,  // {"error": true, "reason": ...}
  Malformed,     // not JSON, not an object, missing or uneven arrays, bad values
};

struct ParseOutcome {
  ParseStatus status = ParseStatus::Ok;
  QString detail;  // the service's reason, or what was wrong
};

// Adds the days of one answer to `days`, replacing days already there. Every
// daily variable and the hourly codes must come as arrays as long as their
// "time" array; a value is a number or null. The hourly codes of a day are
// reduced to its three parts (hours before 6 count for none). Nothing is
// added unless the whole answer is sound.
ParseOutcome parseServiceResponse(const QByteArray& body, DayMap& days);

// The "reason" of an error answer; empty when the body has none.
QString errorReason(const QByteArray& body);

}  // namespace hv6::wxfetch
