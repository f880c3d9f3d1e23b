#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/Array.h"
#include "base/Date.h"
#include "base/Parameters.h"
#include "review/RunRecord.h"

namespace pg {

// One member's result in one session of an update run.
struct SessionResult {
  // The member has a record for the session: their pair was adjusted, if only by 0.
  bool Played = false;
  // 1 north-south or 2 east-west in a two-winner session, 0 in a one-winner session.
  short Direction = 0;
  float NetScore = 0;
  float Adjustment = 0;
};

// What an update run leaves for the review window, beside each member's EndHandicap in the
// member table. Member index 0 collects the results of players who are not members and is never
// shown; sessions are numbered from 0 in the order they were applied.
struct UpdateOutputs {
  short SessionCount = 0;
  Array2<SessionResult> SessionResults;  // (member 0..member count, session 0..SessionCount)
  Array1<char> PlayedFlags;              // 0..member count: played in at least one session
  Array2<double> SessionAverages;        // (session 0..SessionCount, direction 0..2)
  Array1<std::string> SessionLabels;     // 0..SessionCount: "Mon 25/09/06 aft"
  // The date of the latest session used; LastUpdated once the review window saves.
  std::optional<Date> LastSessionDate;

  // For the history, so that the update can be replayed: the sessions in the order applied, the
  // parameters applied, the handicaps typed for visitors, and each member's handicap as the run
  // left it (by member number from 1; empty when the run did not finish), which tells a
  // correction in the review from the run's own figure.
  std::vector<UsedSession> Sessions;
  std::optional<HandicapParameters> Parameters;
  std::vector<VisitorHandicap> Visitors;
  std::vector<double> RunHandicaps;

  // Sizes and clears every table for a run over sessionCount sessions.
  void Size(short memberCount, short sessionCount) {
    SessionCount = sessionCount;
    SessionResults.Dim({Bounds{0, memberCount}, Bounds{0, sessionCount}});
    PlayedFlags.Dim({Bounds{0, memberCount}});
    SessionAverages.Dim({Bounds{0, sessionCount}, Bounds{0, 2}});
    SessionLabels.Dim({Bounds{0, sessionCount}});
    LastSessionDate.reset();
    Sessions.clear();
    Parameters.reset();
    Visitors.clear();
    RunHandicaps.clear();
  }
};

}  // namespace pg
