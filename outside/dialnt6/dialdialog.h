#pragma once
// The dial dialog: shows a dial's progress with a cancel button. It closes
// by itself once the line is up; when the line does not come up it says so
// until the user closes it.

#include <QDialog>

#include "outside/dialnt6/dialattempt.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace hv6::dialnt6 {

class DialDialog final : public QDialog {
  Q_OBJECT

 public:
  static inline const QString kObjectName = QStringLiteral("RasDialDlg");
  static inline const QString kStatusName = QStringLiteral("status");
  static inline const QString kButtonName = QStringLiteral("2");

  // Starts the dial when shown.
  DialDialog(DialAttempt& attempt, QWidget* owner);

  // Cancel, Escape and closing: the dial is cancelled when it still runs.
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void showState(std::uint32_t state);
  void showEnd(std::uint32_t result, const QString& detail);

  DialAttempt& attempt_;
  QLabel* status_;
  QProgressBar* progress_;
  QPushButton* button_;
  bool started_ = false;
};

}  // namespace hv6::dialnt6
