#include "platform/codec.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <gtest/gtest.h>

namespace {

namespace cp932 = hv6::cp932;

// ASCII, half-width katakana and double-byte characters whose second byte
// lies in the lead range (メ 83 81, ＝ 81 81) or is a backslash (ソ 83 5C).
const QString kMixed = QStringLiteral("A作業ｱｲメ＝ソ表1日誌ﾞ\\＼～");

TEST(Codec, BothConverterNamesExistAndTheWindowsOneIsUsed) {
  for (const char* name : {"windows-31j", "Shift_JIS"}) {
    EXPECT_TRUE(QStringEncoder(name).isValid()) << name;
    EXPECT_TRUE(QStringDecoder(name).isValid()) << name;
  }
  EXPECT_EQ(cp932::converterInUse(), QStringLiteral("windows-31j"));
}

TEST(Codec, EncodesAsWindowsDoes) {
  EXPECT_EQ(cp932::encode(QStringLiteral("\\～①㈱")), QByteArray("\x5c\x81\x60\x87\x40\x87\x8a"));
  EXPECT_EQ(cp932::encode(QStringLiteral("ｱﾞ")), QByteArray("\xb1\xde"));
  EXPECT_EQ(cp932::byteLength(QStringLiteral("ｱｲｳ")), 3);
  EXPECT_EQ(cp932::byteLength(QStringLiteral("作業a")), 5);
  EXPECT_EQ(cp932::encode(QStringLiteral("a😀b")), QByteArray("a?b"));
  EXPECT_FALSE(cp932::canEncode(QStringLiteral("a😀b")));
  EXPECT_TRUE(cp932::canEncode(kMixed));
  EXPECT_EQ(cp932::decode(cp932::encode(kMixed)), kMixed);
}

TEST(Codec, LeadBytesAreTheTwoRanges) {
  for (int byte = 0; byte < 256; ++byte) {
    const bool lead = (byte >= 0x81 && byte <= 0x9f) || (byte >= 0xe0 && byte <= 0xfc);
    EXPECT_EQ(cp932::isLeadByte(static_cast<unsigned char>(byte)), lead) << byte;
  }
}

TEST(Codec, ACutAtAnyByteNeverEndsInHalfACharacter) {
  const QByteArray bytes = cp932::encode(kMixed);
  for (int max = 0; max <= bytes.size() + 1; ++max) {
    const QByteArray cut = cp932::cut(bytes, max);
    ASSERT_TRUE(bytes.startsWith(cut)) << max;
    EXPECT_LE(cut.size(), max);
    EXPECT_GE(cut.size(), std::min<qsizetype>(max, bytes.size()) - 1) << max;
    const QString text = cp932::decode(cut);
    EXPECT_TRUE(kMixed.startsWith(text)) << max;
    EXPECT_EQ(cp932::encode(text), cut) << max;
    EXPECT_EQ(cp932::cutToBytes(kMixed, max), text) << max;
  }
  EXPECT_EQ(cp932::cut(QByteArray("ab\x83"), 10), QByteArray("ab"));  // a lone lead byte
  EXPECT_EQ(cp932::cut(bytes, -1), QByteArray());
}

TEST(Codec, MidBytesLeavesOutCharactersCutByTheRange) {
  const QString text = QStringLiteral("ab作業ｱ日");  // bytes: a b 作作 業業 ｱ 日日
  EXPECT_EQ(cp932::midBytes(text, 0, 2), QStringLiteral("ab"));
  EXPECT_EQ(cp932::midBytes(text, 2, 4), QStringLiteral("作業"));
  EXPECT_EQ(cp932::midBytes(text, 3, 4), QStringLiteral("業ｱ"));
  EXPECT_EQ(cp932::midBytes(text, 1, 2), QStringLiteral("b"));
  EXPECT_EQ(cp932::midBytes(text, 6, 100), QStringLiteral("ｱ日"));
  EXPECT_EQ(cp932::midBytes(text, 20, 5), QString());
  EXPECT_EQ(cp932::cutToBytes(QStringLiteral("a😀b"), 2), QStringLiteral("a😀"));
}

TEST(Codec, DecodingTellsBytesThatAreNoCharacter) {
  bool valid = false;
  EXPECT_EQ(cp932::decode(cp932::encode(kMixed), &valid), kMixed);
  EXPECT_TRUE(valid);
  // A lone 0xFF, a lead byte before a blank, an unassigned pair, a lead
  // byte cut off at the end.
  for (const char* bad : {"a\xff" "b", "a\x81 b", "\x85\x40", "ab\x82"}) {
    valid = true;
    cp932::decode(QByteArray(bad), &valid);
    EXPECT_FALSE(valid) << bad;
  }
}

TEST(Codec, Utf8ValidationRejectsEveryMalformedForm) {
  EXPECT_TRUE(cp932::isValidUtf8(QByteArray()));
  EXPECT_TRUE(cp932::isValidUtf8(QStringLiteral("作業日誌 ｱ 😀").toUtf8()));
  for (const char* bad : {"\xc0\x80", "\xed\xa0\x80", "\xf4\x90\x80\x80", "ab\xe3\x81",
                          "\x80", "\x82\xa0", "\xe0\x80\x80", "\xf8\x88\x80\x80\x80"})
    EXPECT_FALSE(cp932::isValidUtf8(QByteArray(bad))) << bad;
  EXPECT_FALSE(cp932::isValidUtf8(cp932::encode(QStringLiteral("作業日誌"))));
}

}  // namespace
