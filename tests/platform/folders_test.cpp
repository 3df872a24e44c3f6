#include "platform/folders.h"

#include "tests/support/test_env.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

TEST(Folders, VariablesOverrideEverySpecialFolder) {
  hv6test::TestEnvironment env;
  qputenv("HV6_DOCUMENTS", env.path(QStringLiteral("documents/")).toUtf8());
  EXPECT_EQ(hv6::specialFolder(5), env.path(QStringLiteral("documents")));
  EXPECT_EQ(hv6::specialFolder(28), env.path(QStringLiteral("localdata")));
  EXPECT_EQ(hv6::specialFolder(46), env.path(QStringLiteral("common")));
  EXPECT_EQ(hv6::runtimeFolder(), env.path(QStringLiteral("runtime")));
  EXPECT_EQ(hv6::specialFolder(0), QString());
  EXPECT_EQ(hv6::specialFolder(35), QString());
}

TEST(Folders, WithoutVariablesTheStandardPlacesAreUsed) {
  hv6test::TestEnvironment env;
  qunsetenv("HV6_DOCUMENTS");
  qunsetenv("HV6_LOCALDATA");
  qunsetenv("HV6_COMMON");
  EXPECT_FALSE(hv6::specialFolder(5).isEmpty());
  EXPECT_TRUE(hv6::specialFolder(28).endsWith(QStringLiteral("/hv6")));
  EXPECT_NE(hv6::specialFolder(28), hv6::specialFolder(5));
  EXPECT_EQ(hv6::specialFolder(46), QStringLiteral("/var/lib/hv6/common"));
}

TEST(Folders, WithoutAHomeThereIsNoDocumentsFolder) {
  hv6test::TestEnvironment env;
  qunsetenv("HV6_DOCUMENTS");
  qunsetenv("HOME");
  EXPECT_EQ(hv6::specialFolder(5), QString());
  qputenv("HOME", "/");
  EXPECT_EQ(hv6::specialFolder(5), QString());
  // The variable still names one.
  qputenv("HV6_DOCUMENTS", env.path(QStringLiteral("documents")).toUtf8());
  EXPECT_EQ(hv6::specialFolder(5), env.path(QStringLiteral("documents")));
}

TEST(Folders, AMissingRuntimeFolderIsCreatedForTheUserAlone) {
  hv6test::TestEnvironment env;
  const QString folder = env.path(QStringLiteral("fresh/runtime"));
  qputenv("HV6_RUNTIME", folder.toUtf8());
  EXPECT_EQ(hv6::runtimeFolder(), folder);
  const QFileInfo info(folder);
  ASSERT_TRUE(info.isDir());
  const auto others = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
                      QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
  EXPECT_FALSE(info.permissions() & others);
  EXPECT_TRUE(info.permissions().testFlags(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                           QFileDevice::ExeOwner));
}

TEST(Folders, FreeDiskSpaceOfAFileOrFolderAndNoneOfANothing) {
  hv6test::TestEnvironment env;
  const qint64 folder = hv6::freeDiskSpace(env.root());
  EXPECT_GT(folder, 0);
  // A file not yet made in that folder: the same file system.
  EXPECT_GT(hv6::freeDiskSpace(env.path(QStringLiteral("data.HV6"))), 0);
  EXPECT_EQ(hv6::freeDiskSpace(QStringLiteral("/no/such/folder/at/all/x")), -1);
}

}  // namespace
