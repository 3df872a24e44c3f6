#include "outside/hrvcom106/checkv5app.h"

#include "outside/hrvcom106/runningprogram.h"
#include "tests/support/test_env.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

// A registered program of the product in a second process (hv6_hrvcom106_child).
class ProgramChild {
 public:
  explicit ProgramChild(const QStringList& arguments) {
    process_.setProgram(QCoreApplication::applicationDirPath() +
                        QStringLiteral("/hv6_hrvcom106_child"));
    process_.setArguments(arguments);
    process_.start();
  }
  ~ProgramChild() { kill(); }
  ProgramChild(const ProgramChild&) = delete;
  ProgramChild& operator=(const ProgramChild&) = delete;

  // The next line the child prints, empty when none came in time.
  QByteArray readLine() {
    while (!process_.canReadLine())
      if (!process_.waitForReadyRead(30000)) return QByteArray();
    return process_.readLine().trimmed();
  }
  int finish() {
    if (!process_.waitForFinished(60000) || process_.exitStatus() != QProcess::NormalExit)
      return -1;
    return process_.exitCode();
  }
  void kill() {
    if (process_.state() == QProcess::NotRunning) return;
    process_.kill();
    process_.waitForFinished();
  }

 private:
  QProcess process_;
};

QStringList registrationFiles() {
  return QDir(qEnvironmentVariable("HV6_RUNTIME"))
      .entryList({QStringLiteral("hv6-program-*")}, QDir::Files | QDir::System);
}

int indexOf(const CCheckV5App& check, const QString& name) {
  for (int i = 0; i < check.running().size(); ++i)
    if (check.running().at(i).name == name) return i;
  return -1;
}

int countRunning(CCheckV5App& check) {
  int count = -1;
  EXPECT_NE(check.CheckHv6Process(count), 0);
  return count;
}

TEST(CheckV5App, ARegisteredProgramIsFoundWithItsNameAndTitle) {
  hv6test::TestEnvironment env;
  CCheckV5App check;
  EXPECT_EQ(countRunning(check), 0);

  ProgramChild sales({QStringLiteral("serve"), QStringLiteral("販売管理"),
                      QStringLiteral("販売管理 - Harvo"), QStringLiteral("yes")});
  ASSERT_EQ(sales.readLine(), "ready");
  CRunningProgram ownRegistration(QStringLiteral("自分"), QStringLiteral("自分"));
  ASSERT_TRUE(ownRegistration.isRegistered()) << qPrintable(ownRegistration.errorText());

  ASSERT_EQ(countRunning(check), 1);  // this process's own registration is left out
  QString text;
  EXPECT_NE(check.GetExecMessageString(0, text), 0);
  EXPECT_EQ(text, QStringLiteral("販売管理"));
  EXPECT_NE(check.GetExecProcessString(0, text), 0);
  EXPECT_EQ(text, QStringLiteral("販売管理 - Harvo"));
  EXPECT_EQ(check.GetExecMessageString(1, text), 0);
  EXPECT_EQ(check.GetExecProcessString(-1, text), 0);
}

TEST(CheckV5App, TheRegistrationOfACrashedProgramIsRemoved) {
  hv6test::TestEnvironment env;
  ProgramChild sales({QStringLiteral("serve"), QStringLiteral("販売管理"),
                      QStringLiteral("販売管理"), QStringLiteral("yes")});
  ASSERT_EQ(sales.readLine(), "ready");
  EXPECT_FALSE(registrationFiles().isEmpty());
  sales.kill();  // no clean-up of its own runs

  CCheckV5App check;
  EXPECT_EQ(countRunning(check), 0);
  EXPECT_TRUE(registrationFiles().isEmpty()) << qPrintable(registrationFiles().join(u' '));
}

TEST(CheckV5App, QueryEndGivesEachProgramsAnswer) {
  hv6test::TestEnvironment env;
  ProgramChild agreeing({QStringLiteral("serve"), QStringLiteral("作業日誌入力"),
                         QStringLiteral("作業日誌"), QStringLiteral("yes")});
  ProgramChild refusing({QStringLiteral("serve"), QStringLiteral("販売管理"),
                         QStringLiteral("販売管理"), QStringLiteral("no")});
  ASSERT_EQ(agreeing.readLine(), "ready");
  ASSERT_EQ(refusing.readLine(), "ready");

  CCheckV5App check;
  ASSERT_EQ(countRunning(check), 2);
  EXPECT_TRUE(check.QueryEnd(indexOf(check, QStringLiteral("作業日誌入力"))));
  EXPECT_EQ(agreeing.readLine(), "asked");
  EXPECT_FALSE(check.QueryEnd(indexOf(check, QStringLiteral("販売管理"))));
  EXPECT_EQ(refusing.readLine(), "asked");
}

