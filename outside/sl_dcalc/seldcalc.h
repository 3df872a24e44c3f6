#pragma once
// The calculator dialog of the slip windows ("電卓"): a display, the digit
// and operator buttons, and "取込" that hands the result to the cell the
// calculator was opened on. Keys: digits, '.', + - * /, '=', Backspace,
// Delete (C), Enter (take the result), Esc (close without it).
//
// Controls (objectName): "display", "digit0".."digit9", "point", "add",
// "subtract", "multiply", "divide", "equals", "clear", "back", "take",
// "cancel".

#include "outside/sl_dcalc/calcengine.h"

#include <QDialog>

class QLabel;

namespace sl {

class CSelCalcDlg final : public QDialog {
  Q_OBJECT

 public:
  explicit CSelCalcDlg(QWidget* parent = nullptr, double start = 0);

  // Opens the calculator on a value; true with the result when it was
  // taken, false when the user closed it.
  static bool CalcDisp(QWidget* parent, double start, double& result);

  QString displayText() const;
  // The result so far (a pending operation completed).
  double result();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void refresh();
  void take();

  CalcEngine engine_;
  QLabel* display_;
};

}  // namespace sl
