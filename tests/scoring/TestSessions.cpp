#include "scoring/TestSessions.h"

namespace pg::test {

Session MakeSession(short pairs, short boards, short rows, const std::string& type) {
  Session s;
  s.PairCount = pairs;
  s.NSPairCount = static_cast<short>(pairs / 2);
  s.BoardCount = boards;
  s.RowCount = rows;
  s.RoundCount = 1;
  s.BoardsPerRound = boards;
  s.RoundsPlayed = 1;
  s.WinnerCount = 1;
  s.ScoringType = type;
  ApplyScoringType(s);
  DimensionSession(s);
  for (short b = 1; b <= boards; ++b) {
    for (short r = 1; r <= rows; ++r) {
      s.Score(b, r, 1) = CellValue::Null();
      s.Score(b, r, 2) = CellValue::Null();
    }
  }
  return s;
}

void SetRow(Session& s, short board, short row, short ns, short ew, const CellValue& nsScore,
            const CellValue& ewScore) {
  s.RowPairs(board, row, 1) = ns;
  s.RowPairs(board, row, 2) = ew;
  s.Score(board, row, 1) = nsScore;
  s.Score(board, row, 2) = ewScore;
}

void SetRow(Session& s, short board, short row, short ns, short ew, double nsScore) {
  SetRow(s, board, row, ns, ew, CellValue(nsScore), CellValue(-nsScore));
}

}  // namespace pg::test
