#pragma once
// The Information row of a diary database: the farm's identity, the date of
// the last backup and the data version.

#include "store/schema.h"

#include <QString>

namespace hv6 {

// The row as the data-information page shows it. Of InformationTexts only
// the five identity texts are used.
struct InformationRow {
  InformationTexts texts;
  long lastBackup = 0;       // yyyymmdd; 0 when never (Null or <= 0)
  QString dataVersion;       // empty when Null or when the column is absent
  bool groupNameAvailable = false;  // Dataversion >= "6.05.00"; GroupName read only then
};

// A read: the row, or the database error number.
struct InformationRead {
  long daoError = 0;
  InformationRow row;
  bool ok() const { return daoError == 0; }
};

// Whether a database of this data version has GroupName: the versions
// compare as texts.
bool hasGroupName(const QString& dataVersion);

// Reads the row of the diary database at path.
InformationRead readInformation(const QString& diaryPath);

enum class InformationWrite { Written, PresidentMissing, Failed };

struct InformationWriteResult {
  InformationWrite outcome = InformationWrite::Failed;
  long daoError = 0;  // with Failed
};

// Writes the five texts into the row: Company, TelNo, FaxNo and GroupName
// only when not empty, President always. An empty President or one of
// blanks only (half- or full-width) is refused and nothing is written.
InformationWriteResult writeInformation(const QString& diaryPath, const InformationTexts& texts);

// True when the file opens as a database whose Information row has a
// Dataversion (a database of this edition, not one still to convert).
bool isAcceptableDatabase(const QString& diaryPath);

// The last backup as a Japanese-era date ("令和5年6月1日"); empty for never.
QString backupDateText(long lastBackup);

}  // namespace hv6
