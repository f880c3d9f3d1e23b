#include <array>
#include <cmath>

#include "base/Errors.h"
#include "scoring/Rounding.h"
#include "scoring/Scoring.h"

namespace pg {
namespace {

// A value stored as a 16-bit whole number: nearest, halves to even, Overflow outside the range.
short WholeShort(double v) {
  const double r = std::nearbyint(v);
  if (!(r >= -32768 && r <= 32767)) Raise(err::kOverflow);
  return static_cast<short>(r);
}

long WholeLong(double v) {
  const double r = std::nearbyint(v);
  if (!(r >= -2147483648.0 && r <= 2147483647.0)) Raise(err::kOverflow);
  return static_cast<long>(r);
}

bool IsSplitCode(const std::optional<double>& v) {
  return v && *v >= code::kFirst && *v != code::kAveMinus && *v != code::kAve &&
         *v != code::kAvePlus;
}

// The largest score difference worth 0, 1, ..., 24 IMPs. The last bound is wide enough that a
// swing of 4000 or more is 24 IMPs: no difference of two scores reaches past it.
constexpr std::array<int, 25> kImpScale = {10,   40,   80,   120,  160,  210,  260,  310,  360,
                                           420,  490,  590,  740,  890,  1090, 1290, 1490, 1740,
                                           1990, 2240, 2490, 2990, 3490, 3990, 32767};

}  // namespace

short Imps(double difference) {
  const double size = std::fabs(difference);
  short imps = 0;
  for (short k = 0; k < static_cast<short>(kImpScale.size()); ++k) {
    if (kImpScale[k] >= size) {
      imps = k;
      break;
    }
  }
  return difference < 0 ? static_cast<short>(-imps) : imps;
}

void AggregateBoard(Session& s, short board) {
  for (short side = 1; side <= 2; ++side) {
    // Summed in 32 bits: a traveller of big scores must not overflow before it is averaged.
    long sum = 0;
    short count = 0;
    for (short row = 1; row <= s.RowCount; ++row) {
      const std::optional<double> v = ScoreValue(s.Score(board, row, side));
      if (v && *v < code::kFirst) {
        sum += WholeLong(*v);
        count = AddShort(count, 1);
      }
    }
    short average = 0;
    if (count > 0) average = WholeShort(RoundTo(static_cast<double>(sum) / count, s.MPStep));

    for (short row = 1; row <= s.RowCount; ++row) {
      const std::optional<double> v = ScoreValue(s.Score(board, row, side));
      CellValue& mp = s.MatchPoints(board, row, side);
      if (!v || *v == code::kAve) {
        mp = CellValue(static_cast<double>(average));
      } else if (*v == code::kAveMinus) {
        mp = CellValue(
            static_cast<double>(WholeShort(average - RoundUpTo(average * 0.1, s.MPStep))));
      } else if (*v == code::kAvePlus) {
        mp = CellValue(
            static_cast<double>(WholeShort(average + RoundUpTo(average * 0.1, s.MPStep))));
      } else if (*v < code::kFirst) {
        mp = CellValue(static_cast<double>(WholeShort(*v)));
      } else {
        // A split score is a share of match points; as points of its own it has no value.
        mp = CellValue::Null();
      }
    }
  }
}

void ButlerBoard(Session& s, short board, BoardWork& work) {
  work.Size(s.RowCount);
  std::vector<float>& scores = work.butlerScores;
  scores.clear();

  for (short row = 1; row <= s.RowCount; ++row) {
    const std::optional<double> ns = ScoreValue(s.Score(board, row, 1));
    const std::optional<double> ew = ScoreValue(s.Score(board, row, 2));
    CellValue& nsMP = s.MatchPoints(board, row, 1);
    CellValue& ewMP = s.MatchPoints(board, row, 2);
    nsMP = CellValue::Null();
    ewMP = CellValue::Null();
    if (!ns || IsSplitCode(ns) || IsSplitCode(ew)) continue;
    if (ew && *ew == -*ns) {
      scores.push_back(static_cast<float>(*ns));
      continue;
    }
    for (short side = 1; side <= 2; ++side) {
      const std::optional<double>& v = side == 1 ? ns : ew;
      CellValue& mp = side == 1 ? nsMP : ewMP;
      if (!v) continue;
      if (*v == code::kAveMinus) {
        mp = CellValue(-2.0);
        s.HasAveAdjusted = true;
      } else if (*v == code::kAve) {
        mp = CellValue(0.0);
      } else if (*v == code::kAvePlus) {
        mp = CellValue(2.0);
        s.HasAveAdjusted = true;
      }
    }
  }

  short datum = 0;
  const short n = CheckedShort(static_cast<long>(scores.size()));
  if (n > 0) {
    Array1<float> key;
    key.DimFrom1(n);
    for (short i = 1; i <= n; ++i)
      key(i) = scores[i - 1];
    Array1<short> order;
    order.DimFrom1(n);
    Array1<std::string> noText;
    RankPairs(1, n, key, order, noText, false);
    // The highest and lowest results are left out of the datum from four results up, however
    // big the field.
    const short drop = n <= 3 ? 0 : 1;
    double sum = 0;
    short kept = 0;
    for (short i = 1 + drop; i <= n - drop; ++i) {
      sum += key(order(i));
      ++kept;
    }
    if (kept > 0) datum = WholeShort(RoundTo(sum / kept, 10.0));
  }
  s.BoardDatum(board) = datum;

  for (short row = 1; row <= s.RowCount; ++row) {
    const std::optional<double> ns = ScoreValue(s.Score(board, row, 1));
    const std::optional<double> ew = ScoreValue(s.Score(board, row, 2));
    if (!ns || IsSplitCode(ns) || IsSplitCode(ew)) continue;
    const float v = static_cast<float>(*ns);
    if (ew && *ew == -*ns) {
      if (std::fabs(v) < code::kFirst) {
        const short imps = Imps(v - datum);
        s.MatchPoints(board, row, 1) = CellValue(static_cast<double>(imps));
        s.MatchPoints(board, row, 2) = CellValue(static_cast<double>(-imps));
      }
      continue;
    }
    if (std::fabs(v) < code::kFirst)
      s.MatchPoints(board, row, 1) = CellValue(static_cast<double>(Imps(v - datum)));
    if (ew) {
      const float w = static_cast<float>(-*ew);
      if (std::fabs(w) < code::kFirst)
        s.MatchPoints(board, row, 2) = CellValue(static_cast<double>(-Imps(w - datum)));
    }
  }
}

}  // namespace pg
