#pragma once

#include <array>
#include <string>
#include <vector>

#include "base/Array.h"
#include "base/Cell.h"

namespace pg {

// One board of a hand-record file: the deal as 26 letters "a".."p" (two cards a letter, four
// holders each), and, from "pbn" files, the double-dummy tricks and the par table kept raw.
struct HandRecord {
  std::string Deal;
  std::string DoubleDummyTricks;
  std::vector<std::string> OptimumResultTable;
};

// The one loaded session: one section of one afternoon or evening, as the club's scoring program
// recorded it, plus what scoring computes from it. Counts and indices are 16-bit; arrays count
// from 1 unless their declaration says otherwise. The two players of pair p are players p and
// p + PairCount.
struct Session {
  // Location and identity, set before a read.
  CellValue SessionDate;
  short TimeOfDay = 0;  // 0 morning, 1 afternoon, 2 evening
  short SectionNo = 1;  // 0 = the combined results of all sections
  short SectionCount = 1;
  std::string BasePath;   // full path without the extension
  std::string Extension;  // "MOR", "AFT" or "EVE"

  bool ReadFailed = false;

  // Header.
  std::string SessionFileVersion;
  std::string EventName;
  Array1<std::string> SectionNames;  // 0..26; 0 is "combined"
  short RoundCount = 0;
  short RowCount = 0;
  short BoardsPerRound = 0;
  short NSPairCount = 0;
  short PairCount = 0;
  short BoardCount = 0;
  std::string MovementName;
  std::string MovementFile;
  short PhantomPair = 0;
  short WinnerCount = 1;
  std::string ScoringType;
  short RoundsPlayed = 0;

  // Event settings.
  std::string ExtraText;
  short MpAwarded = 0;
  short MpScale = 0;
  short TeamData = 0;
  short WantHandicaps = 0;
  short PasswordState = 0;
  std::string ChargeRate;
  short MpExtra = 0;
  short MpTables = 0;
  short StratUsed = 0;
  short StratCatCount = 0;
  Array1<std::string> StratCatNames;  // 0..3
  Array1<short> SectionStratValue;    // 0..26

  // Travellers.
  Array3<short> RowPairs;         // (board, row, 0..2): round, North-South pair, East-West pair
  Array3<CellValue> Score;        // (board, row, 1..2): 1 North-South, 2 East-West
  Array3<std::string> RowText;    // (board, row, 0..3)
  Array2<CellValue> SplitScores;  // (n, 0..12)

  // Players and pairs.
  Array2<CellValue> Players;  // (player, 0..1): 0 a number, 1 the name
  Array1<CellValue> PlayerHandicaps;
  Array1<std::string> PlayerRefs;
  Array1<short> PlayerStratCat;
  Array1<float> PairTotal;
  Array1<float> PairPercent;
  Array1<std::string> PairPos;
  Array1<CellValue> PairCarry;
  Array1<CellValue> FieldAverage;  // 1..2, per winner group

  // Movement and other carried tables.
  Array3<short> MovementCards;  // (table, round, 0..2)
  Array1<short> RoundValues;
  short OneWinnerA = 0;
  short OneWinnerB = 0;
  Array1<short> OneWinnerRounds;
  Array1<short> OneWinnerTables;
  Array1<short> OneWinnerPairs;
  std::string TrailerText;
  std::string HandRecordFile;

  // Hand records of the session's hand-record file, indexed by board from 0.
  std::vector<HandRecord> HandRecords;
  bool HandsLoaded = false;
  bool ReadingHands = false;

  // Derived when the file is read: the rounding step of scoring.
  double MPStep = 0.00001;

  // Scoring.
  Array1<short> BoardEntries;
  short MaxEntries = 0;
  short Top = 0;
  Array3<CellValue> MatchPoints;     // (board, row, 1..2)
  Array2<CellValue> PairBoardMP;     // (pair, board)
  Array2<CellValue> PairBoardScore;  // (pair, board)
  Array1<short> PairBoards;
  short MaxBoardsPlayed = 0;
  Array1<float> PairFactored;
  Array1<short> PairOrder;
  bool HasAveAdjusted = false;
  bool ScoreOK = false;
  Array1<float> PairNetScore;
  Array1<short> BoardDatum;

  Session();
};

// Sizes and clears every traveller, player, pair and movement array from the header counts,
// and the scoring arrays with them. Raises Overflow when 2 * PairCount does not fit 16 bits.
void DimensionSession(Session& s);

// MPStep from ScoringType: "Pairs" 0.00001, "Aggregate" 10, "Butler" 0.1; other types leave it.
void ApplyScoringType(Session& s);

}  // namespace pg
