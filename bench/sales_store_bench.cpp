// Saving and reading back 10,000 slips of 10 lines through the sales store,
// against plain prepared INSERTs and SELECTs of the same rows and columns,
// in the same run. Every slip is saved in a transaction of its own on both
// sides. Both connections run with synchronous = OFF, so the figures show
// the store's own cost rather than the disk's flushes.
//
//   BM_PlainSave      prepared INSERT of the header and its 10 lines
//   BM_StoreSave      AppendSlipHead + WriteSlipLines
//   BM_CalcSave       CCalc::UpdateClientSelslip mode 0 (also the client's figures)
//   BM_PlainRead      prepared SELECT of every header in date order, then its lines
//   BM_StoreRead      ReadSlipHeads in batches of 100, then ReadSlipLines
#include "outside/sl_calc/calc.h"
#include "outside/sl_jet/seljetaccess.h"
#include "platform/dao/dao.h"
#include "store/schema.h"

#include <QCoreApplication>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {

using namespace sl;

constexpr int kSlips = 10000;
constexpr int kLines = 10;
constexpr std::int32_t kClient = 31;

S_SELSLIPHD headerOf(int n) {
  S_SELSLIPHD h;
  slSetText(h.slipNo, QString::number(n + 1).rightJustified(13, QLatin1Char(' ')));
  h.slipDate = 20250101 + (n / 100) % 12 * 100 + n % 28;
  h.slipKind = n % 3 == 0 ? kKindCash : kKindCredit;
  h.clientCode = kClient;
  h.lineCount = kLines;
  h.taxOutAmount = 10000;
  h.taxTotal = 1000;
  h.grandTotal = 11000;
  h.quantityTotal = 50;
  h.unitAverage = 200;
  h.rates[0] = {0, 1, 10000, 0, 1000};
  h.shipDate = h.slipDate;
  h.claimDate = h.slipDate;
  slSetText(h.memo, QStringLiteral("ベンチマーク"));
  return h;
}

QList<S_SELSLIP> linesOf(const S_SELSLIPHD& h) {
  QList<S_SELSLIP> lines;
  for (int i = 0; i < kLines; ++i) {
    S_SELSLIP l;
    std::copy(std::begin(h.slipNo), std::end(h.slipNo), std::begin(l.slipNo));
    l.slipDate = h.slipDate;
    l.slipKind = h.slipKind;
    l.clientCode = h.clientCode;
    l.lineNo = static_cast<std::uint8_t>(i + 1);
    l.kind = kLineSale;
    slSetText(l.goodsCode, QStringLiteral("G%1").arg(i));
    slSetText(l.goodsName, QStringLiteral("トマト%1").arg(i));
    l.irisu = 1;
    l.boxes = 5;
    l.quantity = 5;
    slSetText(l.unit, QStringLiteral("箱"));
    l.unitPrice = 200;
    l.costPrice = 120;
    l.amount = 1000;
    l.tax = 100;
    l.cropCode = i + 1;
    lines.append(l);
  }
  return lines;
}

// A fresh diary database with the client, opened.
struct Folder {
  QTemporaryDir dir;
  CDaoDatabase db;
  Folder() {
    const QString path = dir.filePath(hv6::kDiaryFileName);
    hv6::createDiaryDatabase(path);
    db.Open(path);
    db.runSql(QStringLiteral("PRAGMA synchronous = OFF"));
    CSelJetAccess store(&db);
    S_CLIENTSEL client;
    client.code = kClient;
    slSetText(client.name, QStringLiteral("市場"));
    if (store.AppendClient(client) != kSlOk) std::fprintf(stderr, "client not appended\n");
  }
};

// --- plain statements -----------------------------------------------------------

