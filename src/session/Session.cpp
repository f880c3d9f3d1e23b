#include "session/Session.h"

namespace pg {

Session::Session() {
  SectionNames.Dim({{{0, 26}}});
  StratCatNames.Dim({{{0, 3}}});
  SectionStratValue.Dim({{{0, 26}}});
  FieldAverage.DimFrom1(2);
}

void DimensionSession(Session& s) {
  const short boards = s.BoardCount;
  const short rows = s.RowCount;
  const short pairs = s.PairCount;
  const short players = MulShort(2, pairs);
  using B = Bounds;

  s.RowPairs.Dim({B{1, boards}, B{1, rows}, B{0, 2}});
  s.Score.Dim({B{1, boards}, B{1, rows}, B{1, 2}});
  s.RowText.Dim({B{1, boards}, B{1, rows}, B{0, 3}});
  s.MatchPoints.Dim({B{1, boards}, B{1, rows}, B{1, 2}});
  s.SplitScores.Dim({B{1, 0}, B{0, 12}});

  s.Players.Dim({B{1, players}, B{0, 1}});
  s.PlayerHandicaps.DimFrom1(players);
  s.PlayerRefs.DimFrom1(players);
  s.PlayerStratCat.DimFrom1(players);

  s.PairTotal.DimFrom1(pairs);
  s.PairPercent.DimFrom1(pairs);
  s.PairPos.DimFrom1(pairs);
  s.PairCarry.DimFrom1(pairs);
  s.PairBoards.DimFrom1(pairs);
  s.PairFactored.DimFrom1(pairs);
  s.PairOrder.DimFrom1(pairs);
  s.PairNetScore.DimFrom1(pairs);
  s.OneWinnerPairs.DimFrom1(pairs);

  s.BoardEntries.DimFrom1(boards);
  s.BoardDatum.DimFrom1(boards);

  s.MovementCards.Dim({B{1, s.NSPairCount}, B{1, s.RoundsPlayed}, B{0, 2}});
  s.RoundValues.DimFrom1(s.RoundsPlayed);
  s.OneWinnerRounds.DimFrom1(s.RoundsPlayed);
  s.OneWinnerTables.DimFrom1(s.NSPairCount);
}

void ApplyScoringType(Session& s) {
  if (s.ScoringType == "Pairs")
    s.MPStep = 0.00001;
  else if (s.ScoringType == "Aggregate")
    s.MPStep = 10;
  else if (s.ScoringType == "Butler")
    s.MPStep = 0.1;
}

}  // namespace pg
