#pragma once

#include <cstdlib>
#include <optional>
#include <string>

#include "base/Ports.h"

namespace pg::test {

// Ports for benchmarks and fuzzing, where nobody is there to answer: every message is answered
// OK, and Yes where it asks, so an error report lets the operation go on; messages are counted
// so a benchmark can tell that its work went wrong. Prompts and folder choosers are cancelled,
// windows not shown, settings keep their defaults, and today is a fixed date.
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

class FixedDateClock : public Clock {
 public:
  Date Today() override { return MakeDate(2026, 12, 8); }
};

struct QuietPorts {
  AnsweringDialogs dialogs;
  NoWindows windows;
  DefaultSettings settings;
  FixedDateClock clock;
  Ports ports() { return Ports{dialogs, windows, settings, clock}; }
};

}  // namespace pg::test
