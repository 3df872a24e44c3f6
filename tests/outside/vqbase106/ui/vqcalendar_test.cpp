#include "outside/vqbase106/ui/vqcalendar.h"

#include "tests/support/test_env.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include <memory>

namespace {

class CalendarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    cal = std::make_unique<CVqCalendar>();
    cal->resize(980, 720);
    cal->SetYear(2024);
    cal->SetMonth(5);
    cal->SetDay(15);
    QObject::connect(cal.get(), &CVqCalendar::dateChanged, [this](long date) { changes.append(date); });
    QObject::connect(cal.get(), &CVqCalendar::dayRightClicked,
                     [this](long date, const QPoint&) { rightDays.append(date); });
    QObject::connect(cal.get(), &CVqCalendar::backgroundRightClicked,
                     [this](const QPoint&) { ++backgroundClicks; });
  }

  QPoint centreOf(long date) const {
    int row = 0, column = 0;
    EXPECT_TRUE(cal->grid().cellOf(date, row, column)) << date;
    return cal->cellRect(row, column).center();
  }

  void click(const QPoint& at, Qt::MouseButton button) {
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), QPointF(cal->mapToGlobal(at)), button, button,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(cal.get(), &press);
  }

  void key(int code) {
    QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier);
    QCoreApplication::sendEvent(cal.get(), &press);
  }

  hv6test::TestEnvironment env;
  std::unique_ptr<CVqCalendar> cal;
  QList<long> changes;
  QList<long> rightDays;
  int backgroundClicks = 0;
};

TEST_F(CalendarTest, MemosAreAddedAndRemovedPerDay) {
  cal->AddMemo(5, 3, QStringLiteral("トマト 定植"), 0);
  cal->AddMemo(5, 3, QStringLiteral("ほ場A"), 0xff0000);
  cal->AddMemo(5, 3, QStringLiteral("トマト 定植"), 0);
  cal->AddMemo(5, 4, QStringLiteral("きゅうり"), 0);
  EXPECT_EQ(cal->memosOf(20240503L),
            (QStringList{QStringLiteral("トマト 定植"), QStringLiteral("ほ場A"), QStringLiteral("トマト 定植")}));

  cal->DelMemo(5, 3, QStringLiteral("トマト 定植"));  // every line with that text
  EXPECT_EQ(cal->memosOf(20240503L), QStringList{QStringLiteral("ほ場A")});
  cal->DelMemo(5, 3, QStringLiteral("ない"));
  EXPECT_EQ(cal->memosOf(20240503L).size(), 1);

  cal->AddMemo(5, 3, QStringLiteral("追加"), 0);
  cal->DelMemo(5, 3, QString());  // empty text clears the day
  EXPECT_TRUE(cal->memosOf(20240503L).isEmpty());
  EXPECT_EQ(cal->memosOf(20240504L), QStringList{QStringLiteral("きゅうり")});
  cal->DelMemo(6, 30, QString());  // a day without memos stays harmless
}

TEST_F(CalendarTest, EmptyMemoAddsNoLineAndMemosBelongToTheShownYear) {
  cal->AddMemo(5, 10, QString(), 0);
  EXPECT_TRUE(cal->memosOf(20240510L).isEmpty());
  cal->AddMemo(5, 10, QStringLiteral("雨よけ"), 0);
  cal->SetYear(2025);
  cal->AddMemo(5, 10, QStringLiteral("翌年"), 0);
  EXPECT_EQ(cal->memosOf(20240510L), QStringList{QStringLiteral("雨よけ")});
  EXPECT_EQ(cal->memosOf(20250510L), QStringList{QStringLiteral("翌年")});
}

