#include "sales/reports/reportcommand.h"

#include "outside/sl_errmsg/errmsg.h"
#include "outside/sl_jet/seljetaccess.h"
#include "sales/reports/dailyreport.h"
#include "sales/reports/reportcsv.h"
#include "sales/reports/reportprint.h"
#include "sales/reports/shipping.h"

#include <QDate>
#include <QTextStream>

namespace hv6::sales {

namespace {

bool parseDate(const QString& text, std::int32_t& out) {
  if (text.size() != 8) return false;
  bool ok = false;
  const int value = text.toInt(&ok);
  if (!ok || !QDate(value / 10000, value / 100 % 100, value % 100).isValid()) return false;
  out = value;
  return true;
}

int usageError(QTextStream& err, const QString& why) {
  err << why << '\n' << reportCommandUsage() << '\n';
  err.flush();
  return 2;
}

int numbered(QTextStream& err, int number) {
  err << '[' << number << "] " << sl::CErrMsg::text(number) << '\n';
  err.flush();
  return 1;
}

}  // namespace

QString reportCommandUsage() {
  return QStringLiteral(
      "使い方: hv6-sales --report sales-daily|reservation-daily|shipping-schedule|shipping-goods "
      "--from YYYYMMDD --to YYYYMMDD (--pdf FILE | --csv FILE)");
}

bool isReportCommand(const QStringList& args) { return args.contains(QStringLiteral("--report")); }

int runReportCommand(const QStringList& args, sl::CSelJetAccess& jet, QTextStream& err,
                     const QString& workFolder) {
  QString kind, pdf, csv, fromText, toText;
  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString& a = args[i];
    QString* target = nullptr;
    if (a == QLatin1String("--report")) target = &kind;
    else if (a == QLatin1String("--from")) target = &fromText;
    else if (a == QLatin1String("--to")) target = &toText;
    else if (a == QLatin1String("--pdf")) target = &pdf;
    else if (a == QLatin1String("--csv")) target = &csv;
    else return usageError(err, QStringLiteral("不明な指定です: %1").arg(a));
    if (i + 1 >= args.size() || args[i + 1].startsWith(QLatin1String("--")))
      return usageError(err, QStringLiteral("%1 の値がありません。").arg(a));
    *target = args[++i];
  }
  static const QStringList kinds{QStringLiteral("sales-daily"), QStringLiteral("reservation-daily"),
                                 QStringLiteral("shipping-schedule"), QStringLiteral("shipping-goods")};
  const int which = static_cast<int>(kinds.indexOf(kind));
  if (which < 0) return usageError(err, QStringLiteral("帳票の種類が正しくありません: %1").arg(kind));
  std::int32_t from = 0, to = 0;
  if (!parseDate(fromText, from) || !parseDate(toText, to) || from > to)
    return usageError(err, QStringLiteral("日付は YYYYMMDD で、--from は --to 以前の日を指定してください。"));
  if (pdf.isEmpty() == csv.isEmpty())
    return usageError(err, QStringLiteral("--pdf と --csv のどちらか一方を指定してください。"));

  DailyReport daily;
  ShippingReport shipping;
  const ReportSource* report = nullptr;
  int result = 0;
  if (which <= 1) {
    DailyConditions c;
    c.mode = which;
    c.dateFrom = from;
    c.dateTo = to;
    c.listChoice = which == 0 ? kListSales : kListReservation;
    result = daily.aggregate(jet, c, {}, workFolder);
    report = &daily;
  } else {
    ShippingConditions c;
    c.view = which == 2 ? kViewSchedule : kViewGoods;
    c.dateFrom = from;
    c.dateTo = to;
    result = shipping.aggregate(jet, c, {}, workFolder);
    report = &shipping.view(c.view);
  }
  if (result != 0) return numbered(err, result);

  QString error;
  const bool written = pdf.isEmpty() ? writeReportCsv(*report, csv, &error)
                                     : writeReportPdf(*report, pdf, &error);
  if (!written) {
    err << QStringLiteral("ファイルを書き込めませんでした: %1 (%2)")
               .arg(pdf.isEmpty() ? csv : pdf, error)
        << '\n';
    err.flush();
    return 1;
  }
  return 0;
}

}  // namespace hv6::sales
