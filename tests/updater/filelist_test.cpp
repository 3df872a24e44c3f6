// The file list and the version order.
#include "platform/codec.h"
#include "tests/updater/updater_fixture.h"
#include "updater/filelist.h"
#include "updater/version.h"

namespace {

using hv6::updater::compareVersions;
using hv6::updater::fileCountOf;
using hv6::updater::fileKey;
using hv6::updater::readFileList;
using hv6::updater::relativePath;

using FileListTest = hv6test::UpdaterTest;

TEST(FileListKeys, KeysAndCountsAsTheListIsWritten) {
  EXPECT_EQ(fileKey(1), QStringLiteral("File01"));
  EXPECT_EQ(fileKey(99), QStringLiteral("File99"));
  EXPECT_EQ(fileKey(100), QStringLiteral("File100"));

  EXPECT_EQ(fileCountOf(QStringLiteral("5")), 5);
  EXPECT_EQ(fileCountOf(QStringLiteral(" 12 files")), 12);
  EXPECT_EQ(fileCountOf(QStringLiteral("five")), 0);
  EXPECT_EQ(fileCountOf(QString()), 0);
  EXPECT_EQ(fileCountOf(QStringLiteral("-3")), -3);
  EXPECT_EQ(fileCountOf(QStringLiteral("65537")), 1);        // 16 bits
  EXPECT_EQ(fileCountOf(QStringLiteral("40000")), -25536);   // a negative count
}

TEST(FileListKeys, NamesThatLeaveTheFolderAreRefused) {
  EXPECT_EQ(relativePath(QStringLiteral("hv6")), QStringLiteral("hv6"));
  EXPECT_EQ(relativePath(QStringLiteral("hv6.chm\\10000.html")), QStringLiteral("hv6.chm/10000.html"));
  EXPECT_EQ(relativePath(QStringLiteral("./help//a.html")), QStringLiteral("help/a.html"));
  EXPECT_EQ(relativePath(QStringLiteral("a..b")), QStringLiteral("a..b"));
  for (const char* name : {"", "/etc/passwd", "\\etc\\passwd", "C:\\hv6\\hv6.exe", "c:hv6",
                           "..", "../hv6", "..\\hv6", "help/../../hv6", "help\\..\\hv6", "./",
                           "."})
    EXPECT_TRUE(relativePath(QString::fromLatin1(name)).isEmpty()) << name;
}

// Values are cut as the reads' buffers cut them; reading the names stops
// at the first one missing.
TEST_F(FileListTest, ValuesAreCutToTheirBuffers) {
  const QString longName = QString(120, u'n');
  writeFileList(QStringLiteral("6.05.00.0001"), QStringLiteral("6.05.01"),
                {QStringLiteral("a"), longName, QStringLiteral("c")}, QStringLiteral("5"));
  const hv6::updater::FileList list = readFileList(pack);
  EXPECT_EQ(list.minVersion, QStringLiteral("6.05.00.0"));
  EXPECT_EQ(list.maxVersion, QStringLiteral("6.05.01"));
  EXPECT_EQ(list.fileCount, 5);
  EXPECT_EQ(list.names, (QStringList{QStringLiteral("a"), longName.left(99), QStringLiteral("c")}));

  writeFileList(QByteArray());
  const hv6::updater::FileList empty = readFileList(pack);
  EXPECT_EQ(empty.fileCount, 0);
  EXPECT_TRUE(empty.minVersion.isEmpty() && empty.names.isEmpty());
}

// A list written on Windows is code page 932, with "\" between folders.
TEST_F(FileListTest, AListWrittenOnWindowsNamesItsFiles) {
  writeFileList(hv6::cp932::encode(
      QStringLiteral("[FILELIST]\r\nminversion=6.05.00\r\nMaxVersion=6.05.01\r\nFileCount=1\r\n"
                     "File01=帳票\\作業日誌.ini\r\n")));
  const hv6::updater::FileList list = readFileList(pack);
  ASSERT_EQ(list.names, QStringList{QStringLiteral("帳票\\作業日誌.ini")});
  EXPECT_EQ(relativePath(list.names.front()), QStringLiteral("帳票/作業日誌.ini"));
  EXPECT_EQ(list.minVersion, QStringLiteral("6.05.00"));
}

TEST(VersionOrder, NumbersCompareAsNumbersAndTextAsText) {
  // Versions of numbers compare as numbers.
  EXPECT_GT(compareVersions(QStringLiteral("6.10.00"), QStringLiteral("6.9.00")), 0);
  EXPECT_LT(compareVersions(QStringLiteral("6.9.00"), QStringLiteral("6.10.00")), 0);
  EXPECT_EQ(compareVersions(QStringLiteral("6.05.01"), QStringLiteral("6.5.1")), 0);
  EXPECT_LT(compareVersions(QStringLiteral("6.05"), QStringLiteral("6.05.00")), 0);
  EXPECT_GT(compareVersions(QStringLiteral("10.0"), QStringLiteral("9.99")), 0);
  EXPECT_GT(compareVersions(QStringLiteral("6.00000000000000000002"), QStringLiteral("6.1")), 0);
  // Anything else: bytes, a prefix being smaller.
  EXPECT_LT(compareVersions(QStringLiteral("6.05.01"), QStringLiteral("6.05.01b")), 0);
  EXPECT_GT(compareVersions(QStringLiteral("6.1a"), QStringLiteral("6.09")), 0);
  EXPECT_LT(compareVersions(QStringLiteral("6.10.00b"), QStringLiteral("6.9.00")), 0);
  EXPECT_GT(compareVersions(QStringLiteral("6.05.01"), QString()), 0);
  EXPECT_LT(compareVersions(QString(), QStringLiteral("6.05.01")), 0);
  EXPECT_LT(compareVersions(QStringLiteral("6..1"), QStringLiteral("6.0")), 0);  // '.' < '0'
  EXPECT_GT(compareVersions(QStringLiteral("ver\u00e9"), QStringLiteral("verz")), 0);  // unsigned bytes
}

// Versions of this system's form keep the order the text comparison gave.
TEST(VersionOrder, TheSystemsFormKeepsTheTextOrder) {
  const QStringList versions = {QStringLiteral("6.00.00"), QStringLiteral("6.04.10"),
                                QStringLiteral("6.05.00"), QStringLiteral("6.05.01"),
                                QStringLiteral("6.05.09"), QStringLiteral("6.10.00"),
                                QStringLiteral("7.00.00")};
  const auto sign = [](int value) { return (value > 0) - (value < 0); };
  for (const QString& a : versions)
    for (const QString& b : versions)
      EXPECT_EQ(sign(compareVersions(a, b)), sign(a.toUtf8().compare(b.toUtf8())))
          << qPrintable(a) << " " << qPrintable(b);
}

}  // namespace
