#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace pg::test {

// What the independently written session files in tests/data/sessions hold (header fields, the
// first board's scores, players' names and handicaps) and, for scored pairs sessions, what scoring
// must compute from them (percentages, position texts, top, field averages). Optional fields and
// empty lists are the ones a file's entry does not give. Generated from expected.json.
struct ExpectedSession {
  std::string file{};  // name in tests/data/sessions
  std::string SessionFileVersion{};
  std::string EventName{};
  std::string SessionDate{};  // yyyy-mm-dd
  short RoundCount = 0;
  short RowCount = 0;
  short BoardsPerRound = 0;
  short NSPairCount = 0;
  short PairCount = 0;
  std::optional<std::string> MovementName{};
  std::optional<short> PhantomPair{};
  std::optional<short> WinnerCount{};
  std::optional<std::string> ScoringType{};
  std::optional<short> RoundsPlayed{};
  std::optional<short> WantHandicaps{};
  std::optional<short> PasswordState{};
  std::optional<std::string> HandRecordFile{};
  // Board 1, row by row: North-South and East-West score, nothing for Null (no result).
  std::vector<std::pair<std::optional<double>, std::optional<double>>> ScoreBoard1{};
  std::vector<std::string> PlayerNames{};  // players 1 .. 2 * PairCount
  std::vector<double> PlayerHandicaps{};   // players 1 .. 2 * PairCount
  std::vector<double> PairPercent{};       // pairs 1 .. PairCount, to 0.01
  std::vector<std::string> PairPos{};      // pairs 1 .. PairCount
  std::optional<short> Top{};
  std::vector<double> FieldAverage{};  // winner groups 1 and 2, to 0.01
};

const std::vector<ExpectedSession>& ExpectedSessions();

// Test listings name a case by its file rather than dumping its bytes.
inline void PrintTo(const ExpectedSession& e, std::ostream* out) {
  *out << e.file;
}

}  // namespace pg::test
