#include "weather/ui/receivingdlg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QVBoxLayout>

CReceivingDlg::CReceivingDlg(QWidget* owner) : QDialog(owner) {
  setObjectName(QString::number(kDialogId));
  setWindowTitle(QStringLiteral("気象データ受信中"));
  setModal(false);
  setWindowFlags((windowFlags() | Qt::CustomizeWindowHint | Qt::WindowTitleHint) &
                 ~(Qt::WindowCloseButtonHint | Qt::WindowContextHelpButtonHint));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(24, 18, 24, 18);
  auto* label = new QLabel(text(), this);
  label->setObjectName(QStringLiteral("ReceivingText"));
  layout->addWidget(label);
  setFixedSize(sizeHint());
}

QString CReceivingDlg::text() {
  return QStringLiteral("現在、気象データを受信中です。\n\nしばらくお待ちください....");
}

void CReceivingDlg::showNow() {
  show();
  raise();
  // The run that follows blocks the window: paint the dialog first, but
  // take no input meanwhile.
  QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void CReceivingDlg::closeEvent(QCloseEvent* event) { event->ignore(); }
