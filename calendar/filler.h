#pragma once
// What the view hands to the fillers of the day cells: a sink that puts
// lines, weather items and marks on the calendar, a progress meter, and one
// call per display category. The fillers record every line they add in the
// memo list, so that the next reload removes it.

#include <QList>
#include <QString>

#include <optional>

class CDaoDatabase;

namespace hv6 {

struct MemoEntry {
  long date;  // yyyymmdd
  QString text;
};
using MemoList = QList<MemoEntry>;

struct WeatherEntry {
  long date;  // yyyymmdd
  int item1;  // 255 is "none"
  int item2;
  int item3;
};
using WeatherList = QList<WeatherEntry>;

// Line colours (COLORREF).
constexpr unsigned long kMemoBlack = 0x000000;
constexpr unsigned long kMemoBlue = 0xff0000;

// The calendar control as the fillers and the view's reload see it. What is
// added goes to the shown month by the month and day of a date: (date mod
// 10000) div 100 and date mod 100. What is removed is named by the full date
// (yyyymmdd): by then the control may show another year.
class CalendarSink {
 public:
  virtual ~CalendarSink() = default;
  virtual void addMemo(long month, long day, const QString& text, unsigned long colour) = 0;
  // Removes the lines of that text from the day.
  virtual void delMemo(long date, const QString& text) = 0;
  virtual void setWeatherItems(long month, long day, long a, long b, long c) = 0;
  virtual void delWeatherItems(long date) = 0;
  virtual void setMark(long month, long day) = 0;
  virtual void delMark(long date) = 0;
  virtual void compulsoryRedraw() = 0;
};

// The status bar's progress meter.
class CalendarMeter {
 public:
  virtual ~CalendarMeter() = default;
  virtual void start(const QString& text) = 0;
  virtual void set(int percent) = 0;
  virtual void end() = 0;
};

// Adds a line to the sink and records it; what every filler does per line.
void addLine(CalendarSink& sink, MemoList& memos, long date, const QString& text,
             unsigned long colour = kMemoBlack);

// The fillers of each category. baseDate is year × 10000 + month × 100.
class CalendarFillers {
 public:
  virtual ~CalendarFillers() = default;
  virtual void plan(CDaoDatabase& db, int mode, long baseDate, CalendarSink& sink,
                    MemoList& memos, CalendarMeter& meter) = 0;
  virtual void diary(CDaoDatabase& db, int mode, long baseDate, CalendarSink& sink,
                     MemoList& memos, CalendarMeter& meter) = 0;
  virtual void slips(CDaoDatabase& db, int mode, int figure, long baseDate, CalendarSink& sink,
                     MemoList& memos, CalendarMeter& meter) = 0;
  virtual void farmDiary(CDaoDatabase& db, long baseDate, CalendarSink& sink, MemoList& memos,
                         CalendarMeter& meter) = 0;
  // The month's weather; nothing when the database is closed or the query
  // failed.
  virtual std::optional<WeatherList> weather(CDaoDatabase& db, long baseDate) = 0;
  // The distinct photo dates of the month; false when the database is
  // closed or the query failed.
  virtual bool photoDates(CDaoDatabase& db, long baseDate, QList<long>& dates) = 0;
};

// Fillers that add nothing: the calendar runs without annotations.
class EmptyFillers final : public CalendarFillers {
 public:
  void plan(CDaoDatabase&, int, long, CalendarSink&, MemoList&, CalendarMeter&) override {}
  void diary(CDaoDatabase&, int, long, CalendarSink&, MemoList&, CalendarMeter&) override {}
  void slips(CDaoDatabase&, int, int, long, CalendarSink&, MemoList&, CalendarMeter&) override {}
  void farmDiary(CDaoDatabase&, long, CalendarSink&, MemoList&, CalendarMeter&) override {}
  std::optional<WeatherList> weather(CDaoDatabase&, long) override { return WeatherList{}; }
  bool photoDates(CDaoDatabase&, long, QList<long>&) override { return true; }
};

}  // namespace hv6
