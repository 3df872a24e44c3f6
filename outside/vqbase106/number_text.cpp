#include "outside/vqbase106/number_text.h"

namespace hv6::numtext {
namespace {

bool isBlank(QChar c) { return c == QLatin1Char(' ') || c == QChar(0x3000); }

// Full-width digits, signs and decimal point as half-width characters.
QChar halfWidth(QChar c) {
  const char16_t u = c.unicode();
  if (u >= 0xFF10 && u <= 0xFF19) return QChar(u - 0xFF10 + u'0');
  if (u == 0xFF0B) return QLatin1Char('+');
  if (u == 0xFF0D || u == 0x2212) return QLatin1Char('-');
  if (u == 0xFF0E) return QLatin1Char('.');
  return c;
}

QString trimBlanks(const QString& text) {
  qsizetype from = 0;
  qsizetype to = text.size();
  while (from < to && isBlank(text.at(from))) ++from;
  while (to > from && isBlank(text.at(to - 1))) --to;
  return text.mid(from, to - from);
}

bool isNumberText(const QString& text) {
  qsizetype i = 0;
  if (i < text.size() && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-'))) ++i;
  int digits = 0;
  bool point = false;
  for (; i < text.size(); ++i) {
    const QChar c = text.at(i);
    if (c.isDigit() && c.unicode() < 0x80) {
      ++digits;
    } else if (c == QLatin1Char('.') && !point) {
      point = true;
    } else {
      return false;
    }
  }
  return digits > 0;
}

}  // namespace

QString normalized(const QString& text) {
  QString half = trimBlanks(text);
  for (QChar& c : half) c = halfWidth(c);
  return isNumberText(half) ? half : QString();
}

QString grouped(const QString& number) {
  const qsizetype signLength =
      number.startsWith(QLatin1Char('-')) || number.startsWith(QLatin1Char('+')) ? 1 : 0;
  qsizetype end = number.indexOf(QLatin1Char('.'));
  if (end < 0) end = number.size();
  QString out = number;
  for (qsizetype pos = end - 3; pos > signLength; pos -= 3) out.insert(pos, QLatin1Char(','));
  return out;
}

}  // namespace hv6::numtext
