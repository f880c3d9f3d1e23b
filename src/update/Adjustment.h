#pragma once

#include "base/Parameters.h"

namespace pg {

// How one pair's handicaps move after one session.
struct PairAdjustment {
  // Net score minus the session's average, to 4 decimals; what the parameter editor shows as
  // the difference from par (before the dead zone is applied).
  double difference = 0;
  // 0 when the pair is on or above the average ("Above the dead zone"), 1 below it.
  int side = 0;
  // What each player's handicap moves by: the whole difference times the side's rate, negated,
  // rounded to the rounding step and capped; 0 inside the dead zone.
  double adjustment = 0;
};

// The one rule both an update and the parameter editor's example use. The difference is taken
// to 4 decimals and the adjustment to 9 before the rounding step, so that a figure shown exactly
// on an edge is treated as that figure: "+2.00" above the average is adjusted under a dead zone
// of 2, and a half step goes away from zero, whatever single precision made of the digits.
PairAdjustment AdjustPair(double netScore, double average, const HandicapParameters& p);

// A handicap after a session: rounded to the rounding step, then kept within the handicap range.
double SettleHandicap(double handicap, const HandicapParameters& p);

}  // namespace pg
