#include <optional>

#include "base/Date.h"
#include "base/Errors.h"
#include "base/Files.h"
#include "base/Guard.h"
#include "session/SessionFile.h"

namespace pg {

void MakeSessionFileName(Session& s, const Context& ctx, const CellValue& date) {
  Guard guard(ctx.ports.dialogs, kSessionModule);
  std::optional<Date> day;
  guard.Step(100, [&] {
    if (date.IsDate()) {
      day = date.date();
    } else if (date.IsText()) {
      day = ParseDate(date.text());
      if (!day) Raise(err::kTypeMismatch);
    } else {
      Raise(err::kTypeMismatch);
    }
  });
  // Without a date there is no name to build; the report above has said why.
  if (day) {
    guard.Step(110, [&] {
      s.BasePath = ctx.ResultsRoot + FormatDate(*day, "yyyy") + kPathSeparator +
                   FormatDate(*day, "mmdd") + "S" + std::to_string(s.SectionNo);
    });
  }
  guard.Step(120, [&] {
    static const char* const kExtensions[] = {"MOR", "AFT", "EVE"};
    if (s.TimeOfDay >= 0 && s.TimeOfDay <= 2) s.Extension = kExtensions[s.TimeOfDay];
  });
}

std::string SessionFileName(const Session& s) {
  return s.BasePath + "." + s.Extension;
}

std::optional<std::string> FindSessionFile(const Session& s, FileError* error) {
  return FindFileIgnoringCase(SessionFileName(s), error);
}

bool SessionFileExists(const Session& s) {
  return FindSessionFile(s).has_value();
}

}  // namespace pg
