#include "review/ClubLock.h"

#include "review/ClubChange.h"

namespace pg {
namespace {

std::string LockPath(const Context& c) {
  return c.HandicapFolder + kLockFileName;
}

std::string Doing(const LockHolder& holder) {
  return holder.activity.empty() ? "using the club's files" : holder.activity;
}

std::string Who(const LockHolder& holder) {
  return holder.user.empty() ? "" : " (" + holder.user + ")";
}

std::string Since(const LockHolder& holder) {
  return holder.since ? " since " + MomentText(*holder.since) : "";
}

long MinutesOf(LocalTime t) {
  return static_cast<long>(t.day.time_since_epoch().count()) * 24 * 60 + t.minutes;
}

}  // namespace

std::string MomentText(LocalTime t) {
  const auto two = [](int n) { return std::string(n < 10 ? "0" : "") + std::to_string(n); };
  return two(t.minutes / 60) + ":" + two(t.minutes % 60) + " on " +
         FormatDate(t.day, "dddd dd mmm yyyy");
}

std::string AgeText(LocalTime since, LocalTime now) {
  const long minutes = MinutesOf(now) - MinutesOf(since);
  const auto count = [](long n, const char* unit) {
    return std::to_string(n) + " " + unit + (n == 1 ? "" : "s") + " ago";
  };
  if (minutes < 1) return "less than a minute ago";
  if (minutes < 60) return count(minutes, "minute");
  if (minutes < 48L * 60) return count(minutes / 60, "hour");
  return count(minutes / (24L * 60), "day");
}

std::string InUseHereText(const LockHolder& holder) {
  return "Pairgauge is already " + Doing(holder) + " for this club on this computer" + Who(holder) +
         Since(holder) + ".\r\nFinish there first, then try again.";
}

std::string InUseElsewhereQuestion(const LockHolder& holder, LocalTime now) {
  const std::string computer = holder.computer.empty() ? "another computer" : holder.computer;
  std::string text = "Pairgauge on " + computer + Who(holder) + " has been " + Doing(holder) +
                     " for this club" + Since(holder);
  if (holder.since) text += ", " + AgeText(*holder.since, now);
  return text +
         ".\r\nIf it is still open there, finish there first. Take the club's files over only if "
         "Pairgauge is no longer running on " +
         computer +
         " (the computer was switched off, or the program stopped).\r\nDo you want to take them "
         "over?";
}

std::string StillHeldText(const LockHolder& holder) {
  if (holder.thisComputer) return InUseHereText(holder);
  const std::string computer = holder.computer.empty() ? "another computer" : holder.computer;
  return "Pairgauge on " + computer + Who(holder) + " still holds this club's files" +
         Since(holder) + ", so they cannot be taken over.\r\nFinish there first, then try again.";
}

std::string StoppedHereQuestion(const LockHolder& holder) {
  const std::string from = holder.since ? ", from " + MomentText(*holder.since) : "";
  return "Pairgauge was " + Doing(holder) + " for this club on this computer" + Who(holder) + from +
         ", and stopped without finishing.\r\nDo you want to take the club's files over?";
}

bool TakeClubLock(Context& context, const std::string& activity, LockAsk ask,
                  ClubLocks::Outcome* outcome) {
  if (context.ClubLockHeld > 0) {
    ++context.ClubLockHeld;
    if (outcome != nullptr) *outcome = ClubLocks::Outcome::Taken;
    return true;
  }
  Dialogs& dialogs = context.dialogs();
  ClubLocks& locks = context.ports.locks;
  const std::string path = LockPath(context);
  ClubLocks::Attempt attempt = locks.Lock(path, activity);
  if (outcome != nullptr) *outcome = attempt.outcome;
  const bool asking = ask == LockAsk::Ask;
  if (attempt.outcome == ClubLocks::Outcome::TakenOver && asking &&
      dialogs.Message(StoppedHereQuestion(attempt.holder), Buttons::YesNo, Icon::Question) !=
          Answer::Yes) {
    locks.Unlock(path);
    return false;
  }
  if (attempt.outcome == ClubLocks::Outcome::Held) {
    if (!asking) return false;
    if (attempt.holder.thisComputer) {
      dialogs.Message(InUseHereText(attempt.holder), Buttons::OK, Icon::Warning);
      return false;
    }
    if (dialogs.Message(InUseElsewhereQuestion(attempt.holder, context.ports.clock.Now()),
                        Buttons::YesNo, Icon::Warning) != Answer::Yes)
      return false;
    attempt = locks.TakeOver(path, activity);
    if (attempt.outcome == ClubLocks::Outcome::Held) {
      dialogs.Message(StillHeldText(attempt.holder), Buttons::OK, Icon::Warning);
      return false;
    }
  }
  if (attempt.outcome == ClubLocks::Outcome::Failed) {
    if (asking)
      dialogs.Message("Cannot lock the club's files " + path + " - " + attempt.error +
                          "\r\nNothing has been changed.",
                      Buttons::OK, Icon::Warning);
    return false;
  }
  context.ClubLockHeld = 1;
  // A change a stopped program left half done is put back before anything else is done.
  if (!PutBackUnfinishedChange(context)) {
    ReleaseClubLock(context);
    return false;
  }
  return true;
}

void ReleaseClubLock(Context& context) {
  if (context.ClubLockHeld == 0) return;
  if (--context.ClubLockHeld == 0) context.ports.locks.Unlock(LockPath(context));
}

}  // namespace pg
