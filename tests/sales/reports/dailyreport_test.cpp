// The daily reports over the slips of reportfixture.h: rows, slip and day
// totals, the summary, the slip filters, the closing-time tax, the work
// file's layout and life, and cancelling.
#include "sales/model/slipcalc.h"
#include "sales/reports/dailyreport.h"
#include "sales/reports/shipping.h"
#include "tests/sales/reports/reportfixture.h"

#include <QFile>
#include <QDir>
#include <QFileInfo>

namespace hv6test {
namespace {

using namespace hv6::sales;

class DailyReportTest : public ReportStore {
 protected:
  void SetUp() override {
    ReportStore::SetUp();
    storeTable();
  }
  static DailyConditions april(int mode = 0, int choice = kListSales) {
    DailyConditions c;
    c.mode = mode;
    c.dateFrom = 20240401;
    c.dateTo = 20240430;
    c.listChoice = choice;
    return c;
  }
  static QList<DailyRow> rows(const DailyReport& report) {
    QList<DailyRow> out;
    for (qint64 i = 0; i < report.rowCount(); ++i) {
      DailyRow r;
      EXPECT_TRUE(report.row(i, r));
      out << r;
    }
    return out;
  }
};

TEST_F(DailyReportTest, SalesReportRowsTotalsAndSummary) {
  DailyReport report;
  ASSERT_EQ(report.aggregate(jet, april()), 0);
  const QList<DailyRow> r = rows(report);
  // Slips 1 (2 lines), 2 (3 lines), day 04/09, slips 3 (2), 4 (1), day 04/10.
  ASSERT_EQ(r.size(), 14);
  const std::uint8_t types[] = {0, 0, 1, 0, 0, 0, 1, 2, 0, 0, 1, 0, 1, 2};
  for (int i = 0; i < 14; ++i) EXPECT_EQ(r[i].rowType, types[i]) << i;

  // Slip 1: lines of 3000 (tax 300, profit 1000) and 1000 (tax 80, cost 750).
  EXPECT_EQ(r[0].slipNo.trimmed(), QStringLiteral("1"));
  EXPECT_EQ(r[0].goodsName, QStringLiteral("トマト"));
  EXPECT_DOUBLE_EQ(r[0].amount, 3000);
  EXPECT_DOUBLE_EQ(r[0].tax, 300);
  EXPECT_DOUBLE_EQ(r[0].cost, 2000);
  EXPECT_DOUBLE_EQ(r[0].profit, 1000);
  EXPECT_DOUBLE_EQ(r[1].cost, 750);
  EXPECT_DOUBLE_EQ(r[2].amount, 4000);
  EXPECT_DOUBLE_EQ(r[2].tax, 380);
  EXPECT_DOUBLE_EQ(r[2].profit, 1250);
  // Slip 2: the discount line keeps neither price; 300 + 500, tax 30.
  EXPECT_EQ(r[4].lineKind, sl::kLineGoodsDiscount);
  EXPECT_DOUBLE_EQ(r[4].unitPrice, 0);
  EXPECT_DOUBLE_EQ(r[4].profit, -15);
  EXPECT_DOUBLE_EQ(r[5].profit, 0);  // 預り送料
  EXPECT_DOUBLE_EQ(r[6].amount, 800);
  EXPECT_DOUBLE_EQ(r[6].tax, 30);
  EXPECT_DOUBLE_EQ(r[6].profit, 150);
  // Day 04/09: 4000 + 800, tax 410; tax added 4300, untaxed 500.
  EXPECT_EQ(r[7].slipDate, 20240409);
  EXPECT_DOUBLE_EQ(r[7].amount, 4800);
  EXPECT_DOUBLE_EQ(r[7].tax, 410);
  EXPECT_DOUBLE_EQ(r[7].profit, 1400);
  EXPECT_DOUBLE_EQ(r[7].taxOut, 4300);
  EXPECT_DOUBLE_EQ(r[7].noTax, 500);
  // Slip 3 of the closing-time client on a closing day billed that day:
  // 600 + 1000, its own tax 100 plus the bill's 500.
  EXPECT_EQ(r[10].taxTiming, sl::kTimingAtClose);
  EXPECT_DOUBLE_EQ(r[9].amount, 1000);
  EXPECT_DOUBLE_EQ(r[9].tax, 100);
  EXPECT_DOUBLE_EQ(r[10].amount, 1600);
  EXPECT_DOUBLE_EQ(r[10].tax, 600);
  EXPECT_DOUBLE_EQ(r[10].taxInWithTax, 1100);
  // Slip 4: a return of 2 x 300.
  EXPECT_DOUBLE_EQ(r[11].quantity, -2);
  EXPECT_DOUBLE_EQ(r[11].cost, -400);
  EXPECT_DOUBLE_EQ(r[12].amount, -600);
  EXPECT_DOUBLE_EQ(r[12].tax, -60);
  // Day 04/10: 1600 - 600, tax 600 - 60, profit 600 - 200.
  EXPECT_DOUBLE_EQ(r[13].amount, 1000);
  EXPECT_DOUBLE_EQ(r[13].tax, 540);
  EXPECT_DOUBLE_EQ(r[13].profit, 400);

  const DailySummary& s = report.figures();
  EXPECT_EQ(s.slips, 4);
  EXPECT_DOUBLE_EQ(s.amount, 5800);
  EXPECT_DOUBLE_EQ(s.tax, 950);
  EXPECT_DOUBLE_EQ(s.profit, 1800);
  EXPECT_DOUBLE_EQ(s.cost, 3500);
  // 外税: lines 4000 + 300 + 600 - 600; with tax 4380 + 330 + 1100 - 660.
  EXPECT_DOUBLE_EQ(s.groups[kGroupAdded].sales, 4300);
  EXPECT_DOUBLE_EQ(s.groups[kGroupAdded].salesWithTax, 5150);
  EXPECT_DOUBLE_EQ(s.groups[kGroupAdded].cost, 2900);
  EXPECT_DOUBLE_EQ(s.groups[kGroupAdded].profit, 1400);
  EXPECT_DOUBLE_EQ(s.groups[kGroupIncluded].sales, 1000);
  EXPECT_DOUBLE_EQ(s.groups[kGroupIncluded].salesWithTax, 1100);
  EXPECT_DOUBLE_EQ(s.groups[kGroupIncluded].profit, 400);
  EXPECT_DOUBLE_EQ(s.groups[kGroupOutside].sales, 500);
  EXPECT_DOUBLE_EQ(s.groups[kGroupOutside].salesWithTax, 500);
  EXPECT_DOUBLE_EQ(s.total.sales, 5800);
  EXPECT_DOUBLE_EQ(s.total.salesWithTax, 6750);  // 5800 + 950
  EXPECT_DOUBLE_EQ(s.total.profit, 1800);

  // The lines the list, the printout and the text output share.
  const ReportLine first = report.line(0);
  EXPECT_EQ(first.cells[0][0], QStringLiteral("2024/04/09"));
  EXPECT_EQ(first.cells[0][2], QStringLiteral("青果店A"));
  EXPECT_EQ(first.cells[1][0], QStringLiteral("掛売"));
  EXPECT_EQ(first.cells[0][10], QStringLiteral("10%"));
  EXPECT_EQ(report.line(2).type, LineType::SlipTotal);
  EXPECT_EQ(report.line(2).cells[0][4], QStringLiteral("     【伝票計】"));
  EXPECT_EQ(report.line(2).cells[0][9], QStringLiteral("4380"));
  EXPECT_EQ(report.line(7).cells[0][4], QStringLiteral("     【日  計】"));
  ASSERT_EQ(report.closingLines().size(), 1);
  EXPECT_EQ(report.closingLines()[0].cells[0][4], QStringLiteral("     【合  計】"));
  EXPECT_EQ(report.closingLines()[0].cells[0][9], QStringLiteral("6750"));
}

TEST_F(DailyReportTest, TheListChoiceFiltersSlipKindsAndPersons) {
  auto slips = [&](const DailyConditions& c) {
    DailyReport report;
    EXPECT_EQ(report.aggregate(jet, c), 0);
    QStringList numbers;
    for (const DailyRow& r : rows(report))
      if (r.rowType == kRowSlipTotal) numbers << r.slipNo.trimmed();
    return numbers;
  };
  EXPECT_EQ(slips(april(0, kListCredit)), (QStringList{"1", "3", "4"}));
  EXPECT_EQ(slips(april(0, kListCash)), (QStringList{"2"}));
  EXPECT_EQ(slips(april(1, kListReservation)), (QStringList{"5"}));
  DailyConditions person = april();
  person.personCode = 7;
  EXPECT_EQ(slips(person), (QStringList{"2"}));
  DailyConditions may = april();
  may.dateFrom = 20240501;
  may.dateTo = 20240531;
  EXPECT_EQ(slips(may), (QStringList{"6"}));

  // A choice of reservation slips remembered from the reservation report
  // shows the first entry in the sales report.
  EXPECT_EQ(entryIndexOf(0, kListReservation), 0);
  EXPECT_EQ(slipListEntries(1), QStringList{QStringLiteral(" 予約伝票 ")});
  EXPECT_TRUE(acceptsSlipKind(kListSales, sl::kKindCash));
  EXPECT_FALSE(acceptsSlipKind(kListSales, sl::kKindReservation));
}

TEST_F(DailyReportTest, NothingMatchingIs835AndKeepsThePreviousRows) {
  DailyReport report;
  ASSERT_EQ(report.aggregate(jet, april()), 0);
  const QString before = report.workFilePath();
  DailyConditions empty = april();
  empty.dateFrom = 20230101;
  empty.dateTo = 20230131;
  EXPECT_EQ(report.aggregate(jet, empty), kMsgNothing);
  EXPECT_EQ(report.rowCount(), 14);
  EXPECT_EQ(report.workFilePath(), before);
  EXPECT_EQ(filesInWork().size(), 1);  // the empty file of the failed run is gone
}

TEST_F(DailyReportTest, WorkFileRowsArePrivateAndGoWithTheReport) {
  auto report = std::make_unique<DailyReport>();
  DailyReport other;
  ASSERT_EQ(report->aggregate(jet, april()), 0);
  ASSERT_EQ(other.aggregate(jet, april()), 0);
  const QString path = report->workFilePath();
  EXPECT_NE(path, other.workFilePath());
  EXPECT_EQ(QFileInfo(path).absolutePath(), QFileInfo(work.path()).absoluteFilePath());
  EXPECT_TRUE(QFileInfo(path).fileName().startsWith(QStringLiteral("t_e2001-")));
  EXPECT_TRUE(path.endsWith(QStringLiteral(".001")));

  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  ASSERT_EQ(bytes.size(), 14 * kDailyRowSize);
  // Row 2 is slip 1's total: type 1, per-line client.
  EXPECT_EQ(bytes[2 * kDailyRowSize + 184], 1);
  EXPECT_EQ(bytes[2 * kDailyRowSize + 185], sl::kTimingPerLine);
  EXPECT_EQ(DailyRow::decode(bytes.mid(2 * kDailyRowSize, kDailyRowSize)).amount, 4000);
  // The slip number in code page 932, right-aligned.
  EXPECT_EQ(bytes.mid(4, 13), QByteArray("            1"));

  // A new aggregation replaces the file; the old one goes.
  ASSERT_EQ(report->aggregate(jet, april(0, kListCash)), 0);
  EXPECT_FALSE(QFile::exists(path));
  const QString second = report->workFilePath();
  report.reset();
  EXPECT_FALSE(QFile::exists(second));
  EXPECT_EQ(filesInWork(), QStringList{QFileInfo(other.workFilePath()).fileName()});

  // The reservation report's name.
  DailyReport reservation;
  ASSERT_EQ(reservation.aggregate(jet, april(1, kListReservation)), 0);
  EXPECT_TRUE(QFileInfo(reservation.workFilePath()).fileName().startsWith(QStringLiteral("t_e4001-")));
}

TEST_F(DailyReportTest, CancellingEndsWith102AndLeavesNoFile) {
  DailyReport report;
  QList<int> seen;
  const int result = report.aggregate(jet, april(), [&](int percent) {
    seen << percent;
    return seen.size() < 2;  // cancel at the second slip
  });
  EXPECT_EQ(result, kMsgCancelled);
  EXPECT_EQ(seen, (QList<int>{25, 50}));  // 4 slips
  EXPECT_EQ(report.rowCount(), 0);
  EXPECT_TRUE(filesInWork().isEmpty());
}

TEST_F(DailyReportTest, AMissingWorkFolderIs920) {
  DailyReport report;
  EXPECT_EQ(report.aggregate(jet, april(), {}, work.filePath(QStringLiteral("missing"))),
            kMsgWorkCreate);
}

TEST(DailyReportRules, BillingCloseDaysAndPaging) {
  EXPECT_TRUE(isBillingCloseDay(20240410));
  EXPECT_TRUE(isBillingCloseDay(20240229));   // last day of a leap February
  EXPECT_TRUE(isBillingCloseDay(20230228));   // the last day of February 2023
  EXPECT_FALSE(isBillingCloseDay(20240228));  // not in 2024
  EXPECT_FALSE(isBillingCloseDay(20240409));
  EXPECT_FALSE(isBillingCloseDay(20240129));
  EXPECT_TRUE(isBillingCloseDay(20240131));
  // Moving forward the row falls a quarter into the window, back three
  // quarters.
  EXPECT_EQ(pagingStart(500, 0, 100), 475);
  EXPECT_EQ(pagingStart(400, 500, 100), 325);
  EXPECT_EQ(pagingStart(10, 500, 100), 0);
}

}  // namespace
}  // namespace hv6test

