#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/Date.h"
#include "base/Parameters.h"
#include "review/RunRecord.h"

namespace pg {

// The history of saved updates with the members' names, which the .han files lack: the file
// Handicap/History.csv, which a spreadsheet opens. Latin-1, CR LF, one record a line, items
// separated by commas, texts in double quotes (a quote inside one doubled), numbers bare with a
// point, dates yyyy-mm-dd. The first line names the columns. Every other line begins with the
// date of the last session of the update it belongs to and its kind:
//
//   2026-03-30,"Saved",2026-04-20                 the day the update was saved
//   2026-03-30,"File","Membersh.dat","<16 hex digits>",<length>,"Membersh-260223.bak",
//       "<16 hex digits>",<length>
//   2026-03-30,"File","Handicap.ini","<16 hex digits>",<length>,"Handicap-260223.bak",
//       "<16 hex digits>",<length>
//   2026-03-30,"Member",<number>,"<full name>",<before>,<after>,<sessions played>,
//       then per session played: "<label>",<net score>,<session's average>,<adjustment>
//
// and, from updates saved since they were kept, what a replay of the update needs:
//
//   2026-03-30,"Parameters",<dead zone from>,<to>,<lowest>,<highest handicap>,<rounding step>,
//       <rate above>,<below the dead zone>,<largest adjustment above>,<below>
//   2026-03-30,"Session",<place, from 1>,2026-03-02,"afternoon",<section, 0 combined>,
//       "0302S1.AFT","<16 hex digits>"          each session file used, in the update's order
//   2026-03-30,"Visitor",2026-02-16,"afternoon",<section>,"<name>",<handicap>
//                                               each handicap typed at the visitor prompt
//   2026-03-30,"Corrected",<number>,"<full name>",<the run's handicap>
//                                               a handicap the review corrected by hand
//
// A "File" line holds the FNV-1a fingerprint and byte length of the file the save wrote, and the
// name, fingerprint and length of the copy it kept of the file that one replaced; undoing the
// update restores the copies while both files still have the first fingerprints and the copies
// the second (lines of earlier versions name a copy without its fingerprint). The fingerprint only
// has to tell whether a file changed since: nobody forges one, and a change that kept the length
// and the 64-bit FNV-1a of a file alike by chance is not worth guarding against.
//
// An update counts only once Handicap.ini records it as the last one, so lines dated after the
// last update (a save that failed at Handicap.ini and was given up) are left out when the file is
// read and dropped when it is next written.
inline constexpr const char* kHistoryFileName = "History.csv";
inline constexpr const char* kMembershipName = "Membersh.dat";

// A handicap is percentage points added to a score between 0 and 100, so no club's range
// reaches far past 100 either way; a figure beyond this either way is damage (a phone number
// typed into the wrong cell, say), which the history neither believes nor records.
inline constexpr double kMostHandicap = 1000;

// FNV-1a, 64 bits.
std::uint64_t Fingerprint(std::string_view bytes);

// A fingerprint as the files write it: 16 hexadecimal digits.
std::string Hex(std::uint64_t value);
// A whole number of the files' in the base, all of the text; nothing when it is not one.
std::optional<std::uint64_t> Unsigned(std::string_view text, int base = 10);

// A copy a save kept of a file it replaced: its name in the handicap folder and what it holds
// (unknown for a copy named by an earlier version, which recorded no fingerprint of it).
struct KeptFile {
  std::string name;
  std::optional<std::uint64_t> fingerprint;
  std::uint64_t length = 0;

  bool Holds(std::string_view bytes) const {
    return fingerprint && bytes.size() == length && Fingerprint(bytes) == *fingerprint;
  }
};

// What a save wrote to one of the two files an undo puts back, and the copy it kept of the file
// that one replaced (nothing when it kept none).
struct WrittenFile {
  std::uint64_t fingerprint = 0;
  std::uint64_t length = 0;
  std::optional<KeptFile> copy;

