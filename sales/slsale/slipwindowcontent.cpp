// The content of the slip entry windows: the header fields, the place of
// the line grid, the navigation buttons, the two rows of function keys and
// the right-click menu, each bound to the slip editor.
#include "outside/sl_errmsg/errmsg.h"
#include "outside/sl_help/help.h"
#include "outside/sl_jet/seljetaccess.h"
#include "outside/sl_lib/convymd.h"
#include "sales/slsale/module.h"
#include "sales/slsale/slipgrid.h"
#include "sales/model/slipcalc.h"
#include "sales/slsale/slipprint.h"
#include "sales/slsale/slipwindowparts.h"
#include "sales/slsale/slsale.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace slsale {

using hv6::sales::SlipField;
using hv6::sales::SlipMove;

namespace {

// Tag colours of the header (codes 0..6).
const QStringList& tagColorNames() {
  static const QStringList names{QStringLiteral("なし"), QStringLiteral("赤"),
                                 QStringLiteral("青"),   QStringLiteral("緑"),
                                 QStringLiteral("黄"),   QStringLiteral("桃"),
                                 QStringLiteral("白")};
  return names;
}

using hv6::sales::SlipCell;
using hv6::sales::SlipGridModel;

int fieldOf(SlipCell cell) {
  switch (cell) {
    case SlipCell::Kind: return SlipGridModel::kKind;
    case SlipCell::GoodsCode: return SlipGridModel::kGoodsCode;
    case SlipCell::Name: return SlipGridModel::kName;
    case SlipCell::UnitPrice: return SlipGridModel::kUnitPrice;
    case SlipCell::Amount: return SlipGridModel::kAmount;
  }
  return SlipGridModel::kKind;
}

SlipCell cellOf(int field) {
  switch (field) {
    case SlipGridModel::kGoodsCode: return SlipCell::GoodsCode;
    case SlipGridModel::kName: return SlipCell::Name;
    case SlipGridModel::kUnitPrice: return SlipCell::UnitPrice;
    case SlipGridModel::kAmount: return SlipCell::Amount;
    default: return SlipCell::Kind;
  }
}

hv6::sales::FarmLists farmLists(const hv6::sales::FarmMasters& farm) {
  const auto names = [](const QList<hv6::sales::FarmEntry>& entries) {
    QList<hv6::sales::FarmName> out;
    for (const hv6::sales::FarmEntry& e : entries) out.append({e.code, e.name});
    return out;
  };
  return {names(farm.crops), names(farm.fields), names(farm.grades), names(farm.standards)};
}

QLabel* caption(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return label;
}

void selectCode(QComboBox* box, std::int32_t code) {
  int index = box->findData(code);
  if (index < 0) {
    // A code the lists do not hold (a deleted master row): shown by number.
    box->addItem(QStringLiteral("%1").arg(code), code);
    index = box->count() - 1;
  }
  box->setCurrentIndex(index);
}

}  // namespace

// --- the date field --------------------------------------------------------------

DateField::DateField(const QString& name, int dateStyle, QWidget* parent)
    : QWidget(parent), style_(dateStyle) {
  setObjectName(name);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(1);
  edit_ = new QLineEdit(this);
  edit_->setObjectName(name + QStringLiteral("Edit"));
  edit_->setMaxLength(12);
  edit_->setMinimumWidth(edit_->fontMetrics().horizontalAdvance(QStringLiteral("2026/12/31")) + 24);
  button_ = new QToolButton(this);
  button_->setObjectName(name + QStringLiteral("Button"));
  button_->setText(QStringLiteral("▼"));
  button_->setToolTip(QStringLiteral("カレンダーから選ぶ"));
  layout->addWidget(edit_);
  layout->addWidget(button_);
  QObject::connect(edit_, &QLineEdit::editingFinished, this, [this] { takeTyped(); });
  QObject::connect(button_, &QToolButton::clicked, this, [this] { pick(); });
}

void DateField::setDate(std::int32_t date) {
  date_ = date;
  edit_->setText(date == 0 ? QString() : sl::CConvYmd::ConvSpDate(date, style_));
}

