#pragma once
// Dialog 102 of the service pack: the checks run before it shows (a failed
// check shows its message and ends the dialog as cancelled); "実行" (1)
// asks, replaces the files and ends the dialog when they were replaced,
// and stays open after a failure; "ｷｬﾝｾﾙ" (2) ends it without changes.

#include "updater/servicepack.h"

#include <QDialog>

class CServicePackDlg final : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kIdd = 102;
  static constexpr int kIdOk = 1;
  static constexpr int kIdCancel = 2;

  explicit CServicePackDlg(hv6::updater::ServicePack& pack, QWidget* parent = nullptr);

  // The checks, then the dialog: Accepted when the pack was applied.
  int DoModal();
  // The checks with their messages; false when the dialog is to end.
  bool OnInitDialog();
  void OnOK();

  // The outcome of the last step (the failed check, the replacement).
  hv6::updater::Outcome outcome() const { return outcome_; }

 private:
  hv6::updater::ServicePack& pack_;
  hv6::updater::Outcome outcome_ = hv6::updater::Outcome::Ready;
};
