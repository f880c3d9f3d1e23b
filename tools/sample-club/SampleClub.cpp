#include "SampleClub.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <utility>

#include "base/Context.h"
#include "base/Date.h"
#include "base/Numbers.h"
#include "review/Members.h"
#include "scoring/Scoring.h"
#include "session/SessionFile.h"
#include "support/QuietPorts.h"
#include "support/SessionWriter.h"

namespace pg::sample {
namespace {

using test::RowSpec;
using test::SessionPlan;

// splitmix64: the standard library's distributions differ between implementations, and the
// sample must come out the same on every platform. Everything drawn from it is whole numbers.
class Dice {
 public:
  explicit Dice(std::uint64_t seed) : state_(seed) {}
  int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint64_t>(n)); }
  int Between(int low, int high) { return low + Below(high - low + 1); }

 private:
  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  std::uint64_t state_;
};

// ---------------------------------------------------------------------------------------------
// The club. Handicaps are in hundredths; form is how many tenths of a percent a member now plays
// better (or worse) than the handicap says, so that an update has something to correct: the
// improving beginners come down, the pair off form goes up.

struct Member {
  const char* first;
  const char* surname;
  int handicap;
  int form;
};

constexpr std::array<Member, 34> kMembers{{
    {"Margaret", "Holloway", -650, 0}, {"Peter", "Holloway", -520, 0},
    {"Susan", "Fairbairn", -375, 15},  {"David", "Pennington", -410, 10},
    {"Anne", "Whitcombe", 50, 0},      {"Geoffrey", "Marsh", 225, -5},
    {"Janet", "Crowther", 110, 0},     {"Richard", "Ellison", -140, 5},
    {"Pauline", "Ashby", 360, 0},      {"Brian", "Kettering", 420, -15},
    {"Christine", "Lowther", -230, 0}, {"Michael", "Danby", -80, 0},
    {"Gillian", "Tremayne", 510, 20},  {"Roger", "Stanwick", -840, -20},
    {"Hilary", "Stanwick", -710, -10}, {"Kenneth", "Blakemore", 175, 0},
    {"Dorothy", "Pickering", 290, 5},  {"Alan", "Redfern", -285, 0},
    {"Valerie", "Oakes", 0, 0},        {"Trevor", "Hambleton", 330, 0},
    {"Judith", "Carrow", -115, -5},    {"Graham", "Whitlock", 600, 30},
    {"Elaine", "Marchbank", 465, 0},   {"Nigel", "Sowerby", -200, 0},
    {"Rosemary", "Dunstan", -320, -5}, {"Colin", "Barraclough", 205, 10},
    {"Maureen", "Pelling", 145, 5},    {"Stuart", "Hebden", -35, 0},
    {"Linda", "Garside", 395, 0},      {"Keith", "Ormerod", -460, 0},
    {"Barbara", "Ackroyd", 85, 0},     {"Philip", "Rushworth", 260, -10},
    {"Sheila", "Copley", -190, 0},     {"Howard", "Bramley", 540, 0},
}};

// Who usually plays with whom, by member number (from 1).
constexpr std::array<std::pair<int, int>, 17> kPartnerships{{
    {1, 2},
    {3, 4},
    {5, 6},
    {7, 8},
    {9, 10},
    {11, 12},
    {13, 22},
    {14, 15},
    {16, 17},
    {18, 19},
    {20, 21},
    {23, 34},
    {24, 25},
    {26, 27},
    {28, 29},
    {30, 31},
    {32, 33},
}};

struct Player {
  std::string name;
  int handicap = 0;  // hundredths, as the scoring program recorded it
  int strength = 0;  // tenths of a percent above an average player
};

Player MemberPlayer(int number) {
  const Member& m = kMembers.at(static_cast<size_t>(number - 1));
  return {std::string(m.first) + " " + m.surname, m.handicap, -m.handicap / 10 + m.form};
}

// The two players who are not members: each must show in the grid as nobody.
const Player kGledhill{"Frances Gledhill", 150, -15};
const Player kIbbotson{"Martin Ibbotson", 300, -25};

using Partnership = std::pair<Player, Player>;

Partnership Regular(int index) {
  const auto& [a, b] = kPartnerships.at(static_cast<size_t>(index));
  return {MemberPlayer(a), MemberPlayer(b)};
}

// ---------------------------------------------------------------------------------------------
// Bridge scores.

struct Contract {
  int level = 1;
  char strain = 'N';  // C D H S N
};

