#include "scoring/Scoring.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "base/Errors.h"
#include "base/Guard.h"
#include "scoring/Rounding.h"

namespace pg {
namespace {

constexpr float kNoKey = -999999;
// Far beyond any real session (a thousand pairs over a thousand boards).
constexpr long kMostPairBoards = 1'000'000;

bool IsNoResult(const CellValue& cell) {
  return cell.IsNull() || cell.IsEmpty();
}

// A carried value or a handicap: its number, or 0 when it holds none.
double NumberOrZero(const CellValue& cell) {
  return cell.IsNumeric() ? cell.NumericValue() : 0.0;
}

// Match points are doubles, totals singles: the sum is taken in double and stored single.
float AddToSingle(float total, double add) {
  return static_cast<float>(static_cast<double>(total) + add);
}

void AccumulateBoard(Session& s, short board) {
  for (short row = 1; row <= s.RowCount; ++row) {
    for (short side = 1; side <= 2; ++side) {
      // An unused row of a board played fewer times than the traveller has rows names no pair.
      const long pair = std::labs(static_cast<long>(s.RowPairs(board, row, side)));
      if (pair < 1 || pair > s.PairCount) continue;
      const CellValue& mp = s.MatchPoints(board, row, side);
      s.PairBoardMP(pair, board) = mp;
      s.PairBoardScore(pair, board) = s.Score(board, row, side);
      if (IsNoResult(mp)) continue;
      s.PairTotal(pair) = AddToSingle(s.PairTotal(pair), mp.NumericValue());
      s.PairBoards(pair) = AddShort(s.PairBoards(pair), 1);
    }
  }
}

// A fixed "Ave+" (60 %) is unfair to a pair doing better than that, and a fixed "Ave-" (40 %)
// too kind to one doing worse: such a pair gets its own average on those boards instead.
void RevalueAdjustedScores(Session& s) {
  for (short pair = 1; pair <= s.PairCount; ++pair) {
    float sum = 0;
    long played = 0;
    bool plus = false;
    bool minus = false;
    for (short board = 1; board <= s.BoardCount; ++board) {
      // Only boards the pair played with a real score: a board it never met is no zero.
      const std::optional<double> score = ScoreValue(s.PairBoardScore(pair, board));
      if (!score) continue;
      if (*score < code::kFirst) {
        ++played;
        sum = AddToSingle(sum, s.PairBoardMP(pair, board).NumericValue());
      }
      plus = plus || *score == code::kAvePlus;
      minus = minus || *score == code::kAveMinus;
    }
    if (played == 0 || !(plus || minus)) continue;
    const float own = sum / static_cast<float>(s.Top * played);
    const bool raisePlus = plus && own > 0.6f;
    const bool lowerMinus = minus && own < 0.4f;
    if (!raisePlus && !lowerMinus) continue;

    const float m = own * static_cast<float>(s.Top);
    float total = static_cast<float>(NumberOrZero(s.PairCarry(pair)));
    for (short board = 1; board <= s.BoardCount; ++board) {
      const std::optional<double> score = ScoreValue(s.PairBoardScore(pair, board));
      if (!score) continue;
      if ((raisePlus && *score == code::kAvePlus) || (lowerMinus && *score == code::kAveMinus))
        s.PairBoardMP(pair, board) = CellValue(static_cast<double>(m));
      total = AddToSingle(total, s.PairBoardMP(pair, board).NumericValue());
    }
    s.PairTotal(pair) = total;
  }
}

void FactorGroup(Session& s, short first, short last) {
  for (short pair = first; pair <= last; ++pair) {
    s.PairTotal(pair) = static_cast<float>(RoundTo(s.PairTotal(pair), s.MPStep));
    if (s.PairBoards(pair) > 0) {
      // Single precision throughout, as the totals are.
      const float factored = static_cast<float>(s.MaxBoardsPlayed) * s.PairTotal(pair) /
                             static_cast<float>(s.PairBoards(pair));
      s.PairFactored(pair) = static_cast<float>(RoundTo(factored, s.MPStep));
    } else {
      s.PairFactored(pair) = kNoKey;
    }
  }
}

void PercentGroup(Session& s, short first, short last) {
  const long possible = static_cast<long>(s.Top) * s.MaxBoardsPlayed;
  for (short pair = first; pair <= last; ++pair) {
    if (s.PairBoards(pair) < 1) continue;
    if (possible == 0) Raise(err::kDivisionByZero);
    const float quotient = s.PairFactored(pair) * 100.0f / static_cast<float>(possible);
    s.PairPercent(pair) = static_cast<float>(RoundTo(quotient, 0.01));
  }
}

}  // namespace

std::vector<std::pair<short, short>> WinnerGroups(const Session& s) {
  if (s.WinnerCount == 0) Raise(err::kDivisionByZero);
  std::vector<std::pair<short, short>> groups;
  groups.emplace_back(1, static_cast<short>(s.PairCount / s.WinnerCount));
  if (s.WinnerCount >= 2) groups.emplace_back(AddShort(s.NSPairCount, 1), s.PairCount);
  return groups;
}

void ScoreSession(Session& s, Context& ctx, int /*mode*/) {
  ScoreResults(s, ctx);
}

void ScoreResults(Session& s, Context& ctx) {
  Guard guard(ctx.dialogs(), kScoringModule);
  const bool pairs = s.ScoringType == "Pairs";
  const bool known = pairs || s.ScoringType == "Aggregate" || s.ScoringType == "Butler";
  BoardWork work;

  // Every board is counted before any is scored, so that each one is scaled to the fullest
  // traveller of the session, not to the fullest seen so far.
  guard.Step(100, [&] {
    s.MaxEntries = 0;
    s.HasAveAdjusted = false;
    for (short board = 1; board <= s.BoardCount; ++board) {
      CountEntries(s, board);
      s.MaxEntries = std::max(s.MaxEntries, s.BoardEntries(board));
    }
    s.Top = CheckedShort(2L * s.MaxEntries - 2);
    work.Size(s.RowCount);
  });
  // A type of scoring this program does not know scores nothing, and the session must not be
  // used as if it had been scored.
  s.ScoreOK = known;
  if (!known) return;

  for (short board = 1; board <= s.BoardCount; ++board)
    guard.Step(110, [&] { ScoreBoard(s, board, work); });

  bool anyResult = false;
  guard.Step(120, [&] {
    for (short board = 1; board <= s.BoardCount && !anyResult; ++board)
      anyResult = s.BoardEntries(board) > 0;
  });
  if (!anyResult) {
    s.ScoreOK = false;
    return;
  }

  // The pair-by-board tables are sized only once the session has results, and never beyond
  // what any real session needs: a damaged header with thousands of pairs and boards but no
  // rows must end in a report, not in the program trying to take gigabytes.
  const bool sized = guard.Step(130, [&] {
    if (static_cast<long>(s.PairCount) * s.BoardCount > kMostPairBoards) Raise(err::kOutOfMemory);
    s.PairBoardMP.DimFrom1(s.PairCount, s.BoardCount);
    s.PairBoardScore.DimFrom1(s.PairCount, s.BoardCount);
  });
  if (!sized) {
    s.ScoreOK = false;
    return;
  }

  guard.Step(140, [&] {
    for (short pair = 1; pair <= s.PairCount; ++pair) {
      s.PairTotal(pair) = static_cast<float>(NumberOrZero(s.PairCarry(pair)));
      s.PairBoards(pair) = 0;
      s.PairPercent(pair) = 0;
    }
  });

  const short taking = pairs ? 2 : 1;
  for (short board = 1; board <= s.BoardCount; ++board) {
    guard.Step(150, [&] {
      if (s.BoardEntries(board) >= taking) AccumulateBoard(s, board);
    });
  }

  if (pairs && s.HasAveAdjusted) guard.Step(160, [&] { RevalueAdjustedScores(s); });

  std::vector<std::pair<short, short>> groups;
  guard.Step(170, [&] { groups = WinnerGroups(s); });
  for (const auto& [first, last] : groups) {
    guard.Step(180, [&, first = first, last = last] {
      s.MaxBoardsPlayed = 0;
      for (short pair = first; pair <= last; ++pair)
        s.MaxBoardsPlayed = std::max(s.MaxBoardsPlayed, s.PairBoards(pair));
    });
    guard.Step(190, [&, first = first, last = last] { FactorGroup(s, first, last); });
    if (pairs) {
      guard.Step(200, [&, first = first, last = last] { PercentGroup(s, first, last); });
      if (s.WantHandicaps != 0) HandicappedResults(s, ctx);
    }
    guard.Step(210, [&, first = first, last = last] {
      if (s.PhantomPair >= first && s.PhantomPair <= last) s.PairFactored(s.PhantomPair) = kNoKey;
    });
    guard.Step(220, [&, first = first, last = last] {
      RankPairs(first, last, s.PairFactored, s.PairOrder, s.PairPos, true);
    });
  }
}

namespace {

// A position as the results show it: a sign place (blank, or "=" for a tie) and the ordinal.
std::string PositionText(long position) {
  std::string text = " ";
  text += Ordinal(position, 6);
  return text;
}

}  // namespace

void RankPairs(short first, short last, const Array1<float>& key, Array1<short>& order,
               Array1<std::string>& posText, bool makeText) {
  for (short i = first; i <= last; ++i)
    order(i) = i;
  for (short i = first; i < last; ++i) {
    short best = i;
    for (short j = static_cast<short>(i + 1); j <= last; ++j) {
      if (key(order(j)) > key(order(best))) best = j;
    }
    std::swap(order(i), order(best));
  }
  if (!makeText || first > last) return;

  posText(order(first)) = PositionText(1);
  for (short i = static_cast<short>(first + 1); i <= last; ++i) {
    const float difference = key(order(i)) - key(order(i - 1));
    if (std::fabs(difference) < 0.0001f) {
      // A tie shares the previous pair's position, both marked "=" in place of the blank.
      std::string tied = posText(order(i - 1));
      tied[0] = '=';
      posText(order(i)) = tied;
      posText(order(i - 1)) = tied;
    } else {
      posText(order(i)) = PositionText(i - first + 1);
    }
  }
}

bool TakesPart(const Session& s, short pair) {
  return pair != s.PhantomPair && s.PairBoards(pair) > 0;
}

void HandicappedResults(Session& s, Context& ctx) {
  Guard guard(ctx.dialogs(), kScoringModule);
  ctx.Cancelled = false;
  std::vector<std::pair<short, short>> groups;
  guard.Step(100, [&] { groups = WinnerGroups(s); });
  for (size_t g = 0; g < groups.size(); ++g) {
    guard.Step(110, [&] {
      double sum = 0;
      long n = 0;
      for (short pair = groups[g].first; pair <= groups[g].second; ++pair) {
        if (pair == s.PhantomPair) continue;
        const double net = static_cast<double>(s.PairPercent(pair)) +
                           NumberOrZero(s.PlayerHandicaps(pair)) +
                           NumberOrZero(s.PlayerHandicaps(static_cast<long>(pair) + s.PairCount));
        s.PairNetScore(pair) = static_cast<float>(net);
        // The same pairs as the update's own average, so a session that carries handicaps is
        // measured as one that does not.
        if (!TakesPart(s, pair)) continue;
        sum += s.PairNetScore(pair);
        ++n;
      }
      s.FieldAverage(static_cast<long>(g + 1)) = CellValue(n >= 1 ? RoundTo(sum / n, 0.01) : 0.0);
    });
  }
  if (groups.size() == 1) guard.Step(120, [&] { s.FieldAverage(2) = s.FieldAverage(1); });
}

}  // namespace pg
