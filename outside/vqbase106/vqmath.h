#pragma once
// Numbers as text.
//
// MathtoChar(value, out, comma, decimals, round) writes a real number with
// `decimals` places (0-9). `round` says what happens to the places beyond:
//   0  round half up (0.125 gives "0.13", -2.5 with 0 places "-3")
//   1  truncate toward zero (1.999 gives "1.99")
//   2  round up away from zero (1.001 gives "1.01")
// The value is taken as the shortest decimal text that reads back as the
// same double, so 2.675 rounds to "2.68" although its binary value lies a
// little below. A result of zero carries no sign. A nonzero `comma` inserts
// thousands separators. Values that are not finite, of magnitude 1e15 or
// more, or an unknown `decimals` or `round` fail.
//
// Functions answer 0 on success and nonzero on failure; `out` is left
// unchanged on failure.

#include <QString>

class CVqmath {
 public:
  enum RoundMode { kRoundHalfUp = 0, kTruncate = 1, kRoundUp = 2 };

  static int MathtoChar(int value, QString& out, int comma = 0);
  static int MathtoChar(long value, QString& out, int comma = 0);
  static int MathtoChar(long long value, QString& out, int comma = 0);
  static int MathtoChar(double value, QString& out, int comma, int decimals, int round);
};
