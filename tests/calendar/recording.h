#pragma once
// A sink that records what it is told and fillers that add fixed lines,
// for the reload tests.

#include "calendar/filler.h"

#include <QStringList>

namespace hv6test {

class RecordingSink final : public hv6::CalendarSink {
 public:
  QStringList calls;
  void addMemo(long month, long day, const QString& text, unsigned long colour) override {
    calls << QStringLiteral("add %1/%2 %3 %4").arg(month).arg(day).arg(text).arg(colour, 0, 16);
  }
  void delMemo(long date, const QString& text) override {
    calls << QStringLiteral("del %1 %2").arg(date).arg(text);
  }
  void setWeatherItems(long month, long day, long a, long b, long c) override {
    calls << QStringLiteral("weather %1/%2 %3 %4 %5").arg(month).arg(day).arg(a).arg(b).arg(c);
  }
  void delWeatherItems(long date) override { calls << QStringLiteral("noweather %1").arg(date); }
  void setMark(long month, long day) override {
    calls << QStringLiteral("mark %1/%2").arg(month).arg(day);
  }
  void delMark(long date) override { calls << QStringLiteral("nomark %1").arg(date); }
  void compulsoryRedraw() override { calls << QStringLiteral("redraw"); }
};

class RecordingMeter final : public hv6::CalendarMeter {
 public:
  QStringList calls;
  void start(const QString& text) override { calls << QStringLiteral("start ") + text; }
  void set(int percent) override { calls << QString::number(percent); }
  void end() override { calls << QStringLiteral("end"); }
};

// Two lines on the 3rd and one on the 20th, named after the category and
// mode; one weather day; photos on two days.
class FakeFillers final : public hv6::CalendarFillers {
 public:
  QStringList calls;
  bool weatherFails = false;

  void plan(CDaoDatabase&, int mode, long base, hv6::CalendarSink& sink, hv6::MemoList& memos,
            hv6::CalendarMeter& meter) override {
    fill(QStringLiteral("plan%1").arg(mode), base, sink, memos, meter);
  }
  void diary(CDaoDatabase&, int mode, long base, hv6::CalendarSink& sink, hv6::MemoList& memos,
             hv6::CalendarMeter& meter) override {
    fill(QStringLiteral("diary%1").arg(mode), base, sink, memos, meter);
  }
  void slips(CDaoDatabase&, int mode, int figure, long base, hv6::CalendarSink& sink,
             hv6::MemoList& memos, hv6::CalendarMeter& meter) override {
    fill(QStringLiteral("slips%1.%2").arg(mode).arg(figure), base, sink, memos, meter);
  }
  void farmDiary(CDaoDatabase&, long base, hv6::CalendarSink& sink, hv6::MemoList& memos,
                 hv6::CalendarMeter& meter) override {
    fill(QStringLiteral("farm"), base, sink, memos, meter);
  }
  std::optional<hv6::WeatherList> weather(CDaoDatabase&, long base) override {
    calls << QStringLiteral("weather %1").arg(base);
    if (weatherFails) return std::nullopt;
    return hv6::WeatherList{{base + 5, 1, 255, 3}};
  }
  bool photoDates(CDaoDatabase&, long base, QList<long>& dates) override {
    calls << QStringLiteral("photos %1").arg(base);
    dates = {base + 2, base + 9};
    return true;
  }

 private:
  void fill(const QString& name, long base, hv6::CalendarSink& sink, hv6::MemoList& memos,
            hv6::CalendarMeter& meter) {
    calls << name + QStringLiteral(" %1").arg(base);
    hv6::addLine(sink, memos, base + 3, name + QStringLiteral(" a"));
    hv6::addLine(sink, memos, base + 3, name + QStringLiteral(" b"), hv6::kMemoBlue);
    meter.set(50);
    hv6::addLine(sink, memos, base + 20, name + QStringLiteral(" c"));
  }
};

}  // namespace hv6test
