#pragma once

#include <string>

#include "base/Context.h"

namespace pg {

// What this program holds the club's files for, in the words another copy is told.
inline constexpr const char* kUpdatingHandicaps = "updating handicaps";
inline constexpr const char* kEditingParameters = "editing the parameters";
inline constexpr const char* kUndoingAnUpdate = "undoing an update";
inline constexpr const char* kOpeningTheClub = "opening the club";

// The lock file in the handicap folder.
inline constexpr const char* kLockFileName = "Pairgauge.lock";

// How a lock another program holds is met: said and, where it may have been left behind, asked
// about (what the user starts), or passed over without a word (the look at start-up, which
// needs the lock only to tidy up after a program that stopped).
enum class LockAsk { Ask, Quietly };

// Makes this program the one that changes the club's files, for `activity`, until the matching
// ReleaseClubLock: at once when it holds them already, otherwise through the lock in the
// handicap folder. When another program holds them it says who and since when, and takes
// nothing; a lock left by a program that stopped (on this computer, as the lock tells; on
// another, as only the user can say) may be taken over after a question. Once the lock is
// taken, a change of the club's files that a stopped program left half done is put back first.
// True when this program holds the lock; *outcome, when given, says what the lock port found
// (Failed, without a word when quiet, where no lock could be made at all).
bool TakeClubLock(Context& context, const std::string& activity, LockAsk ask = LockAsk::Ask,
                  ClubLocks::Outcome* outcome = nullptr);
void ReleaseClubLock(Context& context);

// The club's lock for one scope, when it could be taken.
class ClubLockScope {
 public:
  ClubLockScope(Context& context, const std::string& activity, LockAsk ask = LockAsk::Ask,
                ClubLocks::Outcome* outcome = nullptr)
      : context_(context), held_(TakeClubLock(context, activity, ask, outcome)) {}
  ~ClubLockScope() {
    if (held_) ReleaseClubLock(context_);
  }
  ClubLockScope(const ClubLockScope&) = delete;
  ClubLockScope& operator=(const ClubLockScope&) = delete;

  bool held() const { return held_; }

 private:
  Context& context_;
  bool held_;
};

// "14:05 on Wednesday 09 Dec 2026".
std::string MomentText(LocalTime t);

// How long ago `since` was at `now`: "25 minutes ago", "3 hours ago", "2 days ago".
std::string AgeText(LocalTime since, LocalTime now);

// What the user is told of a lock that another program holds, or held before it stopped.
std::string InUseHereText(const LockHolder& holder);
std::string InUseElsewhereQuestion(const LockHolder& holder, LocalTime now);
std::string StoppedHereQuestion(const LockHolder& holder);
// A lock another computer's program would not give up when taken over.
std::string StillHeldText(const LockHolder& holder);

}  // namespace pg
