#include "calendar/viewlogic.h"

#include "calendar/titles.h"
#include "outside/errtext6/errmsg.h"
#include "platform/dao/database.h"
#include "shell/appregistry.h"

namespace hv6 {
namespace {

long monthOf(long date) { return (date % 10000) / 100; }
long dayOf(long date) { return date % 100; }

bool isOpen(const CDaoDatabase* db) { return db != nullptr && db->IsOpen(); }

void showMessage(long number) { CErrMsg().Disp(number, 1); }

}  // namespace

void addLine(CalendarSink& sink, MemoList& memos, long date, const QString& text,
             unsigned long colour) {
  sink.addMemo(monthOf(date), dayOf(date), text, colour);
  memos.append(MemoEntry{date, text});
}

bool CalendarViewLogic::create(const AppRegistry& registry) {
  if (!loadLauncherEntries(registry, launchers_) || !readViewState(registry, state_)) {
    showMessage(kSettingReadFailed);
    return false;
  }
  return true;
}

ReloadReport CalendarViewLogic::reload(int flags, CDaoDatabase* diary, int year, int month,
                                       CalendarSink& sink, CalendarMeter& meter) {
  ReloadReport report;
  const long base = long(year) * 10000 + long(month) * 100;
  if (flags & Reload::kCells) reloadCells(diary, base, sink, meter, report);
  if (flags & Reload::kPhotos) reloadPhotos(diary, base, sink, report);
  // A reload of the cells has brought the weather up to date already.
  if ((flags & Reload::kWeather) && !(flags & Reload::kCells)) {
    clearWeather(sink);
    report.steps << ReloadStep::ClearWeather;
    if (state_.weatherShown()) {
      addWeather(diary, base, sink);
      report.steps << ReloadStep::AddWeather;
    }
  }
  sink.compulsoryRedraw();
  report.steps << ReloadStep::Redraw;
  return report;
}

// The previous lines go even when the database is closed, so a month never
// shows another month's lines.
void CalendarViewLogic::reloadCells(CDaoDatabase* db, long base, CalendarSink& sink,
                                    CalendarMeter& meter, ReloadReport& report) {
  clearLines(sink);
  report.steps << ReloadStep::ClearLines;
  if (!isOpen(db)) return;
  meter.start(kMeterText);
  meter.set(1);
  report.steps << ReloadStep::MeterStart;
  report.title = windowTitle(state_);
  report.steps << ReloadStep::Title;
  fillCells(*db, base, sink, meter, report);
  if (state_.weatherShown()) {
    addWeather(db, base, sink);
    report.steps << ReloadStep::AddWeather;
  }
  meter.set(100);
  meter.end();
  report.steps << ReloadStep::MeterEnd;
}

void CalendarViewLogic::fillCells(CDaoDatabase& db, long base, CalendarSink& sink,
                                  CalendarMeter& meter, ReloadReport& report) {
  switch (state_.category) {
    case CalendarCategory::Plan:
      fillers_.plan(db, state_.planMode, base, sink, memos_, meter);
      report.steps << ReloadStep::FillPlan;
      return;
    case CalendarCategory::Diary:
      fillers_.diary(db, state_.diaryMode, base, sink, memos_, meter);
      report.steps << ReloadStep::FillDiary;
      return;
    case CalendarCategory::Slips:
      fillers_.slips(db, state_.slipMode, state_.slipFigure, base, sink, memos_, meter);
      report.steps << ReloadStep::FillSlips;
      return;
    case CalendarCategory::FarmDiary:
      fillers_.farmDiary(db, base, sink, memos_, meter);
      report.steps << ReloadStep::FillFarmDiary;
      return;
  }
}

void CalendarViewLogic::clearLines(CalendarSink& sink) {
  clearWeather(sink);
  for (const MemoEntry& memo : std::as_const(memos_))
    sink.delMemo(memo.date, memo.text);
  memos_.clear();
}

void CalendarViewLogic::clearWeather(CalendarSink& sink) {
  for (const WeatherEntry& entry : std::as_const(weather_)) {
    sink.delWeatherItems(entry.date);
    sink.delMemo(entry.date, QString());
  }
  weather_.clear();
}

void CalendarViewLogic::addWeather(CDaoDatabase* db, long base, CalendarSink& sink) {
  if (!isOpen(db)) return;
  const std::optional<WeatherList> month = fillers_.weather(*db, base);
  if (!month) return;
  for (const WeatherEntry& entry : *month) {
    const long day = entry.date - base;
    sink.setWeatherItems(monthOf(base), day, entry.item1, entry.item2, entry.item3);
    sink.addMemo(monthOf(base), day, QString(), kMemoBlack);
    weather_.append(entry);
  }
}

void CalendarViewLogic::reloadPhotos(CDaoDatabase* db, long base, CalendarSink& sink,
                                     ReloadReport& report) {
  for (long date : std::as_const(photos_)) sink.delMark(date);
  photos_.clear();
  report.steps << ReloadStep::ClearMarks;
  if (!isOpen(db)) return;
  QList<long> dates;
  if (!fillers_.photoDates(*db, base, dates)) return;
  for (long date : std::as_const(dates)) sink.setMark(monthOf(date), dayOf(date));
  photos_ = dates;
  report.steps << ReloadStep::SetMarks;
}

QStringList CalendarViewLogic::memosOf(long date) const {
  QStringList lines;
  for (const MemoEntry& memo : memos_)
    if (memo.date == date) lines << memo.text;
  return lines;
}

void CalendarViewLogic::saveAtClose(AppRegistry& registry, long today) {
  if (askRunningProgramsToClose) askRunningProgramsToClose();
  if (backupReminderDue(registry, today)) CErrMsg().Disp(kBackupReminder, 0);
  if (!writeViewState(registry, state_)) showMessage(kSettingWriteFailed);
}

}  // namespace hv6
