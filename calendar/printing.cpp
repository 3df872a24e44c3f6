#include "calendar/printing.h"

#include "outside/vqbase106/vqholiday.h"

#include <QBuffer>
#include <QColor>
#include <QDir>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QSaveFile>
#include <QTextLayout>

#include <algorithm>

namespace hv6 {
namespace {

int yearOf(long date) { return static_cast<int>(date / 10000); }
int monthOf(long date) { return static_cast<int>(date % 10000 / 100); }
int dayOf(long date) { return static_cast<int>(date % 100); }

// A memo's continuation lines are indented by this share of the line
// height, so one memo stands apart from the next.
constexpr double kIndentShare = 0.6;

// Japanese and Latin text are drawn with the font's own glyph of each
// character, without OpenType substitutions: the CJK font's Latin 'locl'
// turns digits after a Latin letter ("殺虫剤A 10.00") into alternates that
// no character maps to, and the PDF's text layer, which maps glyphs back to
// characters through the font's character map, would lose them. Scripts
// that need shaping are still shaped.
QFont pageFont(double height, bool bold) {
  QFont font(QStringLiteral("Noto Sans CJK JP"));
  font.setPixelSize(std::max(1, qRound(height)));
  font.setWeight(bold ? QFont::Bold : QFont::Normal);
  font.setStyleStrategy(QFont::PreferNoShaping);
  return font;
}

QString withoutTrailingBlanks(QString text) {
  while (!text.isEmpty() && text.back().isSpace()) text.chop(1);
  return text;
}

// The memo broken into lines: the first as wide as the cell, the others
// indented.
QStringList wrapMemo(const QString& memo, const QFont& font, double width, double indent,
                     const QPaintDevice* device) {
  QTextLayout layout(memo, font, device);
  QTextOption option;
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  layout.setTextOption(option);
  QStringList lines;
  layout.beginLayout();
  for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
    line.setLineWidth(lines.isEmpty() ? width : width - indent);
    lines << withoutTrailingBlanks(memo.mid(line.textStart(), line.textLength()));
  }
  layout.endLayout();
  return lines;
}

QStringList memosOf(const CalendarPrintJob& job, long date) {
  if (!job.memos) return {};
  return job.memos(date);
}

// Puts the memo lines under the label while whole lines fit; a memo cut
// short and every memo after it count as hidden.
void layoutMemos(PrintedCell& printed, const QStringList& memos, const QFont& font,
                 const QPaintDevice* device, const QRectF& inner) {
  const QFontMetricsF metrics(font, device);
  const double lineHeight = metrics.lineSpacing();
  const double indent = metrics.height() * kIndentShare;
  double top = printed.labelRect.bottom();
  bool full = false;
  for (const QString& memo : memos) {
    if (memo.trimmed().isEmpty()) continue;
    if (full) {
      ++printed.hiddenMemos;
      continue;
    }
    const QStringList lines = wrapMemo(memo, font, inner.width(), indent, device);
    for (qsizetype i = 0; i < lines.size(); ++i) {
      if (top + lineHeight > inner.bottom()) {
        full = true;
        ++printed.hiddenMemos;
        break;
      }
      const double left = inner.left() + (i == 0 ? 0.0 : indent);
      printed.lines << PrintedLine{lines[i], QRectF(left, top, inner.right() - left, lineHeight)};
      top += lineHeight;
    }
  }
}

PrintedCell layoutCell(const QRectF& rect, const CalendarCell& cell, const QStringList& memos,
                       const QFont& font, const QPaintDevice* device) {
  PrintedCell printed{cell, rect, {}, calendarPageDayLabel(cell), holidayName(cell.date), {}, 0};
  const QFontMetricsF metrics(font, device);
  const double pad = metrics.height() * 0.25;
  const QRectF inner = rect.adjusted(pad, pad * 0.5, -pad, -pad * 0.5);
  printed.labelRect = QRectF(inner.left(), inner.top(), inner.width(), metrics.lineSpacing());
  layoutMemos(printed, memos, font, device, inner);
  return printed;
}

QRectF cellRect(const QRectF& grid, int rows, const CalendarCell& cell) {
  const double width = grid.width() / CalendarGrid::kColumns;
  const double height = grid.height() / rows;
  return QRectF(grid.left() + cell.column * width, grid.top() + cell.row * height, width, height);
}

QColor weekdayColor(int column) {
  if (column == 0) return QColor(0xc6, 0x28, 0x28);
  if (column == 6) return QColor(0x15, 0x65, 0xc0);
  return QColor(0x21, 0x21, 0x21);
}

QColor labelColor(const PrintedCell& printed) {
  if (!printed.cell.inShownMonth) return QColor(0x9e, 0x9e, 0x9e);
  if (!printed.holiday.isEmpty()) return weekdayColor(0);
  return weekdayColor(printed.cell.column);
}

// The label, the holiday's name (shortened to the room left) and the
// count of memos that did not fit.
void paintLabelRow(QPainter& painter, const PrintedCell& printed) {
  const QRectF& row = printed.labelRect;
  const QFontMetricsF metrics(painter.font(), painter.device());
  painter.setPen(labelColor(printed));
  painter.drawText(row, Qt::AlignLeft | Qt::AlignVCenter, printed.label);
  const QString more = printed.hiddenMemos > 0 ? QStringLiteral("+%1").arg(printed.hiddenMemos) : QString();
  painter.setPen(QColor(0x75, 0x75, 0x75));
  painter.drawText(row, Qt::AlignRight | Qt::AlignVCenter, more);
  if (printed.holiday.isEmpty()) return;
  const double gap = metrics.height() * 0.4;
  const double left = row.left() + metrics.horizontalAdvance(printed.label) + gap;
  const double right = row.right() - (more.isEmpty() ? 0.0 : metrics.horizontalAdvance(more) + gap);
  const QRectF room(left, row.top(), std::max(0.0, right - left), row.height());
  painter.setPen(labelColor(printed));
  painter.drawText(room, Qt::AlignLeft | Qt::AlignVCenter,
                   metrics.elidedText(printed.holiday, Qt::ElideRight, room.width()));
}

QPen gridPen(const CalendarPageLayout& layout, double share) {
  QPen pen(QColor(0x61, 0x61, 0x61));
  pen.setWidthF(std::max(1.0, layout.font.pixelSize() * share));
  return pen;
}

void paintHeading(QPainter& painter, const CalendarPageLayout& layout) {
  painter.setPen(QColor(0x21, 0x21, 0x21));
  painter.setFont(layout.boldFont);
  painter.drawText(layout.headingRect, Qt::AlignHCenter | Qt::AlignBottom, layout.heading);
  painter.setFont(layout.font);
  painter.drawText(layout.headingRect, Qt::AlignRight | Qt::AlignBottom, layout.selectedDay);
}

void paintWeekHeader(QPainter& painter, const CalendarPageLayout& layout) {
  static const QString kDays = QStringLiteral("日月火水木金土");
  const QRectF& header = layout.weekHeaderRect;
  painter.fillRect(header, QColor(0xee, 0xee, 0xee));
  painter.setFont(layout.font);
  const double width = header.width() / CalendarGrid::kColumns;
  for (int column = 0; column < CalendarGrid::kColumns; ++column) {
    const QRectF box(header.left() + column * width, header.top(), width, header.height());
    painter.setPen(weekdayColor(column));
    painter.drawText(box, Qt::AlignCenter, kDays.mid(column, 1));
  }
  painter.setPen(gridPen(layout, 0.06));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(header);
}

void paintCell(QPainter& painter, const CalendarPageLayout& layout, const PrintedCell& printed) {
  if (!printed.cell.inShownMonth) painter.fillRect(printed.rect, QColor(0xf5, 0xf5, 0xf5));
  painter.save();
  painter.setClipRect(printed.rect);
  painter.setFont(layout.font);
  paintLabelRow(painter, printed);
  painter.setPen(printed.cell.inShownMonth ? QColor(0x21, 0x21, 0x21) : QColor(0x75, 0x75, 0x75));
  for (const PrintedLine& line : printed.lines)
    painter.drawText(line.rect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, line.text);
  painter.restore();
  painter.setPen(gridPen(layout, 0.06));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(printed.rect);
}

bool paintOnDevice(QPaintDevice& device, const CalendarPrintJob& job) {
  QPainter painter;
  if (!painter.begin(&device)) return false;
  paintCalendarPage(painter, QRectF(0, 0, device.width(), device.height()), job);
  return painter.end();
}

// The whole PDF in memory, so nothing reaches the disk before it is complete.
QByteArray renderPdf(const CalendarPrintJob& job) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  QPdfWriter writer(&buffer);
  writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                   QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
  writer.setResolution(600);
  writer.setCreator(QStringLiteral("hv6"));
  writer.setTitle(calendarPageHeading(job.grid.year(), job.grid.month()).trimmed());
  if (!paintOnDevice(writer, job)) return {};
  return buffer.data();
}

