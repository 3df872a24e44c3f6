#pragma once
// A temporary data folder with both databases made from the schema and
// opened, plus helpers to put master and diary rows into them.

#include "platform/dao/database.h"
#include "platform/dao/variant.h"
#include "store/schema.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <utility>

namespace hv6test {

// Column name and value of a row to insert.
using RowValues = QList<std::pair<QString, COleVariant>>;

class TempDataFolder {
 public:
  explicit TempDataFolder(hv6::SchemaEdition edition = hv6::kCurrentEdition);
  ~TempDataFolder();
  TempDataFolder(const TempDataFolder&) = delete;
  TempDataFolder& operator=(const TempDataFolder&) = delete;

  QString folder() const { return dir_.path(); }
  QString diaryPath() const;
  QString weatherPath() const;

  CDaoDatabase& diary() { return diary_; }
  CDaoDatabase& weather() { return weather_; }

  // Inserts a row and returns its Code.
  static long insertRow(CDaoDatabase& db, const QString& table, const RowValues& values);
  // A master row of the diary database (Use 0 = active); returns its Code.
  long addMaster(const QString& table, long scode, const QString& name, int use = 0);
  // A WDiary row on a day (stored at 00:00) with further columns; returns
  // its Code. A null date stores a Null Date.
  long addDiary(const QDate& date, const RowValues& values = {});

 private:
  QTemporaryDir dir_;
  CDaoDatabase diary_;
  CDaoDatabase weather_;
};

// The column names of a table, in their order.
QStringList columnsOf(CDaoDatabase& db, const QString& table);

}  // namespace hv6test