void DateField::takeTyped() {
  const QString text = edit_->text().trimmed();
  long typed = 0;
  if (text.isEmpty()) {
    typed = 0;
  } else if (sl::CConvYmd::ConvSeireki(text, style_, typed) != 0) {
    QApplication::beep();  // not a date: the field shows the date it had
    setDate(date_);
    return;
  }
  if (typed == date_) return;
  setDate(static_cast<std::int32_t>(typed));
  if (onChanged) onChanged(date_);
}

void DateField::pick() {
  QDialog dialog(this);
  dialog.setWindowTitle(QStringLiteral("日付の選択"));
  auto* layout = new QVBoxLayout(&dialog);
  auto* calendar = new QCalendarWidget(&dialog);
  calendar->setObjectName(QStringLiteral("calendar"));
  if (date_ != 0) calendar->setSelectedDate(QDate(date_ / 10000, date_ / 100 % 100, date_ % 100));
  layout->addWidget(calendar);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
  layout->addWidget(buttons);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  QObject::connect(calendar, &QCalendarWidget::activated, &dialog, &QDialog::accept);
  if (dialog.exec() != QDialog::Accepted) return;
  const QDate day = calendar->selectedDate();
  const auto picked = static_cast<std::int32_t>(day.year() * 10000 + day.month() * 100 + day.day());
  if (picked == date_) return;
  setDate(picked);
  if (onChanged) onChanged(date_);
}

// --- the content -----------------------------------------------------------------

SlipWindowContent::SlipWindowContent(CSlipWnd* window, hv6::sales::SlipEditor& editor,
                                     bool salesWindow)
    : window_(window), editor_(editor), sales_(salesWindow) {
  setObjectName(QStringLiteral("content"));
  if (const QFont* font = display().font) setFont(*font);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->setSpacing(4);
  auto* top = new QHBoxLayout;
  top->addWidget(buildHeader(), 1);
  top->addWidget(buildNavigation(), 0, Qt::AlignTop);
  layout->addLayout(top);
  buildGrid(layout);
  layout->addWidget(buildKeys());
  contextMenu();
  fillLists();
  refresh();
}

// The line grid with its totals line over the editor's slip.
void SlipWindowContent::buildGrid(QBoxLayout* layout) {
  grid_ = new hv6::sales::SlipGrid(sales_ ? SlipGridModel::Sales : SlipGridModel::Reservation, this);
  grid_->setObjectName(QStringLiteral("slipGrid"));
  sl::MTRX_INIT init;
  const Display& shown = display();
  if (shown.font) init.font = *shown.font;
  if (shown.colors) init.colors = *shown.colors;
  init.cellWidth = shown.charWidth;
  init.cellHeight = shown.charHeight;
  init.resource = services().gridResource;
  grid_->Initial(init);
  grid_->setGoodsLookup([](const QString& code, sl::S_COMMODITY& goods) {
    sl::CSelJetAccess* jet = services().jet;
    return jet && jet->ReadGoods(code, goods) == sl::kSlOk;
  });
  if (sales_)
    if (SlipWindowState* state = window_->slipState()) grid_->setFarmLists(farmLists(state->farm));
  grid_->setSlipModel(&editor_.model());
  QObject::connect(grid_, &hv6::sales::SlipGrid::currentCellChanged, this,
                   [this](int line, int field) { editor_.setCurrent(line, cellOf(field)); });
  QObject::connect(grid_, &hv6::sales::SlipGrid::refusal, this,
                   [this](int number) { showError(number); });
  QObject::connect(grid_, &hv6::sales::SlipGrid::goodsNotFound, this,
                   [this](int, const QString& code) {
                     showError(0, QStringLiteral("商品コード[%1]の商品は登録されていません。")
                                      .arg(code.trimmed()));
                   });
  // 単価設定 from the unit price cell.
  auto* price = new QShortcut(QKeySequence(Qt::Key_F9), this);
  price->setContext(Qt::WidgetWithChildrenShortcut);
  QObject::connect(price, &QShortcut::activated, this, [this] { openUnitPrice(); });
  layout->addWidget(grid_, 1);
}

void SlipWindowContent::showError(long number, const QString& text) {
  sl::CErrMsg local;
  sl::CErrMsg& box = services().errMsg ? *services().errMsg : local;
  if (text.isEmpty())
    box.Disp(0, window_, number);
  else
    box.DispText(text, window_);
}

