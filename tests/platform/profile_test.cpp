#include "platform/profile.h"

#include "platform/codec.h"
#include "tests/platform/child.h"
#include "tests/support/test_env.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

using hv6::GetPrivateProfileInt;
using hv6::GetPrivateProfileString;
using hv6::WritePrivateProfileString;

class ProfileTest : public ::testing::Test {
 protected:
  void SetUp() override { file = env.path(QStringLiteral("wxfetch.ini")); }

  void place(const QByteArray& bytes) {
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(bytes);
  }
  QByteArray contents() const {
    QFile in(file);
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
  }
  QString get(const QString& section, const QString& key, int size = 260) {
    QString out;
    GetPrivateProfileString(section, key, QStringLiteral("none"), out, size, file);
    return out;
  }

  hv6test::TestEnvironment env;
  QString file;
};

TEST_F(ProfileTest, MissingThingsGiveTheDefaultCutToTheBuffer) {
  QString out = QStringLiteral("old");
  EXPECT_EQ(GetPrivateProfileString(QStringLiteral("NETWORK"), QStringLiteral("USER_ID"),
                                    QStringLiteral("abc  "), out, 260, file),
            3);
  EXPECT_EQ(out, QStringLiteral("abc"));  // trailing blanks of the default go
  place("[NETWORK]\nUSER_ID=abcdef\n");
  EXPECT_EQ(GetPrivateProfileString(QStringLiteral("NETWORK"), QStringLiteral("USER_ID"),
                                    QString(), out, 4, file),
            3);
  EXPECT_EQ(out, QStringLiteral("abc"));
  EXPECT_EQ(GetPrivateProfileString(QStringLiteral("NETWORK"), QStringLiteral("USER_ID"),
                                    QString(), out, 0, file),
            0);
  EXPECT_TRUE(out.isEmpty());
  EXPECT_EQ(get(QStringLiteral("OTHER"), QStringLiteral("USER_ID")), QStringLiteral("none"));
  EXPECT_EQ(get(QStringLiteral("NETWORK"), QStringLiteral("AGRI_PW")), QStringLiteral("none"));
}

TEST_F(ProfileTest, LookupIgnoresCaseBlanksQuotesAndComments) {
  place("; settings\r\n"
        "[ Network ]\r\n"
        "  User_Id  =  farm 01  \r\n"
        ";HTTP_SERVER=commented.example\r\n"
        "QUOTED=\"  spaced  \"\r\n"
        "TCPIP_PORT=8080 ; not a comment\r\n"
        "[NETWORK]\r\n"
        "USER_ID=second definition\r\n");
  EXPECT_EQ(get(QStringLiteral("NETWORK"), QStringLiteral("user_id")), QStringLiteral("farm 01"));
  EXPECT_EQ(get(QStringLiteral("network"), QStringLiteral("HTTP_SERVER")), QStringLiteral("none"));
  EXPECT_EQ(get(QStringLiteral("NETWORK"), QStringLiteral("quoted")), QStringLiteral("  spaced  "));
  EXPECT_EQ(get(QStringLiteral("NETWORK"), QStringLiteral("TCPIP_PORT")),
            QStringLiteral("8080 ; not a comment"));
  EXPECT_EQ(hv6::privateProfileSections(file), QStringList{QStringLiteral("Network")});
  EXPECT_EQ(hv6::privateProfileKeys(QStringLiteral("network"), file),
            (QStringList{QStringLiteral("User_Id"), QStringLiteral("QUOTED"),
                         QStringLiteral("TCPIP_PORT")}));
}

TEST_F(ProfileTest, NumbersAreTheLeadingDigits) {
  place("[S]\nA=12abc\nB=-5\nC=abc\nD=\nE= 7 \n");
  const auto number = [&](const char* key) {
    return GetPrivateProfileInt(QStringLiteral("S"), QString::fromLatin1(key), 99, file);
  };
  EXPECT_EQ(number("A"), 12);
  EXPECT_EQ(number("B"), -5);
  EXPECT_EQ(number("C"), 0);
  EXPECT_EQ(number("D"), 99);
  EXPECT_EQ(number("E"), 7);
  EXPECT_EQ(number("Missing"), 99);
}

