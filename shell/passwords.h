#pragma once
// The rows of the password page (dialog 131): per module a flag, a stored
// password and what the user may change. The page binds its controls to
// this; every decision about unlocking, removing and setting a password is
// made here.

#include "shell/baseinfo.h"

#include <QString>

#include <array>

namespace hv6 {

// Off: only the check box. Open: check box, new and confirm (the old-password
// edit disabled). Locked: only the old-password edit.
enum class PasswordRowState { Off, Open, Locked };

// Which of a row's four controls are enabled.
struct PasswordRowControls {
  bool check = false;
  bool oldPassword = false;
  bool newPassword = false;
  bool confirm = false;
};
PasswordRowControls enabledControls(PasswordRowState state);

// A numbered message and its kind.
struct PasswordMessage {
  long code = 0;
  int kind = 0;
};
inline constexpr PasswordMessage kNewPasswordsDiffer{2500, 0};
inline constexpr PasswordMessage kWrongOldPassword{2501, 1};
inline constexpr PasswordMessage kWrongUnlockCode{2502, 1};
inline constexpr PasswordMessage kNewPasswordEmpty{2509, 0};

enum class UnlockResult {
  Unlocked,  // the text matched: the row is open
  Wrong,     // a text that does not match
  None,      // empty text, or the row is not locked
};

enum class ConfirmResult { Stored, Empty, Differ };
PasswordMessage messageFor(ConfirmResult result);

// The texts of a row's new-password and confirm edits.
struct NewPasswordTexts {
  QString newPassword;
  QString confirm;
};

using ModulePasswords = std::array<ModulePassword, kPasswordModules>;

class PasswordRows {
 public:
  static constexpr int kMaxLength = 8;
  static inline const QString kUnlockCode = QStringLiteral("ZEPH");

  // Page start: each row's state from its flag and password.
  void load(const ModulePasswords& passwords);
  const ModulePasswords& passwords() const { return passwords_; }
  PasswordRowState state(int row) const { return states_.at(row); }
  bool isSet(int row) const { return passwords_.at(row).set; }

  // The old password typed into a locked row, compared without regard to case.
  UnlockResult unlock(int row, const QString& oldText);

  // The check box clicked: toggles the flag. Turning a row off empties its
  // stored password (the page clears its three edits).
  void toggle(int row);

  // True for a checked row whose new and confirm edits are enabled.
  bool awaitsConfirmation(int row) const;
  // New and confirm equal (without regard to case) and not empty: the
  // confirm text becomes the stored password.
  ConfirmResult confirm(int row, const NewPasswordTexts& texts);

  struct FinalCheck {
    int row = -1;  // the first row that failed, -1 when all passed
    ConfirmResult result = ConfirmResult::Stored;
  };
  // The sheet's OK: confirms every row that awaits it, up to the first failure.
  FinalCheck finalCheck(const std::array<NewPasswordTexts, kPasswordModules>& texts);

  // The master unlock: the code "ZEPH" (any case) clears every flag and
  // password; false for another code, and nothing changes.
  bool masterUnlock(const QString& code);

 private:
  static PasswordRowState stateOf(const ModulePassword& password);

  ModulePasswords passwords_{};
  std::array<PasswordRowState, kPasswordModules> states_{};
};

}  // namespace hv6