void SlipWindowContent::openUnitPrice() {
  if (grid_->currentField() != SlipGridModel::kUnitPrice) return;
  grid_->commitEdit();
  editor_.setCurrent(grid_->currentLine(), SlipCell::UnitPrice);
  CE12Dlg dialog(window_);
  if (dialog.exec() == QDialog::Accepted) grid_->linesChanged(editor_.currentRow(), editor_.currentRow() + 1);
}

QWidget* SlipWindowContent::buildHeader() {
  auto* header = new QWidget(this);
  header->setObjectName(QStringLiteral("header"));
  auto* grid = new QGridLayout(header);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setHorizontalSpacing(6);
  grid->setVerticalSpacing(3);
  const int style = editor_.model().company().dateStyle;

  slipNo_ = new QLineEdit(header);
  slipNo_->setObjectName(QStringLiteral("slipNo"));
  slipNo_->setMaxLength(hv6::sales::SlipEditor::kNumberWidth);
  slipNo_->setMinimumWidth(fontMetrics().horizontalAdvance(QString(13, u'0')) + 12);
  slipDate_ = new DateField(QStringLiteral("slipDate"), style, header);
  grid->addWidget(caption(QStringLiteral("伝票番号"), header), 0, 0);
  grid->addWidget(slipNo_, 0, 1);
  grid->addWidget(caption(QStringLiteral("伝票日付"), header), 0, 2);
  grid->addWidget(slipDate_, 0, 3);
  if (sales_) {
    kind_ = new QComboBox(header);
    kind_->setObjectName(QStringLiteral("slipKind"));
    kind_->addItem(QStringLiteral("小売"), int{sl::kKindCash});
    kind_->addItem(QStringLiteral("掛売"), int{sl::kKindCredit});
    grid->addWidget(caption(QStringLiteral("区分"), header), 0, 4);
    grid->addWidget(kind_, 0, 5);
    QObject::connect(kind_, &QComboBox::activated, this, [this](int index) {
      editor_.setSlipKind(static_cast<std::uint8_t>(kind_->itemData(index).toInt()));
    });
  }

  auto* client = new QWidget(header);
  auto* clientRow = new QHBoxLayout(client);
  clientRow->setContentsMargins(0, 0, 0, 0);
  clientRow->setSpacing(2);
  clientCode_ = new QLineEdit(client);
  clientCode_->setObjectName(QStringLiteral("clientCode"));
  clientCode_->setMaxLength(9);
  clientCode_->setMaximumWidth(fontMetrics().horizontalAdvance(QString(10, u'0')));
  auto* lookup = new QToolButton(client);
  lookup->setObjectName(QStringLiteral("clientLookup"));
  lookup->setText(QStringLiteral("検索"));
  clientName_ = new QLabel(client);
  clientName_->setObjectName(QStringLiteral("clientName"));
  clientName_->setFrameShape(QFrame::StyledPanel);
  clientName_->setMinimumWidth(fontMetrics().horizontalAdvance(QString(20, QChar(0x3042))));
  clientRow->addWidget(clientCode_);
  clientRow->addWidget(lookup);
  clientRow->addWidget(clientName_, 1);
  grid->addWidget(caption(QStringLiteral("得意先"), header), 1, 0);
  grid->addWidget(client, 1, 1, 1, 3);
  shipTo_ = new QComboBox(header);
  shipTo_->setObjectName(QStringLiteral("shipTo"));
  shipTo_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  shipTo_->setMinimumContentsLength(10);
  grid->addWidget(caption(QStringLiteral("発送先"), header), 1, 4);
  grid->addWidget(shipTo_, 1, 5);

  person_ = new QComboBox(header);
  person_->setObjectName(QStringLiteral("person"));
  person_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  person_->setMinimumContentsLength(8);
  shipDate_ = new DateField(QStringLiteral("shipDate"), style, header);
  claimDate_ = new DateField(QStringLiteral("claimDate"), style, header);
  grid->addWidget(caption(QStringLiteral("担当者"), header), 2, 0);
  grid->addWidget(person_, 2, 1);
  grid->addWidget(caption(QStringLiteral("発送予定日"), header), 2, 2);
  grid->addWidget(shipDate_, 2, 3);
  grid->addWidget(caption(QStringLiteral("請求予定日"), header), 2, 4);
  grid->addWidget(claimDate_, 2, 5);

  tagColor_ = new QComboBox(header);
  tagColor_->setObjectName(QStringLiteral("tagColor"));
  for (int i = 0; i < tagColorNames().size(); ++i) tagColor_->addItem(tagColorNames().at(i), i);
  adPlan_ = new QComboBox(header);
  adPlan_->setObjectName(QStringLiteral("adPlan"));
  adPlan_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  adPlan_->setMinimumContentsLength(10);
  grid->addWidget(caption(QStringLiteral("荷札の色"), header), 3, 0);
  grid->addWidget(tagColor_, 3, 1);
  grid->addWidget(caption(QStringLiteral("企画"), header), 3, 2);
  grid->addWidget(adPlan_, 3, 3, 1, 3);
  grid->setColumnStretch(6, 1);

  QObject::connect(slipNo_, &QLineEdit::editingFinished, this, [this] {
    if (refreshing_) return;
    refreshing_ = true;
    editor_.enterSlipNumber(slipNo_->text());
    refreshing_ = false;
    refresh();
    grid_->reload();
    focusCursor();
  });
  slipDate_->onChanged = [this](std::int32_t date) { editor_.setSlipDate(date); };
  shipDate_->onChanged = [this](std::int32_t date) { editor_.setShipDate(date); };
  claimDate_->onChanged = [this](std::int32_t date) { editor_.setClaimDate(date); };
  QObject::connect(clientCode_, &QLineEdit::editingFinished, this, [this] {
    if (refreshing_) return;
    const auto code = clientCode_->text().trimmed().toInt();
    if (code == editor_.header().clientCode) return;
    refreshing_ = true;
    editor_.setClient(code);
    refreshing_ = false;
    fillLists();
    refresh();
    grid_->reload();
  });
  QObject::connect(lookup, &QToolButton::clicked, this, [this] { pickClient(); });
  QObject::connect(shipTo_, &QComboBox::activated, this,
                   [this](int i) { editor_.setShipTo(shipTo_->itemData(i).toInt()); });
  QObject::connect(person_, &QComboBox::activated, this,
                   [this](int i) { editor_.setPerson(person_->itemData(i).toInt()); });
  QObject::connect(tagColor_, &QComboBox::activated, this,
                   [this](int i) { editor_.setTagColor(tagColor_->itemData(i).toInt()); });
  QObject::connect(adPlan_, &QComboBox::activated, this,
                   [this](int i) { editor_.setAdPlan(adPlan_->itemData(i).toInt()); });
  return header;
}

