#include "shell/ui/printrun.h"

#include <QRegularExpression>

namespace hv6 {
namespace {

constexpr int kFirstYear = 1900;
constexpr int kLastYear = 2999;

// The value after an option, removed with it; empty when there is none.
bool takeOption(QStringList& arguments, const QString& option, QString& value) {
  const qsizetype at = arguments.indexOf(option);
  if (at < 0) return false;
  value = at + 1 < arguments.size() ? arguments.at(at + 1) : QString();
  arguments.remove(at, at + 1 < arguments.size() ? 2 : 1);
  return true;
}

}  // namespace

PrintRequest takePrintRequest(QStringList& arguments) {
  PrintRequest request;
  QString month;
  request.wanted = takeOption(arguments, QStringLiteral("--print"), month);
  const bool pdf = takeOption(arguments, QStringLiteral("--pdf"), request.pdfFile);
  if (!request.wanted) {
    if (pdf) request.error = QStringLiteral("--pdf needs --print YYYYMM");
    request.wanted = pdf;
    return request;
  }
  static const QRegularExpression yyyymm(QStringLiteral("^(\\d{4})(\\d{2})$"));
  const QRegularExpressionMatch match = yyyymm.match(month);
  if (match.hasMatch()) {
    request.year = match.captured(1).toInt();
    request.month = match.captured(2).toInt();
  }
  if (!match.hasMatch() || request.month < 1 || request.month > 12 || request.year < kFirstYear ||
      request.year > kLastYear)
    request.error = QStringLiteral("--print needs a month YYYYMM, not \"%1\"").arg(month);
  else if (request.pdfFile.isEmpty())
    request.error = QStringLiteral("--print needs --pdf FILE");
  return request;
}

}  // namespace hv6
