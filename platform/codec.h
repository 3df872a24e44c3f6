#pragma once
// Code page 932 (Shift-JIS as Windows writes it) at the boundaries where bytes
// matter: wire formats, INI files written on Windows, byte-limited cuts and
// byte positions in texts. Inside the program text is QString.

#include <QByteArray>
#include <QString>

namespace hv6::cp932 {

// Characters code page 932 lacks become '?', as Windows writes them.
QByteArray encode(const QString& text);
// Whether every character of the text has a code page 932 form.
bool canEncode(const QString& text);
QString decode(const QByteArray& bytes);
// The same; valid gets false when some bytes are no code page 932
// character (they decode to substitutes).
QString decode(const QByteArray& bytes, bool* valid);

// A lead byte of a double-byte character: 0x81-0x9F and 0xE0-0xFC.
bool isLeadByte(unsigned char byte);

// Length of the text in code page 932 bytes.
int byteLength(const QString& text);

// The first at most maxBytes bytes, never ending in half a double-byte
// character.
QByteArray cut(const QByteArray& bytes, int maxBytes);
// The longest prefix of the text whose encoding fits in maxBytes bytes.
QString cutToBytes(const QString& text, int maxBytes);
// The text of the bytes [from, from + count) of the text's encoding.
QString midBytes(const QString& text, int from, int count);

bool isValidUtf8(const QByteArray& bytes);

// The name of the converter in use ("windows-31j", else "Shift_JIS").
QString converterInUse();

}  // namespace hv6::cp932
