// One copy at a time updates a club or edits its parameters: what a second copy is told, and when
// it may take over a lock that a copy which stopped left behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

#include "review/ClubLock.h"
#include "shell/StartUp.h"
#include "support/ScriptedPorts.h"
#include "support/TempFolder.h"

namespace pg {
namespace {

// The holder's lock was taken at 09:00 on 8 December; it is noon now.
const std::string kSince = "09:00 on Tuesday 08 Dec 2026";

struct Holder {
  const char* name;
  // Takes the club's lock at path, as another copy would, or leaves it free.
  std::function<std::unique_ptr<test::MemoryLocks>(const std::string& path)> take;
  // What this copy is said or asked, and its answer; empty when nothing is.
  std::string said;
  Answer answer;
  bool opens;             // the window opens
  bool othersAfterwards;  // the other copy still holds the club afterwards
};
void PrintTo(const Holder& h, std::ostream* out) {
  *out << h.name;
}

std::unique_ptr<test::MemoryLocks> Taken(const std::string& path, const char* computer,
                                         bool stops) {
  auto other = std::make_unique<test::MemoryLocks>(computer, "bob");
  other->Lock(path, kUpdatingHandicaps);
  if (stops) other->Stop();
  return other;
}

const Holder kHolders[] = {
    {"Nobody", [](const std::string&) { return nullptr; }, "", Answer::OK, true, false},
    {"ACopyRunningHere", [](const std::string& p) { return Taken(p, "CLUBPC", false); },
     "Pairgauge is already updating handicaps for this club on this computer (bob) since " +
         kSince + ".\r\nFinish there first, then try again.",
     Answer::OK, false, true},
    {"ACopyThatStoppedHereNotTakenOver",
     [](const std::string& p) { return Taken(p, "CLUBPC", true); },
     "Pairgauge was updating handicaps for this club on this computer (bob), from " + kSince +
         ", and stopped without finishing.\r\nDo you want to take the club's files over?",
     Answer::No, false, false},
    {"ACopyThatStoppedHereTakenOver", [](const std::string& p) { return Taken(p, "CLUBPC", true); },
     "Pairgauge was updating handicaps for this club on this computer (bob), from " + kSince +
         ", and stopped without finishing.\r\nDo you want to take the club's files over?",
     Answer::Yes, true, false},
    {"ACopyOnAnotherComputerNotTakenOver",
     [](const std::string& p) { return Taken(p, "TREASURER", false); },
     "Pairgauge on TREASURER (bob) has been updating handicaps for this club since " + kSince +
         ", 3 hours ago.\r\nIf it is still open there, finish there first. Take the club's files "
         "over only if Pairgauge is no longer running on TREASURER (the computer was switched "
         "off, or the program stopped).\r\nDo you want to take them over?",
     Answer::No, false, true},
    {"ACopyOnAnotherComputerTakenOver",
     [](const std::string& p) { return Taken(p, "TREASURER", true); },
     "Pairgauge on TREASURER (bob) has been updating handicaps for this club since " + kSince +
         ", 3 hours ago.\r\nIf it is still open there, finish there first. Take the club's files "
         "over only if Pairgauge is no longer running on TREASURER (the computer was switched "
         "off, or the program stopped).\r\nDo you want to take them over?",
     Answer::Yes, true, false},
};

class SecondCopy : public ::testing::TestWithParam<Holder> {};

TEST_P(SecondCopy, IsToldWhoHoldsTheClubAndTakesOverOnlyALockLeftBehind) {
  const Holder& holder = GetParam();
  struct Operation {
    WindowId window;
    std::function<void(MainWindow&)> click;
  };
  const Operation operations[] = {{WindowId::Update, [](MainWindow& m) { m.UpdateClick(); }},
                                  {WindowId::Parameters, [](MainWindow& m) { m.ParamClick(); }}};
  for (const Operation& operation : operations) {
    test::TempFolder dir;
    test::ScriptedPorts ports;
    Program program(ports.ports());
    MainWindow main(program);
    StartUp(main, dir.path());
    const std::string lock = program.context.HandicapFolder + kLockFileName;
    const std::unique_ptr<test::MemoryLocks> other = holder.take(lock);
    // The first date is asked for once the club is held; the password window lets the secretary
    // through.
    ports.windows.onShow[WindowId::NewPassword] = [&] { program.context.Cancelled = false; };
    if (!holder.said.empty()) ports.dialogs.ExpectMessage(holder.said, holder.answer);
    if (holder.opens && operation.window == WindowId::Update)
      ports.dialogs.ExpectPrompt("1/9/2026");
    operation.click(main);
    ports.dialogs.VerifyAllUsed();
    EXPECT_EQ(std::count(ports.windows.shown.begin(), ports.windows.shown.end(), operation.window),
              holder.opens ? 1 : 0);
    // Let go of once the window closes; a lock this copy did not take over is still the other's.
    EXPECT_FALSE(ports.locks.Holds(lock));
    EXPECT_EQ(other && other->Holds(lock), holder.othersAfterwards);
  }
}

INSTANTIATE_TEST_SUITE_P(Holders, SecondCopy, ::testing::ValuesIn(kHolders),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ClubLock, AFolderWhereNoLockCanBeMadeChangesNothing) {
  test::TempFolder dir;
  test::ScriptedPorts ports;
  Program program(ports.ports());
  MainWindow main(program);
  StartUp(main, dir.path());
  ports.locks.failing = true;
  ports.dialogs.ExpectMessage("Cannot lock the club's files " + program.context.HandicapFolder +
                              kLockFileName + " - Permission denied\r\nNothing has been changed.");
  main.UpdateClick();
  EXPECT_TRUE(ports.windows.shown.empty());
}

TEST(ClubLock, HowOldALockIsIsSaidInTheLargestWholeUnit) {
  const LocalTime since{MakeDate(2026, 12, 8), 9 * 60};
  const std::pair<int, const char*> cases[] = {
      {0, "less than a minute ago"},    {1, "1 minute ago"},
      {59, "59 minutes ago"},           {60, "1 hour ago"},
      {47 * 60, "47 hours ago"},        {48 * 60, "2 days ago"},
      {15 * 24 * 60 + 5, "15 days ago"}};
  for (const auto& [minutes, text] : cases) {
    const int total = since.minutes + minutes;
    const LocalTime now{since.day + std::chrono::days{total / (24 * 60)}, total % (24 * 60)};
    EXPECT_EQ(AgeText(since, now), text) << minutes;
  }
}

}  // namespace
}  // namespace pg
