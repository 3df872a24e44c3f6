// The outputs of a report: CSV in UTF-8 with a byte-order mark, the PDF
// printout read back with pdftotext (headings, totals rows, page numbers,
// dots for values too wide), and the sales slip as 納品書 or 適格請求書.
#include "sales/reports/dailyreport.h"
#include "sales/reports/reportcsv.h"
#include "sales/reports/reportprint.h"
#include "sales/reports/shipping.h"
#include "tests/sales/reports/reportfixture.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>

namespace hv6test {
namespace {

using namespace hv6::sales;

QString pdfText(const QString& path) {
  QProcess p;
  p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
  if (!p.waitForFinished(30000)) return {};
  return QString::fromUtf8(p.readAllStandardOutput());
}

// The text without blanks: pdftotext places blanks by the glyphs' positions.
QString compact(QString text) {
  text.remove(QLatin1Char(' '));
  text.remove(QChar(0x3000));
  return text;
}

DailyConditions april() {
  DailyConditions c;
  c.dateFrom = 20240401;
  c.dateTo = 20240430;
  return c;
}

class OutputTest : public ReportStore {
 protected:
  void SetUp() override {
    ReportStore::SetUp();
    storeTable();
  }
};

TEST_F(OutputTest, CsvIsUtf8WithAByteOrderMark) {
  DailyReport report;
  ASSERT_EQ(report.aggregate(jet, april()), 0);
  const QString path = work.filePath(QStringLiteral("sales.csv"));
  ASSERT_TRUE(writeReportCsv(report, path));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
  const QString text = QString::fromUtf8(bytes.mid(3));
  EXPECT_EQ(text.toUtf8(), bytes.mid(3));  // valid UTF-8 throughout
  const QStringList lines = text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
  // Captions, 14 rows, the grand total.
  ASSERT_EQ(lines.size(), 16);
  EXPECT_TRUE(lines[0].startsWith(QStringLiteral("伝票日付,伝票番号,得意先名,明細No,商品名")));
  EXPECT_TRUE(lines[0].contains(QStringLiteral("伝票区分,得意先ｺｰﾄﾞ,区分,入数,単位,数量")));
  const QStringList first = lines[1].split(QLatin1Char(','));
  EXPECT_EQ(first[0], QStringLiteral("2024/04/09"));
  EXPECT_EQ(first[2], QStringLiteral("青果店A"));
  EXPECT_EQ(first[4], QStringLiteral("トマト"));
  EXPECT_EQ(first[8], QStringLiteral("3000"));  // no separators
  const QStringList slipTotal = lines[3].split(QLatin1Char(','));
  EXPECT_EQ(slipTotal[4], QStringLiteral("【伝票計】"));
  EXPECT_EQ(slipTotal[8], QStringLiteral("4000"));
  EXPECT_EQ(slipTotal[9], QStringLiteral("4380"));
  const QStringList grand = lines.last().split(QLatin1Char(','));
  EXPECT_EQ(grand[4], QStringLiteral("【合  計】"));
  EXPECT_EQ(grand[8], QStringLiteral("5800"));
  EXPECT_EQ(grand[9], QStringLiteral("6750"));

  // A file that cannot be written leaves nothing behind.
  QString error;
  EXPECT_FALSE(writeReportCsv(report, work.filePath(QStringLiteral("no/such/x.csv")), &error));
  EXPECT_FALSE(error.isEmpty());
}

TEST_F(OutputTest, PdfHasHeadingsTotalsSummaryAndPageNumbers) {
  DailyReport report;
  ASSERT_EQ(report.aggregate(jet, april()), 0);
  const QString path = work.filePath(QStringLiteral("sales.pdf"));
  ASSERT_TRUE(writeReportPdf(report, path, nullptr, QDateTime(QDate(2024, 5, 1), QTime(9, 30))));
  const QString text = pdfText(path);
  EXPECT_TRUE(text.contains(QStringLiteral("売上日報"))) << text.toStdString();
  EXPECT_TRUE(compact(text).contains(QStringLiteral("伝票日付2024/04/01～2024/04/30")));
  EXPECT_TRUE(compact(text).contains(QStringLiteral("作成日2024/05/0109:30")));
  EXPECT_TRUE(text.contains(QStringLiteral("【伝票計】")));
  EXPECT_TRUE(compact(text).contains(QStringLiteral("【日計】")));
  EXPECT_TRUE(compact(text).contains(QStringLiteral("【合計】")));
  EXPECT_TRUE(text.contains(QStringLiteral("6,750")));
  EXPECT_TRUE(text.contains(QStringLiteral("トマト")));
  EXPECT_TRUE(text.contains(QStringLiteral("概算粗利計")));
  EXPECT_TRUE(QString(text).remove(QLatin1Char(' ')).contains(QStringLiteral("\n1/1\n")));
}

// A report of many lines and one narrow number column.
class WideValues : public ReportSource {
 public:
  explicit WideValues(qint64 lines) : lines_(lines) {}
  QString title() const override { return QStringLiteral("試験帳票"); }
  QStringList conditionLines() const override { return {QStringLiteral("条件なし")}; }
  QList<ReportColumn> columns() const override {
    ReportColumn name;
    name.caption[0] = QStringLiteral("名前");
    name.width = 20;
    ReportColumn value;
    value.caption[0] = QStringLiteral("金額");
    value.kind[0] = CellKind::Amount;
    value.width = 8;
    return {name, value};
  }
  qint64 lineCount() const override { return lines_; }
  ReportLine line(qint64 i) const override {
    ReportLine l;
    l.cells[0] = QStringList{QStringLiteral("行%1").arg(i + 1),
                             i == 0 ? QStringLiteral("123456789012") : QString::number(i)};
    l.cells[1] = QStringList{QString(), QString()};
    return l;
  }
  QString printKey() const override { return QStringLiteral("TEST"); }

