#include "platform/codec.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace hv6::cp932 {
namespace {

constexpr auto kStateless = QStringConverter::Flag::Stateless;

// Windows' code page 932 is Windows-31J; ICU also knows it as Shift_JIS.
const char* converterName() {
  static const char* const name = [] {
    for (const char* candidate : {"windows-31j", "Shift_JIS"})
      if (QStringEncoder(candidate).isValid()) return candidate;
    qWarning("hv6: no converter for code page 932");
    return "windows-31j";
  }();
  return name;
}

// Byte length of one character at the start of bytes[pos...].
int charLength(const QByteArray& bytes, qsizetype pos) {
  return isLeadByte(static_cast<unsigned char>(bytes.at(pos))) ? 2 : 1;
}

// Unencodable characters become '?', as Windows writes them.
QByteArray encodeCodePoint(QStringEncoder& encoder, QStringView codePoint) {
  QByteArray bytes = encoder.encode(codePoint);
  if (encoder.hasError()) {
    encoder = QStringEncoder(converterName(), kStateless);  // a reset keeps the error flag
    return QByteArrayLiteral("?");
  }
  return bytes;
}

// Length of the code point starting at text[i] in UTF-16 units.
qsizetype codePointUnits(const QString& text, qsizetype i) {
  const bool pair = text.at(i).isHighSurrogate() && i + 1 < text.size() &&
                    text.at(i + 1).isLowSurrogate();
  return pair ? 2 : 1;
}

// Calls visit(start, units, encoded) for each code point until it returns
// false.
template <typename Visit>
void forEachCodePoint(const QString& text, Visit visit) {
  QStringEncoder encoder(converterName(), kStateless);
  for (qsizetype i = 0; i < text.size();) {
    const qsizetype units = codePointUnits(text, i);
    if (!visit(i, units, encodeCodePoint(encoder, QStringView(text).mid(i, units)))) return;
    i += units;
  }
}

int utf8SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

// Second byte ranges that exclude overlong forms, surrogates and values
// above U+10FFFF.
bool validSecondByte(unsigned char lead, unsigned char second) {
  if (lead == 0xE0) return second >= 0xA0 && second <= 0xBF;
  if (lead == 0xED) return second >= 0x80 && second <= 0x9F;
  if (lead == 0xF0) return second >= 0x90 && second <= 0xBF;
  if (lead == 0xF4) return second >= 0x80 && second <= 0x8F;
  return (second & 0xC0) == 0x80;
}

bool validUtf8Sequence(const unsigned char* p, int length) {
  if (length == 1) return true;
  if (!validSecondByte(p[0], p[1])) return false;
  for (int k = 2; k < length; ++k)
    if ((p[k] & 0xC0) != 0x80) return false;
  return true;
}

}  // namespace

QByteArray encode(const QString& text) {
  QStringEncoder encoder(converterName(), kStateless);
  QByteArray bytes = encoder.encode(text);
  if (!encoder.hasError()) return bytes;
  bytes.clear();
  forEachCodePoint(text, [&](qsizetype, qsizetype, const QByteArray& encoded) {
    bytes += encoded;
    return true;
  });
  return bytes;
}

bool canEncode(const QString& text) {
  QStringEncoder encoder(converterName(), kStateless);
  const QByteArray bytes = encoder.encode(text);  // converts only when assigned
  (void)bytes;
  return !encoder.hasError();
}

QString decode(const QByteArray& bytes) { return decode(bytes, nullptr); }

QString decode(const QByteArray& bytes, bool* valid) {
  QStringDecoder decoder(converterName(), kStateless);
  QString text = decoder.decode(bytes);
  if (valid) *valid = !decoder.hasError();
  return text;
}

bool isLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

int byteLength(const QString& text) { return int(encode(text).size()); }

QByteArray cut(const QByteArray& bytes, int maxBytes) {
  // A trail byte may lie in the lead range, so characters are counted from
  // the start.
  qsizetype end = 0;
  while (end < bytes.size()) {
    const qsizetype next = end + charLength(bytes, end);
    if (next > maxBytes || next > bytes.size()) break;
    end = next;
  }
  return bytes.left(end);
}

QString cutToBytes(const QString& text, int maxBytes) {
  qsizetype units = 0;
  int used = 0;
  forEachCodePoint(text, [&](qsizetype, qsizetype charUnits, const QByteArray& encoded) {
    const auto length = int(encoded.size());
    if (used + length > maxBytes) return false;
    used += length;
    units += charUnits;
    return true;
  });
  return text.left(units);
}

QString midBytes(const QString& text, int from, int count) {
  // Characters that lie only partly inside the range are left out.
  QString out;
  int position = 0;
  const qint64 end = qint64(from) + count;
  forEachCodePoint(text, [&](qsizetype start, qsizetype units, const QByteArray& encoded) {
    const auto length = int(encoded.size());
    if (position >= from && position + length <= end) out += QStringView(text).mid(start, units);
    position += length;
    return position < end;
  });
  return out;
}

bool isValidUtf8(const QByteArray& bytes) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
  const qsizetype size = bytes.size();
  for (qsizetype i = 0; i < size;) {
    const int length = utf8SequenceLength(p[i]);
    if (length == 0 || i + length > size || !validUtf8Sequence(p + i, length)) return false;
    i += length;
  }
  return true;
}

QString converterInUse() { return QString::fromLatin1(converterName()); }

}  // namespace hv6::cp932
