#pragma once
// Settings records for the slip model tests: a company whose tax-rate
// table has 10 % at code 0 and 8 % at code 1, and a client of a timing and
// tax rounding.

#include "sales/model/slipmodel.h"

namespace hv6::sales::test {

constexpr std::uint8_t kRate10 = 0;
constexpr std::uint8_t kRate8 = 1;

inline sl::S_COMPANY company(std::uint8_t amountRule = sl::kRoundHalfUp) {
  sl::S_COMPANY c;
  c.amountRounding = amountRule;
  c.taxRates[kRate10] = 1000;
  c.taxRates[kRate8] = 800;
  c.reducedRate[kRate8] = 1;
  c.defaultTaxRateCode = kRate10;
  return c;
}

inline sl::S_CLIENTSEL client(std::uint8_t timing, std::uint8_t taxRule) {
  sl::S_CLIENTSEL c;
  c.code = 1;
  c.taxTiming = timing;
  c.taxRounding = taxRule;
  return c;
}

// A model with a new empty slip of the given rules and header rate.
inline void setUp(SlipModel& model, std::uint8_t timing, std::uint8_t taxRule,
                  std::uint8_t amountRule = sl::kRoundHalfUp, std::uint8_t headerRate = kRate10) {
  model.setCompany(company(amountRule));
  model.setClient(client(timing, taxRule));
  model.newSlip(sl::kKindCredit, 20240401);
  model.setHeaderTaxRateCode(headerRate);
}

}  // namespace hv6::sales::test
