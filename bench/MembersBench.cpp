#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/Files.h"
#include "base/Parameters.h"
#include "review/Members.h"
#include "support/QuietPorts.h"

namespace {

constexpr int kMembers = 10000;

// A club of kMembers members in a fresh folder, its Membersh.dat written as the program writes it.
struct Club {
  Club() : context(ports.ports()) {
    std::string pattern = (std::filesystem::temp_directory_path() / "pg-bench-XXXXXX").string();
    folder = ::mkdtemp(pattern.data());
    context.SetFolders(folder);
    std::filesystem::create_directory(context.HandicapFolder);
    std::string file = " " + std::to_string(kMembers) + "          11           01/07/13\r\n";
    for (int m = 1; m <= kMembers; ++m) {
      file += std::to_string(m) + ",First" + std::to_string(m) + ",Surname" + std::to_string(m) +
              ",01632 960" + std::to_string(m % 1000) + ",member" + std::to_string(m) +
              "@example.org,F," + std::to_string(m % 19 - 12) + ".25,Y,,12/03/2001,0\r\n";
    }
    pg::FileError error;
    pg::ReplaceFile(context.MemberFile, file, error);
  }
  ~Club() { std::filesystem::remove_all(folder); }

  std::string folder;
  pg::test::QuietPorts ports;
  pg::Context context;
};

void BM_LoadMembers(benchmark::State& state) {
  Club club;
  pg::MemberTable table;
  for (auto _ : state) {
    pg::LoadMembers(table, club.context);
    benchmark::DoNotOptimize(table.MemberCount());
  }
  if (club.context.Cancelled) state.SkipWithError("load failed");
  state.SetItemsProcessed(state.iterations() * kMembers);
}
BENCHMARK(BM_LoadMembers)->Unit(benchmark::kMillisecond);

void BM_ReadMembershipFileBytes(benchmark::State& state) {
  Club club;
  for (auto _ : state)
    benchmark::DoNotOptimize(pg::ReadFileBytes(club.context.MemberFile));
  state.SetItemsProcessed(state.iterations() * kMembers);
}
BENCHMARK(BM_ReadMembershipFileBytes)->Unit(benchmark::kMillisecond);

// The club's members, each with a new handicap a little below the old one.
pg::MemberTable WithNewHandicaps(Club& club) {
  pg::MemberTable table;
  pg::LoadMembers(table, club.context);
  for (short m = 1; m <= table.MemberCount(); ++m)
    table.Member(m).EndHandicap = table.Member(m).StartHandicap - 0.01 * (m % 7);
  return table;
}

// The whole save as the user waits for it, saved again as in a review's correction: the files
// read again and the handicaps put onto Membersh.dat as it is, the journal, the history files,
// Membersh.dat and Handicap.ini, each flushed to disk, and the journal removed.
void BM_SaveHandicaps(benchmark::State& state) {
  Club club;
  pg::MemberTable table = WithNewHandicaps(club);
  bool unsaved = true;
  for (auto _ : state) {
    unsaved = true;
    pg::SaveHandicaps(table, club.context, pg::MakeDate(2013, 7, 5), unsaved);
  }
  if (unsaved) state.SkipWithError("save failed");
  state.SetItemsProcessed(state.iterations() * kMembers);
}
BENCHMARK(BM_SaveHandicaps)->Unit(benchmark::kMillisecond);

// What the save writes, written as it writes it (each file whole, flushed) but without working
// any of it out: the journal with what the files held, the history files, Membersh.dat and
// Handicap.ini, with the bytes a save left in them, and the journal removed.
void BM_WriteBytesOfTheSave(benchmark::State& state) {
  Club club;
  pg::MemberTable table = WithNewHandicaps(club);
  bool unsaved = true;
  pg::SaveHandicaps(table, club.context, pg::MakeDate(2013, 7, 5), unsaved);
  const std::string& handicaps = club.context.HandicapFolder;
  std::vector<std::pair<std::string, std::string>> files;
  std::string journal;
  for (const std::string& path :
       {pg::HistoryFileName(handicaps, pg::MakeDate(2013, 7, 5)), club.context.MemberFile,
        handicaps + "History.csv", handicaps + pg::kParameterFileName}) {
    std::optional<std::string> bytes = pg::ReadFileBytes(path);
    if (!bytes || unsaved) {
      state.SkipWithError("the save did not write its files");
      return;
    }
    journal += *bytes;
    files.emplace_back(path, std::move(*bytes));
  }
  const std::string journalPath = handicaps + "Rollback.journal";
  for (auto _ : state) {
    pg::FileError error;
    pg::ReplaceFile(journalPath, journal, error);
    for (const auto& [path, bytes] : files)
      pg::ReplaceFile(path, bytes, error);
    pg::DeleteFile(journalPath, error);
  }
  state.SetItemsProcessed(state.iterations() * kMembers);
}
BENCHMARK(BM_WriteBytesOfTheSave)->Unit(benchmark::kMillisecond);

// The same save without the disk: the text of both files.
void BM_MembershipText(benchmark::State& state) {
  Club club;
  pg::MemberTable table;
  pg::LoadMembers(table, club.context);
  for (auto _ : state) {
    benchmark::DoNotOptimize(pg::MembershipFileText(table, pg::MakeDate(2013, 7, 5)));
    benchmark::DoNotOptimize(pg::HistoryFileText(table));
  }
  state.SetItemsProcessed(state.iterations() * kMembers);
}
BENCHMARK(BM_MembershipText)->Unit(benchmark::kMillisecond);

}  // namespace
