#pragma once
// The first-start dialog (dialog 142): shown when the data files are
// missing at the first activation. Ends with 6 when data was chosen, with
// 1 ("終了する。") or 2 (closed) when the program is to end.

#include "shell/firststart.h"

#include <QDialog>

class QPushButton;

class CFirstStartDlg final : public QDialog {
  Q_OBJECT

 public:
  explicit CFirstStartDlg(hv6::AppRegistry& registry, QWidget* parent = nullptr);

  // Escape and the close box end the dialog with Cancel (2).
  void reject() override;

 private:
  QPushButton* addButton(int id, const QString& text);
  void OnDemoData();
  void OnNotYetAvailable();

  hv6::FirstStartChoice choice_;
};