 private:
  qint64 lines_;
};

TEST(ReportPrint, TooWideValuesPrintAsDotsAndPagesAreNumbered) {
  QTemporaryDir dir;
  const WideValues report(200);
  const int pages = reportPageCount(report);
  ASSERT_GT(pages, 1);
  const QString path = dir.filePath(QStringLiteral("wide.pdf"));
  ASSERT_TRUE(writeReportPdf(report, path));
  const QString text = pdfText(path);
  EXPECT_TRUE(text.contains(QStringLiteral("・・・・・・・")));
  EXPECT_FALSE(text.contains(QStringLiteral("123,456,789,012")));
  EXPECT_TRUE(text.contains(QStringLiteral("199")));  // a value that fits
  // pdftotext may drop the blanks around the slash.
  const QString compact = QString(text).remove(QLatin1Char(' '));
  EXPECT_TRUE(compact.contains(QStringLiteral("\n1/%1\n").arg(pages)));
  EXPECT_TRUE(compact.contains(QStringLiteral("\n%1/%1\n").arg(pages)));
  EXPECT_TRUE(text.contains(QStringLiteral("行200")));
}

// A narrow report with long conditions: the conditions give way to the
// date printed on the same line instead of running into it.
class LongConditions : public WideValues {
 public:
  LongConditions() : WideValues(3) {}
  QStringList conditionLines() const override {
    return {QStringLiteral("伝票日付 2024/01/01 ～ 2024/12/31"), QStringLiteral("発送予定日 指定なし"),
            QStringLiteral("入力区分 指定なし"), QStringLiteral("得意先区分 指定なし"),
            QStringLiteral("担当者 指定なし"), QStringLiteral("全件対象")};
  }
};

struct WordBox {
  double xMin = 0, yMin = 0, xMax = 0;
  QString text;
};

// The words of the first page with their boxes (pdftotext -bbox).
QList<WordBox> pdfWords(const QString& path) {
  QProcess p;
  p.start(QStringLiteral("pdftotext"),
          {QStringLiteral("-bbox"), QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
           QStringLiteral("1"), path, QStringLiteral("-")});
  if (!p.waitForFinished(30000)) return {};
  const QString html = QString::fromUtf8(p.readAllStandardOutput());
  static const QRegularExpression word(QStringLiteral(
      R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="[\d.]+">([^<]*)</word>)re"));
  QList<WordBox> words;
  for (auto it = word.globalMatch(html); it.hasNext();) {
    const QRegularExpressionMatch m = it.next();
    words.append({m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(),
                  m.captured(4)});
  }
  return words;
}

TEST(ReportPrint, TheConditionsNeverRunIntoTheDatePrinted) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("conditions.pdf"));
  ASSERT_TRUE(writeReportPdf(LongConditions(), path, nullptr,
                             QDateTime(QDate(2024, 5, 1), QTime(9, 30))));
  const QList<WordBox> words = pdfWords(path);
  const auto date = std::find_if(words.begin(), words.end(), [](const WordBox& w) {
    return w.text.startsWith(QStringLiteral("作成日"));
  });
  ASSERT_NE(date, words.end());
  int sameLine = 0;
  for (const WordBox& w : words) {
    if (std::abs(w.yMin - date->yMin) > 2 || w.xMin >= date->xMin) continue;
    ++sameLine;
    EXPECT_LE(w.xMax, date->xMin) << w.text.toStdString();
  }
  EXPECT_GT(sameLine, 0);  // the conditions are on that line
}

TEST_F(OutputTest, ShippingListsPrintUnderTheirTitles) {
  ShippingReport report;
  ShippingConditions c;
  c.dateFrom = 20240401;
  c.dateTo = 20240430;
  ASSERT_EQ(report.aggregate(jet, c), 0);
  const QString schedule = work.filePath(QStringLiteral("schedule.pdf"));
  const QString goods = work.filePath(QStringLiteral("goods.pdf"));
  ASSERT_TRUE(writeReportPdf(report.view(kViewSchedule), schedule));
  ASSERT_TRUE(writeReportPdf(report.view(kViewGoods), goods));
  const QString s = pdfText(schedule);
  EXPECT_TRUE(s.contains(QStringLiteral("発送準備確認表")));
  EXPECT_TRUE(s.contains(QStringLiteral("2024/04/15")));
  const QString g = pdfText(goods);
  EXPECT_TRUE(g.contains(QStringLiteral("商品別合計表")));
  EXPECT_TRUE(g.contains(QStringLiteral("きゅうり")));
  EXPECT_FALSE(g.contains(QStringLiteral("なす")));
}

TEST_F(OutputTest, SalesSlipPrintsAsInvoiceWithRateTotals) {
  // Slip 1: 10 % 3000 (tax 300), 8 % 1000 (tax 80, 軽減).
  sl::S_SELSLIPHD header;
  ASSERT_EQ(jet.ReadSlipHead(0, QStringLiteral("1").rightJustified(13, QLatin1Char(' ')), header),
            sl::kSlOk);
  QList<sl::S_SELSLIP> lines;
  ASSERT_EQ(jet.ReadSlipLines(header.code, lines), sl::kSlOk);
  sl::S_CLIENTSEL client;
  ASSERT_EQ(jet.ReadClient(1, client), sl::kSlOk);
  sl::slSetText(company.name, QStringLiteral("ベルコ農園"));

  const QList<RateFigures> rates = slipRateFigures(lines, company, client);
  ASSERT_EQ(rates.size(), 2);
  EXPECT_DOUBLE_EQ(rates[0].amount, 3000);
  EXPECT_DOUBLE_EQ(rates[0].tax, 300);
  EXPECT_FALSE(rates[0].reduced);
  EXPECT_DOUBLE_EQ(rates[1].amount, 1000);
  EXPECT_DOUBLE_EQ(rates[1].tax, 80);
  EXPECT_TRUE(rates[1].reduced);

  const QString plain = work.filePath(QStringLiteral("slip.pdf"));
  ASSERT_TRUE(writeSalesSlipPdf(plain, header, lines, company, client));
  QString text = pdfText(plain);
  EXPECT_TRUE(text.contains(QStringLiteral("納品書"))) << text.toStdString();
  EXPECT_FALSE(text.contains(QStringLiteral("登録番号")));
  EXPECT_TRUE(compact(text).contains(QStringLiteral("青果店A様")));

  sl::slSetText(company.invoiceNo, QStringLiteral("T1234567890123"));
  const QString invoice = work.filePath(QStringLiteral("invoice.pdf"));
  ASSERT_TRUE(writeSalesSlipPdf(invoice, header, lines, company, client));
  text = pdfText(invoice);
  EXPECT_TRUE(text.contains(QStringLiteral("適格請求書"))) << text.toStdString();
  EXPECT_TRUE(compact(text).contains(QStringLiteral("登録番号T1234567890123")));
  EXPECT_TRUE(text.contains(QStringLiteral("ベルコ農園")));
  EXPECT_TRUE(compact(text).contains(QStringLiteral("米※")));
  EXPECT_FALSE(compact(text).contains(QStringLiteral("トマト※")));
  EXPECT_TRUE(text.contains(QStringLiteral("10%対象")));
  EXPECT_TRUE(text.contains(QStringLiteral("8%対象（軽減税率）")));
  EXPECT_TRUE(text.contains(QStringLiteral("消費税 300円")));
  EXPECT_TRUE(text.contains(QStringLiteral("消費税 80円")));
  EXPECT_TRUE(text.contains(QStringLiteral("4,380円")));
}

TEST(SlipRates, PerSlipTimingRoundsOncePerRate) {
  // Two 外税 lines of 10 yen at 8 % truncated: per line 0 + 0, per slip
  // round_down(1.6) = 1.
  sl::S_COMPANY company;
  company.taxRates[1] = 800;
  QList<sl::S_SELSLIP> lines(2);
  for (sl::S_SELSLIP& l : lines) {
    l.kind = sl::kLineSale;
    sl::slSetText(l.goodsName, QStringLiteral("品"));
    l.amount = 10;
    l.taxRateCode = 1;
  }
  sl::S_CLIENTSEL client;
  client.taxRounding = sl::kRoundTruncate;
  client.taxTiming = sl::kTimingPerSlip;
  EXPECT_DOUBLE_EQ(slipRateFigures(lines, company, client).value(0).tax, 1);
  client.taxTiming = sl::kTimingAtClose;
  EXPECT_DOUBLE_EQ(slipRateFigures(lines, company, client).value(0).tax, 0);
}

}  // namespace
}  // namespace hv6test

