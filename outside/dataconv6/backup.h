#pragma once
// The copy of a diary database taken beside it before it is converted.

#include <QDate>
#include <QString>

class CDaoDatabase;

namespace hv6::dataconv {

// "<file>.bak-yyyymmdd"; "-2", "-3", ... follow when that name is taken, so
// an earlier copy is never replaced.
QString backupPathFor(const QString& path, const QDate& day);

// Writes a consistent copy of the open database to target, through the
// database itself (reading the file beside SQLite would drop its locks).
// The database must not be in a transaction. Throws CDaoException.
void writeBackup(CDaoDatabase& db, const QString& target);

}  // namespace hv6::dataconv
