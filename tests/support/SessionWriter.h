#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "base/Cell.h"
#include "base/Date.h"
#include "session/Session.h"

namespace pg::test {

// One traveller row as a test states it.
struct RowSpec {
  short round = 1;
  short ns = 0;
  short ew = 0;
  CellValue nsScore = CellValue::Null();
  CellValue ewScore = CellValue::Null();
  std::array<std::string, 4> text;
};

// Written as decimal text, so kept in double precision: a float would show its binary digits.
struct PairResultSpec {
  double total = 0;
  double percent = 0;
  std::string pos;
  CellValue carry = 0;
};

// A session file described in a few fields, for any format version. Every array left empty is
// filled in plausibly: each board played at every row by pair r against a pair of the other
// direction, scores from a fixed pattern, players "Player 1" .. "Player 2P", movement cards of a
// plain Mitchell. Items a version does not have are not written, whatever the fields say.
struct SessionPlan {
  std::string version = "9.3";  // "" writes a file from before versions were stored
  std::string eventName = "Club Pairs";
  short sectionCount = 1;
  short sectionNo = 1;
  std::vector<std::string> sectionNames;  // written when sectionCount > 1; default "A", "B", ...
  CellValue date = MakeDate(2026, 3, 2);
  short rounds = 3;
  short rows = 3;
  short boardsPerRound = 2;
  short tables = 3;
  short pairs = 6;
  std::string movementName = "Mitchell 3";
  std::string movementFile = "C:\\MOVES\\M3.MOV";  // from 1.5
  short phantom = 0;
  short winners = 2;
  std::string scoringType = "Pairs";
  short roundsPlayed = 3;

  // Event settings, from 6.0.
  std::string extraText;
  short mpAwarded = 1;
  short mpScale = 3;
  short teamData = 0;
  short wantHandicaps = 0;
  short passwordState = 0;
  // From 9.3.
  std::string chargeRate = "10";
  short mpExtra = 0;
  short mpTables = 0;
  // From 9.2.
  short stratUsed = 0;
  std::vector<std::string> stratCatNames;
  short sectionStratValue = 0;

  std::vector<RowSpec> travellers;          // board by board: index (board - 1) * rows + (row - 1)
  std::vector<std::string> players;         // names of players 1 .. 2 * pairs
  std::vector<CellValue> handicaps;         // from 8.7, when wantHandicaps; default 0 each
  std::vector<PairResultSpec> pairResults;  // after 1.3
  std::vector<short> roundValues;           // from 8.2
  std::vector<std::array<CellValue, 13>> splitScores;                  // from 8.5, one entry per n
  std::array<CellValue, 2> fieldAverages{CellValue(0), CellValue(0)};  // from 8.6
  std::vector<std::array<short, 3>> movementCards;  // from 8.7: index (table - 1) * N + (round - 1)
  short oneWinnerA = 0;                             // from 8.8, one-winner sessions
  short oneWinnerB = 0;
  std::vector<short> oneWinnerRounds;
  std::vector<short> oneWinnerTables;
  std::vector<short> oneWinnerPairs;
  std::vector<std::string> playerRefs;        // from 9.0
  std::vector<short> playerStratCats;         // from 9.2, when stratUsed
  std::optional<std::string> trailerText;     // from 9.0; nothing ends the file before it
  std::optional<std::string> handRecordFile;  // the last item; nothing ends the file before it
};

// The file's bytes, CR LF line ends.
std::string SessionText(const SessionPlan& plan);
void WriteSession(const std::string& path, const SessionPlan& plan);

// A two-table Howell of two boards with two winner groups, its eight players "Ann Ash", "Bob
// Birch", "Cy Cedar", "Di Dove", "Ed Elm", "Flo Fir", "Guy Gorse", "Hal Hazel": pair 1 (players
// 1 and 5) wins both boards north-south and pair 4 (4 and 8) east-west, so an update moves them
// by the largest adjustment down and pairs 2 and 3 by the largest up.
SessionPlan TwoTableSession();

// The text with every CR LF from line `fromLine` (counting from 0) on turned into a bare line
// feed, as a file whose line ends were damaged in copying.
std::string WithBareLineFeeds(const std::string& text, int fromLine = 0);

// Copies the independently written file tests/data/sessions/<file> into folder (a test must not
// change the project's own copy, which a repair would) and points the session's BasePath and
// Extension at the copy, ready for ReadSession.
void PlaceDataSession(const std::string& folder, const std::string& file, Session& s);

}  // namespace pg::test
