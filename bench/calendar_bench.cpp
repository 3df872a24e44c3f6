// The calendar control: a month reload (40 lines in every cell) into a shown
// control against the same into a control that is not shown, and the paint
// of that month.
#include "outside/vqbase106/ui/vqcalendar.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

namespace {

constexpr int kLinesPerDay = 40;
constexpr long kYear = 2024;
constexpr long kMonth = 5;
constexpr long kDays = 31;

bool haveWidgets(benchmark::State& state) {
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr) return true;
  state.SkipWithError("needs a QApplication");
  return false;
}

void prepare(CVqCalendar& calendar) {
  calendar.resize(1200, 820);
  calendar.SetYear(kYear);
  calendar.SetMonth(kMonth);
  calendar.SetDay(15);
  calendar.SetKisetuType(1);
}

// What a reload does: clear the days, add the lines, redraw.
void reloadMonth(CVqCalendar& calendar) {
  for (long day = 1; day <= kDays; ++day) calendar.DelMemo(kMonth, day, QString());
  for (long day = 1; day <= kDays; ++day)
    for (int line = 0; line < kLinesPerDay; ++line)
      calendar.AddMemo(kMonth, day, QStringLiteral("トマト 定植 ハウス%1").arg(line), line % 2 ? 0xff0000 : 0);
  calendar.CompulsoryReDraw();
  QCoreApplication::processEvents();
}

void BM_ReloadShownControl(benchmark::State& state) {
  if (!haveWidgets(state)) return;
  CVqCalendar calendar;
  prepare(calendar);
  calendar.show();
  QCoreApplication::processEvents();
  for (auto _ : state) reloadMonth(calendar);
}
BENCHMARK(BM_ReloadShownControl)->Unit(benchmark::kMillisecond);

void BM_ReloadHiddenControl(benchmark::State& state) {
  if (!haveWidgets(state)) return;
  CVqCalendar calendar;
  prepare(calendar);
  for (auto _ : state) reloadMonth(calendar);
}
BENCHMARK(BM_ReloadHiddenControl)->Unit(benchmark::kMillisecond);

void BM_PaintMonth(benchmark::State& state) {
  if (!haveWidgets(state)) return;
  CVqCalendar calendar;
  prepare(calendar);
  reloadMonth(calendar);
  QImage image(calendar.size(), QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    calendar.render(&image);
    benchmark::DoNotOptimize(image.constBits());
  }
}
BENCHMARK(BM_PaintMonth)->Unit(benchmark::kMillisecond);

}  // namespace
