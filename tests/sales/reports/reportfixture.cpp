#include "tests/sales/reports/reportfixture.h"

#include "sales/model/slipmodel.h"

#include <QDir>

namespace hv6test {

namespace {

sl::S_CLIENTSEL client(std::int32_t code, const QString& name, std::uint8_t timing) {
  sl::S_CLIENTSEL c;
  c.code = code;
  sl::slSetText(c.name, name);
  c.taxTiming = timing;
  c.taxRounding = sl::kRoundTruncate;
  return c;
}

sl::S_COMMODITY goods(const QString& code, const QString& name, std::uint8_t rate) {
  sl::S_COMMODITY g;
  sl::slSetText(g.code, code);
  sl::slSetText(g.name, name);
  sl::slSetText(g.unit, QStringLiteral("箱"));
  g.taxRateCode = rate;
  return g;
}

}  // namespace

void ReportStore::SetUp() {
  ASSERT_TRUE(work.isValid());
  ASSERT_EQ(jet.ReadCompany(company), sl::kSlOk);
  company.amountRounding = sl::kRoundHalfUp;
  company.taxRates[0] = 1000;
  company.taxRates[1] = 800;
  company.reducedRate[1] = 1;
  ASSERT_EQ(jet.UpdateCompany(company), sl::kSlOk);
  sl::S_SELENV env;
  ASSERT_EQ(jet.ReadEnvironment(env), sl::kSlOk);
  env.workstation = 1;
  sl::slSetText(env.workFolder, work.path());
  ASSERT_EQ(jet.UpdateEnvironment(env), sl::kSlOk);
  ASSERT_EQ(jet.AppendClient(client(1, QStringLiteral("青果店A"), sl::kTimingPerLine)), sl::kSlOk);
  ASSERT_EQ(jet.AppendClient(client(2, QStringLiteral("スーパーB"), sl::kTimingPerSlip)), sl::kSlOk);
  ASSERT_EQ(jet.AppendClient(client(3, QStringLiteral("直売所C"), sl::kTimingAtClose)), sl::kSlOk);
  ASSERT_EQ(jet.AppendGoods(goods(QStringLiteral("G001"), QStringLiteral("トマト"), 0)), sl::kSlOk);
  ASSERT_EQ(jet.AppendGoods(goods(QStringLiteral("G002"), QStringLiteral("きゅうり"), 0)), sl::kSlOk);
  ASSERT_EQ(jet.AppendGoods(goods(QStringLiteral("G003"), QStringLiteral("米"), 1)), sl::kSlOk);
  ASSERT_EQ(jet.AppendGoods(goods(QStringLiteral("G004"), QStringLiteral("なす"), 0)), sl::kSlOk);
  ASSERT_EQ(jet.AppendGoods(goods(QStringLiteral("G005"), QStringLiteral("ピーマン"), 0)), sl::kSlOk);
  sl::S_BILLSUM bill;
  bill.clientCode = 3;
  bill.lastBillDate = 20240410;
  bill.lastBillAmount = 12000;
  bill.lastBillTax = 500;
  ASSERT_EQ(jet.UpdateBillSum(bill), sl::kSlOk);
}

sl::S_SELSLIPHD ReportStore::storeSlip(const QString& number, std::int32_t date, std::uint8_t kind,
                                       std::int32_t clientCode, const QList<SlipLineSpec>& lines,
                                       std::int32_t person, std::uint8_t shipped,
                                       std::int32_t shipDate) {
  sl::S_CLIENTSEL c;
  EXPECT_EQ(jet.ReadClient(clientCode, c), sl::kSlOk);
  hv6::sales::SlipModel model;
  model.setCompany(company);
  model.setClient(c);
  model.newSlip(kind, date);
  for (int row = 0; row < lines.size(); ++row) {
    const SlipLineSpec& l = lines[row];
    EXPECT_EQ(model.setKind(row, l.kind), 0);
    if (!l.goods.isEmpty()) {
      sl::S_COMMODITY g;
      EXPECT_EQ(jet.ReadGoods(l.goods, g), sl::kSlOk);
      model.setGoods(row, g);
    }
    if (l.kind == sl::kLineSale || l.kind == sl::kLineReturn) {
      model.setTaxClass(row, l.taxClass);
      model.setTaxRateCode(row, l.rate);
      model.setCostPrice(row, l.cost);
      model.setUnitPrice(row, l.price);
      model.setQuantity(row, l.quantity);
    } else {
      if (l.kind != sl::kLineGoodsDiscount) model.setTaxClass(row, l.taxClass);
      model.setName(row, QStringLiteral("値引等"));
      model.setAmount(row, l.amount);
    }
  }
  sl::S_SELSLIPHD& h = model.editHeader();
  sl::slSetText(h.slipNo, number.rightJustified(13, QLatin1Char(' ')));
  h.clientCode = clientCode;
  h.personCode = person;
  h.shipped = shipped;
  h.shipDate = shipDate ? shipDate : date;
  sl::S_SELSLIPHD header = model.header();
  QList<sl::S_SELSLIP> stored;
  for (int row = 0; row < lines.size(); ++row) {
    sl::S_SELSLIP line = model.line(row);
    line.lineNo = static_cast<std::uint8_t>(row + 1);
    stored << line;
  }
  header.lineCount = static_cast<std::int32_t>(stored.size());
  const sl::S_SELSLIPHD none;
  EXPECT_NE(calc.UpdateClientSelslip(nullptr, header, none, stored, sl::kStoreAppended), 0)
      << calc.lastStatus();
  return header;
}

void ReportStore::storeTable() {
  using L = SlipLineSpec;
  const std::uint8_t in = sl::kTaxIncluded;
  storeSlip(QStringLiteral("1"), 20240409, sl::kKindCredit, 1,
            {L{sl::kLineSale, QStringLiteral("G001"), 10, 300, 0, 0, 200, 0},
             L{sl::kLineSale, QStringLiteral("G003"), 5, 200, 0, 1, 150, 0}},
            0, 1, 20240415);
  storeSlip(QStringLiteral("2"), 20240409, sl::kKindCash, 2,
            {L{sl::kLineSale, QStringLiteral("G002"), 3, 105, 0, 0, 50, 0},
             L{sl::kLineGoodsDiscount, {}, 0, 0, 0, 0, 0, 15},
             L{sl::kLineShipping, {}, 0, 0, sl::kTaxOutside, 0, 0, 500}},
            7);
  storeSlip(QStringLiteral("3"), 20240410, sl::kKindCredit, 3,
            {L{sl::kLineSale, QStringLiteral("G004"), 2, 300, 0, 0, 200, 0},
             L{sl::kLineSale, QStringLiteral("G002"), 10, 110, in, 0, 60, 0}});
  storeSlip(QStringLiteral("4"), 20240410, sl::kKindCredit, 1,
            {L{sl::kLineReturn, QStringLiteral("G004"), 2, 300, 0, 0, 200, 0}});
  storeSlip(QStringLiteral("5"), 20240410, sl::kKindReservation, 1,
            {L{sl::kLineSale, QStringLiteral("G003"), 4, 200, 0, 1, 150, 0}});
  storeSlip(QStringLiteral("6"), 20240501, sl::kKindCredit, 2,
            {L{sl::kLineSale, QStringLiteral("G001"), 1, 300, 0, 0, 0, 0}});
}

QStringList ReportStore::filesInWork() const {
  return QDir(work.path()).entryList(QDir::Files, QDir::Name);
}

}  // namespace hv6test
