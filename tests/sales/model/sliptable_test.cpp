// A table of slips entered cell by cell as the grid would, each with its
// totals worked out by hand from the rules in the comment beside it.
//
// Notation: T1 per line, T2 per slip, T3 at the billing close; "tax tr/up/hu"
// the client's tax rounding (truncate, round up, half up), "amt" the
// company's amount rounding; rates 10 % (code 0) and 8 % (code 1).
// A line's amount is round_amt(quantity x price); 外税 tax per line is
// round_tax(r x A / 100); 内税 tax is round_tax(r x G / (r + 100)) of the
// typed G and the amount becomes G - tax; rounding is symmetric about zero.
// Expected: taxable (外税), taxable (内税), untaxed, tax total, included
// tax, adjustment tax, grand total, cost total, gross profit total.
#include "tests/sales/model/salesfixture.h"

#include <gtest/gtest.h>

#include <vector>

namespace hv6::sales {
namespace {

constexpr std::uint8_t T1 = sl::kTimingPerLine;
constexpr std::uint8_t T2 = sl::kTimingPerSlip;
constexpr std::uint8_t T3 = sl::kTimingAtClose;
constexpr std::uint8_t TR = sl::kRoundTruncate;
constexpr std::uint8_t UP = sl::kRoundUp;
constexpr std::uint8_t HU = sl::kRoundHalfUp;
constexpr std::uint8_t R10 = test::kRate10;
constexpr std::uint8_t R8 = test::kRate8;
constexpr std::uint8_t ADD = sl::kTaxAdded;
constexpr std::uint8_t INC = sl::kTaxIncluded;
constexpr std::uint8_t FREE = sl::kTaxFree;
constexpr std::uint8_t EXEMPT = sl::kTaxExempt;
constexpr std::uint8_t OUTSIDE = sl::kTaxOutside;

struct LineInput {
  std::uint8_t kind = 0;  // 0: the row is left empty
  double quantity = 0;
  double price = 0;
  double amount = 0;  // typed amount; the typed tax of kind 9
  std::uint8_t taxClass = ADD;
  std::uint8_t rate = R10;
  double cost = 0;
};

LineInput sale(double q, double p, std::uint8_t c = ADD, std::uint8_t r = R10, double cost = 0) {
  return {sl::kLineSale, q, p, 0, c, r, cost};
}
// The quantity is typed positive; the model stores it negative.
LineInput ret(double q, double p, std::uint8_t c = ADD, std::uint8_t r = R10, double cost = 0) {
  return {sl::kLineReturn, q, p, 0, c, r, cost};
}
// Typed positive, stored negative; class and rate come from the line above.
LineInput disc(double amount) { return {sl::kLineGoodsDiscount, 0, 0, amount, ADD, R10, 0}; }
LineInput tdisc(double amount, std::uint8_t c = ADD, std::uint8_t r = R10) {
  return {sl::kLineTotalDiscount, 0, 0, amount, c, r, 0};
}
LineInput adv(double amount) { return {sl::kLineAdvance, 0, 0, amount, OUTSIDE, R10, 0}; }
LineInput ship(double amount) { return {sl::kLineShipping, 0, 0, amount, OUTSIDE, R10, 0}; }
LineInput other(double amount, std::uint8_t c = ADD, std::uint8_t r = R10) {
  return {sl::kLineOther, 0, 0, amount, c, r, 0};
}
LineInput memo() { return {sl::kLineMemo, 0, 0, 0, ADD, R10, 0}; }
LineInput adj(double tax) { return {sl::kLineTaxAdjust, 0, 0, tax, ADD, R10, 0}; }
LineInput gap() { return {}; }

struct Totals {
  double taxOut, taxIn, noTax, taxTotal, inTax, adjustTax, grand, cost, gross;
};

struct RateExpect {
  std::uint8_t code;
  double taxOut, taxIn, tax;
};

struct SlipCase {
  const char* name;
  std::uint8_t timing, taxRule, amountRule, headerRate;
  std::vector<LineInput> lines;
  Totals expected;
  std::vector<RateExpect> rates = {};
};

const std::vector<LineInput> kEverything = {
    sale(2, 1234, ADD, R8), disc(68), ret(1, 1234, ADD, R8), tdisc(100, ADD, R8), adv(300), adj(2)};

const std::vector<SlipCase> kCases = {
    // ---- one 外税 sale line, the tax rules ----
    // A = 10 x 123.4 = 1234; 10 %: 123.4 -> 123; cost 100 x 10 = 1000; profit 234.
    {"add10_tr", T1, TR, HU, R10, {sale(10, 123.4, ADD, R10, 100)},
     {1234, 0, 0, 123, 0, 0, 1357, 1000, 234}},
    // 123.4 rounded up -> 124; 1234 + 124 = 1358.
    {"add10_up", T1, UP, HU, R10, {sale(10, 123.4, ADD, R10, 100)},
     {1234, 0, 0, 124, 0, 0, 1358, 1000, 234}},
    // 123.4 half up -> 123.
    {"add10_hu", T1, HU, HU, R10, {sale(10, 123.4, ADD, R10, 100)},
     {1234, 0, 0, 123, 0, 0, 1357, 1000, 234}},
    // 8 %: 8 x 1234 / 100 = 98.72 -> 98; 1234 + 98 = 1332.
    {"add8_tr", T1, TR, HU, R8, {sale(10, 123.4, ADD, R8)}, {1234, 0, 0, 98, 0, 0, 1332, 0, 1234}},
    // 98.72 half up -> 99; 1333.
    {"add8_hu", T1, HU, HU, R8, {sale(10, 123.4, ADD, R8)}, {1234, 0, 0, 99, 0, 0, 1333, 0, 1234}},
    // 98.72 up -> 99; 1333.
    {"add8_up", T1, UP, HU, R8, {sale(10, 123.4, ADD, R8)}, {1234, 0, 0, 99, 0, 0, 1333, 0, 1234}},

    // ---- the amount rule ----
    // 3 x 33.5 = 100.5 half up -> 101; 10.1 -> 10; 111.
    {"amount_hu", T1, TR, HU, R10, {sale(3, 33.5)}, {101, 0, 0, 10, 0, 0, 111, 0, 101}},
    // 100.5 truncated -> 100; 10; 110.
    {"amount_tr", T1, TR, TR, R10, {sale(3, 33.5)}, {100, 0, 0, 10, 0, 0, 110, 0, 100}},
    // 100.5 up -> 101; tax up 10.1 -> 11; 112.
    {"amount_up", T1, UP, UP, R10, {sale(3, 33.5)}, {101, 0, 0, 11, 0, 0, 112, 0, 101}},
    // 2.5 x 99.9 = 249.75 truncated -> 249; 24.9 half up -> 25; 274.
    {"fraction_tr", T1, HU, TR, R10, {sale(2.5, 99.9)}, {249, 0, 0, 25, 0, 0, 274, 0, 249}},
    // 249.75 up -> 250; 25; 275.
    {"fraction_up", T1, HU, UP, R10, {sale(2.5, 99.9)}, {250, 0, 0, 25, 0, 0, 275, 0, 250}},
    // 1.5 x 101 = 151.5 half up -> 152; 15.2 -> 15; 167.
    {"fraction_hu", T1, HU, HU, R10, {sale(1.5, 101)}, {152, 0, 0, 15, 0, 0, 167, 0, 152}},

    // ---- 内税 ----
    // G = 1080; 8 x 1080 / 108 = 80; A = 1000.
    {"inc8_1080", T1, TR, HU, R8, {sale(1, 1080, INC, R8)}, {0, 1000, 0, 80, 80, 0, 1080, 0, 1000}},
    // G = 2 x 500 = 1000; 8000 / 108 = 74.07 -> 74; A = 926.
    {"inc8_tr", T1, TR, HU, R8, {sale(2, 500, INC, R8)}, {0, 926, 0, 74, 74, 0, 1000, 0, 926}},
    // 74.07 up -> 75; A = 925.
    {"inc8_up", T1, UP, HU, R8, {sale(2, 500, INC, R8)}, {0, 925, 0, 75, 75, 0, 1000, 0, 925}},
    // 10 %: 10 x 1000 / 110 = 90.91 half up -> 91; A = 909.
    {"inc10_hu", T1, HU, HU, R10, {sale(1, 1000, INC, R10)}, {0, 909, 0, 91, 91, 0, 1000, 0, 909}},
    // 内税 per slip: the line's included tax counts as it is (same figures).
    {"inc10_perslip", T2, HU, HU, R10, {sale(1, 1000, INC, R10)}, {0, 909, 0, 91, 91, 0, 1000, 0, 909}},

    // ---- untaxed classes ----
    // 4 x 250 = 1000 非課税.
    {"free", T1, TR, HU, R10, {sale(4, 250, FREE)}, {0, 0, 1000, 0, 0, 0, 1000, 0, 1000}},
    // 3 x 333 = 999 免税.
    {"exempt", T1, TR, HU, R10, {sale(3, 333, EXEMPT)}, {0, 0, 999, 0, 0, 0, 999, 0, 999}},
    // 5000 不課税; cost 3000; profit 2000.
    {"outside", T1, TR, HU, R10, {sale(1, 5000, OUTSIDE, R10, 3000)}, {0, 0, 5000, 0, 0, 0, 5000, 3000, 2000}},
    // 外税 1000 (tax 100) + 内税 1100 (100 included, A 1000) + 非課税 300:
    // tax 200, grand 1000 + 1000 + 300 + 200 = 2500.
    {"mixed_classes", T1, TR, HU, R10, {sale(10, 100), sale(1, 1100, INC), sale(1, 300, FREE)},
     {1000, 1000, 300, 200, 100, 0, 2500, 0, 2300}},

    // ---- returns ----
    // 1000 (100) and -3 x 100 = -300 (-30): 700, 70, 770.
    {"return_tr", T1, TR, HU, R10, {sale(10, 100), ret(3, 100)}, {700, 0, 0, 70, 0, 0, 770, 0, 700}},
    // 8 %: 1005 -> 80.4 -> 80; -1010 -> -80.8 -> -80 (truncated toward
    // zero); out -5, tax 0.
    {"return8_tr", T1, TR, HU, R8, {sale(1, 1005, ADD, R8), ret(1, 1010, ADD, R8)},
     {-5, 0, 0, 0, 0, 0, -5, 0, -5}},
    // half up: 80 and -81; tax -1; -6.
    {"return8_hu", T1, HU, HU, R8, {sale(1, 1005, ADD, R8), ret(1, 1010, ADD, R8)},
     {-5, 0, 0, -1, 0, 0, -6, 0, -5}},
    // up: 81 and -81; tax 0.
    {"return8_up", T1, UP, HU, R8, {sale(1, 1005, ADD, R8), ret(1, 1010, ADD, R8)},
     {-5, 0, 0, 0, 0, 0, -5, 0, -5}},
    // 内税 sale 1100 (100 included) and its return -1100 (-100): all 0.
    {"return_inc", T1, TR, HU, R10, {sale(1, 1100, INC), ret(1, 1100, INC)}, {0, 0, 0, 0, 0, 0, 0, 0, 0}},
    // -2.5 x 99.9 = -249.75 half up -> -250; -25.0 -> -25; -275.
    {"return_fraction", T1, HU, HU, R10, {ret(2.5, 99.9)}, {-250, 0, 0, -25, 0, 0, -275, 0, -250}},
    // Cost 60: sale 1000, cost 600, profit 400; return -200, cost -120,
    // profit -200 + 120 = -80; taxes 100 - 20.
    {"return_cost", T1, TR, HU, R10, {sale(10, 100, ADD, R10, 60), ret(2, 100, ADD, R10, 60)},
     {800, 0, 0, 80, 0, 0, 880, 480, 320}},

    // ---- goods discounts ----
    // 1000 (100), discount -100 (-10): 900, 90, 990.
    {"disc_add", T1, TR, HU, R10, {sale(10, 100), disc(100)}, {900, 0, 0, 90, 0, 0, 990, 0, 900}},
    // 内税 8 %: 1080 -> 1000 + 80; -108 -> -100 + -8: 900, 72, 972.
    {"disc_inc8", T1, TR, HU, R8, {sale(1, 1080, INC, R8), disc(108)}, {0, 900, 0, 72, 72, 0, 972, 0, 900}},
    // 2000 (200), cost 1500; discount -250 (-25): 1750, 175, 1925;
    // profit 500 - 250 = 250.
    {"disc_cost", T1, HU, HU, R10, {sale(10, 200, ADD, R10, 150), disc(250)},
     {1750, 0, 0, 175, 0, 0, 1925, 1500, 250}},
    // 8 %: 999 -> 79.92 -> 80; -99 -> -7.92 -> -8: 900, 72, 972.
    {"disc8_hu", T1, HU, HU, R8, {sale(3, 333, ADD, R8), disc(99)}, {900, 0, 0, 72, 0, 0, 972, 0, 900}},
    // per slip: 999 - 99 = 900; 72.0 -> 72.
    {"disc8_perslip", T2, TR, HU, R8, {sale(3, 333, ADD, R8), disc(99)}, {900, 0, 0, 72, 0, 0, 972, 0, 900}},
    // 非課税 goods: the discount is 非課税 too: 1000 - 100.
    {"disc_free", T1, TR, HU, R10, {sale(1, 1000, FREE), disc(100)}, {0, 0, 900, 0, 0, 0, 900, 0, 900}},
    // The discount takes the goods line's 8 % under a 10 % header: 1000
    // (80), -100 (-8).
    {"disc_rate8", T1, TR, HU, R10, {sale(10, 100, ADD, R8), disc(100)}, {900, 0, 0, 72, 0, 0, 972, 0, 900}},

    // ---- total discounts ----
    // 1000 (100), -50 (-5): 950, 95, 1045.
    {"tdisc_add", T1, TR, HU, R10, {sale(10, 100), tdisc(50)}, {950, 0, 0, 95, 0, 0, 1045, 0, 950}},
    // 非課税 total discount: untaxed -50; 1000 + 100 - 50.
    {"tdisc_free", T1, TR, HU, R10, {sale(10, 100), tdisc(50, FREE)}, {1000, 0, -50, 100, 0, 0, 1050, 0, 950}},
    // per slip: 7 x 143 = 1001, -1: 1000 -> 100; 1100.
    {"tdisc_perslip", T2, HU, HU, R10, {sale(7, 143), tdisc(1)}, {1000, 0, 0, 100, 0, 0, 1100, 0, 1000}},
    // 内税: 1100 -> 1000 + 100; -110 -> -100 + -10: 900, 90, 990.
    {"tdisc_inc", T1, TR, HU, R10, {sale(1, 1100, INC), tdisc(110, INC)}, {0, 900, 0, 90, 90, 0, 990, 0, 900}},

    // ---- charges and other amounts ----
    // 1000 (100) + 立替金 500 + 預り送料 800 untaxed: 2400; no profit on charges.
    {"charges", T1, TR, HU, R10, {sale(10, 100), adv(500), ship(800)}, {1000, 0, 1300, 100, 0, 0, 2400, 0, 1000}},
    // その他 外税 8 %: 98.72 -> 99; 1333.
    {"other_add8", T1, HU, HU, R8, {other(1234, ADD, R8)}, {1234, 0, 0, 99, 0, 0, 1333, 0, 1234}},
    // その他 内税 10 %: 12340 / 110 = 112.18 -> 112; A 1122.
    {"other_inc10", T1, TR, HU, R10, {other(1234, INC)}, {0, 1122, 0, 112, 112, 0, 1234, 0, 1122}},
    // その他 非課税 700.
    {"other_free", T1, TR, HU, R10, {other(700, FREE)}, {0, 0, 700, 0, 0, 0, 700, 0, 700}},

    // ---- adjustment tax ----
    // 999 -> 99.9 -> 99, adjustment 1: tax 100, 1099.
    {"adj_perline", T1, TR, HU, R10, {sale(1, 999), adj(1)}, {999, 0, 0, 100, 0, 1, 1099, 0, 999}},
    // per slip: 99.9 -> 99, + 1.
    {"adj_perslip", T2, TR, HU, R10, {sale(1, 999), adj(1)}, {999, 0, 0, 100, 0, 1, 1099, 0, 999}},
    // at close: only the adjustment 5.
    {"adj_atclose", T3, TR, HU, R10, {sale(1, 999), adj(5)}, {999, 0, 0, 5, 0, 5, 1004, 0, 999}},
    // a negative adjustment alone.
    {"adj_negative", T1, TR, HU, R10, {adj(-3)}, {0, 0, 0, -3, 0, -3, -3, 0, 0}},

    // ---- timings ----
    // at close, 8 %: 内税 1080 (80 included) and 外税 1000 with no tax: 2080.
    {"atclose_mixed", T3, TR, HU, R8, {sale(1, 1080, INC, R8), sale(1, 1000, ADD, R8)},
     {1000, 1000, 0, 80, 80, 0, 2080, 0, 2000}},
    // Two 10-yen lines at 8 %: per slip 1.6 -> 1.
    {"two_tens_perslip", T2, TR, HU, R8, {sale(1, 10, ADD, R8), sale(1, 10, ADD, R8)},
     {20, 0, 0, 1, 0, 0, 21, 0, 20}},
    // per line 0.8 -> 0 twice.
    {"two_tens_perline", T1, TR, HU, R8, {sale(1, 10, ADD, R8), sale(1, 10, ADD, R8)},
     {20, 0, 0, 0, 0, 0, 20, 0, 20}},
    // per slip half up: 2468 -> 246.8 -> 247.
    {"perslip_hu", T2, HU, HU, R10, {sale(1, 1234), sale(1, 1234)}, {2468, 0, 0, 247, 0, 0, 2715, 0, 2468}},
    // per line half up: 123.4 -> 123 twice.
    {"perline_hu", T1, HU, HU, R10, {sale(1, 1234), sale(1, 1234)}, {2468, 0, 0, 246, 0, 0, 2714, 0, 2468}},
    // per slip up, 8 %: 203 -> 16.24 -> 17.
    {"perslip_up8", T2, UP, HU, R8, {sale(1, 101, ADD, R8), sale(1, 102, ADD, R8)},
     {203, 0, 0, 17, 0, 0, 220, 0, 203}},
    // per slip 8 %: 外税 1000 -> 80, 内税 540 -> 40 included, A 500: 120, 1620.
    {"perslip_inc", T2, TR, HU, R8, {sale(1, 1000, ADD, R8), sale(1, 540, INC, R8)},
     {1000, 500, 0, 120, 40, 0, 1620, 0, 1500}},
    // per slip: 1050 - 315 = 735 -> 73.5 -> 73; 808.
    {"perslip_return", T2, TR, HU, R10, {sale(10, 105), ret(3, 105)}, {735, 0, 0, 73, 0, 0, 808, 0, 735}},
    // per slip: 100 - 200 = -100 -> -10; -110.
    {"perslip_negative", T2, HU, HU, R10, {sale(1, 100), ret(2, 100)}, {-100, 0, 0, -10, 0, 0, -110, 0, -100}},
    // per slip: 100 - 105 = -5 -> -0.5 half up -> -1; -6.
    {"perslip_half_hu", T2, HU, HU, R10, {sale(1, 100), ret(1, 105)}, {-5, 0, 0, -1, 0, 0, -6, 0, -5}},
    // -0.5 truncated -> 0; -5.
    {"perslip_half_tr", T2, TR, HU, R10, {sale(1, 100), ret(1, 105)}, {-5, 0, 0, 0, 0, 0, -5, 0, -5}},
    // per slip up: -5 -> -0.5 -> -1.
    {"perslip_half_up", T2, UP, HU, R10, {sale(1, 100), ret(1, 105)}, {-5, 0, 0, -1, 0, 0, -6, 0, -5}},

    // ---- two rates on one slip ----
    // per line: 1000 at 10 % (100) and 1000 at 8 % (80): 180, 2180.
    {"rates_perline", T1, TR, HU, R10, {sale(1, 1000, ADD, R10), sale(1, 1000, ADD, R8)},
     {2000, 0, 0, 180, 0, 0, 2180, 0, 2000},
     {{R10, 1000, 0, 100}, {R8, 1000, 0, 80}}},
    // per slip, once per rate: 8 % 15 + 15 = 30 -> 2.4 -> 2; 10 % 15 -> 1.5
    // -> 1; 3 (one rounding at 10 % would give 4.5 -> 4).
    {"rates_perslip_tr", T2, TR, HU, R10, {sale(1, 15, ADD, R8), sale(1, 15, ADD, R8), sale(1, 15, ADD, R10)},
     {45, 0, 0, 3, 0, 0, 48, 0, 45},
     {{R10, 15, 0, 1}, {R8, 30, 0, 2}}},
    // per slip half up: 1005 at 10 % -> 100.5 -> 101; at 8 % -> 80.4 -> 80.
    {"rates_perslip_hu", T2, HU, HU, R10, {sale(1, 1005, ADD, R10), sale(1, 1005, ADD, R8)},
     {2010, 0, 0, 181, 0, 0, 2191, 0, 2010},
     {{R10, 1005, 0, 101}, {R8, 1005, 0, 80}}},
    // per slip up: 1001 -> 100.1 -> 101 and 80.08 -> 81.
    {"rates_perslip_up", T2, UP, HU, R10, {sale(1, 1001, ADD, R10), sale(1, 1001, ADD, R8)},
     {2002, 0, 0, 182, 0, 0, 2184, 0, 2002},
     {{R10, 1001, 0, 101}, {R8, 1001, 0, 81}}},
    // 内税 at both rates: 1100 -> 100 + 1000; 1080 -> 80 + 1000.
    {"rates_inc", T1, TR, HU, R10, {sale(1, 1100, INC, R10), sale(1, 1080, INC, R8)},
     {0, 2000, 0, 180, 180, 0, 2180, 0, 2000},
     {{R10, 0, 1000, 100}, {R8, 0, 1000, 80}}},
    // at close: 外税 1000 at 10 % no tax; 内税 540 at 8 % (40, A 500).
    {"rates_atclose", T3, TR, HU, R10, {sale(1, 1000, ADD, R10), sale(1, 540, INC, R8)},
     {1000, 500, 0, 40, 40, 0, 1540, 0, 1500},
     {{R10, 1000, 0, 0}, {R8, 0, 500, 40}}},
    // per slip: 8 % 1000 - 100 = 900 -> 72; 10 % 500 -> 50; 122, 1522.
    {"rates_perslip_disc", T2, TR, HU, R10, {sale(10, 100, ADD, R8), disc(100), sale(1, 500, ADD, R10)},
     {1400, 0, 0, 122, 0, 0, 1522, 0, 1400},
     {{R10, 500, 0, 50}, {R8, 900, 0, 72}}},

    // ---- cost by the amount rule ----
    // cost 33.3 x 3 = 99.9 truncated -> 99; profit 300 - 99 = 201; tax 30.
    {"cost_tr", T1, TR, TR, R10, {sale(3, 100, ADD, R10, 33.3)}, {300, 0, 0, 30, 0, 0, 330, 99, 201}},
    // up -> 100; profit 200.
    {"cost_up", T1, TR, UP, R10, {sale(3, 100, ADD, R10, 33.3)}, {300, 0, 0, 30, 0, 0, 330, 100, 200}},

    // ---- whole slips ----
    // 8 % half up: 2468 (197.44 -> 197), discount -68 (-5.44 -> -5), return
    // -1234 (-98.72 -> -99), total discount -100 (-8), 立替金 300, adjustment
    // 2. 外税 2468 - 68 - 1234 - 100 = 1066; tax 197 - 5 - 99 - 8 + 2 = 87;
    // 1066 + 300 + 87 = 1453; profit 1066.
    {"everything_perline", T1, HU, HU, R8, kEverything, {1066, 0, 300, 87, 0, 2, 1453, 0, 1066}},
    // per slip truncated: 1066 x 0.08 = 85.28 -> 85, + 2 = 87.
    {"everything_perslip", T2, TR, HU, R8, kEverything, {1066, 0, 300, 87, 0, 2, 1453, 0, 1066}},
    // at close: only the adjustment 2; 1066 + 300 + 2 = 1368.
    {"everything_atclose", T3, TR, HU, R8, kEverything, {1066, 0, 300, 2, 0, 2, 1368, 0, 1066}},
    // A memo line counts nothing: 1000, 100, 1100.
    {"memo_first", T1, TR, HU, R10, {memo(), sale(10, 100)}, {1000, 0, 0, 100, 0, 0, 1100, 0, 1000}},
    // The totals stop at the empty row; cost and profit take every line:
    // 1000 (100); profit 1000 + 500.
    {"gap", T1, TR, HU, R10, {sale(10, 100), gap(), sale(5, 100)}, {1000, 0, 0, 100, 0, 0, 1100, 0, 1500}},
};

void enter(SlipModel& m, int row, const LineInput& s) {
  if (s.kind == sl::kLineEmpty) return;
  ASSERT_EQ(m.setKind(row, s.kind), 0) << "row " << row;
  switch (s.kind) {
    case sl::kLineSale:
    case sl::kLineReturn:
      ASSERT_TRUE(m.setTaxClass(row, s.taxClass));
      m.setTaxRateCode(row, s.rate);
      m.setUnitPrice(row, s.price);
      m.setQuantity(row, s.quantity);
      m.setCostPrice(row, s.cost);
      break;
    case sl::kLineTotalDiscount:
    case sl::kLineOther:
      ASSERT_TRUE(m.setTaxClass(row, s.taxClass));
      m.setTaxRateCode(row, s.rate);
      m.setAmount(row, s.amount);
      break;
    case sl::kLineMemo:
      m.setName(row, QStringLiteral("朝どり出荷分"));
      break;
    default:  // discounts, charges, adjustments: the amount (tax) only
      m.setAmount(row, s.amount);
      break;
  }
}

TEST(SlipTable, TotalsWorkedOutByHand) {
  ASSERT_GE(kCases.size(), 60u);
  for (const SlipCase& c : kCases) {
    SCOPED_TRACE(c.name);
    SlipModel m;
    test::setUp(m, c.timing, c.taxRule, c.amountRule, c.headerRate);
    for (std::size_t i = 0; i < c.lines.size(); ++i) enter(m, static_cast<int>(i), c.lines[i]);
    const sl::S_SELSLIPHD& h = m.header();
    const Totals& e = c.expected;
    EXPECT_EQ(h.taxOutAmount, e.taxOut);
    EXPECT_EQ(h.taxInAmount, e.taxIn);
    EXPECT_EQ(h.noTaxAmount, e.noTax);
    EXPECT_EQ(h.taxTotal, e.taxTotal);
    EXPECT_EQ(h.inTax, e.inTax);
    EXPECT_EQ(h.adjustTax, e.adjustTax);
    EXPECT_EQ(h.grandTotal, e.grand);
    EXPECT_EQ(m.costTotal(), e.cost);
    EXPECT_EQ(m.grossProfitTotal(), e.gross);
    // The taxes of the rates add up to the tax total.
    double rateTaxes = 0;
    for (const sl::S_RATETOTAL& r : h.rates) rateTaxes += r.tax;
    EXPECT_EQ(rateTaxes, h.taxTotal);
    for (std::size_t i = 0; i < c.rates.size(); ++i) {
      const sl::S_RATETOTAL& r = h.rates[i];
      const RateExpect& x = c.rates[i];
      EXPECT_EQ(r.used, 1) << i;
      EXPECT_EQ(r.rateCode, x.code) << i;
      EXPECT_EQ(r.taxOutAmount, x.taxOut) << i;
      EXPECT_EQ(r.taxInAmount, x.taxIn) << i;
      EXPECT_EQ(r.tax, x.tax) << i;
    }
    if (!c.rates.empty() && c.rates.size() < static_cast<std::size_t>(sl::kRateTotals)) {
      EXPECT_EQ(h.rates[c.rates.size()].used, 0);
    }
  }
}

}  // namespace
}  // namespace hv6::sales
