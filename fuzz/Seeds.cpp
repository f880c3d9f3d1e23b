// Writes the seed corpus of every fuzz target into FOLDER/<target>/, made by the same writers the
// tests and the program use, so each target starts from files the readers take whole:
//   fuzz_seeds FOLDER
#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <string>
#include <vector>

#include "base/Date.h"
#include "base/Numbers.h"
#include "base/Parameters.h"
#include "review/History.h"
#include "review/Members.h"
#include "support/SessionWriter.h"

namespace {

namespace fs = std::filesystem;
using pg::test::SessionPlan;

class Corpus {
 public:
  Corpus(const fs::path& root, const std::string& target) : folder_(root / target) {
    fs::create_directories(folder_);
  }
  void Add(const std::string& bytes) {
    char name[16];
    std::snprintf(name, sizeof name, "seed-%03d", ++count_);
    std::ofstream(folder_ / name, std::ios::binary) << bytes;
  }

 private:
  fs::path folder_;
  int count_ = 0;
};

// ---- sessions

void SessionSeeds(const fs::path& root) {
  Corpus c(root, "session");
  for (const char* version : {"", "1.3", "1.5", "1.6", "6.0", "8.2", "8.4", "8.5", "8.6", "8.7",
                              "8.8", "9.0", "9.2", "9.3"}) {
    SessionPlan plan;
    plan.version = version;
    c.Add(pg::test::SessionText(plan));
  }
  SessionPlan handicapped;
  handicapped.wantHandicaps = 1;
  handicapped.handicaps = {pg::CellValue(-1.5), pg::CellValue(2), pg::CellValue("")};
  handicapped.fieldAverages = {pg::CellValue(51.23), pg::CellValue(48.77)};
  c.Add(pg::test::SessionText(handicapped));

  SessionPlan oneWinner;
  oneWinner.winners = 1;
  oneWinner.oneWinnerRounds = {1, 2, 3};
  c.Add(pg::test::SessionText(oneWinner));

  SessionPlan codes;  // averages, a split score and boards not played
  codes.travellers = {{1, 1, 4, 9002, 9002, {}},
                      {1, 2, 5, 9100, 9100, {}},
                      {1, 3, 6, pg::CellValue::Null(), pg::CellValue::Null(), {}}};
  std::array<pg::CellValue, 13> split;
  split.fill(pg::CellValue(0));
  split[0] = pg::CellValue(50);
  split[1] = pg::CellValue(420);
  split[2] = pg::CellValue(50);
  split[3] = pg::CellValue(-100);
  codes.splitScores = {split};
  c.Add(pg::test::SessionText(codes));

  SessionPlan sections;
  sections.sectionCount = 3;
  sections.sectionNames = {"red", "blue", "green"};
  sections.phantom = 6;
  c.Add(pg::test::SessionText(sections));

  for (const char* scoring : {"Aggregate", "Butler", "0"}) {
    SessionPlan plan;
    plan.scoringType = scoring;
    c.Add(pg::test::SessionText(plan));
  }
  SessionPlan locked;
  locked.passwordState = 2;
  c.Add(pg::test::SessionText(locked));

  SessionPlan notEntered;
  notEntered.rounds = 0;
  c.Add(pg::test::SessionText(notEntered));

  SessionPlan hands;
  hands.handRecordFile = "C:\\DEALS\\0925.pbn";
  hands.trailerText = "printed";
  const std::string withHands = pg::test::SessionText(hands);
  c.Add(withHands);
  c.Add(pg::test::WithBareLineFeeds(withHands));
  c.Add(pg::test::WithBareLineFeeds(withHands, 6));

  // The independently written files the conformance tests read.
  for (const auto& entry : fs::directory_iterator(fs::path(PG_TEST_DATA) / "sessions")) {
    const std::string ext = entry.path().extension().string();
    if (ext != ".AFT" && ext != ".EVE") continue;
    std::ifstream in(entry.path(), std::ios::binary);
    c.Add(std::string(std::istreambuf_iterator<char>(in), {}));
  }
}

// ---- members

pg::MemberTable Members(const std::vector<std::array<std::string, 11>>& lines) {
  pg::MemberTable table;
  table.Records.DimFrom1(static_cast<short>(lines.size()));
  for (short m = 1; m <= table.MemberCount(); ++m) {
    for (short f = 1; f <= pg::kMemberFields; ++f)
      table.Member(m).Fields(f) = lines[static_cast<size_t>(m - 1)][static_cast<size_t>(f - 1)];
  }
  return table;
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

void MemberSeeds(const fs::path& root) {
  Corpus c(root, "members");
  const pg::Date day = pg::MakeDate(2013, 7, 5);
  const pg::MemberTable club = Members({
      {"101", "Jane", "Smith", "01632 960001", "jane@example.org", "F", "-1.5", "Y", "",
       "12/03/2001", "0"},
      {"102", "Ali", "Khan", "", "", "M", "2.32", "Y", "", "01/01/2005", "0"},
      {"103", "Mary Ann", "Lee", "", "", "F", "", "N", "", "", ""},
      {"104", "Bob", "O'Neil", "", "", "M", "n/a", "Y", "3", "", "1"},
      {"105", "Chris", "Hall, Jr", " Flat 2", "", "M", "0.005", "Y", "", "", ""},
  });
  const std::string file = pg::MembershipFileText(club, day);
  c.Add(file);
  c.Add(pg::MembershipFileText(pg::MemberTable{}, day));
  c.Add(Replaced(file, "\r\n", "\n"));
  c.Add(Replaced(file, "\r\n", "\r"));
  c.Add(file + "\x1a");
  c.Add(Replaced(file, "\r\n102", "\r\n   \r\n102"));
  // Quoted items, blanks before items, and a header of nine fields.
  c.Add(" 2 9 \"05/07/13\"\r\n\"1\", \"Ann\",\"Bell\",,,,\"-2\",,\r\n2,Tom, Dale ,,,,3.5,x,y\r\n");
  // More items than the header counts, and a field count above eleven.
  c.Add(" 1 11 05/07/13\r\n1,A,B,,,,1,,,,,extra\r\n");
  c.Add(" 1 12 05/07/13\r\n1,A,B,,,,1,,,,,,\r\n");
}

// ---- Handicap.ini

void ParameterSeeds(const fs::path& root) {
  Corpus c(root, "parameters");
  pg::HandicapParameters p;
  c.Add(pg::ParameterFileText("3.6", p));
  p.LastUpdated = "25 September 2006 ";
  const std::string updated = pg::ParameterFileText("3.6", p);
  c.Add(updated);
  c.Add(updated.substr(0, updated.find("\r\n", updated.find("51.23")) + 2));  // cut after line 3
  c.Add(Replaced(updated, "\r\n", "\n"));
  p.DeadZone = {-0.5, 1.25};
  p.HandicapRange = {-20, 10};
  p.AdjustRate = {0.05, 0.3};
  p.MaxAdjust = {0.5, 2};
  p.RoundingStep = 0.05;
  p.CorrectionDays = 31;
  p.EgHand = {-3.5, 0};
  p.EgGross = 100;
  p.EgAve = 30;
  c.Add(pg::ParameterFileText("1.0", p));
  c.Add("3.6\r\n25/09/2006\r\n51.23, 56 ,0.01,7.5\r\n#TRUE#,-2,-12,0.1,1\r\n3,2,6,0.2,#NULL#\r\n");
}

// ---- hand records

// A deal of the 52 cards to the four hands, 13 each: holder[card] for card 1..52.
using Deal = std::array<int, 53>;

Deal Dealt(std::mt19937& random) {
  std::vector<int> holders;
  for (int h = 0; h < 4; ++h)
    holders.insert(holders.end(), 13, h);
  std::shuffle(holders.begin(), holders.end(), random);
  Deal d{};
  for (int card = 1; card <= 52; ++card)
    d[static_cast<size_t>(card)] = holders[static_cast<size_t>(card - 1)];
  return d;
}

// "N:" and each hand from North clockwise: spades.hearts.diamonds.clubs, ranks ace first.
std::string PbnDeal(const Deal& d, bool capitals) {
  const std::string ranks = capitals ? "AKQJT98765432" : "akqjt98765432";
  std::string out = "N:";
  for (int hand = 0; hand < 4; ++hand) {
    if (hand > 0) out += ' ';
    for (size_t suit = 0; suit < 4; ++suit) {
      if (suit > 0) out += '.';
      for (size_t rank = 0; rank < 13; ++rank) {
        if (d[13 * suit + rank + 1] == hand) out += ranks[rank];
      }
    }
  }
  return out;
}

std::string DlmDeal(const Deal& d) {
  std::string code;
  for (size_t k = 1; k <= 26; ++k)
    code += static_cast<char>('a' + 4 * d[2 * k - 1] + d[2 * k]);
  return code;
}

// The first three bytes of a hand-record input: its options and the session's board count.
std::string HandOptions(bool pbn, bool capitals, bool inSessionRead, std::uint16_t boards) {
  const int options = (pbn ? 1 : 0) | (capitals ? 2 : 0) | (inSessionRead ? 4 : 0);
  return {static_cast<char>(options), static_cast<char>(boards & 0xff),
          static_cast<char>(boards >> 8)};
}

void HandRecordSeeds(const fs::path& root) {
  Corpus c(root, "hand_records");
  std::mt19937 random(2006);
  std::vector<Deal> deals(8);
  for (Deal& d : deals)
    d = Dealt(random);

  std::string dlm = "[Document]\r\nTo Board=8\r\n";
  for (size_t b = 1; b <= deals.size(); ++b)
    dlm += "Board " + std::string(b < 10 ? "0" : "") + std::to_string(b) + "=" +
           DlmDeal(deals[b - 1]) + "4711\r\n";
  c.Add(HandOptions(false, false, true, 24) + dlm);
  c.Add(HandOptions(false, true, false, 6) + dlm);

  std::string pbn = "% PBN 2.1\r\n[Event \"Club Pairs\"]\r\n\r\n";
  for (size_t b = 1; b <= deals.size(); ++b) {
    pbn += "[Board \"" + std::to_string(b) + "\"]\r\n[Dealer \"N\"]\r\n[Deal \"" +
           PbnDeal(deals[b - 1], b % 2 == 0) + "\"]\r\n";
    pbn += "[DoubleDummyTricks \"8a7b8a7b6c5d6c5d7979\"]\r\n";
    pbn += "[OptimumResultTable \"Declarer;Denomination\\2R;Result\\2R\"]\r\nN NT 9\r\nS NT 9\r\n";
    pbn += "\r\n";
  }
  pbn += "[Board \"9\"]\r\n[Deal \"\"]\r\n[Dealer \"E\"]\r\n\r\n";  // a template's empty game
  c.Add(HandOptions(true, false, true, 24) + pbn);
  c.Add(HandOptions(true, true, false, 8) + pbn);
  c.Add(HandOptions(true, false, true, 8) +
        "[Board \"1\"]\n[Deal \"E:" + PbnDeal(deals[0], false).substr(2) + "\"]\n");
}

// ---- the catalogue's lines and date texts

void CatalogueSeeds(const fs::path& root) {
  Corpus c(root, "catalogue");
  auto keys = [](pg::Date day, int timeOfDay, int section) {
    const auto n = static_cast<std::uint32_t>((day - pg::MakeDate(1, 1, 1)).count());
    return std::string{static_cast<char>(n & 0xff), static_cast<char>((n >> 8) & 0xff),
                       static_cast<char>((n >> 16) & 0xff), static_cast<char>(n >> 24),
                       static_cast<char>((timeOfDay - 1) | section << 1)};
  };
  const pg::Date day = pg::MakeDate(2006, 9, 25);
  c.Add(keys(day, 1, 1) + "25 September 2006 ");
  c.Add(keys(day, 2, 0) + "25/9/2006");
  c.Add(keys(day, 1, 3) + "Monday 25 Sep 2006");
  c.Add(keys(pg::MakeDate(2000, 2, 29), 2, 26) + "2000-02-29");
  c.Add(keys(pg::MakeDate(9999, 12, 31), 1, 2) + "31/02/2006");
  c.Add(keys(pg::MakeDate(1, 1, 1), 2, 1) + "");
}

// ---- typed dates and numbers

void DateSeeds(const fs::path& root) {
  Corpus c(root, "dates");
  const std::string zero(1, '\0');
  for (const pg::Date day : {pg::MakeDate(2006, 9, 25), pg::MakeDate(2000, 2, 29),
                             pg::MakeDate(1930, 1, 1), pg::MakeDate(2029, 12, 31)}) {
    for (const char* pattern : {"dd mmmm yyyy ", "dddd dd mmmm yyyy", "d/m/yyyy", "dd/mm/yy",
                                "yyyy-mm-dd", "ddd dd.mm.yyyy", "d mmm yy"})
      c.Add(pg::FormatDate(day, pattern));
  }
  c.Add("#2006-09-25#" + zero + "ddd dd/mm/yy");
  c.Add("25 Sept 2006" + zero + "dddd, d mmmm yyyy");
  c.Add("31/04/2006");
  c.Add("29 February 2001");
  c.Add("Mon 25-09-06");
}

void NumberSeeds(const fs::path& root) {
  Corpus c(root, "numbers");
  const std::string zero(1, '\0');
  for (const double v :
       {0.0, 0.1, -12.0, 51.23, 2.675, -0.005, 1e-7, 123456789012345.0, 0.01 * 232, 6.005, 99.995})
    c.Add(pg::NumberText(v));
  for (const char* text : {"0.30000000000000004", "1e999", " -1.5 ", "12abc", "+3", ".5", "5.",
                           "1,5", "-0", "4.9e-324", "1E+2", "#TRUE#"})
    c.Add(text);
  c.Add("51.23" + zero + "+0.00;-0.00;0");
  c.Add("-7" + zero + "00. ");
  c.Add("1234.5" + zero + "#,##0.0#");
}

// ---- the history file

// The same files for the History window's chart, which draws what the window read.
void HistorySeeds(const fs::path& root) {
  pg::HistoryEntry first;
  first.lastSession = pg::MakeDate(2026, 2, 23);
  first.saved = pg::MakeDate(2026, 3, 3);
  first.membership = pg::WrittenFile{0x0123456789abcdefULL, 1234,
                                     pg::KeptFile{"Membersh-first.bak", 0x1111ULL, 1200}};
  first.parameters = pg::WrittenFile{0xfedcba9876543210ULL, 98,
                                     pg::KeptFile{"Handicap-first.bak", std::nullopt, 0}};
  first.sessionLabels = {"Mon 02/02/26 aft", "Thu 05/02/26 eve"};
  first.members = {{1, "Ann Ash", 1.5, 0.75, {{0, 54.17, 50.2, -0.4}, {1, 55.5, 51, -0.35}}},
                   {2, "Bob \"B\" Birch, Jr", -2.0, -1.0, {{1, 40.25, 51, 1}}},
                   {3, "Zo\xeb Lee", 6.0, 6.0, {}}};
  // What a replay needs, as a save since they are kept records it.
  first.runParameters = pg::HandicapParameters{};
  first.sessions = {{pg::MakeDate(2026, 2, 2), 1, 1, "0202S1.AFT", 0x1234abcdULL},
                    {pg::MakeDate(2026, 2, 5), 2, 0, "0205S0.EVE", 0xfedcba9876543210ULL}};
  first.visitors = {{pg::MakeDate(2026, 2, 5), 2, 0, "Val Visitor", 3}};
  first.corrections = {{2, "Bob \"B\" Birch, Jr", -1.25}};
  pg::HistoryEntry second = first;
  second.lastSession = pg::MakeDate(2026, 3, 30);
  second.membership->copy = pg::KeptFile{"Membersh-260223.bak", 0x2222ULL, 1300};
  second.parameters->copy = pg::KeptFile{"Handicap-260223-2.bak", 0x3333ULL, 90};
  second.members.pop_back();
  const std::string file =
      pg::HistoryHeadingLine() + pg::HistoryEntryText(first) + pg::HistoryEntryText(second);
  for (const char* target : {"history", "history_chart"}) {
    Corpus c(root, target);
    c.Add(file);
    c.Add(pg::HistoryHeadingLine());
    c.Add(Replaced(file, "\r\n", "\n"));
    // As a spreadsheet saves it again: quotes only where needed, dates the desktop's way.
    c.Add(Replaced(Replaced(Replaced(file, "\"Member\"", "Member"), "2026-02-23", "23/02/2026"),
                   "\"Ann Ash\"", "Ann Ash"));
    c.Add(file + "2026-03-30,\"Member\",4,\"Di Dove\",1,x,0\r\n2026-03-30,\"Note\r\n");
    c.Add(file.substr(0, file.size() / 2));
    // Handicaps at the edge of what is believed, and a phone number in the wrong cell.
    c.Add(Replaced(Replaced(file, ",0.75,", ",1000,"), ",-1,", ",1234567890,"));
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: fuzz_seeds FOLDER\n";
    return 2;
  }
  const fs::path root = argv[1];
  SessionSeeds(root);
  MemberSeeds(root);
  ParameterSeeds(root);
  HandRecordSeeds(root);
  CatalogueSeeds(root);
  DateSeeds(root);
  NumberSeeds(root);
  HistorySeeds(root);
  return 0;
}
