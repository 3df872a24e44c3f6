#pragma once
// The text output ("ﾃｷｽﾄ出力") of a report: CSV in UTF-8 with a byte-order
// mark, lines ending in CR LF, so that a spreadsheet opens the Japanese text
// intact. The first line holds the captions (first caption row, then the
// second), each line of the report one record with its cells in the same
// order; numbers as plain numbers without separators. The file is written
// whole or not at all.

#include "sales/reports/reporttable.h"

#include <QByteArray>
#include <QString>

namespace hv6::sales {

QByteArray reportCsv(const ReportSource& report);
// False with the reason in error when the file could not be written.
bool writeReportCsv(const ReportSource& report, const QString& path, QString* error = nullptr);

}  // namespace hv6::sales
