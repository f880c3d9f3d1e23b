#include "support/ScriptedPorts.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace pg::test {

ScriptedDialogs::~ScriptedDialogs() {
  VerifyAllUsed();
}

ScriptedDialogs& ScriptedDialogs::ExpectMessage(std::string text, Answer answer) {
  script_.push_back({Expectation::Kind::Exact, std::move(text), answer, std::nullopt});
  return *this;
}

ScriptedDialogs& ScriptedDialogs::ExpectMessageContaining(std::string part, Answer answer) {
  script_.push_back({Expectation::Kind::Containing, std::move(part), answer, std::nullopt});
  return *this;
}

ScriptedDialogs& ScriptedDialogs::ExpectPrompt(std::optional<std::string> answer) {
  script_.push_back({Expectation::Kind::Prompt, "", Answer::OK, std::move(answer)});
  return *this;
}

ScriptedDialogs& ScriptedDialogs::ExpectFolderChoice(std::optional<std::string> folder) {
  script_.push_back({Expectation::Kind::Folder, "", Answer::OK, std::move(folder)});
  return *this;
}

void ScriptedDialogs::VerifyAllUsed() {
  for (const Expectation& e : script_) {
    switch (e.kind) {
      case Expectation::Kind::Prompt: ADD_FAILURE() << "expected prompt never came"; break;
      case Expectation::Kind::Folder: ADD_FAILURE() << "expected folder chooser never came"; break;
      default: ADD_FAILURE() << "expected message never came: " << e.text; break;
    }
  }
  script_.clear();
}

Answer ScriptedDialogs::Message(const std::string& text, Buttons buttons, Icon icon) {
  messages.push_back({text, buttons, icon});
  if (script_.empty() || script_.front().kind == Expectation::Kind::Prompt ||
      script_.front().kind == Expectation::Kind::Folder) {
    ADD_FAILURE() << "unexpected message: " << text;
    Unexpected();
    return buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel ? Answer::No : Answer::OK;
  }
  const Expectation e = script_.front();
  script_.pop_front();
  if (e.kind == Expectation::Kind::Exact) {
    EXPECT_EQ(text, e.text);
  } else {
    EXPECT_NE(text.find(e.text), std::string::npos) << "message: " << text;
  }
  return e.answer;
}

std::optional<std::string> ScriptedDialogs::Prompt(const std::string& message,
                                                   const std::string& /*title*/,
                                                   const std::string& defaultAnswer) {
  prompts.push_back(message);
  promptDefaults.push_back(defaultAnswer);
  if (script_.empty() || script_.front().kind != Expectation::Kind::Prompt) {
    ADD_FAILURE() << "unexpected prompt: " << message;
    Unexpected();
    return std::nullopt;
  }
  const Expectation e = script_.front();
  script_.pop_front();
  return e.promptAnswer;
}

std::optional<std::string> ScriptedDialogs::ChooseFolder(const std::string& title,
                                                         const std::string& startFolder) {
  folderStarts.push_back(startFolder);
  if (script_.empty() || script_.front().kind != Expectation::Kind::Folder) {
    ADD_FAILURE() << "unexpected folder chooser: " << title;
    Unexpected();
    return std::nullopt;
  }
  const Expectation e = script_.front();
  script_.pop_front();
  return e.promptAnswer;
}

void ScriptedDialogs::Unexpected() {
  // A loop that asks until it is answered (a prompt, then a question) would never end.
  if (++unexpected_ > 20) throw ScriptRanOut{};
}

void ScriptedDialogs::EndProgram() {
  ended = true;
  throw ProgramEnded{};
}

void RecordingWindows::ShowModal(WindowId window) {
  shown.push_back(window);
  if (auto it = onShow.find(window); it != onShow.end() && it->second) it->second();
}

std::string MemorySettings::Read(const std::string& application, const std::string& section,
                                 const std::string& key, const std::string& defaultValue) {
  const auto it = values.find(application + "/" + section + "/" + key);
  return it == values.end() ? defaultValue : it->second;
}

void MemorySettings::Write(const std::string& application, const std::string& section,
                           const std::string& key, const std::string& value) {
  values[application + "/" + section + "/" + key] = value;
}

namespace {

struct HeldLock {
  int owner = 0;
  LockHolder holder;
};

// Every copy's locks, and the copies still running.
std::map<std::string, HeldLock>& Locks() {
  static std::map<std::string, HeldLock> locks;
  return locks;
}
std::set<int>& Running() {
  static std::set<int> running;
  return running;
}

}  // namespace

MemoryLocks::MemoryLocks(std::string computerName, std::string userName)
    : computer(std::move(computerName)), user(std::move(userName)) {
  static int next = 0;
  id_ = ++next;
  Running().insert(id_);
}

MemoryLocks::~MemoryLocks() {
  Stop();
}

void MemoryLocks::Stop() {
  Running().erase(id_);
}

bool MemoryLocks::Holds(const std::string& path) const {
  const auto it = Locks().find(path);
  return it != Locks().end() && it->second.owner == id_;
}

ClubLocks::Attempt MemoryLocks::Lock(const std::string& path, const std::string& activity) {
  if (failing) return {Outcome::Failed, {}, "Permission denied"};
  auto& locks = Locks();
  const auto it = locks.find(path);
  Attempt attempt{Outcome::Taken, {}, {}};
  if (it != locks.end() && it->second.owner != id_) {
    LockHolder holder = it->second.holder;
    holder.thisComputer = holder.computer == computer;
    // Only on its own computer can a program tell that the holder has stopped.
    if (Running().count(it->second.owner) || !holder.thisComputer)
      return {Outcome::Held, holder, {}};
    attempt = {Outcome::TakenOver, holder, {}};
  }
  locks[path] = {id_, {computer, user, activity, now, true}};
  return attempt;
}

ClubLocks::Attempt MemoryLocks::TakeOver(const std::string& path, const std::string& activity) {
  if (failing) return {Outcome::Failed, {}, "Permission denied"};
  LockHolder before;
  if (const auto it = Locks().find(path); it != Locks().end()) before = it->second.holder;
  Locks()[path] = {id_, {computer, user, activity, now, true}};
  return {Outcome::TakenOver, before, {}};
}

void MemoryLocks::Unlock(const std::string& path) {
  const auto it = Locks().find(path);
  if (it != Locks().end() && it->second.owner == id_) Locks().erase(it);
}

}  // namespace pg::test
