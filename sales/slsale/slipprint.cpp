#include "sales/slsale/slipprint.h"

#include "outside/sl_errmsg/errmsg.h"
#include "platform/file_chooser.h"
#include "platform/registry.h"
#include "sales/reports/printsettings.h"
#include "sales/reports/reportprint.h"
#include "sales/slsale/module.h"

#include <QPrintPreviewDialog>
#include <QPrinter>

namespace slsale {

namespace {

const QString kSlipPrintKey = QStringLiteral("E30");

sl::CErrMsg& errors() {
  static sl::CErrMsg local;
  return services().errMsg ? *services().errMsg : local;
}

void applySettings(QPrinter& printer) {
  hv6::RegistryStore store;
  hv6::sales::ReportPrintSettings settings;
  if (hv6::sales::loadPrintSettings(store, kSlipPrintKey, settings)) {
    if (!settings.printerName.isEmpty()) printer.setPrinterName(settings.printerName);
    printer.setCopyCount(settings.copies);
  }
}

}  // namespace

bool printSalesSlip(QWidget* parent, const sl::S_SELSLIPHD& header,
                    const QList<sl::S_SELSLIP>& lines, const sl::S_COMPANY& company,
                    const sl::S_CLIENTSEL& client, SlipPrintTarget target,
                    const QString& pdfPath) {
  switch (target) {
    case SlipPrintTarget::Pdf: {
      QString path = pdfPath;
      if (path.isEmpty()) {
        hv6::FileChoice choice;
        choice.title = QStringLiteral("PDF出力");
        choice.startFolder = QStringLiteral("%1_%2.pdf")
                                 .arg(hv6::sales::printsAsInvoice(company) ? QStringLiteral("適格請求書")
                                                                           : QStringLiteral("納品書"),
                                      sl::slText(header.slipNo).trimmed());
        choice.filter = QStringLiteral("PDF (*.pdf)");
        choice.parent = parent;
        path = hv6::fileChooser().chooseFileToSave(choice);
        if (path.isEmpty()) return false;
      }
      QString error;
      if (hv6::sales::writeSalesSlipPdf(path, header, lines, company, client, &error)) return true;
      errors().DispText(QStringLiteral("PDFファイルを書き込めませんでした。\n%1").arg(error), parent);
      return false;
    }
    case SlipPrintTarget::Printer: {
      QPrinter printer(QPrinter::HighResolution);
      applySettings(printer);
      if (!printer.isValid() ||
          hv6::sales::printSalesSlip(printer, header, lines, company, client) == 0) {
        errors().DispText(QStringLiteral("印刷できませんでした。\nプリンタの設定を確認してください。"), parent);
        return false;
      }
      return true;
    }
    case SlipPrintTarget::Preview: {
      QPrinter printer(QPrinter::HighResolution);
      applySettings(printer);
      QPrintPreviewDialog dialog(&printer, parent);
      dialog.setObjectName(QStringLiteral("slipPreview"));
      dialog.setWindowTitle(hv6::sales::printsAsInvoice(company) ? QStringLiteral("適格請求書")
                                                                 : QStringLiteral("納品書"));
      QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&](QPrinter* device) {
        hv6::sales::printSalesSlip(*device, header, lines, company, client);
      });
      dialog.exec();
      return true;
    }
  }
  return false;
}

}  // namespace slsale
