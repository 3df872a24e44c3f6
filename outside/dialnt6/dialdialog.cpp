#include "outside/dialnt6/dialdialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "outside/dialnt6/rasapi.h"

namespace hv6::dialnt6 {
namespace {

constexpr int kMinimumWidth = 320;

}  // namespace

DialDialog::DialDialog(DialAttempt& attempt, QWidget* owner)
    : QDialog(owner),
      attempt_(attempt),
      status_(new QLabel(this)),
      progress_(new QProgressBar(this)),
      button_(new QPushButton(QStringLiteral("キャンセル"), this)) {
  setObjectName(kObjectName);
  setWindowTitle(QStringLiteral("ダイヤルアップ接続"));
  setMinimumWidth(kMinimumWidth);
  status_->setObjectName(kStatusName);
  status_->setWordWrap(true);
  status_->setText(QStringLiteral("%1 に接続しています...").arg(attempt_.profile().id));
  progress_->setObjectName(QStringLiteral("progress"));
  progress_->setRange(0, 0);  // busy until the line is up
  progress_->setTextVisible(false);
  button_->setObjectName(kButtonName);
  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(button_, QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::rejected, this, &DialDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(status_);
  layout->addWidget(progress_);
  layout->addWidget(buttons);

  connect(&attempt_, &DialAttempt::stateChanged, this, &DialDialog::showState);
  connect(&attempt_, &DialAttempt::finished, this, &DialDialog::showEnd);
}

void DialDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (started_) return;
  started_ = true;
  attempt_.start();
}

void DialDialog::reject() {
  attempt_.cancel();
  QDialog::reject();
}

void DialDialog::showState(std::uint32_t state) {
  if (state == kActivating)
    status_->setText(QStringLiteral("%1 に接続しています...").arg(attempt_.profile().id));
}

void DialDialog::showEnd(std::uint32_t result, const QString& detail) {
  if (result == ras::kSuccess) {
    accept();
    return;
  }
  if (result == ras::kErrorUserCancelled) return;
  QString text = QStringLiteral("%1 に接続できませんでした。").arg(attempt_.profile().id);
  if (!detail.isEmpty()) text += u'\n' + detail;
  status_->setText(text);
  progress_->setRange(0, 1);
  progress_->setValue(0);
  button_->setText(QStringLiteral("閉じる"));
}

}  // namespace hv6::dialnt6
