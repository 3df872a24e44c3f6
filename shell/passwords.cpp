#include "shell/passwords.h"

namespace hv6 {

namespace {

bool sameText(const QString& a, const QString& b) {
  return QString::compare(a, b, Qt::CaseInsensitive) == 0;
}

}  // namespace

PasswordRowControls enabledControls(PasswordRowState state) {
  switch (state) {
    case PasswordRowState::Off:
      return {true, false, false, false};
    case PasswordRowState::Open:
      return {true, false, true, true};
    case PasswordRowState::Locked:
      return {false, true, false, false};
  }
  return {};
}

PasswordMessage messageFor(ConfirmResult result) {
  switch (result) {
    case ConfirmResult::Empty:
      return kNewPasswordEmpty;
    case ConfirmResult::Differ:
      return kNewPasswordsDiffer;
    case ConfirmResult::Stored:
      break;
  }
  return {};
}

PasswordRowState PasswordRows::stateOf(const ModulePassword& password) {
  if (!password.set) return PasswordRowState::Off;
  return password.password.isEmpty() ? PasswordRowState::Open : PasswordRowState::Locked;
}

void PasswordRows::load(const ModulePasswords& passwords) {
  passwords_ = passwords;
  for (int row = 0; row < kPasswordModules; ++row) states_[row] = stateOf(passwords_[row]);
}

UnlockResult PasswordRows::unlock(int row, const QString& oldText) {
  if (states_.at(row) != PasswordRowState::Locked || oldText.isEmpty()) return UnlockResult::None;
  if (!sameText(oldText, passwords_[row].password)) return UnlockResult::Wrong;
  states_[row] = PasswordRowState::Open;
  return UnlockResult::Unlocked;
}

void PasswordRows::toggle(int row) {
  ModulePassword& entry = passwords_.at(row);
  switch (states_[row]) {
    case PasswordRowState::Off:
      entry.set = true;
      states_[row] = PasswordRowState::Open;
      break;
    case PasswordRowState::Open:
      entry = ModulePassword{};
      states_[row] = PasswordRowState::Off;
      break;
    case PasswordRowState::Locked:  // the check box is disabled
      break;
  }
}

bool PasswordRows::awaitsConfirmation(int row) const {
  return passwords_.at(row).set && states_[row] == PasswordRowState::Open;
}

ConfirmResult PasswordRows::confirm(int row, const NewPasswordTexts& texts) {
  if (!sameText(texts.newPassword, texts.confirm)) return ConfirmResult::Differ;
  if (texts.confirm.isEmpty()) return ConfirmResult::Empty;
  passwords_.at(row).password = texts.confirm;
  return ConfirmResult::Stored;
}

PasswordRows::FinalCheck PasswordRows::finalCheck(
    const std::array<NewPasswordTexts, kPasswordModules>& texts) {
  for (int row = 0; row < kPasswordModules; ++row) {
    if (!awaitsConfirmation(row)) continue;
    const ConfirmResult result = confirm(row, texts[row]);
    if (result != ConfirmResult::Stored) return {row, result};
  }
  return {};
}

bool PasswordRows::masterUnlock(const QString& code) {
  if (!sameText(code, kUnlockCode)) return false;
  load(ModulePasswords{});
  return true;
}

}  // namespace hv6
