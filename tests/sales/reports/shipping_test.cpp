// The shipping preparation list over the slips of reportfixture.h: the
// header filter, the schedule rows, the goods totals found by binary search
// with the zero totals left out, and the three work files.
#include "sales/reports/shipping.h"
#include "tests/sales/reports/reportfixture.h"

#include <QFile>
#include <QFileInfo>

namespace hv6test {
namespace {

using namespace hv6::sales;

class ShippingTest : public ReportStore {
 protected:
  void SetUp() override {
    ReportStore::SetUp();
    storeTable();
  }
  static ShippingConditions april(int view = kViewSchedule) {
    ShippingConditions c;
    c.view = view;
    c.dateFrom = 20240401;
    c.dateTo = 20240430;
    return c;
  }
  static QStringList scheduleSlips(const ShippingReport& r) {
    QStringList out;
    for (qint64 i = 0; i < r.scheduleCount(); ++i) {
      ScheduleRow row;
      EXPECT_TRUE(r.scheduleRow(i, row));
      out << row.slipNo.trimmed() + QLatin1Char(':') + row.goodsCode;
    }
    return out;
  }
};

TEST_F(ShippingTest, ScheduleListsTheGoodsLinesOfEveryKind) {
  ShippingReport report;
  ASSERT_EQ(report.aggregate(jet, april()), 0);
  // Discount and shipping-charge lines are not goods lines.
  EXPECT_EQ(scheduleSlips(report), (QStringList{"1:G001", "1:G003", "2:G002", "3:G004", "3:G002",
                                                "4:G004", "5:G003"}));
  ScheduleRow first, second;
  ASSERT_TRUE(report.scheduleRow(0, first));
  ASSERT_TRUE(report.scheduleRow(1, second));
  EXPECT_EQ(first.shipDate, 20240415);
  EXPECT_EQ(first.clientName, QStringLiteral("青果店A"));
  EXPECT_EQ(first.shipped, 1);
  EXPECT_EQ(first.firstOfSlip, 1);
  EXPECT_EQ(second.firstOfSlip, 0);
  EXPECT_DOUBLE_EQ(first.quantity, 10);
  const ReportLine line = report.view(kViewSchedule).line(1);
  EXPECT_TRUE(line.cells[0][0].isEmpty());  // the slip's fields only on its first row
  EXPECT_EQ(line.cells[0][3], QStringLiteral("米"));
}

TEST_F(ShippingTest, HeaderFilterOfKindStateAndShippingDates) {
  ShippingConditions c = april();
  c.inputKind = sl::kKindReservation;  // 予約 only
  ShippingReport report;
  ASSERT_EQ(report.aggregate(jet, c), 0);
  EXPECT_EQ(scheduleSlips(report), QStringList{"5:G003"});
  c.inputKind = sl::kKindCredit;
  ASSERT_EQ(report.aggregate(jet, c), 0);
  EXPECT_EQ(scheduleSlips(report), (QStringList{"1:G001", "1:G003", "3:G004", "3:G002", "4:G004"}));
  c.inputKind = sl::kKindCash;
  ASSERT_EQ(report.aggregate(jet, c), 0);
  EXPECT_EQ(scheduleSlips(report), QStringList{"2:G002"});

  // 未発送のみ skips the shipped slip 1 entirely; 発送済みのみ keeps it alone.
  c = april();
  c.shipState = kShipNotYet;
  ASSERT_EQ(report.aggregate(jet, c), 0);
  EXPECT_FALSE(scheduleSlips(report).join(QLatin1Char(' ')).contains(QStringLiteral("1:")));
  EXPECT_EQ(report.scheduleCount(), 5);
  c.shipState = kShipDone;
  ASSERT_EQ(report.aggregate(jet, c), 0);
  EXPECT_EQ(scheduleSlips(report), (QStringList{"1:G001", "1:G003"}));

  c = april();
  c.shipFrom = 20240412;  // only slip 1 is planned after the 12th
  ASSERT_EQ(report.aggregate(jet, c), 0);
  EXPECT_EQ(report.scheduleCount(), 2);
  c = april();
  c.personCode = 7;
  ASSERT_EQ(report.aggregate(jet, c), 0);
  EXPECT_EQ(scheduleSlips(report), QStringList{"2:G002"});

  sl::S_SELSLIPHD h;
  h.slipKind = sl::kKindReservation;
  ShippingConditions any;
  EXPECT_TRUE(acceptsShippingHeader(any, h));
  any.clientType = 4;
  EXPECT_FALSE(acceptsShippingHeader(any, h));
}

TEST_F(ShippingTest, GoodsTotalsLeaveOutGoodsThatCancel) {
  ShippingReport report;
  ASSERT_EQ(report.aggregate(jet, april(kViewGoods)), 0);
  // G001 10; G002 3 + 10; G003 5 + 4 (the reservation too); G004 2 - 2 and
  // G005 (never sold) are left out.
  ASSERT_EQ(report.goodsCount(), 3);
  QStringList codes;
  QList<double> totals;
  for (qint64 i = 0; i < 3; ++i) {
    GoodsRow r;
    ASSERT_TRUE(report.goodsRow(i, r));
    codes << r.code;
    totals << r.quantity;
  }
  EXPECT_EQ(codes, (QStringList{"G001", "G002", "G003"}));
  EXPECT_EQ(totals, (QList<double>{10, 13, 9}));
  EXPECT_EQ(report.view(kViewGoods).line(1).cells[0][1], QStringLiteral("きゅうり"));

  // The three work files, each private, in the work folder.
  const QStringList paths = report.workFilePaths();
  ASSERT_EQ(paths.size(), 3);
  EXPECT_TRUE(QFileInfo(paths[0]).fileName().startsWith(QStringLiteral("T_E5001-")));
  EXPECT_TRUE(paths[0].endsWith(QStringLiteral(".001")));
  EXPECT_TRUE(paths[1].endsWith(QStringLiteral(".002")));
  EXPECT_TRUE(paths[2].endsWith(QStringLiteral(".003")));
  EXPECT_EQ(QFileInfo(paths[2]).size(), 5 * kGoodsRowSize);  // every goods
  EXPECT_EQ(QFileInfo(paths[1]).size(), 3 * kGoodsRowSize);
  EXPECT_EQ(QFileInfo(paths[0]).size(), 7 * kScheduleRowSize);
  report.clear();
  EXPECT_TRUE(filesInWork().isEmpty());
}

TEST_F(ShippingTest, NothingToShowIs835WithAnEmptyList) {
  ShippingReport report;
  ShippingConditions c = april(kViewGoods);
  c.dateFrom = 20230101;
  c.dateTo = 20230131;
  EXPECT_EQ(report.aggregate(jet, c), kMsgNothing);
  EXPECT_EQ(report.goodsCount(), 0);
  EXPECT_TRUE(filesInWork().isEmpty());
}

TEST(ShippingRows, BinarySearchFindsEveryCodeInByteOrder) {
  QTemporaryDir dir;
  WorkFile file(kGoodsRowSize);
  ASSERT_TRUE(file.create(dir.path(), QStringLiteral("T_E5000.003")));
  const QStringList codes{"A", "A1", "B", "B10", "B2", "C", "Z9"};
  for (const QString& code : codes) {
    GoodsRow r;
    r.code = code;
    ASSERT_TRUE(file.append(r.encode()));
  }
  for (int i = 0; i < codes.size(); ++i) EXPECT_EQ(findGoodsRow(file, goodsKey(codes[i])), i);
  EXPECT_EQ(findGoodsRow(file, goodsKey(QStringLiteral("B1"))), -1);
  EXPECT_EQ(findGoodsRow(file, goodsKey(QStringLiteral("0"))), -1);
  EXPECT_EQ(findGoodsRow(file, goodsKey(QStringLiteral("ZZ"))), -1);
}

}  // namespace
}  // namespace hv6test
