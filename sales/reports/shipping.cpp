#include "sales/reports/shipping.h"

#include "sales/model/slipcalc.h"
#include "sales/reports/rowbytes.h"

#include <QDir>

#include <algorithm>
#include <new>

namespace hv6::sales {

using namespace rowbytes;

namespace {

constexpr int kHeaderBatch = 100;
constexpr int kGoodsBatch = 100;
constexpr qint64 kCacheRows = 256;

bool isGoodsLine(const sl::S_SELSLIP& l) {
  return l.kind == sl::kLineSale || l.kind == sl::kLineReturn;
}

bool readCached(const WorkFile* file, int rowSize, qint64 i, qint64& first, QByteArray& cache,
                QByteArray& out) {
  if (!file || i < 0 || i >= file->rowCount()) return false;
  if (first < 0 || i < first || i >= first + cache.size() / rowSize) {
    first = pagingStart(i, first, kCacheRows);
    if (!file->readRows(first, kCacheRows, cache)) {
      first = -1;
      return false;
    }
  }
  out = cache.mid((i - first) * rowSize, rowSize);
  return true;
}

}  // namespace

bool acceptsShippingHeader(const ShippingConditions& c, const sl::S_SELSLIPHD& h) {
  if (c.inputKind != 0 && h.slipKind != c.inputKind) return false;
  if (c.shipState == kShipNotYet && h.shipped != 0) return false;
  if (c.shipState == kShipDone && h.shipped != 1) return false;
  if (c.clientType != 0 && h.clientType != c.clientType) return false;
  if (c.personCode != 0 && h.personCode != c.personCode) return false;
  return true;
}

QStringList inputKindEntries() {
  return {QStringLiteral("指定なし "), QStringLiteral("小  売   "), QStringLiteral("掛  売   "),
          QStringLiteral("予  約   ")};
}

QStringList shipStateEntries() {
  return {QStringLiteral("全件対象"), QStringLiteral("未発送のみ"), QStringLiteral("発送済みのみ")};
}

QStringList shippingViewEntries() {
  return {QStringLiteral("発送予定一覧"), QStringLiteral("発送商品一覧")};
}

QByteArray ScheduleRow::encode() const {
  QByteArray row(kScheduleRowSize, '\0');
  put<std::int32_t>(row, 0, shipDate);
  put<std::int32_t>(row, 4, slipDate);
  put<std::int32_t>(row, 8, clientCode);
  putText(row, 12, 14, slipNo);
  putText(row, 26, 41, clientName);
  putText(row, 67, 14, goodsCode);
  putText(row, 81, 37, goodsName);
  putText(row, 118, 9, unit);
  put<std::uint8_t>(row, 127, shipped);
  put<double>(row, 128, irisu);
  put<double>(row, 136, quantity);
  put<std::uint8_t>(row, 144, firstOfSlip);
  return row;
}

ScheduleRow ScheduleRow::decode(const QByteArray& bytes) {
  ScheduleRow r;
  if (bytes.size() < kScheduleRowSize) return r;
  r.shipDate = get<std::int32_t>(bytes, 0);
  r.slipDate = get<std::int32_t>(bytes, 4);
  r.clientCode = get<std::int32_t>(bytes, 8);
  r.slipNo = getText(bytes, 12, 14);
  r.clientName = getText(bytes, 26, 41);
  r.goodsCode = getText(bytes, 67, 14);
  r.goodsName = getText(bytes, 81, 37);
  r.unit = getText(bytes, 118, 9);
  r.shipped = get<std::uint8_t>(bytes, 127);
  r.irisu = get<double>(bytes, 128);
  r.quantity = get<double>(bytes, 136);
  r.firstOfSlip = get<std::uint8_t>(bytes, 144);
  return r;
}

QByteArray GoodsRow::encode() const {
  QByteArray row(kGoodsRowSize, '\0');
  putText(row, 0, 14, code);
  putText(row, 14, 37, name);
  putText(row, 51, 9, unit);
  put<float>(row, 60, static_cast<float>(irisu));
  put<double>(row, 64, quantity);
  return row;
}

GoodsRow GoodsRow::decode(const QByteArray& bytes) {
  GoodsRow r;
  if (bytes.size() < kGoodsRowSize) return r;
  r.code = getText(bytes, 0, 14);
  r.name = getText(bytes, 14, 37);
  r.unit = getText(bytes, 51, 9);
  r.irisu = static_cast<double>(get<float>(bytes, 60));
  r.quantity = get<double>(bytes, 64);
  return r;
}

QByteArray goodsKey(const QString& code) {
  QByteArray key(14, '\0');
  putText(key, 0, 14, code);
  return key;
}

qint64 findGoodsRow(const WorkFile& goods, const QByteArray& codeKey) {
  qint64 low = 0, high = goods.rowCount() - 1;
  QByteArray row;
  while (low <= high) {
    const qint64 mid = low + (high - low) / 2;
    if (!goods.readRow(mid, row)) return -1;
    const int order = std::memcmp(row.constData(), codeKey.constData(), 14);
    if (order == 0) return mid;
    if (order < 0) low = mid + 1;
    else high = mid - 1;
  }
  return -1;
}

ShippingReport::ShippingReport() = default;
ShippingReport::~ShippingReport() = default;

void ShippingReport::clear() {
  schedule_.reset();
  goods_.reset();
  allGoods_.reset();
  scheduleFirst_ = goodsFirst_ = -1;
  scheduleCache_.clear();
  goodsCache_.clear();
}

QStringList ShippingReport::workFilePaths() const {
  return {schedule_ ? schedule_->path() : QString(), goods_ ? goods_->path() : QString(),
          allGoods_ ? allGoods_->path() : QString()};
}

int ShippingReport::aggregate(sl::CSelJetAccess& jet, const ShippingConditions& conditions,
                              const ProgressFn& progress, const QString& workFolder) {
  clear();
  conditions_ = conditions;
  status_ = 0;
  const int result = [&]() -> int {
    try {
      sl::S_SELENV env;
      if ((status_ = jet.ReadEnvironment(env)) != sl::kSlOk) return kMsgEnvironment;
      QString folder = workFolder.isEmpty() ? sl::slText(env.workFolder) : workFolder;
      if (folder.isEmpty()) folder = QDir::tempPath();
      std::unique_ptr<WorkFile> files[3];
      for (int i = 0; i < 3; ++i) {
        files[i] = std::make_unique<WorkFile>(i == 0 ? kScheduleRowSize : kGoodsRowSize);
        const QString name = QString::asprintf("T_E50%02d.%03d", env.workstation % 100, i + 1);
        if (!files[i]->create(folder, name)) return kMsgWorkCreate;
      }
      WorkFile& schedule = *files[0];
      WorkFile& goods = *files[1];
      WorkFile& allGoods = *files[2];

      // Every goods with quantity 0, in the byte order of their codes.
      QList<QByteArray> goodsRows;
      QString after;
      for (;;) {
        QList<sl::S_COMMODITY> batch;
        const int st = jet.ReadGoodsBatch(after, kGoodsBatch, batch);
        if (st != sl::kSlOk && st != sl::kSlEnd && st != sl::kSlNotFound) {
          status_ = st;
          return kMsgGoods;
        }
        for (const sl::S_COMMODITY& c : batch) {
          GoodsRow r;
          r.code = sl::slText(c.code);
          r.name = sl::slText(c.name);
          r.unit = sl::slText(c.unit);
          r.irisu = c.irisu;
          goodsRows << r.encode();
        }
        if (batch.size() < kGoodsBatch) break;
        after = sl::slText(batch.last().code);
      }
      std::sort(goodsRows.begin(), goodsRows.end(), [](const QByteArray& a, const QByteArray& b) {
        return std::memcmp(a.constData(), b.constData(), 14) < 0;
      });
      for (const QByteArray& r : goodsRows)
        if (!allGoods.append(r)) return kMsgWorkWrite;
      if (!allGoods.flush()) return kMsgWorkWrite;

      const int appType = conditions.inputKind == 0 ? -1 : sl::appTypeOf(static_cast<std::uint8_t>(conditions.inputKind));
      const sl::SlipScope scope{appType, conditions.dateFrom, conditions.dateTo, conditions.shipFrom,
                                conditions.shipTo};
      const sl::HeaderFilter filter = [conditions](const sl::S_SELSLIPHD& h) {
        return acceptsShippingHeader(conditions, h);
      };
      int total = 0;
      if ((status_ = jet.CountSlipHeads(scope, filter, total)) != sl::kSlOk) return kMsgHeaders;
      jet.ResetSlipHeadReading();
      int read = 0;
      QList<sl::S_SELSLIPHD> batch;
      QList<sl::S_SELSLIP> lines;
      QByteArray row;
      for (;;) {
        batch.clear();
        const int st = jet.ReadSlipHeads(scope, filter, kHeaderBatch, batch);
        if (st == sl::kSlEnd && batch.isEmpty()) break;
        if (st != sl::kSlOk && st != sl::kSlEnd) {
          status_ = st;
          return kMsgHeaders;
        }
        for (const sl::S_SELSLIPHD& h : batch) {
          sl::S_CLIENTSEL client;
          const int clientStatus = jet.ReadClient(h.clientCode, client);
          if (clientStatus != sl::kSlOk && clientStatus != sl::kSlNotFound) {
            status_ = clientStatus;
            return kMsgClient;
          }
          if ((status_ = jet.ReadSlipLines(h.code, lines)) != sl::kSlOk) return kMsgLines;
          bool first = true;
          for (const sl::S_SELSLIP& l : lines) {
            if (!isGoodsLine(l)) continue;
            ScheduleRow s;
            s.shipDate = h.shipDate;
            s.slipDate = h.slipDate;
            s.clientCode = h.clientCode;
            s.slipNo = sl::slText(h.slipNo);
            s.clientName = sl::slText(client.name);
            s.goodsCode = sl::slText(l.goodsCode);
            s.goodsName = sl::slText(l.goodsName);
            s.unit = sl::slText(l.unit);
            s.shipped = h.shipped;
            s.irisu = l.irisu;
            s.quantity = l.quantity;
            s.firstOfSlip = first ? 1 : 0;
            first = false;
            if (!schedule.append(s.encode())) return kMsgWorkWrite;

            const qint64 at = findGoodsRow(allGoods, goodsKey(s.goodsCode));
            if (at < 0 || !allGoods.readRow(at, row)) continue;  // goods no longer kept
            put<double>(row, 64, get<double>(row, 64) + l.quantity);
            if (!allGoods.writeRow(at, row)) return kMsgWorkWrite;
          }
          ++read;
          if (progress && !progress(total > 0 ? std::min(100, read * 100 / total) : 100))
            return kMsgCancelled;
        }
        if (st == sl::kSlEnd) break;
      }
      // The goods whose total is not zero, in code order.
      for (qint64 i = 0; i < allGoods.rowCount(); ++i) {
        if (!allGoods.readRow(i, row)) return kMsgWorkWrite;
        if (!isZero(get<double>(row, 64)) && !goods.append(row)) return kMsgWorkWrite;
      }
      if (!schedule.flush() || !goods.flush()) return kMsgWorkWrite;
      const qint64 shown = conditions.view == kViewGoods ? goods.rowCount() : schedule.rowCount();
      if (shown == 0) return kMsgNothing;
      schedule_ = std::move(files[0]);
      goods_ = std::move(files[1]);
      allGoods_ = std::move(files[2]);
      return 0;
    } catch (const std::bad_alloc&) {
      status_ = 0;  // 400 is shown without a status
      return kMsgMemory;
    }
  }();
  return result;
}

bool ShippingReport::scheduleRow(qint64 i, ScheduleRow& out) const {
  QByteArray bytes;
  if (!readCached(schedule_.get(), kScheduleRowSize, i, scheduleFirst_, scheduleCache_, bytes))
    return false;
  out = ScheduleRow::decode(bytes);
  return true;
}

bool ShippingReport::goodsRow(qint64 i, GoodsRow& out) const {
  QByteArray bytes;
  if (!readCached(goods_.get(), kGoodsRowSize, i, goodsFirst_, goodsCache_, bytes)) return false;
  out = GoodsRow::decode(bytes);
  return true;
}

QString ShippingListView::title() const {
  return view_ == kViewGoods ? QStringLiteral("商品別合計表") : QStringLiteral("発送準備確認表");
}

QStringList ShippingListView::conditionLines() const {
  const ShippingConditions& c = report_.conditions();
  auto range = [](int from, int to) {
    if (from == 0 && to == 0) return QStringLiteral("指定なし");
    return QStringLiteral("%1 ～ %2").arg(formatDate(from), formatDate(to));
  };
  QString line = QStringLiteral("伝票日付 %1　　発送予定日 %2　　入力区分 %3　　%4")
                     .arg(range(c.dateFrom, c.dateTo), range(c.shipFrom, c.shipTo),
                          inputKindEntries().value(c.inputKind).trimmed(),
                          shipStateEntries().value(c.shipState));
  if (c.clientType != 0) line += QStringLiteral("　　得意先区分 %1").arg(c.clientType);
  if (c.personCode != 0) line += QStringLiteral("　　担当者 %1").arg(c.personCode);
  return {line};
}

QList<ReportColumn> ShippingListView::columns() const {
  auto col = [](const char16_t* caption, CellKind kind, int width = 0) {
    ReportColumn c;
    c.caption[0] = QString::fromUtf16(caption);
    c.kind[0] = kind;
    c.width = std::max(width, halfWidths(c.caption[0]));
    return c;
  };
  using K = CellKind;
  if (view_ == kViewGoods)
    return {col(u"  商品コード   ", K::Text), col(u"             商 品 名                ", K::Text),
            col(u"  入    数  ", K::Quantity), col(u"    数    量    ", K::Quantity),
            col(u" 単  位 ", K::Text)};
  return {col(u" 発送予定日 ", K::Center),        col(u"  伝 票 番 号  ", K::Text),
          col(u"     得 意 先 名     ", K::Text), col(u"     商 品 名      ", K::Text, 30),
          col(u"   商品コード   ", K::Text),      col(u"    数    量    ", K::Quantity),
          col(u"  伝票日付  ", K::Center),        col(u"  得意先コード", K::Text)};
}

qint64 ShippingListView::lineCount() const {
  return view_ == kViewGoods ? report_.goodsCount() : report_.scheduleCount();
}

ReportLine ShippingListView::line(qint64 i) const {
  ReportLine out;
  const int n = view_ == kViewGoods ? 5 : 8;
  out.cells[0] = QStringList(n, QString());
  out.cells[1] = QStringList(n, QString());
  QStringList& c = out.cells[0];
  if (view_ == kViewGoods) {
    GoodsRow r;
    if (!report_.goodsRow(i, r)) return out;
    c[0] = r.code;
    c[1] = r.name;
    c[2] = isZero(r.irisu) ? QString() : plainNumber(r.irisu);
    c[3] = plainNumber(r.quantity);
    c[4] = r.unit;
    return out;
  }
  ScheduleRow r;
  if (!report_.scheduleRow(i, r)) return out;
  if (r.firstOfSlip) {
    c[0] = formatDate(r.shipDate);
    c[1] = r.slipNo.trimmed();
    c[2] = r.clientName;
    c[6] = formatDate(r.slipDate);
    c[7] = QString::number(r.clientCode);
  }
  c[3] = r.goodsName;
  c[4] = r.goodsCode;
  c[5] = plainNumber(r.quantity);
  return out;
}

QString ShippingListView::printKey() const {
  return view_ == kViewGoods ? QStringLiteral("E50B") : QStringLiteral("E50A");
}

}  // namespace hv6::sales
