#pragma once
// A data folder with a small set of slips stored through the store, the
// figures of which the report tests work out by hand.
//
// Company: amounts rounded half up; rate code 0 = 10 %, code 1 = 8 % (軽減).
// Clients: 1 青果店A per line (T1), 2 スーパーB per slip (T2), 3 直売所C at
// the billing close (T3), all truncating the tax; client 3 was billed on
// 2024/04/10 with a closing tax of 500 yen.
// Goods: G001 トマト, G002 きゅうり, G003 米, G004 なす, G005 ピーマン.
//
// Slips (number, date, kind, client: lines -> totals):
//  1  2024/04/09 掛売 A: G001 10 x 300 外10% cost 200 (tax 300, cost 2000,
//     profit 1000); G003 5 x 200 外8% cost 150 (tax 80, cost 750, profit
//     250) -> 外 4000, tax 380. Shipped, planned shipping 2024/04/15.
//  2  2024/04/09 小売 B (person 7): G002 3 x 105 外10% cost 50 (315, cost
//     150, profit 165); 商品値引 15 (-15, profit -15); 預り送料 500 不課税
//     -> 外 300, untaxed 500, tax round_down(10% of 300) = 30.
//  3  2024/04/10 掛売 C: G004 2 x 300 外10% cost 200 (600, cost 400, profit
//     200); G002 10 x 110 内10% cost 60 (tax 100, amount 1000, cost 600,
//     profit 400) -> 外 600, 内 1000 + 100, tax 100 (no added tax at the
//     close); the slip total's tax adds the bill's 500: 600.
//  4  2024/04/10 掛売 A: 返品 G004 2 x 300 外10% cost 200 (-600, tax -60,
//     cost -400, profit -200) -> 外 -600, tax -60.
//  5  2024/04/10 予約 A: G003 4 x 200 外8% cost 150 (800, tax 64, cost 600,
//     profit 200).
//  6  2024/05/01 掛売 B: G001 1 x 300 外10% (outside April).

#include "outside/sl_calc/calc.h"
#include "outside/sl_jet/seljetaccess.h"
#include "tests/support/temp_data_folder.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace hv6test {

struct SlipLineSpec {
  std::uint8_t kind = sl::kLineSale;
  QString goods;
  double quantity = 0;
  double price = 0;
  std::uint8_t taxClass = sl::kTaxAdded;
  std::uint8_t rate = 0;
  double cost = 0;
  double amount = 0;  // typed amount of kinds 3-7
};

class ReportStore : public ::testing::Test {
 protected:
  void SetUp() override;

  // Stores a slip entered line by line as the slip window would.
  sl::S_SELSLIPHD storeSlip(const QString& number, std::int32_t date, std::uint8_t kind,
                            std::int32_t client, const QList<SlipLineSpec>& lines,
                            std::int32_t person = 0, std::uint8_t shipped = 0,
                            std::int32_t shipDate = 0);
  // The six slips described above.
  void storeTable();
  QStringList filesInWork() const;

  TempDataFolder data;
  sl::CSelJetAccess jet{&data.diary()};
  sl::CCalc calc{&jet};
  QTemporaryDir work;
  sl::S_COMPANY company;
};

}  // namespace hv6test
