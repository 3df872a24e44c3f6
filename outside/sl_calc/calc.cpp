#include "outside/sl_calc/calc.h"

#include "platform/dao/dao.h"

#include <QDate>

#include <map>

namespace sl {
namespace {

// A store call that did not succeed: ends the save, whose transaction then
// rolls back.
struct Failure {
  int status;
};

void check(int status) {
  if (status != kSlOk) throw Failure{status};
}

bool isSale(const S_SELSLIPHD& slip) {
  return slip.slipKind == kKindCash || slip.slipKind == kKindCredit;
}

// The figures of the clients one save touches, changed in memory and
// written once at the end.
class Figures {
 public:
  explicit Figures(CSelJetAccess& store) : store_(store) {}

  // The client's record; nullptr for a slip without a client, and for a
  // missing client unless `required` (then kSlNotFound).
  S_CLIENTSEL* client(std::int32_t code, bool required) {
    if (code == 0) return nullptr;
    const auto found = clients_.find(code);
    if (found != clients_.end()) return &found->second;
    S_CLIENTSEL record;
    const int status = store_.ReadClient(code, record);
    if (status == kSlNotFound && !required) return nullptr;
    check(status);
    return &clients_.emplace(code, record).first->second;
  }

  // Adds (sign 1) or takes back (sign -1) what a slip gives its client.
  void apply(const S_SELSLIPHD& slip, int sign, bool required) {
    S_CLIENTSEL* record = client(slip.clientCode, required);
    if (record == nullptr) return;
    record->salesSlipCount += sign;
    if (isSale(slip)) record->salesTotal += sign * slip.grandTotal;
    if (slip.slipKind == kKindCredit) record->balance += sign * slip.grandTotal;
  }

  // Writes every touched client, with the latest date of its stored slips.
  void write() {
    for (auto& [code, record] : clients_) {
      check(store_.ReadLatestSlipDate(code, record.lastSlipDate));
      check(store_.UpdateClient(record));
    }
  }

 private:
  CSelJetAccess& store_;
  std::map<std::int32_t, S_CLIENTSEL> clients_;
};

void removeStored(CSelJetAccess& store, std::int32_t code, Figures& figures) {
  S_SELSLIPHD stored;
  check(store.ReadSlipHeadByCode(code, stored));
  figures.apply(stored, -1, false);
  check(store.DeleteSlipHead(code));
}

// Writes the slip (appending it when it has no code yet) and adds its
// figures; mode 1 first takes back what the stored slip gave.
void storeSlip(CSelJetAccess& store, S_SELSLIPHD& slip, const QList<S_SELSLIP>& lines, int mode,
               Figures& figures) {
  if (const S_CLIENTSEL* client = figures.client(slip.clientCode, true))
    slip.clientType = client->clientType;
  slip.lineCount = static_cast<std::int32_t>(lines.size());
  if (mode == kStoreAppended && slip.code == 0) {
    check(store.AppendSlipHead(slip));
  } else {
    S_SELSLIPHD stored;
    check(store.ReadSlipHeadByCode(slip.code, stored));
    if (mode == kStoreChanged) figures.apply(stored, -1, false);
    slip.newSlip = 0;
    check(store.UpdateSlipHead(slip));
  }
  QList<S_SELSLIP> written = lines;
  for (qsizetype i = 0; i < written.size(); ++i) {
    S_SELSLIP& line = written[i];
    std::copy(std::begin(slip.slipNo), std::end(slip.slipNo), std::begin(line.slipNo));
    line.slipDate = slip.slipDate;
    line.slipKind = slip.slipKind;
    line.clientCode = slip.clientCode;
    line.lineNo = static_cast<std::uint8_t>(i + 1);
  }
  check(store.WriteSlipLines(slip.code, appTypeOf(slip.slipKind), written));
  figures.apply(slip, 1, true);
}

}  // namespace

CCalc::CCalc(CSelJetAccess* store) : store_(store) {}

std::int32_t CCalc::GetNextDate(std::int32_t yyyymmdd) const {
  const QDate day(yyyymmdd / 10000, yyyymmdd / 100 % 100, yyyymmdd % 100);
  if (yyyymmdd <= 0 || !day.isValid()) return 0;
  const QDate next = day.addDays(1);
  return next.year() * 10000 + next.month() * 100 + next.day();
}

namespace {

// Runs a save in one transaction; the status of its failure, or kSlOk.
template <class F>
int inTransaction(CSelJetAccess& store, F&& body) {
  try {
    check(store.EnsureSchema());
    DaoTransaction transaction(*store.database());
    Figures figures(store);
    body(figures);
    figures.write();
    transaction.commit();
    return kSlOk;
  } catch (const Failure& failure) {
    return failure.status;
  } catch (const CDaoException& e) {
    return static_cast<int>(e.errorCode());
  }
}

}  // namespace

int CCalc::UpdateClientSelslip(QWidget* window, S_SELSLIPHD& header, const S_SELSLIPHD& asLoaded,
                               const QList<S_SELSLIP>& lines, int mode) {
  Q_UNUSED(window);
  if (mode < kStoreAppended || mode > kRemoveStored || lines.size() > kMaxSlipLines) {
    lastStatus_ = kSlBadArgument;
    return 0;
  }
  S_SELSLIPHD slip = header;
  lastStatus_ = inTransaction(*store_, [&](Figures& figures) {
    if (mode == kRemoveStored)
      removeStored(*store_, asLoaded.code != 0 ? asLoaded.code : header.code, figures);
    else
      storeSlip(*store_, slip, lines, mode, figures);
  });
  if (lastStatus_ != kSlOk) return 0;
  if (mode != kRemoveStored) header = slip;
  return 1;
}

int CCalc::MoveClientSelslip(QWidget* window, S_SELSLIPHD& header, const S_SELSLIPHD& asLoaded,
                             const QList<S_SELSLIP>& lines) {
  Q_UNUSED(window);
  if (asLoaded.code == 0 || lines.size() > kMaxSlipLines) {
    lastStatus_ = kSlBadArgument;
    return 0;
  }
  S_SELSLIPHD slip = header;
  slip.code = 0;
  lastStatus_ = inTransaction(*store_, [&](Figures& figures) {
    removeStored(*store_, asLoaded.code, figures);
    storeSlip(*store_, slip, lines, kStoreAppended, figures);
  });
  if (lastStatus_ != kSlOk) return 0;
  header = slip;
  return 1;
}

}  // namespace sl
