#include "shell/accessflag.h"

#include "platform/lockfile.h"
#include "shell/appcore.h"
#include "tests/shell/shell_fixture.h"

#include <QDir>
#include <QProcess>
#include <QThread>

namespace {

using hv6::AccessFlag;
using hv6::StartKeys;

class AccessFlagTest : public hv6test::InstalledRegistryTest {
 protected:
  void SetUp() override {
    install();
    ASSERT_TRUE(QDir().mkpath(qEnvironmentVariable("HV6_RUNTIME")));
  }
  std::uint32_t access() { return dword(StartKeys::kBaseInfo, StartKeys::kAccess); }

  // Another process holding the record, as a tool of another program would.
  void startHolder(QProcess& holder) {
    const QString lockFile = hv6::NamedLock::lockFilePath(AccessFlag::kHolderLock, hv6::LockScope::User);
    // -o: the lock stays with flock itself, not with the command it runs.
    holder.start(QStringLiteral("flock"), {QStringLiteral("-o"), lockFile, QStringLiteral("sleep"), QStringLiteral("60")});
    ASSERT_TRUE(holder.waitForStarted());
    for (int i = 0; i < 200 && !AccessFlag::heldByLiveProcess(); ++i) QThread::msleep(10);
    ASSERT_TRUE(AccessFlag::heldByLiveProcess());
  }
};

TEST_F(AccessFlagTest, SetAndClearedWithItsHolder) {
  AccessFlag flag(registry);
  ASSERT_TRUE(flag.setBusy());
  EXPECT_EQ(access(), 1u);
  EXPECT_TRUE(AccessFlag::heldByLiveProcess());
  EXPECT_TRUE(AccessFlag::dataBusy(registry));
  ASSERT_TRUE(flag.setFree());
  EXPECT_EQ(access(), 0u);
  EXPECT_FALSE(AccessFlag::heldByLiveProcess());
  EXPECT_FALSE(AccessFlag::dataBusy(registry));
}

// A tool whose process was killed left Access = 1: the start resets it,
// and a reader takes the data as free and resets it too.
TEST_F(AccessFlagTest, AStaleFlagOfAKilledHolderIsReset) {
  QProcess holder;
  startHolder(holder);
  ASSERT_TRUE(registry.writeDword(StartKeys::kBaseInfo, StartKeys::kAccess, 1));
  EXPECT_TRUE(AccessFlag::dataBusy(registry));
  hv6::AppCore core(store);
  EXPECT_TRUE(core.resetAccess());
  EXPECT_EQ(access(), 1u);  // the holder lives: its tool is still working

  holder.kill();
  ASSERT_TRUE(holder.waitForFinished());
  EXPECT_FALSE(AccessFlag::heldByLiveProcess());
  EXPECT_TRUE(core.resetAccess());
  EXPECT_EQ(access(), 0u);

  ASSERT_TRUE(registry.writeDword(StartKeys::kBaseInfo, StartKeys::kAccess, 1));
  EXPECT_FALSE(AccessFlag::dataBusy(registry));
  EXPECT_EQ(access(), 0u);
}

// An AccessFlag dropped without setFree (as at a crash) leaves no holder.
TEST_F(AccessFlagTest, ADroppedFlagLeavesItStale) {
  {
    AccessFlag flag(registry);
    ASSERT_TRUE(flag.setBusy());
  }
  EXPECT_EQ(access(), 1u);
  EXPECT_FALSE(AccessFlag::dataBusy(registry));
  EXPECT_EQ(access(), 0u);
}

}  // namespace
