#pragma once
// The sales and the reservation daily report without widgets: the
// aggregation of the slips of a date range into a work file of 186-byte
// rows (a row per slip line, a slip total after each slip and a day total
// after each day), the running figures and the summary by tax group, and
// the rows as report lines for the list, the printout and the text output.
//
// Row layout (little-endian, texts code page 932 padded with zeros):
//   0 int32 slip date   4 char[14] slip number   18 slip kind   19 line no
//   20 line kind  21 tax class  22 tax-rate code  23 simplified-tax class
//   24 int32 client code  28 char[14] goods code  42 char[37] goods name
//   79 char[9] unit  88 double 入数  96 boxes  104 quantity  112 unit price
//   120 cost price  128 amount  136 tax  144 gross profit  152 cost
//   160 double tax-added amount  168 tax-included amount with its tax
//   176 untaxed amount (totals rows; a line row has its own amount in its
//   group)  184 row type (0 line, 1 slip total, 2 day total)
//   185 the client's tax timing.

#include "outside/sl_jet/seljetaccess.h"
#include "sales/reports/reporttable.h"
#include "sales/reports/workfile.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <functional>
#include <memory>

namespace hv6::sales {

constexpr int kDailyRowSize = 186;

enum DailyRowType : std::uint8_t { kRowLine = 0, kRowSlipTotal = 1, kRowDayTotal = 2 };

// Message numbers an aggregation ends with.
constexpr int kMsgMemory = 400;
constexpr int kMsgEnvironment = 500;
constexpr int kMsgGoods = 511;
constexpr int kMsgClient = 516;
constexpr int kMsgHeaders = 522;
constexpr int kMsgLines = 523;
constexpr int kMsgNothing = 835;
constexpr int kMsgWorkCreate = 920;
constexpr int kMsgWorkWrite = 921;
constexpr int kMsgCancelled = 102;  // a notice, not an error

// The choices of the 伝票区分 list: 0 小売・掛売, 1 掛売, 2 小売 (sales
// report), 3 予約 (reservation report).
enum SlipListChoice { kListSales = 0, kListCredit = 1, kListCash = 2, kListReservation = 3 };

// True when the list choice accepts a slip of the kind.
bool acceptsSlipKind(int listChoice, int slipKind);
// The entries of the list for a report mode (0 sales, 1 reservation) and
// the choice an entry index stands for.
QStringList slipListEntries(int mode);
int listChoiceOf(int mode, int entryIndex);
// The entry index a remembered choice shows in a mode (a reservation
// choice falls back to the first entry of the sales report).
int entryIndexOf(int mode, int listChoice);

struct DailyConditions {
  int mode = 0;  // 0 sales, 1 reservation
  std::int32_t dateFrom = 0;
  std::int32_t dateTo = 0;
  std::int32_t personCode = 0;  // 0: any person
  int listChoice = kListSales;
};

// A billing closing day: the day of the month divisible by 5, or the last
// day of the month.
bool isBillingCloseDay(std::int32_t yyyymmdd);

// One row of the work file, decoded.
struct DailyRow {
  std::int32_t slipDate = 0;
  QString slipNo;
  std::uint8_t slipKind = 0, lineNo = 0, lineKind = 0, taxClass = 0, taxRateCode = 0,
               simpleTaxClass = 0;
  std::int32_t clientCode = 0;
  QString goodsCode, goodsName, unit;
  double irisu = 0, boxes = 0, quantity = 0, unitPrice = 0, costPrice = 0, amount = 0, tax = 0,
         profit = 0, cost = 0;
  double taxOut = 0, taxInWithTax = 0, noTax = 0;
  std::uint8_t rowType = kRowLine, taxTiming = 0;

  QByteArray encode() const;
  static DailyRow decode(const QByteArray& bytes);
};

// Sales, cost and gross profit of one tax group.
struct TaxGroupFigures {
  double sales = 0;         // without tax
  double salesWithTax = 0;  // with tax
  double cost = 0;
  double profit = 0;
};

enum TaxGroup { kGroupAdded = 0, kGroupIncluded = 1, kGroupOutside = 2 };

struct DailySummary {
  TaxGroupFigures groups[3];  // 外税, 内税, 税外
  TaxGroupFigures total;
  int slips = 0;
  // The grand total row: amounts, tax and gross profit of every slip total.
  double amount = 0, tax = 0, profit = 0, cost = 0;
};

// Called with the percentage done; false cancels the aggregation.
using ProgressFn = std::function<bool(int percent)>;

class DailyReport : public ReportSource {
 public:
  DailyReport();
  ~DailyReport() override;

  // Aggregates the slips of the conditions into a new work file in the
  // environment's work folder (workFolder overrides it when not empty).
  // Returns 0 when rows were written, else the message to show: 500, 522,
  // 523, 920, 921, 835 (nothing matched) or 102 (cancelled); status() is
  // the store's status of a failed read. On any failure the rows of the
  // previous aggregation stay (their file is removed only when the new one
  // is complete).
  int aggregate(sl::CSelJetAccess& jet, const DailyConditions& conditions,
                const ProgressFn& progress = {}, const QString& workFolder = {});
  int status() const { return status_; }
  const DailyConditions& conditions() const { return conditions_; }
  QString workFilePath() const { return file_ ? file_->path() : QString(); }
  // Removes the work file and forgets the rows.
  void clear();

  qint64 rowCount() const { return file_ ? file_->rowCount() : 0; }
  // Row i of the work file (read through a window of rows kept in memory).
  bool row(qint64 i, DailyRow& out) const;
  const DailySummary& figures() const { return summary_figures_; }
  QString clientName(std::int32_t code) const { return clientNames_.value(code); }

  // ReportSource
  QString title() const override;
  QStringList conditionLines() const override;
  QList<ReportColumn> columns() const override;
  qint64 lineCount() const override { return rowCount(); }
  ReportLine line(qint64 i) const override;
  QList<ReportLine> closingLines() const override;
  SummaryTable summary() const override;
  QString printKey() const override;

  // The person's name the conditions name (shown in the condition lines).
  void setPersonName(const QString& name) { personName_ = name; }

 private:
  std::unique_ptr<WorkFile> file_;
  DailyConditions conditions_;
  DailySummary summary_figures_;
  QHash<std::int32_t, QString> clientNames_;
  sl::S_COMPANY company_;
  QString personName_;
  int status_ = 0;
  // The window of rows in memory.
  mutable qint64 cacheFirst_ = -1;
  mutable QByteArray cache_;
};

}  // namespace hv6::sales