namespace hv6test {
namespace {

TEST(ReportFields, TooWideNumbersBecomeDotsAndTextsAreCut) {
  using namespace hv6::sales;
  const auto measure = [](const QString& t) { return static_cast<double>(halfWidths(t)); };
  const QString dots = QStringLiteral("・・・・・・・");
  EXPECT_EQ(fitField(QStringLiteral("1,234"), CellKind::Amount, 5, measure, dots), QStringLiteral("1,234"));
  EXPECT_EQ(fitField(QStringLiteral("12,345"), CellKind::Amount, 5, measure, dots), dots);
  EXPECT_EQ(fitField(QStringLiteral("1.25"), CellKind::Quantity, 3, measure, dots), dots);
  EXPECT_EQ(fitField(QStringLiteral("トマト箱"), CellKind::Text, 5, measure, dots), QStringLiteral("トマ"));
  EXPECT_EQ(formatCell(QStringLiteral("-1234567"), CellKind::Amount), QStringLiteral("-1,234,567"));
  EXPECT_EQ(formatCell(QStringLiteral("1234.5"), CellKind::Quantity), QStringLiteral("1,234.5"));
  EXPECT_EQ(plainNumber(2.999999999), QStringLiteral("3"));
  EXPECT_EQ(plainNumber(-0.5), QStringLiteral("-0.5"));
}

}  // namespace
}  // namespace hv6test
