#pragma once
// The calendar view without its widgets: the display state, the launcher
// entries, the memo, weather and photo-date lists of the shown month, the
// reload in its fixed order, and the settings at creation and close.

#include "calendar/commands.h"
#include "calendar/filler.h"
#include "shell/launcher.h"
#include "calendar/viewstate.h"

#include <QList>
#include <QStringList>

#include <functional>

class CDaoDatabase;

namespace hv6 {

class AppRegistry;

// The steps of a reload, recorded in the order they ran.
enum class ReloadStep {
  MeterStart,     // "データ読み込み中" at 1 percent
  ClearLines,     // the previous weather items and memo lines removed
  Title,          // window title set
  FillPlan,
  FillDiary,
  FillSlips,
  FillFarmDiary,
  AddWeather,
  MeterEnd,
  ClearMarks,
  SetMarks,
  ClearWeather,   // flag 4: the weather items removed
  Redraw,
};

struct ReloadReport {
  QList<ReloadStep> steps;
  QString title;  // set when the title step ran
};

class CalendarViewLogic {
 public:
  static inline const QString kMeterText = QStringLiteral("データ読み込み中");

  explicit CalendarViewLogic(CalendarFillers& fillers) : fillers_(fillers) {}

  // The launcher entries and the eight Calendar values; 2504 and false when
  // one is missing.
  bool create(const AppRegistry& registry);

  CalendarViewState& state() { return state_; }
  const CalendarViewState& state() const { return state_; }
  const QList<LauncherEntry>& launchers() const { return launchers_; }
  // The entries after the settings dialog or new data replaced them.
  void setLaunchers(QList<LauncherEntry> entries) { launchers_ = std::move(entries); }

  // Reload of the shown month by flags (Reload::k...). diary may be null.
  ReloadReport reload(int flags, CDaoDatabase* diary, int year, int month, CalendarSink& sink,
                      CalendarMeter& meter);

  const MemoList& memos() const { return memos_; }
  const WeatherList& weatherList() const { return weather_; }
  const QList<long>& photoDates() const { return photos_; }
  // The memo lines of a date, in the order added (weather placeholders
  // left out).
  QStringList memosOf(long date) const;

  // Closing: asks the running programs to close (hook), the backup
  // reminder 2912, then the settings with 2503 on a failed write.
  void saveAtClose(AppRegistry& registry, long today);
  // Set by the owner once the running-program check exists.
  std::function<void()> askRunningProgramsToClose;

 private:
  void clearLines(CalendarSink& sink);
  void clearWeather(CalendarSink& sink);
  void fillCells(CDaoDatabase& db, long base, CalendarSink& sink, CalendarMeter& meter,
                 ReloadReport& report);
  void addWeather(CDaoDatabase* db, long base, CalendarSink& sink);
  void reloadCells(CDaoDatabase* db, long base, CalendarSink& sink, CalendarMeter& meter,
                   ReloadReport& report);
  void reloadPhotos(CDaoDatabase* db, long base, CalendarSink& sink, ReloadReport& report);

  CalendarFillers& fillers_;
  CalendarViewState state_;
  QList<LauncherEntry> launchers_;
  MemoList memos_;
  WeatherList weather_;
  QList<long> photos_;
};

}  // namespace hv6
