#include "sales/slsale/slipeditor.h"

#include "outside/sl_calc/calc.h"
#include "outside/sl_errmsg/errmsg.h"
#include "outside/sl_jet/seljetaccess.h"
#include "outside/sl_lib/conv.h"
#include "outside/sl_lib/convymd.h"
#include "outside/sl_nmsg/nmlmsg.h"
#include "platform/codec.h"
#include "platform/dao/dao.h"
#include "platform/file_io.h"

#include <QDir>

#include <algorithm>

namespace hv6::sales {

using sl::S_SELSLIP;
using sl::S_SELSLIPHD;

namespace {

// Error boxes.
constexpr long kErrClientRead = 516;
constexpr long kErrSlipRead = 522;
constexpr long kErrLinesRead = 523;
constexpr long kErrEnvironmentWrite = 550;
constexpr long kErrShipToWrite = 569;
constexpr long kErrSlipAppend = 622;
constexpr long kErrDiskSpace = 842;
constexpr long kErrSlipDate = 964;
constexpr long kErrInsertDiscount = 51002;
constexpr long kErrInsertFull = 51003;
constexpr long kErrBlankLine = 51004;
constexpr long kErrPaste = 51019;
constexpr long kErrNoNumber = 51032;
constexpr long kErrCashAtClose = 51037;
// Questions and notices.
constexpr long kAskDelete = 100;
constexpr long kAskOverwrite = 5101;
constexpr long kAskSave = 5102;
constexpr long kTellBilled = 5105;
constexpr long kAskOutOfRange = 5106;
constexpr long kAskDiscard = 5115;
constexpr long kAskMinimumPrice = 5121;
constexpr long kAskBillingDate = 5136;

// Texts of our own (no numbered message says these).
const QString kChangedElsewhere = QStringLiteral(
    "この伝票は、読み込んだ後に他の画面または他のコンピュータで変更されています。\n"
    "入力中の内容は登録していません（画面の内容はそのまま残っています）。\n"
    "いったん伝票を読み込み直してから、もう一度入力してください。");
const QString kDeletedElsewhere = QStringLiteral(
    "この伝票は、読み込んだ後に他の画面または他のコンピュータで削除されています。\n"
    "入力中の内容は登録していません（画面の内容はそのまま残っています）。");
const QString kNumberTakenElsewhere = QStringLiteral(
    "この伝票番号は、他の画面または他のコンピュータですでに登録されました。\n"
    "入力中の内容は登録していません（画面の内容はそのまま残っています）。\n"
    "伝票番号を変えて、もう一度登録してください。");
const QString kIncompleteLine = QStringLiteral(
    "明細%1行目の入力が完了していません。\n"
    "区分と商品名を入力してください（売上・返品の行は商品コードも必要です）。\n"
    "不要な行は削除してから登録してください。");
const QString kDeleteFailed = QStringLiteral("伝票の削除に失敗しました。\n(エラーコード: %1)");
const QString kPatternFailed =
    QStringLiteral("おきまり伝票の書き込みに失敗しました。\n(エラーコード: %1)");
const QString kPatternExists = QStringLiteral(
    "このおきまり番号はすでに登録されています。\n別の番号を指定するか、先に削除してください。");
const QString kPatternNoNumber = QStringLiteral("おきまり番号を入力してください。");
const QString kHandOverFailed = QStringLiteral("栽培履歴出力の起動に失敗しました。");
const QString kHandOverFileFailed =
    QStringLiteral("栽培履歴出力の作業ファイルを作成できませんでした。\n%1");

bool isBlankText(const QString& text) {
  for (const QChar c : text)
    if (c != u' ' && c != QChar(0x3000)) return false;
  return true;
}

template <std::size_t N>
void copyField(char16_t (&to)[N], const char16_t (&from)[N]) {
  std::copy(std::begin(from), std::end(from), std::begin(to));
}

QString trimmedNumber(const S_SELSLIPHD& header) {
  return sl::CConv::DelBeforeSpace(sl::slText(header.slipNo));
}

}  // namespace

SlipEditor::SlipEditor(SlipWindowKind kind, sl::CSelJetAccess* jet, sl::CCalc* calc,
                       sl::CErrMsg* errors, sl::CNmlMsg* messages, QWidget* boxParent)
    : kind_(kind),
      jet_(jet),
      calc_(calc),
      errors_(errors),
      messages_(messages),
      boxParent_(boxParent) {}

// --- small helpers -------------------------------------------------------------

QString SlipEditor::kindName(std::uint8_t kind) {
  switch (kind) {
    case sl::kKindCash: return QStringLiteral("小売");
    case sl::kKindCredit: return QStringLiteral("掛売");
    case sl::kKindReservation: return QStringLiteral("予約");
    default: return QString();
  }
}

QString SlipEditor::rightAligned(const QString& number) {
  return sl::CConv::DelBeforeSpace(sl::CConv::DelAfterSpace(number))
      .rightJustified(kNumberWidth, u' ', true);
}

bool SlipEditor::incrementNumber(QString& number) {
  for (qsizetype i = number.size() - 1; i >= 0; --i) {
    const QChar c = number.at(i);
    if (c >= u'9') {
      number[i] = u'0';
      continue;
    }
    number[i] = c == u' ' ? QChar(u'1') : QChar(static_cast<char16_t>(c.unicode() + 1));
    return true;
  }
  return false;
}

bool SlipEditor::inRange(const QString& number) const {
  const QString n = rightAligned(number);
  const QString low = sl::slText(environment_.slipNoLow);
  const QString high = sl::slText(environment_.slipNoHigh);
  if (!isBlankText(low) && n < rightAligned(low)) return false;
  if (!isBlankText(high) && n > rightAligned(high)) return false;
  return true;
}

void SlipEditor::place(SlipField field, int row, SlipCell cell) {
  cursor_ = SlipCursor{field, row, cell};
}

void SlipEditor::setCurrent(int row, SlipCell cell) {
  currentRow_ = std::clamp(row, 0, sl::kMaxSlipLines - 1);
  place(SlipField::Line, currentRow_, cell);
}

QString SlipEditor::lastNumberOfKind() const {
  return sl::slText(kind_ == SlipWindowKind::Reservation ? environment_.lastNoReservation
                                                         : environment_.lastNoSales);
}

QList<S_SELSLIP> SlipEditor::allLines() const {
  QList<S_SELSLIP> out;
  for (int row = 0; row < sl::kMaxSlipLines; ++row) out.append(model_.line(row));
  return out;
}

void SlipEditor::setLines(const QList<S_SELSLIP>& lines) {
  for (int row = 0; row < sl::kMaxSlipLines; ++row)
    model_.editLine(row) = row < lines.size() ? lines.at(row) : S_SELSLIP{};
  model_.recomputeTotals();
}

// --- start and new slips -------------------------------------------------------

void SlipEditor::start(const sl::S_SELENV& environment, const sl::S_COMPANY& company) {
  environment_ = environment;
  company_ = company;
  model_.setCompany(company);
  model_.setEnvironment(environment);
  rememberedDate_ = environment.lastSlipDate != 0
                        ? environment.lastSlipDate
                        : static_cast<std::int32_t>(sl::CConvYmd::GetNowDate());
  // The first number: after the last saved slip of this kind, or the
  // range's first number.
  QString first = lastNumberOfKind();
  if (isBlankText(first)) first = sl::slText(environment.slipNoLow);
  if (isBlankText(first)) first = QStringLiteral("1");
  sl::slSetText(model_.editHeader().slipNo, rightAligned(first));
  newSlip();
}

void SlipEditor::clearClient() { model_.setClient(sl::S_CLIENTSEL{}); }

void SlipEditor::newSlip() {
  const QString before = sl::slText(model_.header().slipNo);
  std::uint8_t kind = sl::kKindReservation;
  if (kind_ == SlipWindowKind::Sales)
    kind = company_.cashSaleDefault ? sl::kKindCash : sl::kKindCredit;
  clearClient();
  model_.newSlip(kind, rememberedDate_);
  const QString number = isBlankText(before) ? QString() : freeNumberFrom(before);
  sl::slSetText(model_.editHeader().slipNo, number.isEmpty() ? QString() : rightAligned(number));
  model_.markSaved();
  storedHeader_ = S_SELSLIPHD{};
  storedLines_.clear();
  browsing_ = false;
  currentRow_ = 0;
  place(SlipField::SlipDate);
}

QString SlipEditor::freeNumberFrom(const QString& start) {
  QString number = rightAligned(start);
  bool exists = false;
  int status = jet_->ExistSlipHead(appType(), number, exists);
  if (status != sl::kSlOk) {
    errors_->Disp(status, boxParent_, kErrSlipRead);
    return QString();
  }
  if (!exists) return number;
  const QString low = sl::slText(environment_.slipNoLow);
  const QString high = sl::slText(environment_.slipNoHigh);
  QString found;
  for (int tried = 1;; ++tried) {
    if (hooks_.searchProgress && !hooks_.searchProgress(tried)) break;  // cancelled
    if (!incrementNumber(number)) break;                              // overflow
    // Below the range: its first number is the next candidate; above it
    // no later number comes back into it.
    if (!isBlankText(low) && number < rightAligned(low)) number = rightAligned(low);
    if (!isBlankText(high) && number > rightAligned(high)) break;
    status = jet_->ExistSlipHead(appType(), number, exists);
    if (status != sl::kSlOk) {
      if (hooks_.searchDone) hooks_.searchDone();
      errors_->Disp(status, boxParent_, kErrSlipRead);
      return QString();
    }
    if (!exists) {
      found = number;
      break;
    }
  }
  if (hooks_.searchDone) hooks_.searchDone();
  return found;
}

// --- loading -------------------------------------------------------------------

bool SlipEditor::readClientRecord(std::int32_t code, sl::S_CLIENTSEL& out, bool quiet) {
  out = sl::S_CLIENTSEL{};
  if (code == 0) return true;
  const int status = jet_->ReadClient(code, out);
  if (status == sl::kSlOk) return true;
  out = sl::S_CLIENTSEL{};
  if (status == sl::kSlNotFound) {
    out.code = code;
    return true;
  }
  if (!quiet) errors_->Disp(status, boxParent_, kErrClientRead);
  return false;
}

void SlipEditor::showSlip(const S_SELSLIPHD& header, const QList<S_SELSLIP>& lines) {
  sl::S_CLIENTSEL client;
  readClientRecord(header.clientCode, client, true);
  model_.setClient(client);
  model_.load(header, lines);
  storedHeader_ = header;
  storedLines_ = lines;
  browsing_ = true;
  currentRow_ = 0;
  place(SlipField::SlipDate);
}

bool SlipEditor::loadSlip(const QString& number) {
  S_SELSLIPHD header;
  int status = jet_->ReadSlipHead(appType(), rightAligned(number), header);
  if (status != sl::kSlOk) {
    errors_->Disp(status, boxParent_, kErrSlipRead);
    return false;
  }
  QList<S_SELSLIP> lines;
  status = jet_->ReadSlipLines(header.code, lines);
  if (status != sl::kSlOk) {
    errors_->Disp(status, boxParent_, kErrLinesRead);
    return false;
  }
  showSlip(header, lines);
  return true;
}

// --- header fields -------------------------------------------------------------

bool SlipEditor::enterSlipNumber(const QString& text) {
  const QString typed = sl::CConv::ConvCodeString(text, kNumberWidth);
  const QString shown = sl::slText(model_.header().slipNo);
  if (typed == rightAligned(shown)) return true;
  if (isBlankText(typed)) {
    sl::slSetText(model_.editHeader().slipNo, QString());
    return true;
  }
  bool exists = false;
  const int status = jet_->ExistSlipHead(appType(), typed, exists);
  if (status != sl::kSlOk) {
    errors_->Disp(status, boxParent_, kErrSlipRead);
    place(SlipField::SlipNo);
    return false;
  }
  if (exists) {
    if (!confirmLeave()) {
      place(SlipField::SlipNo);
      return false;
    }
    return loadSlip(typed);
  }
  if (!inRange(typed) && messages_->Disp(boxParent_, kAskOutOfRange) != sl::kIdYes) {
    place(SlipField::SlipNo);
    return false;
  }
  if (isStored()) {
    const CopyChoice choice = hooks_.askCopy ? hooks_.askCopy() : CopyChoice::No;
    if (choice == CopyChoice::No) {
      place(SlipField::SlipNo);
      return false;
    }
    S_SELSLIPHD from = model_.header();
    const QList<S_SELSLIP> lines = choice == CopyChoice::Whole ? model_.lines() : QList<S_SELSLIP>{};
    const sl::S_CLIENTSEL client = model_.client();
    model_.newSlip(from.slipKind, from.slipDate);
    model_.setClient(client);
    // The empty new slip stays the as-loaded copy: the copy counts as a
    // change to save.
    S_SELSLIPHD& h = model_.editHeader();
    h = from;
    h.code = 0;
    h.newSlip = 1;
    h.lineCount = 0;
    // A new slip is neither billed nor shipped yet.
    h.billed = 0;
    h.shipped = 0;
    h.claimDate = 0;
    sl::slSetText(h.slipNo, typed);
    setLines(lines);
    storedHeader_ = S_SELSLIPHD{};
    storedLines_.clear();
    browsing_ = false;
    place(SlipField::SlipDate);
    return true;
  }
  sl::slSetText(model_.editHeader().slipNo, typed);
  return true;
}

void SlipEditor::setSlipDate(std::int32_t date) { model_.editHeader().slipDate = date; }

void SlipEditor::setSlipKind(std::uint8_t kind) {
  if (kind_ == SlipWindowKind::Reservation) return;
  if (kind == sl::kKindCash || kind == sl::kKindCredit) model_.editHeader().slipKind = kind;
}

bool SlipEditor::setClient(std::int32_t code) {
  sl::S_CLIENTSEL client;
  if (!readClientRecord(code, client, false)) {
    place(SlipField::Client);
    return false;
  }
  S_SELSLIPHD& h = model_.editHeader();
  h.clientCode = code;
  h.clientType = client.clientType;
  model_.setClient(client);
  model_.resettleLines();
  return true;
}

// --- save ----------------------------------------------------------------------

std::int32_t SlipEditor::billingDate() const {
  const S_SELSLIPHD& h = model_.header();
  return h.claimDate != 0 ? h.claimDate : h.slipDate;
}

bool SlipEditor::checkBeforeSave() {
  S_SELSLIPHD& h = model_.editHeader();
  // 1. A billed sales slip cannot change.
  if (h.slipKind != sl::kKindReservation && h.clientCode != 0) {
    sl::S_BILLSUM bill;
    const bool billed =
        h.billed != 0 || (jet_->ReadBillSum(h.clientCode, bill) == sl::kSlOk &&
                          bill.lastBillDate != 0 && billingDate() <= bill.lastBillDate);
    if (billed) {
      messages_->Disp(boxParent_, kTellBilled);
      return false;
    }
  }
  // 2. The header.
  if (hooks_.freeSpace) {
    const qint64 free = hooks_.freeSpace();
    if (free >= 0 && static_cast<double>(free) < kMinimumFreeSpace) {
      errors_->Disp(0, boxParent_, kErrDiskSpace);
      return false;
    }
  }
  const QString number = sl::slText(h.slipNo);
  if (isBlankText(number)) {
    errors_->Disp(0, boxParent_, kErrNoNumber);
    place(SlipField::SlipNo);
    return false;
  }
  sl::slSetText(h.slipNo, sl::CConv::ConvCodeString(number, kNumberWidth));
  if (!isValidSlipDate(h.slipDate)) {
    errors_->Disp(0, boxParent_, kErrSlipDate);
    place(SlipField::SlipDate);
    return false;
  }
  if (h.slipKind == sl::kKindCash && h.clientCode != 0 &&
      model_.client().taxTiming == sl::kTimingAtClose) {
    errors_->Disp(0, boxParent_, kErrCashAtClose);
    place(SlipField::SlipKind);
    return false;
  }
  const std::int32_t lastBill = model_.client().lastBillDate;
  if (h.clientCode != 0 && lastBill != 0 && billingDate() <= lastBill) {
    const int style = company_.dateStyle;
    if (messages_->Disp(boxParent_, kAskBillingDate, sl::CConvYmd::ConvSpDate(billingDate(), style),
                        sl::CConvYmd::ConvSpDate(lastBill, style)) != sl::kIdYes) {
      place(SlipField::ClaimDate);
      return false;
    }
  }
  for (int row = 0; row + 1 < sl::kMaxSlipLines; ++row) {
    if (isEmptyLine(model_.line(row)) && model_.usedLines() > row + 1) {
      errors_->Disp(0, boxParent_, kErrBlankLine);
      place(SlipField::Line, row);
      return false;
    }
  }
  // A line begun but not complete would not be written: it is finished
  // or cleared first, so that nothing typed is lost without a word.
  for (int row = 0; row < model_.usedLines(); ++row) {
    const S_SELSLIP& l = model_.line(row);
    if (!isEmptyLine(l) && !isCompleteLine(l)) {
      errors_->DispText(kIncompleteLine.arg(row + 1), boxParent_);
      place(SlipField::Line, row, l.kind == sl::kLineEmpty ? SlipCell::Kind
                                  : l.goodsName[0] == 0    ? SlipCell::Name
                                                           : SlipCell::GoodsCode);
      return false;
    }
  }
  // 3. Prices below the goods' minimum.
  const int decimals = model_.priceDecimals();
  for (int row = 0; row < model_.usedLines(); ++row) {
    const S_SELSLIP& l = model_.line(row);
    if (l.kind != sl::kLineSale || l.goodsCode[0] == 0) continue;
    sl::S_COMMODITY goods;
    if (jet_->ReadGoods(sl::slText(l.goodsCode), goods) != sl::kSlOk) continue;
    if (!goods.checkMinimum || !(l.unitPrice < goods.minimumPrice)) continue;
    const auto price = [decimals](double value) {
      return sl::CConv::CommaStr(value, decimals).rightJustified(17, u' ') + QStringLiteral("円");
    };
    if (messages_->Disp(boxParent_, kAskMinimumPrice, QString::number(row + 1),
                        sl::slText(l.goodsName), price(l.unitPrice),
                        price(goods.minimumPrice)) != sl::kIdYes) {
      place(SlipField::Line, row, SlipCell::UnitPrice);
      return false;
    }
  }
  return true;
}

// Compares what the store holds now with the copy taken when the slip was
// loaded or last saved. Runs inside the save's transaction, so nobody can
// write between the comparison and the save.
bool SlipEditor::storedUnchanged(QString& why) {
  const S_SELSLIPHD& loaded = model_.loadedHeader();
  if (loaded.code == 0) {
    bool exists = false;
    const int status = jet_->ExistSlipHead(appType(), sl::slText(model_.header().slipNo), exists);
    if (status != sl::kSlOk) {
      errors_->Disp(status, boxParent_, kErrSlipRead);
      why.clear();
      return false;
    }
    if (exists) why = kNumberTakenElsewhere;
    return !exists;
  }
  S_SELSLIPHD now;
  int status = jet_->ReadSlipHeadByCode(loaded.code, now);
  if (status == sl::kSlNotFound) {
    why = kDeletedElsewhere;
    return false;
  }
  if (status != sl::kSlOk) {
    errors_->Disp(status, boxParent_, kErrSlipRead);
    why.clear();
    return false;
  }
  QList<S_SELSLIP> lines;
  status = jet_->ReadSlipLines(loaded.code, lines);
  if (status != sl::kSlOk) {
    errors_->Disp(status, boxParent_, kErrLinesRead);
    why.clear();
    return false;
  }
  if (!(now == storedHeader_) || lines != storedLines_) {
    why = kChangedElsewhere;
    return false;
  }
  return true;
}

bool SlipEditor::writeSlip() {
  CDaoDatabase* db = jet_->database();
  S_SELSLIPHD header = model_.header();
  const S_SELSLIPHD loaded = model_.loadedHeader();
  QList<S_SELSLIP> lines;
  for (int row = 0; row < header.lineCount; ++row) lines.append(model_.line(row));
  try {
    DaoTransaction transaction(*db);
    QString why;
    if (!storedUnchanged(why)) {
      if (!why.isEmpty()) errors_->DispText(why, boxParent_);
      return false;
    }
    bool done = false;
    if (loaded.code != 0 && loaded.clientCode != header.clientCode) {
      // 6. Another client: the stored slip goes and the slip is stored
      // anew, in one transaction.
      done = calc_->MoveClientSelslip(boxParent_, header, loaded, lines) != 0;
    } else if (loaded.code == 0) {
      // 7. A new slip: its header first, then everything else.
      const int status = jet_->AppendSlipHead(header);
      if (status != sl::kSlOk) {
        errors_->Disp(status, boxParent_, kErrSlipAppend);
        return false;
      }
      S_SELSLIPHD appended = header;
      appended.lineCount = 0;
      done = calc_->UpdateClientSelslip(boxParent_, header, appended, lines, sl::kStoreAppended) != 0;
    } else {
      done = calc_->UpdateClientSelslip(boxParent_, header, loaded, lines, sl::kStoreChanged) != 0;
    }
    if (!done) {
      errors_->Disp(calc_->lastStatus(), boxParent_, kErrSlipAppend);
      return false;
    }
    transaction.commit();
  } catch (const CDaoException& e) {
    errors_->Disp(static_cast<int>(e.errorCode()), boxParent_, kErrSlipAppend);
    return false;
  }
  model_.editHeader() = header;
  return true;
}

void SlipEditor::setLastNumber(const QString& number, std::int32_t date, bool withDate) {
  sl::S_SELENV env;
  int status = jet_->ReadEnvironment(env);
  if (status == sl::kSlOk) {
    sl::slSetText(kind_ == SlipWindowKind::Reservation ? env.lastNoReservation : env.lastNoSales,
                  number);
    if (withDate) env.lastSlipDate = date;
    status = jet_->UpdateEnvironment(env);
  }
  if (status != sl::kSlOk) {
    errors_->Disp(status, boxParent_, kErrEnvironmentWrite);
    return;
  }
  environment_ = env;
  model_.setEnvironment(env);
}

void SlipEditor::readStoredCopy() {
  S_SELSLIPHD header;
  if (jet_->ReadSlipHeadByCode(model_.header().code, header) != sl::kSlOk) return;
  QList<S_SELSLIP> lines;
  if (jet_->ReadSlipLines(header.code, lines) != sl::kSlOk) return;
  storedHeader_ = header;
  storedLines_ = lines;
  model_.editHeader() = header;
}

bool SlipEditor::runSave() {
  if (!checkBeforeSave()) return false;
  // 4. The complete lines get the header's keys and their numbers.
  S_SELSLIPHD& h = model_.editHeader();
  int complete = 0;
  for (int row = 0; row < sl::kMaxSlipLines; ++row) {
    S_SELSLIP& l = model_.editLine(row);
    if (!isCompleteLine(l)) break;
    copyField(l.slipNo, h.slipNo);
    l.slipDate = h.slipDate;
    l.slipKind = h.slipKind;
    l.clientCode = h.clientCode;
    l.lineNo = static_cast<std::uint8_t>(row + 1);
    if (l.kind >= sl::kLineGoodsDiscount) {
      if (l.kind == sl::kLineGoodsDiscount && row > 0)
        copyField(l.goodsCode, model_.line(row - 1).goodsCode);
      else
        std::fill(std::begin(l.goodsCode), std::end(l.goodsCode), u'\0');
    }
    complete = row + 1;
  }
  h.lineCount = complete;
  const QString number = sl::slText(h.slipNo);
  // 5. Nothing changed: only the last number.
  if (!model_.isChanged()) {
    setLastNumber(number, 0, false);
    return true;
  }
  // 6-8.
  if (!writeSlip()) return false;
  setLastNumber(number, model_.header().slipDate, true);
  rememberedDate_ = model_.header().slipDate;
  readStoredCopy();
  model_.markSaved();
  const std::int32_t shipTo = model_.header().shipToCode;
  if (shipTo != 0) {
    sl::S_SHIPTO record;
    if (jet_->ReadShipTo(shipTo, record) == sl::kSlOk && !record.used) {
      record.used = 1;
      const int status = jet_->UpdateShipTo(record);
      if (status != sl::kSlOk) errors_->Disp(status, boxParent_, kErrShipToWrite);
    }
  }
  return true;
}

void SlipEditor::afterSave(bool wasBrowsing) {
  if (wasBrowsing) {
    if (const auto next = findSlip(SlipMove::Next)) {
      QList<S_SELSLIP> lines;
      if (jet_->ReadSlipLines(next->code, lines) == sl::kSlOk) {
        showSlip(*next, lines);
        return;
      }
    }
  }
  newSlip();
}

bool SlipEditor::save() {
  const bool wasBrowsing = browsing_ && isStored();
  if (!runSave()) return false;
  afterSave(wasBrowsing);
  return true;
}

bool SlipEditor::confirmLeave() {
  if (!model_.isChanged() || model_.header().clientCode == 0) return true;
  if (messages_->Disp(boxParent_, kAskSave) != sl::kIdYes) return true;
  return runSave();
}

// --- delete and copies ---------------------------------------------------------

bool SlipEditor::deleteSlip() {
  const S_SELSLIPHD& h = model_.header();
  const QString subject =
      sl::kDeleteSlipSubject.arg(trimmedNumber(h), kindName(h.slipKind));
  if (messages_->Disp(boxParent_, kAskDelete, subject) != sl::kIdYes) return false;
  if (isStored()) {
    S_SELSLIPHD header = model_.header();
    if (!calc_->UpdateClientSelslip(boxParent_, header, model_.loadedHeader(), {},
                                    sl::kRemoveStored)) {
      errors_->DispText(kDeleteFailed.arg(calc_->lastStatus()), boxParent_);
      return false;
    }
  }
  newSlip();
  return true;
}

void SlipEditor::copyIntoSlip(const S_SELSLIPHD& from, const QList<S_SELSLIP>& lines) {
  S_SELSLIPHD& h = model_.editHeader();
  const S_SELSLIPHD keep = h;
  h = from;
  // The slip being entered keeps its identity, number, date and kind.
  h.code = keep.code;
  copyField(h.slipNo, keep.slipNo);
  h.slipDate = keep.slipDate;
  h.slipKind = keep.slipKind;
  h.newSlip = keep.newSlip;
  h.lineCount = keep.lineCount;
  h.billed = keep.billed;
  h.shipped = keep.shipped;
  h.claimDate = keep.claimDate;
  sl::S_CLIENTSEL client;
  readClientRecord(h.clientCode, client, true);
  model_.setClient(client);
  QList<S_SELSLIP> copied = lines;
  for (S_SELSLIP& l : copied) {
    std::fill(std::begin(l.slipNo), std::end(l.slipNo), u'\0');
    l.slipDate = 0;
    l.slipKind = 0;
    l.clientCode = 0;
    l.lineNo = 0;
  }
  setLines(copied);
  currentRow_ = 0;
}

bool SlipEditor::copyLastSlip() {
  if (model_.isChanged() && messages_->Disp(boxParent_, kAskDiscard) != sl::kIdYes) return false;
  S_SELSLIPHD last;
  int status = jet_->ReadSlipHead(appType(), rightAligned(lastNumberOfKind()), last);
  if (status != sl::kSlOk) {
    errors_->Disp(status, boxParent_, kErrSlipRead);
    return false;
  }
  QList<S_SELSLIP> lines;
  status = jet_->ReadSlipLines(last.code, lines);
  if (status != sl::kSlOk) {
    errors_->Disp(status, boxParent_, kErrLinesRead);
    return false;
  }
  copyIntoSlip(last, lines);
  return true;
}

// --- patterns ------------------------------------------------------------------

bool SlipEditor::readPatterns(QList<sl::S_FIXSLIPHD>& out) {
  out.clear();
  const int status = jet_->ReadFixSlipHeads(out);
  if (status != sl::kSlOk && status != sl::kSlEnd && status != sl::kSlNotFound) {
    errors_->Disp(status, boxParent_, kErrSlipRead);
    return false;
  }
  return true;
}

bool SlipEditor::copyPattern(std::int32_t code) {
  if (model_.isChanged() && messages_->Disp(boxParent_, kAskDiscard) != sl::kIdYes) return false;
  sl::S_FIXSLIPHD pattern;
  QList<S_SELSLIP> lines;
  const int status = jet_->ReadFixSlip(code, pattern, lines);
  if (status != sl::kSlOk) {
    errors_->Disp(status, boxParent_, kErrSlipRead);
    return false;
  }
  copyIntoSlip(pattern.header, lines);
  return true;
}

bool SlipEditor::registerPattern(std::int32_t code, const QString& initialKey,
                                 const QString& name) {
  if (code <= 0) {
    errors_->DispText(kPatternNoNumber, boxParent_);
    return false;
  }
  sl::S_FIXSLIPHD pattern;
  pattern.code = code;
  sl::slSetText(pattern.initialKey, initialKey);
  sl::slSetText(pattern.name, name);
  pattern.header = model_.header();
  pattern.header.code = 0;
  const int status = jet_->AppendFixSlip(pattern, model_.lines());
  if (status == sl::kSlDuplicate) {
    errors_->DispText(kPatternExists, boxParent_);
    return false;
  }
  if (status != sl::kSlOk) {
    errors_->DispText(kPatternFailed.arg(status), boxParent_);
    return false;
  }
  return true;
}

bool SlipEditor::deletePattern(std::int32_t code) {
  if (messages_->Disp(boxParent_, kAskDelete, QStringLiteral("おきまり伝票[%1]").arg(code)) !=
      sl::kIdYes)
    return false;
  const int status = jet_->DeleteFixSlip(code);
  if (status != sl::kSlOk) {
    errors_->DispText(kPatternFailed.arg(status), boxParent_);
    return false;
  }
  return true;
}

// --- lines ---------------------------------------------------------------------

bool SlipEditor::insertLine() {
  const int row = currentRow_;
  if (isEmptyLine(model_.line(row))) return false;
  if (model_.line(row).kind == sl::kLineGoodsDiscount) {
    errors_->Disp(0, boxParent_, kErrInsertDiscount);
    place(SlipField::Line, row);
    return false;
  }
  if (!isEmptyLine(model_.line(sl::kMaxSlipLines - 1))) {
    errors_->Disp(0, boxParent_, kErrInsertFull);
    place(SlipField::Line, row);
    return false;
  }
  QList<S_SELSLIP> lines = allLines();
  lines.insert(row, S_SELSLIP{});
  lines.removeLast();
  setLines(lines);
  place(SlipField::Line, row);
  return true;
}

bool SlipEditor::deleteLine() {
  const int row = currentRow_;
  if (isEmptyLine(model_.line(row))) return false;
  const bool pair = model_.line(row).kind == sl::kLineSale && row + 1 < sl::kMaxSlipLines &&
                    model_.line(row + 1).kind == sl::kLineGoodsDiscount;
  const QString subject = pair ? sl::kDeleteLinePairSubject.arg(row + 1).arg(row + 2)
                               : sl::kDeleteLineSubject.arg(row + 1);
  if (messages_->Disp(boxParent_, kAskDelete, subject) != sl::kIdYes) return false;
  QList<S_SELSLIP> lines = allLines();
  const int count = pair ? 2 : 1;
  lines.remove(row, count);
  for (int i = 0; i < count; ++i) lines.append(S_SELSLIP{});
  setLines(lines);
  place(SlipField::Line, row);
  return true;
}

bool SlipEditor::copyLine() {
  const int row = currentRow_;
  if (!clipboardHeld_) {
    if (isEmptyLine(model_.line(row))) return false;
    clipboard_ = model_.line(row);
    clipboardHeld_ = true;
    return true;
  }
  const S_SELSLIP& here = model_.line(row);
  const bool aboveEmpty = row > 0 && isEmptyLine(model_.line(row - 1));
  const bool followedByDiscount =
      row + 1 < sl::kMaxSlipLines && model_.line(row + 1).kind == sl::kLineGoodsDiscount;
  if (aboveEmpty || here.kind == sl::kLineGoodsDiscount || followedByDiscount) {
    errors_->Disp(0, boxParent_, kErrPaste);
    place(SlipField::Line, row);
    return false;
  }
  if (here.goodsName[0] != 0 && messages_->Disp(boxParent_, kAskOverwrite) != sl::kIdYes)
    return false;
  S_SELSLIP pasted = clipboard_;
  clipboardHeld_ = false;
  if (pasted.kind == sl::kLineGoodsDiscount) {
    const S_SELSLIP* above = row > 0 ? &model_.line(row - 1) : nullptr;
    if (above == nullptr || above->kind != sl::kLineSale) {
      model_.editLine(row) = S_SELSLIP{};
      model_.recomputeTotals();
      return true;
    }
    copyField(pasted.goodsCode, above->goodsCode);
    copyField(pasted.goodsName, above->goodsName);
    copyField(pasted.unit, above->unit);
    pasted.irisu = above->irisu;
    pasted.boxes = above->boxes;
    pasted.quantity = above->quantity;
    pasted.unitPrice = above->unitPrice;
    pasted.costPrice = above->costPrice;
    pasted.simpleTaxClass = above->simpleTaxClass;
    const double typed =
        pasted.taxClass == sl::kTaxIncluded ? pasted.amount + pasted.tax : pasted.amount;
    pasted.taxClass = above->taxClass;
    pasted.taxRateCode = above->taxRateCode;
    model_.editLine(row) = pasted;
    model_.setAmount(row, typed);  // the discount's tax at the goods' class
    return true;
  }
  model_.editLine(row) = pasted;
  model_.recomputeTotals();
  return true;
}

// --- navigation ----------------------------------------------------------------

bool SlipEditor::matches(const S_SELSLIPHD& h) const {
  if (search_.dateFrom != 0 && h.slipDate < search_.dateFrom) return false;
  if (search_.dateTo != 0 && h.slipDate > search_.dateTo) return false;
  if (search_.clientCode != 0 && h.clientCode != search_.clientCode) return false;
  const QString n = sl::slText(h.slipNo);
  if (!search_.numberFrom.trimmed().isEmpty() && n < rightAligned(search_.numberFrom)) return false;
  if (!search_.numberTo.trimmed().isEmpty() && n > rightAligned(search_.numberTo)) return false;
  return true;
}

std::optional<S_SELSLIPHD> SlipEditor::findSlip(SlipMove move) {
  S_SELSLIPHD found;
  QString position = sl::slText(model_.header().slipNo);
  bool forward = move == SlipMove::Next || move == SlipMove::First;
  if (move == SlipMove::First) position.clear();
  // From a slip without a number, back means from the last one.
  if (move == SlipMove::Previous && isBlankText(position)) move = SlipMove::Last;
  int status = sl::kSlOk;
  if (move == SlipMove::Last) {
    status = jet_->ReadLastSlipHead(appType(), found);
    if (status == sl::kSlOk && matches(found)) return found;
    if (status != sl::kSlOk) return std::nullopt;
    position = sl::slText(found.slipNo);
    forward = false;
  }
  // Step through the slips in number order until one meets the search.
  for (;;) {
    status = forward ? jet_->ReadNextSlipHead(appType(), position, found)
                     : jet_->ReadPrevSlipHead(appType(), position, found);
    if (status != sl::kSlOk) {
      if (status != sl::kSlEnd && status != sl::kSlNotFound)
        errors_->Disp(status, boxParent_, kErrSlipRead);
      return std::nullopt;
    }
    if (matches(found)) return found;
    position = sl::slText(found.slipNo);
  }
}

bool SlipEditor::navigate(SlipMove move) {
  if (!confirmLeave()) return false;
  if (move == SlipMove::New) {
    newSlip();
    return true;
  }
  const auto found = findSlip(move);
  if (!found) return false;
  QList<S_SELSLIP> lines;
  const int status = jet_->ReadSlipLines(found->code, lines);
  if (status != sl::kSlOk) {
    errors_->Disp(status, boxParent_, kErrLinesRead);
    return false;
  }
  showSlip(*found, lines);
  return true;
}

// --- dialogs -------------------------------------------------------------------

QList<InfoRow> SlipEditor::clientInfo() const {
  const sl::S_CLIENTSEL& c = model_.client();
  const int style = company_.dateStyle;
  static const QStringList priceClasses{QStringLiteral("標準売値"), QStringLiteral("売値１"),
                                        QStringLiteral("売値２"), QStringLiteral("売値３")};
  const QStringList timings = taxTimingNames();
  const QString closeDay = c.closeDay >= 31 ? QStringLiteral("末日")
                                             : QStringLiteral("%1日").arg(c.closeDay);
  return {
      {QStringLiteral("得意先名"), sl::slText(c.name)},
      {QStringLiteral("請求締日"), c.code != 0 ? closeDay : QString()},
      {QStringLiteral("売値区分"), c.code != 0 ? priceClasses.value(c.priceClass) : QString()},
      {QStringLiteral("売値掛率"),
       c.code != 0 ? sl::CConv::CommaStr(c.priceRate, 1) + QStringLiteral(" %") : QString()},
      {QStringLiteral("税計算ﾀｲﾐﾝｸﾞ"), c.code != 0 ? timings.value(c.taxTiming - 1) : QString()},
      {QStringLiteral("与信限度額"), c.code != 0 ? sl::CConv::CommaStr(c.creditLimit) : QString()},
      {QStringLiteral("売掛残高"), c.code != 0 ? sl::CConv::CommaStr(c.balance) : QString()},
      {QStringLiteral("前回請求日"), sl::CConvYmd::ConvSpDate(c.lastBillDate, style)},
      {QStringLiteral("前回請求額"), c.code != 0 ? sl::CConv::CommaStr(c.lastBillAmount) : QString()},
      {QStringLiteral("売上伝票枚数"),
       c.code != 0 ? QStringLiteral("%1 枚（予約含む）").arg(c.salesSlipCount) : QString()},
      {QStringLiteral("入金伝票枚数"),
       c.code != 0 ? QStringLiteral("%1 枚").arg(c.paymentSlipCount) : QString()},
  };
}

UnitPriceChoices SlipEditor::unitPriceChoices(int row) {
  UnitPriceChoices choices;
  const S_SELSLIP& l = model_.line(row);
  const double rate = model_.client().priceRate > 0 ? model_.client().priceRate : 100;
  choices.rate = rate;
  if (l.goodsCode[0] == 0) return choices;
  sl::S_COMMODITY goods;
  if (jet_->ReadGoods(sl::slText(l.goodsCode), goods) != sl::kSlOk) return choices;
  choices.found = true;
  choices.goodsName = sl::slText(goods.name);
  const std::pair<const char16_t*, double> prices[] = {
      {u"標準売値", goods.standardPrice}, {u"売値１", goods.price1}, {u"売値２", goods.price2},
      {u"売値３", goods.price3},          {u"原単価", goods.costPrice}};
  for (const auto& [caption, price] : prices)
    choices.prices.append({QString::fromUtf16(caption), price, price * rate / 100.0});
  return choices;
}

void SlipEditor::applyUnitPrice(int row, double price) {
  const int d = model_.priceDecimals() == 0 ? 1 : 3;
  model_.setUnitPrice(row, roundValue(price, sl::kRoundTruncate, d));
}

// --- cultivation history -------------------------------------------------------

QStringList SlipEditor::handOverLines(int row) const {
  const S_SELSLIPHD& h = model_.header();
  const S_SELSLIP& l = model_.line(row);
  QList<S_SELSLIP> complete;
  for (int i = 0; i < sl::kMaxSlipLines && isCompleteLine(model_.line(i)); ++i)
    complete.append(model_.line(i));
  QStringList out{trimmedNumber(h),
                  QString::number(row + 1),
                  QString::number(l.cropCode),
                  QString::number(l.fieldCode),
                  sl::slText(model_.client().name),
                  QString::number(h.slipDate),
                  QString::number(complete.size())};
  for (const S_SELSLIP& c : complete) {
    out.append(QString::number(c.cropCode));
    out.append(QString::number(c.fieldCode));
  }
  return out;
}

QStringList SlipEditor::handOverArguments(int row) const {
  const S_SELSLIPHD& h = model_.header();
  const S_SELSLIP& l = model_.line(row);
  return {QStringLiteral("U"),         QString::number(row + 1),   QString::number(l.cropCode),
          QString::number(l.fieldCode), QString::number(h.slipDate), trimmedNumber(h),
          sl::slText(model_.client().name)};
}

bool SlipEditor::handOver() {
  const int row = currentRow_;
  QString folder = hooks_.handOverFolder;
  if (!folder.isEmpty() && !folder.endsWith(u'/')) folder += u'/';
  const QString path = folder + handOverFileName();
  QByteArray bytes;
  for (const QString& line : handOverLines(row)) bytes += cp932::encode(line) + "\r\n";
  if (!folder.isEmpty()) fileio::makeFolder(folder, 0700);
  const fileio::WriteResult written = fileio::replaceFile(path, bytes, 0600);
  if (!written.ok) {
    errors_->DispText(kHandOverFileFailed.arg(QDir::toNativeSeparators(path)), boxParent_);
    return false;
  }
  if (!hooks_.startProgram || !hooks_.startProgram(handOverProgram(), handOverArguments(row))) {
    errors_->DispText(kHandOverFailed, boxParent_);
    return false;
  }
  return true;
}

}  // namespace hv6::sales
