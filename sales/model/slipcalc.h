#pragma once
// The computations on slip amounts that do not need a whole slip: rounding,
// the zero test, tax rates, a line's cost and gross profit, the number
// format of the totals line and the check of an invoice registration
// number. The reports use these on stored lines; SlipModel uses them while
// a slip is edited.

#include "outside/sl_jet/slrecords.h"

#include <QString>

#include <cstdint>

namespace hv6::sales {

// Rounds x by a rounding rule (sl::RoundingRule: 1 truncate, 2 round up,
// 3 half up; any other code rounds half up). The absolute value is rounded
// and the sign put back, so the result is symmetric about zero.
// d gives the decimals: d - 1 of them are kept (d = 1 whole yen, d = 3 two
// decimals). Truncating adds 0.0001 to ten times the value first, so that a
// product like 2.9999999 standing for 3 gives 3; rounding up subtracts the
// same margin, so that 3.0000000004 gives 3.
double roundValue(double x, int rule, int d = 1);

// Rounding to whole yen, the form amounts and taxes take.
inline double roundYen(double x, int rule) { return roundValue(x, rule, 1); }

// A double counts as zero strictly between -0.0001 and 0.0001.
inline bool isZero(double x) { return x > -0.0001 && x < 0.0001; }

// The percentage of a tax-rate code in the company's table (R / 100; 800
// gives 8). A code outside the table gives 0.
double taxRatePercent(const sl::S_COMPANY& company, int rateCode);

// Tax on a tax-added amount, round(r * a / 100), and the tax included in a
// tax-included amount, round(r * a / (r + 100)), with a tax rounding rule.
double addedTax(double amount, double ratePercent, int taxRule);
double includedTax(double amountWithTax, double ratePercent, int taxRule);

// True when every field of the line is zero.
bool isEmptyLine(const sl::S_SELSLIP& line);

// A line is complete when it has a kind and a name and, for kinds 1 and 2,
// a goods code.
bool isCompleteLine(const sl::S_SELSLIP& line);

// A slip number is assigned when it holds a character other than a blank.
bool hasSlipNumber(const sl::S_SELSLIPHD& header);

// Slip dates run from 18680101 to 29991231.
inline bool isValidSlipDate(std::int32_t date) { return date >= 18680101 && date <= 29991231; }

// A line's cost: for kinds 1 and 2, round(cost price x quantity) with the
// company's amount rule; 0 for every other kind.
double lineCost(const sl::S_SELSLIP& line, int amountRule);

// A line's gross profit, truncated to whole yen: kinds 1 and 2 amount -
// round(cost price x boxes) with the amount rule (quantity when boxes is
// zero); kinds 3, 4 and 7 the amount; every other kind 0.
double lineGrossProfit(const sl::S_SELSLIP& line, int amountRule);

// A value with thousands separators and no decimals ("-1,234,567").
QString formatThousands(double value);

// Blanks as wide as a caption (a half-width character counts 1, any other
// 2), shown in place of a hidden column's caption.
QString blankCaption(const QString& caption);

// Invoice registration numbers (適格請求書発行事業者登録番号): "T" and 13
// digits. Blanks, hyphens and full-width characters are accepted and
// removed; a lower-case t counts as T; the 13 digits alone are accepted too.
enum class InvoiceNoStatus {
  kEmpty,       // nothing given: not registered
  kBadFormat,   // not "T" and 13 digits
  kCorporate,   // the digits are a corporate number with a right check digit
  kFormatOnly,  // "T" and 13 digits whose check digit does not match the
                // corporate number rule (a sole proprietor's number)
};

struct InvoiceNoCheck {
  InvoiceNoStatus status = InvoiceNoStatus::kEmpty;
  QString number;  // "T" and 13 digits when the format is right, else empty
};

InvoiceNoCheck checkInvoiceNo(const QString& text);

// The check digit of a corporate number (法人番号) for its 12-digit base:
// 9 - (sum of the digits, from the right, weighted 1, 2, 1, 2, ...) mod 9.
// -1 when base is not 12 digits.
int corporateCheckDigit(const QString& base12);

}  // namespace hv6::sales
