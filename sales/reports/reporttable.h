#pragma once
// A report as the list windows, the printer and the text output all see
// it: a title, the condition lines under it, columns of two caption rows,
// and lines of two cell rows. Cells of number columns hold the plain
// number ("-1234", "12.5"); the list and the printout format it by the
// column's kind, the text output writes it as it is.

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace hv6::sales {

enum class CellKind {
  Text,      // left-aligned text
  Amount,    // whole yen with thousands separators
  Quantity,  // thousands separators, up to two decimals
  Center,    // centred text (dates, numbers of lines)
};

struct ReportColumn {
  QString caption[2];  // first and second row
  CellKind kind[2] = {CellKind::Text, CellKind::Text};
  int width = 10;      // in half-width characters (a full-width one counts 2)
};

enum class LineType { Line = 0, SlipTotal = 1, DayTotal = 2, GrandTotal = 3 };

struct ReportLine {
  LineType type = LineType::Line;
  QStringList cells[2];  // one per column and row
};

// The figures under a report's list (caption and value pairs, in rows).
struct SummaryTable {
  QStringList columnCaptions;   // the first entry captions the row captions
  QList<QStringList> rows;      // first entry the row's caption, then values
};

class ReportSource {
 public:
  virtual ~ReportSource() = default;
  virtual QString title() const = 0;
  virtual QStringList conditionLines() const = 0;
  virtual QList<ReportColumn> columns() const = 0;
  virtual qint64 lineCount() const = 0;
  // Line i; a line of empty cells when it cannot be read.
  virtual ReportLine line(qint64 i) const = 0;
  // Lines printed after the last one (the grand total).
  virtual QList<ReportLine> closingLines() const { return {}; }
  virtual SummaryTable summary() const { return {}; }
  // What a value too wide for its field prints as.
  virtual QString dots() const { return QStringLiteral("・・・・・・・"); }
  // The name the printer settings are kept under.
  virtual QString printKey() const = 0;
};

// The number text of a cell, formatted for its kind ("1,234", "12.5").
QString formatCell(const QString& plain, CellKind kind);
// The plain text of a number: whole numbers without decimals, others with
// at most two.
QString plainNumber(double value);
// "2024/04/01" for 20240401; empty for 0.
QString formatDate(int yyyymmdd);
// Width of a text in half-width characters (a full-width one counts 2).
int halfWidths(const QString& text);

// What a field of the given width shows of a formatted cell: a number too
// wide becomes the dots, a text too wide is cut. measure gives the width
// of a text in the field's units.
QString fitField(const QString& text, CellKind kind, double width,
                 const std::function<double(const QString&)>& measure, const QString& dots);

}  // namespace hv6::sales