namespace hv6test {
namespace {

// A work file has its name in the work folder from the moment it is made
// (not only once someone asks for its name), and goes with its object.
TEST(WorkFiles, AreNamedInTheFolderAtOnceAndRemovedAfter) {
  QTemporaryDir dir;
  {
    hv6::sales::WorkFile file(hv6::sales::kDailyRowSize);
    ASSERT_TRUE(file.create(dir.path(), QStringLiteral("t_e2003.001")));
    const QStringList names = QDir(dir.path()).entryList(QDir::Files);
    ASSERT_EQ(names.size(), 1);
    EXPECT_TRUE(names[0].startsWith(QStringLiteral("t_e2003-")));
    EXPECT_TRUE(names[0].endsWith(QStringLiteral(".001")));
    EXPECT_FALSE(file.append(QByteArray(10, 'x')));  // rows are whole
    EXPECT_TRUE(file.append(QByteArray(hv6::sales::kDailyRowSize, 'x')));
  }
  EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

}  // namespace
}  // namespace hv6test

namespace hv6test {
namespace {

using namespace hv6::sales;

// A store whose database cannot be read: the environment's box 500 with
// the store's status, for both reports, and no work file.
TEST(ReportFailures, AnUnreadableStoreIs500) {
  CDaoDatabase closed;
  sl::CSelJetAccess jet(&closed);
  DailyReport daily;
  DailyConditions c;
  c.dateFrom = 20240101;
  c.dateTo = 20241231;
  EXPECT_EQ(daily.aggregate(jet, c), kMsgEnvironment);
  EXPECT_NE(daily.status(), sl::kSlOk);
  ShippingReport shipping;
  EXPECT_EQ(shipping.aggregate(jet, ShippingConditions{}), kMsgEnvironment);
  EXPECT_NE(shipping.status(), sl::kSlOk);
}

// Many slips of every line kind, class and rate, entered as the slip
// window would: the report's totals equal the sums of the stored slips
// computed here from their headers and lines.
class ReportTotalsTest : public ReportStore {};

TEST_F(ReportTotalsTest, TotalsEqualTheSumsOfTheStoredSlips) {
  using L = SlipLineSpec;
  const QString goods[] = {QStringLiteral("G001"), QStringLiteral("G002"), QStringLiteral("G003")};
  for (int n = 0; n < 40; ++n) {
    QList<L> lines;
    const std::uint8_t taxClass = static_cast<std::uint8_t>(n % 3 == 2 ? sl::kTaxFree : n % 2);
    lines << L{sl::kLineSale, goods[n % 3], double(n % 7 + 1), 100.0 + n * 13.5, taxClass,
               static_cast<std::uint8_t>(n % 2), 60.0 + n, 0};
    if (n % 4 == 0) lines << L{sl::kLineGoodsDiscount, {}, 0, 0, 0, 0, 0, double(n + 5)};
    if (n % 5 == 0) lines << L{sl::kLineReturn, goods[(n + 1) % 3], 1, 250, 0, 0, 90, 0};
    if (n % 6 == 0) lines << L{sl::kLineOther, {}, 0, 0, 0, 0, 0, 333};
    if (n % 7 == 0) lines << L{sl::kLineShipping, {}, 0, 0, sl::kTaxOutside, 0, 0, 800};
    const std::int32_t date = 20240301 + n % 25;
    storeSlip(QString::number(100 + n), date, n % 3 == 0 ? sl::kKindCash : sl::kKindCredit,
              n % 3 + 1, lines);
  }
  DailyConditions c;
  c.dateFrom = 20240301;
  c.dateTo = 20240331;
  DailyReport report;
  ASSERT_EQ(report.aggregate(jet, c), 0);

  // The sums from the store.
  double amount = 0, tax = 0, lineAmounts[3] = {0, 0, 0}, profit = 0;
  int slips = 0;
  const sl::SlipScope scope{0, 20240301, 20240331, 0, 0};
  jet.ResetSlipHeadReading();
  QList<sl::S_SELSLIPHD> headers;
  while (jet.ReadSlipHeads(scope, nullptr, 100, headers) == sl::kSlOk) {}
  for (const sl::S_SELSLIPHD& h : headers) {
    ++slips;
    amount += h.taxOutAmount + h.taxInAmount + h.noTaxAmount;
    tax += h.taxTotal;  // client 3 has no bill in March
    QList<sl::S_SELSLIP> lines;
    ASSERT_EQ(jet.ReadSlipLines(h.code, lines), sl::kSlOk);
    for (const sl::S_SELSLIP& l : lines) {
      lineAmounts[l.taxClass == 0 ? 0 : l.taxClass == 1 ? 1 : 2] += l.amount;
      profit += lineGrossProfit(l, company.amountRounding);
    }
  }
  ASSERT_EQ(slips, 40);
  const DailySummary& s = report.figures();
  EXPECT_EQ(s.slips, 40);
  EXPECT_DOUBLE_EQ(s.amount, amount);
  EXPECT_DOUBLE_EQ(s.tax, tax);
  EXPECT_DOUBLE_EQ(s.profit, profit);
  for (int g = 0; g < 3; ++g) EXPECT_DOUBLE_EQ(s.groups[g].sales, lineAmounts[g]) << g;
  EXPECT_DOUBLE_EQ(s.total.salesWithTax, amount + tax);

  // The day totals add up to the grand total too.
  double days = 0;
  for (qint64 i = 0; i < report.rowCount(); ++i) {
    DailyRow r;
    ASSERT_TRUE(report.row(i, r));
    if (r.rowType == kRowDayTotal) days += r.amount + r.tax;
  }
  EXPECT_DOUBLE_EQ(days, amount + tax);
}

}  // namespace
}  // namespace hv6test
