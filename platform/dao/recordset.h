#pragma once
// A recordset over one SQL statement. Rows are read when it opens; a
// dynaset over a single table can also be edited, appended to and deleted
// from, and the changes go to the database at Update/Delete.

#include "platform/dao/variant.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

class CDaoDatabase;
struct CDaoFieldInfo;

enum DaoOpenType : int {
  dbOpenTable = 1,
  dbOpenDynaset = 2,
  dbOpenSnapshot = 4,
};

// AFX_DAO_USE_DEFAULT_TYPE of the framework: a dynaset.
constexpr int AFX_DAO_USE_DEFAULT_TYPE = -1;

class CDaoRecordset {
 public:
  explicit CDaoRecordset(CDaoDatabase* db);
  virtual ~CDaoRecordset();
  CDaoRecordset(const CDaoRecordset&) = delete;
  CDaoRecordset& operator=(const CDaoRecordset&) = delete;

  // type: dbOpenDynaset, dbOpenSnapshot or dbOpenTable (sql is then a table
  // name). options: dbReadOnly, dbForwardOnly, ... Throws CDaoException.
  void Open(int type, const QString& sql, int options = 0);
  void Open(int type, const QString& sql, const QList<COleVariant>& params,
            int options = 0);
  void Close();
  bool IsOpen() const;

  bool IsEOF() const;
  bool IsBOF() const;
  void MoveFirst();
  void MoveLast();
  void MoveNext();
  void MovePrev();
  long GetRecordCount() const;
  long GetAbsolutePosition() const;  // -1 off the rows
  void SetAbsolutePosition(long position);

  int GetFieldCount() const;
  QString fieldName(int index) const;
  int fieldIndex(const QString& name) const;  // -1 when absent
  void GetFieldInfo(int index, CDaoFieldInfo& info) const;

  // 3265 for an unknown column, 3021 without a current row.
  COleVariant GetFieldValue(const QString& name) const;
  COleVariant GetFieldValue(int index) const;
  void SetFieldValue(const QString& name, const COleVariant& value);
  void SetFieldValue(int index, const COleVariant& value);
  void SetFieldValueNull(const QString& name);

  bool CanUpdate() const;
  bool CanAppend() const;
  void AddNew();
  void Edit();
  void Update();
  void CancelUpdate();
  void Delete();

  // Jet criteria text over the columns of the set ("Code = 5",
  // "Name = 'x' AND Use = 0", "EDate IS Null"). Moves to the match and
  // returns true, or leaves the position and returns false.
  bool FindFirst(const QString& criteria);
  bool FindNext(const QString& criteria);
  bool FindLast(const QString& criteria);
  bool FindPrev(const QString& criteria);

  CDaoDatabase* m_pDatabase;

 private:
  struct Impl;
  std::unique_ptr<Impl> d;
};
