#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "base/Ports.h"

namespace pg::test {

// Thrown by ScriptedDialogs::EndProgram, so a test can see the program end where it would.
struct ProgramEnded {};
// Thrown once a test has met many messages or prompts its script did not expect, so that code
// asking again and again ends the test instead of hanging it.
struct ScriptRanOut {};

// Message boxes and prompts answered from a script. A message or prompt the script does not
// expect next fails the test, and so does an expectation still unused when the script ends.
class ScriptedDialogs : public Dialogs {
 public:
  ~ScriptedDialogs() override;

  // The next message must have exactly this text; it is answered with `answer`.
  ScriptedDialogs& ExpectMessage(std::string text, Answer answer = Answer::OK);
  // The next message must contain `part`.
  ScriptedDialogs& ExpectMessageContaining(std::string part, Answer answer = Answer::OK);
  // The next interaction must be a prompt; it is answered with `answer` (nothing = cancelled).
  ScriptedDialogs& ExpectPrompt(std::optional<std::string> answer);
  // The next interaction must be a folder chooser; it is answered with `folder` (nothing =
  // cancelled).
  ScriptedDialogs& ExpectFolderChoice(std::optional<std::string> folder);

  // Fails the test for every expectation not yet used, and forgets them.
  void VerifyAllUsed();

  Answer Message(const std::string& text, Buttons buttons, Icon icon) override;
  std::optional<std::string> Prompt(const std::string& message, const std::string& title,
                                    const std::string& defaultAnswer) override;
  std::optional<std::string> ChooseFolder(const std::string& title,
                                          const std::string& startFolder) override;
  void Beep() override { ++beeps; }
  bool CapsLockOn() override { return capsLock; }
  ScreenSize Screen() override { return screen; }
  [[noreturn]] void EndProgram() override;

  struct Shown {
    std::string text;
    Buttons buttons = Buttons::OK;
    Icon icon = Icon::None;
  };
  std::vector<Shown> messages;              // every message shown, in order
  std::vector<std::string> prompts;         // every prompt's message, in order
  std::vector<std::string> promptDefaults;  // the answer each prompt offered
  std::vector<std::string> folderStarts;    // where each folder chooser started, in order
  int beeps = 0;
  bool capsLock = false;
  bool ended = false;
  ScreenSize screen{1920, 1080};

 private:
  struct Expectation {
    enum class Kind { Exact, Containing, Prompt, Folder } kind;
    std::string text;
    Answer answer = Answer::OK;
    std::optional<std::string> promptAnswer;
  };
  void Unexpected();
  std::deque<Expectation> script_;
  int unexpected_ = 0;
};

// Records the windows opened; a test may give each window an action to run while it is "open".
class RecordingWindows : public Windows {
 public:
  void ShowModal(WindowId window) override;
  std::vector<WindowId> shown;
  std::map<WindowId, std::function<void()>> onShow;
};

class MemorySettings : public SettingsStore {
 public:
  std::string Read(const std::string& application, const std::string& section,
                   const std::string& key, const std::string& defaultValue) override;
  void Write(const std::string& application, const std::string& section, const std::string& key,
             const std::string& value) override;
  std::map<std::string, std::string> values;  // "application/section/key" -> value
};

class FixedClock : public Clock {
 public:
  explicit FixedClock(Date d) : today(d) {}
  Date Today() override { return today; }
  LocalTime Now() override { return {today, minutes}; }
  Date today;
  int minutes = 12 * 60;
};

// Club locks kept in this process's memory and shared by all its MemoryLocks, so that the
// programs of one test are so many copies of Pairgauge, each a program of its own on the
// computer it names. A copy that is destroyed, or stopped, without letting go of a lock leaves
// it behind as a crashed program would.
class MemoryLocks : public ClubLocks {
 public:
  explicit MemoryLocks(std::string computer = "CLUBPC", std::string user = "secretary");
  ~MemoryLocks() override;
  MemoryLocks(const MemoryLocks&) = delete;
  MemoryLocks& operator=(const MemoryLocks&) = delete;

  Attempt Lock(const std::string& path, const std::string& activity) override;
  Attempt TakeOver(const std::string& path, const std::string& activity) override;
  void Unlock(const std::string& path) override;

  // Ends this copy as a crash would: its locks stay, held by a program that is gone.
  void Stop();
  // Whether this copy holds the lock at path.
  bool Holds(const std::string& path) const;

  std::string computer;
  std::string user;
  LocalTime now{MakeDate(2026, 12, 8), 9 * 60};  // when it takes a lock
  // Make the lock fail as a folder that cannot be written would.
  bool failing = false;

 private:
  int id_;
};

// All the scripted ports together, as most tests want them.
struct ScriptedPorts {
  ScriptedDialogs dialogs;
  RecordingWindows windows;
  MemorySettings settings;
  FixedClock clock{MakeDate(2026, 12, 8)};
  MemoryLocks locks;
  Ports ports() { return Ports{dialogs, windows, settings, clock, locks}; }
};

}  // namespace pg::test