// What a board is "about": who declares, the contract a good pair reaches and the tricks it
// usually makes there. Every table plays it with its own skill.
struct BoardDeal {
  bool nsDeclare = true;
  Contract contract;
  int tricks = 7;
};

bool Minor(char strain) {
  return strain == 'C' || strain == 'D';
}

bool Vulnerable(int board, bool ns) {
  static constexpr std::string_view kVulnerability = "-NEBNEB-EB-NB-NE";  // boards 1 to 16
  const char v = kVulnerability[static_cast<size_t>((board - 1) % 16)];
  return v == 'B' || v == (ns ? 'N' : 'E');
}

// The declaring side's duplicate score; doubled is 0, 1 (doubled) or 2 (redoubled).
int DuplicateScore(Contract c, int doubled, bool vulnerable, int tricks) {
  const int need = c.level + 6;
  const int multiple = doubled == 0 ? 1 : 2 * doubled;
  if (tricks >= need) {
    const int perTrick = Minor(c.strain) ? 20 : 30;
    const int trickScore = (c.level * perTrick + (c.strain == 'N' ? 10 : 0)) * multiple;
    int score = trickScore + (trickScore >= 100 ? (vulnerable ? 500 : 300) : 50);
    if (c.level == 6) score += vulnerable ? 750 : 500;
    if (c.level == 7) score += vulnerable ? 1500 : 1000;
    score += 50 * doubled;
    const int over = tricks - need;
    score += doubled == 0 ? over * perTrick : over * (vulnerable ? 200 : 100) * doubled;
    return score;
  }
  const int down = need - tricks;
  if (doubled == 0) return -down * (vulnerable ? 100 : 50);
  int penalty = 0;
  for (int i = 1; i <= down; ++i)
    penalty += vulnerable ? (i == 1 ? 200 : 300) : (i == 1 ? 100 : (i <= 3 ? 200 : 300));
  return -penalty * doubled;
}

BoardDeal DrawBoard(Dice& dice) {
  static constexpr std::string_view kStrains = "CDHSN";
  BoardDeal deal;
  deal.nsDeclare = dice.Below(2) == 0;
  const int kind = dice.Below(100);
  if (kind < 42) {  // a part score
    deal.contract.strain = kStrains[static_cast<size_t>(dice.Below(5))];
    deal.contract.level = deal.contract.strain == 'N' ? 1 + dice.Below(2) : 2 + dice.Below(2);
    deal.tricks = deal.contract.level + 6 + dice.Below(2);
  } else if (kind < 90) {  // a game
    switch (dice.Below(5)) {
      case 0:
      case 1: deal.contract = {3, 'N'}; break;
      case 2: deal.contract = {4, 'H'}; break;
      case 3: deal.contract = {4, 'S'}; break;
      default: deal.contract = {5, dice.Below(2) == 0 ? 'C' : 'D'}; break;
    }
    deal.tricks = deal.contract.level + 6 + (deal.contract.level == 5 ? 0 : dice.Below(2));
  } else {  // a slam
    deal.contract = {6, kStrains[2 + static_cast<size_t>(dice.Below(3))]};
    deal.tricks = 12 + (dice.Below(4) == 0 ? 1 : 0);
  }
  return deal;
}

// North-South's score at one table; quality is how much better (tenths of a percent) the
// declaring pair plays than the defenders.
int TableScore(const BoardDeal& deal, int board, int quality, Dice& dice) {
  Contract c = deal.contract;
  const int q = quality / 3 + dice.Between(-40, 40) + dice.Between(-40, 40);
  // On a part-score board the other side sometimes competes and buys the contract.
  if (c.level <= 3 && c.strain != 'N' && dice.Below(100) < 22) {
    const Contract theirs{c.level, c.strain == 'S' ? 'H' : 'S'};
    const int tricks = theirs.level + 5 + (q < 0 ? 1 : 0) + (q < -60 ? 1 : 0);
    const int score = DuplicateScore(theirs, 0, Vulnerable(board, !deal.nsDeclare), tricks);
    return deal.nsDeclare ? -score : score;
  }
  // A weaker pair stops short of a slam or a game that a good pair bids.
  if (c.level == 6 && q < -30) c.level = c.strain == 'N' ? 3 : (Minor(c.strain) ? 5 : 4);
  if (c.level >= 3 && c.level <= 5 && q < -75 && dice.Below(2) == 0) c.level -= 1;
  int tricks = deal.tricks;
  if (q >= 60) tricks += 1;
  if (q >= 140) tricks += 1;
  if (q <= -50) tricks -= 1;
  if (q <= -110) tricks -= 1;
  tricks = std::clamp(tricks, 4, 13);
  // Defenders who see a contract going off double it now and then.
  const int doubled = tricks < c.level + 6 && dice.Below(100) < 12 ? 1 : 0;
  const int score = DuplicateScore(c, doubled, Vulnerable(board, deal.nsDeclare), tricks);
  return deal.nsDeclare ? score : -score;
}

