#pragma once
// A recordset over one SQL statement. Rows are read when it opens; a
// dynaset over a single table can also be edited, appended to and deleted
// from, and the changes go to the database at Update/Delete.
//
// Editable: a dynaset or table (not a snapshot, not dbReadOnly) whose
// statement selects plain columns ("*", "Name", "S.Name") of one table,
// without DISTINCT, GROUP BY, joins or unions. Editing another set throws
// 3027.
//
// Navigation as in DAO: on an empty set IsBOF and IsEOF are both true;
// MoveNext past the last row sets EOF, MovePrev before the first sets BOF;
// MoveNext at EOF, MovePrev at BOF and MoveFirst/MoveLast on an empty set
// throw 3021. A deleted row stays current (its values throw 3167) until
// the next move. AddNew + Update appends the new row, with the values the
// database gave it (Code, defaults), at the end of the set; the position
// stays where it was (GetLastModifiedBookmark finds the new row). A move,
// a Find or Delete drops an unfinished Edit/AddNew, as DAO does.
//
// Column names compare without regard to case; "Table.Column" picks the
// column of that table in a join and otherwise means "Column".

#include "platform/dao/variant.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

class CDaoDatabase;
class CDaoQueryDef;
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
  // name). options: dbReadOnly; dbAppendOnly opens an editable set without
  // reading its rows (for appending to a large table); others are accepted
  // and change nothing. Throws CDaoException.
  void Open(int type, const QString& sql, int options = 0);
  void Open(int type, const QString& sql, const QList<COleVariant>& params,
            int options = 0);
  // The rows of a query definition's SELECT with its current parameter
  // values; the set cannot be edited, whatever the type.
  void Open(CDaoQueryDef* queryDef, int type = dbOpenDynaset, int options = 0);
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
  // AddNew starts an empty (all Null) row; the database fills its defaults
  // at Update. SetFieldValue converts to the column's type (3421 when it
  // cannot); Update without Edit/AddNew throws 3020. A failed Update keeps
  // the pending edit, for CancelUpdate or another try.
  void AddNew();
  void Edit();
  void Update();
  void CancelUpdate();
  void Delete();

  // Bookmarks: the rowid of a row of an editable set, else its position.
  COleVariant GetBookmark() const;
  void SetBookmark(const COleVariant& bookmark);  // 3159 for an unknown one
  // The row that the last Update wrote; 3021 before any.
  COleVariant GetLastModifiedBookmark() const;

  // Jet criteria text over the columns of the set ("Code = 5",
  // "Name = 'x' AND Use = 0", "EDate IS Null"). Moves to the match and
  // returns true, or leaves the position and returns false. Throws 3077
  // for bad syntax and 3070 for a name that is no column of the set.
  bool FindFirst(const QString& criteria);
  bool FindNext(const QString& criteria);
  bool FindLast(const QString& criteria);
  bool FindPrev(const QString& criteria);

  CDaoDatabase* m_pDatabase;

 private:
  struct Impl;
  bool tryLoad(const QString& sql, const QList<COleVariant>& params, bool appendOnly);
  void load(const QString& sql, const QList<COleVariant>& params, bool withRowId, bool columnsOnly);
  void leaveRow();
  void requireColumn(int index) const;
  void requireCurrent() const;
  void requireEditable() const;
  int columnOf(const QString& name) const;
  void insertRow();
  void updateRow();
  void fetchRow(long long rowId, long row);
  bool find(const QString& criteria, long from, long step);

  std::unique_ptr<Impl> d;
};
