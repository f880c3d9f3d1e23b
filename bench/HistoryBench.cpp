#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>

#include "base/Files.h"
#include "base/Numbers.h"
#include "history/HistoryDialog.h"
#include "support/QuietPorts.h"

namespace {

constexpr int kYears = 20;
constexpr int kMembers = 300;
// Every member line of the history, the items each benchmark counts.
constexpr std::int64_t kMemberLines = std::int64_t{kYears} * 12 * kMembers;
constexpr int kSessions = 8;  // a month of afternoons and evenings; each member plays half

// A club that has updated every month for twenty years with this program: 300 members, the
// History.csv of 240 updates, and beside it what every save leaves, the .han file and the two
// copies.
struct Club {
  Club() : context(ports.ports()) {
    std::string pattern = (std::filesystem::temp_directory_path() / "pg-bench-XXXXXX").string();
    folder = ::mkdtemp(pattern.data());
    context.SetFolders(folder + "/");
    std::filesystem::create_directory(context.HandicapFolder);
    std::string members = " " + std::to_string(kMembers) + "          11           30/12/24\r\n";
    for (int m = 1; m <= kMembers; ++m)
      members += std::to_string(m) + ",First" + std::to_string(m) + ",Surname" + std::to_string(m) +
                 ",,,F," + std::to_string(m % 19 - 12) + ".25,Y,,,\r\n";
    pg::FileError error;
    pg::ReplaceFile(context.MemberFile, members, error);

    std::string history = pg::HistoryHeadingLine();
    std::vector<double> handicap(kMembers);
    for (int m = 0; m < kMembers; ++m)
      handicap[static_cast<size_t>(m)] = m % 19 - 12 + 0.25;
    pg::Date day = pg::MakeDate(2006, 1, 30);
    for (int u = 0; u < kYears * 12; ++u) {
      pg::HistoryEntry entry;
      entry.lastSession = day;
      entry.saved = day + std::chrono::days{7};
      entry.membership = pg::WrittenFile{0x0123456789abcdefULL + u, 21000,
                                         pg::KeptFile{"Membersh-x.bak", 0x1111ULL * u, 20990}};
      entry.parameters = pg::WrittenFile{0xfedcba9876543210ULL - u, 98,
                                         pg::KeptFile{"Handicap-x.bak", 0x2222ULL * u, 98}};
      for (int s = 0; s < kSessions; ++s)
        entry.sessionLabels.push_back(
            pg::FormatDate(day - std::chrono::days{3 * (kSessions - s)}, "ddd dd/mm/yy") +
            (s % 2 == 0 ? " aft" : " eve"));
      std::string han = std::to_string(kMembers) + "\r\n";
      for (short m = 1; m <= kMembers; ++m) {
        pg::HistoryMember& member = entry.members.emplace_back();
        member.number = m;
        member.name = "First" + std::to_string(m) + " Surname" + std::to_string(m);
        double& h = handicap[static_cast<size_t>(m - 1)];
        member.before = h;
        for (short s = (m + u) % 2; s < kSessions; s += 2) {
          const double adjustment = ((m * 7 + s * 3 + u) % 21 - 10) / 20.0;
          member.sessions.push_back({s, 50 + adjustment * 10, 50.5, adjustment});
          h = std::clamp(h + adjustment, -12.0, 6.0);
        }
        member.after = h;
        han += pg::NumberText(h) + "\r\n";
      }
      history += pg::HistoryEntryText(entry);
      const std::string tag = pg::FormatDate(day, "yymmdd");
      pg::ReplaceFile(context.HandicapFolder + tag + ".han", han, error);
      pg::ReplaceFile(context.HandicapFolder + "Membersh-" + tag + ".bak", members, error);
      pg::ReplaceFile(context.HandicapFolder + "Handicap-" + tag + ".bak", "x", error);
      context.Parameters.LastUpdated = pg::FormatDate(day, "dd mmmm yyyy ");
      day += std::chrono::days{28};
    }
    pg::ReplaceFile(context.HandicapFolder + pg::kHistoryFileName, history, error);
  }
  ~Club() { std::filesystem::remove_all(folder); }

  std::string folder;
  pg::test::QuietPorts ports;
  pg::Context context;
};

// Opening the History window: the membership file, History.csv, the folder's listing, the
// members' list and the first member's chart and updates.
void BM_OpenHistoryWindow20Years300Members(benchmark::State& state) {
  Club club;
  for (auto _ : state) {
    pg::HistoryDialog window(club.context);
    benchmark::DoNotOptimize(window.updates().rows.size());
    if (window.history().updates.size() != static_cast<size_t>(kYears) * 12)
      state.SkipWithError("not every update");
  }
  if (club.ports.dialogs.messages != 0) state.SkipWithError("the window told of a fault");
  state.SetItemsProcessed(state.iterations() * kMemberLines);
}
BENCHMARK(BM_OpenHistoryWindow20Years300Members)->Unit(benchmark::kMillisecond);

// What an update run adds before its first session: History.csv read and searched for the
// handicaps typed for visitors, which the prompt offers (a visitor or two in every update).
void BM_LastVisitorHandicapsOf20Years(benchmark::State& state) {
  Club club;
  const std::string csv = club.context.HandicapFolder + pg::kHistoryFileName;
  std::string history = *pg::ReadFileBytes(csv);
  for (int u = 0; u < kYears * 12; u += 1)
    history += pg::FormatDate(pg::MakeDate(2006, 1, 30) + std::chrono::days{28 * u}, "yyyy-mm-dd") +
               ",\"Visitor\",2006-01-27,\"afternoon\",1,\"Val Visitor\",3\r\n";
  pg::FileError error;
  pg::ReplaceFile(csv, history, error);
  for (auto _ : state) {
    const auto text = pg::ReadFileBytes(csv);
    const auto visitors = pg::LastVisitorHandicaps(*text, std::nullopt);
    if (visitors.size() != 1) state.SkipWithError("not the visitor");
  }
}
BENCHMARK(BM_LastVisitorHandicapsOf20Years)->Unit(benchmark::kMillisecond);

// The same bytes merely read: History.csv and Membersh.dat.
void BM_ReadBytesOfTheHistory(benchmark::State& state) {
  Club club;
  size_t bytes = 0;
  for (auto _ : state) {
    const auto history = pg::ReadFileBytes(club.context.HandicapFolder + pg::kHistoryFileName);
    const auto members = pg::ReadFileBytes(club.context.MemberFile);
    bytes = history.value_or("").size() + members.value_or("").size();
    benchmark::DoNotOptimize(bytes);
  }
  state.counters["bytes"] = static_cast<double>(bytes);
  state.SetItemsProcessed(state.iterations() * kMemberLines);
}
BENCHMARK(BM_ReadBytesOfTheHistory)->Unit(benchmark::kMillisecond);

}  // namespace