QWidget* SlipWindowContent::buildNavigation() {
  auto* box = new QWidget(this);
  box->setObjectName(QStringLiteral("navigation"));
  auto* grid = new QGridLayout(box);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setSpacing(2);
  const std::pair<int, const char16_t*> moves[] = {{kCmdFirst, u"先頭"},
                                                   {kCmdPrevious, u"前へ"},
                                                   {kCmdNext, u"次へ"},
                                                   {kCmdLast, u"最後"},
                                                   {kCmdNew, u"新規"}};
  int at = 0;
  for (const auto& [command, text] : moves) {
    auto* button = new QPushButton(QString::fromUtf16(text), box);
    button->setObjectName(QString::number(command));
    button->setFocusPolicy(Qt::NoFocus);
    const int id = command;
    QObject::connect(button, &QPushButton::clicked, this, [this, id] { run(id); });
    buttons_.insert(command, button);
    grid->addWidget(button, at / 3, at % 3);
    ++at;
  }
  auto* search = new QPushButton(QStringLiteral("検索条件"), box);
  search->setObjectName(QStringLiteral("searchConditions"));
  search->setFocusPolicy(Qt::NoFocus);
  QObject::connect(search, &QPushButton::clicked, this, [this] { searchDialog(); });
  grid->addWidget(search, 1, 2);
  return box;
}

void SlipWindowContent::addKey(QWidget* keys, int row, int column, int command, const QString& key,
                               const QString& text, const QList<QKeySequence>& shortcuts) {
  auto* button = new QPushButton(key.isEmpty() ? text : key + u' ' + text, keys);
  button->setObjectName(QString::number(command));
  button->setFocusPolicy(Qt::NoFocus);
  static_cast<QGridLayout*>(keys->layout())->addWidget(button, row, column);
  buttons_.insert(command, button);
  QObject::connect(button, &QPushButton::clicked, this, [this, command] { run(command); });
  for (const QKeySequence& sequence : shortcuts) {
    auto* shortcut = new QShortcut(sequence, this);
    shortcut->setContext(Qt::WidgetWithChildrenShortcut);
    QObject::connect(shortcut, &QShortcut::activated, this, [this, command] {
      if (enabled(command)) run(command);
    });
  }
}

