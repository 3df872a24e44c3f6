#pragma once
// Printing the shown calendar: one landscape page with the month heading,
// the selected day and the grid of the shown display with each day's memo
// lines word-wrapped in its cell. The same page goes to a printer, the
// print preview or a PDF file.

#include "outside/vqbase106/calendargrid.h"

#include <QRectF>
#include <QString>
#include <QStringList>
#include <functional>

class QPainter;
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

}  // namespace hv6
