#pragma once
// Tests and conversions of entered text.
//
// A number text is an optional sign, digits and an optional decimal point
// with more digits ("-12", "3.5", ".5", "12."), at least one digit, no
// thousands separators and no exponent. Full-width digits, signs and the
// full-width decimal point read as their half-width forms, and blanks
// (half-width and full-width) around the number are ignored.
//
// Functions returning int answer 0 on success and nonzero on failure; an
// out-parameter is left unchanged on failure.

#include <QString>

class CVqstring {
 public:
  // What IsKana finds.
  enum KanaKind { kNotKana = 0, kHalfKana = 1, kFullKana = 2, kMixedKana = 3 };

  // True when the text is a number text whose value lies in [min, max].
  static bool IsMath(const QString& text, double min, double max);

  // Integer targets take only whole numbers; a value outside the target's
  // range fails.
  static int ChartoMath(const QString& text, char& out);
  static int ChartoMath(const QString& text, short& out);
  static int ChartoMath(const QString& text, int& out);
  static int ChartoMath(const QString& text, long& out);
  static int ChartoMath(const QString& text, double& out);

  // Inserts "," every three digits of the integer part of a number text,
  // keeping its sign and decimals ("-1234567.5" gives "-1,234,567.5"). The
  // result is half-width.
  static int AddComma(const QString& text, QString& out);
  // Removes half-width and full-width commas; the rest must be a number text.
  // The result is the half-width number text.
  static int DeleteComma(const QString& text, QString& out);

  // kHalfKana when the text holds only half-width katakana (U+FF66-U+FF9F,
  // voiced marks included), kFullKana only full-width katakana (U+30A1-U+30FC,
  // long vowel mark included), kMixedKana both, kNotKana anything else or
  // nothing. Blanks between the kana are allowed.
  static int IsKana(const QString& text);

  // True when the text holds only blanks; an empty text counts. Mode 0
  // counts the half-width blank U+0020 and the full-width blank U+3000, any
  // other mode also tabs and line breaks.
  static bool IsSpace(const QString& text, int mode);
};
