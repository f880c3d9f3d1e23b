#include "update/Catalogue.h"

#include <algorithm>

#include "base/Files.h"
#include "base/Guard.h"
#include "base/Numbers.h"
#include "scoring/Scoring.h"
#include "session/SessionFile.h"

namespace pg {
namespace {

// Sections are lettered A to Z by the scoring program; a damaged count must not send the
// catalogue looking for thousands of files.
constexpr short kMostSections = 26;

void PointAt(Session& s, Context& ctx, Date day, short timeOfDay, short sectionNo) {
  s.TimeOfDay = timeOfDay;
  s.SectionNo = sectionNo;
  MakeSessionFileName(s, ctx, CellValue(day));
}

std::string LineText(int count, Date day, short timeOfDay, short sectionNo, short sections,
                     const Session& s) {
  std::string text = FormatNumber(count, "00. ") + FormatDate(day, "dd mmmm yyyy") + " - " +
                     FormatDate(day, "dddd") + (timeOfDay == 1 ? " afternoon" : " evening");
  if (sections >= 2) {
    if (sectionNo == 0) {
      text += " : " + std::to_string(sections) + " sections combined";
    } else {
      text += " : Section " + std::to_string(sectionNo) + " (" + s.SectionNames(sectionNo) + ")";
    }
  }
  return text;
}

// One afternoon or evening of one day: its combined file, or each of its sections. Whether a
// file is there comes from the scan's listing of its year's folder. False when that folder could
// not be read: the scan says so and stops there.
bool ListTimeOfDay(Session& s, Context& ctx, Date day, short timeOfDay, int& count,
                   CatalogueLists& lists, FileFinder& files, const ListingOptions& options) {
  bool unreadable = false;
  const auto exists = [&] {
    FileError error;
    if (files.Find(SessionFileName(s), &error)) return true;
    if (error.number != 0 && !unreadable) {
      unreadable = true;
      ctx.dialogs().Message(CannotReadFolderText(SessionFileName(s), error), Buttons::OK,
                            Icon::Warning);
    }
    return false;
  };
  PointAt(s, ctx, day, timeOfDay, 1);
  if (!exists()) return !unreadable;
  // A file that fails before its section count must not take another session's count.
  s.SectionCount = 1;
  ReadSession(s, ctx, options.read);
  const short sections = std::clamp<short>(s.SectionCount, 1, kMostSections);

  std::vector<short> listed;
  if (sections >= 2) {
    PointAt(s, ctx, day, timeOfDay, 0);
    if (exists()) listed.push_back(0);
  }
  if (listed.empty()) {
    for (short k = 1; k <= sections; ++k)
      listed.push_back(k);
  }
  // Section 1 was read a moment ago to learn the count, and nothing has been read since.
  bool sectionOneLoaded = true;
  for (short k : listed) {
    PointAt(s, ctx, day, timeOfDay, k);
    if (!exists()) continue;
    if (k != 1 || !sectionOneLoaded) ReadSession(s, ctx, options.read);
    sectionOneLoaded = false;
    const bool usable = !s.ReadFailed && !WhyUnusable(s, ctx, day, options.correctionPeriod);
    ++count;
    lists[usable ? 0 : 1].push_back(
        {LineText(count, day, timeOfDay, k, sections, s), day, timeOfDay, k});
  }
  return !unreadable;
}

}  // namespace

void GetOldFiles(Session& s, Context& ctx, Date start, CatalogueLists& lists,
                 const ListingOptions& options) {
  Guard guard(ctx.dialogs(), kUpdateWindowName);
  lists[0].clear();
  lists[1].clear();
  const Date today =
      options.through ? *options.through + std::chrono::days{1} : ctx.ports.clock.Today();
  int count = 0;
  FileFinder files;
  // A day that could not be looked at ends the listing as the count does, so that no later
  // session is listed: an update of later days would move the date of the last update past
  // sessions it never saw.
  bool readable = true;
  // The count is tested only between days, so that a day's sessions are listed together.
  for (Date day = start; readable && day < today && count < kMostListed;
       day += std::chrono::days{1}) {
    for (short timeOfDay = 1; readable && timeOfDay <= 2; ++timeOfDay)
      guard.Step(100, [&] {
        readable = ListTimeOfDay(s, ctx, day, timeOfDay, count, lists, files, options);
      });
  }
}

std::string GetFileName(Session& s, Context& ctx, const CatalogueLine& line) {
  PointAt(s, ctx, line.Day, line.TimeOfDay, line.SectionNo);
  return FormatDate(line.Day, "dd mmmm yyyy") + " ";
}

std::optional<std::string> WhyUnusable(Session& s, Context& ctx, Date day, bool correctionPeriod) {
  // A read that stopped before the movement leaves the previous session's travellers and
  // scoring type in the record: nothing more of it may be looked at.
  if (s.RoundCount < 1) return kNoScoresEnteredText;
  if (s.ScoringType != "Pairs")
    return "Cannot use this session because it is " + s.ScoringType + " scoring";
  if (s.PasswordState == 2) return kPasswordProtectedText;
  ScoreSession(s, ctx, 0);
  if (!s.ScoreOK) return kNoScoresEnteredText;
  const short days = ctx.Parameters.CorrectionDays;
  if (correctionPeriod && (ctx.ports.clock.Today() - day).count() <= days) {
    return "Cannot use sessions within your specified correction period of " +
           std::to_string(days) + " days";
  }
  return std::nullopt;
}

ChosenSession CheckChosenSession(Session& s, Context& ctx, const CatalogueLine& line,
                                 bool correctionPeriod, const ReadOptions& read) {
  ChosenSession check;
  GetFileName(s, ctx, line);
  const std::string file = SessionFileName(s);
  FileError error;
  if (!FindSessionFile(s, &error)) {
    if (error.number != 0) {
      check.refusal = CannotReadFolderText(file, error);
      check.icon = Icon::Warning;
    } else {
      check.refusal = "The file " + file + " no longer exists";
    }
    return check;
  }
  ReadSession(s, ctx, read);
  // The reader has said why it could not read the file.
  check.readFailed = s.ReadFailed;
  if (check.readFailed) return check;
  if (auto why = WhyUnusable(s, ctx, line.Day, correctionPeriod)) {
    check.refusal = std::move(*why);
  } else {
    check.usable = true;
  }
  return check;
}

bool MayUse(Session& s, Context& ctx, const CatalogueLine& line) {
  const ChosenSession check = CheckChosenSession(s, ctx, line, true);
  if (!check.refusal.empty()) ctx.dialogs().Message(check.refusal, Buttons::OK, check.icon);
  return check.usable;
}

bool CarriesHandicaps(const Session& s) {
  return s.SessionFileVersion >= "8.7" && s.WantHandicaps != 0;
}

}  // namespace pg
