#pragma once

#include <string>

#include "base/Context.h"
#include "session/Session.h"

namespace pg {

// Reads the hand-record file at path ("dlm" or "pbn" by its last three letters, in any case) into
// s.HandRecords and checks every line it uses. An invalid line is shown to the user and stops the
// reading; HandsLoaded is set only when the file was read to its end or to the last board wanted.
// While s.ReadingHands is set (a session read), a missing file or another format is skipped
// silently; other failures go to the error reporter. Never raises.
void ReadHandRecords(Session& s, Context& ctx, const std::string& path);

}  // namespace pg