const char* kHeaderColumns =
    "SlipNo, SlipDate, SlipKind, TaxRateCode, LineCount, CustomerCode, ShipToCode, ChargeCode, "
    "ShipDate, ClaimDate, TagColor, AdPlan, TaxOutAmount, TaxInAmount, NoTaxAmount, TaxTotal, "
    "InTax, AdjustTax, TotalAmount, Suu_Kei, Unit_Ave, Billed, Shipped, ClientType, Memo, "
    "Rate1Code, Rate1Used, Rate1TaxOut, Rate1TaxIn, Rate1Tax, Rate2Code, Rate2Used, Rate2TaxOut, "
    "Rate2TaxIn, Rate2Tax, Rate3Code, Rate3Used, Rate3TaxOut, Rate3TaxIn, Rate3Tax, Rate4Code, "
    "Rate4Used, Rate4TaxOut, Rate4TaxIn, Rate4Tax, AppType, Sasihiki";
constexpr int kHeaderColumnCount = 47;
const char* kLineColumns =
    "SlipNo, SlipDate, SlipKind, CustomerCode, LineNo, LineKind, GoodsCode, GoodsName, Irisu, "
    "Hakosu, Suu, UnitName, Tanka, GenTanka, Proceed, Tax, TaxRateCode, TaxClass, SimpleTaxClass, "
    "CropCode, FieldCode, GradeCode, StandardCode, BuyerCode, SlipCode, AppType";
constexpr int kLineColumnCount = 26;

QString insertSql(const char* table, const char* columns, int count) {
  QStringList marks;
  for (int i = 0; i < count; ++i) marks.append(QStringLiteral("?"));
  return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
      .arg(QLatin1String(table), QLatin1String(columns), marks.join(QStringLiteral(", ")));
}

void bindHeader(QSqlQuery& q, const S_SELSLIPHD& h) {
  int i = 0;
  q.bindValue(i++, slText(h.slipNo));
  for (std::int32_t v : {h.slipDate, std::int32_t{h.slipKind}, std::int32_t{h.taxRateCode}, h.lineCount,
                         h.clientCode, h.shipToCode, h.personCode, h.shipDate, h.claimDate,
                         h.tagColor, h.adPlan})
    q.bindValue(i++, v);
  for (double v : {h.taxOutAmount, h.taxInAmount, h.noTaxAmount, h.taxTotal, h.inTax, h.adjustTax,
                   h.grandTotal, h.quantityTotal, h.unitAverage})
    q.bindValue(i++, v);
  q.bindValue(i++, h.billed);
  q.bindValue(i++, h.shipped);
  q.bindValue(i++, h.clientType);
  q.bindValue(i++, slText(h.memo));
  for (const S_RATETOTAL& r : h.rates) {
    q.bindValue(i++, r.rateCode);
    q.bindValue(i++, r.used);
    q.bindValue(i++, r.taxOutAmount);
    q.bindValue(i++, r.taxInAmount);
    q.bindValue(i++, r.tax);
  }
  q.bindValue(i++, appTypeOf(h.slipKind));
  q.bindValue(i++, static_cast<qlonglong>(std::llround(h.grandTotal)));
}

void bindLine(QSqlQuery& q, const S_SELSLIP& l, qlonglong slipCode, int appType) {
  int i = 0;
  q.bindValue(i++, slText(l.slipNo));
  for (std::int32_t v : {l.slipDate, std::int32_t{l.slipKind}, l.clientCode, std::int32_t{l.lineNo},
                         std::int32_t{l.kind}})
    q.bindValue(i++, v);
  q.bindValue(i++, slText(l.goodsCode));
  q.bindValue(i++, slText(l.goodsName));
  for (double v : {l.irisu, l.boxes, l.quantity}) q.bindValue(i++, v);
  q.bindValue(i++, slText(l.unit));
  for (double v : {l.unitPrice, l.costPrice, l.amount, l.tax}) q.bindValue(i++, v);
  for (std::int32_t v : {std::int32_t{l.taxRateCode}, std::int32_t{l.taxClass},
                         std::int32_t{l.simpleTaxClass}, l.cropCode, l.fieldCode, l.gradeCode,
                         l.standardCode, l.buyerCode})
    q.bindValue(i++, v);
  q.bindValue(i++, slipCode);
  q.bindValue(i++, appType);
}

