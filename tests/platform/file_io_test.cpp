#include "platform/file_io.h"

#include "tests/support/test_env.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

namespace fileio = hv6::fileio;

QByteArray contentOf(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

class FileIoTest : public ::testing::Test {
 protected:
  hv6test::TestEnvironment env;
};

// A new file gets exactly the mode asked for (not narrowed by the umask),
// takes the place of a file of that name, and a failure leaves no file.
TEST_F(FileIoTest, ANewFileIsWrittenWholeWithItsMode) {
  const QString path = env.path(QStringLiteral("copy.new"));
  ASSERT_TRUE(QFile(path).open(QIODevice::WriteOnly));  // a leftover, mode 0644 or so
  const fileio::WriteResult written = fileio::writeNewFile(path, "program bytes", 0775);
  ASSERT_TRUE(written.ok) << qPrintable(written.error);
  EXPECT_EQ(contentOf(path), QByteArray("program bytes"));
  EXPECT_EQ(fileio::permissionBits(path), 0775);

  const QString nowhere = env.path(QStringLiteral("missing/copy.new"));
  const fileio::WriteResult refused = fileio::writeNewFile(nowhere, "x", 0644);
  EXPECT_FALSE(refused.ok);
  EXPECT_TRUE(refused.error.contains(nowhere)) << qPrintable(refused.error);
  EXPECT_EQ(fileio::permissionBits(nowhere), -1);
}

TEST_F(FileIoTest, ARenameReplacesTheTargetAndFailsWithoutTheSource) {
  const QString from = env.path(QStringLiteral("new"));
  const QString to = env.path(QStringLiteral("old"));
  ASSERT_TRUE(fileio::writeNewFile(from, "new", 0644).ok);
  ASSERT_TRUE(fileio::writeNewFile(to, "old", 0600).ok);
  ASSERT_TRUE(fileio::renameOver(from, to).ok);
  EXPECT_EQ(contentOf(to), QByteArray("new"));
  EXPECT_EQ(fileio::permissionBits(to), 0644);
  EXPECT_FALSE(QFileInfo::exists(from));
  EXPECT_FALSE(fileio::renameOver(from, to).ok);
  EXPECT_EQ(contentOf(to), QByteArray("new"));
}

void put(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

TEST(ExchangePathsTest, TwoFoldersTradeTheirContentAndAMissingOneChangesNothing) {
  QTemporaryDir dir;
  const QString a = dir.filePath(QStringLiteral("データ"));
  const QString b = dir.filePath(QStringLiteral(".staging"));
  ASSERT_TRUE(QDir().mkpath(a));
  ASSERT_TRUE(QDir().mkpath(b));
  put(a + QStringLiteral("/f"), "old");
  put(b + QStringLiteral("/f"), "new");

  QString error;
  ASSERT_TRUE(hv6::fileio::exchangePaths(b, a, &error)) << error.toStdString();
  EXPECT_EQ(contentOf(a + QStringLiteral("/f")), QByteArray("new"));
  EXPECT_EQ(contentOf(b + QStringLiteral("/f")), QByteArray("old"));

  EXPECT_FALSE(hv6::fileio::exchangePaths(dir.filePath(QStringLiteral("none")), a, &error));
  EXPECT_FALSE(error.isEmpty());
  EXPECT_EQ(contentOf(a + QStringLiteral("/f")), QByteArray("new"));
}

TEST(SyncFileSystemTest, AFolderIsSyncedAndAMissingOneIsReported) {
  QTemporaryDir dir;
  put(dir.filePath(QStringLiteral("written")), "bytes");
  EXPECT_TRUE(hv6::fileio::syncFileSystemOf(dir.path()));
  EXPECT_FALSE(hv6::fileio::syncFileSystemOf(dir.filePath(QStringLiteral("missing"))));
}

}  // namespace
