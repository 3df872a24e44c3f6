// hv6-sales as a process: started on the data set the registry names, it
// registers as a running program of the system, agrees to end when asked
// by hv6's data tools and closes on their request.

#include "outside/hrvcom106/checkv5app.h"
#include "platform/registry.h"
#include "tests/outside/salehost/hostregistry.h"
#include "tests/support/temp_data_folder.h"
#include "tests/support/test_env.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>

#include <gtest/gtest.h>

namespace {

int indexOfSales(CCheckV5App& check) {
  int count = 0;
  if (!check.CheckHv6Process(count)) return -1;
  for (int i = 0; i < count; ++i) {
    QString name;
    check.GetExecMessageString(i, name);
    if (name == QStringLiteral("販売管理")) return i;
  }
  return -1;
}

TEST(HostProgramTest, RunsOnTheRegistrysDataAndClosesWhenTheDataToolsAsk) {
  hv6test::TestEnvironment env;
  hv6test::TempDataFolder data;
  hv6test::pointHostAtData(qEnvironmentVariable("HV6_REGISTRY"), data.diaryPath());

  QProcess host;
  host.setProgram(QStringLiteral(HV6_SALES_PROGRAM));
  host.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
  host.start();
  ASSERT_TRUE(host.waitForStarted());

  CCheckV5App check;
  int index = -1;
  EXPECT_TRUE(QTest::qWaitFor([&] { return (index = indexOfSales(check)) >= 0; }, 20000))
      << host.readAllStandardError().toStdString();
  ASSERT_GE(index, 0);
  // A second start only raises the first: it ends at once, nothing more
  // is registered.
  QProcess second;
  second.setProgram(QStringLiteral(HV6_SALES_PROGRAM));
  second.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
  second.start();
  EXPECT_TRUE(second.waitForFinished(20000));
  EXPECT_EQ(second.exitCode(), 0);
  int running = 0;
  ASSERT_TRUE(check.CheckHv6Process(running));
  EXPECT_EQ(running, 1);
  index = indexOfSales(check);
  ASSERT_GE(index, 0);

  // Nothing is being edited: it agrees, then closes on request.
  EXPECT_TRUE(check.QueryEnd(index));
  check.Close(index);
  EXPECT_TRUE(host.waitForFinished(20000));
  EXPECT_EQ(host.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(host.exitCode(), 0);
  int count = -1;
  ASSERT_TRUE(check.CheckHv6Process(count));
  EXPECT_EQ(count, 0);
}

}  // namespace
