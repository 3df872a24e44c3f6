#pragma once
// Dialog 157 "気象データ受信中": shown without a button, modeless, while a
// weather retrieval runs; the command destroys it when the run ends.

#include <QDialog>

class CReceivingDlg final : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kDialogId = 157;

  explicit CReceivingDlg(QWidget* owner);

  // Shows the dialog and paints it before the run blocks the window.
  void showNow();

  static QString text();

 protected:
  // Neither Escape nor the close button ends it: only the command does.
  void reject() override {}
  void closeEvent(QCloseEvent* event) override;
};
