#pragma once
// A temporary query definition: one statement prepared once and run again
// and again with other parameter values, as DAO's CDaoQueryDef. The SQL is
// Jet's, translated once; its "?" placeholders take the values given with
// SetParamValue, in order (Null until set). Execute runs an action query;
// CDaoRecordset::Open(CDaoQueryDef*) opens a SELECT as a read-only set.
//
// The prepared statement belongs to the database connection: close the
// definition (or let it go out of scope) before the database closes.

#include "platform/dao/variant.h"

#include <QList>
#include <QString>
#include <memory>

class CDaoDatabase;
class QSqlQuery;

class CDaoQueryDef {
 public:
  explicit CDaoQueryDef(CDaoDatabase* db);
  ~CDaoQueryDef();
  CDaoQueryDef(const CDaoQueryDef&) = delete;
  CDaoQueryDef& operator=(const CDaoQueryDef&) = delete;

  // Only temporary definitions exist here: a name (a query stored in the
  // database) throws 3001. Throws 3420 when the database is closed, 3075
  // for SQL that does not translate and the database's error for SQL it
  // cannot prepare.
  void Create(const QString& name, const QString& sql);
  void Close();
  bool IsOpen() const;
  QString GetSQL() const;  // as given

  short GetParameterCount() const;
  // 3265 for an index that names no placeholder.
  void SetParamValue(int index, const COleVariant& value);
  COleVariant GetParamValue(int index) const;

  // Runs the action query with the current values; 3065 for a SELECT.
  void Execute(int options = 0x80 /* dbFailOnError */);
  long GetRecordsAffected() const { return recordsAffected_; }

  CDaoDatabase* m_pDatabase;

  // For CDaoRecordset: runs the statement with the current values and
  // returns it, positioned before its first row. Throws CDaoException.
  QSqlQuery& run();

 private:
  void requireOpen() const;

  struct Impl;
  std::unique_ptr<Impl> d;
  long recordsAffected_ = 0;
};
