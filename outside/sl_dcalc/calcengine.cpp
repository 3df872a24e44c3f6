#include "outside/sl_dcalc/calcengine.h"

#include <algorithm>
#include <cmath>

namespace sl {

CalcEngine::CalcEngine(double start) { show(start); }

QString CalcEngine::format(double value) {
  // No more digits than the display holds, the whole ones first; the rest
  // rounded away.
  const QString whole = QString::number(std::floor(std::fabs(value)), 'f', 0);
  const int decimals = std::max(0, kMaxDigits - static_cast<int>(whole.size()));
  QString text = QString::number(value, 'f', decimals);
  if (text.contains(QLatin1Char('.'))) {
    while (text.endsWith(QLatin1Char('0'))) text.chop(1);
    if (text.endsWith(QLatin1Char('.'))) text.chop(1);
  }
  if (text == QStringLiteral("-0")) text = QStringLiteral("0");
  return text;
}

void CalcEngine::show(double value) {
  if (!std::isfinite(value) || std::fabs(value) >= 1e12) {
    error_ = true;
    return;
  }
  entry_ = format(value);
  fresh_ = true;
}

void CalcEngine::digit(int d) {
  if (error_ || d < 0 || d > 9) return;
  if (fresh_) {
    entry_ = QStringLiteral("0");
    fresh_ = false;
  }
  int count = 0;
  for (const QChar c : entry_)
    if (c.isDigit()) ++count;
  const bool leadingZero = entry_ == QStringLiteral("0") || entry_ == QStringLiteral("-0");
  if (!leadingZero && count >= kMaxDigits) return;
  if (leadingZero) entry_.chop(1);
  entry_ += QChar(u'0' + d);
}

void CalcEngine::point() {
  if (error_) return;
  if (fresh_) {
    entry_ = QStringLiteral("0");
    fresh_ = false;
  }
  if (!entry_.contains(QLatin1Char('.'))) entry_ += QLatin1Char('.');
}

void CalcEngine::backspace() {
  if (error_ || fresh_) return;
  entry_.chop(1);
  if (entry_.isEmpty() || entry_ == QStringLiteral("-")) entry_ = QStringLiteral("0");
}

double CalcEngine::apply(double left, Op o, double right, bool& error) {
  switch (o) {
    case Op::Add: return left + right;
    case Op::Subtract: return left - right;
    case Op::Multiply: return left * right;
    case Op::Divide:
      if (right == 0) {
        error = true;
        return 0;
      }
      return left / right;
    case Op::None: break;
  }
  return right;
}

void CalcEngine::op(Op o) {
  if (error_) return;
  const double current = entry_.toDouble();
  if (pending_ != Op::None && !fresh_) {
    accumulator_ = apply(accumulator_, pending_, current, error_);
    if (error_) return;
    show(accumulator_);
  } else if (pending_ == Op::None) {
    accumulator_ = current;
  }
  // An operator right after another replaces it.
  pending_ = o;
  fresh_ = true;
}

void CalcEngine::equals() {
  if (error_ || pending_ == Op::None) {
    fresh_ = true;
    return;
  }
  accumulator_ = apply(accumulator_, pending_, entry_.toDouble(), error_);
  pending_ = Op::None;
  if (!error_) show(accumulator_);
}

void CalcEngine::clear() { *this = CalcEngine(); }

QString CalcEngine::display() const { return error_ ? QStringLiteral("E") : entry_; }

double CalcEngine::value() const { return error_ ? 0 : entry_.toDouble(); }

double CalcEngine::result() {
  equals();
  return value();
}

}  // namespace sl
