#include "calendar/viewstate.h"

#include "outside/vqbase106/vqdate.h"
#include "shell/appregistry.h"

#include <algorithm>
#include <cstdint>

namespace hv6 {
namespace {

constexpr long kBackupAgeDays = 30;

int bounded(std::uint32_t value, int last) {
  return int(std::min<std::uint32_t>(value, std::uint32_t(last)));
}

}  // namespace

bool readViewState(const AppRegistry& registry, CalendarViewState& state) {
  const QString& key = CalendarKeys::kKey;
  std::uint32_t view = 0, yearBook = 0, wdry = 0, sdry = 0, type = 0, tenki = 0, area = 0,
                kisetu = 0;
  const bool read = registry.readDword(key, CalendarKeys::kView, view) &&
                    registry.readDword(key, CalendarKeys::kYearBook, yearBook) &&
                    registry.readDword(key, CalendarKeys::kWdry, wdry) &&
                    registry.readDword(key, CalendarKeys::kSdry, sdry) &&
                    registry.readDword(key, CalendarKeys::kType, type) &&
                    registry.readDword(key, CalendarKeys::kTenki, tenki) &&
                    registry.readDword(key, CalendarKeys::kArea, area) &&
                    registry.readDword(key, CalendarKeys::kKisetu, kisetu);
  if (!read) return false;
  state.category = CalendarCategory(bounded(view, 3));
  state.planMode = bounded(yearBook, 5);
  state.diaryMode = bounded(wdry, 7);
  state.slipMode = bounded(sdry, 5);
  state.slipFigure = bounded(type, 2);
  state.weather = int(std::min<std::uint32_t>(tenki, 0x7fffffff));
  state.weekDisplay = area != 0 ? 1 : 0;
  state.kisetu = kisetu == 1 ? 1 : 0;
  state.figureApplies = state.slipMode < 4;
  return true;
}

bool writeViewState(AppRegistry& registry, const CalendarViewState& state) {
  const QString& key = CalendarKeys::kKey;
  bool ok = registry.writeDword(key, CalendarKeys::kDate, 0);
  ok = registry.writeDword(key, CalendarKeys::kView, std::uint32_t(state.category)) && ok;
  switch (state.category) {
    case CalendarCategory::Plan:
      ok = registry.writeDword(key, CalendarKeys::kYearBook, std::uint32_t(state.planMode)) && ok;
      break;
    case CalendarCategory::Diary:
      ok = registry.writeDword(key, CalendarKeys::kWdry, std::uint32_t(state.diaryMode)) && ok;
      break;
    case CalendarCategory::Slips:
      ok = registry.writeDword(key, CalendarKeys::kSdry, std::uint32_t(state.slipMode)) && ok;
      break;
    case CalendarCategory::FarmDiary:
      break;
  }
  ok = registry.writeDword(key, CalendarKeys::kArea, std::uint32_t(state.weekDisplay)) && ok;
  ok = registry.writeDword(key, CalendarKeys::kTenki, std::uint32_t(state.weather)) && ok;
  ok = registry.writeDword(key, CalendarKeys::kKisetu, std::uint32_t(state.kisetu)) && ok;
  return ok;
}

bool backupReminderDue(const AppRegistry& registry, long today) {
  std::uint32_t stored = 0;
  if (!registry.readDword(CalendarKeys::kBackupKey, CalendarKeys::kBackUpDate, stored))
    return false;
  const long days = CVqdate::GetAmongtwoDate(long(stored), today);
  if (days == CVqdate::kNoSpan) return false;
  return days > kBackupAgeDays;
}

}  // namespace hv6
