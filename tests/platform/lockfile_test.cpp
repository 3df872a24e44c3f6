#include "platform/lockfile.h"

#include "tests/platform/child.h"
#include "tests/support/test_env.h"

#include <QFileInfo>
#include <QSet>
#include <gtest/gtest.h>

namespace {

using hv6::LockScope;
using hv6::NamedLock;

const QString kName = QStringLiteral("Harvo V6 Plus for Windows");

class LockTest : public ::testing::Test {
 protected:
  hv6test::TestEnvironment env;
};

TEST_F(LockTest, ASecondHolderInTheSameProcessIsRefused) {
  for (const LockScope scope : {LockScope::User, LockScope::Machine}) {
    NamedLock first;
    NamedLock second;
    ASSERT_TRUE(first.acquire(kName, scope)) << qPrintable(first.errorText());
    EXPECT_FALSE(second.acquire(kName, scope));
    EXPECT_TRUE(second.heldElsewhere());
    EXPECT_FALSE(second.isHeld());
    EXPECT_TRUE(NamedLock::isTaken(kName, scope));
    first.release();
    EXPECT_FALSE(NamedLock::isTaken(kName, scope));
    EXPECT_TRUE(second.acquire(kName, scope));
  }
  EXPECT_FALSE(NamedLock::isTaken(kName, LockScope::User));  // released on destruction
}

// A marker that several windows hold at once: shared holders do not
// refuse each other, an exclusive holder refuses them and is refused by
// them, and isInUse sees any holder.
TEST_F(LockTest, SharedHoldersLiveTogetherAndExcludeAnExclusiveOne) {
  const QString marker = QStringLiteral("CheckSelSlip");
  NamedLock first;
  NamedLock second;
  NamedLock exclusive;
  EXPECT_FALSE(NamedLock::isInUse(marker, LockScope::User));
  ASSERT_TRUE(first.acquireShared(marker, LockScope::User)) << qPrintable(first.errorText());
  ASSERT_TRUE(second.acquireShared(marker, LockScope::User)) << qPrintable(second.errorText());
  EXPECT_TRUE(NamedLock::isInUse(marker, LockScope::User));
  EXPECT_FALSE(exclusive.acquire(marker, LockScope::User));
  EXPECT_TRUE(exclusive.heldElsewhere());
  first.release();
  EXPECT_TRUE(NamedLock::isInUse(marker, LockScope::User));
  second.release();
  EXPECT_FALSE(NamedLock::isInUse(marker, LockScope::User));
  ASSERT_TRUE(exclusive.acquire(marker, LockScope::User));
  EXPECT_TRUE(NamedLock::isInUse(marker, LockScope::User));
  EXPECT_FALSE(first.acquireShared(marker, LockScope::User));
  EXPECT_TRUE(first.heldElsewhere());
}

TEST_F(LockTest, TestingALockDoesNotTakeIt) {
  EXPECT_FALSE(NamedLock::isTaken(QStringLiteral("never used"), LockScope::User));
  EXPECT_FALSE(NamedLock::isTaken(kName, LockScope::User));
  NamedLock lock;
  EXPECT_TRUE(lock.acquire(kName, LockScope::User));
  EXPECT_FALSE(NamedLock().acquire(QString(), LockScope::User));
}

// A probe of a lock leaves no trace: the machine-wide folder is made by
// the first holder, not by someone asking whether anybody holds it.
TEST_F(LockTest, TestingALockMakesNoFolder) {
  const QString common = env.path(QStringLiteral("common/not-yet"));
  qputenv("HV6_COMMON", common.toUtf8());
  EXPECT_FALSE(NamedLock::isTaken(kName, LockScope::Machine));
  EXPECT_FALSE(QFileInfo::exists(common));
  NamedLock lock;
  ASSERT_TRUE(lock.acquire(kName, LockScope::Machine)) << qPrintable(lock.errorText());
  EXPECT_TRUE(NamedLock::isTaken(kName, LockScope::Machine));
}

TEST_F(LockTest, AnyNameGivesItsOwnFileInTheScopesFolder) {
  const QStringList names = {QStringLiteral("Global\\HV6Global"), kName,
                             QStringLiteral("a/b"), QStringLiteral(".."),
                             QStringLiteral("a b"), QStringLiteral("a%20b"),
                             QStringLiteral("作業日誌"), QString(300, u'長')};
  QSet<QString> files;
  for (const QString& name : names) {
    const QFileInfo file(NamedLock::lockFilePath(name, LockScope::User));
    EXPECT_EQ(file.absolutePath(), env.path(QStringLiteral("runtime"))) << qPrintable(name);
    EXPECT_LE(file.fileName().toUtf8().size(), 255);
    files.insert(file.fileName());
    NamedLock lock;
    EXPECT_TRUE(lock.acquire(name, LockScope::User)) << qPrintable(lock.errorText());
  }
  EXPECT_EQ(files.size(), names.size());
  EXPECT_EQ(QFileInfo(NamedLock::lockFilePath(kName, LockScope::Machine)).absolutePath(),
            env.path(QStringLiteral("common")));
}

TEST_F(LockTest, ALockOfAnotherProcessIsFreedWhenItDies) {
  for (const char* scope : {"user", "machine"}) {
    const LockScope lockScope = QByteArray(scope) == "user" ? LockScope::User : LockScope::Machine;
    hv6test::Child holder({QStringLiteral("hold"), kName, QString::fromLatin1(scope)});
    ASSERT_EQ(holder.readLine(), QByteArray("held"));
    NamedLock lock;
    EXPECT_FALSE(lock.acquire(kName, lockScope));
    EXPECT_TRUE(lock.heldElsewhere());
    EXPECT_TRUE(NamedLock::isTaken(kName, lockScope));
    holder.kill();
    EXPECT_FALSE(NamedLock::isTaken(kName, lockScope));
    EXPECT_TRUE(lock.acquire(kName, lockScope));
    // And now the child is the one refused.
    hv6test::Child second({QStringLiteral("hold"), kName, QString::fromLatin1(scope)});
    EXPECT_EQ(second.readLine(), QByteArray("refused"));
  }
}

TEST_F(LockTest, AProgramStartedByTheHolderDoesNotKeepTheLock) {
  NamedLock lock;
  ASSERT_TRUE(lock.acquire(kName, LockScope::User));
  hv6test::Child child({QStringLiteral("hold"), QStringLiteral("another lock"), QStringLiteral("user")});
  ASSERT_EQ(child.readLine(), QByteArray("held"));
  lock.release();
  EXPECT_FALSE(NamedLock::isTaken(kName, LockScope::User));
}

}  // namespace
