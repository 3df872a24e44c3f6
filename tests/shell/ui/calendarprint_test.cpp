// The whole path of the calendar's lines: the demo farm's databases, the
// built hv6 printing a month to PDF, and the PDF's text against lines
// computed here from the same databases.
#include "calendar/rtftext.h"
#include "install/demo/demodata.h"
#include "platform/dao/dao.h"
#include "store/schema.h"
#include "tests/calendar/calendar_fixture.h"
#include "tests/shell/shell_fixture.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {

constexpr int kWaitMs = 120000;  // only a limit for a hung program, never a measure
constexpr int kDemoYear = 2025;
const QString kMonth = QStringLiteral("202508");
const QString kMonthStart = QStringLiteral("2025-08-01 00:00:00");
const QString kMonthEnd = QStringLiteral("2025-08-31 23:59:59");

// pdftotext gives gaps instead of the blanks drawn, and Kangxi radicals
// for some ideographs: compare in NFKC with blanks collapsed.
QString normalised(const QString& text) {
  QString page = text.normalized(QString::NormalizationForm_KC);
  page.replace(QRegularExpression(QStringLiteral("[ \t]+")), QStringLiteral(" "));
  return page;
}

class CalendarPrintTest : public hv6test::InstalledRegistryTest {
 protected:
  QString folder;

  void SetUp() override {
    install();
    hv6test::installCalendarSettings(store, registry);
    folder = env.path(QStringLiteral("demo"));
    QString error;
    ASSERT_TRUE(hv6::demo::generateDemoData(folder, {6, kDemoYear}, &error)) << error.toStdString();
    setPaths(diaryPath(), folder + QStringLiteral("/") + hv6::kWeatherFileName,
             env.path(QStringLiteral("program")));
  }

  QString diaryPath() const { return folder + QStringLiteral("/") + hv6::kDiaryFileName; }

  // The first row of a query on the demo's diary database, its columns as
  // texts; empty when there is none.
  QStringList firstRow(const QString& sql) {
    CDaoDatabase db;
    db.Open(diaryPath(), false, true);
    QSqlQuery query = db.runSql(sql);
    QStringList row;
    if (query.next()) {
      for (int column = 0; column < query.record().count(); ++column)
        row << query.value(column).toString();
    }
    return row;
  }

  void show(int view, int mode, int type = 0) {
    using hv6::CalendarKeys;
    const QString modeName = view == 0 ? CalendarKeys::kYearBook
                             : view == 1 ? CalendarKeys::kWdry
                                         : CalendarKeys::kSdry;
    ASSERT_TRUE(registry.writeDword(CalendarKeys::kKey, CalendarKeys::kView, std::uint32_t(view)));
    ASSERT_TRUE(registry.writeDword(CalendarKeys::kKey, modeName, std::uint32_t(mode)));
    ASSERT_TRUE(registry.writeDword(CalendarKeys::kKey, CalendarKeys::kType, std::uint32_t(type)));
  }

  // The month printed by the built hv6, as normalised text.
  QString printedMonth() {
    const QString pdf = env.path(QStringLiteral("month.pdf"));
    QFile::remove(pdf);
    QProcess hv6;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    hv6.setProcessEnvironment(environment);
    hv6.start(hv6test::binaryDir() + QStringLiteral("/shell/hv6"),
              {QStringLiteral("--print"), kMonth, QStringLiteral("--pdf"), pdf});
    if (!hv6.waitForFinished(kWaitMs)) hv6.kill();
    EXPECT_EQ(hv6.exitCode(), 0) << hv6.readAllStandardError().toStdString();
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    EXPECT_TRUE(text.waitForFinished(kWaitMs));
    return normalised(QString::fromUtf8(text.readAllStandardOutput()));
  }

  void expectPrinted(const QString& line) {
    ASSERT_FALSE(line.trimmed().isEmpty());
    const QString page = printedMonth();
    EXPECT_TRUE(page.contains(normalised(line))) << line.toStdString() << "\n" << page.toStdString();
  }
};

