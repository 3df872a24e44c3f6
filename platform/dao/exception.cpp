#include "platform/dao/exception.h"

namespace {

// SQLite's primary result codes that have a Jet counterpart.
enum SqliteCode : int {
  kSqliteError = 1,
  kSqliteBusy = 5,
  kSqliteLocked = 6,
  kSqliteReadOnly = 8,
  kSqliteIoErr = 10,
  kSqliteCorrupt = 11,
  kSqliteFull = 13,
  kSqliteCantOpen = 14,
  kSqliteConstraint = 19,
  kSqliteNotADb = 26,
};

std::string whatText(long jetError, const QString& description) {
  return QStringLiteral("database error %1: %2").arg(jetError).arg(description).toStdString();
}

bool mentions(const QString& message, const char* text) {
  return message.contains(QLatin1String(text), Qt::CaseInsensitive);
}

long constraintError(const QString& message) {
  if (mentions(message, "UNIQUE") || mentions(message, "PRIMARY KEY")) return kJetDuplicateKey;
  if (mentions(message, "NOT NULL")) return kJetNullNotAllowed;
  return kJetOther;
}

// SQLITE_ERROR covers most statement faults; its message says which.
long genericError(const QString& message) {
  if (mentions(message, "no such table")) return kJetNoSuchTable;
  if (mentions(message, "no such column")) return kJetNoSuchColumn;
  if (mentions(message, "already exists")) return kJetTableExists;
  if (mentions(message, "duplicate column name")) return kJetDuplicateField;
  if (mentions(message, "syntax error") || mentions(message, "unrecognized token") ||
      mentions(message, "incomplete input"))
    return kJetSyntaxError;
  return kJetOther;
}

}  // namespace

CDaoException::CDaoException(long jetError, QString description, int sqliteCode)
    : std::runtime_error(whatText(jetError, description)),
      jetError_(jetError),
      description_(std::move(description)),
      sqliteCode_(sqliteCode) {}

long jetErrorFromSqlite(int sqliteCode, const QString& message) {
  switch (sqliteCode & 0xff) {
    case kSqliteError: return genericError(message);
    case kSqliteBusy:
    case kSqliteLocked: return kJetLocked;
    case kSqliteReadOnly: return kJetReadOnly;
    case kSqliteIoErr: return kJetDiskIo;
    case kSqliteCorrupt:
    case kSqliteNotADb: return kJetNotADatabase;
    case kSqliteFull: return kJetDiskFull;
    case kSqliteCantOpen: return kJetFileNotFound;
    case kSqliteConstraint: return constraintError(message);
    default: return kJetOther;
  }
}