// Two rows in eight columns: F1..F8 above, the SHIFT keys below their
// F-key.
QWidget* SlipWindowContent::buildKeys() {
  auto* keys = new QWidget(this);
  keys->setObjectName(QStringLiteral("functionKeys"));
  auto* grid = new QGridLayout(keys);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setSpacing(2);
  for (int column = 0; column < 8; ++column) grid->setColumnStretch(column, 1);
  using K = QKeySequence;
  addKey(keys, 0, 0, kCmdHelp, QStringLiteral("F1"), QStringLiteral("ヘルプ"), {K(Qt::Key_F1)});
  addKey(keys, 0, 1, kCmdSave, QStringLiteral("F2"), QStringLiteral("登録"), {K(Qt::Key_F2)});
  addKey(keys, 0, 2, kCmdInsertLine, QStringLiteral("F3"), QStringLiteral("１行挿入"),
         {K(Qt::Key_F3), K(Qt::Key_Insert)});
  addKey(keys, 0, 3, kCmdDeleteLine, QStringLiteral("F4"), QStringLiteral("１行削除"),
         {K(Qt::Key_F4), K(Qt::Key_Delete)});
  addKey(keys, 0, 4, kCmdCopyLast, QStringLiteral("F5"), QStringLiteral("前伝票ｺﾋﾟｰ"),
         {K(Qt::Key_F5)});
  addKey(keys, 0, 5, kCmdCopyLine, QStringLiteral("F6"), QStringLiteral("１行ｺﾋﾟｰ"), {K(Qt::Key_F6)});
  if (sales_)
    addKey(keys, 0, 6, kCmdPrint, QStringLiteral("F7"), QStringLiteral("印刷"), {K(Qt::Key_F7)});
  addKey(keys, 0, 7, kCmdClose, QStringLiteral("F8"), QStringLiteral("閉じる"), {K(Qt::Key_F8)});
  addKey(keys, 1, 1, kCmdInfo, QStringLiteral("S-F2"), QStringLiteral("情報参照"),
         {K(Qt::SHIFT | Qt::Key_F2)});
  addKey(keys, 1, 3, kCmdDeleteSlip, QStringLiteral("S-F4"), QStringLiteral("伝票削除"),
         {K(Qt::SHIFT | Qt::Key_F4)});
  addKey(keys, 1, 4, kCmdCalculator, QStringLiteral("S-F5"), QStringLiteral("電卓"),
         {K(Qt::SHIFT | Qt::Key_F5)});
  addKey(keys, 1, 5, kCmdPatterns, QStringLiteral("S-F6"), QStringLiteral("おきまり"),
         {K(Qt::SHIFT | Qt::Key_F6)});
  if (sales_) addKey(keys, 1, 6, kCmdHandOver, QString(), QStringLiteral("栽培履歴"), {});
  return keys;
}

void SlipWindowContent::fillLists() {
  sl::CSelJetAccess* jet = services().jet;
  const std::int32_t client = editor_.header().clientCode;
  shipTo_->clear();
  shipTo_->addItem(QStringLiteral("（なし）"), 0);
  person_->clear();
  person_->addItem(QStringLiteral("（なし）"), 0);
  adPlan_->clear();
  adPlan_->addItem(QStringLiteral("（なし）"), 0);
  if (!jet) return;
  QList<sl::S_SHIPTO> shipTos;
  if (jet->ReadShipTos(shipTos) == sl::kSlOk)
    for (const sl::S_SHIPTO& s : shipTos)
      if (s.clientCode == 0 || s.clientCode == client) shipTo_->addItem(sl::slText(s.name), s.code);
  QList<sl::S_PERSON> persons;
  if (jet->ReadPersons(persons) == sl::kSlOk)
    for (const sl::S_PERSON& p : persons) person_->addItem(sl::slText(p.name), p.code);
  QList<sl::S_PLAN> plans;
  if (jet->ReadPlans(plans) == sl::kSlOk)
    for (const sl::S_PLAN& p : plans) adPlan_->addItem(sl::slText(p.name), p.code);
}

