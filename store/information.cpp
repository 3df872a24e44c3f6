#include "store/information.h"

#include "outside/vqbase106/vqdate.h"
#include "outside/vqbase106/vqstring.h"
#include "platform/dao/dao.h"

namespace hv6 {
namespace {

const QString kSelectInformation = QStringLiteral("SELECT * FROM Information");
constexpr int kEraDateForm = 3;

QString textOf(const CDaoRecordset& rs, const QString& column) {
  return rs.GetFieldValue(column).toString();
}

bool hasColumn(const CDaoRecordset& rs, const QString& column) {
  return rs.fieldIndex(column) >= 0;
}

// A database of the previous edition has neither Dataversion nor GroupName.
InformationRow rowOf(const CDaoRecordset& rs) {
  InformationRow row;
  row.texts.company = textOf(rs, QStringLiteral("Company"));
  row.texts.president = textOf(rs, QStringLiteral("President"));
  row.texts.telNo = textOf(rs, QStringLiteral("TelNo"));
  row.texts.faxNo = textOf(rs, QStringLiteral("FaxNo"));
  if (hasColumn(rs, QStringLiteral("Dataversion")))
    row.dataVersion = textOf(rs, QStringLiteral("Dataversion"));
  row.groupNameAvailable = hasGroupName(row.dataVersion);
  if (row.groupNameAvailable) row.texts.groupName = textOf(rs, QStringLiteral("GroupName"));
  const long backup = rs.GetFieldValue(QStringLiteral("LastBackup")).toLong();
  row.lastBackup = backup > 0 ? backup : 0;
  return row;
}

void setWhenNotEmpty(CDaoRecordset& rs, const QString& column, const QString& text) {
  if (!text.isEmpty()) rs.SetFieldValue(column, COleVariant(text));
}

}  // namespace

bool hasGroupName(const QString& dataVersion) { return dataVersion >= kDataVersion60500; }

InformationRead readInformation(const QString& diaryPath) {
  InformationRead result;
  try {
    CDaoDatabase db;
    db.Open(diaryPath, false, true);
    CDaoRecordset rs(&db);
    rs.Open(dbOpenSnapshot, kSelectInformation);
    result.row = rowOf(rs);
  } catch (const CDaoException& error) {
    result.daoError = error.errorCode();
  }
  return result;
}

InformationWriteResult writeInformation(const QString& diaryPath, const InformationTexts& texts) {
  try {
    CDaoDatabase db;
    db.Open(diaryPath);
    CDaoRecordset rs(&db);
    rs.Open(dbOpenDynaset, kSelectInformation);
    if (CVqstring::IsSpace(texts.president, 0)) return {InformationWrite::PresidentMissing};
    rs.Edit();
    setWhenNotEmpty(rs, QStringLiteral("Company"), texts.company);
    setWhenNotEmpty(rs, QStringLiteral("TelNo"), texts.telNo);
    setWhenNotEmpty(rs, QStringLiteral("FaxNo"), texts.faxNo);
    if (hasColumn(rs, QStringLiteral("GroupName")))
      setWhenNotEmpty(rs, QStringLiteral("GroupName"), texts.groupName);
    rs.SetFieldValue(QStringLiteral("President"), COleVariant(texts.president));
    rs.Update();
    return {InformationWrite::Written};
  } catch (const CDaoException& error) {
    return {InformationWrite::Failed, error.errorCode()};
  }
}

bool isAcceptableDatabase(const QString& diaryPath) {
  try {
    CDaoDatabase db;
    db.Open(diaryPath, false, true);
    CDaoRecordset rs(&db);
    rs.Open(dbOpenSnapshot, kSelectInformation);
    return !rs.GetFieldValue(QStringLiteral("Dataversion")).isNull();
  } catch (const CDaoException&) {
    return false;
  }
}

QString backupDateText(long lastBackup) {
  QString text;
  if (lastBackup <= 0 || CVqdate::WarekiForm(text, lastBackup, kEraDateForm) != 0) return {};
  return text;
}

}  // namespace hv6
