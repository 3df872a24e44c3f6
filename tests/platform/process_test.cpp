#include "platform/process.h"

#include "tests/support/test_env.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

namespace {

TEST(Process, CommandsThatCannotStartFail) {
  hv6test::TestEnvironment env;
  const QString notExecutable = env.path(QStringLiteral("plain.txt"));
  QFile file(notExecutable);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  for (const QString& command :
       {QString(), QStringLiteral("   "), QStringLiteral("/no/such/program.exe -a"),
        QStringLiteral("no-such-program-of-hv6"), notExecutable}) {
    const hv6::StartResult result = hv6::startCommand(command);
    EXPECT_FALSE(result.ok) << qPrintable(command);
    EXPECT_FALSE(result.error.isEmpty());
  }
  EXPECT_TRUE(hv6::startCommand(QStringLiteral("/no/such/x")).error.contains(QStringLiteral("/no/such/x")));
}

TEST(Process, ARealProgramStartsWithItsQuotedArguments) {
  hv6test::TestEnvironment env;
  EXPECT_TRUE(hv6::startCommand(QStringLiteral("/bin/true")).ok);
  const QString target = env.path(QStringLiteral("with blank.txt"));
  const hv6::StartResult result =
      hv6::startCommand(QStringLiteral("touch \"") + target + QStringLiteral("\""));
  ASSERT_TRUE(result.ok) << qPrintable(result.error);
  QDeadlineTimer deadline(30000);
  while (!QFile::exists(target) && !deadline.hasExpired()) QThread::msleep(10);
  EXPECT_TRUE(QFile::exists(target));
}

TEST(Process, RunAndWaitGivesTheExitCodeOrKillsAtTheLimit) {
  const hv6::RunResult exited = hv6::runCommandAndWait(QStringLiteral("/bin/sh -c \"exit 3\""), 30000);
  EXPECT_TRUE(exited.finished);
  EXPECT_EQ(exited.exitCode, 3);
  const hv6::RunResult slow = hv6::runAndWait(QStringLiteral("sleep"), {QStringLiteral("60")}, 100);
  EXPECT_TRUE(slow.timedOut);
  EXPECT_FALSE(slow.finished);
  const hv6::RunResult missing = hv6::runAndWait(QStringLiteral("/no/such/program"), {}, 1000);
  EXPECT_FALSE(missing.finished);
  EXPECT_FALSE(missing.error.isEmpty());
}

TEST(Process, CommandProgramIsTheLocatedFirstWord) {
  hv6test::TestEnvironment env;
  const QString program = env.path(QStringLiteral("a folder/tool"));
  ASSERT_TRUE(QDir().mkpath(env.path(QStringLiteral("a folder"))));
  ASSERT_TRUE(QFile::copy(QStringLiteral("/bin/true"), program));
  EXPECT_EQ(hv6::commandProgram(u'"' + program + QStringLiteral("\" -x")), program);
  EXPECT_EQ(hv6::commandProgram(QStringLiteral("/no/such/tool -x")), QString());
  EXPECT_EQ(hv6::commandProgram(QString()), QString());
}

TEST(Process, RunningExecutablesListARunningProgramUntilItEnds) {
  hv6test::TestEnvironment env;
  const QString program = QDir(env.root()).canonicalPath() + QStringLiteral("/sleeper");
  ASSERT_TRUE(QFile::copy(QStringLiteral("/bin/sleep"), program));
  QProcess sleeper;
  sleeper.start(program, {QStringLiteral("600")});
  ASSERT_TRUE(sleeper.waitForStarted());
  std::optional<QStringList> running = hv6::runningExecutables();
  ASSERT_TRUE(running.has_value());
  EXPECT_TRUE(running->contains(program));
  sleeper.kill();
  sleeper.waitForFinished();
  EXPECT_FALSE(hv6::runningExecutables()->contains(program));
}

}  // namespace

namespace {

TEST(Process, AProgramStartsWithArgumentsAsGivenOrFailsWhenMissing) {
  hv6test::TestEnvironment env;
  EXPECT_FALSE(hv6::startProgram(QStringLiteral("no-such-program-of-hv6"), {}).ok);
  EXPECT_FALSE(hv6::startProgram(QStringLiteral("/no/such/tool"), {}).ok);
  // One argument with blanks and one empty: no splitting, no quoting.
  const QString target = env.path(QStringLiteral("a b.txt"));
  const hv6::StartResult result =
      hv6::startProgram(QStringLiteral("touch"), {target, QString()});
  ASSERT_TRUE(result.ok) << qPrintable(result.error);
  QDeadlineTimer deadline(30000);
  while (!QFile::exists(target) && !deadline.hasExpired()) QThread::msleep(10);
  EXPECT_TRUE(QFile::exists(target));
}

}  // namespace