// ---------------------------------------------------------------------------------------------
// Sessions.

// A Mitchell of `tables` tables, as many rounds as tables: North-South pairs 1..T stay, East-West
// pairs T+1..2T move up a table and the boards down one; with an even number of tables East-West
// skip a table half way, so that nobody plays a board twice.
struct Mitchell {
  int tables = 0;
  int boardsPerRound = 0;
  bool arrowSwitchLastRound = false;  // a one-winner movement: the last round turns the arrows

  int Boards() const { return tables * boardsPerRound; }
  int TableOf(int set, int round) const { return (set - 1 + round - 1) % tables + 1; }
  int EastWestAt(int table, int round) const {
    const int skip = tables % 2 == 0 && round > tables / 2 ? 1 : 0;
    return tables + (table - 1 + round - 1 + skip) % tables + 1;
  }
  int SetAt(int table, int round) const { return ((table - round) % tables + tables) % tables + 1; }
};

// Everything about one section's play that its file and the combined file share.
struct Section {
  Mitchell movement;
  int phantom = 0;                  // the North-South pair that sits out, or 0
  std::vector<Partnership> pairs;   // by pair number from 1
  std::vector<RowSpec> travellers;  // as SessionPlan holds them
};

// Seats the partnerships (a sitting-out pair takes the last North-South place) and plays every
// board at every table.
Section PlaySection(const Mitchell& m, std::vector<Partnership> pairs, bool phantom,
                    const std::vector<BoardDeal>& deals, Dice& dice) {
  Section s;
  s.movement = m;
  for (size_t i = pairs.size(); i > 1; --i)
    std::swap(pairs[i - 1], pairs[static_cast<size_t>(dice.Below(static_cast<int>(i)))]);
  if (phantom) {
    s.phantom = m.tables;
    pairs.insert(pairs.begin() + m.tables - 1, Partnership{});
  }
  s.pairs = std::move(pairs);
  if (s.pairs.size() != 2 * static_cast<size_t>(m.tables))
    throw std::runtime_error("a section of " + std::to_string(m.tables) + " tables seats " +
                             std::to_string(2 * m.tables) + " pairs");
  auto strength = [&](int pair) {
    const Partnership& p = s.pairs.at(static_cast<size_t>(pair - 1));
    return p.first.strength + p.second.strength;
  };
  for (int b = 1; b <= m.Boards(); ++b) {
    const int set = (b - 1) / m.boardsPerRound + 1;
    const BoardDeal& deal = deals.at(static_cast<size_t>(b - 1));
    for (int r = 1; r <= m.tables; ++r) {
      RowSpec row;
      const int table = m.TableOf(set, r);
      row.round = static_cast<short>(r);
      row.ns = static_cast<short>(table);
      row.ew = static_cast<short>(m.EastWestAt(table, r));
      if (m.arrowSwitchLastRound && r == m.tables) std::swap(row.ns, row.ew);
      if (row.ns != s.phantom && row.ew != s.phantom) {
        const int nsBetter = strength(row.ns) - strength(row.ew);
        const int score = TableScore(deal, b, deal.nsDeclare ? nsBetter : -nsBetter, dice);
        row.nsScore = score;
        row.ewScore = -score;
      }
      s.travellers.push_back(row);
    }
  }
  return s;
}

std::vector<BoardDeal> DrawBoards(int count, Dice& dice) {
  std::vector<BoardDeal> deals;
  deals.reserve(static_cast<size_t>(count));
  for (int b = 0; b < count; ++b)
    deals.push_back(DrawBoard(dice));
  return deals;
}

// What every file of one playing session has in common.
struct Event {
  Date date;
  bool evening = false;
  std::string name;
  std::string version = "9.3";
  bool handicaps = false;
};

