#include "outside/vqbase106/vqpath.h"

#include "tests/support/test_env.h"

#include <gtest/gtest.h>

namespace {

TEST(CVqPath, SpecialFoldersWithoutTrailingSeparator) {
  hv6test::TestEnvironment env;
  const struct {
    int id;
    const char* folder;
  } cases[] = {{5, "documents"}, {28, "localdata"}, {46, "common"}};
  for (const auto& c : cases) {
    QString out;
    ASSERT_EQ(CVqPath::GetSpFolder(out, c.id), 0) << c.id;
    EXPECT_EQ(out, env.path(QString::fromLatin1(c.folder))) << c.id;
  }
  QString out = QStringLiteral("kept");
  EXPECT_NE(CVqPath::GetSpFolder(out, 35), 0);
  EXPECT_EQ(out, QStringLiteral("kept"));
}

TEST(CVqPath, JoinTakesWindowsSeparators) {
  EXPECT_EQ(CVqPath::Join(QStringLiteral("/home/u/Documents"), QStringLiteral("Velqor\\HV6P\\")),
            QStringLiteral("/home/u/Documents/Velqor/HV6P/"));
  EXPECT_EQ(CVqPath::Join(QStringLiteral("/home/u/Documents/"), QStringLiteral("\\wxfetch.ini")),
            QStringLiteral("/home/u/Documents/wxfetch.ini"));
  EXPECT_EQ(CVqPath::Join(QStringLiteral("/"), QStringLiteral("a\\b")), QStringLiteral("/a/b"));
  EXPECT_EQ(CVqPath::Join(QStringLiteral("/data"), QString()), QStringLiteral("/data"));
  EXPECT_EQ(CVqPath::Join(QString(), QStringLiteral("a\\b")), QStringLiteral("a/b"));
}

}  // namespace
