#include "mobile/ui/iwdrysheet.h"

#include "mobile/settingsupload.h"
#include "mobile/ui/ledgergrid.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

constexpr int kItemRole = Qt::UserRole;
constexpr int kLedgerRole = Qt::UserRole;

}  // namespace

CIWDrySpecPage::CIWDrySpecPage(QWidget* parent) : QWidget(parent), items_(new QListWidget(this)) {
  setObjectName(QString::number(kDialogId));
  items_->setObjectName(QString::number(kIdItems));
  items_->setSelectionMode(QAbstractItemView::SingleSelection);
  auto* layout = new QVBoxLayout(this);
  auto* label = new QLabel(QStringLiteral("携帯電話で入力する項目を選んでください。"), this);
  label->setBuddy(items_);
  layout->addWidget(label);
  layout->addWidget(items_);
}

void CIWDrySpecPage::activate(const hv6::mobile::InputSettings& settings) {
  items_->clear();
  for (const hv6::mobile::ItemLine& line : hv6::mobile::itemLines(settings)) {
    auto* item = new QListWidgetItem(line.label, items_);
    item->setData(kItemRole, line.item);
    Qt::ItemFlags flags = Qt::ItemIsUserCheckable | Qt::ItemIsSelectable;
    if (line.enabled) flags |= Qt::ItemIsEnabled;
    item->setFlags(flags);
    item->setCheckState(line.checked ? Qt::Checked : Qt::Unchecked);
  }
}

void CIWDrySpecPage::takeFlags(hv6::mobile::InputSettings& settings) const {
  QList<hv6::mobile::ItemLine> lines;
  for (int i = 0; i < items_->count(); ++i) {
    const QListWidgetItem* item = items_->item(i);
    lines.append({item->data(kItemRole).toInt(), item->text(), item->checkState() == Qt::Checked,
                  item->flags().testFlag(Qt::ItemIsEnabled)});
  }
  hv6::mobile::takeItemLines(settings, lines);
}

CIWDryDryPage::CIWDryDryPage(hv6::mobile::InputSettings& settings, QWidget* parent)
    : QWidget(parent),
      settings_(settings),
      ledgerList_(new QComboBox(this)),
      grid_(new CLedgerGrid(this)) {
  setObjectName(QString::number(kDialogId));
  ledgerList_->setObjectName(QString::number(kIdLedger));
  ledgerList_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  ledgerList_->setMinimumContentsLength(10);
  auto* selectAll = new QPushButton(QStringLiteral("全選択"), this);
  selectAll->setObjectName(QString::number(kIdSelectAll));
  auto* clearAll = new QPushButton(QStringLiteral("全解除"), this);
  clearAll->setObjectName(QString::number(kIdClearAll));

  auto* top = new QHBoxLayout;
  auto* label = new QLabel(QStringLiteral("台帳(&L)"), this);
  label->setBuddy(ledgerList_);
  top->addWidget(label);
  top->addWidget(ledgerList_);
  top->addStretch(1);
  top->addWidget(selectAll);
  top->addWidget(clearAll);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(grid_, 1);
  layout->addWidget(new QLabel(
      QStringLiteral("携帯電話に表示するデータにチェックを付けてください。モバイル名称は全角6文字（半角12文字）までです。"),
      this));

  connect(selectAll, &QPushButton::clicked, this, [this] { grid_->setAllUsed(true); });
  connect(clearAll, &QPushButton::clicked, this, [this] { grid_->setAllUsed(false); });
  connect(ledgerList_, &QComboBox::currentIndexChanged, this, [this](int index) {
    writeBack();
    showLedger(index < 0 ? 0 : ledgerList_->itemData(index, kLedgerRole).toInt());
  });
}