// A caller that added lines before the control moved to another year takes
// them back by the full date; the shown year's lines of that day stay.
TEST_F(CalendarTest, RemovalByTheFullDateReachesAnotherYear) {
  cal->AddMemo(12, 31, QStringLiteral("大晦日"), 0);
  cal->AddMemo(12, 31, QStringLiteral("残す"), 0);
  cal->SetMark(12, 31);
  cal->SetWeathItem(12, 31, 1, 2, 3);
  cal->SetYear(2025);
  cal->AddMemo(12, 31, QStringLiteral("翌年"), 0);
  cal->SetMark(12, 31);
  cal->SetWeathItem(12, 31, 4, 5, 6);

  cal->DelMemoOn(20241231L, QStringLiteral("大晦日"));
  cal->DelMarkOn(20241231L);
  cal->DelWeathItemOn(20241231L);
  EXPECT_EQ(cal->memosOf(20241231L), QStringList{QStringLiteral("残す")});
  EXPECT_FALSE(cal->hasMark(20241231L));
  EXPECT_TRUE(cal->weatherOf(20241231L).isEmpty());
  EXPECT_EQ(cal->memosOf(20251231L), QStringList{QStringLiteral("翌年")});
  EXPECT_TRUE(cal->hasMark(20251231L));
  EXPECT_EQ(cal->weatherOf(20251231L), (QList<int>{4, 5, 6}));
  cal->DelMemoOn(20241231L, QString());  // an empty text clears that day only
  EXPECT_TRUE(cal->memosOf(20241231L).isEmpty());
  EXPECT_EQ(cal->memosOf(20251231L).size(), 1);
}

TEST_F(CalendarTest, MarksAndWeatherItems) {
  cal->SetMark(5, 20);
  EXPECT_TRUE(cal->hasMark(20240520L));
  EXPECT_FALSE(cal->hasMark(20240521L));
  cal->DelMark(5, 20);
  EXPECT_FALSE(cal->hasMark(20240520L));

  cal->SetWeathItem(5, 6, 1, 255, 6);
  EXPECT_EQ(cal->weatherOf(20240506L), (QList<int>{1, 255, 6}));
  cal->SetWeathItem(5, 7, 255, 255, 255);  // all "none": no weather
  EXPECT_TRUE(cal->weatherOf(20240507L).isEmpty());
  cal->SetWeathItem(5, 6, 255, 255, 255);
  EXPECT_TRUE(cal->weatherOf(20240506L).isEmpty());
  cal->SetWeathItem(5, 8, 9, 8, 7);
  cal->DelWeathItem(5, 8);
  EXPECT_TRUE(cal->weatherOf(20240508L).isEmpty());
}

TEST_F(CalendarTest, SettersReportOnceAndClampTheDay) {
  cal->SetDay(31);
  cal->SetMonth(2);  // 31 February becomes the 29th in 2024
  cal->SetYear(2023);  // and the 28th in 2023
  EXPECT_EQ(changes, (QList<long>{20240531L, 20240229L, 20230228L}));
  EXPECT_EQ(cal->GetDay(), 28);
  cal->SetMonth(13);
  EXPECT_EQ(cal->GetMonth(), 12);
}

TEST_F(CalendarTest, LeftClickSelectsAndNeighbouringDayMovesTheMonth) {
  click(centreOf(20240522L), Qt::LeftButton);
  EXPECT_EQ(changes, QList<long>{20240522L});
  EXPECT_EQ(cal->GetDay(), 22);

  click(centreOf(20240601L), Qt::LeftButton);  // a June day in May's last row
  EXPECT_EQ(changes.last(), 20240601L);
  EXPECT_EQ(cal->GetMonth(), 6);
  EXPECT_EQ(cal->GetDay(), 1);
}

TEST_F(CalendarTest, RightClicksReportTheDayOrTheBackground) {
  click(centreOf(20240509L), Qt::RightButton);
  click(centreOf(20240428L), Qt::RightButton);
  EXPECT_EQ(rightDays, (QList<long>{20240509L, 20240428L}));
  EXPECT_TRUE(changes.isEmpty());  // a right click does not move the selection

  click(QPoint(cal->width() / 2, 5), Qt::RightButton);  // the month heading
  EXPECT_EQ(backgroundClicks, 1);
  EXPECT_EQ(rightDays.size(), 2);
}

TEST_F(CalendarTest, KeysMoveTheDayAndTheMonth) {
  key(Qt::Key_Right);
  key(Qt::Key_Down);
  key(Qt::Key_Up);
  key(Qt::Key_Left);
  EXPECT_EQ(changes, (QList<long>{20240516L, 20240523L, 20240516L, 20240515L}));
  cal->SetDay(31);
  key(Qt::Key_Right);  // over the month end
  EXPECT_EQ(changes.last(), 20240601L);
  key(Qt::Key_PageUp);
  EXPECT_EQ(changes.last(), 20240501L);
  cal->SetDay(31);
  key(Qt::Key_PageDown);
  EXPECT_EQ(changes.last(), 20240630L);
  cal->SetMonth(12);
  key(Qt::Key_PageDown);
  EXPECT_EQ(changes.last(), 20250130L);
}

