#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/Array.h"
#include "base/Cell.h"
#include "base/Context.h"
#include "session/Session.h"

namespace pg {

// The name the error reporter shows for a failure while scoring.
inline constexpr const char* kScoringModule = "ModScore";

// Score codes a traveller carries instead of a real score.
namespace code {
inline constexpr double kFirst = 9000;  // every value from here up is a code
inline constexpr double kAveMinus = 9001;
inline constexpr double kAve = 9002;
inline constexpr double kAvePlus = 9003;
inline constexpr double kSplit = 9100;  // 9100 + n: weighted split score n
}  // namespace code

// A traveller's score as scoring reads it: nothing for no result (Null or Empty), otherwise its
// number. A text that is not a number raises Type mismatch.
std::optional<double> ScoreValue(const CellValue& cell);

// Scores the loaded session for the update run; ScoreOK tells the caller whether to use it. Every
// mode scores the whole session: the others belonged to features this program does not have.
void ScoreSession(Session& s, Context& ctx, int mode = 0);

// Scores the loaded session: board match points, pair totals, factored totals, percentages
// ("Pairs"), positions per winner group, and handicapped results when WantHandicaps is set.
// ScoreOK is false when no board has a result or ScoringType is none of "Pairs", "Aggregate"
// and "Butler". Failures are reported under kScoringModule and scoring goes on.
void ScoreResults(Session& s, Context& ctx);

// BoardEntries(board): rows whose North-South score is not Null; codes count as entries.
void CountEntries(Session& s, short board);

// Reusable working storage of the board scorers, sized for the session's RowCount, so a whole
// session is scored without allocating per board.
struct BoardWork {
  struct Entry {
    int slot = 0;
    short row = 0;
  };
  // Slots 1..RowCount hold plain scores by row; split-score parts take slots after them.
  std::vector<double> value;
  std::vector<double> weight;
  std::vector<int> groupOf;
  // The collected (slot, row) pairs; SortAndGroup leaves them sorted.
  std::vector<Entry> sorted;
  std::vector<double> groupValue;   // from index 1
  std::vector<double> groupWeight;  // from index 1
  std::vector<double> groupMP;      // from index 1
  int groups = 0;
  // Per row of the board: match points being summed, and whether the row has any.
  std::vector<double> rowMP;
  std::vector<char> rowState;
  std::vector<char> flagged;  // rows of a fouled board's flagged group
  std::vector<float> butlerScores;

  void Size(short rowCount);
};

// Fills MatchPoints(board, ., .) according to ScoringType after CountEntries(board): "Pairs" by
// MatchPointBoard, each of a fouled board's two groups of rows scored as a whole traveller;
// "Aggregate" and "Butler" by their own scorers. Needs MaxEntries of the whole session. Raises.
void ScoreBoard(Session& s, short board, BoardWork& work);
void ScoreBoard(Session& s, short board);

// Match points of one board for both sides, scaled to the session's fullest traveller
// (MaxEntries). Raises.
void MatchPointBoard(Session& s, short board, BoardWork& work);
void MatchPointBoard(Session& s, short board);

// Sorts work.sorted[0..count) by slot value, highest first, equal values keeping their order,
// and groups equal values: groups, groupValue, groupWeight and every slot's groupOf.
void SortAndGroup(int count, BoardWork& work);

// Ranks first..last by key, highest first: order(first..last) holds the indices in ranking order
// (a selection sort, so among equal keys the order is the one it leaves). With makeText,
// posText(index) is " " or "=" followed by Ordinal(position, 6); keys within 0.0001 of their
// neighbour (single precision) tie and share the first position of their run.
void RankPairs(short first, short last, const Array1<float>& key, Array1<short>& order,
               Array1<std::string>& posText, bool makeText);

// PairNetScore (percentage plus both players' handicaps) for every pair but the phantom, and
// FieldAverage per winner group over the pairs that take part (2 copies 1 with one group).
// Clears ctx.Cancelled.
void HandicappedResults(Session& s, Context& ctx);

// Whether a pair counts in a session's averages and adjustments: not the sit-out pair, nor a pair
// that played no board (it withdrew, or never sat down). The latter's percentage of 0 would pull
// its direction's average down, and every pair that did play would look better than it was.
// Scoring must have set PairBoards.
bool TakesPart(const Session& s, short pair);

// "Aggregate": each row is worth its own score; rows without one and "Ave" the side's average;
// "Ave-"/"Ave+" 10 % off/on it. Raises.
void AggregateBoard(Session& s, short board);

// "Butler": each row is worth the IMPs of its score against the board's datum (BoardDatum), the
// average of its results without the highest and lowest when there are 4 or more. Raises.
void ButlerBoard(Session& s, short board, BoardWork& work);

// IMPs of a score difference, signed like it.
short Imps(double difference);

// The winner groups as (first, last) pair numbers: 1..PairCount / WinnerCount, and with two
// groups NSPairCount + 1..PairCount. Raises Division by zero when WinnerCount is 0.
std::vector<std::pair<short, short>> WinnerGroups(const Session& s);

}  // namespace pg
