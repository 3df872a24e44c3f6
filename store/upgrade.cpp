#include "store/upgrade.h"

#include "outside/errtext6/errmsg.h"
#include "platform/dao/dao.h"
#include "platform/presenter.h"
#include "store/schema.h"

#include <QHash>
#include <QSqlQuery>

namespace hv6 {

namespace {

constexpr long kMsgReadFailed = 2039;
constexpr short kFirstUpgradeOrdinal = 20;
const QString kOptionTable = QStringLiteral("IWDryOption");

bool hasActiveCrop(CDaoDatabase& db) {
  CDaoRecordset rs(&db);
  rs.Open(dbOpenSnapshot, QStringLiteral("SELECT * FROM CropMst WHERE Use=0"));
  return !rs.IsEOF();
}

CDaoFieldInfo yesNoField(const QString& name, int number) {
  CDaoFieldInfo info;
  info.m_strName = name;
  info.m_nType = dbBoolean;
  info.m_lSize = 1;
  info.m_lAttributes = dbFixedField;
  info.m_nOrdinalPosition = static_cast<short>(kFirstUpgradeOrdinal + number);
  info.m_bRequired = false;
  info.m_bAllowZeroLength = false;
  info.m_lCollatingOrder = dbSortJapanese;
  info.m_strSourceTable = kOptionTable;
  info.m_strSourceField = name;
  info.m_strDefaultValue = QStringLiteral("False");
  return info;
}

// How many of the upgrade columns the table lacks.
int missingColumnCount(CDaoDatabase& db) {
  CDaoTableDef def(&db);
  def.Open(kOptionTable);
  int missing = 0;
  for (const QString& name : iwDryUpgradeColumns()) {
    CDaoFieldInfo existing;
    if (!def.GetFieldInfo(name, existing)) ++missing;
  }
  return missing;
}

// Creates the missing upgrade columns; the number created.
int addMissingColumns(CDaoDatabase& db) {
  CDaoTableDef def(&db);
  def.Open(kOptionTable);
  const QStringList names = iwDryUpgradeColumns();
  int created = 0;
  for (int i = 0; i < names.size(); ++i) {
    CDaoFieldInfo existing;
    if (def.GetFieldInfo(names[i], existing)) continue;
    def.CreateField(yesNoField(names[i], i));
    ++created;
  }
  return created;
}

QStringList columnNames(CDaoDatabase& db, const QString& table) {
  QStringList names;
  QSqlQuery query = db.runSql(QStringLiteral("PRAGMA table_info(%1)").arg(table));
  while (query.next()) names.append(query.value(1).toString().toLower());
  return names;
}

bool indexExists(CDaoDatabase& db, const QString& name) {
  QSqlQuery query = db.runSql(
      QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'index' AND name = ? COLLATE NOCASE"),
      {COleVariant(name)});
  return query.next();
}

// The statements that bring the file to the sales store's schema.
QStringList salesSchemaStatements(CDaoDatabase& db) {
  QStringList statements;
  for (const TableSpec& table : salesTables()) {
    if (!db.tableExists(table.name)) statements += createTableStatements(table);
  }
  QHash<QString, QStringList> present;
  for (const AddedColumn& added : salesColumns()) {
    if (!present.contains(added.table)) present.insert(added.table, columnNames(db, added.table));
    if (present[added.table].contains(added.column.name.toLower())) continue;
    statements.append(QStringLiteral("ALTER TABLE %1 ADD COLUMN %2")
                          .arg(added.table, columnDefinition(added.column)));
  }
  for (const TableSpec& table : diaryTables()) {
    if (table.name != QLatin1String("Slip")) continue;
    for (const IndexSpec& index : table.indexes)
      if (!indexExists(db, index.name))
        statements.append(QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (%3)")
                              .arg(index.name, table.name, index.columns.join(QStringLiteral(", "))));
  }
  return statements;
}

}  // namespace

bool ensureSalesSchema(CDaoDatabase& diary) {
  if (salesSchemaStatements(diary).isEmpty()) return false;
  // Looked at again under the write lock: another program may have
  // upgraded the file meanwhile.
  DaoTransaction transaction(diary);
  const QStringList statements = salesSchemaStatements(diary);
  for (const QString& statement : statements) diary.Execute(statement);
  transaction.commit();
  return !statements.isEmpty();
}

bool upgradeTo60501(CDaoDatabase& diary) {
  try {
    if (!hasActiveCrop(diary)) {
      showMessage(kNoActiveCropText, kHrvCaption, MsgButtons::Ok, MsgIcon::Warning);
      return false;
    }
    if (missingColumnCount(diary) == 0) return true;
    // The columns and the version change together or not at all: a version
    // left behind the columns would never be written by a later run. The
    // columns are looked up again under the write lock.
    DaoTransaction transaction(diary);
    if (addMissingColumns(diary) > 0)
      diary.Execute(
          QStringLiteral("UPDATE Information SET Dataversion = '%1'").arg(kDataVersion60501),
          dbFailOnError);
    transaction.commit();
    return true;
  } catch (const CDaoException&) {
    CErrMsg().Disp(kMsgReadFailed, 1);
    return false;
  }
}

}  // namespace hv6
