#include "shell/instanceguard.h"

#include "shell/startup.h"
#include "tests/support/test_env.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>

#include <gtest/gtest.h>

namespace {

using Outcome = hv6::InstanceGuard::Outcome;

TEST(InstanceGuardTest, SecondStartAsksTheFirstToRaise) {
  hv6test::TestEnvironment env;
  QFile stale(hv6::InstanceGuard::serverPath());  // left by a program that died
  ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
  stale.close();
  hv6::InstanceGuard first(hv6::kAppTitle);
  int raises = 0;
  QObject::connect(&first, &hv6::InstanceGuard::raiseRequested, [&raises] { ++raises; });
  ASSERT_EQ(first.acquire(), Outcome::First);

  EXPECT_EQ(hv6::InstanceGuard(hv6::kAppTitle).acquire(), Outcome::AlreadyRunning);
  QDeadlineTimer limit(10000);
  while (raises == 0 && !limit.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  EXPECT_EQ(raises, 1);

  // A start without a window only learns that the program runs.
  EXPECT_EQ(hv6::InstanceGuard(hv6::kAppTitle).acquire(false), Outcome::AlreadyRunning);
  limit = QDeadlineTimer(300);
  while (!limit.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  EXPECT_EQ(raises, 1);

  first.release();
  EXPECT_FALSE(hv6::InstanceGuard::askRunningToRaise());
}

// Another program of the system (the sales host) has a guard of its own:
// its second start raises it, and neither stands in hv6's way.
TEST(InstanceGuardTest, AnotherProgramsGuardIsItsOwnAndLeavesTheMachineGuardToHv6) {
  hv6test::TestEnvironment env;
  hv6::InstanceGuard sales(QStringLiteral("販売管理"), QStringLiteral("hv6-sales.instance"));
  int raises = 0;
  QObject::connect(&sales, &hv6::InstanceGuard::raiseRequested, [&raises] { ++raises; });
  ASSERT_EQ(sales.acquire(), Outcome::First);
  EXPECT_FALSE(hv6::NamedLock::isTaken(hv6::kMachineGuardName, hv6::LockScope::Machine));
  EXPECT_NE(sales.socketPath(), hv6::InstanceGuard::serverPath());

  hv6::InstanceGuard second(QStringLiteral("販売管理"), QStringLiteral("hv6-sales.instance"));
  EXPECT_EQ(second.acquire(), Outcome::AlreadyRunning);
  QDeadlineTimer limit(10000);
  while (raises == 0 && !limit.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  EXPECT_EQ(raises, 1);

  // hv6 starts beside it, and a raise of hv6 does not reach the sales host.
  hv6::InstanceGuard calendar(hv6::kAppTitle);
  EXPECT_EQ(calendar.acquire(false), Outcome::First);
  EXPECT_TRUE(hv6::InstanceGuard::askRunningToRaise());
  limit = QDeadlineTimer(300);
  while (!limit.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  EXPECT_EQ(raises, 1);
  sales.release();
  EXPECT_FALSE(second.askToRaise());
}

TEST(InstanceGuardTest, MachineGuardHeldElsewhereRefusesTheStart) {
  hv6test::TestEnvironment env;
  hv6::NamedLock otherUser;
  ASSERT_TRUE(otherUser.acquire(hv6::kMachineGuardName, hv6::LockScope::Machine));
  hv6::InstanceGuard guard(hv6::kAppTitle);
  EXPECT_EQ(guard.acquire(), Outcome::OtherUser);
  // The refused start keeps nothing: once the other user leaves it starts.
  EXPECT_FALSE(hv6::NamedLock::isTaken(hv6::kAppTitle, hv6::LockScope::User));
  otherUser.release();
  EXPECT_EQ(guard.acquire(), Outcome::First);
}

}  // namespace
