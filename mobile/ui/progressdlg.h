#pragma once
// The progress window of the mobile import (dialog 160), modeless and
// without buttons, and the binding of a run's feedback to it: the bar, the
// wait cursor, repainting while a request waits, and the summary box.

#include "mobile/exchange.h"

#include <QDialog>

#include <memory>

class QLabel;
class QProgressBar;

class CMobileProgressDlg final : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kDialogId = 160;
  static constexpr int kMessageId = 1042;
  static constexpr int kProgressId = 1055;
  static constexpr int kLower = 0;
  static constexpr int kUpper = 100;

  explicit CMobileProgressDlg(QWidget* parent = nullptr);

  // Moves the bar; a position outside 0-100 is ignored.
  void SetPos(int pos);
  int pos() const;

 protected:
  // The run ends it, not the user.
  void closeEvent(QCloseEvent* event) override;
  void reject() override {}

 private:
  QLabel* message_ = nullptr;
  QProgressBar* bar_ = nullptr;
};

namespace hv6 {

// A run's feedback in the window program. The summary box and the
// progress window belong to parent.
class MobileImportWindow final : public MobileImportFeedback {
 public:
  explicit MobileImportWindow(QWidget* parent = nullptr) : parent_(parent) {}
  ~MobileImportWindow() override;
  MobileImportWindow(const MobileImportWindow&) = delete;
  MobileImportWindow& operator=(const MobileImportWindow&) = delete;

  bool open() override;
  void setPos(int pos) override;
  void setWaiting(bool waiting) override;
  void idle() override;
  void showSummary(const QString& text, int outcome) override;
  void close() override;

  CMobileProgressDlg* dialog() const { return dialog_.get(); }

 private:
  QWidget* parent_;
  std::unique_ptr<CMobileProgressDlg> dialog_;
  bool waiting_ = false;
};

}  // namespace hv6