// hhmm as hours and hundredths, minutes past 59 carried into the hours.
QString hoursText(long hhmm) {
  const long hundredths = hhmm / 100 * 100 + (hhmm % 100 * 100 + 30) / 60;
  return QString::asprintf("%ld.%02ld", hundredths / 100, hundredths % 100);
}

TEST_F(CalendarPrintTest, PlanShowsTheFirstPlannedJob) {
  const QStringList row = firstRow(QStringLiteral(
      "SELECT j.Name FROM YearBook1 y JOIN JobMst j ON j.Code = y.JobCode "
      "WHERE y.Date BETWEEN 20250801 AND 20250831 AND y.JobCode > 0 ORDER BY y.Date, y.Code"));
  ASSERT_EQ(row.size(), 1) << "the demo plans no job in the month";
  show(0, 0);
  expectPrinted(row.at(0));
}

TEST_F(CalendarPrintTest, DiaryShowsTheFirstCropWithItsHours) {
  const QStringList row = firstRow(QStringLiteral(
      "SELECT c.Name, w.WorkFactTime FROM WDiary w JOIN CropMst c ON c.Code = w.CropCode "
      "WHERE w.Date BETWEEN '%1' AND '%2' AND w.CropCode > 0 ORDER BY w.Date, w.Code")
                                       .arg(kMonthStart, kMonthEnd));
  ASSERT_EQ(row.size(), 2) << "the demo has no diary row in the month";
  show(1, 0);
  expectPrinted(row.at(0) + u' ' + hoursText(row.at(1).toLong()));
}

TEST_F(CalendarPrintTest, SlipsShowTheFirstCropLineAndTheClaimDate) {
  const QStringList crop = firstRow(QStringLiteral(
      "SELECT c.Name, d.Proceed FROM Slip s JOIN SlipDetails d ON d.SlipCode = s.Code "
      "JOIN CropMst c ON c.Code = d.CropCode WHERE s.SlipDate BETWEEN 20250801 AND 20250831 "
      "AND s.AppType = 0 AND d.AppType = 0 AND d.CropCode > 0 ORDER BY s.SlipDate, s.Code, d.Code"));
  ASSERT_EQ(crop.size(), 2) << "the demo sells nothing in the month";
  show(2, 0, 0);
  expectPrinted(crop.at(0) + u' ' + crop.at(1));

  const QStringList claim = firstRow(QStringLiteral(
      "SELECT c.Name FROM Slip s JOIN CustomerMst c ON c.Code = s.CustomerCode "
      "WHERE s.SlipDate BETWEEN 20250801 AND 20250831 AND s.AppType = 0 AND s.ClaimDate > 0 "
      "ORDER BY s.SlipDate, s.Code"));
  ASSERT_EQ(claim.size(), 1);
  show(2, 4);
  // The page shows "R.07/08/31" whole, but pdftotext drops the digits of
  // an era date that shares its line with the name: the era mark must do.
  expectPrinted(claim.at(0) + QStringLiteral(" R."));
}

TEST_F(CalendarPrintTest, FarmDiaryShowsTheStartOfTheFirstPage) {
  const QStringList pages = QDir(folder).entryList({QStringLiteral("202508??.rtf")}, QDir::Files,
                                                   QDir::Name);
  ASSERT_FALSE(pages.isEmpty()) << "the demo keeps no farm diary in the month";
  QFile page(folder + u'/' + pages.first());
  ASSERT_TRUE(page.open(QIODevice::ReadOnly));
  const std::optional<QString> plain = hv6::rtf::plainText(page.readAll());
  ASSERT_TRUE(plain.has_value());
  ASSERT_TRUE(registry.writeDword(hv6::CalendarKeys::kKey, hv6::CalendarKeys::kView, 3));
  // The cell wraps its 40 characters; their start stays on the first line.
  expectPrinted(hv6::rtf::oneLine(*plain, 40).left(6));
}

}  // namespace
