#include "weather/startdate.h"

#include "outside/vqbase106/vqdate.h"

namespace hv6 {

namespace {

constexpr int kTextLength = 10;
constexpr int kFirstSlash = 4;
constexpr int kSecondSlash = 7;

// One field of the text, ASCII digits only, as a number within [min, max].
// Blanks, signs and full-width digits, which a number text would allow,
// are refused: the form is "YYYY/MM/DD".
std::optional<long> numberField(const QString& text, int from, int length, long min, long max) {
  long value = 0;
  for (const QChar c : QStringView(text).mid(from, length)) {
    if (c < u'0' || c > u'9') return std::nullopt;
    value = value * 10 + (c.unicode() - u'0');
  }
  if (value < min || value > max) return std::nullopt;
  return value;
}

}  // namespace

QString startDateText(const QDate& date) {
  return QString::asprintf("%04d/%02d/%02d", date.year(), date.month(), date.day());
}

std::optional<QDate> parseStartDate(const QString& text) {
  if (text.size() != kTextLength || text.at(kFirstSlash) != u'/' || text.at(kSecondSlash) != u'/')
    return std::nullopt;
  const std::optional<long> year = numberField(text, 0, 4, 1, 9999);
  const std::optional<long> month = numberField(text, 5, 2, 1, 12);
  const std::optional<long> day = numberField(text, 8, 2, 1, 31);
  if (!year || !month || !day) return std::nullopt;
  if (CVqdate::DateCheck(*year * 10000 + *month * 100 + *day) != 0) return std::nullopt;
  return QDate(static_cast<int>(*year), static_cast<int>(*month), static_cast<int>(*day));
}

}  // namespace hv6
