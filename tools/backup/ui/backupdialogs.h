#pragma once
// The windows of savedata6 (backup) and loaddata6 (restore): the file, what
// the data or the backup holds, a progress bar and a cancel button. The
// work itself runs in tools/backup/jobs.h. Controls carry their ids as
// object names: 1001 file, 1002 browse, 1003 description, 1004 progress,
// 1 start, 2 close or cancel.

#include "tools/backup/jobs.h"

#include <QDialog>

#include <functional>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace hv6::backup {

// The shared frame of both windows.
class DataToolDialog : public QDialog {
 public:
  // The last job's result: kDone, kCancelled or a message number.
  long result() const { return result_; }

 protected:
  DataToolDialog(const QString& title, const QString& startText, QWidget* parent);
  // The start button: the job runs with the progress bar and cancel.
  virtual long runJob(const QString& file, const ProgressFunction& progress) = 0;
  virtual QString chooseFile() = 0;
  virtual void fileChanged() {}
  void reject() override;

  QLineEdit* file_;
  QLabel* description_;
  QProgressBar* progress_;
  QPushButton* start_;
  QPushButton* close_;

 private:
  void start();
  bool running_ = false;
  bool cancelRequested_ = false;
  long result_ = kCancelled;
};

class BackupDialog final : public DataToolDialog {
 public:
  BackupDialog(DataPaths paths, const QString& defaultFile, std::function<bool(long)> recordDate,
               QWidget* parent = nullptr);

 private:
  long runJob(const QString& file, const ProgressFunction& progress) override;
  QString chooseFile() override;

  DataPaths paths_;
  std::function<bool(long)> recordDate_;
};

class RestoreDialog final : public DataToolDialog {
 public:
  RestoreDialog(DataPaths paths, const QString& startFolder,
                std::function<bool(const QString&)> recordWeatherPath, QWidget* parent = nullptr);

 private:
  long runJob(const QString& file, const ProgressFunction& progress) override;
  QString chooseFile() override;
  void fileChanged() override;

  DataPaths paths_;
  QString startFolder_;
  std::function<bool(const QString&)> recordWeatherPath_;
};

// The default backup file: "HV6バックアップ_yyyymmdd.hv6bak" in the
// documents folder (the home folder when there is none).
QString defaultBackupPath(long date);

// The confirmation asked before a restore replaces the data.
inline const QString kRestoreQuestion = QStringLiteral(
    "現在のデータを、バックアップを取った時点のデータに置き換えます。\n"
    "現在のデータは別のフォルダに残します。よろしいですか？");
// The confirmation asked before a backup replaces an existing file.
inline const QString kOverwriteQuestion =
    QStringLiteral("同じ名前のファイルがあります。上書きしてもよろしいですか？");

}  // namespace hv6::backup
