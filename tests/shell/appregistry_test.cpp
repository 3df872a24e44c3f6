#include "shell/appregistry.h"
#include "tests/support/test_env.h"

#include <gtest/gtest.h>

namespace {

using hv6::AppRegistry;
using hv6::RegistryStore;

class AppRegistryTest : public ::testing::Test {
 protected:
  hv6test::TestEnvironment env;
  RegistryStore store{env.registryFile()};
  AppRegistry reg{store};

  void makeKey(const QString& key) { ASSERT_EQ(store.createKey(key), hv6::RegStatus::Ok); }
};

TEST_F(AppRegistryTest, EmptyCurrentKeyMeansHv6) {
  makeKey(QStringLiteral("Software\\Velqor\\HV6\\HV6\\Environment\\BaseInfo"));
  store.writeString(AppRegistry::kBaseKey, AppRegistry::kCurrentKeyValue, QString());
  EXPECT_EQ(reg.root(), QStringLiteral("Software\\Velqor\\HV6\\HV6\\"));
  EXPECT_TRUE(reg.writeDword(QStringLiteral("Environment\\BaseInfo"), QStringLiteral("Access"), 0));
  std::uint32_t access = 7;
  EXPECT_TRUE(reg.readDword(QStringLiteral("Environment\\BaseInfo"), QStringLiteral("Access"), access));
  EXPECT_EQ(access, 0u);
}

TEST_F(AppRegistryTest, RootFollowsCurrentKeyOnEveryCall) {
  makeKey(QStringLiteral("Software\\Velqor\\HV6\\HV6\\Calendar"));
  makeKey(QStringLiteral("Software\\Velqor\\HV6\\farm2\\Calendar"));
  ASSERT_TRUE(reg.selectSettingsKey(QStringLiteral("HV6")));
  ASSERT_TRUE(reg.writeString(QStringLiteral("Calendar"), QStringLiteral("Name"), QStringLiteral("一")));
  ASSERT_TRUE(reg.selectSettingsKey(QStringLiteral("farm2")));
  EXPECT_EQ(reg.root(), QStringLiteral("Software\\Velqor\\HV6\\farm2\\"));
  QString text;
  EXPECT_FALSE(reg.readString(QStringLiteral("Calendar"), QStringLiteral("Name"), text));
  ASSERT_TRUE(reg.writeString(QStringLiteral("Calendar"), QStringLiteral("Name"), QStringLiteral("二")));
  ASSERT_TRUE(reg.selectSettingsKey(QStringLiteral("HV6")));
  ASSERT_TRUE(reg.readString(QStringLiteral("Calendar"), QStringLiteral("Name"), text));
  EXPECT_EQ(text, QStringLiteral("一"));
}

TEST_F(AppRegistryTest, NoRootMeansEveryAccessFails) {
  // No base key at all.
  EXPECT_TRUE(reg.root().isEmpty());
  EXPECT_FALSE(reg.selectSettingsKey(QStringLiteral("HV6")));
  EXPECT_FALSE(reg.writeDword(QStringLiteral("Environment\\BaseInfo"), QStringLiteral("Access"), 0));

  // CurrentKEY stored as a number leaves the root undetermined.
  makeKey(QStringLiteral("Software\\Velqor\\HV6\\HV6\\Environment\\BaseInfo"));
  store.writeDword(AppRegistry::kBaseKey, AppRegistry::kCurrentKeyValue, 1);
  EXPECT_TRUE(reg.root().isEmpty());
  QString text;
  EXPECT_FALSE(reg.readString(QStringLiteral("Environment\\BaseInfo"), QStringLiteral("DataPath"), text));
  EXPECT_FALSE(reg.writeString(QStringLiteral("Environment\\BaseInfo"), QStringLiteral("DataPath"), text));
}

TEST_F(AppRegistryTest, WritesNeverCreateKeys) {
  makeKey(AppRegistry::kBaseKey);
  ASSERT_TRUE(reg.selectSettingsKey(QStringLiteral("HV6")));
  EXPECT_FALSE(reg.writeDword(QStringLiteral("Environment\\BaseInfo"), QStringLiteral("Access"), 0));
  EXPECT_FALSE(store.keyExists(QStringLiteral("Software\\Velqor\\HV6\\HV6\\Environment\\BaseInfo")));
  EXPECT_FALSE(store.keyExists(QStringLiteral("Software\\Velqor\\HV6\\HV6")));
}

TEST_F(AppRegistryTest, WrongTypeReadsFail) {
  makeKey(QStringLiteral("Software\\Velqor\\HV6\\HV6\\Environment"));
  ASSERT_TRUE(reg.selectSettingsKey(QString()));
  ASSERT_TRUE(reg.writeString(QStringLiteral("Environment"), QStringLiteral("InstallPath"), QStringLiteral("/opt/hv6")));
  std::uint32_t number = 0;
  EXPECT_FALSE(reg.readDword(QStringLiteral("Environment"), QStringLiteral("InstallPath"), number));
  QString text;
  EXPECT_TRUE(reg.readString(QStringLiteral("Environment\\"), QStringLiteral("InstallPath"), text));
  EXPECT_EQ(text, QStringLiteral("/opt/hv6"));
}

}  // namespace