bool fail(QString* error, const QString& text) {
  if (error) *error = text;
  return false;
}

}  // namespace

QString calendarPageHeading(int year, int month) {
  return QStringLiteral("%1年 %2月   ").arg(year, 4).arg(month, 2);
}

QString calendarPageSelectedDay(long date) {
  return QStringLiteral("%1.%2.%3   ").arg(yearOf(date), 4).arg(monthOf(date), 2).arg(dayOf(date), 2);
}

QString calendarPageDayLabel(const CalendarCell& cell) {
  const int day = dayOf(cell.date);
  if (day == 1 || !cell.inShownMonth)
    return QStringLiteral("%1月%2日").arg(monthOf(cell.date), 2).arg(day, 2);
  return QStringLiteral("%1日").arg(day, 2);
}

CalendarPageLayout layoutCalendarPage(const QRectF& page, const CalendarPrintJob& job,
                                      QPaintDevice* device) {
  CalendarPageLayout layout;
  const double unit = std::min(page.width(), page.height()) / 55.0;
  layout.font = pageFont(unit, false);
  layout.boldFont = pageFont(2 * unit, true);
  const CalendarGrid& grid = job.grid;
  const long selected = job.selectedDate != 0
                            ? job.selectedDate
                            : grid.year() * 10000L + grid.month() * 100L + grid.day();
  layout.heading = calendarPageHeading(grid.year(), grid.month());
  layout.selectedDay = calendarPageSelectedDay(selected);

  const QFontMetricsF bold(layout.boldFont, device);
  const QFontMetricsF normal(layout.font, device);
  const QRectF area = page.adjusted(unit / 2, unit / 2, -unit / 2, -unit / 2);
  layout.headingRect = QRectF(area.left(), area.top(), area.width(), bold.height());
  layout.weekHeaderRect = QRectF(area.left(), layout.headingRect.bottom() + unit / 2, area.width(),
                                 normal.height() * 1.4);
  const QRectF gridArea(area.left(), layout.weekHeaderRect.bottom(), area.width(),
                        area.bottom() - layout.weekHeaderRect.bottom());
  for (const CalendarCell& cell : grid.cells())
    layout.cells << layoutCell(cellRect(gridArea, grid.rows(), cell), cell,
                               memosOf(job, cell.date), layout.font, device);
  return layout;
}

