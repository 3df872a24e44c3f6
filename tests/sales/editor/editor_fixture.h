#pragma once
// A slip editor over the sales store of a temporary data folder, with
// clients, goods and the settings the tests need, and boxes recorded.

#include "outside/sl_calc/calc.h"
#include "outside/sl_errmsg/errmsg.h"
#include "outside/sl_jet/seljetaccess.h"
#include "outside/sl_nmsg/nmlmsg.h"
#include "sales/slsale/slipeditor.h"
#include "tests/support/message_recorder.h"
#include "tests/support/temp_data_folder.h"
#include "tests/support/test_env.h"

#include <gtest/gtest.h>

#include <memory>

namespace editortest {

using namespace hv6::sales;
using namespace sl;

constexpr std::int32_t kMarket = 31;   // per-line tax
constexpr std::int32_t kShop = 32;     // per-line tax
constexpr std::int32_t kClosing = 33;  // tax at the billing close

class EditorTest : public ::testing::Test {
 protected:
  hv6test::TestEnvironment environment;
  hv6test::MessageRecorder recorder;
  hv6test::TempDataFolder data;
  CSelJetAccess store{&data.diary()};
  CCalc calc{&store};
  CErrMsg errors;
  CNmlMsg notes;
  long tomato = 0;
  long cucumber = 0;

  void SetUp() override {
    addClient(kMarket, QStringLiteral("盛岡市場"), kTimingPerLine);
    addClient(kShop, QStringLiteral("直売所"), kTimingPerLine);
    addClient(kClosing, QStringLiteral("花巻青果"), kTimingAtClose);
    addGoods(QStringLiteral("T1"), QStringLiteral("トマト"), 300);
    addGoods(QStringLiteral("C1"), QStringLiteral("きゅうり"), 200);
    tomato = data.addMaster(QStringLiteral("CropMst"), 1, QStringLiteral("トマト"));
    cucumber = data.addMaster(QStringLiteral("CropMst"), 2, QStringLiteral("きゅうり"));
    S_SELENV env;
    ASSERT_EQ(store.ReadEnvironment(env), kSlOk);
    env.lastSlipDate = 20250603;
    ASSERT_EQ(store.UpdateEnvironment(env), kSlOk);
  }

  void addClient(std::int32_t code, const QString& name, std::uint8_t timing) {
    S_CLIENTSEL c;
    c.code = code;
    slSetText(c.name, name);
    c.taxTiming = timing;
    ASSERT_EQ(store.AppendClient(c), kSlOk);
  }

  void addGoods(const QString& code, const QString& name, double price) {
    S_COMMODITY g;
    slSetText(g.code, code);
    slSetText(g.name, name);
    slSetText(g.unit, QStringLiteral("箱"));
    g.standardPrice = price;
    g.price1 = price + 10;
    g.price2 = price + 20;
    g.price3 = price + 30;
    g.costPrice = price / 2;
    ASSERT_EQ(store.AppendGoods(g), kSlOk);
  }

  void setEnvironment(const std::function<void(S_SELENV&)>& change) {
    S_SELENV env;
    ASSERT_EQ(store.ReadEnvironment(env), kSlOk);
    change(env);
    ASSERT_EQ(store.UpdateEnvironment(env), kSlOk);
  }

  // An editor started as a window starts it.
  std::unique_ptr<SlipEditor> editor(SlipWindowKind kind = SlipWindowKind::Sales) {
    auto e = std::make_unique<SlipEditor>(kind, &store, &calc, &errors, &notes);
    S_SELENV env;
    S_COMPANY company;
    EXPECT_EQ(store.ReadEnvironment(env), kSlOk);
    EXPECT_EQ(store.ReadCompany(company), kSlOk);
    e->start(env, company);
    return e;
  }

  // A 売上 line of goods and a quantity.
  static void typeLine(SlipEditor& e, int row, const QString& goodsCode, double quantity,
                       std::int32_t crop = 0, std::int32_t field = 0) {
    SlipModel& m = e.model();
    ASSERT_EQ(m.setKind(row, kLineSale), 0);
    S_COMMODITY goods;
    slSetText(goods.code, goodsCode);
    slSetText(goods.name, goodsCode == QStringLiteral("T1") ? QStringLiteral("トマト")
                                                            : QStringLiteral("きゅうり"));
    slSetText(goods.unit, QStringLiteral("箱"));
    goods.standardPrice = goodsCode == QStringLiteral("T1") ? 300 : 200;
    m.setGoods(row, goods);
    m.setQuantity(row, quantity);
    m.editLine(row).cropCode = crop;
    m.editLine(row).fieldCode = field;
  }

  // A stored credit slip of a client with lines of tomatoes; its number.
  QString storeSlip(const QString& number, std::int32_t client, int lines = 1,
                    std::int32_t date = 20250603) {
    auto e = editor();
    EXPECT_TRUE(e->enterSlipNumber(number));
    e->setSlipDate(date);
    EXPECT_TRUE(e->setClient(client));
    for (int row = 0; row < lines; ++row) typeLine(*e, row, QStringLiteral("T1"), row + 1);
    EXPECT_TRUE(e->save()) << recorder.numbers().size();
    return number;
  }

  S_SELSLIPHD stored(const QString& number, int appType = 0) {
    S_SELSLIPHD h;
    EXPECT_EQ(store.ReadSlipHead(appType, SlipEditor::rightAligned(number), h), kSlOk);
    return h;
  }

  QList<S_SELSLIP> storedLines(const QString& number, int appType = 0) {
    QList<S_SELSLIP> lines;
    EXPECT_EQ(store.ReadSlipLines(stored(number, appType).code, lines), kSlOk);
    return lines;
  }

  bool exists(const QString& number, int appType = 0) {
    bool found = false;
    EXPECT_EQ(store.ExistSlipHead(appType, SlipEditor::rightAligned(number), found), kSlOk);
    return found;
  }

  QString number(const SlipEditor& e) const { return slText(e.header().slipNo).trimmed(); }
};

}  // namespace editortest
