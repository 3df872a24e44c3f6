#include "outside/sl_dcalc/seldcalc.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include <functional>

namespace sl {

CSelCalcDlg::CSelCalcDlg(QWidget* parent, double start)
    : QDialog(parent), engine_(start), display_(new QLabel(this)) {
  setWindowTitle(QStringLiteral("電卓"));
  setObjectName(QStringLiteral("calculator"));
  display_->setObjectName(QStringLiteral("display"));
  display_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  display_->setFrameShape(QFrame::Panel);
  display_->setFrameShadow(QFrame::Sunken);
  display_->setAutoFillBackground(true);
  QPalette pal = display_->palette();
  pal.setColor(QPalette::Window, Qt::white);
  display_->setPalette(pal);
  QFont big = display_->font();
  big.setPointSizeF(big.pointSizeF() * 1.6);
  display_->setFont(big);
  display_->setMinimumWidth(
      QFontMetrics(big).horizontalAdvance(QStringLiteral("-999,999,999,999.")));

  auto* grid = new QGridLayout(this);
  // One height for every key, whatever glyphs its text has.
  const int keyHeight = QPushButton(QStringLiteral("取込")).sizeHint().height() * 5 / 4;
  grid->addWidget(display_, 0, 0, 1, 4);
  auto button = [this, grid, keyHeight](const QString& text, const QString& name, int row,
                                        int column,
                             std::function<void()> action, int columnSpan = 1) {
    auto* b = new QPushButton(text, this);
    b->setObjectName(name);
    b->setAutoDefault(false);
    b->setFocusPolicy(Qt::NoFocus);  // keys go to the dialog
    b->setFixedHeight(keyHeight);
    connect(b, &QPushButton::clicked, this, [this, action] {
      action();
      refresh();
    });
    grid->addWidget(b, row, column, 1, columnSpan);
    return b;
  };
  using Op = CalcEngine::Op;
  button(QStringLiteral("C"), QStringLiteral("clear"), 1, 0, [this] { engine_.clear(); });
  button(QStringLiteral("←"), QStringLiteral("back"), 1, 1, [this] { engine_.backspace(); });
  button(QStringLiteral("÷"), QStringLiteral("divide"), 1, 2, [this] { engine_.op(Op::Divide); });
  button(QStringLiteral("×"), QStringLiteral("multiply"), 1, 3,
         [this] { engine_.op(Op::Multiply); });
  const int digitRow[10] = {5, 4, 4, 4, 3, 3, 3, 2, 2, 2};
  const int digitColumn[10] = {0, 0, 1, 2, 0, 1, 2, 0, 1, 2};
  for (int d = 0; d < 10; ++d)
    button(QString::number(d), QStringLiteral("digit%1").arg(d), digitRow[d], digitColumn[d],
           [this, d] { engine_.digit(d); }, d == 0 ? 2 : 1);
  button(QStringLiteral("."), QStringLiteral("point"), 5, 2, [this] { engine_.point(); });
  button(QStringLiteral("−"), QStringLiteral("subtract"), 2, 3,
         [this] { engine_.op(Op::Subtract); });
  button(QStringLiteral("+"), QStringLiteral("add"), 3, 3, [this] { engine_.op(Op::Add); });
  button(QStringLiteral("="), QStringLiteral("equals"), 4, 3, [this] { engine_.equals(); });

  auto* takeButton = new QPushButton(QStringLiteral("取込"), this);
  takeButton->setObjectName(QStringLiteral("take"));
  takeButton->setFocusPolicy(Qt::NoFocus);
  takeButton->setFixedHeight(keyHeight);
  connect(takeButton, &QPushButton::clicked, this, &CSelCalcDlg::take);
  grid->addWidget(takeButton, 5, 3);
  auto* cancel = new QPushButton(QStringLiteral("キャンセル"), this);
  cancel->setObjectName(QStringLiteral("cancel"));
  cancel->setFocusPolicy(Qt::NoFocus);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  grid->addWidget(cancel, 6, 0, 1, 4);
  refresh();
}

bool CSelCalcDlg::CalcDisp(QWidget* parent, double start, double& result) {
  CSelCalcDlg dialog(parent, start);
  if (dialog.exec() != QDialog::Accepted) return false;
  result = dialog.result();
  return true;
}

QString CSelCalcDlg::displayText() const { return display_->text(); }

double CSelCalcDlg::result() { return engine_.result(); }

void CSelCalcDlg::refresh() { display_->setText(engine_.display()); }

void CSelCalcDlg::take() {
  engine_.equals();
  refresh();
  if (engine_.isError()) return;  // nothing to take
  accept();
}

void CSelCalcDlg::keyPressEvent(QKeyEvent* event) {
  using Op = CalcEngine::Op;
  const int key = event->key();
  if (key >= Qt::Key_0 && key <= Qt::Key_9) {
    engine_.digit(key - Qt::Key_0);
  } else {
    switch (key) {
      case Qt::Key_Period:
      case Qt::Key_Comma: engine_.point(); break;
      case Qt::Key_Plus: engine_.op(Op::Add); break;
      case Qt::Key_Minus: engine_.op(Op::Subtract); break;
      case Qt::Key_Asterisk: engine_.op(Op::Multiply); break;
      case Qt::Key_Slash: engine_.op(Op::Divide); break;
      case Qt::Key_Equal: engine_.equals(); break;
      case Qt::Key_Backspace: engine_.backspace(); break;
      case Qt::Key_Delete: engine_.clear(); break;
      case Qt::Key_Enter:
      case Qt::Key_Return: take(); return;
      default: QDialog::keyPressEvent(event); return;  // Esc closes
    }
  }
  refresh();
  event->accept();
}

}  // namespace sl
