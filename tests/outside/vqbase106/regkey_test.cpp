#include "outside/vqbase106/regkey.h"

#include "tests/support/test_env.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

const QString kBase = QStringLiteral("Software\\Velqor\\HV6\\HV6\\Environment\\BaseInfo");

class CRegKeyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    hv6::RegistryStore store;
    ASSERT_EQ(store.createKey(kBase), hv6::RegStatus::Ok);
    ASSERT_EQ(store.writeString(kBase, QStringLiteral("DataPath"), QStringLiteral("/d/日誌.HV6")),
              hv6::RegStatus::Ok);
    ASSERT_EQ(store.writeDword(kBase, QStringLiteral("Access"), 1), hv6::RegStatus::Ok);
  }

  hv6test::TestEnvironment env_;
};

TEST_F(CRegKeyTest, ReadsTypedValuesAndRefusesOtherTypes) {
  CRegKey key;
  ASSERT_EQ(key.Open(HKEY_CURRENT_USER, kBase + QStringLiteral("\\")), 0);
  QString text = QStringLiteral("kept");
  DWORD number = 7;
  EXPECT_EQ(key.Read(QStringLiteral("DataPath"), number), CRegKey::kErrInvalidData);
  EXPECT_EQ(key.Read(QStringLiteral("Access"), text), CRegKey::kErrInvalidData);
  EXPECT_EQ(key.Read(QStringLiteral("Missing"), text), CRegKey::kErrNotFound);
  EXPECT_EQ(text, QStringLiteral("kept"));
  EXPECT_EQ(number, 7u);
  EXPECT_EQ(key.Read(QStringLiteral("datapath"), text), 0);  // names ignore case
  EXPECT_EQ(text, QStringLiteral("/d/日誌.HV6"));
  EXPECT_EQ(key.Read(QStringLiteral("Access"), number), 0);
  EXPECT_EQ(number, 1u);
}

TEST_F(CRegKeyTest, OpenNeverCreatesKeys) {
  const QString missing = QStringLiteral("Software\\Velqor\\HV6\\Other");
  CRegKey key;
  EXPECT_EQ(key.Open(HKEY_CURRENT_USER, missing), CRegKey::kErrNotFound);
  EXPECT_NE(key.Write(QStringLiteral("Access"), DWORD(0)), 0);
  EXPECT_FALSE(hv6::RegistryStore().keyExists(missing));
  EXPECT_NE(key.Open(HKEY_LOCAL_MACHINE, kBase), 0);
  EXPECT_NE(key.Open(HKEY_CURRENT_USER, QString()), 0);
}

TEST_F(CRegKeyTest, WritesNeedAnOpenWritableKey) {
  CRegKey key;
  EXPECT_EQ(key.Write(QStringLiteral("Access"), DWORD(0)), CRegKey::kErrInvalidHandle);
  ASSERT_EQ(key.Open(HKEY_CURRENT_USER, kBase, KEY_READ), 0);
  EXPECT_EQ(key.Write(QStringLiteral("Access"), DWORD(0)), CRegKey::kErrAccessDenied);
  ASSERT_EQ(key.Open(HKEY_CURRENT_USER, kBase), 0);
  EXPECT_EQ(key.Write(QStringLiteral("Access"), DWORD(0)), 0);
  EXPECT_EQ(key.Write(QStringLiteral("WorkDryPWord"), QStringLiteral("abc")), 0);
  key.Close();
  EXPECT_EQ(key.Write(QStringLiteral("Access"), DWORD(2)), CRegKey::kErrInvalidHandle);

  CRegKey reader;
  ASSERT_EQ(reader.Open(HKEY_CURRENT_USER, kBase, KEY_READ), 0);
  DWORD access = 7;
  QString password;
  EXPECT_EQ(reader.Read(QStringLiteral("Access"), access), 0);
  EXPECT_EQ(reader.Read(QStringLiteral("WorkDryPWord"), password), 0);
  EXPECT_EQ(access, 0u);
  EXPECT_EQ(password, QStringLiteral("abc"));
}

TEST_F(CRegKeyTest, WriteFailsWhenTheKeyVanished) {
  CRegKey key;
  ASSERT_EQ(key.Open(HKEY_CURRENT_USER, kBase), 0);
  ASSERT_TRUE(QFile::remove(env_.registryFile()));
  EXPECT_EQ(key.Write(QStringLiteral("Access"), DWORD(0)), CRegKey::kErrNotFound);
  EXPECT_FALSE(hv6::RegistryStore().keyExists(kBase));
}

}  // namespace
