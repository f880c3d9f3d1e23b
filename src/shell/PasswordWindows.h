#pragma once

#include <array>
#include <string>

#include "base/Control.h"
#include "shell/Program.h"

namespace pg {

// Where the parameter password lives among the user's settings.
inline constexpr const char* kSettingsApplication = "Tesk Quorell";
inline constexpr const char* kSettingsSection = "Handicap";
inline constexpr const char* kPasswordKey = "Pass";
// The stored value while no password is set. Choosing it as the new password is how a club
// removes the password: the next visit asks for a new one again.
inline constexpr const char* kNoPassword = "unarmed";

// What a password box shows for each character typed.
inline constexpr char kPasswordEcho = '*';

// Shows a password window (WindowId::Password or WindowId::NewPassword) modally; Cancelled is
// false afterwards only when the window was completed. A message that is not empty replaces the
// window's own lblMess text for this showing only.
void ShowPasswordWindow(Program& program, WindowId window, const std::string& message = "");

// Opens the parameter editor behind its password, as the main window's "Parameters" does: the
// new-password window while no password is set, the password-entry window otherwise, and the
// editor only after a completed one. `window` names the caller in an error report.
void OpenParameterEditor(Program& program, const char* window);

// The password-entry window: the stored password must be typed before the parameters open.
// Cancelled is false afterwards only when the password typed was the stored one.
class PasswordEntry {
 public:
  static constexpr const char* kName = "frmGetPassword";
  static constexpr const char* kCaption = "Enter Password";

  // Opening: Cancelled and completed cleared, the caller's message taken, Caps Lock looked at.
  explicit PasswordEntry(Program& program);

  Control lblMess{"lblMess",
                  "The Parameters Page is password protected, please enter the password"};
  Control lblPass{.name = "lblPass", .caption = "Enter Password", .key = 'E'};
  // The box's caption is the label in front of it, its accessible name; the text is `pass`.
  Control txtPass{"txtPass", "Enter Password"};
  Control lblCaps{"lblCaps", "Warning - CapsLock is on", true, false};
  Control cmdOK{.name = "cmdOK", .caption = "Next >", .key = 'N', .isDefault = true};
  Control cmdCancel{.name = "cmdCancel", .caption = "Cancel", .key = 'C'};
  std::string pass;

  // Shows lblCaps exactly while Caps Lock is on; after every key in txtPass, so the warning
  // follows the keyboard.
  void ShowCapsWarning();
  // "Next >": the password typed must be the stored one, exactly.
  void OKClick();
  void CancelClick();
  // The window is being closed by other means (title bar, Escape).
  void Closing();

  // The window has finished and its view closes it.
  bool closed() const { return closed_; }

 private:
  Program& program_;
  bool completed_ = false;
  bool closed_ = false;
};

// The new-password window: a password of at least six characters, typed twice, becomes the
// stored password and the user's setting "Pass".
class NewPassword {
 public:
  static constexpr const char* kName = "frmPassword";
  static constexpr const char* kCaption = "New Password";

  explicit NewPassword(Program& program);

  Control lblMess{"lblMess",
                  "Enter a password which is needed for future access to the parameters page"};
  std::array<Control, 2> lblPass{
      Control{.name = "lblPass(0)", .caption = "Enter Password", .key = 'E'},
      Control{.name = "lblPass(1)", .caption = "Reenter Password", .key = 'R'}};
  std::array<Control, 2> txtPass{Control{"txtPass(0)", "Enter Password"},
                                 Control{"txtPass(1)", "Reenter Password"}};
  Control cmdOK{.name = "cmdOK", .caption = "Next >", .key = 'N', .isDefault = true};
  Control cmdCancel{.name = "cmdCancel", .caption = "Cancel", .key = 'C'};
  std::array<std::string, 2> pass;

  void OKClick();
  void CancelClick();
  void Closing();
  bool closed() const { return closed_; }

 private:
  Program& program_;
  bool completed_ = false;
  bool closed_ = false;
};

inline constexpr const char* kIncorrectPasswordText = "Incorrect password";
inline constexpr const char* kPasswordTooShortText = "Password must be at least 6 characters long";
inline constexpr const char* kPasswordCharactersText =
    "The password may contain only letters, digits and the usual punctuation of a Western "
    "keyboard";
inline constexpr const char* kPasswordsDifferText =
    "The two passwords do not match - please reenter them";
inline constexpr const char* kExistingPasswordText = "Please enter existing password";
inline constexpr const char* kNewPasswordText = "Please enter a new password";
inline constexpr const char* kPasswordChangedText = "Password has been changed";

}  // namespace pg