SessionPlan PlanFor(const Event& e, const Section& s, bool oneWinner) {
  const Mitchell& m = s.movement;
  SessionPlan plan;
  plan.version = e.version;
  plan.eventName = e.name;
  plan.date = e.date;
  plan.rounds = static_cast<short>(m.tables);
  plan.rows = static_cast<short>(m.tables);
  plan.boardsPerRound = static_cast<short>(m.boardsPerRound);
  plan.tables = static_cast<short>(m.tables);
  plan.pairs = static_cast<short>(2 * m.tables);
  plan.roundsPlayed = static_cast<short>(m.tables);
  plan.winners = oneWinner ? 1 : 2;
  plan.phantom = static_cast<short>(s.phantom);
  plan.movementName = std::string(m.tables % 2 == 0 ? "Skip Mitchell " : "Mitchell ") +
                      std::to_string(m.tables) + " tables" + (oneWinner ? ", arrow switch" : "");
  plan.movementFile = "C:\\Quorell\\Movement\\MITCH" + std::to_string(m.tables) + ".MOV";
  plan.wantHandicaps = e.handicaps ? 1 : 0;
  plan.travellers = s.travellers;
  const size_t pairs = s.pairs.size();
  plan.players.assign(2 * pairs, "");
  plan.handicaps.assign(2 * pairs, CellValue());
  for (size_t p = 0; p < pairs; ++p) {
    const auto& [first, second] = s.pairs[p];
    plan.players[p] = first.name;
    plan.players[p + pairs] = second.name;
    if (!first.name.empty()) plan.handicaps[p] = first.handicap / 100.0;
    if (!second.name.empty()) plan.handicaps[p + pairs] = second.handicap / 100.0;
  }
  for (int t = 1; t <= m.tables; ++t) {
    for (int r = 1; r <= m.tables; ++r) {
      plan.movementCards.push_back({static_cast<short>(t), static_cast<short>(m.EastWestAt(t, r)),
                                    static_cast<short>(m.SetAt(t, r))});
    }
  }
  return plan;
}

// The combined results of a session's sections as one file: tables and pairs numbered through
// (all North-South pairs first), every board's rows one section after another.
SessionPlan CombinedPlan(const Event& e, const std::vector<Section>& sections,
                         const std::vector<std::string>& names) {
  const int perSection = sections.front().movement.tables;
  const int tables = perSection * static_cast<int>(sections.size());
  Section all;
  all.movement = sections.front().movement;
  all.pairs.resize(2 * static_cast<size_t>(tables));
  auto renumber = [&](int k, int pair) {
    return pair <= perSection ? k * perSection + pair : tables + k * perSection + pair - perSection;
  };
  for (int k = 0; k < static_cast<int>(sections.size()); ++k) {
    for (int p = 1; p <= 2 * perSection; ++p)
      all.pairs[static_cast<size_t>(renumber(k, p) - 1)] = sections[k].pairs[p - 1];
  }
  SessionPlan plan = PlanFor(e, all, false);
  plan.rows = static_cast<short>(tables);
  plan.tables = static_cast<short>(tables);
  plan.pairs = static_cast<short>(2 * tables);
  plan.sectionCount = static_cast<short>(sections.size());
  plan.sectionNo = 0;
  plan.sectionNames = names;
  plan.travellers.clear();
  plan.movementCards.clear();
  for (int b = 1; b <= all.movement.Boards(); ++b) {
    for (int k = 0; k < static_cast<int>(sections.size()); ++k) {
      for (int r = 1; r <= perSection; ++r) {
        RowSpec row = sections[k].travellers.at(static_cast<size_t>((b - 1) * perSection + r - 1));
        row.ns = static_cast<short>(renumber(k, row.ns));
        row.ew = static_cast<short>(renumber(k, row.ew));
        plan.travellers.push_back(row);
      }
    }
  }
  for (int t = 1; t <= tables; ++t) {
    const int k = (t - 1) / perSection;
    const int local = (t - 1) % perSection + 1;
    for (int r = 1; r <= perSection; ++r) {
      const Mitchell& m = sections[k].movement;
      plan.movementCards.push_back({static_cast<short>(t),
                                    static_cast<short>(renumber(k, m.EastWestAt(local, r))),
                                    static_cast<short>(m.SetAt(local, r))});
    }
  }
  return plan;
}

// ---------------------------------------------------------------------------------------------
// Files.

void Write(const std::string& path, const std::string& bytes) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  out.close();
  if (!out) throw std::runtime_error("cannot write " + path);
}

// A figure the scorer keeps in single precision, to the two decimals the scoring program writes.
double Rounded(double value) {
  return std::round(value * 100) / 100;
}

