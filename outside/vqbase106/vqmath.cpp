#include "outside/vqbase106/vqmath.h"

#include "outside/vqbase106/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace {

constexpr double kLimit = 1e15;
constexpr int kMaxDecimals = 9;

struct Digits {
  bool negative = false;
  std::string whole;     // at least one digit
  std::string fraction;  // any number of digits
};

// The shortest fixed-point text that reads back as the value.
Digits shortestDigits(double value) {
  char buffer[64];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::fixed);
  const std::string text(buffer, result.ptr);
  const std::size_t point = text.find('.');
  Digits d;
  d.negative = std::signbit(value);
  d.whole = text.substr(0, point);
  d.fraction = point == std::string::npos ? std::string() : text.substr(point + 1);
  return d;
}

// Adds one unit of the last kept place to whole + fraction.
void increment(Digits& d) {
  std::string all = d.whole + d.fraction;
  std::size_t i = all.size();
  while (i > 0 && all[i - 1] == '9') all[--i] = '0';
  if (i == 0) {
    all.insert(all.begin(), '1');
  } else {
    ++all[i - 1];
  }
  d.whole = all.substr(0, all.size() - d.fraction.size());
  d.fraction = all.substr(all.size() - d.fraction.size());
}

bool roundsAway(const std::string& dropped, int mode) {
  if (dropped.empty()) return false;
  if (mode == CVqmath::kRoundHalfUp) return dropped[0] >= '5';
  if (mode == CVqmath::kRoundUp) return dropped.find_first_not_of('0') != std::string::npos;
  return false;
}

void roundTo(Digits& d, int decimals, int mode) {
  d.fraction.resize(std::max(d.fraction.size(), std::size_t(decimals)), '0');
  const std::string dropped = d.fraction.substr(std::size_t(decimals));
  d.fraction.resize(std::size_t(decimals));
  if (roundsAway(dropped, mode)) increment(d);
}

bool isZero(const Digits& d) {
  return d.whole.find_first_not_of('0') == std::string::npos &&
         d.fraction.find_first_not_of('0') == std::string::npos;
}

QString latin1(const std::string& text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// Built as bytes and turned into a QString once: the calendar formats a
// number for every diary row.
QString text(const Digits& d, int comma) {
  std::string number;
  number.reserve(d.whole.size() + d.fraction.size() + 2);
  if (d.negative && !isZero(d)) number += '-';
  number += d.whole;
  if (comma != 0) {
    QString grouped = hv6::numtext::grouped(latin1(number));
    if (!d.fraction.empty()) grouped += QLatin1Char('.') + latin1(d.fraction);
    return grouped;
  }
  if (!d.fraction.empty()) {
    number += '.';
    number += d.fraction;
  }
  return latin1(number);
}

}  // namespace

int CVqmath::MathtoChar(int value, QString& out, int comma) {
  return MathtoChar(static_cast<long long>(value), out, comma);
}

int CVqmath::MathtoChar(long value, QString& out, int comma) {
  return MathtoChar(static_cast<long long>(value), out, comma);
}

int CVqmath::MathtoChar(long long value, QString& out, int comma) {
  const QString number = QString::number(value);
  out = comma != 0 ? hv6::numtext::grouped(number) : number;
  return 0;
}

int CVqmath::MathtoChar(double value, QString& out, int comma, int decimals, int round) {
  if (!std::isfinite(value) || std::fabs(value) >= kLimit) return 1;
  if (decimals < 0 || decimals > kMaxDecimals || round < kRoundHalfUp || round > kRoundUp) return 1;
  Digits d = shortestDigits(value);
  roundTo(d, decimals, round);
  out = text(d, comma);
  return 0;
}
