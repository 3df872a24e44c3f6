#include "tools/ui/maintenancedlg.h"

#include "platform/presenter.h"
#include "tools/maintenance.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kCaption = QStringLiteral("Harvo V6 Plus for Windows");

}  // namespace

CMaintenanceDlg::CMaintenanceDlg(QString diaryPath, QString weatherPath, QWidget* parent)
    : QDialog(parent), diaryPath_(std::move(diaryPath)), weatherPath_(std::move(weatherPath)) {
  setObjectName(QStringLiteral("Maintenance"));
  setWindowTitle(QStringLiteral("データメンテナンス"));
  resize(560, 360);
  auto* layout = new QVBoxLayout(this);
  auto* intro = new QLabel(QStringLiteral("作業日誌データと気象データを点検し、修復できるものは修復して、"
                                          "データベースを最適化します。\n点検の前にデータの保存（バックアップ）をお勧めします。"),
                           this);
  intro->setWordWrap(true);
  layout->addWidget(intro);
  auto* folder = new QLabel(QStringLiteral("データ: %1").arg(diaryPath_), this);
  folder->setObjectName(QStringLiteral("dataPath"));
  layout->addWidget(folder);
  report_ = new QPlainTextEdit(this);
  report_->setObjectName(QStringLiteral("report"));
  report_->setReadOnly(true);
  layout->addWidget(report_, 1);
  auto* buttons = new QDialogButtonBox(this);
  start_ = buttons->addButton(QStringLiteral("点検を開始"), QDialogButtonBox::ActionRole);
  start_->setObjectName(QStringLiteral("start"));
  QPushButton* close = buttons->addButton(QStringLiteral("閉じる"), QDialogButtonBox::RejectRole);
  close->setObjectName(QStringLiteral("2"));
  connect(start_, &QPushButton::clicked, this, [this] { runMaintenance(); });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
}

void CMaintenanceDlg::report(const QString& line) { report_->appendPlainText(line); }

QString CMaintenanceDlg::reportText() const { return report_->toPlainText(); }

bool CMaintenanceDlg::runMaintenance() {
  start_->setEnabled(false);
  report_->clear();
  report(QStringLiteral("点検しています..."));
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const hv6::MaintenanceCheck check = hv6::checkDataFolder(diaryPath_, weatherPath_);
  QApplication::restoreOverrideCursor();
  for (const QString& line : hv6::describe(check)) report(line);
  if (!check.error.isEmpty() || !check.damaged.isEmpty()) {
    report(QStringLiteral("データベースが壊れているため、修復と最適化は行いませんでした。"
                          "バックアップから復元してください。"));
    start_->setEnabled(true);
    return false;
  }
  bool clear = false;
  if (check.repairable()) {
    clear = hv6::showMessage(QStringLiteral("登録されていないマスタを指している項目が%1件あります。\n"
                                            "これらの項目を空欄にして修復しますか？")
                                 .arg(check.dangling.size()),
                             kCaption, hv6::MsgButtons::YesNo, hv6::MsgIcon::Question,
                             this) == hv6::MsgAnswer::Yes;
    if (!clear) report(QStringLiteral("修復は行いませんでした。"));
  }
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const hv6::MaintenanceResult result = hv6::repairDataFolder(diaryPath_, weatherPath_, check, clear);
  QApplication::restoreOverrideCursor();
  if (clear) report(QStringLiteral("%1件の項目を修復しました。").arg(result.cleared));
  if (result.compacted) report(QStringLiteral("データベースを最適化しました。"));
  if (!result.error.isEmpty()) report(result.error);
  report(QStringLiteral("点検を終了しました。"));
  start_->setEnabled(true);
  return result.error.isEmpty();
}