void CIWDryDryPage::activate() {
  const QList<int> offered = hv6::mobile::ledgersOffered(settings_);
  {
    const QSignalBlocker block(ledgerList_);
    ledgerList_->clear();
    for (int ledger : offered) {
      ledgerList_->addItem(hv6::mobile::ledgerName(settings_, ledger));
      ledgerList_->setItemData(ledgerList_->count() - 1, ledger, kLedgerRole);
    }
    const qsizetype kept = offered.indexOf(ledger_);
    ledgerList_->setCurrentIndex(kept >= 0 ? static_cast<int>(kept) : (offered.isEmpty() ? -1 : 0));
  }
  showLedger(offered.isEmpty() ? 0 : ledgerList_->currentData(kLedgerRole).toInt());
}

void CIWDryDryPage::writeBack() {
  // A name still being typed counts.
  grid_->commitEdit();
  if (ledger_ < 1 || ledger_ > hv6::mobile::kLedgerCount) return;
  QList<hv6::mobile::LedgerRow>& rows = settings_.rows(ledger_);
  const QList<hv6::mobile::LedgerRow>& shown = grid_->rows();
  for (qsizetype i = 0; i < rows.size() && i < shown.size(); ++i) {
    rows[i].mobileName = shown[i].mobileName;
    rows[i].use = shown[i].use;
  }
}

void CIWDryDryPage::showLedger(int ledger) {
  ledger_ = ledger;
  grid_->setRows(ledger > 0 ? settings_.rows(ledger) : QList<hv6::mobile::LedgerRow>());
}

CIWDrySheet::CIWDrySheet(CDaoDatabase& diary, QWidget* parent)
    : QDialog(parent),
      diary_(diary),
      tabs_(new QTabWidget(this)),
      itemsPage_(new CIWDrySpecPage(tabs_)),
      dry_(new CIWDryDryPage(settings_, tabs_)) {
  setObjectName(QStringLiteral("IWDrySheet"));
  setWindowTitle(QStringLiteral("モバイル作業日誌入力設定"));
  tabs_->addTab(itemsPage_, QStringLiteral("入力明細"));
  tabs_->addTab(dry_, QStringLiteral("台帳設定"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_);
  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok = buttons->addButton(QStringLiteral("設定・転送"), QDialogButtonBox::AcceptRole);
  ok->setObjectName(QStringLiteral("1"));
  ok->setDefault(true);
  QPushButton* cancel = buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
  cancel->setObjectName(QStringLiteral("2"));
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &CIWDrySheet::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &CIWDrySheet::reject);
  connect(tabs_, &QTabWidget::currentChanged, this, &CIWDrySheet::pageChanged);
  resize(640, 520);
}

bool CIWDrySheet::load() {
  if (!hv6::mobile::loadInputSettings(diary_, settings_)) return false;
  tabs_->setCurrentIndex(0);
  currentPage_ = 0;
  itemsPage_->activate(settings_);
  return true;
}

int CIWDrySheet::run() {
  if (!load()) return QDialog::Rejected;
  return exec();
}

void CIWDrySheet::leavePage(int index) {
  if (index == 0) itemsPage_->takeFlags(settings_);
  if (index == 1) dry_->writeBack();
}

void CIWDrySheet::pageChanged(int index) {
  leavePage(currentPage_);
  currentPage_ = index;
  if (index == 0) itemsPage_->activate(settings_);
  if (index == 1) dry_->activate();
}

void CIWDrySheet::accept() {
  if (currentPage_ == 1) dry_->writeBack();
  if (currentPage_ == 0) itemsPage_->takeFlags(settings_);
  const bool done = hv6::mobile::confirmInputSettings(diary_, settings_, [](bool waiting) {
    if (waiting)
      QApplication::setOverrideCursor(Qt::WaitCursor);
    else
      QApplication::restoreOverrideCursor();
  });
  if (done) {
    QDialog::accept();
    return;
  }
  // A question answered yes may have switched items off: the page shown
  // follows.
  if (currentPage_ == 0) itemsPage_->activate(settings_);
  if (currentPage_ == 1) dry_->activate();
}
