#pragma once
// The slip entry windows' editing without widgets: the slip being edited
// (a SlipModel), the window's state (environment, company and client
// records, the one-line clipboard, the date of the last saved slip, the
// current line and field) and every command of the windows: new slips and
// their numbering, loading by number and by navigation, save with its
// checks, delete, copy of the last slip, standard patterns, line insert,
// delete and copy, the client information, the unit price choice and the
// cultivation-history hand-over.
//
// Boxes and questions go through the message objects the host handed in
// (sl::CErrMsg, sl::CNmlMsg); what needs a window of its own (the number
// search's progress box, the three-way copy box, starting a program, the
// disk space) goes through the hooks, so tests answer them.

#include "outside/sl_jet/slrecords.h"
#include "sales/model/slipmodel.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <optional>

class QWidget;

namespace sl {
class CSelJetAccess;
class CCalc;
class CErrMsg;
class CNmlMsg;
}  // namespace sl

namespace hv6::sales {

// Where the cursor goes: a header field or a cell of a line.
enum class SlipField {
  None,
  SlipNo,
  SlipDate,
  SlipKind,
  Client,
  ShipTo,
  Person,
  ShipDate,
  ClaimDate,
  Line,
};

// The cells of a line the editor places the cursor on.
enum class SlipCell { Kind, GoodsCode, Name, UnitPrice, Amount };

struct SlipCursor {
  SlipField field = SlipField::SlipNo;
  int row = 0;
  SlipCell cell = SlipCell::Kind;
  bool operator==(const SlipCursor&) const = default;
};

// The answer of the box "確  認" when a free number is typed while a stored
// slip is shown.
enum class CopyChoice { HeaderOnly, Whole, No };

// Navigation of buttons 613..617.
enum class SlipMove { First, Previous, Next, Last, New };

// Conditions of the navigation (the search dialog): only slips within them
// are reached. Empty texts and zero values leave a condition open.
struct SlipSearch {
  std::int32_t dateFrom = 0;
  std::int32_t dateTo = 0;
  std::int32_t clientCode = 0;
  QString numberFrom;
  QString numberTo;
  bool isOpen() const {
    return dateFrom == 0 && dateTo == 0 && clientCode == 0 && numberFrom.trimmed().isEmpty() &&
           numberTo.trimmed().isEmpty();
  }
};

// One choice of the unit price dialog: caption, the goods' price and that
// price after the rate.
struct PriceChoice {
  QString caption;
  double price = 0;
  double rated = 0;
};

struct UnitPriceChoices {
  bool found = false;  // false when the line names no goods record
  QString goodsName;
  double rate = 100;   // 掛け率 in %
  QList<PriceChoice> prices;
};

// The client information dialog: caption and text per row.
struct InfoRow {
  QString caption;
  QString text;
};

struct SlipEditorHooks {
  // The number search: called before each number tried (1, 2, ...);
  // false cancels. searchDone closes what the first call opened.
  std::function<bool(int tried)> searchProgress;
  std::function<void()> searchDone;
  // The box "確  認"; without it the answer is No.
  std::function<CopyChoice()> askCopy;
  // Bytes free on the disk of the data (-1: unknown, not checked).
  std::function<qint64()> freeSpace;
  // Starts a program with its arguments; false when it did not start.
  std::function<bool(const QString& program, const QStringList& arguments)> startProgram;
  // The folder of the cultivation-history hand-over file.
  QString handOverFolder;
};

// Window kinds: the reservation window holds kind-3 slips, the sales window
// kinds 1 and 2.
enum class SlipWindowKind { Reservation, Sales };

class SlipEditor {
 public:
  static constexpr double kMinimumFreeSpace = 100000;
  static constexpr int kNumberWidth = 13;

  // Objects not owned; they must outlive the editor. boxParent: the
  // parent of the boxes (may be null).
  SlipEditor(SlipWindowKind kind, sl::CSelJetAccess* jet, sl::CCalc* calc, sl::CErrMsg* errors,
             sl::CNmlMsg* messages, QWidget* boxParent = nullptr);

  void setHooks(SlipEditorHooks hooks) { hooks_ = std::move(hooks); }
  SlipEditorHooks& hooks() { return hooks_; }
  void setBoxParent(QWidget* parent) { boxParent_ = parent; }

  // The records read when the window was created; then the first new slip
  // (numbered from the environment's last number of this kind).
  void start(const sl::S_SELENV& environment, const sl::S_COMPANY& company);

  SlipWindowKind windowKind() const { return kind_; }
  int appType() const { return kind_ == SlipWindowKind::Reservation ? 1 : 0; }
  SlipModel& model() { return model_; }
  const SlipModel& model() const { return model_; }
  const sl::S_SELSLIPHD& header() const { return model_.header(); }
  const sl::S_CLIENTSEL& client() const { return model_.client(); }
  bool isStored() const { return model_.header().code != 0; }
  std::int32_t rememberedDate() const { return rememberedDate_; }

  // The cursor: where a refused command or check puts it. The grid sets
  // the current line and cell as the user moves.
  const SlipCursor& cursor() const { return cursor_; }
  void setCurrent(int row, SlipCell cell = SlipCell::Kind);
  // Puts the cursor on a field without changing the current line.
  void placeCursor(SlipField field) { place(field, currentRow_); }
  int currentRow() const { return currentRow_; }

