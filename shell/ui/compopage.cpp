#include "shell/ui/compopage.h"

#include "outside/errtext6/errmsg.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <optional>

namespace {

using hv6::kPasswordModules;

struct RowIds {
  int check;
  int oldPassword;
  int newPassword;
  int confirm;
  const char16_t* caption;
};

constexpr std::array<RowIds, kPasswordModules> kRows{{
    {1012, 1018, 1027, 1033, u"作業日誌(&S)"},
    {1013, 1022, 1028, 1034, u"出荷伝票(&T)"},
    {1014, 1024, 1030, 1036, u"給与計算(&K)"},
    {1016, 1025, 1031, 1037, u"営農日記(&E)"},
}};

constexpr int kUnlockEditId = 1019;
const QString kCancelId = QStringLiteral("2");

QString idName(int id) { return QString::number(id); }

bool plainTab(const QKeyEvent& key) {
  constexpr Qt::KeyboardModifiers kBlocking =
      Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier;
  return key.key() == Qt::Key_Tab && !(key.modifiers() & kBlocking);
}

// Focus lost because another window came up (a message box, a dialog) or a
// menu opened: the user did not leave the edit.
bool leftByUser(const QFocusEvent& focus) {
  const Qt::FocusReason reason = focus.reason();
  return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
         reason != Qt::MenuBarFocusReason;
}

// Dialog 132 "パスワード解除": the entered code, or nothing when cancelled.
std::optional<QString> askUnlockCode(QWidget* parent) {
  QDialog dialog(parent);
  dialog.setObjectName(QStringLiteral("132"));
  dialog.setWindowTitle(QStringLiteral("パスワード解除"));
  auto* prompt = new QLabel(QStringLiteral("解除用パスワードを入力してください。"), &dialog);
  auto* edit = new QLineEdit(&dialog);
  edit->setObjectName(idName(kUnlockEditId));
  edit->setEchoMode(QLineEdit::Password);
  auto* warning =
      new QLabel(QStringLiteral("注意！ この処理を行うと全てのパスワードがクリアされます。"), &dialog);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
  ok->setObjectName(QStringLiteral("1"));
  ok->setText(QStringLiteral("OK"));
  QPushButton* cancel = buttons->button(QDialogButtonBox::Cancel);
  cancel->setObjectName(kCancelId);
  cancel->setText(QStringLiteral("キャンセル"));
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);

  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(prompt);
  layout->addWidget(edit);
  layout->addSpacing(6);
  layout->addWidget(warning);
  layout->addSpacing(6);
  layout->addWidget(buttons);
  edit->setFocus();
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return edit->text();
}

}  // namespace

CCompo::CCompo(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("131"));
  setWindowTitle(QStringLiteral("パスワード"));
  auto* grid = new QGridLayout(this);
  grid->setHorizontalSpacing(8);
  grid->setVerticalSpacing(8);
  addHeaders(grid);
  for (int row = 0; row < kPasswordModules; ++row) addRow(grid, row);

  auto* hint = new QLabel(
      QStringLiteral("パスワードを変更、削除するには「古いパスワード」を入力して\n"
                     "ＴＡＢキーを押してください。"),
      this);
  hint->setObjectName(QStringLiteral("hint"));
  hint->setTextFormat(Qt::PlainText);
  grid->setRowMinimumHeight(kPasswordModules + 1, 8);
  grid->addWidget(hint, kPasswordModules + 2, 0, 1, 4);
  grid->setRowStretch(kPasswordModules + 3, 1);
  load({});
}

void CCompo::addHeaders(QGridLayout* grid) {
  const QString heads[] = {QStringLiteral("設定の有無"), QStringLiteral("古いパスワード"),
                           QStringLiteral("新しいパスワード"),
                           QStringLiteral("新しいパスワードの確認入力")};
  int column = 0;
  for (const QString& text : heads) {
    auto* head = new QLabel(text, this);
    head->setWordWrap(true);  // the confirm head takes two lines
    head->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    if (column > 0) head->setFixedWidth(editWidth());
    grid->addWidget(head, 0, column++);
  }
}

// The edit columns are as wide as their longest one-line head.
int CCompo::editWidth() const {
  return fontMetrics().horizontalAdvance(QStringLiteral("新しいパスワード")) + 4;
}

void CCompo::addRow(QGridLayout* grid, int row) {
  const RowIds& ids = kRows[row];
  RowControls& controls = controls_[row];
  controls.check = new QCheckBox(QString::fromUtf16(ids.caption), this);
  controls.check->setObjectName(idName(ids.check));
  grid->addWidget(controls.check, row + 1, 0);
  connect(controls.check, &QCheckBox::clicked, this, [this, row] { OnCheckClicked(row); });

  controls.oldPassword = addPasswordEdit(grid, row, 1, ids.oldPassword);
  controls.newPassword = addPasswordEdit(grid, row, 2, ids.newPassword);
  controls.confirm = addPasswordEdit(grid, row, 3, ids.confirm);
}

QLineEdit* CCompo::addPasswordEdit(QGridLayout* grid, int row, int column, int id) {
  auto* edit = new QLineEdit(this);
  edit->setObjectName(idName(id));
  edit->setEchoMode(QLineEdit::Password);
  edit->setMaxLength(hv6::PasswordRows::kMaxLength);
  edit->setFixedWidth(editWidth());
  edit->installEventFilter(this);
  grid->addWidget(edit, row + 1, column);
  return edit;
}

void CCompo::load(const hv6::ModulePasswords& passwords) {
  rows_.load(passwords);
  for (int row = 0; row < kPasswordModules; ++row) {
    clearEdits(row);
    applyState(row);
  }
}

