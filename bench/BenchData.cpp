#include "BenchData.h"

#include <filesystem>
#include <fstream>

#include "base/Context.h"
#include "base/Files.h"
#include "support/QuietPorts.h"

namespace pg::bench {
namespace {

std::string MemberName(int m) {
  return "First" + std::to_string(m) + " Surname" + std::to_string(m);
}

}  // namespace

test::SessionPlan ClubSession(Date day, int tables, short sectionCount, short sectionNo, int seed) {
  test::SessionPlan plan;
  plan.date = day;
  plan.sectionCount = sectionCount;
  plan.sectionNo = sectionNo;
  plan.sectionNames = {"red", "green", "blue"};
  plan.tables = static_cast<short>(tables);
  plan.pairs = static_cast<short>(2 * tables);
  plan.rows = static_cast<short>(tables);
  plan.rounds = 9;
  plan.boardsPerRound = 3;
  plan.roundsPlayed = 9;
  plan.movementName = "Mitchell " + std::to_string(tables);
  plan.wantHandicaps = 1;
  for (int p = 0; p < 4 * tables; ++p) {
    const int m = (seed * 131 + p * 37) % kMembers + 1;
    plan.players.push_back(p % 20 == 19 ? "Visitor " + std::to_string(p) : MemberName(m));
    plan.handicaps.emplace_back((m % 17) * 0.5 - 4);
  }
  return plan;
}

SeasonFiles WriteSeason(const std::string& dataFolder) {
  test::QuietPorts ports;
  Context ctx(ports.ports());
  ctx.SetFolders(dataFolder);
  std::filesystem::create_directories(ctx.ResultsRoot + "2026");
  SeasonFiles files;
  for (int d = 0; d < kDays; ++d) {
    const Date day = kFirstDay + std::chrono::days{d};
    const std::string base =
        ctx.ResultsRoot + FormatDate(day, "yyyy") + "/" + FormatDate(day, "mmdd") + "S";
    for (short k = 1; k <= kSections; ++k) {
      test::WriteSession(base + std::to_string(k) + ".AFT",
                         ClubSession(day, kTables, kSections, k, d * 4 + k));
    }
    test::WriteSession(base + "0.AFT", ClubSession(day, kSections * kTables, kSections, 0, d * 4));
    files.opened.push_back(base + "1.AFT");
    files.opened.push_back(base + "0.AFT");
    files.run.push_back(base + "0.AFT");
  }
  // The window describes its first line, the first day's combined file, as it opens: section 1
  // for the count of sections, then the line's own file.
  files.opened.push_back(files.opened[0]);
  files.opened.push_back(files.opened[1]);
  std::string members = " " + std::to_string(kMembers) + "          11           01/06/26\r\n";
  for (int m = 1; m <= kMembers; ++m) {
    members += std::to_string(m) + ",First" + std::to_string(m) + ",Surname" + std::to_string(m) +
               ",,,F," + std::to_string(m % 13 - 6) + ".5,Y,,,0\r\n";
  }
  FileError error;
  ReplaceFile(ctx.MemberFile, members, error);
  files.run.push_back(ctx.MemberFile);
  return files;
}

ResidentMemory ReadResidentMemory() {
  ResidentMemory memory;
  std::ifstream status("/proc/self/status");
  std::string key;
  while (status >> key) {
    if (key == "VmHWM:") status >> memory.peakKB;
    if (key == "VmRSS:") status >> memory.nowKB;
  }
  return memory;
}

}  // namespace pg::bench
