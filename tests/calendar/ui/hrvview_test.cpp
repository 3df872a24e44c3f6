// The view offscreen: context menus, dialog 140, lines on the control.
#include "calendar/ui/calendarhost.h"
#include "calendar/ui/hrvview.h"
#include "calendar/ui/yearmonthdlg.h"
#include "outside/vqbase106/ui/vqcalendar.h"
#include "tests/calendar/calendar_fixture.h"
#include "tests/calendar/recording.h"
#include "tests/support/temp_data_folder.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QKeyEvent>
#include <QLayout>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

#include <string>

namespace {

class TestHost final : public hv6::CalendarHost {
 public:
  TestHost(hv6::AppRegistry& registry, CDaoDatabase& db) : registry_(registry), db_(db) {}
  hv6::AppRegistry& registry() override { return registry_; }
  CDaoDatabase* diaryDatabase() override { return &db_; }
  CDaoDatabase* reopenDiaryDatabase() override { return &db_; }
  void setModeItemId(int id) override { modeItem = id; }
  int modeItem = 0;

 private:
  hv6::AppRegistry& registry_;
  CDaoDatabase& db_;
};

// Texts and checks of a menu's items; "-" for a separator, "*" marks a check.
QStringList itemsOf(const QMenu& menu) {
  QStringList items;
  for (const QAction* action : menu.actions()) {
    if (action->isSeparator()) {
      items << QStringLiteral("-");
      continue;
    }
    items << action->objectName() + u' ' + action->text() + (action->isChecked() ? QStringLiteral("*") : QString());
  }
  return items;
}

// A line on the 3rd and on the last day of each month, weather and a photo
// mark on the last day: the last day of December shows in January's first
// week row, the 3rd of January in no December cell.
class MonthEndFillers final : public hv6::CalendarFillers {
 public:
  void plan(CDaoDatabase&, int, long, hv6::CalendarSink&, hv6::MemoList&, hv6::CalendarMeter&) override {}
  void diary(CDaoDatabase&, int, long base, hv6::CalendarSink& sink, hv6::MemoList& memos,
             hv6::CalendarMeter&) override {
    hv6::addLine(sink, memos, base + 3, QStringLiteral("初旬 %1").arg(base));
    hv6::addLine(sink, memos, lastDay(base), QStringLiteral("月末 %1").arg(base));
  }
  void slips(CDaoDatabase&, int, int, long, hv6::CalendarSink&, hv6::MemoList&,
             hv6::CalendarMeter&) override {}
  void farmDiary(CDaoDatabase&, long, hv6::CalendarSink&, hv6::MemoList&, hv6::CalendarMeter&) override {}
  std::optional<hv6::WeatherList> weather(CDaoDatabase&, long base) override {
    return hv6::WeatherList{{lastDay(base), 1, 2, 3}};
  }
  bool photoDates(CDaoDatabase&, long base, QList<long>& dates) override {
    dates = {lastDay(base)};
    return true;
  }

  static long lastDay(long base) {
    return base + QDate(int(base / 10000), int(base / 100 % 100), 1).daysInMonth();
  }
};

// Every line, weather item and mark the control holds from November 2025 to
// February 2026, by date, joined by "|".
std::string heldFromNovemberToFebruary(const CVqCalendar& control) {
  QStringList held;
  for (QDate day(2025, 11, 1); day <= QDate(2026, 2, 28); day = day.addDays(1)) {
    const long date = day.year() * 10000L + day.month() * 100 + day.day();
    for (const QString& line : control.memosOf(date)) held << QStringLiteral("%1 %2").arg(date).arg(line);
    const QList<int> weather = control.weatherOf(date);
    if (!weather.isEmpty())
      held << QStringLiteral("%1 weather %2 %3 %4").arg(date).arg(weather[0]).arg(weather[1]).arg(weather[2]);
    if (control.hasMark(date)) held << QStringLiteral("%1 mark").arg(date);
  }
  return held.join(u'|').toStdString();
}

// What the control holds with one month shown: that month's lines once, its
// weather and its mark, nothing of another month.
std::string heldFor(long base) {
  const long last = MonthEndFillers::lastDay(base);
  return QStringList{QStringLiteral("%1 初旬 %2").arg(base + 3).arg(base),
                     QStringLiteral("%1 月末 %2").arg(last).arg(base),
                     QStringLiteral("%1 weather 1 2 3").arg(last), QStringLiteral("%1 mark").arg(last)}
      .join(u'|')
      .toStdString();
}

class HrvViewTest : public hv6test::CalendarRegistryTest {
 protected:
  hv6test::TempDataFolder data;
  TestHost host{registry, data.diary()};
  hv6test::FakeFillers fillers;
  std::unique_ptr<CHrvView> view;

