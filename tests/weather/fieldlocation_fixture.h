#pragma once
// A data folder with observation points, fields and their links, for the
// tests of the field-location editor and its dialogs.

#include "platform/dao/dao.h"
#include "tests/support/message_recorder.h"
#include "tests/support/temp_data_folder.h"
#include "weather/fieldlocation.h"

#include <QFile>

#include <gtest/gtest.h>

namespace hv6test {

class FieldLocationTest : public ::testing::Test {
 protected:
  TempDataFolder data;
  MessageRecorder messages;
  hv6::ObservationSlots slots;

  // A point at latitude lat° latMin′ and longitude lon°; end 0 stores Null.
  long addPoint(int num, int lat, int lon, long start, long end = 0, int latMin = 0,
                long code = 0) {
    RowValues row{{QStringLiteral("Num"), COleVariant(num)},
                  {QStringLiteral("Ido_HH"), COleVariant(lat)},
                  {QStringLiteral("Ido_MM"), COleVariant(latMin)},
                  {QStringLiteral("Ido_SS"), COleVariant(0)},
                  {QStringLiteral("Keido_HH"), COleVariant(lon)},
                  {QStringLiteral("Keido_MM"), COleVariant(0)},
                  {QStringLiteral("Keido_SS"), COleVariant(0)},
                  {QStringLiteral("SDate"), COleVariant(start)},
                  {QStringLiteral("EDate"), end == 0 ? COleVariant() : COleVariant(end)}};
    if (code != 0) row.prepend({QStringLiteral("Code"), COleVariant(code)});
    return TempDataFolder::insertRow(data.weather(), QStringLiteral("Location"), row);
  }

  // A field of the diary's FieldMst; seq < 0 stores a Null SeqCode.
  long addField(const QString& name, long seq, int use = 0) {
    RowValues row{{QStringLiteral("Scode"), COleVariant(seq)},
                  {QStringLiteral("Name"), COleVariant(name)},
                  {QStringLiteral("Use"), COleVariant(use)},
                  {QStringLiteral("SeqCode"), seq < 0 ? COleVariant() : COleVariant(seq)}};
    return TempDataFolder::insertRow(data.diary(), QStringLiteral("FieldMst"), row);
  }

  long link(long point, long field) {
    return TempDataFolder::insertRow(data.weather(), QStringLiteral("TargetField"),
                                     {{QStringLiteral("Location"), COleVariant(point)},
                                      {QStringLiteral("Field"), COleVariant(field)}});
  }

  long addCondition(const QString& column, long code) {
    return TempDataFolder::insertRow(data.weather(), QStringLiteral("Condition"),
                                     {{column, COleVariant(code)}});
  }

  long addRisk(long field) {
    return TempDataFolder::insertRow(data.weather(), QStringLiteral("Risk"),
                                     {{QStringLiteral("FieldCode"), COleVariant(field)}});
  }

  long count(const QString& sql, const QList<COleVariant>& params = {}) {
    CDaoRecordset rows(&data.weather());
    rows.Open(dbOpenSnapshot, sql, params);
    return rows.GetRecordCount();
  }

  // Fields tied to a point, by code.
  QList<long> linkedFields(long point) {
    CDaoRecordset rows(&data.weather());
    rows.Open(dbOpenSnapshot,
              QStringLiteral("SELECT Field FROM TargetField WHERE Location = ? ORDER BY Field"),
              {COleVariant(point)});
    QList<long> fields;
    for (; !rows.IsEOF(); rows.MoveNext()) fields << rows.GetFieldValue(0).toLong();
    return fields;
  }

  COleVariant pointColumn(long point, const QString& column) {
    CDaoRecordset rows(&data.weather());
    rows.Open(dbOpenSnapshot, QStringLiteral("SELECT %1 FROM Location WHERE Code = ?").arg(column),
              {COleVariant(point)});
    return rows.IsEOF() ? COleVariant() : rows.GetFieldValue(0);
  }

  static QByteArray bytesOf(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
  }
};

}  // namespace hv6test
