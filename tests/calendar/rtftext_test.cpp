// The plain text of rich-text documents: what the farm diary shows.

#include "calendar/rtftext.h"
#include "platform/codec.h"

#include <gtest/gtest.h>

namespace {

using hv6::rtf::oneLine;
using hv6::rtf::plainText;

// Code page 932 bytes of a text as \'hh escapes.
QByteArray escaped(const QString& text) {
  QByteArray out;
  for (char byte : hv6::cp932::encode(text))
    out += "\\'" + QByteArray::number(static_cast<unsigned char>(byte), 16).rightJustified(2, '0');
  return out;
}

QString textOf(const QByteArray& rtf) { return plainText(rtf).value_or(QStringLiteral("<none>")); }

TEST(RtfText, JapaneseEscapesDecodeAsCodePage932) {
  const QByteArray rtf = "{\\rtf1\\ansi\\ansicpg932 " + escaped(QStringLiteral("稲刈り")) +
                         "ok\\par " + escaped(QStringLiteral("晴れ")) + "}";
  EXPECT_EQ(textOf(rtf), QStringLiteral("稲刈りok\n晴れ"));
  // A trail byte written as a plain character, a character split by the
  // edge of a formatting group, upper-case hex.
  EXPECT_EQ(textOf("{\\rtf1 \\'93c{\\b \\'90}A\\'82\\'A0}"), QStringLiteral("田植あ"));
}

TEST(RtfText, UnicodeCharactersSkipTheirFallback) {
  // \uc1 (default): one fallback character; \uc2: two escapes.
  EXPECT_EQ(textOf("{\\rtf1 \\u31282?\\u-26000?x}"), QString(QChar(31282)) + QChar(39536) +
                                                          QStringLiteral("x"));
  EXPECT_EQ(textOf("{\\rtf1\\uc2 \\u12354\\'82\\'a0b}"), QStringLiteral("あb"));
  EXPECT_EQ(textOf("{\\rtf1{\\uc0 \\u12354}\\u12356 ?c}"), QStringLiteral("あいc"));
  // A surrogate pair as two \u.
  EXPECT_EQ(textOf("{\\rtf1 \\u-10180?\\u-8391?}"), QStringLiteral("\U0001F339"));
}

TEST(RtfText, DestinationsAndFormattingGiveNoText) {
  const QByteArray rtf =
      "{\\rtf1\\ansi{\\fonttbl{\\f0\\fnil\\fcharset128 MS Gothic;}}{\\colortbl;\\red0\\green0\\blue0;}"
      "{\\stylesheet{\\s0 Normal;}}{\\info{\\title T}{\\author A}}{\\*\\generator Riched20;}"
      "{\\*\\unknowndest hidden}\\viewkind4\\uc1\\pard\\f0\\fs21\\b bold\\b0  text"
      "{\\pict\\wmetafile8 0123abcd}{\\header head}\\bin3 {}}x\\par}";
  EXPECT_EQ(textOf(rtf), QStringLiteral("bold textx\n"));
}

TEST(RtfText, SymbolsAndBreaks) {
  EXPECT_EQ(textOf("{\\rtf1 a\\~b\\-c\\_d\\{e\\}f\\\\g}"), QStringLiteral("a bc-d{e}f\\g"));
  EXPECT_EQ(textOf("{\\rtf1 one\\line two\\tab three\r\n\\par\nfour}"),
            QStringLiteral("one\ntwo\tthree\nfour"));
  EXPECT_EQ(textOf("{\\rtf1 \\ldblquote q\\rdblquote\\emdash}"), QStringLiteral("\u201cq\u201d\u2014"));
}

TEST(RtfText, NotRtfOrDamagedGivesNothing) {
  EXPECT_FALSE(plainText("plain text"));
  EXPECT_FALSE(plainText(" {\\rtf1 x}"));
  EXPECT_FALSE(plainText(""));
  EXPECT_FALSE(plainText("{\\rtf1 unclosed"));
  EXPECT_FALSE(plainText("{\\rtf1 cut \\'8"));
  EXPECT_FALSE(plainText("{\\rtf1 bad \\'zz}"));
  EXPECT_FALSE(plainText("{\\rtf1 end\\"));
  EXPECT_FALSE(plainText("{\\rtf1 \\bin99 ab}"));
  // Whatever follows the document's closing brace is not read.
  EXPECT_EQ(textOf("{\\rtf1 done}\r\n}}garbage"), QStringLiteral("done"));
}

TEST(RtfText, OneLineJoinsLinesAndCuts) {
  EXPECT_EQ(oneLine(QStringLiteral("天気：晴れ\n\n  作業\tした \n"), 40),
            QStringLiteral("天気：晴れ 作業 した"));
  const QString long50 = QString(50, QChar(u'あ'));
  EXPECT_EQ(oneLine(long50, 40), QString(40, QChar(u'あ')));
  EXPECT_EQ(oneLine(QString(39, QChar(u'a')) + QStringLiteral("\U0001F339"), 40),
            QString(39, QChar(u'a')));
  EXPECT_EQ(oneLine(QStringLiteral("\n \n"), 40), QString());
}

}  // namespace
