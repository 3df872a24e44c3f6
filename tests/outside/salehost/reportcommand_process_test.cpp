// hv6-sales --report as a process: the report of the registry's data set
// written to a file without any window, exit status 0; nothing matching is
// "[835] ..." on standard error with status 1; wrong arguments status 2.

#include "outside/sl_calc/calc.h"
#include "outside/sl_errmsg/errmsg.h"
#include "outside/sl_jet/seljetaccess.h"
#include "platform/registry.h"
#include "tests/outside/salehost/hostregistry.h"
#include "tests/support/temp_data_folder.h"
#include "tests/support/test_env.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct ProcessRun {
  int status = -1;
  QString errors;
};

ProcessRun runSales(const QStringList& arguments) {
  QProcess host;
  host.setProgram(QStringLiteral(HV6_SALES_PROGRAM));
  host.setArguments(arguments);
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.remove(QStringLiteral("QT_QPA_PLATFORM"));  // the command needs no display
  env.remove(QStringLiteral("DISPLAY"));
  env.remove(QStringLiteral("WAYLAND_DISPLAY"));
  host.setProcessEnvironment(env);
  host.start();
  ProcessRun run;
  if (!host.waitForFinished(60000)) return run;
  run.status = host.exitStatus() == QProcess::NormalExit ? host.exitCode() : -2;
  run.errors = QString::fromUtf8(host.readAllStandardError());
  return run;
}

TEST(ReportCommandProcess, WritesTheReportOrSays835) {
  hv6test::TestEnvironment environment;
  hv6test::TempDataFolder data;
  QTemporaryDir work;
  hv6test::pointHostAtData(qEnvironmentVariable("HV6_REGISTRY"), data.diaryPath());
  {
    // One credit slip of 2 x 500 at 10 % per line, tax 100.
    sl::CSelJetAccess jet(&data.diary());
    sl::S_SELENV env;
    ASSERT_EQ(jet.ReadEnvironment(env), sl::kSlOk);
    sl::slSetText(env.workFolder, work.path());
    ASSERT_EQ(jet.UpdateEnvironment(env), sl::kSlOk);
    sl::S_CLIENTSEL client;
    client.code = 1;
    sl::slSetText(client.name, QStringLiteral("青果店A"));
    ASSERT_EQ(jet.AppendClient(client), sl::kSlOk);
    sl::S_COMMODITY goods;
    sl::slSetText(goods.code, QStringLiteral("G001"));
    sl::slSetText(goods.name, QStringLiteral("トマト"));
    ASSERT_EQ(jet.AppendGoods(goods), sl::kSlOk);
    sl::S_SELSLIPHD header;
    sl::slSetText(header.slipNo, QStringLiteral("            1"));
    header.slipDate = 20240409;
    header.slipKind = sl::kKindCredit;
    header.clientCode = 1;
    header.taxOutAmount = 1000;
    header.taxTotal = 100;
    header.grandTotal = 1100;
    header.lineCount = 1;
    sl::S_SELSLIP line;
    line.lineNo = 1;
    line.kind = sl::kLineSale;
    sl::slSetText(line.goodsCode, QStringLiteral("G001"));
    sl::slSetText(line.goodsName, QStringLiteral("トマト"));
    line.quantity = 2;
    line.unitPrice = 500;
    line.amount = 1000;
    line.tax = 100;
    sl::CCalc calc(&jet);
    const sl::S_SELSLIPHD none;
    ASSERT_NE(calc.UpdateClientSelslip(nullptr, header, none, {line}, sl::kStoreAppended), 0);
  }

  const QString csv = work.filePath(QStringLiteral("daily.csv"));
  ProcessRun run = runSales({"--report", "sales-daily", "--from", "20240401", "--to", "20240430", "--csv", csv});
  EXPECT_EQ(run.status, 0) << run.errors.toStdString();
  QFile file(csv);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
  EXPECT_TRUE(QString::fromUtf8(bytes).contains(QStringLiteral("【合  計】,,,,1000,1100")));

  const QString pdf = work.filePath(QStringLiteral("goods.pdf"));
  run = runSales({"--report", "shipping-goods", "--from", "20240401", "--to", "20240430", "--pdf", pdf});
  EXPECT_EQ(run.status, 0) << run.errors.toStdString();
  EXPECT_TRUE(QFile(pdf).size() > 0);

  run = runSales({"--report", "reservation-daily", "--from", "20240401", "--to", "20240430", "--csv",
                  work.filePath(QStringLiteral("none.csv"))});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.errors, QStringLiteral("[835] ") + sl::CErrMsg::text(835) + QLatin1Char('\n'));
  EXPECT_FALSE(QFile::exists(work.filePath(QStringLiteral("none.csv"))));

  run = runSales({"--report", "sales-daily", "--from", "2024-04-01", "--to", "20240430", "--csv", csv});
  EXPECT_EQ(run.status, 2);
  // Only the files written remain: no work file is left behind.
  EXPECT_EQ(QDir(work.path()).entryList(QDir::Files),
            (QStringList{QStringLiteral("daily.csv"), QStringLiteral("goods.pdf")}));
}

}  // namespace
