#pragma once
// The sales store: every read and write of slips, clients, goods and the
// sales settings, over the diary database of the data folder. Slip headers
// are rows of Slip, lines rows of SlipDetails (AppType 0 sales slips, 1
// reservation slips); clients are rows of CustomerMst with their sales
// settings; goods, persons, ship-to, plans, standard patterns, billing
// summaries, the company and the environment have tables of their own.
//
// Every call returns a status: kSlOk, kSlNotFound, kSlEnd, or the Jet error
// number of a database failure (3260 busy, 3026 disk full, ...). A failing
// call leaves the records it was to fill as they were.

#include "outside/sl_jet/slrecords.h"

#include <QList>
#include <QString>

#include <functional>

class CDaoDatabase;

namespace sl {

constexpr int kSlOk = 0;
constexpr int kSlNotFound = 4;  // no such record
constexpr int kSlEnd = 9;       // no further record
constexpr int kSlDuplicate = 5; // append of a code that exists

// AppType of a slip of a kind: 1 for reservation slips, else 0.
inline int appTypeOf(std::uint8_t slipKind) { return slipKind == kKindReservation ? 1 : 0; }

// The key range of a batch read of headers; 0 leaves an end open.
struct SlipScope {
  int appType = -1;  // 0 sales, 1 reservation, -1 both
  std::int32_t dateFrom = 0;
  std::int32_t dateTo = 0;
  std::int32_t shipFrom = 0;  // planned shipping date
  std::int32_t shipTo = 0;
};

// Accepts or skips a header of a batch read (the report's slip filter).
using HeaderFilter = std::function<bool(const S_SELSLIPHD&)>;

class CSelJetAccess {
 public:
  // db: the open diary database, not owned; it must outlive this object.
  explicit CSelJetAccess(CDaoDatabase* db);
  virtual ~CSelJetAccess();
  CSelJetAccess(const CSelJetAccess&) = delete;
  CSelJetAccess& operator=(const CSelJetAccess&) = delete;

  CDaoDatabase* database() const { return db_; }

  // Slip headers. A slip is found by its number within its AppType.
  int ReadSlipHead(int appType, const QString& slipNo, S_SELSLIPHD& out);
  int ReadSlipHeadByCode(std::int32_t code, S_SELSLIPHD& out);
  int ExistSlipHead(int appType, const QString& slipNo, bool& exists);
  // Neighbours in slip-number order within the AppType.
  int ReadPrevSlipHead(int appType, const QString& slipNo, S_SELSLIPHD& out);
  int ReadNextSlipHead(int appType, const QString& slipNo, S_SELSLIPHD& out);
  int ReadLastSlipHead(int appType, S_SELSLIPHD& out);
  // Batch reading in (slip date, slip number) order: Reset, then Read
  // until kSlEnd; each call appends at most `max` accepted headers.
  void ResetSlipHeadReading();
  int ReadSlipHeads(const SlipScope& scope, const HeaderFilter& filter, int max,
                    QList<S_SELSLIPHD>& out);
  int CountSlipHeads(const SlipScope& scope, const HeaderFilter& filter, int& count);
  // Appends a header (its code is set); updates and deletes by code.
  int AppendSlipHead(S_SELSLIPHD& header);
  int UpdateSlipHead(const S_SELSLIPHD& header);
  int DeleteSlipHead(std::int32_t code);

  // Lines of a stored slip, in line order, at most kMaxSlipLines.
  int ReadSlipLines(std::int32_t slipCode, QList<S_SELSLIP>& out);
  // Replaces every line of a stored slip.
  int WriteSlipLines(std::int32_t slipCode, int appType, const QList<S_SELSLIP>& lines);

  // Settings: one environment and one company record (created with their
  // defaults when missing).
  int ReadEnvironment(S_SELENV& out);
  int UpdateEnvironment(const S_SELENV& env);
  int ReadCompany(S_COMPANY& out);
  int UpdateCompany(const S_COMPANY& company);

  // Masters: read one by code, read all in code order, append (refused
  // with kSlDuplicate when the code exists), update, delete.
  int ReadClient(std::int32_t code, S_CLIENTSEL& out);
  int ReadClients(QList<S_CLIENTSEL>& out);
  int AppendClient(const S_CLIENTSEL& client);
  int UpdateClient(const S_CLIENTSEL& client);
  int DeleteClient(std::int32_t code);

  int ReadGoods(const QString& code, S_COMMODITY& out);
  // Goods in code order after `afterCode` (empty: from the first), at most max.
  int ReadGoodsBatch(const QString& afterCode, int max, QList<S_COMMODITY>& out);
  int AppendGoods(const S_COMMODITY& goods);
  int UpdateGoods(const S_COMMODITY& goods);
  int DeleteGoods(const QString& code);

  int ReadPerson(std::int32_t code, S_PERSON& out);
  int ReadPersons(QList<S_PERSON>& out);
  int AppendPerson(const S_PERSON& person);
  int UpdatePerson(const S_PERSON& person);
  int DeletePerson(std::int32_t code);

  int ReadShipTo(std::int32_t code, S_SHIPTO& out);
  int ReadShipTos(QList<S_SHIPTO>& out);
  int AppendShipTo(const S_SHIPTO& shipTo);
  int UpdateShipTo(const S_SHIPTO& shipTo);
  int DeleteShipTo(std::int32_t code);

  int ReadPlan(std::int32_t code, S_PLAN& out);
  int ReadPlans(QList<S_PLAN>& out);

  // Standard-pattern slips.
  int ReadFixSlipHeads(QList<S_FIXSLIPHD>& out);
  int ReadFixSlip(std::int32_t code, S_FIXSLIPHD& header, QList<S_SELSLIP>& lines);
  int AppendFixSlip(const S_FIXSLIPHD& header, const QList<S_SELSLIP>& lines);
  int DeleteFixSlip(std::int32_t code);

  // The client's billing summary (kSlNotFound when never billed).
  int ReadBillSum(std::int32_t clientCode, S_BILLSUM& out);

 private:
  CDaoDatabase* db_;
  struct Reading;
  Reading* reading_ = nullptr;  // position of the batch reading
};

}  // namespace sl
