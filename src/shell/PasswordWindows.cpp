#include "shell/PasswordWindows.h"

#include <algorithm>

#include "base/Guard.h"
#include "review/ClubLock.h"

namespace pg {

namespace {

// Takes the caller's replacement for lblMess, so that the next showing has its own text again.
void TakeMessage(Program& program, Control& lblMess) {
  if (!program.passwordMessage.empty()) lblMess.caption = program.passwordMessage;
  program.passwordMessage.clear();
}

// The settings keep the password in single bytes: a character outside them would be kept as
// "?", and any other such character would then open the editor. Control characters (what a view
// puts for those characters) are refused with them.
bool Storable(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return (byte >= 0x20 && byte < 0x7F) || byte >= 0xA0;
}

// The password typed is the stored one. The version before the new-password window refused
// them kept each character the settings' single bytes lack as "?" (a euro sign in "bridge?1"),
// and compared what it kept with what was typed, kept the same way; so such a character (which a
// view hands on as '\x1A') still matches a "?" stored in its place, or that club could never
// open its parameters again.
bool IsStoredPassword(const std::string& typed, const std::string& stored) {
  if (typed.size() != stored.size()) return false;
  for (size_t i = 0; i < typed.size(); ++i)
    if (typed[i] != stored[i] && !(typed[i] == '\x1A' && stored[i] == '?')) return false;
  return true;
}

}  // namespace

void ShowPasswordWindow(Program& program, WindowId window, const std::string& message) {
  program.passwordMessage = message;
  // The window clears Cancelled as it opens: one that never opens lets nobody through.
  program.context.Cancelled = true;
  program.context.ports.windows.ShowModal(window);
  // A window that never opened must not hand the text on to a later one.
  program.passwordMessage.clear();
}

void OpenParameterEditor(Program& program, const char* window) {
  Context& c = program.context;
  Guard guard(c.dialogs(), window);
  // Nothing opens the editor unless a password window clears this.
  c.Cancelled = true;
  bool read = false;
  guard.Step(100, [&] {
    c.StoredPassword =
        c.ports.settings.Read(kSettingsApplication, kSettingsSection, kPasswordKey, kNoPassword);
    read = true;
  });
  if (!read) return;
  guard.Step(110, [&] {
    ShowPasswordWindow(
        program, c.StoredPassword == kNoPassword ? WindowId::NewPassword : WindowId::Password);
  });
  guard.Step(120, [&] {
    if (c.Cancelled) return;
    // One copy at a time edits the club's parameters, and none while another updates them.
    const ClubLockScope lock(c, kEditingParameters);
    if (lock.held()) c.ports.windows.ShowModal(WindowId::Parameters);
  });
}

PasswordEntry::PasswordEntry(Program& program) : program_(program) {
  Context& c = program_.context;
  Guard guard(c.dialogs(), kName);
  guard.Step(100, [&] { c.Cancelled = false; });
  guard.Step(110, [&] { TakeMessage(program_, lblMess); });
  guard.Step(120, [&] { ShowCapsWarning(); });
}

void PasswordEntry::ShowCapsWarning() {
  Guard guard(program_.context.dialogs(), kName);
  guard.Step(100, [&] { lblCaps.visible = program_.context.dialogs().CapsLockOn(); });
}

void PasswordEntry::OKClick() {
  Context& c = program_.context;
  Guard guard(c.dialogs(), kName);
  guard.Step(100, [&] {
    if (!IsStoredPassword(pass, c.StoredPassword)) {
      c.dialogs().Message(kIncorrectPasswordText, Buttons::OK, Icon::Warning);
      c.Cancelled = true;
    } else {
      completed_ = true;
    }
  });
  // Whatever happened above, only a completed window lets the caller go on.
  Closing();
}

void PasswordEntry::CancelClick() {
  Closing();
}

void PasswordEntry::Closing() {
  if (!completed_) program_.context.Cancelled = true;
  closed_ = true;
}

NewPassword::NewPassword(Program& program) : program_(program) {
  Context& c = program_.context;
  Guard guard(c.dialogs(), kName);
  guard.Step(100, [&] { c.Cancelled = false; });
  guard.Step(110, [&] { TakeMessage(program_, lblMess); });
}

void NewPassword::OKClick() {
  Context& c = program_.context;
  Guard guard(c.dialogs(), kName);
  guard.Step(100, [&] {
    if (pass[0].size() < 6) {
      c.dialogs().Message(kPasswordTooShortText, Buttons::OK, Icon::Warning);
    } else if (!std::all_of(pass[0].begin(), pass[0].end(), Storable)) {
      c.dialogs().Message(kPasswordCharactersText, Buttons::OK, Icon::Warning);
    } else if (pass[0] != pass[1]) {
      c.dialogs().Message(kPasswordsDifferText, Buttons::OK, Icon::Warning);
    } else {
      c.StoredPassword = pass[0];
      c.ports.settings.Write(kSettingsApplication, kSettingsSection, kPasswordKey, pass[0]);
      completed_ = true;
      closed_ = true;
    }
  });
}

void NewPassword::CancelClick() {
  Closing();
}

void NewPassword::Closing() {
  if (!completed_) program_.context.Cancelled = true;
  closed_ = true;
}

}  // namespace pg
