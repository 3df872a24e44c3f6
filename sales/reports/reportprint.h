#pragma once
// Printing of the reports and of a sales slip, drawn by us on A4 pages of
// any paged device: a printer, the print preview's printer, or a PDF
// writer.
//
// A report page: the title, the conditions and the date printed, the
// captions of the columns, the lines (totals lines shaded), the page number
// "n / N" at the foot; the closing lines and the summary after the last
// line. A number too wide for its field prints as the report's dots. A
// report wider than a portrait page prints on landscape pages.
//
// A sales slip prints as 納品書, or as 適格請求書 when the company has an
// invoice registration number: issuer with its registration number,
// client, date and number, the lines with reduced-rate items marked "※",
// and per tax rate the total and its tax.

#include "outside/sl_jet/slrecords.h"
#include "sales/reports/reporttable.h"

#include <QDateTime>
#include <QList>
#include <QString>

class QPagedPaintDevice;

namespace hv6::sales {

// Paints the report; the number of pages, 0 when the device cannot be
// painted on.
int printReport(const ReportSource& report, QPagedPaintDevice& device,
                const QDateTime& printed = QDateTime::currentDateTime());
// The pages the report takes on A4 (as printReport lays them out).
int reportPageCount(const ReportSource& report);
// Writes the report as a PDF file, whole or not at all.
bool writeReportPdf(const ReportSource& report, const QString& path, QString* error = nullptr,
                    const QDateTime& printed = QDateTime::currentDateTime());

// Per tax rate of a slip: the taxable amount without tax and the tax.
struct RateFigures {
  int rateCode = 0;
  double percent = 0;
  bool reduced = false;
  double amount = 0;  // without tax
  double tax = 0;
};

// The figures per tax rate of a slip's lines (tax-added and tax-included
// lines and tax adjustments), in rate-code order, with the tax the
// client's timing and rounding give: per line the lines' taxes, per slip
// the added tax rounded once per rate, at the close no added tax.
QList<RateFigures> slipRateFigures(const QList<sl::S_SELSLIP>& lines, const sl::S_COMPANY& company,
                                   const sl::S_CLIENTSEL& client);

// True when the slip prints as a qualified invoice.
bool printsAsInvoice(const sl::S_COMPANY& company);

// Paints the slip; the number of pages, 0 when the device cannot be
// painted on.
int printSalesSlip(QPagedPaintDevice& device, const sl::S_SELSLIPHD& header,
                   const QList<sl::S_SELSLIP>& lines, const sl::S_COMPANY& company,
                   const sl::S_CLIENTSEL& client);
bool writeSalesSlipPdf(const QString& path, const sl::S_SELSLIPHD& header,
                       const QList<sl::S_SELSLIP>& lines, const sl::S_COMPANY& company,
                       const sl::S_CLIENTSEL& client, QString* error = nullptr);

}  // namespace hv6::sales
