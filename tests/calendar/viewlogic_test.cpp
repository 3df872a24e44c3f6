// The reload: its steps per flag, and that it takes back every line,
// weather item and mark of the previous reload.
#include "calendar/viewlogic.h"
#include "tests/calendar/recording.h"
#include "tests/support/temp_data_folder.h"

#include <gtest/gtest.h>

namespace {

using hv6::ReloadStep;
using Steps = QList<ReloadStep>;

class ReloadTest : public ::testing::Test {
 protected:
  hv6test::TempDataFolder data;
  hv6test::FakeFillers fillers;
  hv6::CalendarViewLogic logic{fillers};
  hv6test::RecordingSink sink;
  hv6test::RecordingMeter meter;

  hv6::ReloadReport reload(int flags, int month = 6) {
    return logic.reload(flags, &data.diary(), 2026, month, sink, meter);
  }
};

TEST_F(ReloadTest, AllRunsTheStepsInOrderWithTheCategorysFiller) {
  const hv6::ReloadReport report = reload(-1);
  EXPECT_EQ(report.steps, (Steps{ReloadStep::ClearLines, ReloadStep::MeterStart, ReloadStep::Title,
                                 ReloadStep::FillDiary, ReloadStep::AddWeather, ReloadStep::MeterEnd,
                                 ReloadStep::ClearMarks, ReloadStep::SetMarks, ReloadStep::Redraw}));
  EXPECT_EQ(report.title, QStringLiteral("Harvo V6 Plus [作業日誌-品目表示]"));
  EXPECT_EQ(fillers.calls, (QStringList{QStringLiteral("diary0 20260600"),
                                        QStringLiteral("weather 20260600"),
                                        QStringLiteral("photos 20260600")}));
  EXPECT_EQ(meter.calls, (QStringList{QStringLiteral("start データ読み込み中"), QStringLiteral("1"),
                                      QStringLiteral("50"), QStringLiteral("100"),
                                      QStringLiteral("end")}));
  EXPECT_TRUE(sink.calls.contains(QStringLiteral("add 6/3 diary0 b ff0000")));
  EXPECT_TRUE(sink.calls.contains(QStringLiteral("weather 6/5 1 255 3")));
  EXPECT_TRUE(sink.calls.contains(QStringLiteral("add 6/5  0")));  // the weather's empty memo
  EXPECT_TRUE(sink.calls.contains(QStringLiteral("mark 6/9")));
  EXPECT_EQ(sink.calls.last(), QStringLiteral("redraw"));
  EXPECT_EQ(logic.memosOf(20260603), (QStringList{QStringLiteral("diary0 a"),
                                                  QStringLiteral("diary0 b")}));
}

TEST_F(ReloadTest, TheNextReloadTakesBackEveryLineOfThePreviousOne) {
  reload(-1);
  sink.calls.clear();
  logic.state().category = hv6::CalendarCategory::Plan;
  reload(-1, 7);
  const QStringList removed = sink.calls.mid(0, sink.calls.indexOf(QStringLiteral("add 7/3 plan0 a 0")));
  EXPECT_EQ(removed, (QStringList{QStringLiteral("noweather 20260605"), QStringLiteral("del 20260605 "),
                                  QStringLiteral("del 20260603 diary0 a"),
                                  QStringLiteral("del 20260603 diary0 b"),
                                  QStringLiteral("del 20260620 diary0 c")}));
  EXPECT_TRUE(sink.calls.contains(QStringLiteral("nomark 20260602")));
  EXPECT_TRUE(sink.calls.contains(QStringLiteral("nomark 20260609")));
  EXPECT_TRUE(logic.memosOf(20260603).isEmpty());
  EXPECT_EQ(logic.memos().size(), 3);
  EXPECT_EQ(logic.photoDates(), (QList<long>{20260702, 20260709}));
}

TEST_F(ReloadTest, EachFlagReloadsOnlyItsPart) {
  reload(-1);
  fillers.calls.clear();
  EXPECT_EQ(reload(2).steps, (Steps{ReloadStep::ClearMarks, ReloadStep::SetMarks, ReloadStep::Redraw}));
  EXPECT_EQ(fillers.calls, QStringList{QStringLiteral("photos 20260600")});

  fillers.calls.clear();
  sink.calls.clear();
  logic.state().weather = 0;  // toggled off: the weather goes, the lines stay
  EXPECT_EQ(reload(4).steps, (Steps{ReloadStep::ClearWeather, ReloadStep::Redraw}));
  EXPECT_EQ(sink.calls, (QStringList{QStringLiteral("noweather 20260605"), QStringLiteral("del 20260605 "),
                                     QStringLiteral("redraw")}));
  EXPECT_EQ(logic.memos().size(), 3);
  EXPECT_TRUE(logic.weatherList().isEmpty());

  const hv6::ReloadReport cells = reload(1);
  EXPECT_FALSE(cells.steps.contains(ReloadStep::AddWeather));
  EXPECT_FALSE(cells.steps.contains(ReloadStep::SetMarks));
  EXPECT_EQ(fillers.calls, QStringList{QStringLiteral("diary0 20260600")});
}

TEST_F(ReloadTest, EachCategoryCallsItsFillerWithModeAndFigure) {
  logic.state().weather = 0;
  struct Case { hv6::CalendarCategory category; ReloadStep step; const char* call; };
  logic.state().planMode = 4;
  logic.state().slipMode = 1;
  logic.state().slipFigure = 2;
  for (const Case& c : {Case{hv6::CalendarCategory::Plan, ReloadStep::FillPlan, "plan4 20260600"},
                        Case{hv6::CalendarCategory::Slips, ReloadStep::FillSlips, "slips1.2 20260600"},
                        Case{hv6::CalendarCategory::FarmDiary, ReloadStep::FillFarmDiary, "farm 20260600"}}) {
    fillers.calls.clear();
    logic.state().category = c.category;
    EXPECT_TRUE(reload(1).steps.contains(c.step));
    EXPECT_EQ(fillers.calls, QStringList{QString::fromUtf8(c.call)});
  }
}

TEST_F(ReloadTest, AClosedDatabaseAddsNothingButClearsThePreviousMonth) {
  reload(-1);
  sink.calls.clear();
  fillers.calls.clear();
  data.diary().Close();
  const hv6::ReloadReport report = reload(-1, 7);
  EXPECT_EQ(report.steps, (Steps{ReloadStep::ClearLines, ReloadStep::ClearMarks, ReloadStep::Redraw}));
  EXPECT_TRUE(report.title.isEmpty());
  EXPECT_TRUE(fillers.calls.isEmpty());
  EXPECT_TRUE(logic.memos().isEmpty() && logic.weatherList().isEmpty() && logic.photoDates().isEmpty());
  EXPECT_TRUE(sink.calls.contains(QStringLiteral("del 20260620 diary0 c")));
  EXPECT_TRUE(meter.calls.size() == 5);  // only the first reload's meter
}

TEST_F(ReloadTest, AFailedWeatherQueryShowsNoWeather) {
  fillers.weatherFails = true;
  reload(-1);
  EXPECT_TRUE(logic.weatherList().isEmpty());
  EXPECT_FALSE(sink.calls.join(u'|').contains(QStringLiteral("weather 6/")));
}

}  // namespace
