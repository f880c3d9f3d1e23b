#pragma once

#include <string>

#include "base/Context.h"
#include "history/HistoryReader.h"

namespace pg {

// Undoes the last update of the history: puts back the Membersh.dat and Handicap.ini its save
// replaced, from the copies it kept, but only while both files are still what that save wrote
// (or, after an undo an earlier version left part-way, already the copies) and each copy is the
// file the save kept (its fingerprint) and reads as the file it replaces; otherwise says why and
// changes nothing. Asks first. The files it undoes are kept as Membersh-undone-yymmdd.bak and
// Handicap-undone-yymmdd.bak, and the update's .han as yymmdd-undone.han (each taking the next
// number free, so no file is ever replaced); the update leaves History.csv, and the parameters
// are read again from the restored Handicap.ini. All of it or nothing (ClubChange.h), under the
// club's lock. True once it is done.
bool UndoLastUpdate(Context& context, const History& history);

inline constexpr const char* kUndoQuestion = "Undo the update using sessions up to and including ";
inline constexpr const char* kMembershipChanged =
    "Membersh.dat has been written since, by the scoring program (members added, changed or "
    "removed), and undoing the update would lose that.";
inline constexpr const char* kParametersChanged =
    "Handicap.ini has been written since, by the parameter editor (the parameters saved) or by "
    "another version of Pairgauge starting here, and undoing the update would put the parameters "
    "back as well.";
inline constexpr const char* kCorrectInstead =
    "Correct the handicaps in the next update's review window instead.";
inline constexpr const char* kCopyChanged =
    " is not the file its save kept: it has been changed or replaced since.";
inline constexpr const char* kCopyNotFingerprinted =
    " was kept by an earlier version of Pairgauge, which recorded nothing to tell it by, so it "
    "cannot be told that it holds the file from before the update.";
inline constexpr const char* kCopyNotAFile = " does not read as ";

}  // namespace pg
