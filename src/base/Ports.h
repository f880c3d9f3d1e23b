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

class Clock {
 public:
  virtual ~Clock() = default;
  virtual Date Today() = 0;
};

// The ports an operation may use, handed down from the program context.
struct Ports {
  Dialogs& dialogs;
  Windows& windows;
  SettingsStore& settings;
  Clock& clock;
};

}  // namespace pg