  void SetUp() override {
    CalendarRegistryTest::SetUp();
    view.reset(CHrvView::create(host, fillers));
    ASSERT_NE(view, nullptr);
    view->resize(900, 700);
    view->OnInitialUpdate(20260610);
  }
};

TEST_F(HrvViewTest, ControlMenuPerCategoryWithItsChecks) {
  QStringList common{QStringLiteral("57665 Harvoの終了(&X)"), QStringLiteral("-"),
                     QStringLiteral("32773 データバックアップ(&B)"), QStringLiteral("-"),
                     QStringLiteral("57607 印刷(&P)"), QStringLiteral("57609 印刷プレビュー(&V)"),
                     QStringLiteral("-"), QStringLiteral("11025 天気を表示(&T)*"),
                     QStringLiteral("32823 六曜を表示(&E)*"), QStringLiteral("11026 週単位表示(&K)"),
                     QStringLiteral("11027 表示年月の選択(&Y)")};
  view->OnCommand(11024);
  EXPECT_EQ(itemsOf(*view->controlMenu()), common);

  view->OnCommand(11025);
  view->OnCommand(11026);
  view->OnCommand(11003);
  QStringList plan = itemsOf(*view->controlMenu());
  EXPECT_EQ(plan.at(7), QStringLiteral("11025 天気を表示(&T)"));
  EXPECT_EQ(plan.at(9), QStringLiteral("11026 月単位表示(&K)"));
  EXPECT_EQ(plan.mid(11), (QStringList{QStringLiteral("-"), QStringLiteral("11001 予定表を表示(&S)"),
                                       QStringLiteral("11002 実施表を表示(&F)"),
                                       QStringLiteral("11003 予定-実施の比較(&C)*"),
                                       QStringLiteral("11004 予定-作業日誌の比較(&W)"),
                                       QStringLiteral("11005 実施-作業日誌の比較(&A)"),
                                       QStringLiteral("11006 予定-実施の栽培管理の指針(&M)")}));

  view->OnCommand(11013);
  const QStringList diary = itemsOf(*view->controlMenu());
  ASSERT_EQ(diary.size(), 12 + 8);
  EXPECT_EQ(diary.at(12), QStringLiteral("11007 品目を表示(&C)"));
  EXPECT_EQ(diary.at(18), QStringLiteral("11013 延作業面積を表示(&J)*"));

  view->OnCommand(11016);
  view->OnCommand(11022);
  const QStringList slips = itemsOf(*view->controlMenu());
  ASSERT_EQ(slips.size(), 12 + 9);
  EXPECT_EQ(slips.at(13), QStringLiteral("11016 仕向先を表示(&O)*"));
  EXPECT_EQ(slips.at(16), QStringLiteral("11019 請求日を表示(&B)"));
  EXPECT_EQ(slips.at(19), QStringLiteral("11022 数量表示(&A)*"));
  EXPECT_EQ(host.modeItem, 11016);
}

// The figure items apply to the crop, customer and buyer modes only: in the
// grade, claim-date and shipping-date modes they are greyed and unchecked in
// the right-click menu as in the menu bar.
TEST_F(HrvViewTest, FigureItemsOfTheControlMenuFollowTheSlipMode) {
  view->OnCommand(11022);  // quantity, kept through the mode changes
  for (int mode = 11015; mode <= 11020; ++mode) {
    view->OnCommand(mode);
    const bool applies = mode <= 11017;
    const std::unique_ptr<QMenu> menu = view->controlMenu();
    for (int id = 11021; id <= 11023; ++id) {
      const auto* item = menu->findChild<QAction*>(QString::number(id));
      ASSERT_NE(item, nullptr) << mode << ' ' << id;
      EXPECT_EQ(item->isEnabled(), applies) << mode << ' ' << id;
      EXPECT_EQ(item->isChecked(), applies && id == 11022) << mode << ' ' << id;
      EXPECT_EQ(item->isEnabled(), view->commandAction(id)->isEnabled()) << "as the menu bar: " << id;
      EXPECT_EQ(item->isChecked(), view->commandAction(id)->isChecked()) << "as the menu bar: " << id;
    }
    EXPECT_TRUE(menu->findChild<QAction*>(QString::number(mode))->isChecked()) << mode;
  }
}

TEST_F(HrvViewTest, DayMenuItems) {
  EXPECT_EQ(itemsOf(*view->dayMenu()),
            (QStringList{QStringLiteral("10002 作業日誌を起動(&W)"), QStringLiteral("10003 販売管理を起動(&S)"),
                         QStringLiteral("10001 農程管理を起動(&K)"), QStringLiteral("10004 営農日記を起動(&D)"),
                         QStringLiteral("-"), QStringLiteral("32815 画像を表示(&V)"),
                         QStringLiteral("32814 画像の取り込み(&I)")}));
}

TEST_F(HrvViewTest, YearMonthDialogListsAndChoice) {
  CYearMonthDlg early(1975, 6);
  auto* years = early.findChild<QComboBox*>(QStringLiteral("1000"));
  auto* months = early.findChild<QComboBox*>(QStringLiteral("1001"));
  ASSERT_TRUE(years && months);
  EXPECT_EQ(years->count(), 71);
  EXPECT_EQ(years->itemText(0), QStringLiteral("1980 年"));
  EXPECT_EQ(years->itemText(70), QStringLiteral("2050 年"));
  EXPECT_EQ(years->currentIndex(), 0);
  EXPECT_EQ(months->itemText(11), QStringLiteral("12 月"));
  EXPECT_EQ(CYearMonthDlg(2077, 1, nullptr).year(), 2050);

  QTimer::singleShot(0, [] {
    auto* dialog = qobject_cast<CYearMonthDlg*>(QApplication::activeModalWidget());
    if (!dialog) return;
    dialog->findChild<QComboBox*>(QStringLiteral("1000"))->setCurrentIndex(2033 - 1980);
    dialog->findChild<QComboBox*>(QStringLiteral("1001"))->setCurrentIndex(1);
    dialog->findChild<QPushButton*>(QStringLiteral("1"))->click();
  });
  fillers.calls.clear();
  view->OnCommand(11027);
  EXPECT_EQ(view->calendar()->GetYear(), 2033);
  EXPECT_EQ(view->calendar()->GetMonth(), 2);
  EXPECT_TRUE(fillers.calls.contains(QStringLiteral("diary1 20330200")));
}

TEST_F(HrvViewTest, LinesGoOntoTheControlAndAreTakenBack) {
  EXPECT_EQ(view->calendar()->memosOf(20260603),
            (QStringList{QStringLiteral("diary1 a"), QStringLiteral("diary1 b")}));
  EXPECT_TRUE(view->calendar()->memosOf(20260605).isEmpty());  // weather adds no visible line
  QString title;
  QObject::connect(view.get(), &CHrvView::titleChanged, [&](const QString& t) { title = t; });
  view->OnCommand(11009);
  EXPECT_EQ(title, QStringLiteral("Harvo V6 Plus [作業日誌-作業者表示]"));
  EXPECT_EQ(view->calendar()->memosOf(20260603),
            (QStringList{QStringLiteral("diary2 a"), QStringLiteral("diary2 b")}));
  view->moveTo(2026, 7, 31);
  EXPECT_TRUE(view->calendar()->memosOf(20260620).isEmpty());
  EXPECT_EQ(view->calendar()->memosOf(20260720), QStringList{QStringLiteral("diary2 c")});
  EXPECT_EQ(view->printJob().selectedDate, 20260731);
  EXPECT_EQ(view->printJob().memos(20260703).size(), 2);
}

// Every way of moving across the turn of the year takes back the old month's
// lines, weather and mark, although the control already shows another year.
TEST_F(HrvViewTest, AYearBoundaryLeavesNoStaleAndNoDoubledAnnotations) {
  MonthEndFillers monthEnd;
  std::unique_ptr<CHrvView> yearView(CHrvView::create(host, monthEnd));
  ASSERT_NE(yearView, nullptr);
  CVqCalendar* control = yearView->calendar();
  yearView->resize(900, 700);
  yearView->layout()->activate();  // the control gets its size from the view
  yearView->OnInitialUpdate(20251215);
  ASSERT_EQ(heldFromNovemberToFebruary(*control), heldFor(20251200));

  QKeyEvent pageDown(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
  QCoreApplication::sendEvent(control, &pageDown);
  ASSERT_EQ(control->GetYear() * 100 + control->GetMonth(), 202601);
  EXPECT_EQ(heldFromNovemberToFebruary(*control), heldFor(20260100));
  EXPECT_EQ(control->visibleLines(20251231).join(u'|').toStdString(), "");  // in January's first row

  int row = 0, column = 0;
  ASSERT_TRUE(control->grid().cellOf(20251231, row, column));
  const QPoint at = control->cellRect(row, column).center();
  QMouseEvent click(QEvent::MouseButtonPress, QPointF(at), QPointF(control->mapToGlobal(at)), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(control, &click);
  ASSERT_EQ(control->GetYear() * 10000 + control->GetMonth() * 100 + control->GetDay(), 20251231);
  EXPECT_EQ(heldFromNovemberToFebruary(*control), heldFor(20251200));
  EXPECT_EQ(control->visibleLines(20251231).join(u'|').toStdString(), "月末 20251200");

  QTimer::singleShot(0, [] {
    auto* dialog = qobject_cast<CYearMonthDlg*>(QApplication::activeModalWidget());
    if (!dialog) return;
    dialog->findChild<QComboBox*>(QStringLiteral("1000"))->setCurrentIndex(2026 - 1980);
    dialog->findChild<QComboBox*>(QStringLiteral("1001"))->setCurrentIndex(0);
    dialog->findChild<QPushButton*>(QStringLiteral("1"))->click();
  });
  yearView->OnCommand(11027);
  ASSERT_EQ(control->GetYear() * 100 + control->GetMonth(), 202601);
  EXPECT_EQ(heldFromNovemberToFebruary(*control), heldFor(20260100));

  // The frame's previous- and next-month commands and the date picker move
  // the view so.
  yearView->moveTo(2025, 12, 31);
  EXPECT_EQ(heldFromNovemberToFebruary(*control), heldFor(20251200));
  yearView->moveTo(2026, 1, 31);
  EXPECT_EQ(heldFromNovemberToFebruary(*control), heldFor(20260100));
}

TEST_F(HrvViewTest, ClosingSavesTheDisplayedState) {
  view->OnCommand(11024);
  view->OnCommand(32823);
  view->saveSettings(20260610);
  EXPECT_EQ(calendarValue(hv6::CalendarKeys::kView), 3u);
  EXPECT_EQ(calendarValue(hv6::CalendarKeys::kKisetu), 0u);
}

TEST_F(HrvViewTest, MissingSettingGivesNoView) {
  ASSERT_EQ(store.deleteValue(registry.keyPath(hv6::CalendarKeys::kKey), hv6::CalendarKeys::kView),
            hv6::RegStatus::Ok);
  EXPECT_EQ(CHrvView::create(host, fillers), nullptr);
  EXPECT_EQ(messages.numbers(), QList<long>{2504});
}

}  // namespace
