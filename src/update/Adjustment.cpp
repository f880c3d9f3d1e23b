#include "update/Adjustment.h"

#include <cmath>

#include "scoring/Rounding.h"

namespace pg {
namespace {

// x to as many decimals as scale (a power of ten) has zeros, halves away from zero. Dividing the
// whole count by the power of ten gives the double nearest to that decimal.
double ToDecimals(double x, double scale) {
  return std::round(x * scale) / scale;
}

}  // namespace

PairAdjustment AdjustPair(double netScore, double average, const HandicapParameters& p) {
  PairAdjustment a;
  a.difference = ToDecimals(netScore - average, 1e4);
  a.side = a.difference >= 0 ? 0 : 1;
  double diff = a.difference;
  // A pair exactly on an edge of the dead zone is adjusted.
  if ((diff >= 0 && diff < std::fabs(p.DeadZone[1])) ||
      (diff < 0 && std::fabs(diff) < std::fabs(p.DeadZone[0])))
    diff = 0;
  double adj = RoundTo(ToDecimals(diff * -p.AdjustRate[a.side], 1e9), p.RoundingStep);
  if (std::fabs(adj) > p.MaxAdjust[a.side]) adj = std::copysign(p.MaxAdjust[a.side], adj);
  // No "-0" in the grid or the example.
  a.adjustment = adj == 0 ? 0.0 : adj;
  return a;
}

double SettleHandicap(double handicap, const HandicapParameters& p) {
  double h = RoundTo(handicap, p.RoundingStep);
  if (h < p.HandicapRange[0]) h = p.HandicapRange[0];
  if (h > p.HandicapRange[1]) h = p.HandicapRange[1];
  return h;
}

}  // namespace pg
