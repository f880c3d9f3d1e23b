#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "base/Context.h"
#include "base/Date.h"
#include "session/Session.h"
#include "session/SessionFile.h"

namespace pg {

// The update window's name: the error-report name of everything the update run does.
inline constexpr const char* kUpdateWindowName = "frmUpdate";

// The listing stops at the end of the first day on which it reached this many sessions; later
// days are found by the next update.
inline constexpr int kMostListed = 99;

// One line of the update window's lists. The line keeps the keys of the session it stands for
// beside the text the list shows, so that no caption (a section called "afternoon tea") can make
// it stand for another file.
struct CatalogueLine {
  std::string Text;     // "01. 25 September 2006 - Monday afternoon : Section 2 (blue)"
  Date Day{};           // the day the file is named for
  short TimeOfDay = 1;  // 1 afternoon, 2 evening
  short SectionNo = 1;  // 0 the combined results of all sections
};

// Index 0: sessions to be used for updating handicaps; 1: sessions to be ignored.
using CatalogueLists = std::array<std::vector<CatalogueLine>, 2>;

// How a listing may differ from the update window's: a replay of a saved update lists the days
// that update could have used, as they were then, and writes nothing.
struct ListingOptions {
  // The last day to list, instead of yesterday.
  std::optional<Date> through;
  // Whether a session still within the correction period of today is refused.
  bool correctionPeriod = true;
  ReadOptions read;
};

// Lists every afternoon and evening session file from start up to yesterday (today is never
// scanned): one line per section, or one for the combined file of a session that has one. Usable
// sessions go to lists[0], the others to lists[1]. Reads and scores every file it lists into s.
void GetOldFiles(Session& s, Context& ctx, Date start, CatalogueLists& lists,
                 const ListingOptions& options = {});

// Sets TimeOfDay, SectionNo, BasePath and Extension for the line's file and returns the line's
// date as the list writes it, with its trailing blank ("25 September 2006 ").
std::string GetFileName(Session& s, Context& ctx, const CatalogueLine& line);

// Why the session just read into s (ReadFailed clear) cannot be used for handicaps, as the
// message that refuses it, or nothing when it can. Scores the session when the header allows.
// The correction period, counted back from today to day, is tested only when asked.
std::optional<std::string> WhyUnusable(Session& s, Context& ctx, Date day, bool correctionPeriod);

// A chosen line's session, read afresh and judged as the listing judged it.
struct ChosenSession {
  bool usable = false;
  bool readFailed = false;  // the reader has already said why
  std::string refusal;      // otherwise, why it cannot be used, as the message that says so
  Icon icon = Icon::None;
};

// Reads the file of a chosen line into s and says whether it can be used for handicaps: its file
// must still be there (and its folder readable), read whole and pass WhyUnusable. The move into
// the list to be used and the update run both judge a line by this, in the same words.
ChosenSession CheckChosenSession(Session& s, Context& ctx, const CatalogueLine& line,
                                 bool correctionPeriod, const ReadOptions& read = {});

// Reads the file of the selected line and tells whether it may go into the list of sessions to
// be used, showing the message that refuses it otherwise.
bool MayUse(Session& s, Context& ctx, const CatalogueLine& line);

// Whether the session file holds its players' handicaps: only files of 8.7 and later store them.
// Older files keep the handicap flag of whatever was read before them, or may set it without
// storing a handicap, so they count as sessions without handicaps.
bool CarriesHandicaps(const Session& s);

inline constexpr const char* kNoScoresEnteredText = "Scores have not been entered for this session";
inline constexpr const char* kPasswordProtectedText = "Password protected file";

}  // namespace pg
