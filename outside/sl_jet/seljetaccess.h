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
constexpr int kSlInUse = 6;     // delete of a master row that a slip names
constexpr int kSlBadArgument = 3001;  // more lines than a slip holds, an unknown mode

// The company record as shipped: amounts rounded half up, tax-rate code 0
// = 10 % (1000), code 1 = 8 % (800, 軽減税率).
S_COMPANY defaultCompany();

// The masters a slip names (for the delete refusal and its message).
enum class SlMaster { Client, Goods, Person, ShipTo };

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

  // Brings an older diary database to the store's schema (in one
  // transaction); every other call does this first, once per connection.
  int EnsureSchema();

  // Slip headers. A slip is found by its number within its AppType.
  int ReadSlipHead(int appType, const QString& slipNo, S_SELSLIPHD& out);
  int ReadSlipHeadByCode(std::int32_t code, S_SELSLIPHD& out);
  int ExistSlipHead(int appType, const QString& slipNo, bool& exists);
  // Neighbours in slip-number order within the AppType (kSlEnd when there
  // is none; the last of an empty AppType is kSlNotFound).
  int ReadPrevSlipHead(int appType, const QString& slipNo, S_SELSLIPHD& out);
  int ReadNextSlipHead(int appType, const QString& slipNo, S_SELSLIPHD& out);
  int ReadLastSlipHead(int appType, S_SELSLIPHD& out);
  // Batch reading in (slip date, slip number) order: Reset, then Read
  // until kSlEnd; each call appends at most `max` accepted headers (kSlOk
  // whenever it appended one). A null filter accepts every header. Headers
  // without a date or a number (never written by the store) are not read.
  void ResetSlipHeadReading();
  int ReadSlipHeads(const SlipScope& scope, const HeaderFilter& filter, int max,
                    QList<S_SELSLIPHD>& out);
  int CountSlipHeads(const SlipScope& scope, const HeaderFilter& filter, int& count);
  // Appends a header (its code is set, its new-slip mark cleared; a number
  // stored within the AppType is refused with kSlDuplicate); updates and
  // deletes by code (a deleted header takes its lines with it).
  int AppendSlipHead(S_SELSLIPHD& header);
  int UpdateSlipHead(const S_SELSLIPHD& header);
  int DeleteSlipHead(std::int32_t code);

  // Lines of a stored slip, in line order, at most kMaxSlipLines; `out` is
  // replaced.
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
  // with kSlDuplicate when the code exists), update (kSlNotFound when it
  // does not), delete (refused with kSlInUse while a slip names the row).
  // A client is the CustomerMst row whose Code is the client code; an
  // appended client gets the same Scode.
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
  int AppendPlan(const S_PLAN& plan);
  int UpdatePlan(const S_PLAN& plan);
  int DeletePlan(std::int32_t code);

  // The first slip (by date and number) that names a master row: kSlOk with
  // the slip in `out`, kSlNotFound when no slip names it. code is the goods
  // code, or the number of the other masters as text.
  int FindSlipUsing(SlMaster master, const QString& code, S_SELSLIPHD& out);
  // The latest slip date stored for a client (0 when it has none).
  int ReadLatestSlipDate(std::int32_t clientCode, std::int32_t& date);

  // Standard-pattern slips.
  int ReadFixSlipHeads(QList<S_FIXSLIPHD>& out);
  int ReadFixSlip(std::int32_t code, S_FIXSLIPHD& header, QList<S_SELSLIP>& lines);
  int AppendFixSlip(const S_FIXSLIPHD& header, const QList<S_SELSLIP>& lines);
  int DeleteFixSlip(std::int32_t code);

  // The client's billing summary (kSlNotFound when never billed).
  int ReadBillSum(std::int32_t clientCode, S_BILLSUM& out);
  // Writes a client's billing summary (made when missing).
  int UpdateBillSum(const S_BILLSUM& billSum);

 private:
  CDaoDatabase* db_;
  struct Reading;
  Reading* reading_ = nullptr;  // position of the batch reading
};

}  // namespace sl
