#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "base/Cell.h"
#include "base/Context.h"
#include "session/Session.h"

namespace pg {

// The name the session operations give the error reporter for an unexpected failure.
inline constexpr const char* kSessionModule = "ModSession";

// Sets BasePath (ResultsRoot + yyyy + separator + mmdd + "S" + SectionNo) and Extension ("MOR",
// "AFT", "EVE" by TimeOfDay; another TimeOfDay leaves it) for date, a date or a text that reads as
// one. A date that does not read goes to the error reporter and leaves BasePath as it was.
void MakeSessionFileName(Session& s, const Context& ctx, const CellValue& date);

// BasePath + "." + Extension: the session's file as its name was made, and as messages give it.
std::string SessionFileName(const Session& s);

// The file SessionFileName names, or, when that does not exist, a file beside it whose name
// differs only in letter case (sessions copied from other systems are often in lower case).
// Nothing, with *error set when given, when the file's folder is there but cannot be read.
std::optional<std::string> FindSessionFile(const Session& s, FileError* error = nullptr);
bool SessionFileExists(const Session& s);

// Reads the session file named by BasePath and Extension (or the file FindSessionFile finds) into
// s, replacing the previous session. Shows its own messages and never raises; ReadFailed is set
// when the session was not read and must be skipped. A file whose line ends were damaged is
// repaired in place first, its original kept with the extension's third letter made "X".
void ReadSession(Session& s, Context& ctx);

// How a read may differ from the update's own.
struct ReadOptions {
  // Given the session file's bytes as they are read (after any repair), for a caller that must
  // know which file it was without reading it again.
  std::function<void(std::string_view bytes)> bytesRead;
  // Nothing is written: a file with damaged line ends is mended in memory only, and says nothing
  // of a repair.
  bool readOnly = false;
};
void ReadSession(Session& s, Context& ctx, const ReadOptions& options);

// MovementCards and RoundsPlayed from MovementFile, for files older than the ones that carry the
// cards themselves. A movement file that cannot be read leaves MovementCards(1, 1, 1) at -1.
void ReadMovementCards(Session& s, Context& ctx);

}  // namespace pg
