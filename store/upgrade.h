#pragma once
// The data-version upgrade the mobile input settings need before they
// open: the six Yes/No columns of IWDryOption and Dataversion "6.05.01".

#include <QString>

class CDaoDatabase;

namespace hv6 {

// The text shown when no crop is active: the settings cannot work then.
inline const QString kNoActiveCropText = QStringLiteral(
    "品目台帳に有効なデータが登録されていません。\n"
    "品目データを登録後、モバイル作業日誌入力設定を起動しなおしてください。");

// Runs on the open diary database. Without an active crop it says so and
// answers false; a database error shows message 2039 and answers false.
// Creates each of the six columns that is missing, and only when one was
// created sets Dataversion to "6.05.01", all in one transaction, so a
// failure leaves the file as it was; a second run changes nothing.
// True when the command may go on.
bool upgradeTo60501(CDaoDatabase& diary);

// Gives a diary database made before the sales store its tables, columns
// and indexes (salesTables, salesColumns, the slip indexes): whatever is
// missing is created in one transaction, so a failure leaves the file as it
// was. A complete database is only read. True when something was created.
// Throws CDaoException (3260 when another program holds the file).
bool ensureSalesSchema(CDaoDatabase& diary);

}  // namespace hv6
