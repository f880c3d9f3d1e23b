#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/Context.h"
#include "base/Parameters.h"
#include "review/History.h"

namespace pg {

// The club's saved updates done again, in order, under two sets of parameters side by side: the
// ones each update ran under ("as saved") and the ones on trial. Every update is applied by the
// update run's own RunSession on the sessions it used, each read and scored once for both
// columns; nothing is written anywhere.
enum ReplayColumn : size_t { kAsSaved = 0, kTrial = 1 };

struct ReplayRequest {
  size_t first = 0;  // the stretch: indices into the history's updates, oldest first
  size_t last = 0;
  // The parameters of an update that did not record its own.
  HandicapParameters today;
  HandicapParameters trial;
};

// One member over the stretch under one column.
struct ReplayFigures {
  int sessions = 0;
  double grossSum = 0;      // the pair's percentage
  double deviationSum = 0;  // net score minus the session's average for the member's direction
  double movementSum = 0;   // how far each session moved the handicap, rounded and in range
  // Before the first update of the stretch that holds the member, then after each update of
  // the stretch (nothing for an update the member is not in).
  std::vector<std::optional<double>> handicaps;
};

// What the replay cannot vouch for in a member's figures.
enum ReplayMark : unsigned {
  kCorrectedByHand = 1,  // a review changed the handicap: the replay cannot know why
  kUnknownVisitor = 2,   // played a session with a visitor whose handicap nobody recorded
  kSessionLeftOut = 4,   // played a session left out: gone, changed since, or unreadable
  kLessCertain = 8,      // in an update whose sessions or parameters were not recorded
};

struct ReplayMember {
  std::string name;
  short number = 0;  // in the last update of the stretch that holds the member
  std::array<ReplayFigures, 2> columns;
  unsigned marks = 0;

  std::optional<double> End(size_t column) const;
};

// A member whose handicap after an update, replayed "as saved", is not the one the history has.
struct ReplayDifference {
  std::string name;
  double history = 0;
  double replayed = 0;
  unsigned why = 0;  // the marks that explain it; 0 when nothing the replay knows does
};

struct ReplayedUpdate {
  Date lastSession{};
  bool sessionsRecorded = false;  // else found by the catalogue's rules, less certain
  bool parametersRecorded = false;
  int sessionsUsed = 0;
  int sessionsLeftOut = 0;
  int handicapsChecked = 0;
  std::vector<ReplayDifference> differences;
};

// Something the replay could not do as the update did, for the update it happened in.
struct ReplayNote {
  Date update{};
  std::string text;
  bool operator==(const ReplayNote&) const = default;
};

struct Replay {
  std::vector<ReplayMember> members;    // those of the last update in its order, then the others
  std::vector<ReplayedUpdate> updates;  // the stretch, oldest first
  // What the replay could not do, in the order it met it; each names the file or session.
  std::vector<ReplayNote> notes;

  // Over the members with at least kFairnessSessions sessions: the root mean square of each
  // one's average of (net score minus the session's average). Nothing when no member has them.
  std::optional<double> Fairness(size_t column) const;
  // How far a session moved a player's handicap, on average over every session played.
  std::optional<double> Movement(size_t column) const;
  // Handicaps the self-check found as the history has them, and those it did not.
  int Agreeing() const;
  int Differing() const;
};

inline constexpr int kFairnessSessions = 6;

// Replays updates[request.first .. request.last] of the club `club` (its folders and versions;
// nothing of it changes), telling progress(updates done, updates in all) after each update.
Replay ReplayUpdates(const Context& club, const std::vector<HistoryEntry>& updates,
                     const ReplayRequest& request,
                     const std::function<void(size_t, size_t)>& progress = {});

}  // namespace pg
