#pragma once
// Database failures carry Jet's error numbers, mapped from SQLite's, because
// callers branch on them.

#include <QString>
#include <stdexcept>

enum JetError : long {
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
