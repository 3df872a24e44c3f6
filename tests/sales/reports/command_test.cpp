// The report command of the sales host: exit status, its messages on the
// error stream and the files it writes.
#include "outside/sl_errmsg/errmsg.h"
#include "sales/reports/reportcommand.h"
#include "tests/sales/reports/reportfixture.h"

#include <QFile>
#include <QTextStream>

namespace hv6test {
namespace {

using namespace hv6::sales;

class ReportCommandTest : public ReportStore {
 protected:
  void SetUp() override {
    ReportStore::SetUp();
    storeTable();
  }
  int run(const QStringList& args) {
    errors.clear();
    QTextStream stream(&errors);
    return runReportCommand(args, jet, stream);
  }
  QString errors;
};

TEST_F(ReportCommandTest, WritesEachReportAndExitsZero) {
  const QString csv = work.filePath(QStringLiteral("daily.csv"));
  EXPECT_EQ(run({"--report", "sales-daily", "--from", "20240401", "--to", "20240430", "--csv", csv}), 0);
  EXPECT_TRUE(errors.isEmpty());
  QFile file(csv);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QString text = QString::fromUtf8(file.readAll());
  EXPECT_TRUE(text.contains(QStringLiteral("【合  計】,,,,5800,6750")));

  const QString goods = work.filePath(QStringLiteral("goods.csv"));
  EXPECT_EQ(run({"--report", "shipping-goods", "--from", "20240401", "--to", "20240430", "--csv", goods}), 0);
  QFile goodsFile(goods);
  ASSERT_TRUE(goodsFile.open(QIODevice::ReadOnly));
  const QStringList lines = QString::fromUtf8(goodsFile.readAll().mid(3)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
  EXPECT_EQ(lines, (QStringList{QStringLiteral("商品コード,商品名,入数,数量,単位"),
                                QStringLiteral("G001,トマト,,10,箱"), QStringLiteral("G002,きゅうり,,13,箱"),
                                QStringLiteral("G003,米,,9,箱")}));

  const QString pdf = work.filePath(QStringLiteral("reservation.pdf"));
  EXPECT_EQ(run({"--report", "reservation-daily", "--from", "20240401", "--to", "20240430", "--pdf", pdf}), 0);
  EXPECT_TRUE(QFile(pdf).size() > 0);
  const QString schedule = work.filePath(QStringLiteral("schedule.csv"));
  EXPECT_EQ(run({"--report", "shipping-schedule", "--from", "20240409", "--to", "20240409", "--csv", schedule}), 0);
  EXPECT_TRUE(QFile::exists(schedule));
}

TEST_F(ReportCommandTest, NothingMatchingIs835OnStderrAndStatusOne) {
  const QString csv = work.filePath(QStringLiteral("none.csv"));
  EXPECT_EQ(run({"--report", "sales-daily", "--from", "20230101", "--to", "20230131", "--csv", csv}), 1);
  EXPECT_EQ(errors, QStringLiteral("[835] ") + sl::CErrMsg::text(835) + QLatin1Char('\n'));
  EXPECT_FALSE(QFile::exists(csv));
  EXPECT_EQ(run({"--report", "shipping-goods", "--from", "20230101", "--to", "20230131", "--csv", csv}), 1);
  EXPECT_TRUE(errors.startsWith(QStringLiteral("[835] ")));
  EXPECT_TRUE(filesInWork().isEmpty());
}

TEST_F(ReportCommandTest, WrongArgumentsAreStatusTwoWithTheUsage) {
  const QString csv = work.filePath(QStringLiteral("x.csv"));
  const QList<QStringList> wrong{
      {"--report", "monthly", "--from", "20240401", "--to", "20240430", "--csv", csv},
      {"--report", "sales-daily", "--from", "20240431", "--to", "20240430", "--csv", csv},
      {"--report", "sales-daily", "--from", "20240430", "--to", "20240401", "--csv", csv},
      {"--report", "sales-daily", "--from", "20240401", "--to", "20240430"},
      {"--report", "sales-daily", "--from", "20240401", "--to", "20240430", "--csv", csv, "--pdf", csv},
      {"--report", "sales-daily", "--from", "20240401", "--to", "20240430", "--csv"},
      {"--report", "sales-daily", "--from", "20240401", "--to", "20240430", "--xls", csv}};
  for (const QStringList& args : wrong) {
    EXPECT_EQ(run(args), 2) << args.join(' ').toStdString();
    EXPECT_TRUE(errors.contains(reportCommandUsage()));
  }
  EXPECT_FALSE(QFile::exists(csv));
  EXPECT_TRUE(isReportCommand({"--report", "sales-daily"}));
  EXPECT_FALSE(isReportCommand({"-REG", "HV6"}));
}

TEST_F(ReportCommandTest, AnUnwritableFileIsStatusOne) {
  EXPECT_EQ(run({"--report", "sales-daily", "--from", "20240401", "--to", "20240430", "--csv",
                 work.filePath(QStringLiteral("missing/x.csv"))}),
            1);
  EXPECT_TRUE(errors.contains(QStringLiteral("ファイルを書き込めませんでした")));
}

}  // namespace
}  // namespace hv6test