void plainSave(CDaoDatabase& db) {
  QSqlQuery header(db.connection());
  header.prepare(insertSql("Slip", kHeaderColumns, kHeaderColumnCount));
  QSqlQuery line(db.connection());
  line.prepare(insertSql("SlipDetails", kLineColumns, kLineColumnCount));
  for (int n = 0; n < kSlips; ++n) {
    const S_SELSLIPHD h = headerOf(n);
    const QList<S_SELSLIP> lines = linesOf(h);
    DaoTransaction transaction(db);
    bindHeader(header, h);
    if (!header.exec()) std::fprintf(stderr, "header insert failed\n");
    const qlonglong code = header.lastInsertId().toLongLong();
    for (const S_SELSLIP& l : lines) {
      bindLine(line, l, code, appTypeOf(h.slipKind));
      if (!line.exec()) std::fprintf(stderr, "line insert failed\n");
    }
    transaction.commit();
  }
}

void storeSave(CDaoDatabase& db) {
  CSelJetAccess store(&db);
  for (int n = 0; n < kSlips; ++n) {
    S_SELSLIPHD h = headerOf(n);
    const QList<S_SELSLIP> lines = linesOf(h);
    DaoTransaction transaction(db);
    if (store.AppendSlipHead(h) != kSlOk ||
        store.WriteSlipLines(h.code, appTypeOf(h.slipKind), lines) != kSlOk)
      std::fprintf(stderr, "store save failed\n");
    transaction.commit();
  }
}

void calcSave(CDaoDatabase& db) {
  CSelJetAccess store(&db);
  CCalc calc(&store);
  for (int n = 0; n < kSlips; ++n) {
    S_SELSLIPHD h = headerOf(n);
    const QList<S_SELSLIP> lines = linesOf(h);
    if (!calc.UpdateClientSelslip(nullptr, h, h, lines, kStoreAppended))
      std::fprintf(stderr, "calc save failed: %d\n", calc.lastStatus());
  }
}

template <class Save>
void runSave(benchmark::State& state, Save save) {
  for (auto _ : state) {
    state.PauseTiming();
    auto folder = std::make_unique<Folder>();
    state.ResumeTiming();
    save(folder->db);
    state.PauseTiming();
    folder.reset();
    state.ResumeTiming();
  }
  state.counters["slips/s"] =
      benchmark::Counter(static_cast<double>(kSlips), benchmark::Counter::kIsIterationInvariantRate);
}

void BM_PlainSave(benchmark::State& state) { runSave(state, plainSave); }
void BM_StoreSave(benchmark::State& state) { runSave(state, storeSave); }
void BM_CalcSave(benchmark::State& state) { runSave(state, calcSave); }
BENCHMARK(BM_PlainSave)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_StoreSave)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_CalcSave)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// --- reading back ---------------------------------------------------------------

Folder* gFilled = nullptr;

