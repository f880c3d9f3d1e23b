#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/Context.h"
#include "review/History.h"
#include "review/Members.h"

namespace pg {

class Guard;

// What could not be read of the history files: the first fault with its file and line, and how
// many more there were, told in one message.
class HistoryDamage {
 public:
  void Note(const std::string& file, int line, const std::string& reason);
  // A fault that is not one line's, such as a folder that cannot be listed.
  void Note(std::string text);
  bool Any() const { return !first_.empty(); }
  int Count() const { return count_; }
  // The message: the first fault, the count of the others, and that the window shows the rest.
  std::string Text() const;

 private:
  std::string first_;
  int count_ = 0;
};

// Reads the lines of History.csv (its text; `file` names it in the faults). A line that cannot
// be read is noted and passed over; the others are read. Updates come out oldest first.
std::vector<HistoryEntry> ReadHistoryText(std::string_view text, const std::string& file,
                                          HistoryDamage& damage);

// Every saved update the handicap folder tells of: History.csv's, and the .han files of the
// updates before its first, which were saved before it was kept. Updates dated after the last
// update Handicap.ini records are left out: their save never finished.
struct History {
  std::vector<HistoryEntry> updates;  // oldest first
  std::optional<Date> lastUpdate;     // LastUpdated, when it is a date
};

// A .han file of an update History.csv does not hold is named by the membership copy that update
// wrote (Membersh-yymmdd.bak of its date, the lowest number), when that copy has the .han's
// member count and each member's handicap as the .han holds it; otherwise by today's members,
// by member number, and marked less certain. The handicaps before such an update are the ones
// the same names had after the update before it (or in Membersh-first.bak for the first).
History ReadHistory(const Context& context, const MemberTable& today, HistoryDamage& damage);

// The history as a window shows it, with today's members read afresh into today for its names,
// each read a step of the window's guard (100, then 110); history is left as it was when a step
// fails. A failure to read the membership file here is the window's own and never cancels an
// update run under way.
void ReadHistoryForWindow(Guard& guard, Context& context, MemberTable& today, HistoryDamage& damage,
                          History& history);

// The date a .han file is named for ("260330.han"), or nothing for any other name.
std::optional<Date> HanFileDate(std::string_view name);

}  // namespace pg
