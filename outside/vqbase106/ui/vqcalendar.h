#pragma once
// CVqCalendar: the month/week calendar widget with day cells that carry
// coloured text lines, marks, three weather pictures, the six-day cycle and
// holidays.

#include "outside/vqbase106/calendargrid.h"

#include <QColor>
#include <QList>
#include <QStringList>
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
  // The removals by a full date (yyyymmdd), whatever year is shown now: a
  // caller that added lines before the control moved to another year takes
  // them back with these.
  void DelMemoOn(long yyyymmdd, const QString& text);
  void DelMarkOn(long yyyymmdd);
  void DelWeathItemOn(long yyyymmdd);
  void SetDispType(long type);     // 1 month, 2 week
  void SetKisetuType(long type);   // 1 shows the six-day cycle, 0 hides it
  void SetWeekLang(long language); // 0 Japanese week headers, 1 English
  void SetHeadDisp(long flag);
  void SetBackColor(unsigned long colour);
  void CompulsoryReDraw();

  // The memo lines of a date, in the order added (for printing and tests).
  QStringList memosOf(long yyyymmdd) const;
  hv6::CalendarGrid grid() const;
  bool hasMark(long yyyymmdd) const;
  // The three weather codes of a date; empty when it has none.
  QList<int> weatherOf(long yyyymmdd) const;
  int dispType() const;  // 1 month, 2 week
  bool showsRokuyo() const;
  // The memo lines as the cell shows them at its present size: each elided
  // to the cell width, the last one "+n" when n lines do not fit.
  QStringList visibleLines(long yyyymmdd) const;
  // The date of the cell under a point of the widget; 0 outside the cells.
  long dateAtPoint(const QPoint& point) const;
  QRect cellRect(int row, int column) const;

 Q_SIGNALS:
  void dateChanged(long yyyymmdd);
  void dayRightClicked(long yyyymmdd, const QPoint& globalPos);
  void backgroundRightClicked(const QPoint& globalPos);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void updateMinimumSize();
  void moveTo(int year, int month, int day);
  void moveBy(int days);
  void moveMonths(int months);
  int titleHeight() const;
  QRect gridRect() const;
  QRect memoBox(const QRect& cell, long date) const;
  QStringList fitLines(long date, const QRect& box) const;
  QColor dayColour(const hv6::CalendarCell& cell, bool holiday) const;
  QColor cellBack(const hv6::CalendarCell& cell, bool holiday) const;
  void paintTitle(QPainter& painter) const;
  void paintWeekHeader(QPainter& painter) const;
  void paintCell(QPainter& painter, const hv6::CalendarCell& cell, const QRect& box, bool today) const;
  void paintDayLine(QPainter& painter, const hv6::CalendarCell& cell, const QRect& box,
                    const QString& holiday, bool today) const;
  int paintMark(QPainter& painter, const QPoint& rightCentre) const;
  void paintWeather(QPainter& painter, long date, const QRect& box) const;
  void paintMemos(QPainter& painter, const hv6::CalendarCell& cell, const QRect& box) const;
  void paintSelection(QPainter& painter) const;

  struct Impl;
  Impl* d;
};
