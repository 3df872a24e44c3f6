#pragma once
// The view's commands as changes of its display state, what each asks to
// reload and what the calendar control must be told; the month step of the
// frame's previous/next month commands.

#include "calendar/viewstate.h"

namespace hv6 {

// Command ids (menu 128 and the calendar tool bar).
namespace CalendarCmd {
constexpr int kPlanFirst = 11001;    // 11001-11006 plan modes
constexpr int kPlanLast = 11006;
constexpr int kDiaryFirst = 11007;   // 11007-11014 diary modes
constexpr int kDiaryLast = 11014;
constexpr int kSlipFirst = 11015;    // 11015-11020 slip modes
constexpr int kSlipLast = 11020;
constexpr int kClaimDate = 11019;
constexpr int kShipDate = 11020;
constexpr int kFigureFirst = 11021;  // 11021-11023 slip figures
constexpr int kFigureLast = 11023;
constexpr int kFarmDiary = 11024;
constexpr int kWeather = 11025;
constexpr int kWeekMonth = 11026;
constexpr int kYearMonth = 11027;
constexpr int kRefresh = 32822;
constexpr int kKisetu = 32823;
constexpr int kPrevMonth = 10101;
constexpr int kNextMonth = 10102;
constexpr int kPrint = 57607;
constexpr int kPrintPreview = 57609;
constexpr int kExit = 57665;
constexpr int kBackup = 32773;
constexpr int kPictureShow = 32815;
constexpr int kPictureImport = 32814;
constexpr int kLaunchPlan = 10001;
constexpr int kLaunchDiary = 10002;
constexpr int kLaunchSales = 10003;
constexpr int kLaunchFarmDiary = 10004;
constexpr int kDatePicker = 3010;
}  // namespace CalendarCmd

// Reload flags.
namespace Reload {
constexpr int kCells = 1;
constexpr int kPhotos = 2;
constexpr int kWeather = 4;
constexpr int kAll = -1;
}  // namespace Reload

struct CommandOutcome {
  bool handled = false;
  int reload = 0;            // reload flags, 0 for none
  int dispType = 0;          // SetDispType 1 month / 2 week, 0 unchanged
  int kisetuType = -1;       // SetKisetuType value, -1 unchanged
  bool askYearMonth = false; // dialog 140, then a move and a reload of all
  bool refresh = false;      // re-open the diary database and reload all
};

// Applies a command of 11001-11027, 32822, 32823 to the state.
CommandOutcome applyCommand(CalendarViewState& state, int id);

// The item that describes the current mode (11001-11006, 11007-11014,
// 11015-11020 or 11024), for the menu's check marks.
int modeItemId(const CalendarViewState& state);
// The checked figure item 11021-11023.
int figureItemId(const CalendarViewState& state);
// Whether the figure items 11021-11023 apply (enabled, one checked): the slip
// category in the crop, customer and buyer modes.
bool figureItemsApply(const CalendarViewState& state);

// The text of 11026 and of its context-menu item for the display shown.
QString weekMonthMenuText(bool weekShown);
QString weekMonthPopupText(bool weekShown);

struct YearMonthDay {
  int year;
  int month;
  int day;
};

// One month back (delta -1) or on (+1); a day past the new month's end
// becomes its last day.
YearMonthDay stepMonth(YearMonthDay date, int delta);

}  // namespace hv6
