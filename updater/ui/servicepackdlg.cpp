#include "updater/ui/servicepackdlg.h"

#include "resources/pictures.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

using hv6::updater::Outcome;

const QString kTitle = QStringLiteral("Harvo V6 Plus\u3000サービスパック");
const QString kText = QStringLiteral("Harvo V6 Plusのプログラムを最新の状態に更新します。");
constexpr int kIconSide = 32;

}  // namespace

CServicePackDlg::CServicePackDlg(hv6::updater::ServicePack& pack, QWidget* parent)
    : QDialog(parent), pack_(pack) {
  setObjectName(QString::number(kIdd));
  setWindowTitle(kTitle);
  const QIcon icon = hv6::programIcon();
  setWindowIcon(icon);

  auto* picture = new QLabel(this);
  picture->setObjectName(QStringLiteral("icon"));
  picture->setPixmap(icon.pixmap(kIconSide, kIconSide));
  auto* text = new QLabel(kText, this);
  text->setObjectName(QStringLiteral("text"));
  text->setTextFormat(Qt::PlainText);
  auto* ok = new QPushButton(QStringLiteral("実行"), this);
  ok->setObjectName(QString::number(kIdOk));
  ok->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
  cancel->setObjectName(QString::number(kIdCancel));

  auto* message = new QHBoxLayout;
  message->addWidget(picture, 0, Qt::AlignTop);
  message->addWidget(text, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(message);
  layout->addSpacing(12);
  layout->addLayout(buttons);

  connect(ok, &QPushButton::clicked, this, &CServicePackDlg::OnOK);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

int CServicePackDlg::DoModal() {
  if (!OnInitDialog()) return Rejected;
  return exec();
}

bool CServicePackDlg::OnInitDialog() {
  const hv6::updater::Report report = pack_.check();
  outcome_ = report.outcome;
  hv6::updater::tell(report, this);
  return report.outcome == Outcome::Ready;
}

void CServicePackDlg::OnOK() {
  outcome_ = pack_.applyAndTell(true, this);
  if (outcome_ == Outcome::Applied) accept();
}
