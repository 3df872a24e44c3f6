#pragma once
// A Jet database as the program sees it, kept in an SQLite file.
//
// SQL text in Jet's dialect is translated before it runs: date literals
// #m/d/yyyy# become the stored text form, "DELETE * FROM" loses its "*",
// true/false become 1/0. Values from a user, a file or the network are
// bound with the params overloads ("?" placeholders), never spliced.

#include "platform/dao/variant.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <memory>

// Options of Execute and Open.
enum DaoOption : int {
  dbDenyWrite = 0x1,
  dbDenyRead = 0x2,
  dbReadOnly = 0x4,
  dbAppendOnly = 0x8,
  dbInconsistent = 0x10,
  dbConsistent = 0x20,
  dbSQLPassThrough = 0x40,
  dbFailOnError = 0x80,
  dbForwardOnly = 0x100,
};

class CDaoWorkspace;

class CDaoDatabase {
 public:
  CDaoDatabase();
  ~CDaoDatabase();
  CDaoDatabase(const CDaoDatabase&) = delete;
  CDaoDatabase& operator=(const CDaoDatabase&) = delete;

  // Opens an existing file; never creates one. Throws CDaoException
  // (3024 missing file, 3343 not a database, 3044 empty path, ...).
  void Open(const QString& path, bool exclusive = false, bool readOnly = false,
            const QString& connect = QString());
  // Creates a new empty database file; fails when the file exists.
  void Create(const QString& path);
  void Close();
  bool IsOpen() const;
  QString GetName() const;  // the file path

  void Execute(const QString& sql, int options = dbFailOnError);
  void Execute(const QString& sql, const QList<COleVariant>& params,
               int options = dbFailOnError);
  long GetRecordsAffected() const { return recordsAffected_; }

  bool tableExists(const QString& table) const;

  CDaoWorkspace* m_pWorkspace;

  // For the recordset and table definition classes.
  QSqlDatabase& connection();
  const QString& connectionName() const { return connectionName_; }

 private:
  std::unique_ptr<CDaoWorkspace> workspace_;
  QString connectionName_;
  QString path_;
  long recordsAffected_ = 0;
};

// Jet SQL to the SQLite dialect (exposed for tests).
QString translateJetSql(const QString& sql);
