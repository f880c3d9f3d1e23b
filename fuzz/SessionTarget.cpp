// The session reader with its repair and the hand records it reads, and then what the update
// window does with every file it lists: the checks and the scoring that decide whether the
// session is usable.
#include <filesystem>

#include "Targets.h"
#include "base/Files.h"
#include "base/Guard.h"
#include "session/SessionFile.h"
#include "support/QuietPorts.h"
#include "update/Catalogue.h"

namespace pg::fuzz {
namespace {

bool HasBareLineFeed(std::string_view text) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) return true;
  }
  return false;
}

// The text with every CR LF read as a line feed alone: what a repair may change and what not.
std::string LineFeedsOnly(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out += text[i];
  }
  return out;
}

}  // namespace

void SessionBody(std::string_view input, const std::string& folder) {
  const std::string path = folder + "0925S1.AFT";
  const std::string backup = folder + "0925S1.AFX";
  // A repair leaves its backup behind; each input starts from a folder without one.
  std::filesystem::remove(backup);
  WriteInput(path, input);

  test::QuietPorts ports;
  Context ctx(ports.ports());
  Session s;
  s.BasePath = folder + "0925S1";
  s.Extension = "AFT";
  ReadSession(s, ctx);

  // Reading changes a session file only to mend its line ends, and never loses a byte of it:
  // the original goes to the backup whole, and the mended file differs only in its line ends.
  const std::optional<std::string> after = ReadFileBytes(path);
  const std::optional<std::string> kept = ReadFileBytes(backup);
  Require(after.has_value(), "the session file is gone after a read");
  if (kept) {
    Require(*kept == input, "the repair's backup differs from the file it replaced");
    Require(!HasBareLineFeed(*after), "the repaired file still holds a bare line feed");
    const std::string mended = LineFeedsOnly(*after);
    const std::string original = LineFeedsOnly(input);
    Require(mended == original || mended == original + "\n",
            "the repaired file differs from the original in more than its line ends");
  } else {
    Require(*after == input, "a read changed the session file without keeping a backup");
  }

  // The update window tests every file it lists, under its own guard.
  if (!s.ReadFailed) {
    Guard guard(ctx.dialogs(), kUpdateWindowName);
    guard.Step(100, [&] { WhyUnusable(s, ctx, MakeDate(2006, 9, 25), true); });
  }
}

}  // namespace pg::fuzz