void paintCalendarPage(QPainter& painter, const QRectF& page, const CalendarPrintJob& job) {
  const CalendarPageLayout layout = layoutCalendarPage(page, job, painter.device());
  painter.save();
  paintHeading(painter, layout);
  paintWeekHeader(painter, layout);
  for (const PrintedCell& printed : layout.cells) paintCell(painter, layout, printed);
  painter.restore();
}

bool printCalendar(QPrinter& printer, const CalendarPrintJob& job) {
  printer.setPageOrientation(QPageLayout::Landscape);
  printer.setCopyCount(1);
  printer.setPrintRange(QPrinter::PageRange);
  printer.setFromTo(1, 1);
  return paintOnDevice(printer, job);
}

bool printCalendarToPdf(const CalendarPrintJob& job, const QString& pdfFile, QString* error) {
  if (pdfFile.isEmpty()) return fail(error, QStringLiteral("PDF ファイル名がありません (no PDF file name)"));
  const QFileInfo target(pdfFile);
  const QString shown = QDir::toNativeSeparators(target.absoluteFilePath());
  if (!target.absoluteDir().exists())
    return fail(error, QStringLiteral("%1 のフォルダがありません (the folder does not exist)").arg(shown));
  if (target.isDir())
    return fail(error, QStringLiteral("%1 はフォルダです (a folder, not a file)").arg(shown));
  const QByteArray pdf = renderPdf(job);
  if (pdf.isEmpty()) return fail(error, QStringLiteral("PDF を作成できません (cannot make the PDF)"));
  QSaveFile file(pdfFile);
  if (!file.open(QIODevice::WriteOnly))
    return fail(error, QStringLiteral("%1 に書き込めません (cannot write): %2").arg(shown, file.errorString()));
  if (file.write(pdf) != pdf.size() || !file.commit())
    return fail(error, QStringLiteral("%1 に書き込めません (cannot write): %2").arg(shown, file.errorString()));
  return true;
}

void previewCalendar(const CalendarPrintJob& job, QWidget* parent) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageOrientation(QPageLayout::Landscape);
  QPrintPreviewDialog dialog(&printer, parent);
  QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                   [&job](QPrinter* target) { printCalendar(*target, job); });
  dialog.exec();
}

}  // namespace hv6
