#pragma once

#include <string>

#include "base/Context.h"
#include "history/HistoryReader.h"

namespace pg {

// Undoes the last update of the history: puts back the Membersh.dat and Handicap.ini its save
// replaced, from the copies it kept, but only while both files are still what that save wrote
// (or, after an undo that stopped part-way, already the copies); otherwise says which file
// changed since and what that means, and changes nothing. Asks first. The files it undoes are
// kept as Membersh-undone-yymmdd.bak and Handicap-undone-yymmdd.bak, and the update's .han as
// yymmdd-undone.han (each taking the next number free, so no file is ever replaced); the update
// leaves History.csv, and the parameters are read again from the restored Handicap.ini. True
// once Handicap.ini is restored, whatever came after it.
//
// Membersh.dat is restored before Handicap.ini, which records the last update: should
// Handicap.ini fail, Membersh.dat is put back as it was, so the pair never disagrees unless that
// fails too, and then the message says to undo again, which finishes the work.
bool UndoLastUpdate(Context& context, const History& history);

// The name of the update in the question and the messages: "Monday 30 Mar 2026".
std::string UpdateName(Date lastSession);

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
inline constexpr const char* kHalfUndone =
    "Membersh.dat holds the handicaps from before the update, but Handicap.ini still records the "
    "update as done. Put right what stops Handicap.ini being written and press Undo last update "
    "again: it finishes the undo.";

}  // namespace pg