TEST(CheckV5App, AProgramThatDoesNotAnswerInTimeRefuses) {
  hv6test::TestEnvironment env;
  ProgramChild stuck(
      {QStringLiteral("hang"), QStringLiteral("販売管理"), QStringLiteral("販売管理")});
  ASSERT_EQ(stuck.readLine(), "ready");
  CCheckV5App check;
  check.setAnswerTimeout(200);
  ASSERT_EQ(countRunning(check), 1);
  EXPECT_FALSE(check.QueryEnd(0));
}

TEST(CheckV5App, ACloseRequestEndsTheProgramAndItsRegistration) {
  hv6test::TestEnvironment env;
  ProgramChild sales({QStringLiteral("serve"), QStringLiteral("販売管理"),
                      QStringLiteral("販売管理"), QStringLiteral("yes")});
  ASSERT_EQ(sales.readLine(), "ready");
  CCheckV5App check;
  ASSERT_EQ(countRunning(check), 1);
  check.Close(0);
  EXPECT_EQ(sales.readLine(), "closing");
  EXPECT_EQ(sales.finish(), 0);
  EXPECT_TRUE(registrationFiles().isEmpty());
  EXPECT_EQ(countRunning(check), 0);
}

TEST(CheckV5App, AProgramThatEndedSinceTheCheckHasNothingToRefuse) {
  hv6test::TestEnvironment env;
  ProgramChild sales({QStringLiteral("serve"), QStringLiteral("販売管理"),
                      QStringLiteral("販売管理"), QStringLiteral("no")});
  ASSERT_EQ(sales.readLine(), "ready");
  CCheckV5App check;
  ASSERT_EQ(countRunning(check), 1);
  sales.kill();
  EXPECT_TRUE(check.QueryEnd(0));
  check.Close(0);  // nobody to ask: nothing happens
}

// A launcher program that is not ours: a copy of sleep in a folder of its own.
class LauncherProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(QDir().mkpath(env_.path(QStringLiteral("農程 管理"))));
    ASSERT_TRUE(QFile::copy(QStringLiteral("/bin/sleep"), plan_));
    ASSERT_TRUE(QFile::copy(QStringLiteral("/bin/sleep"), diary_));
    running_.start(plan_, {QStringLiteral("600")});
    ASSERT_TRUE(running_.waitForStarted());
  }
  void TearDown() override {
    running_.kill();
    running_.waitForFinished();
  }

  hv6test::TestEnvironment env_;
  const QString plan_ = env_.path(QStringLiteral("農程 管理/plan"));
  const QString diary_ = env_.path(QStringLiteral("農程 管理/diary"));
  QProcess running_;
};

// The Exe of an entry is a command line: a path with a blank is quoted.
QString quoted(const QString& path) { return u'"' + path + u'"'; }

TEST_F(LauncherProgramTest, ARunningOneIsListedRefusesAndKeepsRunning) {
  CCheckV5App check({{QStringLiteral("作業日誌入力"), quoted(diary_)},
                     {QStringLiteral("農程管理"), quoted(plan_) + QStringLiteral(" 600")},
                     {QStringLiteral("ほ場図"), plan_},  // unquoted: another program
                     {QStringLiteral("販売管理"), QStringLiteral("/no/such/program.exe")},
                     {QStringLiteral("営農日記"), QString()}});
  ASSERT_EQ(countRunning(check), 1);
  QString text;
  check.GetExecMessageString(0, text);
  EXPECT_EQ(text, QStringLiteral("農程管理"));
  check.GetExecProcessString(0, text);
  EXPECT_EQ(text, QStringLiteral("農程管理"));

  EXPECT_FALSE(check.QueryEnd(0));
  check.Close(0);
  EXPECT_EQ(running_.state(), QProcess::Running);
  EXPECT_FALSE(check.QueryEnd(0));
}

TEST_F(LauncherProgramTest, OneThatEndedSinceTheCheckHasNothingToRefuse) {
  CCheckV5App check({{QStringLiteral("農程管理"), quoted(plan_)}});
  ASSERT_EQ(countRunning(check), 1);
  running_.kill();
  running_.waitForFinished();
  EXPECT_TRUE(check.QueryEnd(0));
}

TEST_F(LauncherProgramTest, RegisteredProgramsComeBeforeLauncherPrograms) {
  ProgramChild sales({QStringLiteral("serve"), QStringLiteral("販売管理"),
                      QStringLiteral("販売管理"), QStringLiteral("yes")});
  ASSERT_EQ(sales.readLine(), "ready");
  CCheckV5App check({{QStringLiteral("農程管理"), quoted(plan_)}});
  ASSERT_EQ(countRunning(check), 2);
  EXPECT_EQ(check.running().at(0).name, QStringLiteral("販売管理"));
  EXPECT_FALSE(check.running().at(0).socketName.isEmpty());
  EXPECT_EQ(check.running().at(1).name, QStringLiteral("農程管理"));
  EXPECT_TRUE(check.running().at(1).socketName.isEmpty());
}

}  // namespace