void SlipWindowContent::refresh() {
  refreshing_ = true;
  const sl::S_SELSLIPHD& h = editor_.header();
  slipNo_->setText(sl::slText(h.slipNo).trimmed());
  slipDate_->setDate(h.slipDate);
  if (kind_) kind_->setCurrentIndex(kind_->findData(int{h.slipKind}));
  clientCode_->setText(h.clientCode != 0 ? QString::number(h.clientCode) : QString());
  clientName_->setText(sl::slText(editor_.client().name));
  selectCode(shipTo_, h.shipToCode);
  selectCode(person_, h.personCode);
  selectCode(adPlan_, h.adPlan);
  selectCode(tagColor_, h.tagColor);
  shipDate_->setDate(h.shipDate);
  claimDate_->setDate(h.claimDate);
  for (auto it = buttons_.cbegin(); it != buttons_.cend(); ++it)
    it.value()->setEnabled(enabled(it.key()));
  if (QPushButton* copy = buttons_.value(kCmdCopyLine))
    copy->setText(editor_.clipboardHeld() ? QStringLiteral("F6 １行貼付")
                                          : QStringLiteral("F6 １行ｺﾋﾟｰ"));
  refreshing_ = false;
}

bool SlipWindowContent::enabled(int command) const {
  switch (command) {
    case kCmdPrint:  // slips are printed from the sales slip window
      return sales_;
    case kCmdDeleteSlip:
      return !sl::slText(editor_.header().slipNo).trimmed().isEmpty();
    default:
      return true;
  }
}

void SlipWindowContent::focusCursor() {
  switch (editor_.cursor().field) {
    case SlipField::SlipNo: slipNo_->setFocus(); break;
    case SlipField::SlipDate: slipDate_->edit()->setFocus(); break;
    case SlipField::SlipKind:
      if (kind_) kind_->setFocus();
      break;
    case SlipField::Client: clientCode_->setFocus(); break;
    case SlipField::ShipTo: shipTo_->setFocus(); break;
    case SlipField::Person: person_->setFocus(); break;
    case SlipField::ShipDate: shipDate_->edit()->setFocus(); break;
    case SlipField::ClaimDate: claimDate_->edit()->setFocus(); break;
    case SlipField::Line: {
      const hv6::sales::SlipCursor& c = editor_.cursor();
      grid_->setCurrentCell(c.row, fieldOf(c.cell));
      grid_->grid()->setFocus();
      break;
    }
    case SlipField::None: break;
  }
}

void SlipWindowContent::run(int command) {
  if (!enabled(command)) return;
  grid_->commitEdit();
  // Line commands work on the grid's current line.
  editor_.setCurrent(grid_->currentLine(), cellOf(grid_->currentField()));
  if (!grid_->isAncestorOf(QApplication::focusWidget())) editor_.placeCursor(SlipField::None);
  // What was typed into a field and not yet taken counts first.
  if (!refreshing_) {
    refreshing_ = true;
    if (slipNo_->text().trimmed() != sl::slText(editor_.header().slipNo).trimmed())
      editor_.enterSlipNumber(slipNo_->text());
    if (clientCode_->text().trimmed().toInt() != editor_.header().clientCode) {
      editor_.setClient(clientCode_->text().trimmed().toInt());
      fillLists();
    }
    refreshing_ = false;
  }
  switch (command) {
    case kCmdSave: editor_.save(); break;
    case kCmdDeleteSlip: editor_.deleteSlip(); break;
    case kCmdCopyLast: editor_.copyLastSlip(); break;
    case kCmdPatterns: {
      CE11Dlg dialog(window_);
      dialog.exec();
      break;
    }
    case kCmdHelp:
      if (sl::CHelp* help = services().help) help->HelpDisp();
      break;
    case kCmdClose: window_->close(); return;
    case kCmdInsertLine: editor_.insertLine(); break;
    case kCmdDeleteLine: editor_.deleteLine(); break;
    case kCmdCopyLine: editor_.copyLine(); break;
    case kCmdInfo: {
      CE16Dlg dialog(window_);
      dialog.exec();
      break;
    }
    case kCmdFirst: editor_.navigate(SlipMove::First); break;
    case kCmdPrevious: editor_.navigate(SlipMove::Previous); break;
    case kCmdNext: editor_.navigate(SlipMove::Next); break;
    case kCmdLast: editor_.navigate(SlipMove::Last); break;
    case kCmdNew: editor_.navigate(SlipMove::New); break;
    case kCmdHandOver: editor_.handOver(); break;
    case kCmdCalculator: grid_->openCalculator(); break;
    case kCmdPrint:
      if (editor_.header().clientCode == 0 ||
          !hv6::sales::isCompleteLine(editor_.model().lines().value(0))) {
        if (sl::CErrMsg* errors = services().errMsg)
          errors->DispText(QStringLiteral("印刷する伝票がありません。得意先と明細を入力してください。"),
                           window_);
        break;
      }
      printSalesSlip(window_, editor_.header(), editor_.model().lines(), editor_.model().company(),
                     editor_.client());
      break;
    default: break;
  }
  fillLists();
  refresh();
  grid_->reload();
  focusCursor();
}

