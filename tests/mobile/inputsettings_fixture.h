#pragma once
// A small farm for the mobile input settings: masters of every kind the
// phone forms use, units, a material category and a reserve caption.

#include "mobile/inputsettings.h"
#include "platform/codec.h"
#include "platform/dao/dao.h"
#include "tests/support/message_recorder.h"
#include "tests/support/temp_data_folder.h"
#include "tests/support/test_env.h"

#include <gtest/gtest.h>

// Texts in failure messages as text.
inline void PrintTo(const QString& text, std::ostream* out) { *out << text.toStdString(); }

namespace hv6test {

class InputSettingsTest : public ::testing::Test {
 protected:
  long master(const QString& table, long scode, const QString& name, RowValues more = {},
              int use = 0) {
    RowValues row{{QStringLiteral("Scode"), COleVariant(scode)},
                  {QStringLiteral("Name"), COleVariant(name)},
                  {QStringLiteral("Use"), COleVariant(use)}};
    row += more;
    return TempDataFolder::insertRow(data.diary(), table, row);
  }
  static std::pair<QString, COleVariant> value(const char* column, const COleVariant& v) {
    return {QString::fromLatin1(column), v};
  }
  static std::pair<QString, COleVariant> used() {
    return {QStringLiteral("IUse"), COleVariant::boolean(true)};
  }

  // The farm of the body test: crops (one unused, one inactive), a job, a
  // field with its area unit, a worker, no machine and no fertilizer, one
  // material in the category "農薬"; flags for work, field, worker,
  // working time, materials, quantity, dilution and the first reserve item.
  void buildSmallFarm() {
    data.diary().Execute(
        QStringLiteral("UPDATE Information SET Mte1Name = ?, ReserveItem1Name = ?"),
        {COleVariant(QStringLiteral("農薬")), COleVariant(QStringLiteral("天気"))});
    data.diary().Execute(QStringLiteral(
        "UPDATE IWDryOption SET Day = 1, Work = 1, Field = 1, Farmer = 1, Machine = 0, "
        "WorkFactTime = 1, Shizai = 1, Quantity = 1, Dilute = 1, ReserveItem1 = 1 WHERE Code = 1"));
    master(QStringLiteral("UnitMst"), 1, QStringLiteral("ａ"));
    master(QStringLiteral("UnitMst"), 2, QStringLiteral("ml"));
    tomato = master(QStringLiteral("CropMst"), 1, QStringLiteral("トマト"),
                    {used(), value("StartMonth", COleVariant(4)), value("EndMonth", COleVariant(10))});
    master(QStringLiteral("CropMst"), 2, QStringLiteral("きゅうり"));
    master(QStringLiteral("CropMst"), 3, QStringLiteral("なす"), {used()}, 1);
    master(QStringLiteral("JobMst"), 5, QStringLiteral("定植"),
           {used(), value("IName", COleVariant(QStringLiteral("ﾃｲｼｮｸ"))),
            value("CropCode", COleVariant(tomato)), value("StartMonth", COleVariant(5)),
            value("EndMonth", COleVariant(6))});
    master(QStringLiteral("FieldMst"), 7, QStringLiteral("第1ほ場"),
           {used(), value("CropCode", COleVariant(tomato)), value("SakuArea", COleVariant(12.5)),
            value("AreaUnit", COleVariant(1))});
    master(QStringLiteral("FarmerMst"), 9, QStringLiteral("山田太郎"), {used()});
    master(QStringLiteral("MaterialMst1"), 11, QStringLiteral("ダコニール"),
           {used(), value("Unit", COleVariant(2)),
            value("Dilute", COleVariant(QStringLiteral("1000倍"))),
            value("Vermin", COleVariant(QStringLiteral("a") + QString(20, QChar(u'害')))),
            value("ReserveItem1", COleVariant(QStringLiteral("x,y")))});
  }

  hv6::mobile::InputSettings load() { return hv6::mobile::loadInputSettings(data.diary()); }

  TestEnvironment env;
  MessageRecorder messages;
  TempDataFolder data;
  long tomato = 0;
};

}  // namespace hv6test
