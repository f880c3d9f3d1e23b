#pragma once

#include <string>
#include <vector>

#include "base/Date.h"
#include "support/SessionWriter.h"

namespace pg::bench {

// A season as a club playing handicapped events has it: 99 days of afternoons of three sections
// of 15 tables with their combined file, and a membership file of 2,000 members.
inline constexpr int kDays = 99;
inline constexpr int kMembers = 2000;
inline constexpr int kTables = 15;
inline constexpr short kSections = 3;
inline const Date kFirstDay = MakeDate(2026, 6, 1);

// A 27-board session of `tables` tables, its players mostly members of the season's club (one in
// twenty a visitor), every player's handicap stored. A sectionCount of 1 makes a single section.
test::SessionPlan ClubSession(Date day, int tables, short sectionCount, short sectionNo, int seed);

// The files of a season written into a club's data folder.
struct SeasonFiles {
  std::vector<std::string> opened;  // what opening the update window reads: section 1, combined
  std::vector<std::string> run;     // what the update run reads: the combined files, the members
};

// Writes the season under dataFolder (which must exist), as Context::SetFolders names its parts.
SeasonFiles WriteSeason(const std::string& dataFolder);

// The peak and the present resident memory of this process, in kilobytes (Linux).
struct ResidentMemory {
  long peakKB = 0;
  long nowKB = 0;
};
ResidentMemory ReadResidentMemory();

}  // namespace pg::bench
