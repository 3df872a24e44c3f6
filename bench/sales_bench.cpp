// Recomputing a 99-line slip after one keystroke (a quantity typed into one
// line: its amount, tax, discount line below and the slip's totals), against
// plain loops over the same 99 values in the same run.
#include "sales/model/slipmodel.h"

#include <benchmark/benchmark.h>

#include <array>

namespace {

using hv6::sales::SlipModel;

// Every line filled: sales at both rates and classes, returns, discounts,
// charges, other amounts and an adjustment.
void fill(SlipModel& m) {
  sl::S_COMPANY company;
  company.taxRates[0] = 1000;
  company.taxRates[1] = 800;
  sl::S_CLIENTSEL client;
  client.taxTiming = sl::kTimingPerSlip;
  client.taxRounding = sl::kRoundTruncate;
  m.setCompany(company);
  m.setClient(client);
  m.newSlip(sl::kKindCredit, 20240401);
  for (int row = 0; row < sl::kMaxSlipLines; ++row) {
    switch (row % 6) {
      case 0:
      case 3:
        m.setKind(row, sl::kLineSale);
        m.setTaxClass(row, row % 4 == 0 ? sl::kTaxIncluded : sl::kTaxAdded);
        m.setTaxRateCode(row, static_cast<std::uint8_t>(row % 2));
        m.setUnitPrice(row, 123.45 + row);
        m.setQuantity(row, 3 + row % 7);
        m.setCostPrice(row, 80);
        break;
      case 1:
        m.setKind(row, sl::kLineGoodsDiscount);
        m.setAmount(row, 50);
        break;
      case 2:
        m.setKind(row, sl::kLineReturn);
        m.setUnitPrice(row, 99.9);
        m.setQuantity(row, 2);
        break;
      case 4:
        m.setKind(row, row % 12 == 4 ? sl::kLineShipping : sl::kLineOther);
        m.setAmount(row, 777);
        break;
      default:
        m.setKind(row, row == 5 ? sl::kLineTaxAdjust : sl::kLineTotalDiscount);
        m.setAmount(row, 3);
        break;
    }
  }
}

void BM_SlipKeystroke(benchmark::State& state) {
  SlipModel m;
  fill(m);
  // Row 48 is a sale line with its discount below.
  double quantity = 3;
  for (auto _ : state) {
    quantity = quantity == 3 ? 4 : 3;
    m.setQuantity(48, quantity);
    benchmark::DoNotOptimize(m.header().grandTotal);
  }
}
BENCHMARK(BM_SlipKeystroke)->Unit(benchmark::kNanosecond);

void BM_SlipTotalsOnly(benchmark::State& state) {
  SlipModel m;
  fill(m);
  for (auto _ : state) {
    m.recomputeTotals();
    benchmark::DoNotOptimize(m.header().grandTotal);
  }
}
BENCHMARK(BM_SlipTotalsOnly)->Unit(benchmark::kNanosecond);

// Baseline: 99 doubles summed.
void BM_Baseline99Doubles(benchmark::State& state) {
  std::array<double, sl::kMaxSlipLines> values{};
  for (int i = 0; i < sl::kMaxSlipLines; ++i) values[i] = 100.0 + i;
  for (auto _ : state) {
    benchmark::DoNotOptimize(values.data());
    double sum = 0;
    for (const double v : values) sum += v;
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_Baseline99Doubles)->Unit(benchmark::kNanosecond);

// Baseline: the amounts of the 99 line records summed.
void BM_Baseline99LineAmounts(benchmark::State& state) {
  SlipModel m;
  fill(m);
  const QList<sl::S_SELSLIP> lines = m.lines();
  for (auto _ : state) {
    benchmark::DoNotOptimize(lines.constData());
    double sum = 0;
    for (const sl::S_SELSLIP& l : lines) sum += l.amount;
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_Baseline99LineAmounts)->Unit(benchmark::kNanosecond);

}  // namespace

BENCHMARK_MAIN();