void CCompo::clearEdits(int row) {
  for (QLineEdit* edit : {controls_[row].oldPassword, controls_[row].newPassword,
                          controls_[row].confirm})
    edit->clear();
}

void CCompo::applyState(int row) {
  const RowControls& controls = controls_[row];
  const hv6::PasswordRowControls enabled = hv6::enabledControls(rows_.state(row));
  controls.check->setChecked(rows_.isSet(row));
  controls.check->setEnabled(enabled.check);
  controls.newPassword->setEnabled(enabled.newPassword);
  controls.confirm->setEnabled(enabled.confirm);
  controls.oldPassword->setEnabled(enabled.oldPassword);
}

int CCompo::rowOf(QObject* control, QLineEdit* RowControls::*edit) const {
  for (int row = 0; row < kPasswordModules; ++row)
    if (controls_[row].*edit == control) return row;
  return -1;
}

bool CCompo::eventFilter(QObject* watched, QEvent* event) {
  const int oldRow = rowOf(watched, &RowControls::oldPassword);
  const int confirmRow = rowOf(watched, &RowControls::confirm);
  if (event->type() == QEvent::KeyPress && oldRow >= 0 &&
      plainTab(*static_cast<QKeyEvent*>(event)))
    return OnOldPasswordTab(oldRow);
  if (event->type() == QEvent::FocusOut && leftByUser(*static_cast<QFocusEvent*>(event))) {
    if (oldRow >= 0) OnOldPasswordFocusLost(oldRow);
    if (confirmRow >= 0) OnConfirmFocusLost(confirmRow);
  }
  return QWidget::eventFilter(watched, event);
}

void CCompo::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F2 && event->modifiers() == Qt::ControlModifier) {
    OnMasterUnlock();
    return;
  }
  QWidget::keyPressEvent(event);
}

void CCompo::OnCheckClicked(int row) {
  rows_.toggle(row);
  if (!rows_.isSet(row)) clearEdits(row);
  applyState(row);
}

// Tab in an old-password edit: a matching text opens the row and the focus
// goes to its new-password edit; otherwise the Tab moves on as usual and
// the focus loss judges the text.
bool CCompo::OnOldPasswordTab(int row) {
  if (rows_.unlock(row, controls_[row].oldPassword->text()) != hv6::UnlockResult::Unlocked)
    return false;
  applyState(row);
  controls_[row].newPassword->setFocus(Qt::TabFocusReason);
  return true;
}

void CCompo::OnOldPasswordFocusLost(int row) {
  if (focusOnCancel()) return;
  QLineEdit* edit = controls_[row].oldPassword;
  switch (rows_.unlock(row, edit->text())) {
    case hv6::UnlockResult::Unlocked:
      applyState(row);
      break;
    case hv6::UnlockResult::Wrong:
      edit->clear();
      postMessage(hv6::kWrongOldPassword, nullptr);
      break;
    case hv6::UnlockResult::None:
      break;
  }
}

void CCompo::OnConfirmFocusLost(int row) {
  if (!rows_.awaitsConfirmation(row) || focusOnCancel()) return;
  const RowControls& controls = controls_[row];
  const hv6::ConfirmResult result =
      rows_.confirm(row, {controls.newPassword->text(), controls.confirm->text()});
  reportConfirm(row, result, true);
}

bool CCompo::finalCheck() {
  std::array<hv6::NewPasswordTexts, kPasswordModules> texts;
  for (int row = 0; row < kPasswordModules; ++row)
    texts[row] = {controls_[row].newPassword->text(), controls_[row].confirm->text()};
  const hv6::PasswordRows::FinalCheck check = rows_.finalCheck(texts);
  if (check.row < 0) return true;
  return reportConfirm(check.row, check.result, false);
}

// A failed confirmation clears both edits and sends the focus back to the
// new-password edit after the message.
bool CCompo::reportConfirm(int row, hv6::ConfirmResult result, bool queued) {
  if (result == hv6::ConfirmResult::Stored) return true;
  QLineEdit* newEdit = controls_[row].newPassword;
  newEdit->clear();
  controls_[row].confirm->clear();
  if (queued)
    postMessage(hv6::messageFor(result), newEdit);
  else
    showMessage(hv6::messageFor(result), newEdit);
  return false;
}

void CCompo::postMessage(hv6::PasswordMessage message, QLineEdit* focusAfter) {
  QPointer<QLineEdit> target(focusAfter);
  QMetaObject::invokeMethod(
      this,
      [this, message, target] {
        if (!focusOnCancel()) showMessage(message, target.data());
      },
      Qt::QueuedConnection);
}

void CCompo::showMessage(hv6::PasswordMessage message, QLineEdit* focusAfter) {
  bringToFront();
  CErrMsg().Disp(message.code, message.kind);
  if (focusAfter) focusAfter->setFocus(Qt::OtherFocusReason);
}

void CCompo::bringToFront() {
  for (QWidget* parent = parentWidget(); parent; parent = parent->parentWidget()) {
    if (auto* tabs = qobject_cast<QTabWidget*>(parent)) {
      if (tabs->indexOf(this) >= 0) tabs->setCurrentWidget(this);
      return;
    }
  }
}

bool CCompo::focusOnCancel() const {
  const QWidget* focus = window()->focusWidget();
  return focus && focus->window() == window() && focus->objectName() == kCancelId;
}

void CCompo::OnMasterUnlock() {
  const std::optional<QString> code = askUnlockCode(this);
  if (!code) return;
  if (!rows_.masterUnlock(*code)) {
    CErrMsg().Disp(hv6::kWrongUnlockCode.code, hv6::kWrongUnlockCode.kind);
    return;
  }
  load(rows_.passwords());
}