// Every header in (date, number) order and its lines, into the records.
void BM_PlainRead(benchmark::State& state) {
  CDaoDatabase& db = gFilled->db;
  for (auto _ : state) {
    QSqlQuery headers(db.connection());
    headers.setForwardOnly(true);
    headers.exec(QStringLiteral("SELECT Code, %1 FROM Slip ORDER BY SlipDate, SlipNo, Code")
                     .arg(QLatin1String(kHeaderColumns)));
    QSqlQuery lines(db.connection());
    lines.setForwardOnly(true);
    lines.prepare(QStringLiteral("SELECT %1 FROM SlipDetails WHERE SlipCode = ? ORDER BY LineNo, Code")
                      .arg(QLatin1String(kLineColumns)));
    long read = 0;
    while (headers.next()) {
      S_SELSLIPHD h;
      int i = 0;
      h.code = headers.value(i++).toInt();
      slSetText(h.slipNo, headers.value(i++).toString());
      for (std::int32_t* v : {&h.slipDate}) *v = headers.value(i++).toInt();
      h.slipKind = static_cast<std::uint8_t>(headers.value(i++).toInt());
      h.taxRateCode = static_cast<std::uint8_t>(headers.value(i++).toInt());
      for (std::int32_t* v : {&h.lineCount, &h.clientCode, &h.shipToCode, &h.personCode, &h.shipDate,
                              &h.claimDate, &h.tagColor, &h.adPlan})
        *v = headers.value(i++).toInt();
      for (double* v : {&h.taxOutAmount, &h.taxInAmount, &h.noTaxAmount, &h.taxTotal, &h.inTax,
                        &h.adjustTax, &h.grandTotal, &h.quantityTotal, &h.unitAverage})
        *v = headers.value(i++).toDouble();
      h.billed = static_cast<std::uint8_t>(headers.value(i++).toInt());
      h.shipped = static_cast<std::uint8_t>(headers.value(i++).toInt());
      h.clientType = headers.value(i++).toInt();
      slSetText(h.memo, headers.value(i++).toString());
      for (S_RATETOTAL& r : h.rates) {
        r.rateCode = static_cast<std::uint8_t>(headers.value(i++).toInt());
        r.used = static_cast<std::uint8_t>(headers.value(i++).toInt());
        r.taxOutAmount = headers.value(i++).toDouble();
        r.taxInAmount = headers.value(i++).toDouble();
        r.tax = headers.value(i++).toDouble();
      }
      lines.bindValue(0, h.code);
      lines.exec();
      QList<S_SELSLIP> list;
      while (lines.next()) {
        S_SELSLIP l;
        int c = 0;
        slSetText(l.slipNo, lines.value(c++).toString());
        l.slipDate = lines.value(c++).toInt();
        l.slipKind = static_cast<std::uint8_t>(lines.value(c++).toInt());
        l.clientCode = lines.value(c++).toInt();
        l.lineNo = static_cast<std::uint8_t>(lines.value(c++).toInt());
        l.kind = static_cast<std::uint8_t>(lines.value(c++).toInt());
        slSetText(l.goodsCode, lines.value(c++).toString());
        slSetText(l.goodsName, lines.value(c++).toString());
        for (double* v : {&l.irisu, &l.boxes, &l.quantity}) *v = lines.value(c++).toDouble();
        slSetText(l.unit, lines.value(c++).toString());
        for (double* v : {&l.unitPrice, &l.costPrice, &l.amount, &l.tax}) *v = lines.value(c++).toDouble();
        l.taxRateCode = static_cast<std::uint8_t>(lines.value(c++).toInt());
        l.taxClass = static_cast<std::uint8_t>(lines.value(c++).toInt());
        l.simpleTaxClass = static_cast<std::uint8_t>(lines.value(c++).toInt());
        for (std::int32_t* v : {&l.cropCode, &l.fieldCode, &l.gradeCode, &l.standardCode, &l.buyerCode})
          *v = lines.value(c++).toInt();
        list.append(l);
      }
      read += list.size();
      benchmark::DoNotOptimize(h);
    }
    if (read != static_cast<long>(kSlips) * kLines) std::fprintf(stderr, "plain read %ld lines\n", read);
  }
  state.counters["slips/s"] =
      benchmark::Counter(static_cast<double>(kSlips), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_StoreRead(benchmark::State& state) {
  CSelJetAccess store(&gFilled->db);
  for (auto _ : state) {
    store.ResetSlipHeadReading();
    long read = 0;
    QList<S_SELSLIPHD> headers;
    while (store.ReadSlipHeads({}, nullptr, 100, headers) == kSlOk) {
      for (const S_SELSLIPHD& h : headers) {
        QList<S_SELSLIP> lines;
        if (store.ReadSlipLines(h.code, lines) != kSlOk) std::fprintf(stderr, "lines failed\n");
        read += lines.size();
      }
      headers.clear();
    }
    if (read != static_cast<long>(kSlips) * kLines) std::fprintf(stderr, "store read %ld lines\n", read);
  }
  state.counters["slips/s"] =
      benchmark::Counter(static_cast<double>(kSlips), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_StoreRead)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  Folder filled;
  storeSave(filled.db);
  gFilled = &filled;
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  gFilled = nullptr;
  return 0;
}
