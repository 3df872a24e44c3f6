#pragma once
// The report windows' conditions dialogs as the windows fill and read
// them (inside the library): CE41dlg "売上伝票表示条件" of the daily
// reports and CE51Dlg "発送準備確認表 集計条件指定" of the shipping list.
// Their controls carry object names: dateFrom, dateTo, person, personName,
// slipKind, start (CE41dlg); view0, view1, dateFrom, dateTo, shipFrom,
// shipTo, inputKind, clientType, person, personName, shipState, start
// (CE51Dlg). Dates are typed "yyyy/mm/dd" (or yyyymmdd).

#include "sales/reports/dailyreport.h"
#include "sales/reports/shipping.h"

class QDialog;

namespace slsale {

// The 伝票区分 choice of CE41dlg, kept for the whole module (both daily
// reports); a reservation choice shows the first entry of the sales report.
int& rememberedSlipChoice();

// Fills CE41dlg for a report mode with the conditions shown.
void setUpE41(QDialog* dialog, int mode, const hv6::sales::DailyConditions& shown);
// The conditions CE41dlg holds (its list choice remembered when started).
hv6::sales::DailyConditions conditionsOfE41(const QDialog* dialog, int mode);

void setUpE51(QDialog* dialog, const hv6::sales::ShippingConditions& shown);
hv6::sales::ShippingConditions conditionsOfE51(const QDialog* dialog);

// A date text "yyyy/mm/dd" or "yyyymmdd": true with the date (0 for an
// empty text when empty is allowed).
bool parseDateText(const QString& text, bool emptyAllowed, std::int32_t& out);

}  // namespace slsale
