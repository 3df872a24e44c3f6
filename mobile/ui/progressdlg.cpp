#include "mobile/ui/progressdlg.h"

#include "outside/errtext6/errmsg.h"
#include "platform/presenter.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include <new>

CMobileProgressDlg::CMobileProgressDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setObjectName(QString::number(kDialogId));
  setWindowTitle(QStringLiteral("モバイル作業日誌データ受信中"));
  setModal(false);
  auto* layout = new QVBoxLayout(this);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  layout->setContentsMargins(16, 16, 16, 16);
  layout->setSpacing(12);

  message_ = new QLabel(
      QStringLiteral("現在、モバイル作業日誌データを受信中です。\n\nしばらくお待ちください...."), this);
  message_->setObjectName(QString::number(kMessageId));
  message_->setTextFormat(Qt::PlainText);
  layout->addWidget(message_);

  bar_ = new QProgressBar(this);
  bar_->setObjectName(QString::number(kProgressId));
  bar_->setRange(kLower, kUpper);
  bar_->setValue(kLower);
  bar_->setTextVisible(false);
  bar_->setMinimumWidth(message_->sizeHint().width());
  layout->addWidget(bar_);
}

void CMobileProgressDlg::SetPos(int pos) {
  if (pos < kLower || pos > kUpper) return;
  bar_->setValue(pos);
}

int CMobileProgressDlg::pos() const { return bar_->value(); }

void CMobileProgressDlg::closeEvent(QCloseEvent* event) { event->ignore(); }

namespace hv6 {

MobileImportWindow::~MobileImportWindow() {
  setWaiting(false);
  close();
}

bool MobileImportWindow::open() {
  try {
    dialog_ = std::make_unique<CMobileProgressDlg>(parent_);
  } catch (const std::bad_alloc&) {
    return false;
  }
  dialog_->SetPos(0);
  dialog_->show();
  idle();
  return true;
}

// The run is on this thread: the window repaints when asked to, while the
// user's input waits until the run ends.
void MobileImportWindow::setPos(int pos) {
  if (!dialog_) return;
  dialog_->SetPos(pos);
  idle();
}

void MobileImportWindow::setWaiting(bool waiting) {
  if (waiting == waiting_) return;
  waiting_ = waiting;
  if (waiting)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QApplication::restoreOverrideCursor();
}

void MobileImportWindow::idle() {
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void MobileImportWindow::showSummary(const QString& text, int outcome) {
  showMessage(text, kHrvCaption, MsgButtons::Ok,
              outcome == 0 ? MsgIcon::Information : MsgIcon::Warning, parent_);
}

void MobileImportWindow::close() { dialog_.reset(); }

}  // namespace hv6
