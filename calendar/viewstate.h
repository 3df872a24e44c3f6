#pragma once
// The display state of the calendar view and its settings under the
// registry key Calendar: read once when the view is created, saved when the
// frame closes.

#include <QString>

namespace hv6 {

class AppRegistry;

enum class CalendarCategory { Plan = 0, Diary = 1, Slips = 2, FarmDiary = 3 };

struct CalendarViewState {
  CalendarCategory category = CalendarCategory::Diary;
  int planMode = 0;     // 0-5, items 11001-11006
  int diaryMode = 0;    // 0-7, items 11007-11014
  int slipMode = 0;     // 0-5, items 11015-11020
  int slipFigure = 0;   // 0 amount, 1 quantity, 2 unit price
  int weather = 1;      // 1 shows the weather; any other value hides it
  int weekDisplay = 0;  // nonzero: week display
  int kisetu = 1;       // 1 shows the six-day cycle
  bool figureApplies = true;  // false for the claim and shipping date modes
  long selectedDate = 0;      // the day last right-clicked, 0 when none

  bool weatherShown() const { return weather == 1; }
  bool weekShown() const { return weekDisplay != 0; }
  bool kisetuShown() const { return kisetu == 1; }
};

// Names under Calendar.
struct CalendarKeys {
  static inline const QString kKey = QStringLiteral("Calendar");
  static inline const QString kDate = QStringLiteral("Date");
  static inline const QString kView = QStringLiteral("View");
  static inline const QString kYearBook = QStringLiteral("YearBook");
  static inline const QString kWdry = QStringLiteral("Wdry");
  static inline const QString kSdry = QStringLiteral("Sdry");
  static inline const QString kType = QStringLiteral("Type");
  static inline const QString kTenki = QStringLiteral("Tenki");
  static inline const QString kArea = QStringLiteral("Area");
  static inline const QString kKisetu = QStringLiteral("Kisetu");
  static inline const QString kBackupKey = QStringLiteral("Environment\\Backup");
  static inline const QString kBackUpDate = QStringLiteral("BackUpDate");
};

constexpr long kSettingReadFailed = 2504;
constexpr long kSettingWriteFailed = 2503;
constexpr long kBackupReminder = 2912;

// Reads View, YearBook, Wdry, Sdry, Type, Tenki, Area, Kisetu in this
// order. False (nothing shown) when one is missing; the state then holds
// what was read before. Values out of range are brought into range.
bool readViewState(const AppRegistry& registry, CalendarViewState& state);

// Writes Date = 0, View, the current category's mode (none for the farm
// diary), Area, Tenki, Kisetu in this order; Type never. Every write is
// tried; false when any failed.
bool writeViewState(AppRegistry& registry, const CalendarViewState& state);

// True when Environment\Backup\BackUpDate is readable, a valid date, and
// more than 30 days before today (yyyymmdd).
bool backupReminderDue(const AppRegistry& registry, long today);

}  // namespace hv6
