#include "outside/vqbase106/vqstring.h"

#include "outside/vqbase106/number_text.h"

#include <cmath>
#include <limits>

namespace {

bool isWholeNumber(const QString& number) { return !number.contains(QLatin1Char('.')); }

// A whole number text within the range of T.
template <typename T>
int toWhole(const QString& text, T& out) {
  const QString number = hv6::numtext::normalized(text);
  if (number.isEmpty() || !isWholeNumber(number)) return 1;
  bool ok = false;
  const qlonglong value = number.toLongLong(&ok);
  if (!ok || value < std::numeric_limits<T>::min() || value > std::numeric_limits<T>::max())
    return 1;
  out = T(value);
  return 0;
}

bool isHalfKana(char16_t u) { return u >= 0xFF66 && u <= 0xFF9F; }
bool isFullKana(char16_t u) { return u >= 0x30A1 && u <= 0x30FC; }
bool isBlank(char16_t u) { return u == u' ' || u == 0x3000; }
bool isWhite(char16_t u) { return isBlank(u) || u == u'\t' || u == u'\r' || u == u'\n'; }

}  // namespace

bool CVqstring::IsMath(const QString& text, double min, double max) {
  double value = 0;
  if (ChartoMath(text, value) != 0) return false;
  return value >= min && value <= max;
}

int CVqstring::ChartoMath(const QString& text, char& out) { return toWhole(text, out); }
int CVqstring::ChartoMath(const QString& text, short& out) { return toWhole(text, out); }
int CVqstring::ChartoMath(const QString& text, int& out) { return toWhole(text, out); }
int CVqstring::ChartoMath(const QString& text, long& out) { return toWhole(text, out); }

int CVqstring::ChartoMath(const QString& text, double& out) {
  const QString number = hv6::numtext::normalized(text);
  if (number.isEmpty()) return 1;
  bool ok = false;
  const double value = number.toDouble(&ok);
  if (!ok || !std::isfinite(value)) return 1;
  out = value;
  return 0;
}

int CVqstring::AddComma(const QString& text, QString& out) {
  const QString number = hv6::numtext::normalized(text);
  if (number.isEmpty()) return 1;
  out = hv6::numtext::grouped(number);
  return 0;
}

int CVqstring::DeleteComma(const QString& text, QString& out) {
  QString bare = text;
  bare.remove(QLatin1Char(',')).remove(QChar(0xFF0C));
  const QString number = hv6::numtext::normalized(bare);
  if (number.isEmpty()) return 1;
  out = number;
  return 0;
}

int CVqstring::IsKana(const QString& text) {
  bool half = false;
  bool full = false;
  for (const QChar c : text) {
    const char16_t u = c.unicode();
    if (isHalfKana(u)) {
      half = true;
    } else if (isFullKana(u)) {
      full = true;
    } else if (!isBlank(u)) {
      return kNotKana;
    }
  }
  if (half && full) return kMixedKana;
  if (half) return kHalfKana;
  return full ? kFullKana : kNotKana;
}

bool CVqstring::IsSpace(const QString& text, int mode) {
  for (const QChar c : text) {
    const char16_t u = c.unicode();
    if (mode == 0 ? !isBlank(u) : !isWhite(u)) return false;
  }
  return true;
}
