#include "tests/support/temp_data_folder.h"

#include "platform/dao/dao.h"

#include <QStringList>

namespace hv6test {

TempDataFolder::TempDataFolder(hv6::SchemaEdition edition) {
  hv6::createDiaryDatabase(diaryPath(), edition);
  hv6::createWeatherDatabase(weatherPath());
  diary_.Open(diaryPath());
  weather_.Open(weatherPath());
}

TempDataFolder::~TempDataFolder() {
  if (diary_.IsOpen()) diary_.Close();
  if (weather_.IsOpen()) weather_.Close();
}

QString TempDataFolder::diaryPath() const { return dir_.filePath(hv6::kDiaryFileName); }
QString TempDataFolder::weatherPath() const { return dir_.filePath(hv6::kWeatherFileName); }

long TempDataFolder::insertRow(CDaoDatabase& db, const QString& table, const RowValues& values) {
  QStringList names;
  QStringList marks;
  QList<COleVariant> params;
  for (const auto& [name, value] : values) {
    names.append(name);
    marks.append(QStringLiteral("?"));
    params.append(value);
  }
  const QString sql = values.isEmpty()
                          ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(table)
                          : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                .arg(table, names.join(QStringLiteral(", ")),
                                     marks.join(QStringLiteral(", ")));
  db.Execute(sql, params);
  CDaoRecordset last(&db);
  last.Open(dbOpenSnapshot, QStringLiteral("SELECT MAX(Code) AS Last FROM %1").arg(table));
  return last.GetFieldValue(0).toLong();
}

long TempDataFolder::addMaster(const QString& table, long scode, const QString& name, int use) {
  return insertRow(diary_, table,
                   {{QStringLiteral("Scode"), COleVariant(scode)},
                    {QStringLiteral("Name"), COleVariant(name)},
                    {QStringLiteral("Use"), COleVariant(use)}});
}

long TempDataFolder::addDiary(const QDate& date, const RowValues& values) {
  RowValues row{{QStringLiteral("Date"),
                 date.isValid() ? COleVariant(QDateTime(date, QTime(0, 0))) : COleVariant()}};
  row += values;
  return insertRow(diary_, QStringLiteral("WDiary"), row);
}

QStringList columnsOf(CDaoDatabase& db, const QString& table) {
  CDaoTableDef def(&db);
  def.Open(table);
  QStringList names;
  for (int i = 0; i < def.GetFieldCount(); ++i) {
    CDaoFieldInfo info;
    def.GetFieldInfo(i, info);
    names.append(info.m_strName);
  }
  return names;
}

}  // namespace hv6test