// Writes the session as the scoring program leaves it: with the totals, percentages, positions
// and field averages that scoring it gives, so that the stored figures agree with the program's.
// A session the program could not read or score is a fault of this generator.
void WriteScoredSession(const std::string& path, SessionPlan plan, bool damageLineEnds = false) {
  Write(path, test::SessionText(plan));
  test::QuietPorts ports;
  Context ctx(ports.ports());
  Session s;
  const size_t dot = path.rfind('.');
  s.BasePath = path.substr(0, dot);
  s.Extension = path.substr(dot + 1);
  ReadSession(s, ctx);
  if (s.ReadFailed) throw std::runtime_error("the program cannot read " + path);
  if (s.PasswordState != 2) {
    ScoreSession(s, ctx);
    if (!s.ScoreOK) throw std::runtime_error("the program cannot score " + path);
    plan.pairResults.clear();
    for (int p = 1; p <= s.PairCount; ++p) {
      plan.pairResults.push_back(
          {Rounded(s.PairTotal(p)), Rounded(s.PairPercent(p)), s.PairPos(p), 0});
    }
    if (plan.wantHandicaps != 0) {
      plan.fieldAverages = {Rounded(s.FieldAverage(1).NumericValue()),
                            Rounded(s.FieldAverage(2).NumericValue())};
    }
  }
  if (ports.dialogs.messages != 0) throw std::runtime_error("messages while reading " + path);
  const std::string text = test::SessionText(plan);
  Write(path, damageLineEnds ? test::WithBareLineFeeds(text) : text);
}

// A hand-record file's deals: every card given to one of the four hands.
std::vector<std::array<int, 52>> Deal(int boards, Dice& dice) {
  std::vector<std::array<int, 52>> deals;
  for (int b = 0; b < boards; ++b) {
    std::array<int, 52> holder{};
    for (int c = 0; c < 52; ++c)
      holder[c] = c / 13;
    for (int i = 51; i > 0; --i)
      std::swap(holder[i], holder[dice.Below(i + 1)]);
    deals.push_back(holder);
  }
  return deals;
}

// Cards are numbered from 0 as 13 x suit (spades, hearts, diamonds, clubs) + rank (ace first);
// holders 0 to 3 are North, East, South and West.
std::string DlmText(const std::vector<std::array<int, 52>>& deals) {
  std::string out = "[Document]\r\nStatus=Show\r\nDuplicates=1\r\nFrom board=1\r\nTo board=" +
                    std::to_string(deals.size()) + "\r\n";
  for (size_t b = 0; b < deals.size(); ++b) {
    out += "Board " + std::string(b + 1 < 10 ? "0" : "") + std::to_string(b + 1) + "=";
    for (size_t k = 0; k < 26; ++k)
      out += static_cast<char>('a' + 4 * deals[b][2 * k] + deals[b][2 * k + 1]);
    out += "\r\n";
  }
  return out;
}

std::string PbnText(const Event& e, const std::vector<std::array<int, 52>>& deals) {
  static constexpr std::string_view kRanks = "AKQJT98765432";
  static constexpr std::string_view kHands = "NESW";
  static constexpr std::array<const char*, 4> kVulnerable{"None", "NS", "EW", "All"};
  std::string out = "% PBN 2.1\r\n% EXPORT\r\n";
  for (size_t b = 0; b < deals.size(); ++b) {
    const int board = static_cast<int>(b) + 1;
    const int vulnerable = (Vulnerable(board, true) ? 1 : 0) + (Vulnerable(board, false) ? 2 : 0);
    std::string deal = "N:";
    for (int hand = 0; hand < 4; ++hand) {
      if (hand > 0) deal += ' ';
      for (int suit = 0; suit < 4; ++suit) {
        if (suit > 0) deal += '.';
        for (int rank = 0; rank < 13; ++rank) {
          if (deals[b][13 * suit + rank] == hand) deal += kRanks[static_cast<size_t>(rank)];
        }
      }
    }
    out += "[Event \"" + e.name + "\"]\r\n[Date \"" + FormatDate(e.date, "yyyy.mm.dd") +
           "\"]\r\n[Board \"" + std::to_string(board) + "\"]\r\n[Dealer \"" +
           kHands[static_cast<size_t>((board - 1) % 4)] + "\"]\r\n[Vulnerable \"" +
           kVulnerable[static_cast<size_t>(vulnerable)] + "\"]\r\n[Deal \"" + deal + "\"]\r\n\r\n";
  }
  return out;
}