  // --- header fields -------------------------------------------------------
  // A number typed into the slip number field: a stored number loads that
  // slip (after the leave question); a free one is taken, asking 5106 when
  // outside the environment's range and offering the copy box while a
  // stored slip is shown. False when the typed number was not taken (the
  // field shows the slip's number again).
  bool enterSlipNumber(const QString& text);
  void setSlipDate(std::int32_t date);
  // Kind 1 or 2 in the sales window; ignored in the reservation window.
  void setSlipKind(std::uint8_t kind);
  // Reads the client (516 when the read fails; a missing client gives an
  // empty record) and carries its tax rules into the lines. Code 0 clears.
  bool setClient(std::int32_t code);
  void setShipTo(std::int32_t code) { model_.editHeader().shipToCode = code; }
  void setPerson(std::int32_t code) { model_.editHeader().personCode = code; }
  void setShipDate(std::int32_t date) { model_.editHeader().shipDate = date; }
  void setClaimDate(std::int32_t date) { model_.editHeader().claimDate = date; }
  void setTagColor(std::int32_t color) { model_.editHeader().tagColor = color; }
  void setAdPlan(std::int32_t plan) { model_.editHeader().adPlan = plan; }

  // --- slips ---------------------------------------------------------------
  // A new empty slip, numbered from the number of the slip handled before.
  void newSlip();
  // Loads a stored slip of this window's kind (522 header, 523 lines).
  bool loadSlip(const QString& number);
  // Save (F2): the checks, the write, then the next slip. False when a
  // check or the store refused; the slip stays as it was.
  bool save();
  // Delete (SHIFT+F4): question 100, then removal and a new slip.
  bool deleteSlip();
  // Copy of the last saved slip of this kind (F5).
  bool copyLastSlip();
  // The leave question 5102 for a changed slip with a client; Yes saves
  // (without moving on). True when the slip may be left.
  bool confirmLeave();
  // Navigation 613..617 within the search conditions, after the leave
  // question. False when nothing was moved (no slip there, or refused).
  bool navigate(SlipMove move);
  void setSearch(const SlipSearch& search) { search_ = search; }
  const SlipSearch& search() const { return search_; }

  // --- standard patterns ---------------------------------------------------
  bool readPatterns(QList<sl::S_FIXSLIPHD>& out);
  bool copyPattern(std::int32_t code);
  bool registerPattern(std::int32_t code, const QString& initialKey, const QString& name);
  bool deletePattern(std::int32_t code);

  // --- lines (on the current line) -----------------------------------------
  bool insertLine();
  bool deleteLine();
  // First use takes the line, the next pastes it.
  bool copyLine();
  bool clipboardHeld() const { return clipboardHeld_; }

  // --- dialogs -------------------------------------------------------------
  QList<InfoRow> clientInfo() const;
  UnitPriceChoices unitPriceChoices(int row);
  // The chosen price as the line's unit price (truncated to two decimals
  // or whole yen), the line recomputed.
  void applyUnitPrice(int row, double price);

  // --- cultivation history (sales window, button 618) ------------------------
  // Writes the hand-over file for the current line and starts the program.
  bool handOver();
  // The file's lines and the program's arguments for a line.
  QStringList handOverLines(int row) const;
  QStringList handOverArguments(int row) const;
  static QString handOverFileName() { return QStringLiteral("excelall.tmp"); }
  static QString handOverProgram() { return QStringLiteral("VRireki"); }

  // --- numbering -----------------------------------------------------------
  // The number right-aligned to 13 characters.
  static QString rightAligned(const QString& number);
  // The increment rule; false when every character carries.
  static bool incrementNumber(QString& number);
  // Within the environment's range (empty bounds are open).
  bool inRange(const QString& number) const;
  // The first free number from `number` (itself when free), or empty.
  QString freeNumberFrom(const QString& number);

  // Kind names: "小売", "掛売", "予約".
  static QString kindName(std::uint8_t kind);

 private:
  bool runSave();
  bool checkBeforeSave();
  bool writeSlip();
  bool storedUnchanged(QString& why);
  void afterSave(bool wasBrowsing);
  void readStoredCopy();
  void setLastNumber(const QString& number, std::int32_t date, bool withDate);
  void clearClient();
  void showSlip(const sl::S_SELSLIPHD& header, const QList<sl::S_SELSLIP>& lines);
  bool readClientRecord(std::int32_t code, sl::S_CLIENTSEL& out, bool quiet);
  std::optional<sl::S_SELSLIPHD> findSlip(SlipMove move);
  bool matches(const sl::S_SELSLIPHD& header) const;
  void copyIntoSlip(const sl::S_SELSLIPHD& from, const QList<sl::S_SELSLIP>& lines);
  void setLines(const QList<sl::S_SELSLIP>& lines);
  QList<sl::S_SELSLIP> allLines() const;
  void place(SlipField field, int row = 0, SlipCell cell = SlipCell::Kind);
  std::int32_t billingDate() const;
  QString lastNumberOfKind() const;

  SlipWindowKind kind_;
  sl::CSelJetAccess* jet_;
  sl::CCalc* calc_;
  sl::CErrMsg* errors_;
  sl::CNmlMsg* messages_;
  QWidget* boxParent_;
  SlipEditorHooks hooks_;
  SlipModel model_;
  sl::S_SELENV environment_;
  sl::S_COMPANY company_;
  // The slip as the store held it when it was loaded or last saved: a save
  // is refused when the store holds something else by then.
  sl::S_SELSLIPHD storedHeader_;
  QList<sl::S_SELSLIP> storedLines_;
  bool browsing_ = false;
  sl::S_SELSLIP clipboard_;
  bool clipboardHeld_ = false;
  std::int32_t rememberedDate_ = 0;
  int currentRow_ = 0;
  SlipCursor cursor_;
  SlipSearch search_;
};

}  // namespace hv6::sales
