#pragma once
// The first-start dialog (dialog 142): shown when the data files are
// missing at the first activation. Ends with 6 when data was chosen, with
// 1 ("終了する。") or 2 (closed) when the program is to end.

#include "shell/firststart.h"

#include <QDialog>

#include <functional>
#include <optional>

class QPushButton;

class CFirstStartDlg final : public QDialog {
  Q_OBJECT

 public:
  // What the buttons run in the program.
  struct Actions {
    // 1003 and 1004: new data in mode 1 or 2; true when the dialog closes.
    std::function<bool(int mode)> newData;
    // 1005: the base-information sheet in mode 0; the diary path chosen in
    // it when it ended with OK.
    std::function<std::optional<QString>()> chooseDataFolder;
  };

  explicit CFirstStartDlg(hv6::AppRegistry& registry, Actions actions = {},
                          QWidget* parent = nullptr);

  // Escape and the close box end the dialog with Cancel (2).
  void reject() override;

 private:
  QPushButton* addButton(int id, const QString& text);
  void OnNewData(int mode);
  void OnDemoData();
  void OnDataFolder();

  hv6::FirstStartChoice choice_;
  Actions actions_;
};
