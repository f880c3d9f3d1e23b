#pragma once

#include <cstdint>
#include <string>

#include "base/Date.h"

namespace pg {

// What an update run must leave behind so that it can be replayed exactly later: which files it
// used, in its order, and what it was told at the visitor prompt. The run fills them into its
// outputs, the save writes them into the history, and the replay reads them back.

// One session an update applied: the keys its file is named by, the file's name in its year's
// folder as the run found it, and the fingerprint (FNV-1a, 64 bits) of the bytes it read.
struct UsedSession {
  Date day{};
  short timeOfDay = 1;  // 1 afternoon, 2 evening
  short sectionNo = 1;  // 0 the combined results of all sections
  std::string file;     // "0302S1.AFT"
  std::uint64_t fingerprint = 0;

  bool SameSession(Date d, short time, short section) const {
    return day == d && timeOfDay == time && sectionNo == section;
  }
};

// A handicap typed at the visitor prompt, with the session it was asked for.
struct VisitorHandicap {
  Date day{};
  short timeOfDay = 1;
  short sectionNo = 1;
  std::string name;
  double handicap = 0;
};

// A member whose new handicap the review window corrected by hand, with the one the run gave.
struct HandCorrection {
  short number = 0;
  std::string name;
  double run = 0;
};

}  // namespace pg
