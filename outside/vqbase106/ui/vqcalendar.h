#pragma once
// CVqCalendar: the month/week calendar widget with day cells that carry
// coloured text lines, marks, three weather pictures, the six-day cycle and
// holidays.

#include "outside/vqbase106/calendargrid.h"

#include <QColor>
#include <QWidget>

class CVqCalendar : public QWidget {
  Q_OBJECT

 public:
  explicit CVqCalendar(QWidget* parent = nullptr);
  ~CVqCalendar() override;

  long GetYear() const;
  long GetMonth() const;
  long GetDay() const;
  void SetYear(long year);   // each setter reports dateChanged
  void SetMonth(long month);
  void SetDay(long day);

  // A text line in the cell of (month, day) of the shown year; colour is a
  // COLORREF (0x00bbggrr): 0 black, 0xff0000 blue.
  void AddMemo(long month, long day, const QString& text, unsigned long colour);
  // Removes that text of the day (every line with it); an empty text clears
  // the day.
  void DelMemo(long month, long day, const QString& text);
  void SetMark(long month, long day);
  void DelMark(long month, long day);
  // Three weather items of a day; 255 is "none".
  void SetWeathItem(long month, long day, long a, long b, long c);
  void DelWeathItem(long month, long day);
  void SetDispType(long type);     // 1 month, 2 week
  void SetKisetuType(long type);   // 1 shows the six-day cycle, 0 hides it
  void SetWeekLang(long language); // 0 Japanese week headers, 1 English
  void SetHeadDisp(long flag);
  void SetBackColor(unsigned long colour);
  void CompulsoryReDraw();

  // The memo lines of a date, in the order added (for printing and tests).
  QStringList memosOf(long yyyymmdd) const;
  hv6::CalendarGrid grid() const;

 Q_SIGNALS:
  void dateChanged(long yyyymmdd);
  void dayRightClicked(long yyyymmdd, const QPoint& globalPos);
  void backgroundRightClicked(const QPoint& globalPos);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  struct Impl;
  Impl* d;
};
