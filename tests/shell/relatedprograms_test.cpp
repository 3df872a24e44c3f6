#include "shell/relatedprograms.h"

#include "outside/hrvcom106/checkv5app.h"
#include "tests/support/message_recorder.h"
#include "tests/support/test_env.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

TEST(RelatedPrograms, TheQuestionListsFourNamesALine) {
  QStringList names;
  for (int i = 1; i <= 9; ++i) names.append(QStringLiteral("P%1").arg(i));
  EXPECT_EQ(hv6::closeConfirmationText(names),
            QStringLiteral("現在の作業を行うために、Harvo関連のプログラムを終了します。\r\n\r\n"
                           "  P1  P2  P3  P4\r\n"
                           "  P5  P6  P7  P8\r\n"
                           "  P9"));
  EXPECT_TRUE(hv6::closeConfirmationText(names.mid(0, 4)).endsWith(QStringLiteral("  P4\r\n")));
}

TEST(RelatedPrograms, TheRefusalNamesTheProgramTwice) {
  EXPECT_EQ(hv6::closeRefusedText(QStringLiteral("販売管理")),
            QStringLiteral("販売管理を終了できませんでした。\n"
                           "販売管理を終了した上で再度処理を実行してください。"));
}

TEST(RelatedPrograms, NothingRunningGoesOnWithoutAsking) {
  hv6test::TestEnvironment env;
  hv6test::MessageRecorder recorder;
  CCheckV5App check({{QStringLiteral("農程管理"), QStringLiteral("/bin/true")}});
  EXPECT_TRUE(hv6::closeRelatedPrograms(check));
  EXPECT_TRUE(recorder.empty());
}

TEST(RelatedPrograms, AFailedCheckStopsTheTool) {
  hv6test::TestEnvironment env;
  hv6test::MessageRecorder recorder;
  const QString notAFolder = env.path(QStringLiteral("runtime-file"));
  QFile file(notAFolder);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  qputenv("HV6_RUNTIME", notAFolder.toUtf8());
  CCheckV5App check;
  EXPECT_FALSE(hv6::closeRelatedPrograms(check));
  EXPECT_TRUE(recorder.empty());
}

// Running programs: launcher programs (copies of sleep, which cannot be
// asked and so refuse) and registered programs of the product in second
// processes (hv6_hrvcom106_child).
class RunningProgramsTest : public ::testing::Test {
 protected:
  ~RunningProgramsTest() override {
    for (QProcess* process : processes_) {
      process->kill();
      process->waitForFinished();
      delete process;
    }
  }

  QProcess* start(const QString& program, const QStringList& arguments) {
    auto* process = new QProcess;
    processes_.append(process);
    process->start(program, arguments);
    EXPECT_TRUE(process->waitForStarted());
    return process;
  }
  // A launcher entry whose program runs.
  CCheckV5App::LauncherProgram runLauncherProgram(const QString& name) {
    const QString copy = env_.path(QStringLiteral("prog%1").arg(processes_.size()));
    EXPECT_TRUE(QFile::copy(QStringLiteral("/bin/sleep"), copy));
    start(copy, {QStringLiteral("600")});
    return {name, copy};
  }
  // A registered program that agrees to end; "ready" was read already.
  QProcess* runAgreeingProgram(const QString& name) {
    QProcess* process = start(QCoreApplication::applicationDirPath() +
                                  QStringLiteral("/../outside/hrvcom106/hv6_hrvcom106_child"),
                              {QStringLiteral("serve"), name, name, QStringLiteral("yes")});
    EXPECT_EQ(readLine(*process), "ready");
    return process;
  }
  static QByteArray readLine(QProcess& process) {
    while (!process.canReadLine())
      if (!process.waitForReadyRead(30000)) return QByteArray();
    return process.readLine().trimmed();
  }

  hv6test::TestEnvironment env_;
  hv6test::MessageRecorder recorder_;
  QList<QProcess*> processes_;
};

TEST_F(RunningProgramsTest, NineProgramsAreListedInThreeLines) {
  QList<CCheckV5App::LauncherProgram> launchers;
  QStringList names;
  for (int i = 1; i <= 9; ++i) {
    names.append(QStringLiteral("プログラム%1").arg(i));
    launchers.append(runLauncherProgram(names.last()));
  }
  CCheckV5App check(launchers);
  recorder_.answer(hv6::MsgAnswer::Cancel);
  EXPECT_FALSE(hv6::closeRelatedPrograms(check));
  ASSERT_EQ(recorder_.messages().size(), 1);
  const hv6::MessageRequest& question = recorder_.messages().at(0);
  EXPECT_EQ(question.text, hv6::closeConfirmationText(names));
  EXPECT_EQ(question.text.count(QStringLiteral("\r\n")), 4);
}

TEST_F(RunningProgramsTest, CancelStopsBeforeAnyProgramIsAsked) {
  QProcess* agreeing = runAgreeingProgram(QStringLiteral("販売管理"));
  CCheckV5App check;
  recorder_.answer(hv6::MsgAnswer::Cancel);
  EXPECT_FALSE(hv6::closeRelatedPrograms(check));
  ASSERT_EQ(recorder_.messages().size(), 1);
  const hv6::MessageRequest& question = recorder_.messages().at(0);
  EXPECT_EQ(question.caption, QStringLiteral("HarvoＶ６"));
  EXPECT_EQ(question.buttons, hv6::MsgButtons::OkCancel);
  EXPECT_EQ(question.icon, hv6::MsgIcon::Question);
  EXPECT_FALSE(agreeing->canReadLine());  // neither asked nor closed
  EXPECT_EQ(agreeing->state(), QProcess::Running);
}

TEST_F(RunningProgramsTest, AgreeingProgramsAreClosedAndTheToolRuns) {
  QProcess* agreeing = runAgreeingProgram(QStringLiteral("販売管理"));
  CCheckV5App check;
  EXPECT_TRUE(hv6::closeRelatedPrograms(check));
  EXPECT_EQ(recorder_.messages().size(), 1);
  EXPECT_EQ(readLine(*agreeing), "asked");
  EXPECT_EQ(readLine(*agreeing), "closing");
  EXPECT_TRUE(agreeing->waitForFinished());
}

TEST_F(RunningProgramsTest, ARefusalStopsTheWalkWithTheRefusalMessage) {
  QProcess* agreeing = runAgreeingProgram(QStringLiteral("販売管理"));
  CCheckV5App check({runLauncherProgram(QStringLiteral("農程管理")),
                     runLauncherProgram(QStringLiteral("作業日誌入力"))});
  EXPECT_FALSE(hv6::closeRelatedPrograms(check));
  ASSERT_EQ(recorder_.messages().size(), 2);
  const hv6::MessageRequest& refusal = recorder_.messages().at(1);
  EXPECT_EQ(refusal.text, hv6::closeRefusedText(QStringLiteral("農程管理")));
  EXPECT_EQ(refusal.caption, QStringLiteral("HarvoＶ６"));
  EXPECT_EQ(refusal.icon, hv6::MsgIcon::Warning);
  EXPECT_EQ(readLine(*agreeing), "asked");  // the registered one came first and was closed
  EXPECT_EQ(readLine(*agreeing), "closing");
  for (int i = 1; i < processes_.size(); ++i)
    EXPECT_EQ(processes_.at(i)->state(), QProcess::Running);
}

}  // namespace
