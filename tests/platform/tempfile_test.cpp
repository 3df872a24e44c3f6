#include "platform/syserror.h"
#include "platform/tempfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>

namespace {

TEST(TempFile, EachCallMakesANewEmptyPrivateFileWithThePrefix) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const hv6::TempFileResult first = hv6::createTempFile(dir.path(), QStringLiteral("IWDX"));
  const hv6::TempFileResult second = hv6::createTempFile(dir.path(), QStringLiteral("IWD"));
  ASSERT_TRUE(first.ok() && second.ok());
  EXPECT_NE(first.path, second.path);
  for (const QString& path : {first.path, second.path}) {
    const QFileInfo info(path);
    EXPECT_EQ(info.absolutePath(), QDir(dir.path()).absolutePath());
    EXPECT_TRUE(info.fileName().startsWith(QStringLiteral("IWD")));
    EXPECT_FALSE(info.fileName().startsWith(QStringLiteral("IWDX")));  // three characters of it
    EXPECT_TRUE(info.fileName().endsWith(QStringLiteral(".TMP")));
    EXPECT_TRUE(info.isFile());
    EXPECT_EQ(info.size(), 0);
    EXPECT_EQ(info.permissions() & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions());
  }
}

TEST(TempFile, AMissingOrUnwritableFolderGivesTheSystemError) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const hv6::TempFileResult missing =
      hv6::createTempFile(dir.filePath(QStringLiteral("none")), QStringLiteral("IWD"));
  EXPECT_FALSE(missing.ok());
  EXPECT_EQ(missing.error, ENOENT);
  EXPECT_TRUE(missing.path.isEmpty());
  EXPECT_EQ(hv6::windowsErrorText(hv6::windowsErrorFromErrno(missing.error)),
            QStringLiteral("The system cannot find the file specified."));

  const hv6::TempFileResult noFolder = hv6::createTempFile(QString(), QStringLiteral("IWD"));
  EXPECT_EQ(noFolder.error, ENOENT);

  const QString locked = dir.filePath(QStringLiteral("locked"));
  ASSERT_TRUE(QDir().mkdir(locked));
  ASSERT_TRUE(QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner));
  const hv6::TempFileResult denied = hv6::createTempFile(locked, QStringLiteral("IWD"));
  if (QFileInfo(locked).isWritable()) GTEST_SKIP() << "running with rights that ignore modes";
  EXPECT_EQ(denied.error, EACCES);
  EXPECT_EQ(QDir(locked).entryList(QDir::Files), QStringList());
}

}  // namespace
