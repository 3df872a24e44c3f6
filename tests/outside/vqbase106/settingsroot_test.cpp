#include "outside/vqbase106/settingsroot.h"

#include "tests/support/test_env.h"

#include <gtest/gtest.h>

namespace {

TEST(SettingsRootTest, CurrentKeyNamesTheRoot) {
  hv6test::TestEnvironment env;
  hv6::RegistryStore store(env.registryFile());
  EXPECT_TRUE(hv6::settingsRoot(store).isEmpty());  // no base key at all
  ASSERT_EQ(store.createKey(hv6::kSettingsBaseKey), hv6::RegStatus::Ok);
  EXPECT_TRUE(hv6::settingsRoot(store).isEmpty());  // no CurrentKEY

  ASSERT_EQ(store.writeString(hv6::kSettingsBaseKey, hv6::kCurrentKeyValue, QString()),
            hv6::RegStatus::Ok);
  EXPECT_EQ(hv6::settingsRoot(store), QStringLiteral("Software\\Velqor\\HV6\\HV6\\"));
  ASSERT_EQ(store.writeString(hv6::kSettingsBaseKey, hv6::kCurrentKeyValue, QStringLiteral("farm2")),
            hv6::RegStatus::Ok);
  EXPECT_EQ(hv6::settingsRoot(store), QStringLiteral("Software\\Velqor\\HV6\\farm2\\"));

  ASSERT_EQ(store.writeDword(hv6::kSettingsBaseKey, hv6::kCurrentKeyValue, 2), hv6::RegStatus::Ok);
  EXPECT_TRUE(hv6::settingsRoot(store).isEmpty());  // a number is no key name
}

}  // namespace