QMenu* SlipWindowContent::contextMenu() {
  if (!menu_) {
    menu_ = new QMenu(this);
    menu_->setObjectName(QStringLiteral("slipMenu"));
    struct Item {
      int menuId;
      int command;
      const char16_t* text;
    };
    const Item items[] = {{32927, kCmdSave, u"登録"},         {32915, kCmdDeleteSlip, u"伝票削除"},
                          {32916, kCmdCopyLast, u"前伝票ｺﾋﾟｰ"}, {32931, kCmdPatterns, u"おきまり"},
                          {32936, kCmdCalculator, u"電卓"},     {32928, kCmdInsertLine, u"１行挿入"},
                          {32929, kCmdDeleteLine, u"１行削除"}, {32930, kCmdCopyLine, u"１行ｺﾋﾟｰ"},
                          {32932, kCmdInfo, u"情報参照"},       {32922, kCmdPrint, u"印刷"}};
    for (const Item& item : items) {
      if (item.command == kCmdPrint && !sales_) continue;
      QAction* action = menu_->addAction(QString::fromUtf16(item.text));
      action->setObjectName(QString::number(item.menuId));
      action->setData(item.command);
      const int command = item.command;
      QObject::connect(action, &QAction::triggered, this, [this, command] { run(command); });
    }
    // Items whose button is disabled are greyed when the menu opens.
    QObject::connect(menu_, &QMenu::aboutToShow, this, [this] {
      for (QAction* action : menu_->actions()) action->setEnabled(enabled(action->data().toInt()));
    });
  }
  for (QAction* action : menu_->actions()) action->setEnabled(enabled(action->data().toInt()));
  return menu_;
}

void SlipWindowContent::contextMenuEvent(QContextMenuEvent* event) {
  contextMenu()->exec(event->globalPos());
}

void SlipWindowContent::pickClient() {
  sl::CSelJetAccess* jet = services().jet;
  if (!jet) return;
  QList<sl::S_CLIENTSEL> clients;
  if (jet->ReadClients(clients) != sl::kSlOk) return;
  QDialog dialog(this);
  dialog.setObjectName(QStringLiteral("clientPicker"));
  dialog.setWindowTitle(QStringLiteral("得意先の選択"));
  auto* layout = new QVBoxLayout(&dialog);
  auto* table = new QTableWidget(static_cast<int>(clients.size()), 2, &dialog);
  table->setObjectName(QStringLiteral("clientList"));
  table->setHorizontalHeaderLabels({QStringLiteral("コード"), QStringLiteral("得意先名")});
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setSelectionMode(QAbstractItemView::SingleSelection);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->verticalHeader()->hide();
  table->horizontalHeader()->setStretchLastSection(true);
  for (int row = 0; row < clients.size(); ++row) {
    table->setItem(row, 0, new QTableWidgetItem(QString::number(clients[row].code)));
    table->setItem(row, 1, new QTableWidgetItem(sl::slText(clients[row].name)));
  }
  layout->addWidget(table);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
  layout->addWidget(buttons);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  QObject::connect(table, &QTableWidget::cellDoubleClicked, &dialog, &QDialog::accept);
  dialog.resize(360, 320);
  if (dialog.exec() != QDialog::Accepted || table->currentRow() < 0) return;
  editor_.setClient(clients.at(table->currentRow()).code);
  fillLists();
  refresh();
  grid_->reload();
}

void SlipWindowContent::searchDialog() {
  CE14Dlg dialog(window_);
  dialog.exec();
  refresh();
}

}  // namespace slsale
