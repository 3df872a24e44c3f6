#pragma once
// Number and text conversion of the sales windows.
//
// Blanks are the half-width U+0020 and the full-width U+3000. Byte lengths
// are those of the code page 932 encoding, the form the slips' fixed-width
// fields were measured in.

#include <QString>

namespace sl {

class CConv {
 public:
  // A number with `decimals` places (0-9, rounded half up) and thousands
  // separators: CommaStr(-1234567.5, 0) is "-1,234,568". Empty when the
  // value cannot be written (not finite, 1e15 or more).
  static QString CommaStr(double value, int decimals = 0);
  // The same without separators ("-1234568").
  static QString NotCommaStr(double value, int decimals = 0);

  // Copies the longest start of `source` that fits in `length` bytes, never
  // half a double-byte character, into `destination`. Returns the bytes
  // copied.
  static int KanjiCopy(QString& destination, const QString& source, short length);

  // The text without trailing (DelAfterSpace) or leading (DelBeforeSpace)
  // blanks.
  static QString DelAfterSpace(const QString& text);
  static QString DelBeforeSpace(const QString& text);

  // A postal code as "123-4567": seven digits (half- or full-width, with or
  // without the hyphen) are written so; any other text comes back trimmed.
  static QString ConvPostCode(const QString& text);

  // A code as the slips keep it: without surrounding blanks, right-aligned
  // to `width` characters with blanks on the left, lower-case a-z made
  // capitals. A longer code is returned whole.
  static QString ConvCodeString(const QString& code, int width = 13);
};

}  // namespace sl