  bool Holds(std::string_view bytes) const {
    return bytes.size() == length && Fingerprint(bytes) == fingerprint;
  }
};

// One member's result in one session of an update.
struct PlayedSession {
  short session = 0;  // index into the update's SessionLabels
  double netScore = 0;
  double average = 0;  // the session's average for the member's direction
  double adjustment = 0;
};

struct HistoryMember {
  short number = 0;  // the member's place in Membersh.dat at that update
  std::string name;
  // Unknown for an update read from a .han file whose previous update does not have the member.
  std::optional<double> before;
  double after = 0;
  std::vector<PlayedSession> sessions;
};

// One saved update as the history has it.
struct HistoryEntry {
  enum class Source {
    HistoryFile,    // written by a save into History.csv
    Han,            // a .han file, named by the membership copy that update wrote
    HanLessCertain  // a .han file, named by today's membership file by member number
  };
  Date lastSession{};
  std::optional<Date> saved;
  std::optional<WrittenFile> membership;
  std::optional<WrittenFile> parameters;
  std::vector<std::string> sessionLabels;  // "Mon 02/03/26 aft"
  std::vector<HistoryMember> members;      // in member-number order
  Source source = Source::HistoryFile;
  // Kept by saves since they were recorded; empty (nothing) for older updates.
  std::vector<UsedSession> sessions;  // in the order the update applied them
  std::optional<HandicapParameters> runParameters;
  std::vector<VisitorHandicap> visitors;
  std::vector<HandCorrection> corrections;
  // A line of that record could not be read: what is there is not the whole of it.
  bool recordDamaged = false;
};

// The lines of one entry, each ended by CR LF.
std::string HistoryEntryText(const HistoryEntry& entry);

// The first line of the file, with its CR LF.
std::string HistoryHeadingLine();

// One line of the file cut into items. Items are views into the line, or into the reader when a
// doubled quote had to be undone; they hold until the next line is read.
class HistoryLines {
 public:
  explicit HistoryLines(std::string_view text) : text_(text) {}

  struct Line {
    int number = 0;        // counted from 1
    std::string_view raw;  // without its line end
    std::vector<std::string_view> items;
    bool unclosedQuote = false;
  };
  // The next line; false at the end of the text.
  bool Next(Line& line);

 private:
  std::string_view text_;
  size_t pos_ = 0;
  int number_ = 0;
  std::deque<std::string> unquoted_;
};

// The date at the start of a line as the file writes it (yyyy-mm-dd), or as a spreadsheet that
// saved the file again may have written it (day first).
std::optional<Date> HistoryDate(std::string_view item);

// The text of the file with the lines of `remove` dropped and those dated after `lastUpdate`
// (when known) too, every other line kept as it was, damaged ones included, so that nothing the
// program cannot read is lost by rewriting it; then `add` appended when given.
std::string RewrittenHistory(std::string_view existing, std::optional<Date> remove,
                             std::optional<Date> lastUpdate, const HistoryEntry* add);

// The kinds of line after the date.
inline constexpr std::string_view kSavedKind = "Saved";
inline constexpr std::string_view kFileKind = "File";
inline constexpr std::string_view kMemberKind = "Member";

// A "File" line's items after the kind: which file, and what was written to it; nothing when they
// are not those of a File line, or name a copy that is not a plain name in the handicap folder.
struct FileLine {
  bool membership = false;  // Membersh.dat, else Handicap.ini
  WrittenFile written;
};
std::optional<FileLine> ReadFileLine(const std::vector<std::string_view>& items);

// The days of the updates a history file's text has "Saved" lines for, in file order.
std::vector<Date> SavedUpdateDates(std::string_view text);

// The name of an update in messages: its last session's day, "Monday 30 Mar 2026".
std::string UpdateName(Date lastSession);

// The "File" lines of the update dated `day` in a history file's text: the membership file's and
// Handicap.ini's, each when there.
struct WrittenFiles {
  std::optional<WrittenFile> membership;
  std::optional<WrittenFile> parameters;
};
WrittenFiles WrittenFilesOf(std::string_view text, Date day);

// The kinds of line that record what a replay of the update needs.
inline constexpr std::string_view kParametersKind = "Parameters";
inline constexpr std::string_view kSessionKind = "Session";
inline constexpr std::string_view kVisitorKind = "Visitor";
inline constexpr std::string_view kCorrectedKind = "Corrected";
bool IsRunKind(std::string_view kind);

// Reads a line of one of those kinds into entry; the reason when it cannot.
const char* ReadRunLine(const std::vector<std::string_view>& items, HistoryEntry& entry);

// What a save copies from the run into its update's entry: the sessions with their fingerprints,
// the parameters, the visitors' handicaps, and the members whose handicap the review corrected
// (told by the run's own figure, where the outputs kept it, as the history writes both).
// `members` is the table the run read, numbered as the run; `numberSaved` gives each of its
// members' number in the membership file the save writes (index m - 1; 0 for one not there).
struct MemberTable;
struct UpdateOutputs;
void RecordRun(HistoryEntry& entry, const UpdateOutputs& outputs, const MemberTable& members,
               const std::vector<short>& numberSaved);

// The handicap last typed for each visitor's name in a history file's text (the latest update's;
// within one update, the last line's), leaving out updates dated after lastUpdate.
std::map<std::string, double> LastVisitorHandicaps(std::string_view text,
                                                   std::optional<Date> lastUpdate);

}  // namespace pg