// Membersh.dat as the scoring program keeps it: member number, first name, surname, telephone,
// e-mail, date joined, handicap, and four fields of its own.
std::string MembershipFile() {
  MemberTable table;
  table.Records.DimFrom1(kMembers.size());
  for (short m = 1; m <= table.MemberCount(); ++m) {
    const Member& member = kMembers.at(static_cast<size_t>(m - 1));
    Array1<std::string>& f = table.Member(m).Fields;
    f(1) = std::to_string(100 + m);
    f(2) = member.first;
    f(3) = member.surname;
    f(4) = "01632 960" + std::to_string(100 + 7 * m);  // a range kept for fiction
    std::string mail = std::string(member.first) + "." + member.surname + "@example.org";
    std::transform(mail.begin(), mail.end(), mail.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    f(5) = mail;
    f(6) = FormatDate(MakeDate(2004 + m % 19, 1 + m % 12, 1 + m % 28), "dd/mm/yyyy");
    f(7) = NumberText(member.handicap / 100.0);
    f(8) = m % 5 == 0 ? "Life" : "Full";
    f(9) = "Y";
  }
  return MembershipFileText(table, MakeDate(2026, 1, 31));
}

std::string Readme(const std::vector<SampleFile>& files) {
  std::string out =
      "# The sample club\n"
      "\n"
      "A small invented club (34 members, two visitors) with February and March 2026 of its\n"
      "afternoon and evening sessions, for trying Pairgauge out: `scripts/run` copies this folder\n"
      "with the program into `build/sample-club-run/` and opens it there, so the files here stay\n"
      "as they are. Everyone in it is invented.\n"
      "\n"
      "Every file is made by `tools/sample-club` (do not edit them by hand; change the generator\n"
      "and run `build/tools/sample-club/make-sample-club examples/sample-club`). A test checks "
      "that\n"
      "the generator still makes exactly these bytes.\n"
      "\n"
      "| file | what it shows |\n"
      "|---|---|\n";
  for (const SampleFile& f : files)
    out += "| `" + f.path + "` | " + f.purpose + " |\n";
  return out;
}

}  // namespace

