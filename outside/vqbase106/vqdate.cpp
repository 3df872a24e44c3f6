#include "outside/vqbase106/vqdate.h"

#include <QDate>
#include <QRegularExpression>

#include <array>

namespace {

struct EraInfo {
  char letter;
  const char16_t* name;
  long start;  // first day, yyyymmdd
};

constexpr std::array<EraInfo, 5> kEras = {{
    {'M', u"明治", 18680125},
    {'T', u"大正", 19120730},
    {'S', u"昭和", 19261225},
    {'H', u"平成", 19890108},
    {'R', u"令和", 20190501},
}};

struct Ymd {
  int year;
  int month;
  int day;
};

struct EraDate {
  int era;  // index into kEras
  int year;
  int month;
  int day;
};

Ymd split(long date) { return {int(date / 10000), int(date / 100 % 100), int(date % 100)}; }

long join(int year, int month, int day) { return long(year) * 10000 + month * 100 + day; }

bool isLeap(long year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int eraStartYear(int era) { return int(kEras[era].start / 10000); }

// The index of the era the valid date falls in, -1 before Meiji.
int eraOf(long date) {
  for (int i = int(kEras.size()) - 1; i >= 0; --i)
    if (date >= kEras[i].start) return i;
  return -1;
}

bool toEraDate(long date, EraDate& out) {
  if (CVqdate::DateCheck(date) != 0) return false;
  const int era = eraOf(date);
  if (era < 0) return false;
  const Ymd ymd = split(date);
  out = {era, ymd.year - eraStartYear(era) + 1, ymd.month, ymd.day};
  return true;
}

// yyyymmdd of an era date; false when it is no valid date of that era.
bool fromEraDate(const EraDate& e, long& out) {
  if (e.era < 0 || e.era >= int(kEras.size()) || e.year < 1) return false;
  const long date = join(eraStartYear(e.era) + e.year - 1, e.month, e.day);
  if (CVqdate::DateCheck(date) != 0 || eraOf(date) != e.era) return false;
  out = date;
  return true;
}

QString eraName(int era) { return QString::fromUtf16(kEras[era].name); }

QString pad2(int value) { return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0')); }

QString longEraYear(int year) { return year == 1 ? QStringLiteral("元") : QString::number(year); }

QString formatWareki(const EraDate& e, int form) {
  const QChar letter = QLatin1Char(kEras[e.era].letter);
  switch (form) {
    case 0:
      if (e.year > 99) return {};
      return letter + QStringLiteral(".%1/%2/%3").arg(pad2(e.year), pad2(e.month), pad2(e.day));
    case 1:
      return letter + QStringLiteral("%1.%2.%3").arg(pad2(e.year), pad2(e.month), pad2(e.day));
    case 2:
      return eraName(e.era) +
             QStringLiteral("%1年%2月%3日").arg(pad2(e.year), pad2(e.month), pad2(e.day));
    case 3:
      return eraName(e.era) +
             QStringLiteral("%1年%2月%3日").arg(longEraYear(e.year)).arg(e.month).arg(e.day);
    default:
      return {};
  }
}

QString formatSeireki(const Ymd& d, int form) {
  const QString year = QStringLiteral("%1").arg(d.year, 4, 10, QLatin1Char('0'));
  switch (form) {
    case 0:
      return QStringLiteral("%1/%2/%3").arg(year, pad2(d.month), pad2(d.day));
    case 1:
      return QStringLiteral("%1.%2.%3").arg(year, pad2(d.month), pad2(d.day));
    case 2:
      return QStringLiteral("%1年%2月%3日").arg(year, pad2(d.month), pad2(d.day));
    case 3:
      return QStringLiteral("%1年%2月%3日").arg(year).arg(d.month).arg(d.day);
    default:
      return {};
  }
}

int eraOfLetter(QChar letter) {
  for (int i = 0; i < int(kEras.size()); ++i)
    if (letter.toUpper() == QLatin1Char(kEras[i].letter)) return i;
  return -1;
}

int eraOfName(const QString& name) {
  for (int i = 0; i < int(kEras.size()); ++i)
    if (name == eraName(i)) return i;
  return -1;
}

// Full-width digits read as their half-width forms.
QString halfWidthDigits(QString text) {
  for (QChar& c : text)
    if (c.unicode() >= 0xFF10 && c.unicode() <= 0xFF19) c = QChar(c.unicode() - 0xFF10 + u'0');
  return text;
}

bool parseLetterForm(const QString& text, int form, EraDate& out) {
  static const QRegularExpression form0(
      QStringLiteral("^([A-Za-z])\\.(\\d\\d)/(\\d\\d)/(\\d\\d)$"));
  static const QRegularExpression form1(
      QStringLiteral("^([A-Za-z])(\\d{2,3})\\.(\\d\\d)\\.(\\d\\d)$"));
  const auto match = (form == 0 ? form0 : form1).match(text);
  if (!match.hasMatch()) return false;
  out = {eraOfLetter(match.captured(1).at(0)), match.captured(2).toInt(), match.captured(3).toInt(),
         match.captured(4).toInt()};
  return true;
}

bool parseNameForm(const QString& text, EraDate& out) {
  static const QRegularExpression pattern(
      QStringLiteral("^(\\S\\S)\\s*(元|\\d{1,3})年\\s*(\\d{1,2})月\\s*(\\d{1,2})日$"));
  const auto match = pattern.match(halfWidthDigits(text));
  if (!match.hasMatch()) return false;
  const QString year = match.captured(2);
  out = {eraOfName(match.captured(1)), year == QStringLiteral("元") ? 1 : year.toInt(),
         match.captured(3).toInt(), match.captured(4).toInt()};
  return true;
}

}  // namespace

int CVqdate::GetDate(long& out) {
  const QDate today = QDate::currentDate();
  out = join(today.year(), today.month(), today.day());
  return 0;
}

int CVqdate::GetMaxDay(long year, long month) {
  static constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (year < 1 || year > 9999 || month < 1 || month > 12) return 0;
  if (month == 2 && isLeap(year)) return 29;
  return kDays[std::size_t(month - 1)];
}

int CVqdate::DateCheck(long date) {
  if (date < 10101 || date > 99991231) return 1;
  const Ymd d = split(date);
  return d.day >= 1 && d.day <= GetMaxDay(d.year, d.month) ? 0 : 1;
}

long CVqdate::GetAmongtwoDate(long from, long to) {
  if (DateCheck(from) != 0 || DateCheck(to) != 0) return kNoSpan;
  const Ymd a = split(from);
  const Ymd b = split(to);
  return long(QDate(b.year, b.month, b.day).toJulianDay() -
              QDate(a.year, a.month, a.day).toJulianDay());
}

int CVqdate::WarekiForm(QString& out, long date, int form) {
  EraDate e{};
  if (!toEraDate(date, e)) return 1;
  const QString text = formatWareki(e, form);
  if (text.isEmpty()) return 1;
  out = text;
  return 0;
}

int CVqdate::SeirekiForm(QString& out, long date, int form) {
  if (DateCheck(date) != 0) return 1;
  const QString text = formatSeireki(split(date), form);
  if (text.isEmpty()) return 1;
  out = text;
  return 0;
}

int CVqdate::HizukeForm(QString& out, long date, int form) {
  if (form >= kHizukeSeireki) return SeirekiForm(out, date, form - kHizukeSeireki);
  return WarekiForm(out, date, form);
}

int CVqdate::ToConvWareki(long& out, long date) {
  EraDate e{};
  if (!toEraDate(date, e) || e.year > 99) return 1;
  out = long(e.era + 1) * 1000000 + e.year * 10000 + e.month * 100 + e.day;
  return 0;
}

int CVqdate::ToConvSeireki(long& out, long wareki) {
  if (wareki < 0) return 1;
  const EraDate e{int(wareki / 1000000) - 1, int(wareki / 10000 % 100), int(wareki / 100 % 100),
                  int(wareki % 100)};
  return fromEraDate(e, out) ? 0 : 1;
}

int CVqdate::ToConvSeireki(long& out, const QString& text, int form) {
  const QString trimmed = text.trimmed();
  EraDate e{-1, 0, 0, 0};
  const bool parsed = form == 0 || form == 1   ? parseLetterForm(trimmed, form, e)
                      : form == 2 || form == 3 ? parseNameForm(trimmed, e)
                                               : false;
  if (!parsed) return 1;
  return fromEraDate(e, out) ? 0 : 1;
}
