#include "sales/reports/reportcsv.h"

#include <QSaveFile>

namespace hv6::sales {

namespace {

QString field(QString text) {
  text = text.trimmed();
  if (text.contains(QLatin1Char(',')) || text.contains(QLatin1Char('"')) ||
      text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'))) {
    text.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return QLatin1Char('"') + text + QLatin1Char('"');
  }
  return text;
}

// A caption without the blanks that space it out on the screen.
QString caption(QString text) {
  text.remove(QLatin1Char(' '));
  text.remove(QChar(0x3000));
  return text;
}

}  // namespace

QByteArray reportCsv(const ReportSource& report) {
  const QList<ReportColumn> columns = report.columns();
  // The cells of the second row that some column uses.
  QList<int> second;
  for (int i = 0; i < columns.size(); ++i)
    if (!columns[i].caption[1].trimmed().isEmpty()) second << i;

  QStringList lines;
  QStringList head;
  for (const ReportColumn& c : columns) head << field(caption(c.caption[0]));
  for (int i : second) head << field(caption(columns[i].caption[1]));
  lines << head.join(QLatin1Char(','));

  auto record = [&](const ReportLine& line) {
    QStringList cells;
    for (int i = 0; i < columns.size(); ++i) cells << field(line.cells[0].value(i));
    for (int i : second) cells << field(line.cells[1].value(i));
    lines << cells.join(QLatin1Char(','));
  };
  const qint64 count = report.lineCount();
  for (qint64 i = 0; i < count; ++i) record(report.line(i));
  for (const ReportLine& line : report.closingLines()) record(line);

  QByteArray bytes("\xEF\xBB\xBF");
  bytes += lines.join(QStringLiteral("\r\n")).toUtf8();
  bytes += "\r\n";
  return bytes;
}

bool writeReportCsv(const ReportSource& report, const QString& path, QString* error) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) {
    if (error) *error = file.errorString();
    return false;
  }
  const QByteArray bytes = reportCsv(report);
  if (file.write(bytes) != bytes.size() || !file.commit()) {
    if (error) *error = file.errorString();
    file.cancelWriting();
    return false;
  }
  return true;
}

}  // namespace hv6::sales
