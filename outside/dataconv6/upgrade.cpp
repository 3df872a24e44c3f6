#include "outside/dataconv6/upgrade.h"

#include "platform/dao/dao.h"

namespace hv6::dataconv {
namespace {

const QString kInformation = QStringLiteral("Information");
const QString kMobileOptions = QStringLiteral("IWDryOption");
const QString kVersionColumn = QStringLiteral("Dataversion");

void requireDiaryDatabase(CDaoDatabase& db) {
  for (const char* table : {"Information", "WDiary"}) {
    if (db.isTable(QString::fromLatin1(table))) continue;
    throw CDaoException(kJetNotADatabase,
                        QStringLiteral("'%1' holds no diary data").arg(db.GetName()));
  }
}

QList<AddedColumn> missingColumns(CDaoDatabase& db, const TableSpec& table) {
  CDaoTableDef definition(&db);
  definition.Open(table.name);
  QList<AddedColumn> missing;
  CDaoFieldInfo info;
  for (const ColumnSpec& column : table.columns) {
    if (!definition.GetFieldInfo(column.name, info)) missing.append({table.name, column});
  }
  return missing;
}

bool hasColumn(const UpgradePlan& plan, const QString& table, const QString& column) {
  for (const AddedColumn& added : plan.columns) {
    if (added.table == table && added.column.name == column) return false;
  }
  return true;
}

// Whether some Information row lacks the current version, and whether
// there is a row at all.
void readVersion(CDaoDatabase& db, UpgradePlan& plan) {
  const QString current = dataVersionOf(kCurrentEdition);
  if (!hasColumn(plan, kInformation, kVersionColumn)) {
    plan.writeVersion = true;
    CDaoRecordset rows(&db);
    rows.Open(dbOpenSnapshot, QStringLiteral("SELECT * FROM Information"), dbReadOnly);
    plan.addInformationRow = rows.GetRecordCount() == 0;
    return;
  }
  CDaoRecordset rows(&db);
  rows.Open(dbOpenSnapshot, QStringLiteral("SELECT Dataversion FROM Information"), dbReadOnly);
  plan.addInformationRow = rows.IsEOF();
  for (; !rows.IsEOF(); rows.MoveNext()) {
    const COleVariant version = rows.GetFieldValue(0);
    if (version.isNull() || version.toString() < current) plan.writeVersion = true;
  }
}

bool hasMobileOptionsRow(CDaoDatabase& db) {
  CDaoRecordset rows(&db);
  rows.Open(dbOpenSnapshot, QStringLiteral("SELECT Code FROM IWDryOption WHERE Code = 1"),
            dbReadOnly);
  return !rows.IsEOF();
}

}  // namespace

bool UpgradePlan::empty() const {
  return tables.isEmpty() && columns.isEmpty() && !writeVersion && !addInformationRow &&
         !addMobileOptionsRow;
}

UpgradePlan planUpgrade(CDaoDatabase& db) {
  requireDiaryDatabase(db);
  UpgradePlan plan;
  for (const TableSpec& table : diaryTables(kCurrentEdition)) {
    if (!db.tableExists(table.name)) {
      plan.tables.append(table);
      continue;
    }
    plan.columns += missingColumns(db, table);
  }
  readVersion(db, plan);
  const bool newOptionsTable = !db.tableExists(kMobileOptions);
  plan.addMobileOptionsRow = newOptionsTable || !hasMobileOptionsRow(db);
  return plan;
}

void applyUpgrade(CDaoDatabase& db, const UpgradePlan& plan) {
  for (const TableSpec& table : plan.tables) {
    for (const QString& statement : createTableStatements(table)) db.Execute(statement);
  }
  for (const AddedColumn& added : plan.columns) {
    db.Execute(QStringLiteral("ALTER TABLE %1 ADD COLUMN %2")
                   .arg(added.table, columnDefinition(added.column)));
  }
  const COleVariant current(dataVersionOf(kCurrentEdition));
  if (plan.addInformationRow) {
    db.Execute(QStringLiteral("INSERT INTO Information (Dataversion) VALUES (?)"), {current});
  } else if (plan.writeVersion) {
    // A newer edition's version is kept.
    db.Execute(QStringLiteral("UPDATE Information SET Dataversion = ? "
                              "WHERE Dataversion IS NULL OR Dataversion < ?"),
               {current, current});
  }
  if (plan.addMobileOptionsRow)
    db.Execute(QStringLiteral("INSERT INTO IWDryOption (Code, Crop, Day) VALUES (1, 1, 1)"));
}

}  // namespace hv6::dataconv
