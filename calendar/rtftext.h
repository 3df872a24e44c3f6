#pragma once
// Plain text of a rich-text (RTF) document as the farm diary writes it:
// control words, groups, destinations that hold no text, code page 932
// bytes in \'hh escapes and Unicode characters in \uN.

#include <QByteArray>
#include <QString>

#include <optional>

namespace hv6::rtf {

// The document's text, paragraphs and line breaks as '\n', tabs as '\t'.
// Nothing when the bytes do not begin with "{\rtf" or the document is
// damaged (unbalanced groups, a cut-off escape or binary run).
std::optional<QString> plainText(const QByteArray& document);

// The text on one line: its non-empty lines trimmed and joined by a blank,
// tabs as blanks, cut to at most maxChars characters (never in the middle
// of a surrogate pair).
QString oneLine(const QString& plain, int maxChars);

}  // namespace hv6::rtf