TEST_F(CalendarTest, LinesThatDoNotFitBecomePlusN) {
  for (int i = 1; i <= 40; ++i) cal->AddMemo(5, 15, QStringLiteral("作業 %1").arg(i), 0);
  cal->AddMemo(5, 16, QStringLiteral("一行"), 0);
  const QStringList lines = cal->visibleLines(20240515L);
  ASSERT_GE(lines.size(), 2);
  ASSERT_LT(lines.size(), 40);
  const int shown = static_cast<int>(lines.size()) - 1;
  EXPECT_EQ(lines.first(), QStringLiteral("作業 1"));
  EXPECT_EQ(lines.last(), QStringLiteral("+%1").arg(40 - shown));
  EXPECT_EQ(cal->visibleLines(20240516L), QStringList{QStringLiteral("一行")});
  EXPECT_TRUE(cal->visibleLines(20240517L).isEmpty());
  EXPECT_TRUE(cal->visibleLines(20240815L).isEmpty());  // not in the grid

  cal->SetDispType(2);  // the week row is taller: more lines fit
  EXPECT_EQ(cal->grid().rows(), 1);
  const QStringList week = cal->visibleLines(20240515L);
  EXPECT_GT(week.size(), lines.size());
  EXPECT_TRUE(cal->visibleLines(20240501L).isEmpty());  // outside the shown week
}

TEST_F(CalendarTest, WeatherTakesRoomFromTheLines) {
  for (int i = 1; i <= 40; ++i) cal->AddMemo(5, 15, QStringLiteral("作業 %1").arg(i), 0);
  const qsizetype without = cal->visibleLines(20240515L).size();
  cal->SetWeathItem(5, 15, 0, 1, 255);
  EXPECT_LT(cal->visibleLines(20240515L).size(), without);
}

TEST_F(CalendarTest, LongLinesAreElidedToTheCellWidth) {
  const QString longText = QString(60, QChar(0x7a32));  // 稲 × 60
  cal->AddMemo(5, 15, longText, 0);
  const QStringList lines = cal->visibleLines(20240515L);
  ASSERT_EQ(lines.size(), 1);
  EXPECT_TRUE(lines.first().endsWith(QChar(0x2026)));
  EXPECT_LT(lines.first().size(), longText.size());
}

TEST_F(CalendarTest, SmallestCellStillShowsTheCount) {
  cal->resize(cal->minimumSize());
  for (int i = 1; i <= 5; ++i) cal->AddMemo(5, 15, QStringLiteral("行"), 0);
  cal->SetWeathItem(5, 15, 6, 6, 6);
  const QStringList lines = cal->visibleLines(20240515L);
  ASSERT_FALSE(lines.isEmpty());
  const int shown = static_cast<int>(lines.size()) - 1;
  EXPECT_EQ(lines.last(), QStringLiteral("+%1").arg(5 - shown));
}

TEST_F(CalendarTest, DisplayModesAndGrab) {
  cal->SetKisetuType(1);
  EXPECT_TRUE(cal->showsRokuyo());
  cal->SetKisetuType(0);
  EXPECT_FALSE(cal->showsRokuyo());
  cal->SetDispType(2);
  EXPECT_EQ(cal->dispType(), 2);
  cal->SetDispType(1);
  EXPECT_EQ(cal->dispType(), 1);
  EXPECT_EQ(cal->dateAtPoint(QPoint(5, 5)), 0L);
  cal->AddMemo(5, 15, QStringLiteral("作業"), 0xff0000);
  cal->SetMark(5, 15);
  cal->SetWeathItem(5, 15, 0, 4, 9);
  cal->SetKisetuType(1);
  cal->SetWeekLang(1);
  const QImage image = cal->grab().toImage();
  EXPECT_EQ(image.size(), cal->size() * image.devicePixelRatio());
}

}  // namespace