TEST_F(ProfileTest, WritesCreateAndReplaceKeepingOtherLines) {
  ASSERT_TRUE(WritePrivateProfileString(QStringLiteral("NETWORK"), QStringLiteral("USER_ID"),
                                        QStringLiteral("農家1"), file));
  EXPECT_EQ(contents(), QByteArray("[NETWORK]\nUSER_ID=農家1\n"));
  place("; keep me\n[NETWORK]\nuser_id=old\n; inside\n\n[FILE_INFORMATION]\nVER=1.10\n");
  ASSERT_TRUE(WritePrivateProfileString(QStringLiteral("network"), QStringLiteral("USER_ID"),
                                        QStringLiteral("new"), file));
  ASSERT_TRUE(WritePrivateProfileString(QStringLiteral("NETWORK"), QStringLiteral("AGRI_PW"),
                                        QStringLiteral("pw"), file));
  ASSERT_TRUE(WritePrivateProfileString(QStringLiteral("Added"), QStringLiteral("K"),
                                        QString(), file));
  EXPECT_EQ(contents(), QByteArray("; keep me\n[NETWORK]\nuser_id=new\nAGRI_PW=pw\n; inside\n\n"
                                   "[FILE_INFORMATION]\nVER=1.10\n\n[Added]\nK=\n"));
}

TEST_F(ProfileTest, NoValueDeletesTheKeyAndNoKeyTheSection) {
  place("[A]\nx=1\ny=2\n; about B\n[B]\nz=3\n");
  ASSERT_TRUE(WritePrivateProfileString(QStringLiteral("a"), QStringLiteral("X"), std::nullopt, file));
  EXPECT_EQ(contents(), QByteArray("[A]\ny=2\n; about B\n[B]\nz=3\n"));
  ASSERT_TRUE(WritePrivateProfileString(QStringLiteral("A"), std::nullopt, std::nullopt, file));
  EXPECT_EQ(contents(), QByteArray("[B]\nz=3\n"));
  const QString missing = env.path(QStringLiteral("missing.ini"));
  EXPECT_TRUE(WritePrivateProfileString(QStringLiteral("A"), QStringLiteral("x"), std::nullopt,
                                        missing));
  EXPECT_FALSE(QFile::exists(missing));  // nothing to delete, nothing created
}

TEST_F(ProfileTest, ACp932FileIsReadAndWrittenBackAsCp932) {
  place(hv6::cp932::encode(QStringLiteral("[FILE_INFORMATION]\r\nVER=1.9\r\nNAME=作業日誌ｻﾝﾌﾟﾙ\r\n")));
  EXPECT_EQ(get(QStringLiteral("FILE_INFORMATION"), QStringLiteral("NAME")),
            QStringLiteral("作業日誌ｻﾝﾌﾟﾙ"));
  ASSERT_TRUE(WritePrivateProfileString(QStringLiteral("FILE_INFORMATION"), QStringLiteral("MEMO"),
                                        QStringLiteral("気象データ"), file));
  const QByteArray bytes = contents();
  EXPECT_FALSE(hv6::cp932::isValidUtf8(bytes));
  EXPECT_EQ(bytes, hv6::cp932::encode(QStringLiteral(
                       "[FILE_INFORMATION]\r\nVER=1.9\r\nNAME=作業日誌ｻﾝﾌﾟﾙ\r\nMEMO=気象データ\r\n")));
  // A character code page 932 lacks is refused rather than turned into '?'.
  EXPECT_FALSE(WritePrivateProfileString(QStringLiteral("FILE_INFORMATION"), QStringLiteral("X"),
                                         QStringLiteral("😀"), file));
  EXPECT_EQ(contents(), bytes);
}

TEST_F(ProfileTest, TextThatCannotBeStoredIsRefusedAndChangesNothing) {
  place("[S]\nk=v\n");
  const QString s = QStringLiteral("S");
  EXPECT_FALSE(WritePrivateProfileString(s, QStringLiteral("k"), QStringLiteral("a\nb=c"), file));
  EXPECT_FALSE(WritePrivateProfileString(s, QStringLiteral("a=b"), QStringLiteral("v"), file));
  EXPECT_FALSE(WritePrivateProfileString(s, QStringLiteral("[T]"), QStringLiteral("v"), file));
  EXPECT_FALSE(WritePrivateProfileString(QStringLiteral("x]y"), QStringLiteral("k"), QStringLiteral("v"), file));
  EXPECT_FALSE(WritePrivateProfileString(QString(), QStringLiteral("k"), QStringLiteral("v"), file));
  EXPECT_EQ(contents(), QByteArray("[S]\nk=v\n"));
  const QString unreachable = env.path(QStringLiteral("no/such/folder/a.ini"));
  EXPECT_FALSE(WritePrivateProfileString(s, QStringLiteral("k"), QStringLiteral("v"), unreachable));
  EXPECT_FALSE(QDir(env.path(QStringLiteral("no"))).exists());
}