std::vector<SampleFile> WriteSampleClub(const std::string& folder) {
  std::vector<SampleFile> files;
  const std::string root = std::filesystem::path(folder).string() + "/";
  auto file = [&](const std::string& path, const std::string& purpose) {
    files.push_back({path, purpose});
    return root + path;
  };
  std::vector<Partnership> all;
  all.reserve(kPartnerships.size());
  for (int i = 0; i < static_cast<int>(kPartnerships.size()); ++i)
    all.push_back(Regular(i));
  // The partnerships of a session: all but those left out, plus any others.
  auto without = [&](std::initializer_list<int> absent, std::vector<Partnership> extra = {}) {
    std::vector<Partnership> pairs;
    for (int i = 0; i < static_cast<int>(all.size()); ++i) {
      if (std::find(absent.begin(), absent.end(), i + 1) == absent.end()) pairs.push_back(all[i]);
    }
    pairs.insert(pairs.end(), extra.begin(), extra.end());
    return pairs;
  };
  // One section of one session, the boards and the play drawn from the session's own seed.
  auto single = [&](const std::string& path, const std::string& purpose, const Event& e, Mitchell m,
                    std::vector<Partnership> pairs, bool oneWinner = false, bool phantom = false) {
    Dice dice(static_cast<std::uint64_t>(e.date.time_since_epoch().count()) * 2 + e.evening);
    const Section s = PlaySection(m, std::move(pairs), phantom, DrawBoards(m.Boards(), dice), dice);
    return std::pair{file(path, purpose), PlanFor(e, s, oneWinner)};
  };

  Write(file("Membersh.dat",
             "the membership file as the scoring program keeps it: 34 members, handicaps from -8.4 "
             "up to 6, the top of the range"),
        MembershipFile());

  const std::string aft = "Monday Afternoon Pairs";
  const std::string eve = "Thursday Evening Pairs";
  {
    auto [path, plan] = single(
        "RES2026/0202S1.AFT", "6 tables, two winners, played with handicaps (format 9.2)",
        {MakeDate(2026, 2, 2), false, aft, "9.2", true}, {6, 4}, without({2, 9, 11, 13, 17}));
    WriteScoredSession(path, plan);
  }
  {
    auto [path, plan] = single(
        "RES2026/0205S1.EVE",
        "5 tables, one winner (an arrow-switched Mitchell), no handicaps: the program works out "
        "the average itself",
        {MakeDate(2026, 2, 5), true, eve, "9.2", false}, {5, 4, true},
        without({1, 3, 5, 7, 10, 12, 15}), true);
    WriteScoredSession(path, plan);
  }
  {
    auto [path, plan] =
        single("RES2026/0209S1.AFT",
               "6 1/2 tables: a sit-out pair, neither averaged nor adjusted; the visitor Frances "
               "Gledhill, with the handicap the session recorded, partners Valerie Oakes",
               {MakeDate(2026, 2, 9), false, aft, "9.2", true}, {7, 3},
               without({4, 10, 16, 17, 14}, {{MemberPlayer(19), kGledhill}}), false, true);
    WriteScoredSession(path, plan);
  }
  {
    auto [path, plan] = single(
        "RES2026/0216S1.AFT",
        "no handicaps, so the update asks for the handicap of the visitor Martin Ibbotson "
        "(Keith Ormerod's partner); an Ave+/Ave- board, a plain Ave and a weighted split score",
        {MakeDate(2026, 2, 16), false, aft, "9.2", false}, {6, 4},
        without({1, 3, 6, 8, 12, 16}, {{MemberPlayer(30), kIbbotson}}));
    // Board 5 was not played at the second table, East-West's fault; board 13 not at the fourth,
    // nobody's; board 8 at the third was given 60 % of 4S made and 40 % of 4S one off.
    RowSpec& avePlus = plan.travellers.at(4 * 6 + 1);
    avePlus.nsScore = 9003;
    avePlus.ewScore = 9001;
    RowSpec& ave = plan.travellers.at(12 * 6 + 3);
    ave.nsScore = 9002;
    ave.ewScore = 9002;
    RowSpec& split = plan.travellers.at(7 * 6 + 2);
    split.nsScore = 9101;
    split.ewScore = 9102;
    for (int side = 1; side <= 2; ++side) {
      std::array<CellValue, 13> entry;
      entry.fill(0);
      entry[0] = 8;
      entry[1] = 3;
      entry[2] = side;
      entry[3] = 60;
      entry[4] = 40;
      const bool vulnerable = Vulnerable(8, true);
      entry[8] = (side == 1 ? 1 : -1) * DuplicateScore({4, 'S'}, 0, vulnerable, 10);
      entry[9] = (side == 1 ? 1 : -1) * DuplicateScore({4, 'S'}, 0, vulnerable, 9);
      plan.splitScores.push_back(entry);
    }
    WriteScoredSession(path, plan);
  }
  {
    auto [path, plan] = single(
        "RES2026/0219S1.EVE",
        "5 tables with handicaps; board 9 was fouled from the third round on, so its rows are "
        "scored as two separate groups",
        {MakeDate(2026, 2, 19), true, eve, "9.2", true}, {5, 4}, without({2, 5, 8, 9, 12, 14, 17}));
    Dice dice(219);
    const BoardDeal other = DrawBoard(dice);
    for (int r = 3; r <= 5; ++r) {
      RowSpec& row = plan.travellers.at(8 * 5 + r - 1);
      row.text[0] = "F";
      const int score = TableScore(other, 9, dice.Between(-60, 60), dice);
      row.nsScore = score;
      row.ewScore = -score;
    }
    WriteScoredSession(path, plan);
  }
  {
    auto [path, plan] = single(
        "RES2026/0223S1.AFT",
        "damaged line ends (bare line feeds, as a careless copy leaves them): the program repairs "
        "it on first reading and keeps the original as 0223S1.AFX",
        {MakeDate(2026, 2, 23), false, aft, "9.2", true}, {6, 4}, without({3, 6, 10, 13, 15}));
    WriteScoredSession(path, plan, true);
  }
  {
    auto [path, plan] = single("RES2026/0226S1.EVE",
                               "an Aggregate session: listed among the sessions to be IGNORED",
                               {MakeDate(2026, 2, 26), true, "Aggregate Pairs", "9.2", false},
                               {5, 4}, without({1, 4, 7, 11, 13, 16, 17}));
    plan.scoringType = "Aggregate";
    WriteScoredSession(path, plan);
  }

  Dice hands(2026);
  {
    const Event e{MakeDate(2026, 3, 2), false, aft, "9.3", true};
    auto [path, plan] = single(
        "RES2026/0302S1.AFT",
        "7 tables with handicaps; names the hand-record file C:\\Quorell\\RES2026\\0302.dlm, "
        "which is found beside the session wherever the club is copied",
        e, {7, 4}, without({5, 9, 17}));
    Write(file("RES2026/0302.dlm", "the deals of 2 March, as a dealing program writes them"),
          DlmText(Deal(28, hands)));
    plan.handRecordFile = "C:\\Quorell\\RES2026\\0302.dlm";
    WriteScoredSession(path, plan);
  }
  {
    auto [path, plan] = single("RES2026/0305S1.EVE", "4 tables, two winners, no handicaps",
                               {MakeDate(2026, 3, 5), true, eve, "9.3", false}, {4, 6},
                               without({1, 2, 3, 4, 6, 8, 10, 12, 14}));
    WriteScoredSession(path, plan);
  }
  {
    const Event e{MakeDate(2026, 3, 9), false, aft, "9.3", true};
    auto [path, plan] =
        single("RES2026/0309S1.AFT",
               "6 tables with handicaps; names the hand-record file C:\\Quorell\\RES2026\\0309.pbn",
               e, {6, 4}, without({7, 11, 12, 16, 17}));
    Write(file("RES2026/0309.pbn", "the deals of 9 March in the other format"),
          PbnText(e, Deal(24, hands)));
    plan.handRecordFile = "C:\\Quorell\\RES2026\\0309.pbn";
    WriteScoredSession(path, plan);
  }
  {
    auto [path, plan] =
        single("RES2026/0312S1.EVE",
               "the Committee Cup, password protected: listed among the sessions to be IGNORED",
               {MakeDate(2026, 3, 12), true, "Committee Cup", "9.3", false}, {4, 6},
               without({2, 3, 5, 6, 9, 10, 13, 15, 17}));
    plan.passwordState = 2;
    WriteScoredSession(path, plan);
  }
  {
    // The Spring Pairs: every member and both visitors, three sections of three tables playing
    // the same boards.
    const Event e{MakeDate(2026, 3, 14), false, "Spring Pairs", "9.3", true};
    const std::vector<std::string> names{"Red", "Blue", "Green"};
    Dice dice(20260314);
    const Mitchell m{3, 8};
    const std::vector<BoardDeal> deals = DrawBoards(m.Boards(), dice);
    std::vector<Partnership> everyone = without({}, {{kGledhill, kIbbotson}});
    std::vector<Section> sections;
    for (size_t k = 0; k < names.size(); ++k) {
      std::vector<Partnership> pairs(everyone.begin() + static_cast<long>(6 * k),
                                     everyone.begin() + static_cast<long>(6 * k + 6));
      sections.push_back(PlaySection(m, pairs, false, deals, dice));
    }
    for (size_t k = 0; k < names.size(); ++k) {
      SessionPlan plan = PlanFor(e, sections[k], false);
      plan.sectionCount = 3;
      plan.sectionNo = static_cast<short>(k + 1);
      plan.sectionNames = names;
      const std::string path = file("RES2026/0314S" + std::to_string(k + 1) + ".AFT",
                                    "Saturday's Spring Pairs, section " + std::to_string(k + 1) +
                                        " (" + names[k] + "): not listed, as the combined file is");
      WriteScoredSession(path, plan);
    }
    WriteScoredSession(file("RES2026/0314S0.AFT",
                            "the three sections combined, with handicaps: the one line the update "
                            "lists for Saturday (\"3 sections combined\"); both visitors play"),
                       CombinedPlan(e, sections, names));
  }
  {
    auto [path, plan] = single("RES2026/0316S1.AFT", "6 tables, no handicaps",
                               {MakeDate(2026, 3, 16), false, aft, "9.3", false}, {6, 4},
                               without({4, 8, 13, 14, 15}));
    WriteScoredSession(path, plan);
  }
  {
    auto [path, plan] = single("RES2026/0319S1.EVE", "5 tables, one winner, with handicaps",
                               {MakeDate(2026, 3, 19), true, eve, "9.3", true}, {5, 4, true},
                               without({2, 6, 9, 11, 13, 15, 16}), true);
    WriteScoredSession(path, plan);
  }
  {
    auto [path, plan] =
        single("RES2026/0323S1.AFT", "7 tables with handicaps",
               {MakeDate(2026, 3, 23), false, aft, "9.3", true}, {7, 3}, without({3, 12, 17}));
    WriteScoredSession(path, plan);
  }
  {
    auto [path, plan] = single(
        "RES2026/0330S1.AFT", "6 tables with handicaps: the last session of the sample",
        {MakeDate(2026, 3, 30), false, aft, "9.3", true}, {6, 4}, without({1, 5, 10, 14, 16}));
    WriteScoredSession(path, plan);
  }
  const std::string readme = file("README.md", "this table");
  Write(readme, Readme(files));
  return files;
}

}  // namespace pg::sample
