#pragma once
// A temporary data folder with the sales store over its diary database,
// and records filled with values that differ field by field.

#include "outside/sl_calc/calc.h"
#include "outside/sl_jet/seljetaccess.h"
#include "platform/dao/dao.h"
#include "tests/support/message_recorder.h"
#include "tests/support/temp_data_folder.h"
#include "tests/support/test_env.h"

#include <gtest/gtest.h>

namespace sltest {

using namespace sl;

class StoreTest : public ::testing::Test {
 protected:
  hv6test::TestEnvironment environment;
  hv6test::MessageRecorder messages;
  hv6test::TempDataFolder data;
  CSelJetAccess store{&data.diary()};
  CCalc calc{&store};

  // A client with the given code and sales settings.
  S_CLIENTSEL client(std::int32_t code, const QString& name) {
    S_CLIENTSEL record;
    record.code = code;
    slSetText(record.name, name);
    return record;
  }

  // A header of a new slip with the totals the calendar reads.
  static S_SELSLIPHD header(const QString& number, std::int32_t date, std::uint8_t kind,
                            std::int32_t clientCode, double grandTotal) {
    S_SELSLIPHD h;
    slSetText(h.slipNo, number.rightJustified(13, QLatin1Char(' ')));
    h.slipDate = date;
    h.slipKind = kind;
    h.clientCode = clientCode;
    h.grandTotal = grandTotal;
    h.taxOutAmount = grandTotal;
    h.newSlip = 1;
    return h;
  }

  // A kind-1 line: quantity × unit price.
  static S_SELSLIP line(const QString& goods, double quantity, double unitPrice,
                        std::int32_t crop = 0) {
    S_SELSLIP l;
    l.kind = kLineSale;
    slSetText(l.goodsCode, goods);
    slSetText(l.goodsName, goods + QStringLiteral("名"));
    l.quantity = quantity;
    l.boxes = quantity;
    l.unitPrice = unitPrice;
    l.amount = quantity * unitPrice;
    l.cropCode = crop;
    return l;
  }

  // The number of rows of a table with a condition.
  long count(const QString& tableAndCondition) {
    CDaoRecordset rs(&data.diary());
    rs.Open(dbOpenSnapshot, QStringLiteral("SELECT COUNT(*) FROM ") + tableAndCondition);
    return rs.GetFieldValue(0).toLong();
  }
};

}  // namespace sltest
