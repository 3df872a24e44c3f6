#pragma once
// The import of the records the mobile diary service sent: reads the
// downloaded file, converts each record line to a WDiary row, maps the
// masters' user numbers (Scode) to their Code, skips lines the diary
// already holds and writes every rejected or skipped line to the dated log.

#include <QString>
#include <QStringList>

#include <functional>

class CDaoDatabase;

namespace hv6 {

struct MobileImportResult {
  // True when every record line of the file was either stored or counted
  // as rejected or duplicate and written to the log. False when the import
  // stopped early (the diary cannot be appended to, a database error, the
  // file cannot be read) or a log entry could not be written: the caller
  // should then keep the records on the server (no clear request), so the
  // next run gets them again; rows stored by this run are then duplicates.
  bool success = false;
  long stored = 0;
  long rejected = 0;
  long duplicates = 0;
};

// Imports the records of the downloaded file tempFile (code page 932: line
// 1 starts with the record count and ",", then one line per record) into
// WDiary of the open diary database, in one transaction: a record is stored
// whole or not at all, and a database error or a crash stores none of the
// run. Rejected and duplicate lines are appended to logFile (code page
// 932). materialNames are Mte1Name..Mte5Name of Information (empty for
// Null), the names the log gives material categories 1-5. progress gets
// i * 80 / n + 10 after record line i of n and 90 at the end; it may be
// empty. Messages go through the message presenter: "DBに追加できない"
// when WDiary cannot be appended to, 2039 for a failed master read (the
// field fails), 2039 or 2160 (disk full) for a failed store, and the file
// error 8012 when the file cannot be read or the log cannot be written.
MobileImportResult importMobileRecords(CDaoDatabase& diary, const QString& tempFile,
                                       const QString& logFile,
                                       const QStringList& materialNames,
                                       std::function<void(int)> progress = {});

// Mte1Name..Mte5Name of the Information row, empty texts for Null or a
// missing row. Throws CDaoException.
QStringList readMaterialNames(CDaoDatabase& diary);

}  // namespace hv6
