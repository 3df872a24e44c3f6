#include "shell/passwords.h"

#include <gtest/gtest.h>

namespace {

using hv6::ConfirmResult;
using hv6::PasswordRows;
using hv6::PasswordRowState;
using hv6::UnlockResult;

// Row 0 off, row 1 on without a password, row 2 locked, row 3 off with a
// leftover password text.
hv6::ModulePasswords samplePasswords() {
  return {{{false, QString()},
           {true, QString()},
           {true, QStringLiteral("Kome8")},
           {false, QStringLiteral("left")}}};
}

class PasswordRowsTest : public ::testing::Test {
 protected:
  PasswordRows rows;
  void SetUp() override { rows.load(samplePasswords()); }
};

TEST_F(PasswordRowsTest, StatesFollowFlagAndPassword) {
  EXPECT_EQ(rows.state(0), PasswordRowState::Off);
  EXPECT_EQ(rows.state(1), PasswordRowState::Open);
  EXPECT_EQ(rows.state(2), PasswordRowState::Locked);
  EXPECT_EQ(rows.state(3), PasswordRowState::Off);
  const auto locked = hv6::enabledControls(PasswordRowState::Locked);
  EXPECT_TRUE(!locked.check && locked.oldPassword && !locked.newPassword && !locked.confirm);
}

TEST_F(PasswordRowsTest, UnlockComparesWithoutCaseAndOnlyLockedRows) {
  EXPECT_EQ(rows.unlock(2, QString()), UnlockResult::None);
  EXPECT_EQ(rows.unlock(2, QStringLiteral("Kome")), UnlockResult::Wrong);
  EXPECT_EQ(rows.state(2), PasswordRowState::Locked);
  EXPECT_EQ(rows.unlock(2, QStringLiteral("kOME8")), UnlockResult::Unlocked);
  EXPECT_EQ(rows.state(2), PasswordRowState::Open);
  EXPECT_EQ(rows.passwords()[2].password, QStringLiteral("Kome8"));  // kept until replaced
  EXPECT_EQ(rows.unlock(2, QStringLiteral("x")), UnlockResult::None);
  EXPECT_EQ(rows.unlock(0, QStringLiteral("x")), UnlockResult::None);
}

TEST_F(PasswordRowsTest, ToggleSetsAndRemovesAndIgnoresLockedRows) {
  rows.toggle(0);
  EXPECT_TRUE(rows.isSet(0));
  EXPECT_EQ(rows.state(0), PasswordRowState::Open);

  rows.toggle(2);  // locked: unchanged
  EXPECT_TRUE(rows.isSet(2));
  EXPECT_EQ(rows.state(2), PasswordRowState::Locked);

  ASSERT_EQ(rows.unlock(2, QStringLiteral("KOME8")), UnlockResult::Unlocked);
  rows.toggle(2);
  EXPECT_FALSE(rows.isSet(2));
  EXPECT_TRUE(rows.passwords()[2].password.isEmpty());
  EXPECT_EQ(rows.state(2), PasswordRowState::Off);
}

TEST_F(PasswordRowsTest, ConfirmStoresTheConfirmTextOrNamesTheFault) {
  EXPECT_EQ(rows.confirm(1, {QStringLiteral("abc"), QStringLiteral("abd")}), ConfirmResult::Differ);
  EXPECT_EQ(rows.confirm(1, {QString(), QStringLiteral("a")}), ConfirmResult::Differ);
  EXPECT_EQ(rows.confirm(1, {QString(), QString()}), ConfirmResult::Empty);
  EXPECT_TRUE(rows.passwords()[1].password.isEmpty());
  EXPECT_EQ(rows.confirm(1, {QStringLiteral("abc"), QStringLiteral("ABC")}), ConfirmResult::Stored);
  EXPECT_EQ(rows.passwords()[1].password, QStringLiteral("ABC"));
  EXPECT_TRUE(rows.isSet(1));
  EXPECT_EQ(hv6::messageFor(ConfirmResult::Differ).code, 2500);
  EXPECT_EQ(hv6::messageFor(ConfirmResult::Empty).code, 2509);
}

TEST_F(PasswordRowsTest, FinalCheckConfirmsOnlyOpenCheckedRowsUpToTheFirstFault) {
  rows.toggle(0);  // row 0 now open as well
  std::array<hv6::NewPasswordTexts, hv6::kPasswordModules> texts{};
  texts[0] = {QStringLiteral("a1"), QStringLiteral("A1")};
  texts[1] = {QStringLiteral("b1"), QStringLiteral("b2")};
  texts[2] = {QStringLiteral("c"), QStringLiteral("d")};  // locked: not looked at
  PasswordRows::FinalCheck check = rows.finalCheck(texts);
  EXPECT_EQ(check.row, 1);
  EXPECT_EQ(check.result, ConfirmResult::Differ);
  EXPECT_EQ(rows.passwords()[0].password, QStringLiteral("A1"));

  texts[1] = {QStringLiteral("b1"), QStringLiteral("b1")};
  check = rows.finalCheck(texts);
  EXPECT_EQ(check.row, -1);
  EXPECT_EQ(rows.passwords()[1].password, QStringLiteral("b1"));
  EXPECT_EQ(rows.passwords()[2].password, QStringLiteral("Kome8"));

  rows.toggle(3);  // checked but nothing typed
  check = rows.finalCheck(texts);
  EXPECT_EQ(check.row, 3);
  EXPECT_EQ(check.result, ConfirmResult::Empty);
}

TEST_F(PasswordRowsTest, MasterUnlockNeedsTheCodeInAnyCase) {
  EXPECT_FALSE(rows.masterUnlock(QStringLiteral("ZEP")));
  EXPECT_FALSE(rows.masterUnlock(QStringLiteral("ZEPHY")));
  EXPECT_TRUE(rows.isSet(2));
  EXPECT_EQ(rows.passwords()[2].password, QStringLiteral("Kome8"));

  EXPECT_TRUE(rows.masterUnlock(QStringLiteral("zePh")));
  for (int row = 0; row < hv6::kPasswordModules; ++row) {
    EXPECT_FALSE(rows.isSet(row)) << row;
    EXPECT_TRUE(rows.passwords()[row].password.isEmpty()) << row;
    EXPECT_EQ(rows.state(row), PasswordRowState::Off) << row;
  }
}

}  // namespace
