#include "sales/reports/dailyreport.h"

#include "sales/model/slipcalc.h"
#include "sales/reports/rowbytes.h"

#include <QDate>
#include <QDir>
#include <QSet>

#include <new>

namespace hv6::sales {

using namespace rowbytes;

namespace {

constexpr int kHeaderBatch = 100;
constexpr qint64 kCacheRows = 256;

const QString kSlipTotalCaption = QStringLiteral("     【伝票計】");
const QString kDayTotalCaption = QStringLiteral("     【日  計】");
const QString kGrandTotalCaption = QStringLiteral("     【合  計】");

QString slipKindName(int kind) {
  switch (kind) {
    case sl::kKindCash: return QStringLiteral("小売");
    case sl::kKindCredit: return QStringLiteral("掛売");
    case sl::kKindReservation: return QStringLiteral("予約");
    default: return {};
  }
}

QString lineKindName(int kind) {
  static const char16_t* const names[] = {u"",         u"売上",   u"返品",     u"商品値引",
                                          u"合計値引", u"立替金", u"預り送料", u"その他",
                                          u"メモ",     u"調整消費税"};
  return kind >= 0 && kind <= 9 ? QString::fromUtf16(names[kind]) : QString();
}

QString taxClassName(int taxClass) {
  static const char16_t* const names[] = {u"外税", u"内税", u"非課税", u"免税", u"不課税"};
  return taxClass >= 0 && taxClass <= 4 ? QString::fromUtf16(names[taxClass]) : QString();
}

int groupOf(int taxClass) {
  if (taxClass == sl::kTaxAdded) return kGroupAdded;
  if (taxClass == sl::kTaxIncluded) return kGroupIncluded;
  return kGroupOutside;
}

// The running figures of one day or one slip.
struct Figures {
  double amount = 0;  // the three amounts, the tax-included one without its tax
  double taxOut = 0, taxInWithTax = 0, noTax = 0, tax = 0, profit = 0, cost = 0;
  void add(const Figures& other) {
    amount += other.amount;
    taxOut += other.taxOut;
    taxInWithTax += other.taxInWithTax;
    noTax += other.noTax;
    tax += other.tax;
    profit += other.profit;
    cost += other.cost;
  }
};

}  // namespace

bool acceptsSlipKind(int listChoice, int slipKind) {
  switch (listChoice) {
    case kListSales: return slipKind == sl::kKindCash || slipKind == sl::kKindCredit;
    case kListCredit: return slipKind == sl::kKindCredit;
    case kListCash: return slipKind == sl::kKindCash;
    case kListReservation: return slipKind == sl::kKindReservation;
    default: return false;
  }
}

QStringList slipListEntries(int mode) {
  if (mode > 0) return {QStringLiteral(" 予約伝票 ")};
  return {QStringLiteral(" 小売・掛売 "), QStringLiteral(" 掛売伝票 "), QStringLiteral(" 小売伝票 ")};
}

int listChoiceOf(int mode, int entryIndex) {
  if (mode > 0) return kListReservation;
  return entryIndex >= 0 && entryIndex <= 2 ? entryIndex : kListSales;
}

int entryIndexOf(int mode, int listChoice) {
  if (mode > 0) return 0;
  return listChoice >= kListSales && listChoice <= kListCash ? listChoice : 0;
}

bool isBillingCloseDay(std::int32_t yyyymmdd) {
  const QDate date(yyyymmdd / 10000, yyyymmdd / 100 % 100, yyyymmdd % 100);
  if (!date.isValid()) return false;
  return date.day() % 5 == 0 || date.day() == date.daysInMonth();
}

QByteArray DailyRow::encode() const {
  QByteArray row(kDailyRowSize, '\0');
  put<std::int32_t>(row, 0, slipDate);
  putText(row, 4, 14, slipNo);
  put<std::uint8_t>(row, 18, slipKind);
  put<std::uint8_t>(row, 19, lineNo);
  put<std::uint8_t>(row, 20, lineKind);
  put<std::uint8_t>(row, 21, taxClass);
  put<std::uint8_t>(row, 22, taxRateCode);
  put<std::uint8_t>(row, 23, simpleTaxClass);
  put<std::int32_t>(row, 24, clientCode);
  putText(row, 28, 14, goodsCode);
  putText(row, 42, 37, goodsName);
  putText(row, 79, 9, unit);
  const double numbers[] = {irisu,  boxes, quantity, unitPrice, costPrice,    amount,
                            tax,    profit, cost,    taxOut,    taxInWithTax, noTax};
  for (int i = 0; i < 12; ++i) put<double>(row, 88 + 8 * i, numbers[i]);
  put<std::uint8_t>(row, 184, rowType);
  put<std::uint8_t>(row, 185, taxTiming);
  return row;
}

DailyRow DailyRow::decode(const QByteArray& bytes) {
  DailyRow r;
  if (bytes.size() < kDailyRowSize) return r;
  r.slipDate = get<std::int32_t>(bytes, 0);
  r.slipNo = getText(bytes, 4, 14);
  r.slipKind = get<std::uint8_t>(bytes, 18);
  r.lineNo = get<std::uint8_t>(bytes, 19);
  r.lineKind = get<std::uint8_t>(bytes, 20);
  r.taxClass = get<std::uint8_t>(bytes, 21);
  r.taxRateCode = get<std::uint8_t>(bytes, 22);
  r.simpleTaxClass = get<std::uint8_t>(bytes, 23);
  r.clientCode = get<std::int32_t>(bytes, 24);
  r.goodsCode = getText(bytes, 28, 14);
  r.goodsName = getText(bytes, 42, 37);
  r.unit = getText(bytes, 79, 9);
  double* numbers[] = {&r.irisu, &r.boxes,  &r.quantity, &r.unitPrice,    &r.costPrice, &r.amount,
                       &r.tax,   &r.profit, &r.cost,     &r.taxOut, &r.taxInWithTax, &r.noTax};
  for (int i = 0; i < 12; ++i) *numbers[i] = get<double>(bytes, 88 + 8 * i);
  r.rowType = get<std::uint8_t>(bytes, 184);
  r.taxTiming = get<std::uint8_t>(bytes, 185);
  return r;
}

DailyReport::DailyReport() = default;
DailyReport::~DailyReport() = default;

void DailyReport::clear() {
  file_.reset();
  summary_figures_ = {};
  clientNames_.clear();
  cacheFirst_ = -1;
  cache_.clear();
}

int DailyReport::aggregate(sl::CSelJetAccess& jet, const DailyConditions& conditions,
                           const ProgressFn& progress, const QString& workFolder) {
  status_ = 0;
  try {
    // 1. The work file: its name from the environment, unique to this run.
    sl::S_SELENV env;
    if ((status_ = jet.ReadEnvironment(env)) != sl::kSlOk) return kMsgEnvironment;
    sl::S_COMPANY company;
    if ((status_ = jet.ReadCompany(company)) != sl::kSlOk) return kMsgEnvironment;
    QString folder = workFolder.isEmpty() ? sl::slText(env.workFolder) : workFolder;
    if (folder.isEmpty()) folder = QDir::tempPath();
    const QString name = QString::asprintf(conditions.mode > 0 ? "t_e40%02d.001" : "t_e20%02d.001",
                                           env.workstation % 100);
    auto file = std::make_unique<WorkFile>(kDailyRowSize);
    if (!file->create(folder, name)) return kMsgWorkCreate;

    const sl::SlipScope scope{conditions.mode > 0 ? 1 : 0, conditions.dateFrom, conditions.dateTo,
                              0, 0};
    const int choice = conditions.mode > 0 ? kListReservation : conditions.listChoice;
    const std::int32_t person = conditions.personCode;
    const sl::HeaderFilter filter = [choice, person](const sl::S_SELSLIPHD& h) {
      return acceptsSlipKind(choice, h.slipKind) && (person == 0 || h.personCode == person);
    };
    int total = 0;
    if ((status_ = jet.CountSlipHeads(scope, filter, total)) != sl::kSlOk) return kMsgHeaders;

    // 2.-6. Headers in batches, each slip's lines, the totals rows.
    DailySummary figures;
    QHash<std::int32_t, QString> names;
    const int amountRule = company.amountRounding;
    Figures day;
    std::int32_t dayDate = 0;
    bool anyDay = false;
    std::int32_t lastClient = -1;
    sl::S_CLIENTSEL client;
    QHash<std::int32_t, sl::S_CLIENTSEL> clients;
    QSet<std::int32_t> chargedToday;  // closing-time clients whose bill tax went in today
    int read = 0;

    auto writeDayTotal = [&]() -> bool {
      DailyRow r;
      r.slipDate = dayDate;
      r.rowType = kRowDayTotal;
      r.amount = day.amount;
      r.tax = day.tax;
      r.profit = day.profit;
      r.cost = day.cost;
      r.taxOut = day.taxOut;
      r.taxInWithTax = day.taxInWithTax;
      r.noTax = day.noTax;
      return file->append(r.encode());
    };

    jet.ResetSlipHeadReading();
    QList<sl::S_SELSLIPHD> batch;
    QList<sl::S_SELSLIP> lines;
    for (;;) {
      batch.clear();
      const int st = jet.ReadSlipHeads(scope, filter, kHeaderBatch, batch);
      if (st == sl::kSlEnd && batch.isEmpty()) break;
      if (st != sl::kSlOk && st != sl::kSlEnd) {
        status_ = st;
        return kMsgHeaders;
      }
      for (const sl::S_SELSLIPHD& h : batch) {
        if (anyDay && h.slipDate != dayDate) {
          if (!writeDayTotal()) return kMsgWorkWrite;
          day = {};
          chargedToday.clear();
        }
        dayDate = h.slipDate;
        anyDay = true;
        if (h.clientCode != lastClient) {
          // Each client is read once per aggregation.
          auto known = clients.constFind(h.clientCode);
          if (known == clients.constEnd()) {
            client = sl::S_CLIENTSEL{};
            if (jet.ReadClient(h.clientCode, client) != sl::kSlOk) client.code = h.clientCode;
            clients.insert(h.clientCode, client);
            names.insert(h.clientCode, sl::slText(client.name));
          } else {
            client = *known;
          }
          lastClient = h.clientCode;
        }
        if ((status_ = jet.ReadSlipLines(h.code, lines)) != sl::kSlOk) return kMsgLines;

        Figures slip;
        for (const sl::S_SELSLIP& l : lines) {
          DailyRow r;
          r.slipDate = h.slipDate;
          r.slipNo = sl::slText(h.slipNo);
          r.slipKind = h.slipKind;
          r.lineNo = l.lineNo;
          r.lineKind = l.kind;
          r.taxClass = l.taxClass;
          r.taxRateCode = l.taxRateCode;
          r.simpleTaxClass = l.simpleTaxClass;
          r.clientCode = h.clientCode;
          r.goodsCode = sl::slText(l.goodsCode);
          r.goodsName = sl::slText(l.goodsName);
          r.unit = sl::slText(l.unit);
          r.irisu = l.irisu;
          r.boxes = l.boxes;
          r.quantity = l.quantity;
          const bool discount = l.kind == sl::kLineGoodsDiscount;
          r.unitPrice = discount ? 0 : l.unitPrice;
          r.costPrice = discount ? 0 : l.costPrice;
          r.amount = l.amount;
          r.tax = l.tax;
          if (l.kind == sl::kLineSale || l.kind == sl::kLineReturn)
            r.cost = roundYen(l.costPrice * (isZero(l.boxes) ? l.quantity : l.boxes), amountRule);
          r.profit = lineGrossProfit(l, amountRule);
          r.rowType = kRowLine;
          r.taxTiming = client.taxTiming;
          if (l.kind != sl::kLineMemo) {
            const int g = groupOf(l.taxClass);
            if (g == kGroupAdded) r.taxOut = l.amount;
            else if (g == kGroupIncluded) r.taxInWithTax = l.amount + l.tax;
            else r.noTax = l.amount;
            TaxGroupFigures& group = figures.groups[g];
            group.sales += l.amount;
            group.cost += r.cost;
            group.profit += r.profit;
          }
          slip.profit += r.profit;
          slip.cost += r.cost;
          if (!file->append(r.encode())) return kMsgWorkWrite;
        }

        // The slip total: its three amounts and its tax. A closing-time
        // client's bill tax joins its first slip of a closing day billed on
        // that day.
        double tax = h.taxTotal;
        if (client.taxTiming == sl::kTimingAtClose && isBillingCloseDay(h.slipDate) &&
            !chargedToday.contains(h.clientCode)) {
          sl::S_BILLSUM bill;
          if (jet.ReadBillSum(h.clientCode, bill) == sl::kSlOk && bill.lastBillDate == h.slipDate) {
            tax += bill.lastBillTax;
            chargedToday.insert(h.clientCode);
          }
        }
        slip.amount = h.taxOutAmount + h.taxInAmount + h.noTaxAmount;
        slip.taxOut = h.taxOutAmount;
        slip.taxInWithTax = h.taxInAmount + h.inTax;
        slip.noTax = h.noTaxAmount;
        slip.tax = tax;
        DailyRow t;
        t.slipDate = h.slipDate;
        t.slipNo = sl::slText(h.slipNo);
        t.slipKind = h.slipKind;
        t.clientCode = h.clientCode;
        t.rowType = kRowSlipTotal;
        t.taxTiming = client.taxTiming;
        t.amount = slip.amount;
        t.tax = tax;
        t.profit = slip.profit;
        t.cost = slip.cost;
        t.taxOut = slip.taxOut;
        t.taxInWithTax = slip.taxInWithTax;
        t.noTax = slip.noTax;
        if (!file->append(t.encode())) return kMsgWorkWrite;

        figures.groups[kGroupAdded].salesWithTax += h.taxOutAmount + (tax - h.inTax);
        figures.groups[kGroupIncluded].salesWithTax += h.taxInAmount + h.inTax;
        figures.groups[kGroupOutside].salesWithTax += h.noTaxAmount;
        figures.amount += t.amount;
        figures.tax += tax;
        figures.profit += slip.profit;
        figures.cost += slip.cost;
        ++figures.slips;
        day.add(slip);

        ++read;
        if (progress && !progress(total > 0 ? std::min(100, read * 100 / total) : 100))
          return kMsgCancelled;
      }
      if (st == sl::kSlEnd) break;
    }
    if (anyDay && !writeDayTotal()) return kMsgWorkWrite;
    if (!file->flush()) return kMsgWorkWrite;
    if (file->rowCount() == 0) return kMsgNothing;

    for (const TaxGroupFigures& g : figures.groups) {
      figures.total.sales += g.sales;
      figures.total.salesWithTax += g.salesWithTax;
      figures.total.cost += g.cost;
      figures.total.profit += g.profit;
    }
    // The new rows replace the previous ones (whose file goes now).
    file_ = std::move(file);
    conditions_ = conditions;
    summary_figures_ = figures;
    clientNames_ = std::move(names);
    company_ = company;
    cacheFirst_ = -1;
    cache_.clear();
    return 0;
  } catch (const std::bad_alloc&) {
    status_ = 0;  // 400 is shown without a status
    return kMsgMemory;
  }
}

bool DailyReport::row(qint64 i, DailyRow& out) const {
  if (!file_ || i < 0 || i >= file_->rowCount()) return false;
  if (cacheFirst_ < 0 || i < cacheFirst_ || i >= cacheFirst_ + cache_.size() / kDailyRowSize) {
    cacheFirst_ = pagingStart(i, cacheFirst_, kCacheRows);
    if (!file_->readRows(cacheFirst_, kCacheRows, cache_)) {
      cacheFirst_ = -1;
      return false;
    }
  }
  const qint64 at = (i - cacheFirst_) * kDailyRowSize;
  out = DailyRow::decode(cache_.mid(at, kDailyRowSize));
  return true;
}

QString DailyReport::title() const {
  return conditions_.mode > 0 ? QStringLiteral("予約日報") : QStringLiteral("売上日報");
}

QStringList DailyReport::conditionLines() const {
  QString line = QStringLiteral("伝票日付 %1 ～ %2").arg(formatDate(conditions_.dateFrom),
                                                       formatDate(conditions_.dateTo));
  const QStringList entries = slipListEntries(conditions_.mode);
  line += QStringLiteral("　　伝票区分 ") +
          entries.value(entryIndexOf(conditions_.mode, conditions_.listChoice)).trimmed();
  if (conditions_.personCode != 0)
    line += QStringLiteral("　　担当者 %1 %2").arg(conditions_.personCode).arg(personName_);
  return {line};
}

QList<ReportColumn> DailyReport::columns() const {
  using K = CellKind;
  auto col = [](const char16_t* top, K topKind, const char16_t* bottom, K bottomKind) {
    ReportColumn c;
    c.caption[0] = QString::fromUtf16(top);
    c.caption[1] = QString::fromUtf16(bottom);
    c.kind[0] = topKind;
    c.kind[1] = bottomKind;
    c.width = std::max(halfWidths(c.caption[0]), halfWidths(c.caption[1]));
    return c;
  };
  QList<ReportColumn> list{
      col(u" 伝 票 日 付 ", K::Center, u" 伝 票 区 分 ", K::Center),
      col(u"  伝 票 番 号  ", K::Text, u"得 意 先 ｺ ｰ ﾄﾞ", K::Text),
      col(u"   得  意  先  名   ", K::Text, u"", K::Text),
      col(u" 明 細 No  ", K::Center, u"  区   分  ", K::Text),
      col(u"  商    品    名  ", K::Text, u"  入     数   ", K::Quantity),
      col(u" 商 品 ｺ ｰ ﾄﾞ ", K::Text, u"  単     位   ", K::Text),
      col(u"  箱     数   ", K::Quantity, u"  数     量   ", K::Quantity),
      col(u"  単     価   ", K::Quantity, u"  原  単  価  ", K::Quantity),
      col(u"  金     額   ", K::Amount, u"（ 消 費 税 ）", K::Amount),
      col(u" 合 計 金 額  ", K::Amount, u"  粗  利  益  ", K::Amount),
      col(u" 消費税率 ", K::Center, u" 税 区 分 ", K::Center),
  };
  list[2].width = 24;  // client names
  list[4].width = 30;  // goods names
  return list;
}

ReportLine DailyReport::line(qint64 i) const {
  ReportLine out;
  const int n = 11;
  for (QStringList& cells : out.cells) cells = QStringList(n, QString());
  DailyRow r;
  if (!row(i, r)) return out;
  QStringList& top = out.cells[0];
  QStringList& bottom = out.cells[1];
  auto number = [](double v) { return plainNumber(v); };
  if (r.rowType == kRowLine) {
    out.type = LineType::Line;
    if (r.lineNo <= 1) {
      top[0] = formatDate(r.slipDate);
      top[1] = r.slipNo.trimmed();
      top[2] = clientNames_.value(r.clientCode);
      bottom[0] = slipKindName(r.slipKind);
      bottom[1] = QString::number(r.clientCode);
    }
    top[3] = QString::number(r.lineNo);
    bottom[3] = lineKindName(r.lineKind);
    top[4] = r.goodsName;
    if (r.lineKind == sl::kLineMemo) return out;
    const bool goods = r.lineKind == sl::kLineSale || r.lineKind == sl::kLineReturn ||
                       r.lineKind == sl::kLineGoodsDiscount;
    if (goods) {
      top[5] = r.goodsCode;
      if (!isZero(r.irisu)) {
        bottom[4] = number(r.irisu);
        top[6] = number(r.boxes);
      }
      bottom[5] = r.unit;
      bottom[6] = number(r.quantity);
      top[7] = number(r.unitPrice);
      bottom[7] = number(r.costPrice);
    }
    top[8] = number(r.amount);
    bottom[8] = number(r.tax);
    bottom[9] = number(r.profit);
    if (r.taxClass == sl::kTaxAdded || r.taxClass == sl::kTaxIncluded)
      top[10] = plainNumber(taxRatePercent(company_, r.taxRateCode)) + QStringLiteral("%");
    bottom[10] = taxClassName(r.taxClass);
    return out;
  }
  out.type = r.rowType == kRowSlipTotal ? LineType::SlipTotal : LineType::DayTotal;
  if (r.rowType == kRowDayTotal) top[0] = formatDate(r.slipDate);
  top[4] = r.rowType == kRowSlipTotal ? kSlipTotalCaption : kDayTotalCaption;
  top[8] = number(r.amount);
  top[9] = number(r.amount + r.tax);
  bottom[8] = number(r.tax);
  bottom[9] = number(r.profit);
  return out;
}

QList<ReportLine> DailyReport::closingLines() const {
  if (!file_) return {};
  ReportLine out;
  out.type = LineType::GrandTotal;
  for (QStringList& cells : out.cells) cells = QStringList(11, QString());
  const DailySummary& f = summary_figures_;
  out.cells[0][4] = kGrandTotalCaption;
  out.cells[0][8] = plainNumber(f.amount);
  out.cells[0][9] = plainNumber(f.amount + f.tax);
  out.cells[1][8] = plainNumber(f.tax);
  out.cells[1][9] = plainNumber(f.profit);
  return {out};
}

SummaryTable DailyReport::summary() const {
  SummaryTable t;
  t.columnCaptions = {QString(), QStringLiteral("売  上  計 税  抜"),
                      QStringLiteral("売  上  計 税  込"), QStringLiteral("原  価  計"),
                      QStringLiteral("概算粗利計")};
  const char16_t* names[] = {u"外  税", u"内  税", u"税  外"};
  const DailySummary& f = summary_figures_;
  auto rowOf = [](const QString& caption, const TaxGroupFigures& g) {
    return QStringList{caption, plainNumber(g.sales), plainNumber(g.salesWithTax),
                       plainNumber(g.cost), plainNumber(g.profit)};
  };
  for (int i = 0; i < 3; ++i) t.rows << rowOf(QString::fromUtf16(names[i]), f.groups[i]);
  t.rows << rowOf(QStringLiteral("合  計"), f.total);
  return t;
}

QString DailyReport::printKey() const {
  return conditions_.mode > 0 ? QStringLiteral("E40") : QStringLiteral("E20");
}

}  // namespace hv6::sales
