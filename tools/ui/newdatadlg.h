#pragma once
// The new-data dialog of hrvinit6: where the new data folder goes, its
// name and the farm's name; converting, also the older edition's diary
// database. OK makes the folder (tools/newdata.h); a failure is shown and
// the dialog stays.

#include "platform/registry.h"

#include <QDialog>

class QLineEdit;

class CNewDataDlg final : public QDialog {
  Q_OBJECT

 public:
  // mode: 0 or 1 new data, 2 conversion of an older edition's diary.
  CNewDataDlg(hv6::RegistryStore& store, int mode, QWidget* parent = nullptr);

  void accept() override;
  // The data folder made, once OK succeeded.
  const QString& madeFolder() const { return made_; }

 private:
  QLineEdit* addField(const QString& name, const QString& label, const QString& text);
  void browsePlace();
  void browseOlderDiary();

  hv6::RegistryStore& store_;
  int mode_;
  QLineEdit* place_ = nullptr;
  QLineEdit* folderName_ = nullptr;
  QLineEdit* farmName_ = nullptr;
  QLineEdit* olderDiary_ = nullptr;
  QString made_;
};
