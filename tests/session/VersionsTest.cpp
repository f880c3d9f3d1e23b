// Each format version adds items; a file of a version reads the items it has into their fields
// and leaves the items of later versions as the previous read left them (or at their defaults).
#include <algorithm>
#include <functional>

#include "session/SessionFixture.h"

namespace pg {
namespace {

using test::SessionPlan;

// A one-winner, handicapped, stratified session with a value in every item that some version
// lacks; `tag` tells the two reads apart.
SessionPlan Distinct(const std::string& version, const std::string& tag, short n) {
  SessionPlan plan;
  plan.version = version;
  plan.winners = 1;
  plan.movementFile = "C:\\MOVES\\" + tag + ".MOV";
  plan.extraText = tag;
  plan.mpAwarded = n;
  plan.mpScale = n;
  plan.wantHandicaps = n > 5 ? 2 : 1;
  plan.chargeRate = std::to_string(20 + n);
  plan.mpExtra = n;
  plan.mpTables = n;
  plan.stratUsed = 1;
  plan.stratCatNames = {tag + " A", tag + " B"};
  plan.sectionStratValue = n;
  plan.pairResults = {{11.5f, 52.25f, "  1st", CellValue(n)}};
  plan.roundValues = {n, n, n};
  plan.travellers = {{1, 1, 4, 420, -420, {tag, "", "", ""}}};
  std::array<CellValue, 13> split;
  split.fill(CellValue(n));
  plan.splitScores = {split};
  plan.fieldAverages = {CellValue(50.0 + n), CellValue(49.0 + n)};
  plan.movementCards = {{1, 1, static_cast<short>(10 + n)}};
  plan.handicaps = {CellValue(n + 0.5)};
  plan.oneWinnerA = n;
  plan.oneWinnerB = n;
  plan.oneWinnerPairs = {n};
  plan.playerRefs = {tag};
  plan.playerStratCats = {n};
  plan.trailerText = tag + " trailer";
  return plan;
}

const short kFirst = 7;  // the earlier read, a 9.3 file
const short kProbe = 3;  // the file of the version under test

struct Probe {
  const char* item;
  const char* from;  // first version that has it
  std::function<std::string(const Session&)> get;
  std::string fromFile;
  // The value when the version lacks the item: what the earlier read left, or a default.
  std::function<std::string(const std::string& version)> absent;
};

std::vector<Probe> Probes() {
  auto earlier = [](const std::string& v) { return [v](const std::string&) { return v; }; };
  // Files from 6.0 set these themselves even where they lack the item.
  auto settingsDefault = [](const std::string& before6, const std::string& from6) {
    return [=](const std::string& v) { return v >= "6.0" ? from6 : before6; };
  };
  return {
      {"movement file", "1.5", [](const Session& s) { return s.MovementFile; },
       "C:\\MOVES\\probe.MOV", earlier("C:\\MOVES\\first.MOV")},
      {"pair total", "1.4", [](const Session& s) { return CellValue(s.PairTotal(1)).ToText(); },
       "11.5", earlier("0")},
      {"pair position", "1.4", [](const Session& s) { return s.PairPos(1); }, "  1st", earlier("")},
      {"pair starting value", "1.6", [](const Session& s) { return s.PairCarry(1).ToText(); }, "3",
       earlier("")},
      {"extra text", "6.0", [](const Session& s) { return s.ExtraText; }, "probe",
       earlier("first")},
      {"master-point scale", "6.0", [](const Session& s) { return std::to_string(s.MpScale); }, "3",
       earlier("7")},
      {"handicaps wanted", "6.0", [](const Session& s) { return std::to_string(s.WantHandicaps); },
       "1", earlier("2")},
      {"round values", "8.2", [](const Session& s) { return std::to_string(s.RoundValues(1)); },
       "3", earlier("0")},
      {"traveller texts", "8.4", [](const Session& s) { return s.RowText(1, 1, 0); }, "probe",
       earlier("")},
      {"split scores", "8.5",
       [](const Session& s) {
         return std::to_string(s.SplitScores.upper(0)) + ":" + s.SplitScores(1, 12).ToText();
       },
       "1:3", [](const std::string&) { return std::string("0:none"); }},
      {"field averages", "8.6", [](const Session& s) { return s.FieldAverage(2).ToText(); }, "52",
       earlier("0")},
      {"movement cards", "8.7",
       [](const Session& s) {
         return std::to_string(s.MovementCards(1, 1, 1)) + "," +
                std::to_string(s.MovementCards(1, 1, 2));
       },
       "1,13", earlier("-1,0")},  // the movement file of an older file is not on this machine
      {"player handicaps", "8.7", [](const Session& s) { return s.PlayerHandicaps(1).ToText(); },
       "3.5", earlier("")},
      {"one-winner tables", "8.8",
       [](const Session& s) {
         return std::to_string(s.OneWinnerA) + "," + std::to_string(s.OneWinnerPairs(1));
       },
       "3,3", earlier("7,0")},
      {"trailer text", "9.0", [](const Session& s) { return s.TrailerText; }, "probe trailer",
       earlier("first trailer")},
      {"player references", "9.0", [](const Session& s) { return s.PlayerRefs(1); }, "probe",
       earlier("")},
      {"stratification", "9.2",
       [](const Session& s) {
         return std::to_string(s.StratUsed) + "," + s.StratCatNames(1) + "," +
                std::to_string(s.SectionStratValue(1));
       },
       "1,probe B,3", settingsDefault("1,first B,7", "0,first B,7")},
      {"player categories", "9.2",
       [](const Session& s) { return std::to_string(s.PlayerStratCat(1)); }, "3", earlier("0")},
      {"charge rate", "9.3",
       [](const Session& s) {
         return s.ChargeRate + "," + std::to_string(s.MpExtra) + "," + std::to_string(s.MpTables);
       },
       "23,3,3", settingsDefault("27,7,7", "10,0,0")},
  };
}

class VersionBoundary : public test::SessionFixture,
                        public ::testing::WithParamInterface<std::string> {};

TEST_P(VersionBoundary, ReadsItsItemsAndLeavesLaterOnes) {
  const std::string version = GetParam();
  Read(Distinct("9.3", "first", kFirst));
  ASSERT_FALSE(s.ReadFailed);
  Read(Distinct(version, "probe", kProbe));
  ASSERT_FALSE(s.ReadFailed);
  const std::string effective = version.empty() ? "0" : version;
  EXPECT_EQ(s.SessionFileVersion, effective);
  EXPECT_EQ(s.Score(1, 1, 1), CellValue(420));
  EXPECT_EQ(s.Players(2, 1), CellValue("Player 2"));
  for (const Probe& p : Probes()) {
    const bool present = effective >= p.from;
    std::string got;
    try {
      got = p.get(s);
    } catch (const RunTimeError&) {  // SplitScores(1, 12) does not exist without split scores
      got = s.SplitScores.upper(0) == 0 ? "0:none" : "missing";
    }
    EXPECT_EQ(got, present ? p.fromFile : p.absent(effective))
        << p.item << (present ? " (in the file)" : " (not in the file)");
  }
}

INSTANTIATE_TEST_SUITE_P(Boundaries, VersionBoundary,
                         ::testing::Values("", "1.2", "1.3", "1.4", "1.5", "1.6", "6.0", "8.2",
                                           "8.4", "8.5", "8.6", "8.7", "8.8", "9.0", "9.2", "9.3",
                                           // Versions compare as text: 9.10 sorts before 9.2.
                                           "9.10"),
                         [](const auto& info) {
                           std::string name = info.param.empty() ? "none" : info.param;
                           std::replace(name.begin(), name.end(), '.', '_');
                           return "v" + name;
                         });

}  // namespace
}  // namespace pg
