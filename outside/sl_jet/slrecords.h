#pragma once
// The records the sales store exchanges with the sales windows: slip header
// and line, environment, company, client, goods, person, ship-to, plan,
// standard pattern and billing summary. They are plain fixed-size records:
// the windows copy them whole and compare them whole (operator== compares
// every field), and a line equal to a value-initialised one is empty.
//
// Texts are fixed arrays of UTF-16 code units with a terminating zero; the
// length in the comment is the number of characters a field can hold.
// slText/slSetText convert from and to QString (cut at the field's size).

#include <QString>

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace sl {

template <std::size_t N>
QString slText(const char16_t (&field)[N]) {
  std::size_t length = 0;
  while (length < N && field[length] != 0) ++length;
  return QString::fromUtf16(field, static_cast<qsizetype>(length));
}

// Stores at most N-1 code units and never half a surrogate pair; the rest
// of the field is zero, so equal texts give equal records.
template <std::size_t N>
void slSetText(char16_t (&field)[N], const QString& text) {
  std::size_t length = std::min<std::size_t>(static_cast<std::size_t>(text.size()), N - 1);
  if (length > 0 && length < static_cast<std::size_t>(text.size()) &&
      text.at(static_cast<qsizetype>(length - 1)).isHighSurrogate())
    --length;
  for (std::size_t i = 0; i < N; ++i)
    field[i] = i < length ? static_cast<char16_t>(text.at(static_cast<qsizetype>(i)).unicode()) : 0;
}

// Slip kinds (伝票区分).
enum SlipKind : std::uint8_t { kKindNone = 0, kKindCash = 1, kKindCredit = 2, kKindReservation = 3 };

// Line kinds (区分); 0 is an empty line.
enum LineKind : std::uint8_t {
  kLineEmpty = 0,
  kLineSale = 1,          // 売上
  kLineReturn = 2,        // 返品
  kLineGoodsDiscount = 3, // 商品値引
  kLineTotalDiscount = 4, // 合計値引
  kLineAdvance = 5,       // 立替金
  kLineShipping = 6,      // 預り送料
  kLineOther = 7,         // その他
  kLineMemo = 8,          // メモ
  kLineTaxAdjust = 9,     // 調整消費税
};

// Tax classes (税区分).
enum TaxClass : std::uint8_t {
  kTaxAdded = 0,     // 外税
  kTaxIncluded = 1,  // 内税
  kTaxFree = 2,      // 非課税
  kTaxExempt = 3,    // 免税
  kTaxOutside = 4,   // 不課税
};

// Client tax calculation timing (税計算ﾀｲﾐﾝｸﾞ).
enum TaxTiming : std::uint8_t { kTimingPerLine = 1, kTimingPerSlip = 2, kTimingAtClose = 3 };

// Rounding rules of the company (amounts) and the client (tax).
enum RoundingRule : std::uint8_t { kRoundTruncate = 1, kRoundUp = 2, kRoundHalfUp = 3 };

constexpr int kMaxSlipLines = 99;
constexpr int kTaxRateSlots = 10;  // entries of the company's tax-rate table
constexpr int kRateTotals = 4;     // per-rate totals a slip keeps

// Per-rate totals of a slip (for the qualified invoice): the tax-added and
// tax-included taxable amounts at one rate and the tax on them.
struct S_RATETOTAL {
  std::uint8_t rateCode = 0;  // index into the company's tax-rate table
  std::uint8_t used = 0;      // 1 when some line carries this rate
  double taxOutAmount = 0;
  double taxInAmount = 0;
  double tax = 0;
  bool operator==(const S_RATETOTAL&) const = default;
};

// Slip header.
struct S_SELSLIPHD {
  std::int32_t code = 0;        // row key in the store; 0 = not stored
  char16_t slipNo[14] = {};     // 13, right-aligned, blank-padded on the left
  std::int32_t slipDate = 0;    // yyyymmdd
  std::uint8_t slipKind = 0;    // SlipKind
  std::uint8_t taxRateCode = 0; // index into the company's tax-rate table
  std::uint8_t newSlip = 0;     // 1 while the slip is not stored
  std::uint8_t billed = 0;      // 1 once the slip went into a bill
  std::uint8_t shipped = 0;     // 1 once shipped
  std::int32_t lineCount = 0;
  // The seven totals.
  double taxOutAmount = 0;  // taxable, tax added
  double taxInAmount = 0;   // taxable, tax included (without the tax)
  double noTaxAmount = 0;   // untaxed
  double taxTotal = 0;
  double inTax = 0;         // included tax
  double adjustTax = 0;     // kind-9 tax
  double grandTotal = 0;
  double quantityTotal = 0; // sum of the quantities of kind 1 and 2 lines
  double unitAverage = 0;   // amount of those lines / their quantity
  S_RATETOTAL rates[kRateTotals] = {};
  std::int32_t clientCode = 0;
  std::int32_t clientType = 0;  // 得意先区分 of the client, copied at save
  std::int32_t shipToCode = 0;
  std::int32_t personCode = 0;  // 担当者
  std::int32_t shipDate = 0;    // planned shipping date yyyymmdd
  std::int32_t claimDate = 0;   // planned billing date yyyymmdd
  std::int32_t tagColor = 0;
  std::int32_t adPlan = 0;      // advertising plan code
  char16_t memo[41] = {};
  bool operator==(const S_SELSLIPHD&) const = default;
};

// One slip line.
struct S_SELSLIP {
  // Header keys, copied into every line at save.
  char16_t slipNo[14] = {};
  std::int32_t slipDate = 0;
  std::uint8_t slipKind = 0;
  std::int32_t clientCode = 0;
  std::uint8_t lineNo = 0;       // 1-based
  std::uint8_t kind = 0;         // LineKind
  char16_t goodsCode[14] = {};   // 13
  char16_t goodsName[37] = {};   // 36; the text of a memo line
  double irisu = 0;              // 入数
  double boxes = 0;              // 箱数
  double quantity = 0;           // 数量
  char16_t unit[9] = {};         // 8
  double unitPrice = 0;          // 単価
  double costPrice = 0;          // 原単価
  double amount = 0;             // 金額, whole yen; without the tax on 内税 lines
  double tax = 0;                // 消費税, whole yen
  std::uint8_t taxRateCode = 0;
  std::uint8_t taxClass = 0;     // TaxClass
  std::uint8_t simpleTaxClass = 0;  // 0 非簡易課税業者, 1..5 第１種..第５種
  // Farm codes of the sales slip window (from the farm-work masters).
  std::int32_t cropCode = 0;
  std::int32_t fieldCode = 0;
  std::int32_t gradeCode = 0;
  std::int32_t standardCode = 0;
  std::int32_t buyerCode = 0;
  bool operator==(const S_SELSLIP&) const = default;
};

// Sales environment: numbering, work folder, options.
struct S_SELENV {
  char16_t slipNoLow[14] = {};   // lower bound of new numbers; empty: none
  char16_t slipNoHigh[14] = {};  // upper bound; empty: none
  char16_t lastNoReservation[14] = {};  // last saved reservation slip
  char16_t lastNoSales[14] = {};        // last saved sales slip
  std::int32_t lastSlipDate = 0;        // date of the last saved slip
  std::uint8_t wholeYenPrice = 0;       // 1: unit prices in whole yen
  std::int32_t workstation = 0;         // two-digit number of this workstation
  char16_t workFolder[261] = {};        // work files of the reports
  bool operator==(const S_SELENV&) const = default;
};

// The own company.
struct S_COMPANY {
  char16_t name[41] = {};
  char16_t postCode[9] = {};
  char16_t address1[41] = {};
  char16_t address2[41] = {};
  char16_t tel[21] = {};
  char16_t fax[21] = {};
  char16_t invoiceNo[15] = {};       // "T" and 13 digits; empty: not registered
  std::uint8_t amountRounding = kRoundHalfUp;  // RoundingRule of amounts
  std::int32_t taxRates[kTaxRateSlots] = {};   // R per tax-rate code; 800 = 8 %
  std::uint8_t reducedRate[kTaxRateSlots] = {};  // 1: a 軽減税率 rate
  std::uint8_t defaultTaxRateCode = 0;
  std::uint8_t hideIrisu = 0;
  std::uint8_t hideBoxes = 0;
  std::uint8_t hideSimpleTax = 0;
  std::uint8_t hideGrossProfit = 0;
  std::uint8_t cashSaleDefault = 0;  // new sales slips start as 小売
  std::uint8_t dateStyle = 0;        // 0 western yyyy/mm/dd, 1 Japanese era
  bool operator==(const S_COMPANY&) const = default;
};

// A client (得意先) with its sales settings and figures.
struct S_CLIENTSEL {
  std::int32_t code = 0;
  char16_t name[41] = {};
  char16_t kana[21] = {};
  char16_t postCode[9] = {};
  char16_t address1[41] = {};
  char16_t address2[41] = {};
  char16_t tel[21] = {};
  std::int32_t clientType = 0;
  std::uint8_t taxTiming = kTimingPerLine;   // TaxTiming
  std::uint8_t taxRounding = kRoundTruncate; // RoundingRule of the tax
  std::uint8_t closeDay = 31;                // 請求締日: 1..28, 31 = month end
  std::uint8_t priceClass = 0;               // 売値区分: 0 標準売値, 1..3 売値１..３
  double priceRate = 100;                    // 売値掛率 in %
  double creditLimit = 0;                    // 与信限度額
  // Sales figures, carried by every save of a slip.
  double balance = 0;             // 売掛残高 (credit sales)
  double salesTotal = 0;          // all sales slips
  std::int32_t salesSlipCount = 0;  // sales and reservation slips
  std::int32_t paymentSlipCount = 0;
  std::int32_t lastSlipDate = 0;    // latest slip date stored for the client
  std::int32_t lastBillDate = 0;    // 前回請求日
  double lastBillAmount = 0;        // 前回請求額
  bool operator==(const S_CLIENTSEL&) const = default;
};

// A goods master record (商品).
struct S_COMMODITY {
  char16_t code[14] = {};
  char16_t name[37] = {};
  char16_t kana[21] = {};
  char16_t unit[9] = {};
  double irisu = 0;
  double standardPrice = 0;  // 標準売値
  double price1 = 0;
  double price2 = 0;
  double price3 = 0;
  double costPrice = 0;
  double minimumPrice = 0;
  std::uint8_t checkMinimum = 0;  // 1: a lower unit price asks 5121
  std::uint8_t taxClass = kTaxAdded;
  std::uint8_t taxRateCode = 0;
  std::uint8_t simpleTaxClass = 0;
  bool operator==(const S_COMMODITY&) const = default;
};

// A person in charge (担当者).
struct S_PERSON {
  std::int32_t code = 0;
  char16_t name[21] = {};
  bool operator==(const S_PERSON&) const = default;
};

// A ship-to (発送先) of a client.
struct S_SHIPTO {
  std::int32_t code = 0;
  std::int32_t clientCode = 0;  // 0: any client
  char16_t name[41] = {};
  char16_t postCode[9] = {};
  char16_t address1[41] = {};
  char16_t address2[41] = {};
  char16_t tel[21] = {};
  std::uint8_t used = 0;  // 1 once a slip named it
  bool operator==(const S_SHIPTO&) const = default;
};

// An advertising plan (企画).
struct S_PLAN {
  std::int32_t code = 0;
  char16_t name[41] = {};
  bool operator==(const S_PLAN&) const = default;
};

// A standard-pattern slip (おきまり伝票): header and lines.
struct S_FIXSLIPHD {
  std::int32_t code = 0;
  char16_t initialKey[5] = {};
  char16_t name[31] = {};
  S_SELSLIPHD header;
  bool operator==(const S_FIXSLIPHD&) const = default;
};

struct S_FIXSLIP {
  std::int32_t patternCode = 0;
  S_SELSLIP line;
  bool operator==(const S_FIXSLIP&) const = default;
};

// A client's billing summary (請求): the last bill and its closing tax.
struct S_BILLSUM {
  std::int32_t clientCode = 0;
  std::int32_t lastBillDate = 0;
  double lastBillAmount = 0;
  double lastBillTax = 0;
  bool operator==(const S_BILLSUM&) const = default;
};

}  // namespace sl
