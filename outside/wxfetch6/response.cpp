#include "outside/wxfetch6/response.h"

#include "outside/wxfetch6/weathercodes.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QList>

#include <cmath>

namespace hv6::wxfetch {
namespace {

constexpr int kLargestWmoCode = 99;
constexpr double kSecondsPerHour = 3600.0;

ParseOutcome malformed(const QString& detail) { return {ParseStatus::Malformed, detail}; }

// A number or null; false for anything else.
bool takeNumber(const QJsonValue& value, std::optional<double>& out) {
  if (value.isNull()) return true;
  if (!value.isDouble() || !std::isfinite(value.toDouble())) return false;
  out = value.toDouble();
  return true;
}

// A whole number 0..99 or null.
bool takeCode(const QJsonValue& value, std::optional<int>& out) {
  std::optional<double> number;
  if (!takeNumber(value, number)) return false;
  if (!number) return true;
  if (*number != std::floor(*number) || *number < 0 || *number > kLargestWmoCode) return false;
  out = static_cast<int>(*number);
  return true;
}

// The array of a block's member, or false when it is missing or not as long
// as `length` (-1: any length).
bool arrayOf(const QJsonObject& block, const QString& name, qsizetype length, QJsonArray& out) {
  const QJsonValue value = block.value(name);
  if (!value.isArray()) return false;
  out = value.toArray();
  return length < 0 || out.size() == length;
}

// The number of the digits text[from, from + count), or -1 when one is not
// an ASCII digit.
int digits(const QString& text, qsizetype from, qsizetype count) {
  int number = 0;
  for (qsizetype i = from; i < from + count; ++i) {
    const char16_t c = text.at(i).unicode();
    if (c < u'0' || c > u'9') return -1;
    number = number * 10 + (c - u'0');
  }
  return number;
}

// "YYYY-MM-DD" at the start of a text (hand-read: there is one per hour).
QDate dayAt(const QString& text) {
  if (text.size() < 10 || text.at(4) != u'-' || text.at(7) != u'-') return {};
  const int year = digits(text, 0, 4), month = digits(text, 5, 2), day = digits(text, 8, 2);
  if (year < 0 || month < 0 || day < 0) return {};
  return QDate(year, month, day);
}

QDate dayOf(const QJsonValue& value) {
  const QString text = value.toString();
  return text.size() == 10 ? dayAt(text) : QDate();
}

// "YYYY-MM-DDTHH:MM" as the day and the hour; false when it is not one.
bool hourOf(const QJsonValue& value, QDate& day, int& hour) {
  const QString text = value.toString();
  if (text.size() != 16 || text.at(10) != u'T' || text.at(13) != u':') return false;
  day = dayAt(text);
  hour = digits(text, 11, 2);
  const int minute = digits(text, 14, 2);
  return day.isValid() && hour >= 0 && hour < 24 && minute >= 0 && minute < 60;
}

ParseOutcome readDaily(const QJsonObject& root, DayMap& days) {
  const QJsonObject daily = root.value(QStringLiteral("daily")).toObject();
  QJsonArray time;
  if (!arrayOf(daily, QStringLiteral("time"), -1, time))
    return malformed(QStringLiteral("daily.time がありません"));
  const QStringList names = dailyVariables();
  QList<QJsonArray> columns;
  for (const QString& name : names) {
    QJsonArray column;
    if (!arrayOf(daily, name, time.size(), column))
      return malformed(QStringLiteral("daily.%1 がないか、daily.time と長さが違います").arg(name));
    columns.append(column);
  }
  for (qsizetype i = 0; i < time.size(); ++i) {
    const QDate day = dayOf(time.at(i));
    if (!day.isValid()) return malformed(QStringLiteral("daily.time の日付が読めません"));
    DayValues values;
    std::optional<double> sunshineSeconds;
    const bool sound = takeCode(columns[0].at(i), values.weatherCode) &&
                       takeNumber(columns[1].at(i), values.tempMax) &&
                       takeNumber(columns[2].at(i), values.tempMin) &&
                       takeNumber(columns[3].at(i), values.tempMean) &&
                       takeNumber(columns[4].at(i), values.precipitation) &&
                       takeNumber(columns[5].at(i), sunshineSeconds);
    if (!sound) return malformed(QStringLiteral("daily の値が数値でも null でもありません"));
    if (sunshineSeconds) values.sunshineHours = *sunshineSeconds / kSecondsPerHour;
    days[day] = values;
  }
  return {};
}

ParseOutcome readHourly(const QJsonObject& root, DayMap& days) {
  const QJsonObject hourly = root.value(QStringLiteral("hourly")).toObject();
  QJsonArray time;
  QJsonArray codes;
  if (!arrayOf(hourly, QStringLiteral("time"), -1, time) ||
      !arrayOf(hourly, kHourlyVariable, time.size(), codes))
    return malformed(QStringLiteral("hourly.time と hourly.weather_code がないか、長さが違います"));
  std::map<QDate, std::array<QList<int>, 3>> hoursByDay;
  for (qsizetype i = 0; i < time.size(); ++i) {
    QDate day;
    int hour = 0;
    std::optional<int> code;
    if (!hourOf(time.at(i), day, hour)) return malformed(QStringLiteral("hourly.time の時刻が読めません"));
    if (!takeCode(codes.at(i), code))
      return malformed(QStringLiteral("hourly.weather_code の値が天気コードでも null でもありません"));
    const int period = periodOfHour(hour);
    if (code && period >= 0) hoursByDay[day][static_cast<std::size_t>(period)].append(*code);
  }
  for (auto& [day, values] : days) {
    const auto found = hoursByDay.find(day);
    if (found == hoursByDay.end()) continue;
    for (std::size_t period = 0; period < 3; ++period)
      values.periods[period] = periodCode(found->second[period]);
  }
  return {};
}

}  // namespace

bool DayValues::hasData() const {
  return tempMax || tempMin || tempMean || precipitation || sunshineHours || weatherCode ||
         periods[0] || periods[1] || periods[2];
}

QStringList dailyVariables() {
  return {QStringLiteral("weather_code"),       QStringLiteral("temperature_2m_max"),
          QStringLiteral("temperature_2m_min"), QStringLiteral("temperature_2m_mean"),
          QStringLiteral("precipitation_sum"),  QStringLiteral("sunshine_duration")};
}

ParseOutcome parseServiceResponse(const QByteArray& body, DayMap& days) {
  QJsonParseError error;
  const QJsonDocument document = QJsonDocument::fromJson(body, &error);
  if (error.error != QJsonParseError::NoError)
    return malformed(QStringLiteral("JSON ではありません: %1").arg(error.errorString()));
  if (!document.isObject()) return malformed(QStringLiteral("JSON のオブジェクトではありません"));
  const QJsonObject root = document.object();
  if (root.value(QStringLiteral("error")).toBool())
    return {ParseStatus::ServiceError, root.value(QStringLiteral("reason")).toString()};
  DayMap answer;
  ParseOutcome outcome = readDaily(root, answer);
  if (outcome.status == ParseStatus::Ok) outcome = readHourly(root, answer);
  if (outcome.status != ParseStatus::Ok) return outcome;
  for (auto& [day, values] : answer) days[day] = values;
  return outcome;
}

QString errorReason(const QByteArray& body) {
  const QJsonDocument document = QJsonDocument::fromJson(body);
  return document.object().value(QStringLiteral("reason")).toString();
}

}  // namespace hv6::wxfetch
