#include "tools/backup/ui/backupdialogs.h"

#include "outside/errtext6/errmsg.h"
#include "platform/file_chooser.h"
#include "platform/folders.h"
#include "platform/presenter.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace hv6::backup {

DataToolDialog::DataToolDialog(const QString& title, const QString& startText, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(title);
  auto* layout = new QVBoxLayout(this);
  auto* row = new QHBoxLayout;
  auto* fileLabel = new QLabel(QStringLiteral("ファイル(&F):"), this);
  file_ = new QLineEdit(this);
  file_->setObjectName(QStringLiteral("1001"));
  file_->setMinimumWidth(420);
  fileLabel->setBuddy(file_);
  auto* browse = new QPushButton(QStringLiteral("参照(&B)..."), this);
  browse->setObjectName(QStringLiteral("1002"));
  row->addWidget(fileLabel);
  row->addWidget(file_, 1);
  row->addWidget(browse);
  layout->addLayout(row);
  description_ = new QLabel(this);
  description_->setObjectName(QStringLiteral("1003"));
  description_->setWordWrap(true);
  layout->addWidget(description_);
  progress_ = new QProgressBar(this);
  progress_->setObjectName(QStringLiteral("1004"));
  progress_->setRange(0, 1000);
  progress_->setValue(0);
  layout->addWidget(progress_);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  start_ = new QPushButton(startText, this);
  start_->setObjectName(QStringLiteral("1"));
  start_->setDefault(true);
  close_ = new QPushButton(QStringLiteral("閉じる"), this);
  close_->setObjectName(QStringLiteral("2"));
  buttons->addWidget(start_);
  buttons->addWidget(close_);
  layout->addLayout(buttons);

  connect(browse, &QPushButton::clicked, this, [this] {
    const QString chosen = chooseFile();
    if (!chosen.isEmpty()) file_->setText(QDir::toNativeSeparators(chosen));
  });
  connect(file_, &QLineEdit::textChanged, this, [this] { fileChanged(); });
  connect(start_, &QPushButton::clicked, this, &DataToolDialog::start);
  connect(close_, &QPushButton::clicked, this, &DataToolDialog::reject);
}

void DataToolDialog::reject() {
  if (running_) {
    cancelRequested_ = true;
    return;
  }
  QDialog::reject();
}

void DataToolDialog::start() {
  if (running_) return;
  const QString file = QDir::fromNativeSeparators(file_->text().trimmed());
  if (file.isEmpty()) return;
  running_ = true;
  cancelRequested_ = false;
  start_->setEnabled(false);
  file_->setEnabled(false);
  close_->setText(QStringLiteral("キャンセル"));
  progress_->setValue(0);
  const long result = runJob(file, [this](qint64 done, qint64 total) {
    progress_->setValue(total > 0 ? int(done * 1000 / total) : 0);
    QApplication::processEvents();
    return !cancelRequested_;
  });
  running_ = false;
  start_->setEnabled(true);
  file_->setEnabled(true);
  close_->setText(QStringLiteral("閉じる"));
  progress_->setValue(result == kDone ? 1000 : 0);
  if (result == kCancelled) return;  // the dialog stays for another try
  result_ = result;
  if (result == kDone) accept();
}

QString defaultBackupPath(long date) {
  QString folder = specialFolder(kFolderDocuments);
  if (folder.isEmpty()) folder = QDir::homePath();
  return QDir(folder).filePath(defaultBackupFileName(date));
}

BackupDialog::BackupDialog(DataPaths paths, const QString& defaultFile,
                           std::function<bool(long)> recordDate, QWidget* parent)
    : DataToolDialog(QStringLiteral("データ保存（バックアップ）"), QStringLiteral("バックアップ開始(&S)"), parent),
      paths_(std::move(paths)),
      recordDate_(std::move(recordDate)) {
  setObjectName(QStringLiteral("SaveDataDlg"));
  file_->setText(QDir::toNativeSeparators(defaultFile));
  description_->setText(QStringLiteral("データフォルダ: %1\n作業日誌・気象データ、農作業日記、登録された画像を1つのファイルに保存します。")
                            .arg(QDir::toNativeSeparators(QFileInfo(paths_.diary).absolutePath())));
}

long BackupDialog::runJob(const QString& file, const ProgressFunction& progress) {
  if (QFileInfo::exists(file) &&
      showMessage(kOverwriteQuestion, kHrvCaption, MsgButtons::YesNo, MsgIcon::Question, this) !=
          MsgAnswer::Yes)
    return kCancelled;
  return runBackupJob(paths_, file, today(), progress, recordDate_);
}

QString BackupDialog::chooseFile() {
  FileChoice choice;
  choice.title = QStringLiteral("バックアップファイルの保存先");
  choice.startFolder = QDir::fromNativeSeparators(file_->text());
  choice.filter = QStringLiteral("Harvoバックアップ (*.hv6bak);;すべてのファイル (*)");
  choice.parent = this;
  return fileChooser().chooseFileToSave(choice);
}

RestoreDialog::RestoreDialog(DataPaths paths, const QString& startFolder,
                             std::function<bool(const QString&)> recordWeatherPath, QWidget* parent)
    : DataToolDialog(QStringLiteral("データ復元（リストア）"), QStringLiteral("復元開始(&S)"), parent),
      paths_(std::move(paths)),
      startFolder_(startFolder),
      recordWeatherPath_(std::move(recordWeatherPath)) {
  setObjectName(QStringLiteral("LoadDataDlg"));
  fileChanged();
}

void RestoreDialog::fileChanged() {
  const QString file = QDir::fromNativeSeparators(file_->text().trimmed());
  if (file.isEmpty()) {
    description_->setText(QStringLiteral("復元するバックアップファイルを選択してください。"));
    start_->setEnabled(false);
    return;
  }
  const InspectResult inspected = inspectBackup(file);
  if (inspected.message != kDone) {
    description_->setText(CErrMsg::text(inspected.message));
    start_->setEnabled(false);
    return;
  }
  description_->setText(describeBackup(inspected.header));
  start_->setEnabled(true);
}

long RestoreDialog::runJob(const QString& file, const ProgressFunction& progress) {
  if (showMessage(kRestoreQuestion, kHrvCaption, MsgButtons::OkCancel, MsgIcon::Question, this) !=
      MsgAnswer::Ok)
    return kCancelled;
  RestoreOptions options;
  options.progress = progress;
  return runRestoreJob(file, paths_, options, recordWeatherPath_);
}

QString RestoreDialog::chooseFile() {
  FileChoice choice;
  choice.title = QStringLiteral("復元するバックアップファイル");
  choice.startFolder = startFolder_;
  choice.filter = QStringLiteral("Harvoバックアップ (*.hv6bak);;すべてのファイル (*)");
  choice.parent = this;
  return fileChooser().chooseFileToOpen(choice);
}

}  // namespace hv6::backup
