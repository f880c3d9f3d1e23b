#pragma once

#include <cstdlib>
#include <optional>
#include <string>

#include "base/Date.h"

namespace pg {

// The program's title on its message boxes and prompts.
inline constexpr const char* kProgramTitle = "Pairgauge";

enum class Buttons { OK, OKCancel, YesNo, YesNoCancel };
enum class Icon { None, Information, Warning, Critical, Question };
enum class Answer { OK, Cancel, Yes, No };

struct ScreenSize {
  int width = 0;
  int height = 0;
};

// Message boxes, the one-line prompt and the few other things the windows ask of the desktop.
class Dialogs {
 public:
  virtual ~Dialogs() = default;
  virtual Answer Message(const std::string& text, Buttons buttons, Icon icon) = 0;
  // The answer typed, or nothing when the prompt was cancelled.
  virtual std::optional<std::string> Prompt(const std::string& message, const std::string& title,
                                            const std::string& defaultAnswer) = 0;
  // A folder the user picks, starting from startFolder (the desktop's choice when empty), or
  // nothing when the chooser was cancelled.
  virtual std::optional<std::string> ChooseFolder(const std::string& title,
                                                  const std::string& startFolder) = 0;
  virtual void Beep() = 0;
  virtual bool CapsLockOn() = 0;
  virtual ScreenSize Screen() = 0;
  // Ends the program at once: nothing is saved and nothing more is asked.
  [[noreturn]] virtual void EndProgram() = 0;
};

// Dialogs where nobody is there to answer (a look at the files that must say nothing, a
// benchmark, a fuzzer): every message is answered as going on would answer it (OK, and Yes to
// whether to continue after a failure) and counted; prompts and folder choosers are cancelled,
// nothing is shown, and nothing asks it to end the program, since no answer is No.
class AnsweringDialogs : public Dialogs {
 public:
  Answer Message(const std::string&, Buttons buttons, Icon) override {
    ++messages;
    return buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel ? Answer::Yes : Answer::OK;
  }
  std::optional<std::string> Prompt(const std::string&, const std::string&,
                                    const std::string&) override {
    return std::nullopt;
  }
  std::optional<std::string> ChooseFolder(const std::string&, const std::string&) override {
    return std::nullopt;
  }
  void Beep() override {}
  bool CapsLockOn() override { return false; }
  ScreenSize Screen() override { return {}; }
  [[noreturn]] void EndProgram() override { std::abort(); }

  long messages = 0;
};

// The program's own windows, shown modally on top of the one that asks.
enum class WindowId {
  Update,
  Review,
  Parameters,
  NewPassword,
  Password,
  NearNames,
  History,
  Trial
};

class Windows {
 public:
  virtual ~Windows() = default;
  virtual void ShowModal(WindowId window) = 0;
};

// Per-user named values (application, section, key).
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  virtual std::string Read(const std::string& application, const std::string& section,
                           const std::string& key, const std::string& defaultValue) = 0;
  virtual void Write(const std::string& application, const std::string& section,
                     const std::string& key, const std::string& value) = 0;
};

// For nobody there, as AnsweringDialogs: no window is shown, and settings keep their defaults.
class NoWindows : public Windows {
 public:
  void ShowModal(WindowId) override {}
};

class DefaultSettings : public SettingsStore {
 public:
  std::string Read(const std::string&, const std::string&, const std::string&,
                   const std::string& defaultValue) override {
    return defaultValue;
  }
  void Write(const std::string&, const std::string&, const std::string&,
             const std::string&) override {}
};

// A moment on this computer's clock: the day, and the minutes since its midnight.
struct LocalTime {
  Date day{};
  int minutes = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual Date Today() = 0;
  // Now, to the minute; how long another copy has held the club's files is told against it.
  virtual LocalTime Now() = 0;
};

// Who holds a club's lock, as the lock tells it.
struct LockHolder {
  std::string computer;
  std::string user;      // empty when the lock does not say
  std::string activity;  // what it holds the club for ("updating handicaps"); may be empty
  std::optional<LocalTime> since;
  bool thisComputer = false;
};

// A lock on one club's files that one program at a time holds, whichever process or computer
// opens the club's folder; a lock file at `path`. What a lock is taken for and what is said about
// one held elsewhere are the core's; the port only keeps the lock.
class ClubLocks {
 public:
  virtual ~ClubLocks() = default;
  enum class Outcome {
    Taken,      // nobody held it; it is this program's now
    TakenOver,  // a program on this computer had it and has stopped; it is this program's now,
                // and `holder` says whose it was
    Held,       // another program holds it, as `holder` says
    Failed      // the lock could not be made; `error` says why
  };
  struct Attempt {
    Outcome outcome = Outcome::Failed;
    LockHolder holder;
    std::string error;
  };
  // Takes the lock for `activity` unless another program holds it.
  virtual Attempt Lock(const std::string& path, const std::string& activity) = 0;
  // Takes a lock held by a program on another computer, which the user says is no longer
  // running there.
  virtual Attempt TakeOver(const std::string& path, const std::string& activity) = 0;
  virtual void Unlock(const std::string& path) = 0;
};

// For a look at the club's files that changes none of them: no lock is ever to be had, so that
// nothing under it can change a file by mistake.
class NoLocks : public ClubLocks {
 public:
  Attempt Lock(const std::string&, const std::string&) override {
    return {Outcome::Failed, {}, "nothing may be changed here"};
  }
  Attempt TakeOver(const std::string& path, const std::string& activity) override {
    return Lock(path, activity);
  }
  void Unlock(const std::string&) override {}
};

// The ports an operation may use, handed down from the program context.
struct Ports {
  Dialogs& dialogs;
  Windows& windows;
  SettingsStore& settings;
  Clock& clock;
  ClubLocks& locks;
};

}  // namespace pg
