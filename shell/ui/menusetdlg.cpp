#include "shell/ui/menusetdlg.h"

#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kVisibleRows = 8;

QPushButton* addButton(QDialogButtonBox* box, QDialogButtonBox::StandardButton which, int id,
                       const QString& text) {
  QPushButton* button = box->addButton(which);
  button->setObjectName(QString::number(id));
  button->setText(text);
  return button;
}

}  // namespace

CMenuSetDlg::CMenuSetDlg(hv6::AppRegistry& registry, const QList<hv6::LauncherEntry>& entries,
                         QWidget* parent)
    : QDialog(parent), registry_(registry), settings_(entries), list_(new QListWidget(this)) {
  setObjectName(QStringLiteral("141"));
  setWindowTitle(QStringLiteral("メニュー設定"));
  auto* layout = new QVBoxLayout(this);
  auto* hint = new QLabel(QStringLiteral("ツールバーとメニューから起動するプログラムを選択してください。"), this);
  layout->addWidget(hint);
  list_->setObjectName(QString::number(kIdList));
  for (const hv6::LauncherSettings::Item& entry : settings_.items()) {
    auto* item = new QListWidgetItem(entry.text, list_);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setCheckState(entry.checked ? Qt::Checked : Qt::Unchecked);
  }
  // Every program visible at once, without scrolling.
  const int rows = std::max(kVisibleRows, int(list_->count()));
  const int rowHeight = list_->count() > 0 ? list_->sizeHintForRow(0) : QFontMetrics(font()).height();
  list_->setMinimumSize(list_->sizeHintForColumn(0) + 2 * list_->frameWidth() + 8,
                        rowHeight * rows + 2 * list_->frameWidth() + 4);
  list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  layout->addWidget(list_);

  auto* buttons = new QDialogButtonBox(this);
  addButton(buttons, QDialogButtonBox::Ok, 1, QStringLiteral("OK"));
  addButton(buttons, QDialogButtonBox::Cancel, 2, QStringLiteral("キャンセル"));
  QPushButton* help = addButton(buttons, QDialogButtonBox::Help, kIdHelp, QStringLiteral("ヘルプ(&H)"));
  connect(buttons, &QDialogButtonBox::accepted, this, &CMenuSetDlg::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &CMenuSetDlg::reject);
  connect(help, &QPushButton::clicked, this, [this] {
    if (help_) help_();
  });
  layout->addWidget(buttons);
}

void CMenuSetDlg::accept() {
  for (int row = 0; row < list_->count(); ++row)
    settings_.setChecked(row, list_->item(row)->checkState() == Qt::Checked);
  if (settings_.accept(registry_)) QDialog::accept();
}
