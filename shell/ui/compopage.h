#pragma once
// The password page of the base-information sheet (dialog 131 "パスワード"):
// one row per module with its check box and the old, new and confirm
// password edits. Ctrl+F2 opens the master unlock (dialog 132).
//
// Errors of focus changes are shown through a queued call, after the focus
// change has completed; none is shown while the focus is on the window's
// Cancel button (the button with objectName "2" in the page's window).

#include "shell/passwords.h"

#include <QWidget>

#include <array>

class QCheckBox;
class QGridLayout;
class QLineEdit;

class CCompo : public QWidget {
  Q_OBJECT

 public:
  explicit CCompo(QWidget* parent = nullptr);

  // Page start: ticks the check boxes from the flags and sets each row's state.
  void load(const hv6::ModulePasswords& passwords);
  // The sheet's OK: the final new/confirm check; false after a message
  // (page shown, focus on the row's new-password edit).
  bool finalCheck();
  hv6::ModulePasswords passwords() const { return rows_.passwords(); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  struct RowControls {
    QCheckBox* check = nullptr;
    QLineEdit* oldPassword = nullptr;
    QLineEdit* newPassword = nullptr;
    QLineEdit* confirm = nullptr;
  };

  void addHeaders(QGridLayout* grid);
  void addRow(QGridLayout* grid, int row);
  QLineEdit* addPasswordEdit(QGridLayout* grid, int row, int column, int id);
  int editWidth() const;
  void clearEdits(int row);
  void applyState(int row);
  int rowOf(QObject* control, QLineEdit* RowControls::*edit) const;

  void OnCheckClicked(int row);
  bool OnOldPasswordTab(int row);
  void OnOldPasswordFocusLost(int row);
  void OnConfirmFocusLost(int row);
  void OnMasterUnlock();

  bool reportConfirm(int row, hv6::ConfirmResult result, bool queued);
  void postMessage(hv6::PasswordMessage message, QLineEdit* focusAfter);
  void showMessage(hv6::PasswordMessage message, QLineEdit* focusAfter);
  void bringToFront();
  bool focusOnCancel() const;

  hv6::PasswordRows rows_;
  std::array<RowControls, hv6::kPasswordModules> controls_;
};
