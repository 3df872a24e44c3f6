#pragma once
// The fillers of the plan, work-diary and farm-diary categories: one line
// per record of the shown month, added to the day cells and recorded in the
// memo list.

#include "calendar/filler.h"

class CDaoDatabase;

namespace hv6 {

// mode 0-5: the items 11001-11006.
void fillPlan(CDaoDatabase& db, int mode, long baseDate, CalendarSink& sink, MemoList& memos,
              CalendarMeter& meter);
// mode 0-7: the items 11007-11014.
void fillDiary(CDaoDatabase& db, int mode, long baseDate, CalendarSink& sink, MemoList& memos,
               CalendarMeter& meter);
// The first 40 characters of each day's yyyymmdd.rtf in the database's folder.
void fillFarmDiary(CDaoDatabase& db, long baseDate, CalendarSink& sink, MemoList& memos,
                   CalendarMeter& meter);

}  // namespace hv6
