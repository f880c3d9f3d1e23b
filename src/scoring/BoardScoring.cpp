#include <algorithm>
#include <cmath>

#include "base/Errors.h"
#include "scoring/Rounding.h"
#include "scoring/Scoring.h"

namespace pg {
namespace {

// Which rows of a traveller take part: a fouled board is scored twice, once per group of rows.
enum class RowSet { All, Flagged, Unflagged };

enum RowState : char { kSkipped, kNoResult, kScored };

bool IsNoResult(const CellValue& cell) {
  return cell.IsNull() || cell.IsEmpty();
}

// The number of the split score a code names; a code below 9100 names none and falls outside
// SplitScores, which the table's bounds report.
short SplitNumber(double scoreCode) {
  const double n = std::nearbyint(scoreCode - code::kSplit);
  if (!(n >= -32768 && n <= 32767)) Raise(err::kSubscript);
  return static_cast<short>(n);
}

void MatchPointSide(Session& s, short board, short side, RowSet rows, BoardWork& w) {
  const short rowCount = s.RowCount;
  const double top = 2.0 * s.MaxEntries - 2;
  int real = 0;
  int results = 0;
  int nextSlot = rowCount;
  w.sorted.clear();

  for (short row = 1; row <= rowCount; ++row) {
    if (rows != RowSet::All && (w.flagged[row] != 0) != (rows == RowSet::Flagged)) {
      w.rowState[row] = kSkipped;
      continue;
    }
    w.rowMP[row] = 0;
    const std::optional<double> score = ScoreValue(s.Score(board, row, side));
    if (!score) {
      w.rowState[row] = kNoResult;
      continue;
    }
    w.rowState[row] = kScored;
    const double v = *score;
    if (v < code::kFirst) {
      ++real;
      ++results;
      w.value[row] = v;
      w.weight[row] = 1;
      w.sorted.push_back({row, row});
    } else if (v == code::kAveMinus) {
      w.rowMP[row] = top * 0.5 - RoundUpTo(top * 0.1, s.MPStep);
      s.HasAveAdjusted = true;
    } else if (v == code::kAve) {
      w.rowMP[row] = top * 0.5;
    } else if (v == code::kAvePlus) {
      w.rowMP[row] = top * 0.5 + RoundUpTo(top * 0.1, s.MPStep);
      s.HasAveAdjusted = true;
    } else {
      // A weighted split score: each part competes as its own entry of fractional weight, and
      // the row earns the weighted sum of its parts' match points.
      const short n = SplitNumber(v);
      ++results;
      for (short c = 1; c <= 5; ++c) {
        const std::optional<double> percent = ScoreValue(s.SplitScores(n, c + 2));
        if (!percent || *percent <= 0) continue;
        const std::optional<double> part = ScoreValue(s.SplitScores(n, c + 7));
        if (!part) Raise(err::kInvalidUseOfNull);
        ++nextSlot;
        w.value[nextSlot] = *part;
        w.weight[nextSlot] = 0.01 * *percent;
        ++real;
        w.sorted.push_back({nextSlot, row});
      }
    }
  }

  if (real > 0) {
    SortAndGroup(real, w);
    // Two points per score beaten and one per score equalled, scaled by f so that a short
    // traveller is worth as much as the fullest one.
    const double f = static_cast<double>(s.MaxEntries) / results;
    double previousT = 0;
    for (int g = 1; g <= w.groups; ++g) {
      const double t = f * w.groupWeight[g];
      w.groupMP[g] = g == 1 ? top - t + 1 : w.groupMP[g - 1] - previousT - t;
      previousT = t;
    }
    for (int k = 0; k < real; ++k) {
      const BoardWork::Entry& e = w.sorted[k];
      w.rowMP[e.row] += w.weight[e.slot] * w.groupMP[w.groupOf[e.slot]];
    }
  }

  for (short row = 1; row <= rowCount; ++row) {
    if (w.rowState[row] == kSkipped) continue;
    s.MatchPoints(board, row, side) =
        w.rowState[row] == kNoResult ? CellValue::Null() : CellValue(w.rowMP[row]);
  }
}

void MatchPointRows(Session& s, short board, RowSet rows, BoardWork& w) {
  w.Size(s.RowCount);
  MatchPointSide(s, board, 1, rows, w);
  MatchPointSide(s, board, 2, rows, w);
}

}  // namespace

std::optional<double> ScoreValue(const CellValue& cell) {
  if (IsNoResult(cell)) return std::nullopt;
  if (cell.IsNumber()) return cell.number();
  if (cell.IsText() && cell.IsNumeric()) return cell.NumericValue();
  Raise(err::kTypeMismatch);
}

void BoardWork::Size(short rowCount) {
  const size_t rows = rowCount > 0 ? static_cast<size_t>(rowCount) : 0;
  if (rowMP.size() == rows + 1) return;
  // A row holds one plain score or up to five split-score parts.
  const size_t slots = 6 * rows + 1;
  value.assign(slots, 0);
  weight.assign(slots, 0);
  groupOf.assign(slots, 0);
  sorted.clear();
  sorted.reserve(5 * rows);
  groupValue.assign(5 * rows + 1, 0);
  groupWeight.assign(5 * rows + 1, 0);
  groupMP.assign(5 * rows + 1, 0);
  rowMP.assign(rows + 1, 0);
  rowState.assign(rows + 1, 0);
  flagged.assign(rows + 1, 0);
  butlerScores.reserve(rows);
}

void CountEntries(Session& s, short board) {
  short entries = 0;
  for (short row = 1; row <= s.RowCount; ++row) {
    if (!IsNoResult(s.Score(board, row, 1))) ++entries;
  }
  s.BoardEntries(board) = entries;
}

void SortAndGroup(int count, BoardWork& w) {
  // Any stable sort gives the one order in which equal values keep their collection order.
  std::stable_sort(w.sorted.begin(), w.sorted.begin() + count,
                   [&w](const BoardWork::Entry& a, const BoardWork::Entry& b) {
                     return w.value[a.slot] > w.value[b.slot];
                   });
  w.groups = 0;
  for (int k = 0; k < count; ++k) {
    const int slot = w.sorted[k].slot;
    const double v = w.value[slot];
    if (k == 0 || v != w.groupValue[w.groups]) {
      ++w.groups;
      w.groupValue[w.groups] = v;
      w.groupWeight[w.groups] = w.weight[slot];
    } else {
      w.groupWeight[w.groups] += w.weight[slot];
    }
    w.groupOf[slot] = w.groups;
  }
}

void MatchPointBoard(Session& s, short board, BoardWork& work) {
  MatchPointRows(s, board, RowSet::All, work);
}

void MatchPointBoard(Session& s, short board) {
  BoardWork work;
  MatchPointBoard(s, board, work);
}

void ScoreBoard(Session& s, short board, BoardWork& work) {
  CountEntries(s, board);
  if (s.ScoringType == "Pairs") {
    work.Size(s.RowCount);
    bool fouled = false;
    for (short row = 1; row <= s.RowCount; ++row) {
      const std::string& text = s.RowText(board, row, 0);
      work.flagged[row] = !text.empty() && text[0] == 'F';
      fouled = fouled || work.flagged[row];
    }
    if (!fouled) {
      MatchPointRows(s, board, RowSet::All, work);
    } else {
      // A fouled board was played as two different deals: each group of rows is a traveller
      // of its own, scaled up to the fullest traveller of the session.
      MatchPointRows(s, board, RowSet::Unflagged, work);
      MatchPointRows(s, board, RowSet::Flagged, work);
    }
  } else if (s.ScoringType == "Aggregate") {
    AggregateBoard(s, board);
  } else if (s.ScoringType == "Butler") {
    ButlerBoard(s, board, work);
  }
}

void ScoreBoard(Session& s, short board) {
  BoardWork work;
  ScoreBoard(s, board, work);
}

}  // namespace pg
