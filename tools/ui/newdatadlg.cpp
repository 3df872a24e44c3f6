#include "tools/ui/newdatadlg.h"

#include "platform/file_chooser.h"
#include "platform/presenter.h"
#include "store/schema.h"
#include "tools/datatools_abi.h"
#include "tools/newdata.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kCaption = QStringLiteral("Harvo V6 Plus for Windows");
constexpr int kMinimumWidth = 520;

}  // namespace

CNewDataDlg::CNewDataDlg(hv6::RegistryStore& store, int mode, QWidget* parent)
    : QDialog(parent), store_(store), mode_(mode) {
  setObjectName(QStringLiteral("NewData"));
  const bool converting = mode == HV6_NEWDATA_CONVERT;
  setWindowTitle(converting ? QStringLiteral("以前のデータからの変換") : QStringLiteral("データの新規作成"));
  setMinimumWidth(kMinimumWidth);
  auto* layout = new QVBoxLayout(this);
  auto* intro = new QLabel(
      converting ? QStringLiteral("HarvoV3、V5/V5プラスの作業日誌データを変換して、新しいデータフォルダを作成します。")
                 : QStringLiteral("新しい空のデータフォルダを作成し、以後このデータを使います。"),
      this);
  intro->setWordWrap(true);
  layout->addWidget(intro);
  auto* form = new QFormLayout;
  layout->addLayout(form);

  if (converting) {
    olderDiary_ = addField(QStringLiteral("olderDiary"), QStringLiteral("変換する作業日誌データ"), QString());
    auto* row = new QHBoxLayout;
    row->addWidget(olderDiary_);
    auto* browse = new QPushButton(QStringLiteral("参照..."), this);
    browse->setObjectName(QStringLiteral("olderBrowse"));
    connect(browse, &QPushButton::clicked, this, &CNewDataDlg::browseOlderDiary);
    row->addWidget(browse);
    form->addRow(QStringLiteral("変換する作業日誌データ"), row);
  }
  place_ = addField(QStringLiteral("place"), QStringLiteral("作成する場所"), hv6::defaultNewDataPlace());
  auto* placeRow = new QHBoxLayout;
  placeRow->addWidget(place_);
  auto* browse = new QPushButton(QStringLiteral("参照..."), this);
  browse->setObjectName(QStringLiteral("placeBrowse"));
  connect(browse, &QPushButton::clicked, this, &CNewDataDlg::browsePlace);
  placeRow->addWidget(browse);
  form->addRow(QStringLiteral("作成する場所"), placeRow);
  folderName_ = addField(QStringLiteral("folderName"), QString(), hv6::kDefaultDataFolderName);
  form->addRow(QStringLiteral("データフォルダ名"), folderName_);
  if (!converting) {
    farmName_ = addField(QStringLiteral("farmName"), QString(), QString());
    farmName_->setPlaceholderText(QStringLiteral("例: ○○農園"));
    form->addRow(QStringLiteral("農家名・法人名"), farmName_);
  }

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("1"));
  buttons->button(QDialogButtonBox::Ok)->setText(converting ? QStringLiteral("変換して作成") : QStringLiteral("作成"));
  buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("2"));
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
  connect(buttons, &QDialogButtonBox::accepted, this, &CNewDataDlg::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &CNewDataDlg::reject);
  layout->addWidget(buttons);
}

QLineEdit* CNewDataDlg::addField(const QString& name, const QString&, const QString& text) {
  auto* edit = new QLineEdit(text, this);
  edit->setObjectName(name);
  return edit;
}

void CNewDataDlg::browsePlace() {
  const QString chosen = hv6::fileChooser().chooseFolder(
      {QStringLiteral("作成する場所"), place_->text(), QString(), this, {}, {}});
  if (!chosen.isEmpty()) place_->setText(chosen);
}

void CNewDataDlg::browseOlderDiary() {
  const QString chosen = hv6::fileChooser().chooseFileToOpen(
      {QStringLiteral("変換する作業日誌データ"), olderDiary_->text(),
       QStringLiteral("作業日誌データ (*.HV6 *.hv6 *.mdb);;すべてのファイル (*)"), this, {}, {}});
  if (!chosen.isEmpty()) olderDiary_->setText(chosen);
}

void CNewDataDlg::accept() {
  hv6::NewDataRequest request{place_->text(), folderName_->text(),
                              farmName_ ? farmName_->text() : QString(),
                              olderDiary_ ? olderDiary_->text() : QString()};
  if (olderDiary_ && request.olderDiary.trimmed().isEmpty()) {
    hv6::showMessage(QStringLiteral("変換する作業日誌データを指定してください。"), kCaption,
                     hv6::MsgButtons::Ok, hv6::MsgIcon::Warning, this);
    return;
  }
  const hv6::NewDataOutcome outcome = hv6::makeNewData(store_, request, this);
  if (!outcome.ok) {
    hv6::showMessage(outcome.error, kCaption, hv6::MsgButtons::Ok, hv6::MsgIcon::Warning, this);
    return;
  }
  made_ = outcome.folder;
  hv6::showMessage(QStringLiteral("データフォルダを作成しました。\n%1").arg(outcome.folder), kCaption,
                   hv6::MsgButtons::Ok, hv6::MsgIcon::Information, this);
  QDialog::accept();
}
