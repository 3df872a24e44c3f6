#pragma once
// "hv6 --print YYYYMM --pdf FILE": print one month of the calendar to a PDF
// file without a window, beside a running hv6.

#include <QString>
#include <QStringList>

namespace hv6 {

struct PrintRequest {
  bool wanted = false;
  int year = 0;
  int month = 0;
  QString pdfFile;
  QString error;  // why the arguments are unusable; empty when they are fine
};

// Takes "--print YYYYMM" and "--pdf FILE" out of the arguments.
PrintRequest takePrintRequest(QStringList& arguments);

}  // namespace hv6
