#pragma once
// The shipping preparation list without widgets: the slips of the
// conditions (header filter and the date ranges of the scope) aggregated
// into three work files: the schedule (a row per goods line), the goods
// totals of every goods (all goods in code order, found by binary search),
// and the goods whose total is not zero. Both views are report sources.
//
// Schedule rows, 148 bytes: 0 int32 planned shipping date, 4 int32 slip
// date, 8 int32 client code, 12 char[14] slip number, 26 char[41] client
// name, 67 char[14] goods code, 81 char[37] goods name, 118 char[9] unit,
// 127 shipped flag, 128 double 入数, 136 double quantity, 144 first row of
// its slip (1), 145..147 zero.
// Goods rows, 72 bytes: 0 char[14] goods code (the sort key, compared byte
// by byte), 14 char[37] goods name, 51 char[9] unit, 60 float 入数,
// 64 double total quantity.

#include "outside/sl_jet/seljetaccess.h"
#include "sales/reports/dailyreport.h"
#include "sales/reports/reporttable.h"
#include "sales/reports/workfile.h"

#include <memory>

namespace hv6::sales {

constexpr int kScheduleRowSize = 148;
constexpr int kGoodsRowSize = 72;

enum ShippingView { kViewSchedule = 0, kViewGoods = 1 };
enum ShipState { kShipAll = 0, kShipNotYet = 1, kShipDone = 2 };

struct ShippingConditions {
  int view = kViewSchedule;
  std::int32_t dateFrom = 0, dateTo = 0;  // slip date; 0 leaves an end open
  std::int32_t shipFrom = 0, shipTo = 0;  // planned shipping date
  int inputKind = 0;                      // 0 any, else the slip kind
  std::int32_t clientType = 0;            // 0 any
  std::int32_t personCode = 0;            // 0 any
  int shipState = kShipAll;
};

// The header filter of the conditions.
bool acceptsShippingHeader(const ShippingConditions& c, const sl::S_SELSLIPHD& h);
// The entries of the lists of the conditions dialog.
QStringList inputKindEntries();  // "指定なし " .. "予  約   "
QStringList shipStateEntries();  // "全件対象", "未発送のみ", "発送済みのみ"
QStringList shippingViewEntries();  // "発送予定一覧", "発送商品一覧"

struct ScheduleRow {
  std::int32_t shipDate = 0, slipDate = 0, clientCode = 0;
  QString slipNo, clientName, goodsCode, goodsName, unit;
  std::uint8_t shipped = 0;
  double irisu = 0, quantity = 0;
  std::uint8_t firstOfSlip = 0;
  QByteArray encode() const;
  static ScheduleRow decode(const QByteArray& bytes);
};

struct GoodsRow {
  QString code, name, unit;
  double irisu = 0, quantity = 0;
  QByteArray encode() const;
  static GoodsRow decode(const QByteArray& bytes);
};

// Finds the row of a goods code in a work file of goods rows sorted by
// code bytes; -1 when there is none (or a read failed).
qint64 findGoodsRow(const WorkFile& goods, const QByteArray& codeKey);
// The 14-byte key of a goods code.
QByteArray goodsKey(const QString& code);

class ShippingReport;

// One view of the list as a report.
class ShippingListView : public ReportSource {
 public:
  ShippingListView(const ShippingReport& report, int view) : report_(report), view_(view) {}
  QString title() const override;
  QStringList conditionLines() const override;
  QList<ReportColumn> columns() const override;
  qint64 lineCount() const override;
  ReportLine line(qint64 i) const override;
  QString dots() const override { return QStringLiteral(" ・・・・・・"); }
  QString printKey() const override;

 private:
  const ShippingReport& report_;
  int view_;
};

class ShippingReport {
 public:
  ShippingReport();
  ~ShippingReport();

  // Aggregates both views. 0 when the chosen view has rows, else the
  // message: 500, 511, 516, 522, 523, 920, 921, 835 or 102 (cancelled).
  // A failed aggregation leaves the list empty.
  int aggregate(sl::CSelJetAccess& jet, const ShippingConditions& conditions,
                const ProgressFn& progress = {}, const QString& workFolder = {});
  int status() const { return status_; }
  const ShippingConditions& conditions() const { return conditions_; }
  void clear();
  // The three work files (empty paths when none).
  QStringList workFilePaths() const;

  qint64 scheduleCount() const { return schedule_ ? schedule_->rowCount() : 0; }
  qint64 goodsCount() const { return goods_ ? goods_->rowCount() : 0; }
  bool scheduleRow(qint64 i, ScheduleRow& out) const;
  bool goodsRow(qint64 i, GoodsRow& out) const;

  // The report of a view (kViewSchedule, kViewGoods).
  const ReportSource& view(int which) const { return which == kViewGoods ? goodsView_ : scheduleView_; }

 private:
  std::unique_ptr<WorkFile> schedule_, goods_, allGoods_;
  ShippingConditions conditions_;
  int status_ = 0;
  ShippingListView scheduleView_{*this, kViewSchedule};
  ShippingListView goodsView_{*this, kViewGoods};
  mutable qint64 scheduleFirst_ = -1, goodsFirst_ = -1;
  mutable QByteArray scheduleCache_, goodsCache_;
};

}  // namespace hv6::sales
