#include "outside/sl_lib/conv.h"

#include "outside/vqbase106/vqmath.h"
#include "platform/codec.h"

namespace sl {
namespace {

bool isBlank(QChar c) { return c == u' ' || c == QChar(0x3000); }

QString number(double value, int decimals, int comma) {
  QString out;
  if (CVqmath::MathtoChar(value, out, comma, decimals, CVqmath::kRoundHalfUp) != 0) return {};
  return out;
}

}  // namespace

QString CConv::CommaStr(double value, int decimals) { return number(value, decimals, 1); }

QString CConv::NotCommaStr(double value, int decimals) { return number(value, decimals, 0); }

int CConv::KanjiCopy(QString& destination, const QString& source, short length) {
  destination = hv6::cp932::cutToBytes(source, length < 0 ? 0 : length);
  return hv6::cp932::byteLength(destination);
}

QString CConv::DelAfterSpace(const QString& text) {
  qsizetype end = text.size();
  while (end > 0 && isBlank(text.at(end - 1))) --end;
  return text.left(end);
}

QString CConv::DelBeforeSpace(const QString& text) {
  qsizetype start = 0;
  while (start < text.size() && isBlank(text.at(start))) ++start;
  return text.mid(start);
}

QString CConv::ConvPostCode(const QString& text) {
  const QString trimmed = DelBeforeSpace(DelAfterSpace(text));
  QString digits;
  for (const QChar c : trimmed) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9') digits += c;
    else if (u >= 0xFF10 && u <= 0xFF19) digits += QChar(u'0' + (u - 0xFF10));
    else if ((u == u'-' || u == 0xFF0D || u == 0x30FC) && digits.size() == 3) continue;
    else return trimmed;
  }
  if (digits.size() != 7) return trimmed;
  return digits.left(3) + u'-' + digits.mid(3);
}

QString CConv::ConvCodeString(const QString& code, int width) {
  QString result = DelBeforeSpace(DelAfterSpace(code));
  for (QChar& c : result)
    if (c >= u'a' && c <= u'z') c = QChar(c.unicode() - u'a' + u'A');
  return result.rightJustified(width, u' ');
}

}  // namespace sl
