#include "calendar/diaryfill.h"
#include "calendar/salesfill.h"

namespace hv6 {

void DatabaseFillers::plan(CDaoDatabase& db, int mode, long baseDate, CalendarSink& sink,
                           MemoList& memos, CalendarMeter& meter) {
  fillPlan(db, mode, baseDate, sink, memos, meter);
}

void DatabaseFillers::diary(CDaoDatabase& db, int mode, long baseDate, CalendarSink& sink,
                            MemoList& memos, CalendarMeter& meter) {
  fillDiary(db, mode, baseDate, sink, memos, meter);
}

void DatabaseFillers::slips(CDaoDatabase& db, int mode, int figure, long baseDate,
                            CalendarSink& sink, MemoList& memos, CalendarMeter& meter) {
  fillSlips(db, mode, figure, baseDate, sink, memos, meter);
}

void DatabaseFillers::farmDiary(CDaoDatabase& db, long baseDate, CalendarSink& sink,
                                MemoList& memos, CalendarMeter& meter) {
  fillFarmDiary(db, baseDate, sink, memos, meter);
}

std::optional<WeatherList> DatabaseFillers::weather(CDaoDatabase& db, long baseDate) {
  return monthWeather(db, baseDate);
}

bool DatabaseFillers::photoDates(CDaoDatabase& db, long baseDate, QList<long>& dates) {
  return monthPhotoDates(db, baseDate, dates);
}

}  // namespace hv6
