#include "outside/vqbase106/ui/calendarbox.h"

#include "tests/support/test_env.h"

#include <QLabel>
#include <QSpinBox>

#include <gtest/gtest.h>

namespace {

class CalendarBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    box.setCallID(3010);
    box.SetYFlag(1);
    box.SetDispWeek();
    QObject::connect(&box, &CCalendarBox::dateChosen, [this](int id, long date) {
      ids.append(id);
      dates.append(date);
    });
  }

  QSpinBox* field(const char* name) { return box.findChild<QSpinBox*>(QString::fromLatin1(name)); }

  hv6test::TestEnvironment env;
  CCalendarBox box;
  QList<int> ids;
  QList<long> dates;
};

TEST_F(CalendarBoxTest, SetDateShowsTheDateAndWeekDayWithoutNotifying) {
  ASSERT_TRUE(box.SetDate(2024, 5, 15));
  int y = 0, m = 0, d = 0;
  box.GetDate(y, m, d);
  EXPECT_EQ(y * 10000 + m * 100 + d, 20240515);
  EXPECT_EQ(box.date(), 20240515L);
  EXPECT_EQ(box.weekText(), QStringLiteral("(水)"));
  EXPECT_TRUE(dates.isEmpty());

  EXPECT_FALSE(box.SetDate(2023, 2, 29));
  EXPECT_FALSE(box.SetDate(2024, 13, 1));
  EXPECT_EQ(box.date(), 20240515L);
}

TEST_F(CalendarBoxTest, UserEditsNotifyWithTheCallId) {
  box.SetDate(2024, 1, 31);
  field("day")->setValue(20);
  EXPECT_EQ(ids, QList<int>{3010});
  EXPECT_EQ(dates, QList<long>{20240120L});
  field("month")->setValue(2);
  field("day")->setValue(31);  // beyond February: held at its last day
  EXPECT_EQ(box.date(), 20240229L);
  field("year")->setValue(2025);
  EXPECT_EQ(dates.last(), 20250228L);
  EXPECT_EQ(box.weekText(), QStringLiteral("(金)"));
}

TEST_F(CalendarBoxTest, MonthChangeShortensTheDay) {
  box.SetDate(2024, 3, 31);
  field("month")->setValue(4);
  EXPECT_EQ(dates.last(), 20240430L);
}

TEST_F(CalendarBoxTest, YearFlagAndCreate) {
  QWidget parent;
  CCalendarBox* placed = new CCalendarBox;
  ASSERT_TRUE(placed->Create(0, QRect(30, 2, 130, 22), &parent, 3010));
  EXPECT_EQ(placed->parentWidget(), &parent);
  EXPECT_EQ(placed->objectName(), QStringLiteral("3010"));
  EXPECT_EQ(placed->geometry(), QRect(30, 2, 130, 22));
  EXPECT_FALSE(placed->Create(0, QRect(), nullptr, 1));
  parent.show();
  EXPECT_FALSE(placed->findChild<QSpinBox*>(QStringLiteral("year"))->isVisible());
  placed->SetYFlag(1);
  EXPECT_TRUE(placed->findChild<QSpinBox*>(QStringLiteral("year"))->isVisible());
  EXPECT_FALSE(placed->findChild<QLabel*>(QStringLiteral("week"))->isVisible());
}

}  // namespace
