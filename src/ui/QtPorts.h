#pragma once

#include <QLockFile>
#include <functional>
#include <map>
#include <memory>

#include "base/Ports.h"

class QWidget;

namespace pg::ui {

// The window a dialog opens over: the modal window the user is in, else the active window.
QWidget* DialogParent();

// Message boxes and the prompt as modal Qt dialogs titled "Pairgauge", over the active window.
class QtDialogs : public Dialogs {
 public:
  Answer Message(const std::string& text, Buttons buttons, Icon icon) override;
  std::optional<std::string> Prompt(const std::string& message, const std::string& title,
                                    const std::string& defaultAnswer) override;
  // The desktop's folder chooser; the folder comes back in the file system's own encoding.
  std::optional<std::string> ChooseFolder(const std::string& title,
                                          const std::string& startFolder) override;
  void Beep() override;
  // Read from the keyboard (KeyboardCapsLockOn): false where the platform cannot tell, so the
  // password windows simply do not warn there.
  bool CapsLockOn() override;
  ScreenSize Screen() override;
  // Ends the process at once with std::_Exit after flushing the standard streams: no event runs,
  // no destructor or exit handler runs, nothing is saved. Every file the program writes is
  // already whole on disk (written beside and renamed), and settings are synced as they are
  // written, so there is nothing left to lose. std::exit would instead run Qt's global
  // destructors while the application and its windows are still alive on main's stack.
  // `beforeEnd` runs first: it lets go of the club's lock, which no other copy need then take over.
  [[noreturn]] void EndProgram() override;

  std::function<void()> beforeEnd;
};

// Opens the program's own windows. Each window's view registers how it is shown (in main, where
// the program is at hand); a window not registered yet opens nothing.
class QtWindows : public Windows {
 public:
  void Register(WindowId window, std::function<void()> show);
  void ShowModal(WindowId window) override;

 private:
  std::map<WindowId, std::function<void()>> shows_;
};

// Per-user values in QSettings: the call's application is the organisation and its section the
// application, so ("Tesk Quorell", "Handicap", "Pass") lives in the user's
// "Tesk Quorell/Handicap" settings under the key "Pass". Written values are synced at once.
class QtSettingsStore : public SettingsStore {
 public:
  std::string Read(const std::string& application, const std::string& section,
                   const std::string& key, const std::string& defaultValue) override;
  void Write(const std::string& application, const std::string& section, const std::string& key,
             const std::string& value) override;
};

// Today and now in the machine's local time.
class QtClock : public Clock {
 public:
  Date Today() override;
  LocalTime Now() override;
};

// The club's lock is a QLockFile, which keeps one program at a time across the processes and
// computers that open a folder, and knows a lock left by a program that stopped on this computer
// (its process gone) for one. Beside it, "<lock>.txt" says who took it, for what and when, which
// the lock file itself does not: the user's name, the activity and the time.
class QtClubLocks final : public ClubLocks {
 public:
  QtClubLocks() = default;
  ~QtClubLocks() override;
  QtClubLocks(const QtClubLocks&) = delete;
  QtClubLocks& operator=(const QtClubLocks&) = delete;

  Attempt Lock(const std::string& path, const std::string& activity) override;
  Attempt TakeOver(const std::string& path, const std::string& activity) override;
  void Unlock(const std::string& path) override;
  void UnlockAll();

 private:
  Attempt Take(const std::string& path, const std::string& activity, bool over);
  std::map<std::string, std::unique_ptr<QLockFile>> held_;
};

// The Qt ports together, as the program (and its screenshot tool) wires them.
struct QtPortSet {
  QtPortSet() {
    dialogs.beforeEnd = [this] { locks.UnlockAll(); };
  }
  QtPortSet(const QtPortSet&) = delete;
  QtPortSet& operator=(const QtPortSet&) = delete;

  QtDialogs dialogs;
  QtWindows windows;
  QtSettingsStore settings;
  QtClock clock;
  QtClubLocks locks;
  Ports ports() { return Ports{dialogs, windows, settings, clock, locks}; }
};

}  // namespace pg::ui
