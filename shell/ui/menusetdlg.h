#pragma once
// The launcher settings dialog (141 "メニュー設定"): a check list (1002) of
// the programs with their descriptions; OK writes which are offered.

#include "shell/launcher.h"

#include <QDialog>

#include <functional>

class QListWidget;

class CMenuSetDlg final : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kIdList = 1002;
  static constexpr int kIdHelp = 3;

  CMenuSetDlg(hv6::AppRegistry& registry, const QList<hv6::LauncherEntry>& entries,
              QWidget* parent = nullptr);

  // The entries as written by OK.
  const QList<hv6::LauncherEntry>& entries() const { return settings_.entries(); }
  // Called by the help button.
  void setHelpHandler(std::function<void()> handler) { help_ = std::move(handler); }

  void accept() override;

 private:
  hv6::AppRegistry& registry_;
  hv6::LauncherSettings settings_;
  QListWidget* list_;
  std::function<void()> help_;
};
