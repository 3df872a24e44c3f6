#pragma once
// Table definitions: the columns of a table and the creation of a column.

#include <QList>
#include <QString>

class CDaoDatabase;

// Field types of DAO.
enum DaoFieldType : short {
  dbBoolean = 1,
  dbByte = 2,
  dbInteger = 3,
  dbLong = 4,
  dbCurrency = 5,
  dbSingle = 6,
  dbDouble = 7,
  dbDate = 8,
  dbText = 10,
  dbLongBinary = 11,
  dbMemo = 12,
};

// Field attributes of DAO.
enum DaoFieldAttribute : long {
  dbFixedField = 0x1,
  dbVariableField = 0x2,
  dbAutoIncrField = 0x10,
  dbUpdatableField = 0x20,
};

constexpr long dbSortJapanese = 1041;

struct CDaoFieldInfo {
  QString m_strName;
  short m_nType = dbText;
  long m_lSize = 0;
  long m_lAttributes = 0;
  short m_nOrdinalPosition = 0;
  bool m_bRequired = false;
  bool m_bAllowZeroLength = false;
  long m_lCollatingOrder = 0;
  QString m_strForeignName;
  QString m_strSourceField;
  QString m_strSourceTable;
  QString m_strValidationRule;
  QString m_strValidationText;
  QString m_strDefaultValue;
};

class CDaoTableDef {
 public:
  explicit CDaoTableDef(CDaoDatabase* db);
  ~CDaoTableDef();

  void Open(const QString& table);  // 3078 for an unknown table
  void Close();
  bool IsOpen() const { return open_; }
  QString GetName() const { return table_; }

  short GetFieldCount() const;
  void GetFieldInfo(int index, CDaoFieldInfo& info) const;
  bool GetFieldInfo(const QString& name, CDaoFieldInfo& info) const;
  void CreateField(const CDaoFieldInfo& info);

 private:
  void reload();
  CDaoDatabase* db_;
  QString table_;
  bool open_ = false;
  struct Column {
    CDaoFieldInfo info;
  };
  QList<Column> columns_;
};
