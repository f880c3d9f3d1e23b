// What turns an update window's line into the session file it stands for, and a date text into
// a session file's name. The input's first four bytes choose the line's day (any day a typed
// start date can lead to), the fifth its time of day and section; the rest is a date text.
#include <cstdint>

#include "Targets.h"
#include "session/SessionFile.h"
#include "support/QuietPorts.h"
#include "update/Catalogue.h"

namespace pg::fuzz {
namespace {

const Date kFirstDay = MakeDate(1, 1, 1);
const Date kLastDay = MakeDate(9999, 12, 31);

std::string FileOf(Context& ctx, const CatalogueLine& line, std::string* dateText = nullptr) {
  Session s;
  const std::string text = GetFileName(s, ctx, line);
  if (dateText) *dateText = text;
  Require(s.TimeOfDay == line.TimeOfDay && s.SectionNo == line.SectionNo,
          "the session's keys are not the line's");
  Require(s.Extension == (line.TimeOfDay == 1 ? "AFT" : "EVE"),
          "the extension is not the line's time of day");
  return SessionFileName(s);
}

}  // namespace

void CatalogueBody(std::string_view input, const std::string& folder) {
  if (input.size() < 5) return;
  std::uint32_t bits = 0;
  for (int i = 0; i < 4; ++i)
    bits |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(input[i])) << (8 * i);
  const auto days = static_cast<std::uint32_t>((kLastDay - kFirstDay).count() + 1);
  const auto keys = static_cast<std::uint8_t>(input[4]);
  CatalogueLine line;
  line.Day = kFirstDay + std::chrono::days{bits % days};
  line.TimeOfDay = static_cast<short>(1 + (keys & 1));
  line.SectionNo = static_cast<short>((keys >> 1) % 27);

  test::QuietPorts ports;
  Context ctx(ports.ports());
  ctx.ResultsRoot = folder + "RES";
  std::string dateText;
  const std::string file = FileOf(ctx, line, &dateText);
  // The date text is what a save keeps as the date of the last update; the next update starts
  // the day after what it reads back as.
  Require(ParseDate(dateText) == line.Day, "the line's date text does not read as its day");

  // No two lines stand for one file.
  CatalogueLine nextDay = line, otherTime = line, otherSection = line;
  nextDay.Day += std::chrono::days{line.Day < kLastDay ? 1 : -1};
  otherTime.TimeOfDay = static_cast<short>(3 - line.TimeOfDay);
  otherSection.SectionNo = static_cast<short>((line.SectionNo + 1) % 27);
  for (const CatalogueLine& other : {nextDay, otherTime, otherSection})
    Require(FileOf(ctx, other) != file, "two lines stand for the same session file");
  Require(ports.dialogs.messages == 0, "naming a line's file showed a message");

  // A date given as text names the file of the day it reads as, or is reported and names none.
  const std::string text(input.substr(5));
  Session s;
  s.TimeOfDay = line.TimeOfDay;
  s.SectionNo = line.SectionNo;
  s.BasePath = "unchanged";
  MakeSessionFileName(s, ctx, CellValue(text));
  if (const std::optional<Date> day = ParseDate(text)) {
    Require(ports.dialogs.messages == 0, "a date text that reads was reported");
    CatalogueLine named = line;
    named.Day = *day;
    Require(SessionFileName(s) == FileOf(ctx, named), "a date text names another day's file");
  } else {
    Require(ports.dialogs.messages == 1, "a date text that does not read was not reported once");
    Require(s.BasePath == "unchanged", "a date text that does not read named a file");
  }
}

}  // namespace pg::fuzz