TEST_F(ProfileTest, TwoProgramsWritingAtOnceLoseNoKey) {
  const int count = 100;
  place("[FILE_INFORMATION]\nVER=1.10\n");
  const QString countText = QString::number(count);
  hv6test::Child a({QStringLiteral("ini"), file, QStringLiteral("NETWORK"), QStringLiteral("A"), countText});
  hv6test::Child b({QStringLiteral("ini"), file, QStringLiteral("NETWORK"), QStringLiteral("B"), countText});
  ASSERT_EQ(a.finish(), 0);
  ASSERT_EQ(b.finish(), 0);
  EXPECT_EQ(hv6::privateProfileKeys(QStringLiteral("NETWORK"), file).size(), 2 * count);
  QStringList lost;
  for (const QString& prefix : {QStringLiteral("A"), QStringLiteral("B")}) {
    for (int i = 0; i < count; ++i) {
      const QString key = prefix + QString::number(i);
      if (get(QStringLiteral("NETWORK"), key) != QStringLiteral("value of ") + key) lost += key;
    }
  }
  EXPECT_TRUE(lost.isEmpty()) << qPrintable(lost.join(u' '));
  EXPECT_EQ(get(QStringLiteral("FILE_INFORMATION"), QStringLiteral("VER")), QStringLiteral("1.10"));

  // What a writer killed midway left is cleared by the next one.
  const QString leftover = env.path(QStringLiteral(".wxfetch.ini.a1B2c3"));
  QFile half(leftover);
  ASSERT_TRUE(half.open(QIODevice::WriteOnly));
  half.write("[NETW");
  half.close();
  ASSERT_TRUE(WritePrivateProfileString(QStringLiteral("NETWORK"), QStringLiteral("USER_ID"),
                                        QStringLiteral("farm"), file));
  EXPECT_FALSE(QFile::exists(leftover));
}

TEST_F(ProfileTest, LinesAWriteDoesNotTouchKeepTheirBytes) {
  // Mostly UTF-8, one byte that is not: the file reads as code page 932,
  // and lines of either kind and either line end come back unchanged.
  const QByteArray original = "; \xe8\xa8\xad\xe5\xae\x9a\r\n"
                              "[NETWORK]\r\n"
                              "USER_ID=\xe3\x81\x82\r\n"
                              "MEMO=\xff\xfe\x80 \xa0\n"
                              "HTTP_SERVER=example.jp\r\n"
                              "\r\n"
                              "[OTHER]\n"
                              "K=\x82\xa0";
  place(original);
  ASSERT_TRUE(WritePrivateProfileString(QStringLiteral("NETWORK"), QStringLiteral("AGRI_PW"),
                                        QStringLiteral("気象"), file));
  QByteArray expected = original;
  expected.replace("example.jp\r\n", "example.jp\r\nAGRI_PW=" +
                                          hv6::cp932::encode(QStringLiteral("気象")) + "\r\n");
  EXPECT_EQ(contents(), expected);
  EXPECT_EQ(get(QStringLiteral("NETWORK"), QStringLiteral("AGRI_PW")), QStringLiteral("気象"));

  // Replacing and deleting touch only their own line.
  ASSERT_TRUE(WritePrivateProfileString(QStringLiteral("network"), QStringLiteral("http_server"),
                                        QStringLiteral("other.jp"), file));
  ASSERT_TRUE(WritePrivateProfileString(QStringLiteral("NETWORK"), QStringLiteral("AGRI_PW"),
                                        std::nullopt, file));
  expected = original;
  expected.replace("example.jp", "other.jp");
  EXPECT_EQ(contents(), expected);
  // A key added after a last line without a line end gives that line one.
  ASSERT_TRUE(WritePrivateProfileString(QStringLiteral("OTHER"), QStringLiteral("L"),
                                        QStringLiteral("1"), file));
  EXPECT_EQ(contents(), expected + "\r\nL=1\r\n");
}

TEST_F(ProfileTest, ANewFileIsPrivateAndAnExistingOneKeepsItsMode) {
  ASSERT_TRUE(WritePrivateProfileString(QStringLiteral("NETWORK"), QStringLiteral("AGRI_PW"),
                                        QStringLiteral("secret"), file));
  EXPECT_EQ(QFileInfo(file).permissions(),
            QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
  const QFile::Permissions shared = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser |
                                    QFile::WriteUser | QFile::ReadGroup | QFile::ReadOther;
  ASSERT_TRUE(QFile::setPermissions(file, shared));
  ASSERT_TRUE(WritePrivateProfileString(QStringLiteral("NETWORK"), QStringLiteral("USER_ID"),
                                        QStringLiteral("farm"), file));
  EXPECT_EQ(QFileInfo(file).permissions(), shared);
}

}  // namespace
