#include "sales/model/slipmodel.h"

#include <algorithm>

namespace hv6::sales {

using sl::S_SELSLIP;

QStringList lineKindNames() {
  return {QStringLiteral("売上"),   QStringLiteral("返品"),     QStringLiteral("商品値引"),
          QStringLiteral("合計値引"), QStringLiteral("立替金"),   QStringLiteral("預り送料"),
          QStringLiteral("その他"),   QStringLiteral("メモ"),     QStringLiteral("調整消費税")};
}

QStringList taxClassNames() {
  return {QStringLiteral("外税"), QStringLiteral("内税"), QStringLiteral("非課税"),
          QStringLiteral("免税"), QStringLiteral("不課税")};
}

QStringList simpleTaxClassNames() {
  return {QStringLiteral("非簡易課税業者"), QStringLiteral("第１種"), QStringLiteral("第２種"),
          QStringLiteral("第３種"),         QStringLiteral("第４種"), QStringLiteral("第５種")};
}

QStringList taxTimingNames() {
  return {QStringLiteral("明細行ごと"), QStringLiteral("伝票ごと"), QStringLiteral("締日一括")};
}

namespace {

template <std::size_t N>
void copyText(char16_t (&to)[N], const char16_t (&from)[N]) {
  std::copy(std::begin(from), std::end(from), std::begin(to));
}

bool isGoodsKind(std::uint8_t kind) {
  return kind == sl::kLineEmpty || kind == sl::kLineSale || kind == sl::kLineReturn;
}

}  // namespace

SlipModel::SlipModel() { newSlip(sl::kKindCredit, 0); }

void SlipModel::setCompany(const sl::S_COMPANY& company) {
  company_ = company;
  recomputeTotals();
}

void SlipModel::setEnvironment(const sl::S_SELENV& environment) { environment_ = environment; }

void SlipModel::setClient(const sl::S_CLIENTSEL& client) {
  client_ = client;
  recomputeTotals();
}

int SlipModel::timing() const {
  return (client_.taxTiming == sl::kTimingPerSlip || client_.taxTiming == sl::kTimingAtClose)
             ? static_cast<int>(client_.taxTiming)
             : static_cast<int>(sl::kTimingPerLine);
}

void SlipModel::resettleLines() {
  for (S_SELSLIP& l : lines_) {
    if (isEmptyLine(l)) continue;
    // Per slip and at the close a 外税 line carries no tax of its own.
    if (timing() != sl::kTimingPerLine && l.taxClass == sl::kTaxAdded &&
        l.kind != sl::kLineTaxAdjust)
      l.tax = 0;
    reclass(l, l.taxClass, l.taxRateCode);
  }
  recomputeTotals();
}

void SlipModel::newSlip(std::uint8_t slipKind, std::int32_t slipDate) {
  sl::S_SELSLIPHD fresh;
  copyText(fresh.slipNo, header_.slipNo);
  fresh.slipKind = slipKind;
  fresh.slipDate = slipDate;
  fresh.newSlip = 1;
  fresh.taxRateCode = company_.defaultTaxRateCode;
  header_ = fresh;
  lines_.fill(S_SELSLIP{});
  recomputeTotals();
  markSaved();
}

void SlipModel::load(const sl::S_SELSLIPHD& header, const QList<S_SELSLIP>& lines) {
  header_ = header;
  lines_.fill(S_SELSLIP{});
  const int n = static_cast<int>(std::min<qsizetype>(lines.size(), sl::kMaxSlipLines));
  for (int i = 0; i < n; ++i) lines_[i] = lines.at(i);
  recomputeTotals();
  markSaved();
}

void SlipModel::markSaved() {
  loadedHeader_ = header_;
  loadedLines_ = lines_;
}

bool SlipModel::isChanged() const { return !(header_ == loadedHeader_) || lines_ != loadedLines_; }

void SlipModel::setHeaderTaxRateCode(std::uint8_t rateCode) {
  const std::uint8_t old = header_.taxRateCode;
  header_.taxRateCode = rateCode;
  for (S_SELSLIP& l : lines_)
    if (!isEmptyLine(l) && l.kind != sl::kLineMemo && l.taxRateCode == old)
      reclass(l, l.taxClass, rateCode);
  recomputeTotals();
}

const S_SELSLIP& SlipModel::line(int row) const {
  static const S_SELSLIP kEmpty;
  return validRow(row) ? lines_[row] : kEmpty;
}

const S_SELSLIP& SlipModel::loadedLine(int row) const {
  static const S_SELSLIP kEmpty;
  return validRow(row) ? loadedLines_[row] : kEmpty;
}

S_SELSLIP& SlipModel::editLine(int row) {
  if (validRow(row)) return lines_[row];
  outside_ = S_SELSLIP{};  // a row outside the slip: written nowhere
  return outside_;
}

QList<S_SELSLIP> SlipModel::lines() const {
  QList<S_SELSLIP> out;
  const int n = usedLines();
  out.reserve(n);
  for (int i = 0; i < n; ++i) out.append(lines_[i]);
  return out;
}

int SlipModel::usedLines() const {
  for (int row = sl::kMaxSlipLines - 1; row >= 0; --row)
    if (!isEmptyLine(lines_[row])) return row + 1;
  return 0;
}

int SlipModel::rowsShown() const {
  return std::clamp(std::max(usedLines(), static_cast<int>(header_.lineCount)) + 1, 2,
                    sl::kMaxSlipLines);
}

// ---- line rules ----

double SlipModel::typedAmount(const S_SELSLIP& line) const {
  return line.taxClass == sl::kTaxIncluded ? line.amount + line.tax : line.amount;
}

void SlipModel::settle(S_SELSLIP& line, double typed) const {
  if (line.kind == sl::kLineTaxAdjust) {  // the typed value lives in the tax
    line.amount = 0;
    return;
  }
  const double r = ratePercent(line.taxRateCode);
  switch (line.taxClass) {
    case sl::kTaxIncluded:
      line.tax = includedTax(typed, r, taxRule());
      line.amount = typed - line.tax;
      break;
    case sl::kTaxAdded:
      line.amount = typed;
      // Per slip and at the close the tax is computed on the totals.
      if (timing() == sl::kTimingPerLine) line.tax = addedTax(typed, r, taxRule());
      break;
    default:
      line.amount = typed;
      line.tax = 0;
      break;
  }
}

void SlipModel::reclass(S_SELSLIP& line, std::uint8_t taxClass, std::uint8_t rateCode) const {
  double typed = line.amount;
  if (line.taxClass == sl::kTaxIncluded) {
    const double withTax = line.amount + line.tax;
    if (taxClass == sl::kTaxIncluded) {
      typed = withTax;
    } else {
      // Back to the amount with tax only when the tax is still the one the
      // rule gives (not a tax typed by hand).
      if (isZero(includedTax(withTax, ratePercent(line.taxRateCode), taxRule()) - line.tax))
        typed = withTax;
      line.tax = 0;
    }
  } else if (line.taxClass == sl::kTaxAdded && taxClass != sl::kTaxAdded &&
             line.kind != sl::kLineTaxAdjust) {
    line.tax = 0;
  }
  line.taxClass = taxClass;
  line.taxRateCode = rateCode;
  settle(line, typed);
}

void SlipModel::recomputeAmount(S_SELSLIP& line) const {
  if (line.kind == sl::kLineTaxAdjust || line.kind == sl::kLineMemo) return;
  settle(line, roundYen(line.quantity * line.unitPrice, amountRule()));
}

void SlipModel::startLine(S_SELSLIP& line) const {
  reclass(line, line.taxClass, header_.taxRateCode);
}

double SlipModel::signedCount(const S_SELSLIP& line, double value) {
  const bool negative = line.kind == sl::kLineReturn || line.kind == sl::kLineGoodsDiscount ||
                        line.kind == sl::kLineTotalDiscount;
  return (negative && value > 0) ? -value : value;
}

void SlipModel::finish(int row) {
  if (row + 1 < sl::kMaxSlipLines && lines_[row].kind == sl::kLineSale &&
      lines_[row + 1].kind == sl::kLineGoodsDiscount) {
    const S_SELSLIP& goods = lines_[row];
    S_SELSLIP& discount = lines_[row + 1];
    discount.irisu = goods.irisu;
    discount.boxes = goods.boxes;
    discount.quantity = goods.quantity;
    discount.unitPrice = goods.unitPrice;
    discount.costPrice = goods.costPrice;
    discount.simpleTaxClass = goods.simpleTaxClass;
    if (discount.taxClass != goods.taxClass || discount.taxRateCode != goods.taxRateCode)
      reclass(discount, goods.taxClass, goods.taxRateCode);
  }
  recomputeTotals();
}

// ---- cells ----

int SlipModel::setKind(int row, std::uint8_t kind) {
  if (!validRow(row) || kind > sl::kLineTaxAdjust) return 0;
  S_SELSLIP& l = lines_[row];
  const std::uint8_t old = l.kind;
  if (kind == old) return 0;
  if (old == sl::kLineSale && row + 1 < sl::kMaxSlipLines &&
      lines_[row + 1].kind == sl::kLineGoodsDiscount)
    return kErrGoodsWithDiscount;
  if (kind == sl::kLineGoodsDiscount && (row == 0 || lines_[row - 1].kind != sl::kLineSale))
    return kErrDiscountWithoutGoods;

  if (kind == sl::kLineEmpty) {
    l = S_SELSLIP{};
    finish(row);
    return 0;
  }
  if (kind == sl::kLineMemo) {  // only the text stays
    S_SELSLIP memo;
    memo.kind = sl::kLineMemo;
    copyText(memo.goodsName, l.goodsName);
    l = memo;
    finish(row);
    return 0;
  }
  // A new line takes the header's rate, unless goods gave it one already.
  if (old == sl::kLineMemo || (old == sl::kLineEmpty && l.goodsCode[0] == 0)) startLine(l);
  if (old == sl::kLineTaxAdjust) {  // the tax goes back into the amount
    const double typed = l.tax;
    l.tax = 0;
    l.kind = kind;
    settle(l, typed);
  }
  l.kind = kind;
  switch (kind) {
    case sl::kLineGoodsDiscount: {
      const S_SELSLIP& above = lines_[row - 1];
      l.irisu = above.irisu;
      l.boxes = above.boxes;
      l.quantity = above.quantity;
      l.unitPrice = above.unitPrice;
      l.costPrice = above.costPrice;
      l.simpleTaxClass = above.simpleTaxClass;
      reclass(l, above.taxClass, above.taxRateCode);
      break;
    }
    case sl::kLineTotalDiscount:
      l.quantity = 0;
      l.unitPrice = 0;
      if (!isZero(l.irisu)) l.boxes = 0;
      recomputeAmount(l);
      break;
    case sl::kLineAdvance:
    case sl::kLineShipping:
      reclass(l, sl::kTaxOutside, l.taxRateCode);
      break;
    case sl::kLineTaxAdjust: {
      double typed = l.amount;
      if (l.taxClass == sl::kTaxIncluded) {
        const double withTax = l.amount + l.tax;
        if (isZero(includedTax(withTax, ratePercent(l.taxRateCode), taxRule()) - l.tax))
          typed = withTax;
      }
      l.tax = typed;
      l.amount = 0;
      l.taxClass = sl::kTaxAdded;
      break;
    }
    default:
      break;
  }
  finish(row);
  return 0;
}

void SlipModel::setGoods(int row, const sl::S_COMMODITY& goods) {
  if (!validRow(row)) return;
  S_SELSLIP& l = lines_[row];
  copyText(l.goodsName, goods.name);
  if (l.kind == sl::kLineMemo) {
    finish(row);
    return;
  }
  copyText(l.goodsCode, goods.code);
  if (!isGoodsKind(l.kind)) {  // discounts, charges, tax adjustments: the name only
    finish(row);
    return;
  }
  copyText(l.unit, goods.unit);
  l.irisu = goods.irisu;
  double price = goods.standardPrice;
  switch (client_.priceClass) {
    case 1: price = goods.price1; break;
    case 2: price = goods.price2; break;
    case 3: price = goods.price3; break;
    default: break;
  }
  // A rate of 0 or below is an unset rate: the price as it stands.
  const double rate = client_.priceRate > 0 && !isZero(client_.priceRate) ? client_.priceRate : 100;
  l.unitPrice = roundValue(price * rate / 100.0, sl::kRoundTruncate, priceDecimals() == 0 ? 1 : 3);
  l.costPrice = goods.costPrice;
  l.simpleTaxClass = goods.simpleTaxClass;
  if (!isZero(l.irisu)) l.boxes = l.quantity;
  l.taxClass = goods.taxClass <= sl::kTaxOutside ? goods.taxClass : std::uint8_t{sl::kTaxAdded};
  l.taxRateCode = ratePercent(goods.taxRateCode) > 0 ? goods.taxRateCode : header_.taxRateCode;
  l.tax = 0;
  recomputeAmount(l);
  finish(row);
}

void SlipModel::setIrisu(int row, double irisu) {
  if (!validRow(row) || lines_[row].kind == sl::kLineMemo) return;
  S_SELSLIP& l = lines_[row];
  l.irisu = irisu;
  if (!isZero(irisu)) l.boxes = l.quantity;
  finish(row);
}

void SlipModel::setBoxes(int row, double boxes) {
  if (!validRow(row) || lines_[row].kind == sl::kLineMemo) return;
  S_SELSLIP& l = lines_[row];
  l.boxes = signedCount(l, boxes);
  if (!isZero(l.irisu)) l.quantity = l.boxes;
  recomputeAmount(l);
  finish(row);
}

void SlipModel::setQuantity(int row, double quantity) {
  if (!validRow(row) || lines_[row].kind == sl::kLineMemo) return;
  S_SELSLIP& l = lines_[row];
  l.quantity = signedCount(l, quantity);
  if (!isZero(l.irisu)) l.boxes = l.quantity;
  recomputeAmount(l);
  finish(row);
}

void SlipModel::setUnitPrice(int row, double unitPrice) {
  if (!validRow(row) || lines_[row].kind == sl::kLineMemo) return;
  S_SELSLIP& l = lines_[row];
  l.unitPrice = unitPrice;
  recomputeAmount(l);
  finish(row);
}

void SlipModel::setCostPrice(int row, double costPrice) {
  if (!validRow(row) || lines_[row].kind == sl::kLineMemo) return;
  lines_[row].costPrice = costPrice;
  finish(row);
}

void SlipModel::setAmount(int row, double amount) {
  if (!validRow(row) || lines_[row].kind == sl::kLineMemo) return;
  S_SELSLIP& l = lines_[row];
  if (l.kind == sl::kLineTaxAdjust) {
    l.tax = amount;
    l.amount = 0;
  } else {
    const bool negative =
        l.kind == sl::kLineGoodsDiscount || l.kind == sl::kLineTotalDiscount;
    settle(l, (negative && amount > 0) ? -amount : amount);
  }
  finish(row);
}

void SlipModel::setTax(int row, double tax) {
  if (!validRow(row) || lines_[row].kind == sl::kLineMemo) return;
  lines_[row].tax = tax;
  finish(row);
}

bool SlipModel::setTaxClass(int row, std::uint8_t taxClass) {
  if (!validRow(row) || taxClass > sl::kTaxOutside) return false;
  S_SELSLIP& l = lines_[row];
  switch (l.kind) {
    case sl::kLineAdvance:
    case sl::kLineShipping:
    case sl::kLineTaxAdjust:
    case sl::kLineMemo:
      return false;
    default:
      break;
  }
  reclass(l, taxClass, l.taxRateCode);
  finish(row);
  return true;
}

void SlipModel::setTaxRateCode(int row, std::uint8_t rateCode) {
  if (!validRow(row) || lines_[row].kind == sl::kLineMemo) return;
  S_SELSLIP& l = lines_[row];
  reclass(l, l.taxClass, rateCode);
  finish(row);
}

void SlipModel::setSimpleTaxClass(int row, std::uint8_t simpleTaxClass) {
  if (!validRow(row) || simpleTaxClass > 5 || lines_[row].kind == sl::kLineMemo) return;
  lines_[row].simpleTaxClass = simpleTaxClass;
  finish(row);
}

void SlipModel::setName(int row, const QString& name) {
  if (!validRow(row)) return;
  sl::slSetText(lines_[row].goodsName, name);
  finish(row);
}

void SlipModel::setUnit(int row, const QString& unit) {
  if (!validRow(row) || lines_[row].kind == sl::kLineMemo) return;
  sl::slSetText(lines_[row].unit, unit);
  finish(row);
}

// ---- totals ----

void SlipModel::recomputeTotals() {
  // Sums at one tax rate.
  struct RateSum {
    std::uint8_t code;
    double taxOut;     // amounts of 外税 lines
    double taxIn;      // amounts of 内税 lines
    double addedTax;   // taxes of 外税 lines (per line)
    double inTax;      // taxes of 内税 lines
    double adjustTax;  // taxes of kind-9 lines
  };
  std::array<RateSum, sl::kMaxSlipLines> rates;
  int rateCount = 0;
  auto rateOf = [&](std::uint8_t code) -> RateSum& {
    for (int i = 0; i < rateCount; ++i)
      if (rates[i].code == code) return rates[i];
    // Kept in code order.
    int at = rateCount++;
    while (at > 0 && rates[at - 1].code > code) {
      rates[at] = rates[at - 1];
      --at;
    }
    rates[at] = RateSum{code, 0, 0, 0, 0, 0};
    return rates[at];
  };

  double taxOut = 0, taxIn = 0, noTax = 0, inTax = 0, adjustTax = 0;
  double quantity = 0, goodsAmount = 0;
  for (const S_SELSLIP& l : lines_) {
    if (isEmptyLine(l)) break;
    if (l.kind == sl::kLineEmpty || l.kind == sl::kLineMemo) continue;
    if (l.kind == sl::kLineSale || l.kind == sl::kLineReturn) {
      quantity += l.quantity;
      goodsAmount += l.amount;
    }
    if (l.kind == sl::kLineTaxAdjust) {
      adjustTax += l.tax;
      rateOf(l.taxRateCode).adjustTax += l.tax;
      continue;
    }
    switch (l.taxClass) {
      case sl::kTaxAdded: {
        taxOut += l.amount;
        RateSum& r = rateOf(l.taxRateCode);
        r.taxOut += l.amount;
        r.addedTax += l.tax;
        break;
      }
      case sl::kTaxIncluded: {
        taxIn += l.amount;
        inTax += l.tax;
        RateSum& r = rateOf(l.taxRateCode);
        r.taxIn += l.amount;
        r.inTax += l.tax;
        break;
      }
      default:
        noTax += l.amount;
        break;
    }
  }

  // The tax at each rate: per line the lines' taxes; per slip the added tax
  // rounded once per rate over that rate's tax-added amounts; at the close
  // no added tax.
  const int t = timing();
  double taxTotal = 0;
  for (int i = 0; i < rateCount; ++i) {
    RateSum& r = rates[i];
    double added = 0;
    if (t == sl::kTimingPerLine)
      added = r.addedTax;
    else if (t == sl::kTimingPerSlip)
      added = addedTax(r.taxOut, ratePercent(r.code), taxRule());
    r.addedTax = added;
    taxTotal += added + r.inTax + r.adjustTax;
  }

  header_.taxOutAmount = taxOut;
  header_.taxInAmount = taxIn;
  header_.noTaxAmount = noTax;
  header_.taxTotal = taxTotal;
  header_.inTax = inTax;
  header_.adjustTax = adjustTax;
  header_.grandTotal = taxOut + taxIn + noTax + taxTotal;
  header_.quantityTotal = quantity;
  header_.unitAverage = isZero(quantity) ? 0 : goodsAmount / quantity;
  for (int i = 0; i < sl::kRateTotals; ++i) {
    sl::S_RATETOTAL total;
    if (i < rateCount) {
      const RateSum& r = rates[i];
      total.rateCode = r.code;
      total.used = 1;
      total.taxOutAmount = r.taxOut;
      total.taxInAmount = r.taxIn;
      total.tax = r.addedTax + r.inTax + r.adjustTax;
    }
    header_.rates[i] = total;
  }

  double cost = 0, profit = 0;
  for (const S_SELSLIP& l : lines_) {
    if (l.kind == sl::kLineEmpty && isEmptyLine(l)) continue;
    cost += sales::lineCost(l, amountRule());
    profit += sales::lineGrossProfit(l, amountRule());
  }
  costTotal_ = cost;
  grossProfitTotal_ = profit;
}

double SlipModel::lineCost(int row) const {
  return validRow(row) ? sales::lineCost(lines_[row], amountRule()) : 0;
}

double SlipModel::lineGrossProfit(int row) const {
  return validRow(row) ? sales::lineGrossProfit(lines_[row], amountRule()) : 0;
}

QList<TotalsCell> SlipModel::totalsLine() const {
  struct Item {
    const char16_t* caption;
    double value;
    double low;
    double high;
  };
  const Item items[] = {
      {u"金額合計", header_.taxOutAmount + header_.taxInAmount + header_.noTaxAmount + header_.inTax,
       -9999999999.1, 99999999999.1},
      {u"外 消費税", header_.taxTotal - header_.inTax, -999999999.1, 9999999999.1},
      {u"合計金額", header_.grandTotal, -9999999999.1, 99999999999.1},
      {u"原単価計", costTotal_, -99999999.991, 999999999.991},
      {u"(粗利益計)", grossProfitTotal_, -9999999999.1, 99999999999.1},
  };
  const int shown = hideGrossProfit() ? 3 : 5;
  QList<TotalsCell> cells;
  for (int i = 0; i < shown; ++i) {
    const Item& item = items[i];
    TotalsCell cell;
    cell.caption = QString::fromUtf16(item.caption);
    cell.value = item.value;
    cell.outOfRange = !(item.value > item.low && item.value < item.high);
    cell.text = cell.outOfRange ? QStringLiteral("･････") : formatThousands(item.value);
    cells.append(cell);
  }
  return cells;
}

int SlipModel::totalsSlots() const { return hideGrossProfit() ? 6 : 10; }

}  // namespace hv6::sales
