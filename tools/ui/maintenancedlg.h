#pragma once
// The maintenance dialog of fixdata6: "点検を開始" checks the data folder,
// lists what it found, asks before clearing codes that point nowhere,
// compacts both databases and reports what it did.

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

class CMaintenanceDlg final : public QDialog {
  Q_OBJECT

 public:
  CMaintenanceDlg(QString diaryPath, QString weatherPath, QWidget* parent = nullptr);

  // The whole run behind "点検を開始"; true when it ended without an error.
  bool runMaintenance();
  QString reportText() const;

 private:
  void report(const QString& line);

  QString diaryPath_;
  QString weatherPath_;
  QPlainTextEdit* report_;
  QPushButton* start_;
};
