#pragma once
// The working of the pocket calculator of the slip windows, without
// widgets: digits, the point, + − × ÷, =, C and the last digit taken back.
// An operator after an entry computes what is pending first (left to
// right, as a pocket calculator does). Dividing by zero or a result of
// twelve whole digits or more is an error that only C clears.

#include <QString>

namespace sl {

class CalcEngine {
 public:
  enum class Op { None, Add, Subtract, Multiply, Divide };

  static constexpr int kMaxDigits = 12;

  CalcEngine() = default;
  // Starts from a value, shown as if it were a result: a digit starts a new
  // entry, an operator works on it.
  explicit CalcEngine(double start);

  void digit(int d);
  void point();
  void backspace();
  void op(Op o);
  void equals();
  void clear();

  // What the display shows.
  QString display() const;
  // The shown value (0 after an error).
  double value() const;
  bool isError() const { return error_; }
  // Completes a pending operation and gives the value.
  double result();

 private:
  static double apply(double left, Op o, double right, bool& error);
  static QString format(double value);
  void show(double value);

  QString entry_ = QStringLiteral("0");
  double accumulator_ = 0;
  Op pending_ = Op::None;
  bool fresh_ = true;  // the next digit starts a new entry
  bool error_ = false;
};

}  // namespace sl
