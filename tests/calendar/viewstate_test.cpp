// Settings at creation and close, the commands and the window title.
#include "calendar/commands.h"
#include "calendar/titles.h"
#include "calendar/viewlogic.h"
#include "tests/calendar/calendar_fixture.h"

namespace {

using hv6::CalendarCategory;
using hv6::CalendarKeys;

class ViewStateTest : public hv6test::CalendarRegistryTest {
 protected:
  hv6::EmptyFillers fillers;
  hv6::CalendarViewLogic logic{fillers};
};

TEST_F(ViewStateTest, CreationReadsTheEightValuesAndRefusesAMissingOne) {
  ASSERT_TRUE(registry.writeDword(CalendarKeys::kKey, CalendarKeys::kTenki, 2));
  ASSERT_TRUE(registry.writeDword(CalendarKeys::kKey, CalendarKeys::kArea, 1));
  ASSERT_TRUE(logic.create(registry));
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(logic.state().category, CalendarCategory::Diary);
  EXPECT_EQ(logic.state().diaryMode, 1);
  EXPECT_FALSE(logic.state().weatherShown());
  EXPECT_TRUE(logic.state().weekShown());
  ASSERT_EQ(logic.launchers().size(), 20);
  EXPECT_EQ(logic.launchers().at(19).commandId, 10020);
  EXPECT_EQ(logic.launchers().at(0).helpId, 1224);

  ASSERT_EQ(store.deleteValue(registry.keyPath(CalendarKeys::kKey), CalendarKeys::kKisetu),
            hv6::RegStatus::Ok);
  hv6::CalendarViewLogic missing{fillers};
  EXPECT_FALSE(missing.create(registry));
  EXPECT_EQ(messages.numbers(), QList<long>{2504});
}

TEST_F(ViewStateTest, AMissingLauncherValueAlsoRefusesTheView) {
  ASSERT_EQ(store.deleteValue(registry.keyPath(hv6::launcherSubkey(20)), QStringLiteral("ToolMenu")),
            hv6::RegStatus::Ok);
  EXPECT_FALSE(logic.create(registry));
  EXPECT_EQ(messages.numbers(), QList<long>{2504});
}

TEST_F(ViewStateTest, CloseSavesTheCurrentCategorysModeOnly) {
  ASSERT_TRUE(logic.create(registry));
  ASSERT_TRUE(registry.writeDword(CalendarKeys::kKey, CalendarKeys::kDate, 20260101));
  hv6::applyCommand(logic.state(), 11024);  // 営農日記
  hv6::applyCommand(logic.state(), 11025);  // weather off
  hv6::applyCommand(logic.state(), 11026);  // week display
  logic.state().diaryMode = 5;
  logic.state().slipFigure = 2;
  logic.saveAtClose(registry, 20260610);
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(calendarValue(CalendarKeys::kDate), 0u);
  EXPECT_EQ(calendarValue(CalendarKeys::kView), 3u);
  EXPECT_EQ(calendarValue(CalendarKeys::kWdry), 1u);  // not written
  EXPECT_EQ(calendarValue(CalendarKeys::kTenki), 0u);
  EXPECT_EQ(calendarValue(CalendarKeys::kArea), 1u);
  EXPECT_EQ(calendarValue(CalendarKeys::kType), 0u);  // never written

  hv6::applyCommand(logic.state(), 11021 + 1);
  hv6::applyCommand(logic.state(), 11018);
  logic.saveAtClose(registry, 20260610);
  EXPECT_EQ(calendarValue(CalendarKeys::kView), 2u);
  EXPECT_EQ(calendarValue(CalendarKeys::kSdry), 3u);
  EXPECT_EQ(calendarValue(CalendarKeys::kType), 0u);
}

TEST_F(ViewStateTest, AFailedWriteShows2503AndTheHookRunsFirst) {
  ASSERT_TRUE(logic.create(registry));
  QList<long> seen;
  logic.askRunningProgramsToClose = [&] { seen << -1; };
  ASSERT_TRUE(registry.selectSettingsKey(QStringLiteral("gone")));  // no such root
  logic.saveAtClose(registry, 20260610);
  EXPECT_EQ(seen, QList<long>{-1});
  EXPECT_EQ(messages.numbers(), QList<long>{2503});
}

TEST_F(ViewStateTest, BackupReminderAfterMoreThanThirtyDays) {
  ASSERT_TRUE(logic.create(registry));
  ASSERT_TRUE(registry.writeDword(CalendarKeys::kBackupKey, CalendarKeys::kBackUpDate, 20260510));
  logic.saveAtClose(registry, 20260609);  // 30 days
  EXPECT_TRUE(messages.empty());
  logic.saveAtClose(registry, 20260610);  // 31 days
  EXPECT_EQ(messages.numbers(), QList<long>{2912});
  messages.clear();
  ASSERT_TRUE(registry.writeDword(CalendarKeys::kBackupKey, CalendarKeys::kBackUpDate, 0));
  logic.saveAtClose(registry, 20260610);  // not a date: no reminder
  EXPECT_TRUE(messages.empty());
}

TEST(CalendarCommands, ModeCommandsSetCategoryModeAndReloadCells) {
  hv6::CalendarViewState state;
  struct Case { int id; CalendarCategory category; int item; };
  for (const Case& c : {Case{11001, CalendarCategory::Plan, 11001},
                        Case{11006, CalendarCategory::Plan, 11006},
                        Case{11014, CalendarCategory::Diary, 11014},
                        Case{11017, CalendarCategory::Slips, 11017},
                        Case{11024, CalendarCategory::FarmDiary, 11024}}) {
    const hv6::CommandOutcome outcome = hv6::applyCommand(state, c.id);
    EXPECT_TRUE(outcome.handled);
    EXPECT_EQ(outcome.reload, 1) << c.id;
    EXPECT_EQ(state.category, c.category) << c.id;
    EXPECT_EQ(hv6::modeItemId(state), c.item);
  }
  hv6::applyCommand(state, 11023);
  EXPECT_EQ(state.category, CalendarCategory::Slips);
  EXPECT_EQ(state.slipFigure, 2);
  EXPECT_EQ(hv6::modeItemId(state), 11017);  // the mode stays
  hv6::applyCommand(state, 11019);
  EXPECT_FALSE(state.figureApplies);
  hv6::applyCommand(state, 11015);
  EXPECT_TRUE(state.figureApplies);
}

TEST(CalendarCommands, TogglesAndWhatTheControlIsTold) {
  hv6::CalendarViewState state;
  state.weather = 2;  // hidden; toggling shows it as 1
  hv6::CommandOutcome weather = hv6::applyCommand(state, 11025);
  EXPECT_EQ(weather.reload, 4);
  EXPECT_EQ(state.weather, 1);
  hv6::applyCommand(state, 11025);
  EXPECT_EQ(state.weather, 0);

  EXPECT_EQ(hv6::applyCommand(state, 11026).dispType, 2);
  EXPECT_EQ(hv6::weekMonthMenuText(state.weekShown()), QStringLiteral("月単位で表示(&K)"));
  EXPECT_EQ(hv6::applyCommand(state, 11026).dispType, 1);
  EXPECT_EQ(hv6::weekMonthMenuText(state.weekShown()), QStringLiteral("週単位で表示(&K)"));

  state.kisetu = 1;
  EXPECT_EQ(hv6::applyCommand(state, 32823).kisetuType, 0);
  EXPECT_EQ(hv6::applyCommand(state, 32823).kisetuType, 1);
  EXPECT_TRUE(hv6::applyCommand(state, 11027).askYearMonth);
  EXPECT_TRUE(hv6::applyCommand(state, 32822).refresh);
  EXPECT_EQ(hv6::applyCommand(state, 32822).reload, 0);
  EXPECT_FALSE(hv6::applyCommand(state, 57665).handled);
}

TEST(CalendarCommands, MonthStepKeepsTheDayInsideTheNewMonth) {
  using hv6::YearMonthDay;
  const auto same = [](YearMonthDay a, YearMonthDay b) {
    return a.year == b.year && a.month == b.month && a.day == b.day;
  };
  EXPECT_TRUE(same(hv6::stepMonth({2026, 1, 31}, +1), {2026, 2, 28}));
  EXPECT_TRUE(same(hv6::stepMonth({2028, 1, 31}, +1), {2028, 2, 29}));
  EXPECT_TRUE(same(hv6::stepMonth({2026, 1, 15}, -1), {2025, 12, 15}));
  EXPECT_TRUE(same(hv6::stepMonth({2026, 12, 31}, +1), {2027, 1, 31}));
  EXPECT_TRUE(same(hv6::stepMonth({2026, 3, 31}, -1), {2026, 2, 28}));
  EXPECT_TRUE(same(hv6::stepMonth({2026, 5, 31}, +1), {2026, 6, 30}));
}

TEST(CalendarTitle, DescriptionOfEachModeWithTheFigureSuffix) {
  hv6::CalendarViewState state;
  hv6::applyCommand(state, 11007);
  EXPECT_EQ(hv6::windowTitle(state), QStringLiteral("Harvo V6 Plus [作業日誌-品目表示]"));
  hv6::applyCommand(state, 11015);
  hv6::applyCommand(state, 11022);
  EXPECT_EQ(hv6::windowTitle(state), QStringLiteral("Harvo V6 Plus [出荷伝票-品目-数量表示]"));
  hv6::applyCommand(state, 11016);
  EXPECT_EQ(hv6::windowTitle(state), QStringLiteral("Harvo V6 Plus [出荷伝票-仕向先-数量合計表示]"));
  hv6::applyCommand(state, 11021);
  EXPECT_TRUE(hv6::windowTitle(state).endsWith(QStringLiteral("-差引合計表示]")));
  hv6::applyCommand(state, 11023);
  hv6::applyCommand(state, 11017);
  EXPECT_TRUE(hv6::windowTitle(state).endsWith(QStringLiteral("買参人-単価表示]")));
  hv6::applyCommand(state, 11019);  // the figure is kept but not shown
  EXPECT_EQ(state.slipFigure, 2);
  EXPECT_EQ(hv6::windowTitle(state), QStringLiteral("Harvo V6 Plus [出荷伝票-請求日表示]"));
  hv6::applyCommand(state, 11024);
  EXPECT_EQ(hv6::windowTitle(state), QStringLiteral("Harvo V6 Plus [営農日記]"));
  hv6::applyCommand(state, 11003);
  EXPECT_EQ(hv6::windowTitle(state), QStringLiteral("Harvo V6 Plus [農程管理-予定・実施の比較]"));
}

TEST(CalendarTitle, EveryModeHasItsString) {
  for (int id = 2000; id <= 2019; ++id) EXPECT_FALSE(hv6::titleString(id).isEmpty()) << id;
  for (int id = 2014; id <= 2016; ++id) EXPECT_FALSE(hv6::titleString(id).endsWith(u']')) << id;
  EXPECT_EQ(hv6::titleString(2024), QStringLiteral("Harvo V6 Plus"));
}

}  // namespace
