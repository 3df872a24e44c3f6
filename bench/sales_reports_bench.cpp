// The sales daily report over 10,000 slips of 10 lines (100,000 slip lines)
// against a plain scan of the same rows through the store in the same run.
//
//   BM_StoreScan      every header in batches of 100 and its lines, nothing else
//   BM_DailyReport    the aggregation into the work file (rows, slip and day
//                     totals, summary)
//   BM_FirstScreen    the aggregation and the first 40 lines of the list, as
//                     the window shows them: the time to the first screen
#include "outside/sl_jet/seljetaccess.h"
#include "platform/dao/dao.h"
#include "sales/reports/dailyreport.h"
#include "store/schema.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

using namespace sl;

constexpr int kSlips = 10000;
constexpr int kLines = 10;

struct Filled {
  QTemporaryDir dir;
  QTemporaryDir work;
  CDaoDatabase db;
  Filled() {
    const QString path = dir.filePath(hv6::kDiaryFileName);
    hv6::createDiaryDatabase(path);
    db.Open(path);
    db.runSql(QStringLiteral("PRAGMA synchronous = OFF"));
    CSelJetAccess store(&db);
    S_SELENV env;
    store.ReadEnvironment(env);
    slSetText(env.workFolder, work.path());
    store.UpdateEnvironment(env);
    for (int c = 1; c <= 50; ++c) {
      S_CLIENTSEL client;
      client.code = c;
      slSetText(client.name, QStringLiteral("得意先%1").arg(c));
      store.AppendClient(client);
    }
    for (int n = 0; n < kSlips; ++n) {
      S_SELSLIPHD h;
      slSetText(h.slipNo, QString::number(n + 1).rightJustified(13, QLatin1Char(' ')));
      h.slipDate = 20250101 + (n / 100) % 12 * 100 + n % 28;
      h.slipKind = n % 3 == 0 ? kKindCash : kKindCredit;
      h.clientCode = n % 50 + 1;
      h.lineCount = kLines;
      h.taxOutAmount = 10000;
      h.taxTotal = 1000;
      h.grandTotal = 11000;
      QList<S_SELSLIP> lines;
      for (int i = 0; i < kLines; ++i) {
        S_SELSLIP l;
        l.lineNo = static_cast<std::uint8_t>(i + 1);
        l.kind = kLineSale;
        slSetText(l.goodsCode, QStringLiteral("G%1").arg(i));
        slSetText(l.goodsName, QStringLiteral("トマト%1").arg(i));
        l.boxes = 5;
        l.quantity = 5;
        slSetText(l.unit, QStringLiteral("箱"));
        l.unitPrice = 200;
        l.costPrice = 120;
        l.amount = 1000;
        l.tax = 100;
        lines.append(l);
      }
      DaoTransaction transaction(db);
      if (store.AppendSlipHead(h) != kSlOk ||
          store.WriteSlipLines(h.code, appTypeOf(h.slipKind), lines) != kSlOk)
        std::fprintf(stderr, "store save failed\n");
      transaction.commit();
    }
  }
};

Filled* gFilled = nullptr;

hv6::sales::DailyConditions wholeYear() {
  hv6::sales::DailyConditions c;
  c.dateFrom = 20250101;
  c.dateTo = 20251231;
  return c;
}

void BM_StoreScan(benchmark::State& state) {
  CSelJetAccess store(&gFilled->db);
  const SlipScope scope{0, 20250101, 20251231, 0, 0};
  for (auto _ : state) {
    store.ResetSlipHeadReading();
    long read = 0;
    QList<S_SELSLIPHD> headers;
    while (store.ReadSlipHeads(scope, nullptr, 100, headers) == kSlOk) {
      for (const S_SELSLIPHD& h : headers) {
        QList<S_SELSLIP> lines;
        if (store.ReadSlipLines(h.code, lines) != kSlOk) std::fprintf(stderr, "lines failed\n");
        read += lines.size();
      }
      headers.clear();
    }
    if (read != static_cast<long>(kSlips) * kLines) std::fprintf(stderr, "scan read %ld lines\n", read);
  }
  state.counters["lines/s"] = benchmark::Counter(static_cast<double>(kSlips) * kLines,
                                                 benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_StoreScan)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_DailyReport(benchmark::State& state) {
  CSelJetAccess store(&gFilled->db);
  for (auto _ : state) {
    hv6::sales::DailyReport report;
    if (report.aggregate(store, wholeYear()) != 0) std::fprintf(stderr, "report failed\n");
    if (report.rowCount() < static_cast<qint64>(kSlips) * (kLines + 1))
      std::fprintf(stderr, "report has %lld rows\n", report.rowCount());
  }
  state.counters["lines/s"] = benchmark::Counter(static_cast<double>(kSlips) * kLines,
                                                 benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_DailyReport)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_FirstScreen(benchmark::State& state) {
  CSelJetAccess store(&gFilled->db);
  for (auto _ : state) {
    hv6::sales::DailyReport report;
    if (report.aggregate(store, wholeYear()) != 0) std::fprintf(stderr, "report failed\n");
    for (qint64 i = 0; i < 40; ++i) benchmark::DoNotOptimize(report.line(i));
  }
}
BENCHMARK(BM_FirstScreen)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  Filled filled;
  gFilled = &filled;
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  gFilled = nullptr;
  return 0;
}
