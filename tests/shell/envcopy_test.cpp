#include "shell/envcopy.h"

#include "shell/appregistry.h"
#include "tests/support/test_env.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

using hv6::AppRegistry;
using hv6::RegistryStore;

constexpr QFile::Permissions kMode0700 = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
constexpr QFile::Permissions kMode0600 = QFile::ReadOwner | QFile::WriteOwner;
constexpr QFile::Permissions kMode0666 =
    kMode0600 | QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther;
constexpr QFile::Permissions kMode0755 =
    kMode0700 | QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
constexpr QFile::Permissions kMode0777 =
    kMode0666 | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
constexpr QFile::Permissions kModeMask = kMode0777;

QFile::Permissions modeOf(const QString& path) { return QFileInfo(path).permissions() & kModeMask; }

void writeFile(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(bytes);
}

QByteArray readFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray versioned(const char* version, const char* body) {
  QByteArray bytes("[FILE_INFORMATION]\n");
  if (version) bytes += QByteArray("VER=") + version + "\n";
  return bytes + "[BODY]\nTEXT=" + body + "\n";
}

class CopyRuleTest : public ::testing::Test {
 protected:
  hv6test::TestEnvironment env;
  QString source = env.path(QStringLiteral("from/file.ini"));
  QString target = env.path(QStringLiteral("to/file.ini"));

  void SetUp() override { QDir().mkpath(env.path(QStringLiteral("to"))); }
};

TEST_F(CopyRuleTest, PlainCopyHonoursTheTargetAndTheOverwriteFlag) {
  EXPECT_FALSE(hv6::plainCopy(source, target, true));  // missing source
  EXPECT_FALSE(hv6::versionedCopy(source, target, true));
  EXPECT_FALSE(QFileInfo::exists(target));

  writeFile(source, "one");
  EXPECT_TRUE(hv6::plainCopy(source, target, false));
  EXPECT_EQ(readFile(target), "one");

  writeFile(source, "two");
  EXPECT_TRUE(hv6::plainCopy(source, target, false));  // kept, counts as success
  EXPECT_EQ(readFile(target), "one");
  EXPECT_TRUE(hv6::plainCopy(source, target, true));
  EXPECT_EQ(readFile(target), "two");

  EXPECT_FALSE(hv6::plainCopy(source, env.path(QStringLiteral("nowhere/file.ini")), false));
}

struct VersionCase {
  const char* sourceVersion;  // nullptr: no VER
  const char* targetVersion;  // nullptr: no VER; "-": no target file
  bool overwrite;
  bool copied;
};

TEST_F(CopyRuleTest, VersionedCopyComparesVersionsAsText) {
  const VersionCase cases[] = {
      {"1.10", "1.9", false, false},  // "1.10" sorts before "1.9"
      {"1.9", "1.10", false, true},
      {"6.05.01", "6.05.01", false, false},
      {"6.05.00", "6.05.01", false, false},
      {"6.05.00", "6.05.01", true, true},
      {"6.05.01", nullptr, false, true},
      {"6.05.01", "-", false, true},
      {nullptr, "-", false, true},
      {nullptr, "6.05.01", false, false},
      {nullptr, nullptr, false, false},
      {"6.05.01.000000000009", "6.05.01.000000000000", false, true},
      // Only 20 characters of VER count: these two are equal.
      {"6.05.01.0000000000009", "6.05.01.000000000000", false, false},
  };
  for (const VersionCase& c : cases) {
    SCOPED_TRACE(testing::Message() << (c.sourceVersion ? c.sourceVersion : "(none)") << " over "
                                    << (c.targetVersion ? c.targetVersion : "(none)"));
    QFile::remove(target);
    writeFile(source, versioned(c.sourceVersion, "new"));
    if (!c.targetVersion || std::string(c.targetVersion) != "-")
      writeFile(target, versioned(c.targetVersion, "old"));
    const QByteArray before = readFile(target);
    EXPECT_TRUE(hv6::versionedCopy(source, target, c.overwrite));
    EXPECT_EQ(readFile(target), c.copied ? versioned(c.sourceVersion, "new") : before);
  }
}

TEST_F(CopyRuleTest, CopyTakesTheFolderClassAndNeverFollowsALink) {
  writeFile(source, "secret");
  ASSERT_TRUE(QFile::setPermissions(env.path(QStringLiteral("to")), kMode0700));
  ASSERT_TRUE(hv6::plainCopy(source, target, false));
  EXPECT_EQ(modeOf(target), kMode0600);

  const QString elsewhere = env.path(QStringLiteral("elsewhere.ini"));
  writeFile(elsewhere, "untouched");
  const QString link = env.path(QStringLiteral("to/link.ini"));
  ASSERT_TRUE(QFile::link(elsewhere, link));
  EXPECT_FALSE(hv6::plainCopy(source, link, true));
  EXPECT_FALSE(hv6::versionedCopy(source, link, true));
  EXPECT_EQ(readFile(elsewhere), "untouched");
  EXPECT_TRUE(QFileInfo(link).isSymLink());
}

class EnvironmentCopyTest : public ::testing::Test {
 protected:
  hv6test::TestEnvironment env;
  RegistryStore store{env.registryFile()};
  AppRegistry registry{store};
  QString program = env.path(QStringLiteral("program"));

  void SetUp() override {
    ASSERT_EQ(store.createKey(QStringLiteral("Software\\Velqor\\HV6\\HV6\\Environment")),
              hv6::RegStatus::Ok);
    ASSERT_TRUE(registry.selectSettingsKey(QString()));
    for (const QString& name : hv6::environmentFileNames())
      writeFile(program + QLatin1Char('/') + name, versioned("6.05.01", qPrintable(name)));
    for (const char* name : {"20240501.rtf", "作業日誌データ.HV6", "気象データ.HV6", "ほ場図.fmp",
                             "photo1.BMP", "notes.txt"})
      writeFile(program + QStringLiteral("/demodata/") + QString::fromUtf8(name), name);
    QDir().mkpath(program + QStringLiteral("/demodata/folder.HV6"));
  }

