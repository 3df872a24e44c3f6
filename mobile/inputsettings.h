#pragma once
// The mobile input settings: which items the phone forms ask for (the
// IWDryOption flags) and which master rows each ledger offers under which
// short mobile name. Loading them, the rules of the items page, the
// ledgers offered, the checks before a transfer, the saving and the body
// that the upload sends. Without widgets.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>

class CDaoDatabase;

namespace hv6::mobile {

// The input items, in the order of IWDryOption's flags and of the body.
enum InputItem : int {
  kItemDay = 0,
  kItemWork = 1,
  kItemField = 2,
  kItemFarmer = 3,
  kItemMachine = 4,
  kItemWorkFactTime = 5,
  kItemRestFactTime = 6,
  kItemWorkStartEndTime = 7,
  kItemRestStartEndTime = 8,
  kItemMcnFactTime = 9,
  kItemMRestFactTime = 10,
  kItemMcnStartEndTime = 11,
  kItemMRestStartEndTime = 12,
  kItemTotalArea = 13,
  kItemLightOil = 14,
  kItemShizai = 15,
  kItemQuantity = 16,
  kItemDilute = 17,
  kItemVermin = 18,
  kItemScatter = 19,
  kItemReserve1 = 20,
  kItemReserve2 = 21,
  kItemReserve3 = 22,
};
inline constexpr int kItemCount = 23;
// Items 0-19 have fixed labels; 20-22 are labelled by their captions.
inline constexpr int kFixedItemCount = 20;

// Ledgers are numbered 1-11 as on the wire: 1 crops, 2 jobs, 3 fields,
// 4 workers, 5 machines, 6 fertilizers, 7-11 the five material ledgers.
inline constexpr int kLedgerCount = 11;
inline constexpr int kFirstMaterialLedger = 7;
inline constexpr int kFertilizerLedger = 6;

// Longest mobile name, in code page 932 bytes.
inline constexpr int kMobileNameBytes = 12;
// Longest ledger name on the wire, and longest quoted text.
inline constexpr int kLedgerNameBytes = 12;
inline constexpr int kTextBytes = 40;

// The IWDryOption column of an item.
QString itemColumn(int item);
// The label of items 0-19 ("日付", "作業", ...); empty for 20-22.
QString itemLabel(int item);
// The master table of a ledger ("CropMst", ... "MaterialMst5").
QString ledgerTable(int ledger);

// One active master row as the phone forms get it.
struct LedgerRow {
  long code = 0;
  long scode = 0;
  QString name;        // Name
  QString mobileName;  // IName, or Name cut to 12 bytes; never over 12 bytes
  bool use = false;    // IUse
  long cropNumber = 0;  // Scode of the row's crop; 0 for none
  long startMonth = 0;
  long endMonth = 0;
  double area = 0.0;
  QString unitName;
  QString dilute;
  QString vermin;
  std::array<QString, 3> reserve;
};

// What the settings sheet works on.
struct InputSettings {
  std::array<QString, 3> reserveCaptions;  // ReserveItem1Name..3Name, empty for Null
  std::array<QString, 5> materialNames;    // Mte1Name..Mte5Name, empty for Null
  std::array<bool, kItemCount> flags{};
  std::array<QList<LedgerRow>, kLedgerCount> ledgers;  // index ledger - 1

  QList<LedgerRow>& rows(int ledger) { return ledgers[static_cast<std::size_t>(ledger - 1)]; }
  const QList<LedgerRow>& rows(int ledger) const {
    return ledgers[static_cast<std::size_t>(ledger - 1)];
  }
  bool flag(int item) const { return flags[static_cast<std::size_t>(item)]; }
  void setFlag(int item, bool on) { flags[static_cast<std::size_t>(item)] = on; }
};

// The name of a ledger for the user and on the wire: "品目台帳" ...
// "肥料台帳", and the material names for 7-11 (empty when unnamed).
QString ledgerName(const InputSettings& settings, int ledger);
// The mobile name of a Name: its first 12 bytes, without half a
// double-byte character.
QString mobileNameOf(const QString& name);

// Reads the settings of the open diary database: the captions and
// material names of Information, the flags of IWDryOption (any nonzero
// value is on) and the active rows of each ledger. Throws CDaoException
// or std::bad_alloc.
InputSettings loadInputSettings(CDaoDatabase& diary);
// The same with the messages of a failed load: 2017 for a database error
// (2160 when the disk is full), 2036 when memory runs out. False then.
bool loadInputSettings(CDaoDatabase& diary, InputSettings& settings);

// One line of the items page's check list.
struct ItemLine {
  int item = 0;
  QString label;
  bool checked = false;
  bool enabled = true;
};
// The check list as the items page shows it on activation: items 0-19,
// then each reserve item with a caption; the date checked and disabled,
// items 1-4 unchecked and disabled when their ledger has no rows, the
// materials (15) and with them items 17 and 19 unchecked and disabled when
// no material ledger has rows.
QList<ItemLine> itemLines(const InputSettings& settings);
// Takes the flags back from the lines: an enabled line's check, 0 for a
// disabled one and for a reserve item that has no line.
void takeItemLines(InputSettings& settings, const QList<ItemLine>& lines);

// Whether a ledger's rows are sent: the crops always, 2-5 with items 1-4,
// 6-11 with the materials (item 15).
bool ledgerSent(const InputSettings& settings, int ledger);
// The ledgers the ledger page lists: those sent, the fertilizer and
// material ledgers only when they have rows.
QList<int> ledgersOffered(const InputSettings& settings);

// The checks of OK in order; the first failure shows its message (or the
// user declines a question) and gives false. A question answered yes
// switches its item off.
bool validateInputSettings(InputSettings& settings);

// Rows that are sent and hold characters code page 932 cannot carry (they
// go as "?"): one line each, "ledger name：Scode mobile name". Empty when
// none.
QStringList unsendableRows(const InputSettings& settings);
// The confirmation before saving and sending, with those rows listed
// first when there are any.
QString confirmationText(const InputSettings& settings);

// Saves the flags into IWDryOption (Code 1) and every row's mobile name
// and use into its master table, all in one transaction, values bound as
// parameters. A database error rolls everything back and shows 2041
// (2160 when the disk is full); false then.
bool saveInputSettings(CDaoDatabase& diary, const InputSettings& settings);

// The body of the upload, code page 932, one line without line breaks.
QByteArray uploadBody(const InputSettings& settings, const QString& userId,
                      const QString& password);

}  // namespace hv6::mobile
