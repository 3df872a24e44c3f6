#pragma once
// The slip being edited in a slip entry window, without widgets: the
// working and the as-loaded header and 99 lines, the company, client and
// environment records, every computation typing into a cell causes, and the
// totals.
//
// How the windows use it:
// - At creation: setCompany, setEnvironment; for each slip shown, setClient
//   with the slip's client (before load), then load (a stored slip) or
//   newSlip (an empty one). When the user picks another client for the slip
//   being entered, setClient and then resettleLines.
// - The grid calls one setter per edited cell (row 0..98): setKind for the
//   区分 cell (a nonzero result is the number of the error box to show, the
//   line unchanged), setGoods after the goods code was looked up, setIrisu,
//   setBoxes, setQuantity, setUnitPrice, setCostPrice, setAmount, setTax,
//   setTaxClass, setTaxRateCode, setSimpleTaxClass, setName, setUnit. Each
//   applies the sign rules and the line's amount and tax rules, carries a
//   goods line's change into its discount line and recomputes the totals;
//   the grid then repaints the row (and the row below: a discount line may
//   have changed) and the totals line. Values are stored as given; the edit
//   controls limit the ranges and the calculator rounds its results itself.
// - Fields no computation reads (slip number, dates, client and ship-to
//   codes, the farm codes of a line, ...) are written through editHeader
//   and editLine.
// - The totals line under the grid is totalsLine(): caption and text pairs
//   to paint in totalsSlots() equal slots, texts right-aligned. The
//   hide*() queries tell which columns the company hides (their captions
//   become blankCaption of the caption).
// - isChanged() decides whether leaving the slip asks to save; after the
//   store wrote the slip, markSaved(). rowsShown() is the grid's row count.
//
// The reports use lineCost and lineGrossProfit of slipcalc.h on stored
// lines with the company's amount rule.

#include "outside/sl_jet/slrecords.h"
#include "sales/model/slipcalc.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>

namespace hv6::sales {

// Error boxes of refused kind changes.
constexpr int kErrDiscountWithoutGoods = 51005;  // 商品値引 not below a 売上 line
constexpr int kErrGoodsWithDiscount = 51038;     // a 売上 line with its 商品値引 below

// Names in the drop-down lists, in code order (index = code; the line-kind
// list starts at code 1, the others at 0).
QStringList lineKindNames();        // "売上" .. "調整消費税", codes 1..9
QStringList taxClassNames();        // 外税 .. 不課税, codes 0..4
QStringList simpleTaxClassNames();  // "非簡易課税業者", "第１種" .. "第５種"
QStringList taxTimingNames();       // "明細行ごと", "伝票ごと", "締日一括", codes 1..3

// One caption and its value in the totals line. text is the value with
// thousands separators, or "･････" when the value is out of its range.
struct TotalsCell {
  QString caption;
  QString text;
  double value = 0;
  bool outOfRange = false;
};

class SlipModel {
 public:
  SlipModel();

  // Settings records. setClient recomputes the totals (the client gives the
  // tax timing and rounding) but leaves the lines' taxes as they are.
  void setCompany(const sl::S_COMPANY& company);
  void setEnvironment(const sl::S_SELENV& environment);
  void setClient(const sl::S_CLIENTSEL& client);
  const sl::S_COMPANY& company() const { return company_; }
  const sl::S_SELENV& environment() const { return environment_; }
  const sl::S_CLIENTSEL& client() const { return client_; }
  // Applies the line tax rule again to every line with the client's timing
  // and rounding, keeping each line's amount as typed; per slip and at the
  // close the 外税 lines' own taxes are cleared.
  void resettleLines();

  // A new empty slip of a kind and date: every line cleared, the header
  // cleared but for its slip number, marked new, the company's default tax
  // rate; the as-loaded copies equal the working ones.
  void newSlip(std::uint8_t slipKind, std::int32_t slipDate);
  // A stored slip: its header and at most 99 lines in line order. The
  // totals are recomputed and the slip is marked saved.
  void load(const sl::S_SELSLIPHD& header, const QList<sl::S_SELSLIP>& lines);
  // The as-loaded copies become the working ones (after a save).
  void markSaved();
  // True when the header or a line differs from its as-loaded copy.
  bool isChanged() const;

  const sl::S_SELSLIPHD& header() const { return header_; }
  const sl::S_SELSLIPHD& loadedHeader() const { return loadedHeader_; }
  // For header fields no computation reads; the totals are overwritten by
  // the next computation.
  sl::S_SELSLIPHD& editHeader() { return header_; }
  // The header's tax-rate code; lines at the old code move to the new one
  // (their amounts as typed kept, their taxes recomputed).
  void setHeaderTaxRateCode(std::uint8_t rateCode);

