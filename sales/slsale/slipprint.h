#pragma once
// The print of the sales slip shown in the sales slip window (CE30Wnd's
// F7 "印刷"), for the slip window to call (inside the library):
//
//   slsale::printSalesSlip(this, model.header(), model.lines(),
//                          model.company(), model.client());
//
// It prints the slip as 納品書, or as 適格請求書 when the company record has
// an invoice registration number (issuer and number, client, date, the
// lines with reduced-rate items marked "※", per tax rate the total and its
// tax). Pass the lines as the window holds them: printing stops at the
// first empty line. The target:
//   Preview  the print preview (print from it to a printer or a PDF file);
//   Printer  the printer kept in the settings for "E30" (the system's
//            default when none is kept), without a dialog;
//   Pdf      a PDF file at pdfPath (asked with a save dialog when empty).
// Failures are shown in a box (the slip is not changed). Returns true when
// something was printed or written (for Preview: when the preview was
// shown).

#include "outside/sl_jet/slrecords.h"

#include <QList>
#include <QString>

class QWidget;

namespace slsale {

enum class SlipPrintTarget { Preview, Printer, Pdf };

bool printSalesSlip(QWidget* parent, const sl::S_SELSLIPHD& header,
                    const QList<sl::S_SELSLIP>& lines, const sl::S_COMPANY& company,
                    const sl::S_CLIENTSEL& client,
                    SlipPrintTarget target = SlipPrintTarget::Preview,
                    const QString& pdfPath = {});

}  // namespace slsale
