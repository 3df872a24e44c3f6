#pragma once
// The fillers of the sales-slip category, the month's weather and the photo
// dates, and the fillers object the view uses for every category.

#include "calendar/filler.h"

class CDaoDatabase;

namespace hv6 {

// mode 0-5: the items 11015-11020; figure 0 amount, 1 quantity, 2 unit price.
void fillSlips(CDaoDatabase& db, int mode, int figure, long baseDate, CalendarSink& sink,
               MemoList& memos, CalendarMeter& meter);
std::optional<WeatherList> monthWeather(CDaoDatabase& db, long baseDate);
bool monthPhotoDates(CDaoDatabase& db, long baseDate, QList<long>& dates);

// Every category from the databases: the fillers the program runs with.
class DatabaseFillers final : public CalendarFillers {
 public:
  void plan(CDaoDatabase& db, int mode, long baseDate, CalendarSink& sink, MemoList& memos,
            CalendarMeter& meter) override;
  void diary(CDaoDatabase& db, int mode, long baseDate, CalendarSink& sink, MemoList& memos,
             CalendarMeter& meter) override;
  void slips(CDaoDatabase& db, int mode, int figure, long baseDate, CalendarSink& sink,
             MemoList& memos, CalendarMeter& meter) override;
  void farmDiary(CDaoDatabase& db, long baseDate, CalendarSink& sink, MemoList& memos,
                 CalendarMeter& meter) override;
  std::optional<WeatherList> weather(CDaoDatabase& db, long baseDate) override;
  bool photoDates(CDaoDatabase& db, long baseDate, QList<long>& dates) override;
};

}  // namespace hv6
