#pragma once
// Printing the shown calendar: one landscape page with the month heading,
// the selected day and the grid of the shown display with each day's memo
// lines word-wrapped in its cell. The same page goes to a printer, the
// print preview or a PDF file.

#include "outside/vqbase106/calendargrid.h"

#include <QFont>
#include <QList>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <functional>

class QPainter;
class QPaintDevice;
class QPrinter;
class QWidget;

namespace hv6 {

struct CalendarPrintJob {
  CalendarGrid grid{2000, 1, 1, CalendarDisplay::Month};
  long selectedDate = 0;                    // yyyymmdd shown at the top right
  std::function<QStringList(long)> memos;   // the memo lines of a date
};

// Paints the page into the rectangle (device units of the painter).
void paintCalendarPage(QPainter& painter, const QRectF& page, const CalendarPrintJob& job);
// Forces landscape, one copy, page 1 to 1, and prints the page.
bool printCalendar(QPrinter& printer, const CalendarPrintJob& job);
// Writes the page to a PDF file atomically; false with a reason on failure.
bool printCalendarToPdf(const CalendarPrintJob& job, const QString& pdfFile,
                        QString* error = nullptr);
// The print preview window (modal).
void previewCalendar(const CalendarPrintJob& job, QWidget* parent);

// The texts of the page: "2026年  6月   ", "2026. 6.15   ", " 6日" and,
// for the 1st of a month and the neighbouring months' days, " 5月31日".
QString calendarPageHeading(int year, int month);
QString calendarPageSelectedDay(long date);
QString calendarPageDayLabel(const CalendarCell& cell);

// Where everything of the page goes, in the page's coordinates.
struct PrintedLine {
  QString text;
  QRectF rect;
};

struct PrintedCell {
  CalendarCell cell;
  QRectF rect;               // the cell's frame
  QRectF labelRect;          // the day label's row
  QString label;
  QString holiday;           // the public holiday's name, after the label
  QList<PrintedLine> lines;  // the wrapped memo lines that fit, top down
  int hiddenMemos = 0;       // memos not (completely) shown: "+n" in the label row
};

struct CalendarPageLayout {
  QFont font;      // height min(width, height) / 55, weight 400
  QFont boldFont;  // twice that height, weight 700
  QRectF headingRect;
  QString heading;
  QString selectedDay;
  QRectF weekHeaderRect;
  QList<PrintedCell> cells;  // in the grid's order
};

// Lays out the page for the device the painter will paint on (its font
// metrics decide the line breaks).
CalendarPageLayout layoutCalendarPage(const QRectF& page, const CalendarPrintJob& job,
                                      QPaintDevice* device);

}  // namespace hv6
