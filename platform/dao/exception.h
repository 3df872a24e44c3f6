#pragma once
// Database failures carry Jet's error numbers, mapped from SQLite's, because
// callers branch on them.

#include <QString>
#include <stdexcept>

enum JetError : long {
  kJetInvalidArgument = 3001,
  kJetTableExists = 3010,
  kJetNoTransaction = 3034,
  kJetTooFewParameters = 3061,
  kJetCannotExecuteSelect = 3065,
  kJetUnknownName = 3070,
  kJetCriteriaSyntax = 3077,
  kJetRecordDeleted = 3167,
  kJetInvalidBookmark = 3159,
  kJetDuplicateField = 3191,
  kJetDatabaseExists = 3204,
  kJetConversion = 3421,
  kJetNoCurrentRecord = 3021,
  kJetUpdateWithoutEdit = 3020,
  kJetDuplicateKey = 3022,
  kJetFileNotFound = 3024,
  kJetDiskFull = 3026,
  kJetDiskIo = 3043,
  kJetInvalidPath = 3044,
  kJetFileInUse = 3045,
  kJetReadOnly = 3027,
  kJetSyntaxError = 3075,
  kJetNoSuchTable = 3078,
  kJetLocked = 3260,
  kJetNoSuchColumn = 3265,
  kJetNullNotAllowed = 3314,
  kJetNotADatabase = 3343,
  kJetNotOpen = 3420,
  kJetOther = 3000,
};

class CDaoException : public std::runtime_error {
 public:
  CDaoException(long jetError, QString description, int sqliteCode = 0);

  long errorCode() const { return jetError_; }
  const QString& description() const { return description_; }
  int sqliteCode() const { return sqliteCode_; }

 private:
  long jetError_;
  QString description_;
  int sqliteCode_;
};

// Jet's number for an SQLite result code (primary or extended) and its
// message text, which tells apart the kinds of constraint and of error 1.
long jetErrorFromSqlite(int sqliteCode, const QString& message);
