#include "sales/model/slipcalc.h"

#include <cmath>

namespace hv6::sales {

double roundValue(double x, int rule, int d) {
  static constexpr double kPowers[] = {1, 10, 100, 1000, 10000, 100000};
  const double p = (d >= 1 && d <= 6) ? kPowers[d - 1] : std::pow(10.0, d - 1);
  const double a = std::fabs(x);
  double r = 0;
  switch (rule) {
    case sl::kRoundTruncate:
      r = std::floor(std::floor(10.0 * p * a + 0.0001) / 10.0) / p;
      break;
    case sl::kRoundUp:
      r = std::ceil(std::ceil(10.0 * p * a - 0.0001) / 10.0) / p;
      break;
    default:
      r = std::floor(p * a + 0.5) / p;
      break;
  }
  return (x < 0 && r != 0) ? -r : r;
}

double taxRatePercent(const sl::S_COMPANY& company, int rateCode) {
  if (rateCode < 0 || rateCode >= sl::kTaxRateSlots) return 0;
  return company.taxRates[rateCode] / 100.0;
}

double addedTax(double amount, double ratePercent, int taxRule) {
  return roundYen(ratePercent * amount / 100.0, taxRule);
}

double includedTax(double amountWithTax, double ratePercent, int taxRule) {
  if (isZero(ratePercent + 100.0)) return 0;
  return roundYen(ratePercent * amountWithTax / (ratePercent + 100.0), taxRule);
}

bool isEmptyLine(const sl::S_SELSLIP& line) {
  // A line with a kind is never empty: the whole compare only without one.
  static const sl::S_SELSLIP kEmpty;
  return line.kind == sl::kLineEmpty && line == kEmpty;
}

bool isCompleteLine(const sl::S_SELSLIP& line) {
  if (line.kind == sl::kLineEmpty || line.goodsName[0] == 0) return false;
  return (line.kind != sl::kLineSale && line.kind != sl::kLineReturn) || line.goodsCode[0] != 0;
}

bool hasSlipNumber(const sl::S_SELSLIPHD& header) {
  for (const char16_t c : header.slipNo) {
    if (c == 0) break;
    if (c != u' ') return true;
  }
  return false;
}

double lineCost(const sl::S_SELSLIP& line, int amountRule) {
  if (line.kind != sl::kLineSale && line.kind != sl::kLineReturn) return 0;
  return roundYen(line.costPrice * line.quantity, amountRule);
}

double lineGrossProfit(const sl::S_SELSLIP& line, int amountRule) {
  double profit = 0;
  switch (line.kind) {
    case sl::kLineSale:
    case sl::kLineReturn: {
      const double count = isZero(line.boxes) ? line.quantity : line.boxes;
      profit = line.amount - roundYen(line.costPrice * count, amountRule);
      break;
    }
    case sl::kLineGoodsDiscount:
    case sl::kLineTotalDiscount:
    case sl::kLineOther:
      profit = line.amount;
      break;
    default:
      return 0;
  }
  return roundValue(profit, sl::kRoundTruncate);
}

QString formatThousands(double value) {
  const long long whole = std::llround(value);
  const bool negative = whole < 0;
  // Digits of the magnitude, grouped by three from the right.
  unsigned long long magnitude = negative ? 0ULL - static_cast<unsigned long long>(whole)
                                          : static_cast<unsigned long long>(whole);
  QString digits = QString::number(magnitude);
  QString grouped;
  const qsizetype n = digits.size();
  for (qsizetype i = 0; i < n; ++i) {
    if (i > 0 && (n - i) % 3 == 0) grouped += QLatin1Char(',');
    grouped += digits.at(i);
  }
  return negative ? QLatin1Char('-') + grouped : grouped;
}

QString blankCaption(const QString& caption) {
  int width = 0;
  for (qsizetype i = 0; i < caption.size(); ++i) {
    const char16_t c = caption.at(i).unicode();
    if (QChar::isLowSurrogate(c)) continue;  // the pair counted at its first half
    width += (c < 0x80 || (c >= 0xFF61 && c <= 0xFF9F)) ? 1 : 2;
  }
  return QString(width, QLatin1Char(' '));
}

int corporateCheckDigit(const QString& base12) {
  if (base12.size() != 12) return -1;
  int sum = 0;
  for (int n = 1; n <= 12; ++n) {
    const QChar c = base12.at(12 - n);
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) return -1;
    sum += (c.unicode() - u'0') * (n % 2 == 1 ? 1 : 2);
  }
  return 9 - sum % 9;
}

InvoiceNoCheck checkInvoiceNo(const QString& text) {
  QString plain;
  for (const QChar ch : text) {
    char16_t c = ch.unicode();
    if (ch.isSpace() || c == u'-' || (c >= 0x2010 && c <= 0x2015) || c == 0x2212 ||
        c == 0xFF0D || c == 0x30FC)
      continue;
    if (c >= 0xFF10 && c <= 0xFF19) c = static_cast<char16_t>(u'0' + (c - 0xFF10));
    if (c == 0xFF34 || c == 0xFF54 || c == u't') c = u'T';
    plain += QChar(c);
  }
  InvoiceNoCheck result;
  if (plain.isEmpty()) return result;
  const QString digits = plain.startsWith(QLatin1Char('T')) ? plain.mid(1) : plain;
  bool allDigits = digits.size() == 13;
  for (const QChar c : digits)
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) allDigits = false;
  if (!allDigits) {
    result.status = InvoiceNoStatus::kBadFormat;
    return result;
  }
  result.number = QLatin1Char('T') + digits;
  result.status = corporateCheckDigit(digits.mid(1)) == digits.at(0).unicode() - u'0'
                      ? InvoiceNoStatus::kCorporate
                      : InvoiceNoStatus::kFormatOnly;
  return result;
}

}  // namespace hv6::sales
