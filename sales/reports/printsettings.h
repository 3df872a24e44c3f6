#pragma once
// The printer settings of each report, kept in the settings below the
// system's registry root (the string value "Print<report>" of its key
// "Environment": the printer's name, a tab, the number of copies). The
// report names are those of ReportSource::printKey ("E20", "E40", "E50A",
// "E50B") and "E30" for the sales slip.

#include <QString>

namespace hv6 {
class RegistryStore;
}

namespace hv6::sales {

struct ReportPrintSettings {
  QString printerName;  // empty: the system's default printer
  int copies = 1;
};

// False (settings left as they were) when none are kept for the report.
bool loadPrintSettings(const hv6::RegistryStore& store, const QString& report,
                       ReportPrintSettings& out);
// False when the settings could not be written (no registry root).
bool savePrintSettings(hv6::RegistryStore& store, const QString& report,
                       const ReportPrintSettings& settings);

}  // namespace hv6::sales