  const sl::S_SELSLIP& line(int row) const;
  const sl::S_SELSLIP& loadedLine(int row) const;
  // For line fields no computation reads (farm codes, goods code); call
  // recomputeTotals after changing anything that counts. A row outside the
  // slip gives a scratch line that belongs to no slip.
  sl::S_SELSLIP& editLine(int row);
  // The lines up to the last non-empty one.
  QList<sl::S_SELSLIP> lines() const;
  // 1 + the row of the last non-empty line (0 when all are empty).
  int usedLines() const;
  // Rows the grid shows: the lines in use plus one, between 2 and 99.
  int rowsShown() const;

  // Cell setters (row 0..98; other rows are ignored).
  // setKind returns 0, or kErrDiscountWithoutGoods / kErrGoodsWithDiscount
  // when the change is refused (the line left as it was).
  int setKind(int row, std::uint8_t kind);
  // Name, unit, 入数, unit price (the client's price class and rate,
  // truncated to two decimals or whole yen), cost price, tax class, tax
  // rate (the goods' code when the company's table has a rate there, else
  // the header's), simplified-taxation class; then amount and tax.
  void setGoods(int row, const sl::S_COMMODITY& goods);
  void setIrisu(int row, double irisu);
  void setBoxes(int row, double boxes);
  void setQuantity(int row, double quantity);
  void setUnitPrice(int row, double unitPrice);
  void setCostPrice(int row, double costPrice);
  // The amount as typed; on a 内税 line it includes the tax. On a kind-9
  // line the value typed is the tax.
  void setAmount(int row, double amount);
  void setTax(int row, double tax);
  // False when the kind forces its class (5, 6: 不課税; 9: 外税) or the line
  // is a memo.
  bool setTaxClass(int row, std::uint8_t taxClass);
  void setTaxRateCode(int row, std::uint8_t rateCode);
  void setSimpleTaxClass(int row, std::uint8_t simpleTaxClass);
  void setName(int row, const QString& name);
  void setUnit(int row, const QString& unit);

  // The seven totals, quantity total, average unit price and per-rate
  // totals into the working header; cost and gross-profit totals.
  void recomputeTotals();
  double costTotal() const { return costTotal_; }
  double grossProfitTotal() const { return grossProfitTotal_; }
  double lineCost(int row) const;
  double lineGrossProfit(int row) const;

  // The totals line: five pairs in 10 slots, or three pairs in 6 slots when
  // the company hides the gross profit.
  QList<TotalsCell> totalsLine() const;
  int totalsSlots() const;

  // Company display options and the unit price's decimals.
  bool hideIrisu() const { return company_.hideIrisu != 0; }
  bool hideBoxes() const { return company_.hideBoxes != 0; }
  bool hideSimpleTax() const { return company_.hideSimpleTax != 0; }
  bool hideGrossProfit() const { return company_.hideGrossProfit != 0; }
  int priceDecimals() const { return environment_.wholeYenPrice ? 0 : 2; }

  // Rules in force: the company's amount rounding, the client's tax
  // rounding and timing (an unknown timing counts as per line), the
  // percentage of a tax-rate code.
  int amountRule() const { return company_.amountRounding; }
  int taxRule() const { return client_.taxRounding; }
  int timing() const;
  double ratePercent(int rateCode) const { return taxRatePercent(company_, rateCode); }

 private:
  bool validRow(int row) const { return row >= 0 && row < sl::kMaxSlipLines; }
  // The amount as the user sees it: with the tax on a 内税 line.
  double typedAmount(const sl::S_SELSLIP& line) const;
  // Stores a typed amount and applies the line tax rule.
  void settle(sl::S_SELSLIP& line, double typed) const;
  // Moves a line to a tax class and rate, undoing 内税 or clearing an added
  // tax when it leaves them, then settles the amount.
  void reclass(sl::S_SELSLIP& line, std::uint8_t taxClass, std::uint8_t rateCode) const;
  // amount := round(quantity x unit price), then the tax.
  void recomputeAmount(sl::S_SELSLIP& line) const;
  // A line that gets its first kind takes the header's tax rate.
  void startLine(sl::S_SELSLIP& line) const;
  // Signs of typed values by the line's kind.
  static double signedCount(const sl::S_SELSLIP& line, double value);
  // When row is a 売上 line with a 商品値引 line below, carries its goods
  // fields into that line. Then recomputes the totals.
  void finish(int row);

  sl::S_COMPANY company_;
  sl::S_SELENV environment_;
  sl::S_CLIENTSEL client_;
  sl::S_SELSLIPHD header_;
  sl::S_SELSLIPHD loadedHeader_;
  std::array<sl::S_SELSLIP, sl::kMaxSlipLines> lines_{};
  std::array<sl::S_SELSLIP, sl::kMaxSlipLines> loadedLines_{};
  sl::S_SELSLIP outside_;
  double costTotal_ = 0;
  double grossProfitTotal_ = 0;
};

}  // namespace hv6::sales