  void setFlags(std::uint32_t environment, std::uint32_t demo) {
    ASSERT_TRUE(registry.writeDword(QStringLiteral("Environment"), QStringLiteral("OverWriteEnv"),
                                    environment));
    ASSERT_TRUE(
        registry.writeDword(QStringLiteral("Environment"), QStringLiteral("OverWriteDemo"), demo));
  }

  std::uint32_t flag(const char* name) {
    std::uint32_t value = 99;
    registry.readDword(QStringLiteral("Environment"), QString::fromLatin1(name), value);
    return value;
  }

  QString user(const QString& name) {
    return hv6::userEnvironmentFolder() + QLatin1Char('/') + name;
  }
  QString demo(const char* name) {
    return hv6::demoDataFolder() + QLatin1Char('/') + QString::fromUtf8(name);
  }
};

TEST_F(EnvironmentCopyTest, CopiesEverythingPrivateToTheUserAndTheDemoShared) {
  hv6::copyEnvironment(program, registry);  // no flags stored: both count as 0

  EXPECT_EQ(modeOf(hv6::userEnvironmentFolder()), kMode0700);
  EXPECT_EQ(modeOf(user(QStringLiteral("pform"))), kMode0700);
  for (const QString& name : hv6::environmentFileNames()) {
    SCOPED_TRACE(qPrintable(name));
    EXPECT_EQ(readFile(user(name)), versioned("6.05.01", qPrintable(name)));
    EXPECT_EQ(modeOf(user(name)), kMode0600);
  }

  EXPECT_EQ(modeOf(hv6::demoBaseFolder()), kMode0755);
  EXPECT_EQ(modeOf(hv6::demoDataFolder()), kMode0777);
  for (const char* name :
       {"20240501.rtf", "作業日誌データ.HV6", "気象データ.HV6", "ほ場図.fmp", "photo1.BMP"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(readFile(demo(name)), name);
    EXPECT_EQ(modeOf(demo(name)), kMode0666);
  }
  EXPECT_FALSE(QFileInfo::exists(demo("notes.txt")));
  EXPECT_FALSE(QFileInfo::exists(demo("folder.HV6")));
  EXPECT_EQ(flag("OverWriteEnv"), 0u);
  EXPECT_EQ(flag("OverWriteDemo"), 0u);
}

TEST_F(EnvironmentCopyTest, FlagsChooseWhatIsOverwrittenAndAreReset) {
  hv6::copyEnvironment(program, registry);
  writeFile(user(QStringLiteral("SELSYS.SL2")), "changed by the user");
  writeFile(user(QStringLiteral("wxfetch.ini")), versioned("6.05.01", "with the password"));
  writeFile(demo("作業日誌データ.HV6"), "changed demo");

  setFlags(0, 0);
  hv6::copyEnvironment(program, registry);
  EXPECT_EQ(readFile(user(QStringLiteral("SELSYS.SL2"))), "changed by the user");
  EXPECT_EQ(readFile(user(QStringLiteral("wxfetch.ini"))),
            versioned("6.05.01", "with the password"));

  setFlags(1, 0);
  hv6::copyEnvironment(program, registry);
  EXPECT_EQ(readFile(user(QStringLiteral("SELSYS.SL2"))), versioned("6.05.01", "SELSYS.SL2"));
  EXPECT_EQ(readFile(user(QStringLiteral("wxfetch.ini"))), versioned("6.05.01", "wxfetch.ini"));
  EXPECT_EQ(readFile(demo("作業日誌データ.HV6")), "changed demo");
  EXPECT_EQ(flag("OverWriteEnv"), 0u);

  setFlags(0, 1);
  hv6::copyEnvironment(program, registry);
  EXPECT_EQ(readFile(demo("作業日誌データ.HV6")), "作業日誌データ.HV6");
  EXPECT_EQ(flag("OverWriteDemo"), 0u);
}

TEST_F(EnvironmentCopyTest, AnOpenUserFolderIsMadePrivateAgain) {
  const QString folder = hv6::userEnvironmentFolder();
  QDir().mkpath(folder);
  ASSERT_TRUE(QFile::setPermissions(folder, kMode0777));
  writeFile(user(QStringLiteral("wxfetch.ini")), versioned("9.99", "password"));
  ASSERT_TRUE(QFile::setPermissions(user(QStringLiteral("wxfetch.ini")), kMode0666));

  EXPECT_TRUE(hv6::copyUserEnvironment(program, false));
  EXPECT_EQ(modeOf(folder), kMode0700);
  EXPECT_EQ(modeOf(user(QStringLiteral("wxfetch.ini"))), kMode0600);
  EXPECT_EQ(readFile(user(QStringLiteral("wxfetch.ini"))), versioned("9.99", "password"));
}

TEST_F(EnvironmentCopyTest, MissingSourcesAreSkippedAndReported) {
  QFile::remove(program + QStringLiteral("/Chohyo.ini"));
  QDir(program + QStringLiteral("/demodata")).removeRecursively();
  EXPECT_FALSE(hv6::copyUserEnvironment(program, false));
  EXPECT_FALSE(QFileInfo::exists(user(QStringLiteral("Chohyo.ini"))));
  EXPECT_TRUE(QFileInfo::exists(user(QStringLiteral("Env.sld"))));
  EXPECT_TRUE(hv6::copyDemoData(program, false));  // nothing to copy
  EXPECT_TRUE(QFileInfo(hv6::demoDataFolder()).isDir());
}

}  // namespace
