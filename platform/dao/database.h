#pragma once
// A Jet database as the program sees it, kept in an SQLite file.
//
// SQL text in Jet's dialect is translated before it runs: date literals
// #m/d/yyyy# (also #yyyy/m/d#, each optionally with a time h:mm:ss) become
// the stored text form 'YYYY-MM-DD HH:MM:SS'; "DELETE * FROM" loses its
// "*"; true/false become 1/0; Jet's double-quoted strings become
// single-quoted ones; [name] becomes "name". Text inside string literals is
// never touched. Jet's IIf(condition, a, b) runs as it is (SQLite's iif). Values from a user, a file or the network are bound with
// the params overloads ("?" placeholders), never spliced.
//
// Jet column types as declared in SQLite (the schema declares columns with
// these names; jetDeclaredType gives them):
//
//   Jet/DAO type            declared type   affinity  read back as
//   Long (dbLong)           INTEGER         INTEGER   VT_I4
//   Integer (dbInteger)     SMALLINT        INTEGER   VT_I2
//   Byte (dbByte)           TINYINT         INTEGER   VT_UI1
//   Double (dbDouble)       DOUBLE          REAL      VT_R8
//   Single (dbSingle)       FLOAT           REAL      VT_R8
//   Currency (dbCurrency)   CURRENCY        NUMERIC   VT_CY (stored as a REAL)
//   Date/Time (dbDate)      DATETIME        NUMERIC   VT_DATE (stored as TEXT
//                                                     'YYYY-MM-DD HH:MM:SS')
//   Yes/No (dbBoolean)      BOOLEAN         NUMERIC   VT_BOOL (stored 0/1)
//   Text(n) (dbText)        VARCHAR(n)      TEXT      VT_BSTR
//   Memo (dbMemo)           LONGTEXT        TEXT      VT_BSTR
//   Long binary             BLOB            BLOB      (not read as a variant)
//   AutoNumber key Code     INTEGER PRIMARY KEY (rowid = Code)  VT_I4
//
// Columns of expressions or without a declared type read by the stored
// value: integer VT_I4 (long is 64 bits here, so no value is cut), real
// VT_R8, text VT_BSTR, NULL Null. Bound values: VT_DATE as the text form,
// VT_BOOL as 0/1, VT_CY as a double.
//
// Several programs share a data folder: a busy database is waited for
// (5 s by default) before 3260 is raised. Every failure throws
// CDaoException, with or without dbFailOnError (an SQLite statement never
// applies in part, so there is nothing to report as success).

#include "platform/dao/variant.h"

#include <QHash>
#include <QList>
#include <QSqlDatabase>
#include <QSqlQuery>
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
  // (3024 missing file, 3343 not a database, 3044 empty path or missing
  // folder, ...). exclusive holds SQLite's exclusive lock until Close (3045
  // when another connection holds a lock). The connect text (Jet's
  // ";PWD=...") is not used: the files carry no password.
  void Open(const QString& path, bool exclusive = false, bool readOnly = false,
            const QString& connect = QString());
  // Creates a new empty database file and opens it; fails when the file
  // exists (3204) or its folder does not (3044).
  void Create(const QString& path);
  void Close();
  bool IsOpen() const;
  QString GetName() const;  // the file path
  bool isReadOnly() const { return readOnly_; }

  void Execute(const QString& sql, int options = dbFailOnError);
  void Execute(const QString& sql, const QList<COleVariant>& params,
               int options = dbFailOnError);
  long GetRecordsAffected() const { return recordsAffected_; }

  bool tableExists(const QString& table) const;  // a table or a view
  bool isTable(const QString& table) const;      // a table, not a view

  // How long a statement waits for another program's lock before 3260, in
  // milliseconds; applies at once and to later opens.
  void setBusyTimeout(int milliseconds);

  CDaoWorkspace* m_pWorkspace;

  // For the recordset and table definition classes.
  QSqlDatabase& connection();
  const QString& connectionName() const { return connectionName_; }
  // Runs SQL already in SQLite's dialect, forward only, with the values
  // bound in order; throws CDaoException (3420 when closed).
  QSqlQuery runSql(const QString& sql, const QList<COleVariant>& params = {});
  // The declared type of a table's column ("" when unknown), from the
  // table's definition, read once and again when the schema changes.
  QString declaredType(const QString& table, const QString& column);
  void forgetSchema() { declaredTypes_.clear(); }

 private:
  void requireOpen() const;
  void openConnection(const QString& path, const char* mode, bool readOnly);
  void verifyDatabase();
  void takeExclusiveLock();
  void dropConnection();
  const QHash<QString, QString>& tableTypes(const QString& table, bool reload);

  std::unique_ptr<CDaoWorkspace> workspace_;
  QSqlDatabase db_;
  QString connectionName_;
  QString path_;
  long recordsAffected_ = 0;
  int busyTimeout_ = 5000;
  bool readOnly_ = false;
  // Lower-case table name -> lower-case column name -> declared type.
  QHash<QString, QHash<QString, QString>> declaredTypes_;
};

// Jet SQL to the SQLite dialect (exposed for tests). Throws CDaoException
// 3075 for an unterminated string or an invalid date literal.
QString translateJetSql(const QString& sql);

// The declared SQLite type of a DAO field type (table above); size is n of
// a Text(n) (255 when 0).
QString jetDeclaredType(short daoType, long size = 0);
// The DAO field type of a declared type; size gets n of VARCHAR(n) or the
// type's fixed size.
short daoTypeOfDeclared(const QString& declaredType, long* size = nullptr);
