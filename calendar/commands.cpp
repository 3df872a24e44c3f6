#include "calendar/commands.h"

#include "outside/vqbase106/vqdate.h"

namespace hv6 {
namespace {

using namespace CalendarCmd;

CommandOutcome reloadCells() {
  CommandOutcome outcome;
  outcome.handled = true;
  outcome.reload = Reload::kCells;
  return outcome;
}

CommandOutcome applyToggle(CalendarViewState& state, int id) {
  CommandOutcome outcome;
  outcome.handled = true;
  switch (id) {
    case kWeather:
      state.weather = state.weatherShown() ? 0 : 1;
      outcome.reload = Reload::kWeather;
      break;
    case kWeekMonth:
      state.weekDisplay = state.weekShown() ? 0 : 1;
      outcome.dispType = state.weekShown() ? 2 : 1;
      break;
    case kKisetu:
      state.kisetu = state.kisetuShown() ? 0 : 1;
      outcome.kisetuType = state.kisetu;
      break;
    case kYearMonth:
      outcome.askYearMonth = true;
      break;
    case kRefresh:
      outcome.refresh = true;
      break;
    default:
      outcome.handled = false;
  }
  return outcome;
}

}  // namespace

CommandOutcome applyCommand(CalendarViewState& state, int id) {
  if (id >= kPlanFirst && id <= kPlanLast) {
    state.category = CalendarCategory::Plan;
    state.planMode = id - kPlanFirst;
    return reloadCells();
  }
  if (id >= kDiaryFirst && id <= kDiaryLast) {
    state.category = CalendarCategory::Diary;
    state.diaryMode = id - kDiaryFirst;
    return reloadCells();
  }
  if (id >= kSlipFirst && id <= kSlipLast) {
    state.category = CalendarCategory::Slips;
    state.slipMode = id - kSlipFirst;
    state.figureApplies = id != kClaimDate && id != kShipDate;
    return reloadCells();
  }
  if (id >= kFigureFirst && id <= kFigureLast) {
    state.category = CalendarCategory::Slips;
    state.slipFigure = id - kFigureFirst;
    return reloadCells();
  }
  if (id == kFarmDiary) {
    state.category = CalendarCategory::FarmDiary;
    return reloadCells();
  }
  return applyToggle(state, id);
}

int modeItemId(const CalendarViewState& state) {
  switch (state.category) {
    case CalendarCategory::Plan:
      return kPlanFirst + state.planMode;
    case CalendarCategory::Diary:
      return kDiaryFirst + state.diaryMode;
    case CalendarCategory::Slips:
      return kSlipFirst + state.slipMode;
    case CalendarCategory::FarmDiary:
      break;
  }
  return kFarmDiary;
}

int figureItemId(const CalendarViewState& state) { return kFigureFirst + state.slipFigure; }

bool figureItemsApply(const CalendarViewState& state) {
  return state.category == CalendarCategory::Slips && state.slipMode <= 2;
}

QString weekMonthMenuText(bool weekShown) {
  return weekShown ? QStringLiteral("月単位で表示(&K)") : QStringLiteral("週単位で表示(&K)");
}

QString weekMonthPopupText(bool weekShown) {
  return weekShown ? QStringLiteral("月単位表示(&K)") : QStringLiteral("週単位表示(&K)");
}

YearMonthDay stepMonth(YearMonthDay date, int delta) {
  YearMonthDay next{date.year, date.month + delta, date.day};
  if (next.month < 1) {
    next.month = 12;
    --next.year;
  } else if (next.month > 12) {
    next.month = 1;
    ++next.year;
  }
  const int last = CVqdate::GetMaxDay(next.year, next.month);
  if (next.day > last) next.day = last;
  return next;
}

}  // namespace hv6
