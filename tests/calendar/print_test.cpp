// The printed calendar page: its texts, the PDF file, the wrapping of memo
// lines inside their cells and the printer settings.
#include "calendar/printing.h"

#include "tests/support/test_env.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QMap>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTimer>
#include <gmock/gmock.h>

namespace {

using hv6::CalendarDisplay;
using hv6::CalendarGrid;
using hv6::CalendarPrintJob;
using ::testing::HasSubstr;

CalendarPrintJob jobOf(int year, int month, int day, CalendarDisplay display,
                       QMap<long, QStringList> memos = {}) {
  CalendarPrintJob job;
  job.grid = CalendarGrid(year, month, day, display);
  job.memos = [memos](long date) { return memos.value(date); };
  return job;
}

QString pdfText(const QString& pdf) {
  QProcess process;
  process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
  if (!process.waitForFinished(60000)) return {};
  return QString::fromUtf8(process.readAllStandardOutput());
}

// pdftotext gives the gaps between words, not the blanks drawn, and the
// Kangxi radicals (U+2Fxx) for ideographs whose glyph the font shares with
// them: compare with blanks collapsed, each line starting with one, in NFKC.
std::string comparable(const QString& text) {
  QString folded = QLatin1Char(' ') + text.normalized(QString::NormalizationForm_KC);
  folded.replace(QLatin1Char('\n'), QStringLiteral("\n "));
  folded.replace(QRegularExpression(QStringLiteral("[ \t]+")), QStringLiteral(" "));
  return folded.toStdString();
}

::testing::Matcher<std::string> holdsText(const char* expected) {
  std::string folded = comparable(QString::fromUtf8(expected));
  if (expected[0] != ' ') folded.erase(0, 1);
  return HasSubstr(folded);
}

QStringList labelsOf(const hv6::CalendarPageLayout& layout) {
  QStringList labels;
  for (const hv6::PrintedCell& cell : layout.cells) labels << cell.label;
  return labels;
}

const hv6::PrintedCell* cellOf(const hv6::CalendarPageLayout& layout, long date) {
  for (const hv6::PrintedCell& cell : layout.cells)
    if (cell.cell.date == date) return &cell;
  return nullptr;
}

QImage paintedPage(const CalendarPrintJob& job, const QSize& size) {
  QImage image(size, QImage::Format_ARGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  hv6::paintCalendarPage(painter, QRectF(QPointF(0, 0), size), job);
  painter.end();
  return image;
}

TEST(CalendarPageTexts, HeadingSelectedDayAndLabels) {
  EXPECT_EQ(hv6::calendarPageHeading(2026, 6), QStringLiteral("2026年  6月   "));
  EXPECT_EQ(hv6::calendarPageSelectedDay(20260605), QStringLiteral("2026. 6. 5   "));
  EXPECT_EQ(hv6::calendarPageDayLabel({20260607, 1, 0, true}), QStringLiteral(" 7日"));
  EXPECT_EQ(hv6::calendarPageDayLabel({20260601, 0, 1, true}), QStringLiteral(" 6月 1日"));
  EXPECT_EQ(hv6::calendarPageDayLabel({20260531, 0, 0, false}), QStringLiteral(" 5月31日"));
}

TEST(CalendarPageLayout, FontsGridAndSelectedDay) {
  QImage device(1100, 770, QImage::Format_ARGB32);
  CalendarPrintJob job = jobOf(2026, 6, 15, CalendarDisplay::Month);
  const auto layout = hv6::layoutCalendarPage(QRectF(0, 0, 1100, 770), job, &device);
  EXPECT_EQ(layout.font.pixelSize(), 14);
  EXPECT_EQ(layout.font.weight(), QFont::Normal);
  EXPECT_EQ(layout.boldFont.pixelSize(), 28);
  EXPECT_EQ(layout.boldFont.weight(), QFont::Bold);
  EXPECT_EQ(layout.heading, QStringLiteral("2026年  6月   "));
  EXPECT_EQ(layout.selectedDay, QStringLiteral("2026. 6.15   ")) << "no selected date: the grid's day";
  job.selectedDate = 20260620;
  EXPECT_EQ(hv6::layoutCalendarPage(QRectF(0, 0, 1100, 770), job, &device).selectedDay,
            QStringLiteral("2026. 6.20   "));

  ASSERT_EQ(layout.cells.size(), 42);
  const QRectF first = layout.cells.front().rect;
  EXPECT_GT(first.top(), layout.weekHeaderRect.top());
  EXPECT_GT(layout.weekHeaderRect.top(), layout.headingRect.top());
  for (const hv6::PrintedCell& cell : layout.cells) {
    EXPECT_NEAR(cell.rect.width(), first.width(), 1e-6);
    EXPECT_NEAR(cell.rect.height(), first.height(), 1e-6);
    EXPECT_TRUE(QRectF(0, 0, 1100, 770).contains(cell.rect));
  }
  EXPECT_EQ(labelsOf(layout).front(), QStringLiteral(" 5月31日"));
  EXPECT_EQ(labelsOf(layout).back(), QStringLiteral(" 7月11日"));
}

TEST(CalendarPageLayout, NeighbouringMonthsAcrossTheYear) {
  QImage device(1100, 770, QImage::Format_ARGB32);
  const QRectF page(0, 0, 1100, 770);
  const auto january = hv6::layoutCalendarPage(page, jobOf(2026, 1, 1, CalendarDisplay::Month), &device);
  const hv6::PrintedCell* lastOfDecember = cellOf(january, 20251231);
  ASSERT_NE(lastOfDecember, nullptr);
  EXPECT_EQ(lastOfDecember->label, QStringLiteral("12月31日"));
  EXPECT_EQ(labelsOf(january).front(), QStringLiteral("12月28日"));
  EXPECT_TRUE(labelsOf(january).contains(QStringLiteral(" 1月 1日")));
  EXPECT_TRUE(labelsOf(january).contains(QStringLiteral(" 2月 1日")));

  const auto december = hv6::layoutCalendarPage(page, jobOf(2025, 12, 1, CalendarDisplay::Month), &device);
  const hv6::PrintedCell* newYear = cellOf(december, 20260101);
  ASSERT_NE(newYear, nullptr);
  EXPECT_EQ(newYear->label, QStringLiteral(" 1月 1日"));
  EXPECT_EQ(labelsOf(december).back(), QStringLiteral(" 1月10日"));

  const auto may = hv6::layoutCalendarPage(page, jobOf(2026, 5, 1, CalendarDisplay::Month), &device);
  ASSERT_NE(cellOf(may, 20260506), nullptr);
  EXPECT_EQ(cellOf(may, 20260506)->holiday, QStringLiteral("振替休日"));
  EXPECT_EQ(cellOf(may, 20260507)->holiday, QString());
}

TEST(CalendarPageLayout, WeekDisplayIsOneRowAcrossTheMonthEnd) {
  QImage device(1100, 770, QImage::Format_ARGB32);
  const auto layout = hv6::layoutCalendarPage(
      QRectF(0, 0, 1100, 770), jobOf(2026, 6, 30, CalendarDisplay::Week), &device);
  EXPECT_THAT(labelsOf(layout),
              ::testing::ElementsAre(QStringLiteral("28日"), QStringLiteral("29日"), QStringLiteral("30日"),
                                     QStringLiteral(" 7月 1日"), QStringLiteral(" 7月 2日"),
                                     QStringLiteral(" 7月 3日"), QStringLiteral(" 7月 4日")));
  EXPECT_GT(layout.cells.front().rect.height(), 770 / 2) << "the one row takes the grid's height";
}

TEST(CalendarPageLayout, MemoLinesWrapInsideTheirCellAndLoseNothing) {
  QImage device(1100, 770, QImage::Format_ARGB32);
  const QString longMemo = QStringLiteral("トマト定植 ハウス3号 第2区画 支柱立て誘引 灌水チューブ点検 追肥");
  const QString unbroken(60, QLatin1Char('W'));
  const auto layout = hv6::layoutCalendarPage(
      QRectF(0, 0, 1100, 770),
      jobOf(2026, 6, 10, CalendarDisplay::Week, {{20260610, {QString(), longMemo, unbroken}}}), &device);
  const hv6::PrintedCell* cell = cellOf(layout, 20260610);
  ASSERT_NE(cell, nullptr);
  ASSERT_GE(cell->lines.size(), 4) << "both memos wrap; the empty memo takes no line";
  EXPECT_EQ(cell->hiddenMemos, 0);
  const QFontMetricsF metrics(layout.font, &device);
  QString joined;
  for (const hv6::PrintedLine& line : cell->lines) {
    EXPECT_TRUE(cell->rect.contains(line.rect));
    EXPECT_GE(line.rect.top(), cell->labelRect.bottom()) << "memo lines start under the label";
    EXPECT_LE(metrics.horizontalAdvance(line.text), line.rect.width() + 0.5) << line.text.toStdString();
    joined += line.text;
  }
  joined.remove(QLatin1Char(' '));
  EXPECT_EQ(joined, QString(longMemo).remove(QLatin1Char(' ')) + unbroken);
}

TEST(CalendarPageLayout, LinesThatDoNotFitAreCountedNotDrawn) {
  QImage device(1100, 770, QImage::Format_ARGB32);
  QStringList many;
  for (int i = 1; i <= 30; ++i) many << QStringLiteral("作業%1 収穫・出荷調整").arg(i);
  const auto layout = hv6::layoutCalendarPage(
      QRectF(0, 0, 1100, 770), jobOf(2026, 6, 10, CalendarDisplay::Month, {{20260610, many}}), &device);
  const hv6::PrintedCell* cell = cellOf(layout, 20260610);
  ASSERT_NE(cell, nullptr);
  ASSERT_FALSE(cell->lines.isEmpty());
  EXPECT_LT(cell->lines.size(), 30);
  EXPECT_GT(cell->hiddenMemos, 0);
  EXPECT_LE(cell->lines.back().rect.bottom(), cell->rect.bottom());
  EXPECT_EQ(cell->lines.front().text, QStringLiteral("作業1 収穫・出荷調整"));
}

// Paints the page with and without one day's memos: every pixel that
// differs must lie inside that day's cell.
TEST(CalendarPagePaint, MemosNeverBleedIntoOtherCells) {
  QStringList memos;
  for (int i = 0; i < 12; ++i)
    memos << QStringLiteral("長い作業メモ %1: ほ場A-12 キャベツ 定植 防除 マルチ張り WWWWWWWWWWWWWWWWWWWW").arg(i);
  const QSize size(1100, 770);
  for (long date : {20260610L, 20260613L, 20260704L}) {
    const CalendarPrintJob plain = jobOf(2026, 6, 10, CalendarDisplay::Month);
    const CalendarPrintJob filled = jobOf(2026, 6, 10, CalendarDisplay::Month, {{date, memos}});
    const QImage before = paintedPage(plain, size);
    const QImage after = paintedPage(filled, size);
    QImage device(size, QImage::Format_ARGB32);
    const auto layout = hv6::layoutCalendarPage(QRectF(QPointF(0, 0), size), filled, &device);
    const hv6::PrintedCell* cell = cellOf(layout, date);
    ASSERT_NE(cell, nullptr);
    const QRect allowed = cell->rect.toAlignedRect();
    int changed = 0;
    int outside = 0;
    for (int y = 0; y < size.height(); ++y)
      for (int x = 0; x < size.width(); ++x) {
        if (before.pixel(x, y) == after.pixel(x, y)) continue;
        ++changed;
        if (!allowed.contains(x, y)) ++outside;
      }
    EXPECT_GT(changed, 0) << date;
    EXPECT_EQ(outside, 0) << date;
  }
}

class CalendarPdf : public ::testing::Test {
 protected:
  hv6test::TestEnvironment env_;
};

TEST_F(CalendarPdf, MonthWithMemosHoldsHeadingLabelsAndLines) {
  const QString pdf = env_.path(QStringLiteral("calendar.pdf"));
  CalendarPrintJob job = jobOf(2026, 6, 1, CalendarDisplay::Month,
                               {{20260612, {QStringLiteral("ほうれん草 播種")}}});
  job.selectedDate = 20260612;
  QString error;
  ASSERT_TRUE(hv6::printCalendarToPdf(job, pdf, &error)) << error.toStdString();
  EXPECT_EQ(QDir(env_.root()).entryList({QStringLiteral("calendar.pdf*")}, QDir::Files),
            QStringList{QStringLiteral("calendar.pdf")})
      << "no temporary file is left beside it";

  const std::string text = comparable(pdfText(pdf));
  EXPECT_THAT(text, holdsText("2026年  6月"));
  EXPECT_THAT(text, holdsText("2026. 6.12"));
  EXPECT_THAT(text, holdsText(" 6月 1日"));
  EXPECT_THAT(text, holdsText(" 2日"));
  EXPECT_THAT(text, holdsText("30日"));
  EXPECT_THAT(text, holdsText(" 5月31日"));
  EXPECT_THAT(text, holdsText(" 7月 1日"));
  EXPECT_THAT(text, holdsText("ほうれん草 播種"));
  EXPECT_THAT(text, holdsText("日 月 火 水 木 金 土"));
}

// Digits, a decimal point and Latin letters after Japanese text keep their
// characters in the PDF's text layer, so they can be searched and copied.
TEST_F(CalendarPdf, DigitsAfterJapaneseTextCanBeExtracted) {
  const QString pdf = env_.path(QStringLiteral("digits.pdf"));
  CalendarPrintJob job = jobOf(2026, 6, 1, CalendarDisplay::Month,
                               {{20260603, {QStringLiteral("殺虫剤A 10.00"), QStringLiteral("トマト  1.50")}},
                                {20260617, {QStringLiteral("ほ場B 12.5"), QStringLiteral("令和8年6月30日")}},
                                {20260624, {QStringLiteral("No.5 ABC123"), QStringLiteral("ハウス2号 0.75")}}});
  ASSERT_TRUE(hv6::printCalendarToPdf(job, pdf));
  const std::string text = comparable(pdfText(pdf));
  EXPECT_THAT(text, holdsText("殺虫剤A 10.00"));
  EXPECT_THAT(text, holdsText("トマト 1.50"));
  EXPECT_THAT(text, holdsText("ほ場B 12.5"));
  EXPECT_THAT(text, holdsText("令和8年6月30日"));
  EXPECT_THAT(text, holdsText("No.5 ABC123"));
  EXPECT_THAT(text, holdsText("ハウス2号 0.75"));
}

TEST_F(CalendarPdf, DecemberShowsJanuaryOfTheNextYear) {
  const QString pdf = env_.path(QStringLiteral("december.pdf"));
  ASSERT_TRUE(hv6::printCalendarToPdf(jobOf(2025, 12, 24, CalendarDisplay::Month), pdf));
  const std::string text = comparable(pdfText(pdf));
  EXPECT_THAT(text, holdsText("2025年 12月"));
  EXPECT_THAT(text, holdsText("11月30日"));
  EXPECT_THAT(text, holdsText(" 1月 1日"));
  EXPECT_THAT(text, holdsText(" 1月10日"));
}

TEST_F(CalendarPdf, FailedWriteLeavesNoFile) {
  const CalendarPrintJob job = jobOf(2026, 6, 1, CalendarDisplay::Month);
  QString error;
  const QString missing = env_.path(QStringLiteral("no-such-folder/calendar.pdf"));
  EXPECT_FALSE(hv6::printCalendarToPdf(job, missing, &error));
  EXPECT_THAT(error.toStdString(), HasSubstr("no-such-folder"));
  EXPECT_FALSE(QFileInfo::exists(env_.path(QStringLiteral("no-such-folder"))));

  const QString folder = env_.path(QStringLiteral("a-folder"));
  ASSERT_TRUE(QDir().mkpath(folder));
  error.clear();
  EXPECT_FALSE(hv6::printCalendarToPdf(job, folder, &error));
  EXPECT_FALSE(error.isEmpty());
  EXPECT_TRUE(QFileInfo(folder).isDir());
  EXPECT_TRUE(QDir(folder).isEmpty());

  QFile plain(env_.path(QStringLiteral("plain.txt")));
  ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
  plain.close();
  EXPECT_FALSE(hv6::printCalendarToPdf(job, env_.path(QStringLiteral("plain.txt/calendar.pdf")), &error));
  EXPECT_EQ(plain.size(), 0);
  EXPECT_FALSE(hv6::printCalendarToPdf(job, QString(), &error));
}

TEST_F(CalendarPdf, ReadOnlyFolderKeepsTheOldFile) {
  const QString folder = env_.path(QStringLiteral("locked"));
  ASSERT_TRUE(QDir().mkpath(folder));
  const QString pdf = QDir(folder).filePath(QStringLiteral("calendar.pdf"));
  QFile old(pdf);
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write("old");
  old.close();
  QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
  QFile probe(QDir(folder).filePath(QStringLiteral("probe")));
  if (probe.open(QIODevice::WriteOnly)) {
    probe.remove();
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    GTEST_SKIP() << "permissions do not bind this user";
  }
  QString error;
  EXPECT_FALSE(hv6::printCalendarToPdf(jobOf(2026, 6, 1, CalendarDisplay::Month), pdf, &error));
  EXPECT_FALSE(error.isEmpty());
  QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  ASSERT_TRUE(old.open(QIODevice::ReadOnly));
  EXPECT_EQ(old.readAll(), QByteArray("old"));
}

TEST_F(CalendarPdf, PrinterIsForcedToOneLandscapeCopy) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(env_.path(QStringLiteral("printer.pdf")));
  printer.setPageOrientation(QPageLayout::Portrait);
  printer.setCopyCount(3);
  printer.setFromTo(2, 5);
  ASSERT_TRUE(hv6::printCalendar(printer, jobOf(2026, 6, 1, CalendarDisplay::Month)));
  EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);
  EXPECT_EQ(printer.copyCount(), 1);
  EXPECT_EQ(printer.fromPage(), 1);
  EXPECT_EQ(printer.toPage(), 1);
  EXPECT_THAT(comparable(pdfText(printer.outputFileName())), holdsText("2026年  6月"));
}

TEST_F(CalendarPdf, PreviewShowsOneLandscapePage) {
  int pages = -1;
  QPageLayout::Orientation orientation = QPageLayout::Portrait;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    auto* preview = dialog->findChild<QPrintPreviewWidget*>();
    if (preview) {
      pages = preview->pageCount();
      orientation = preview->orientation();
    }
    dialog->reject();
  });
  hv6::previewCalendar(jobOf(2026, 6, 1, CalendarDisplay::Month), nullptr);
  EXPECT_EQ(pages, 1);
  EXPECT_EQ(orientation, QPageLayout::Landscape);
}

}  // namespace
