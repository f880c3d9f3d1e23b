#include "review/Members.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <string_view>
#include <utility>
#include <vector>

#include "base/Errors.h"
#include "base/Files.h"
#include "base/Guard.h"
#include "base/Numbers.h"
#include "base/Parameters.h"
#include "review/History.h"

namespace pg {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

// The end-of-file mark some editors leave after the last line ends an item like a line end.
constexpr char kEndOfFileMark = 26;

bool IsLineEnd(char c) {
  return c == '\r' || c == '\n' || c == kEndOfFileMark;
}

// Membersh.dat read as one stream of items, where line ends are separators like commas. It is
// laxer than the program's other files: the header separates its numbers by blanks alone, so a
// count ends at a blank, and a file that has passed through other tools may have lost its
// carriage returns, so CR LF, CR and LF all end an item.
class MemberStream {
 public:
  explicit MemberStream(std::string_view data) : data_(data) {}

  // A count: a whole number that ends at the first blank, comma or line end.
  short ReadCount() {
    StartItem();
    size_t end = pos_;
    while (end < data_.size() && !IsBlank(data_[end]) && data_[end] != ',' &&
           !IsLineEnd(data_[end]))
      ++end;
    const std::string_view text = data_.substr(pos_, end - pos_);
    pos_ = end;
    SkipBlanks();
    atLineStart_ = false;
    if (pos_ < data_.size() && (data_[pos_] == ',' || IsLineEnd(data_[pos_]))) SkipSeparator();
    if (text.empty()) return 0;
    const std::optional<double> value = ParseNumber(text);
    if (!value) Raise(err::kTypeMismatch);
    const double whole = std::nearbyint(*value);
    if (!(whole >= -32768.0 && whole <= 32767.0)) Raise(err::kOverflow);
    return static_cast<short>(whole);
  }

  // After the last member: true when nothing but blank lines and an end-of-file mark is left.
  bool OnlyBlankLinesLeft() {
    while (pos_ < data_.size() && (IsBlank(data_[pos_]) || IsLineEnd(data_[pos_])))
      ++pos_;
    return pos_ >= data_.size();
  }

  // A text: quoted, up to the next double quote (a line end inside is part of it) with anything
  // after the closing quote dropped; otherwise up to the next comma or line end, without the
  // blanks at its end, which hand-edited files leave behind.
  std::string ReadText() {
    StartItem();
    const size_t n = data_.size();
    if (data_[pos_] == '"') {
      const size_t close = data_.find('"', pos_ + 1);
      if (close == std::string_view::npos) {
        std::string text(data_.substr(pos_ + 1));
        pos_ = n;
        return text;
      }
      std::string text(data_.substr(pos_ + 1, close - pos_ - 1));
      pos_ = close + 1;
      while (pos_ < n && data_[pos_] != ',' && !IsLineEnd(data_[pos_]))
        ++pos_;
      SkipSeparator();
      return text;
    }
    size_t end = pos_;
    while (end < n && data_[end] != ',' && !IsLineEnd(data_[end]))
      ++end;
    size_t last = end;
    while (last > pos_ && IsBlank(data_[last - 1]))
      --last;
    std::string text(data_.substr(pos_, last - pos_));
    pos_ = end;
    SkipSeparator();
    return text;
  }

 private:
  void SkipBlanks() {
    while (pos_ < data_.size() && IsBlank(data_[pos_]))
      ++pos_;
  }

  // Blanks before an item are not part of it; an item that would start at the end is missing.
  // A line holding nothing but blanks (a text editor leaves them between members) is no item:
  // read as an empty field, it would shift every later member's fields by one place.
  void StartItem() {
    SkipBlanks();
    while (atLineStart_ && pos_ < data_.size() && IsLineEnd(data_[pos_])) {
      SkipSeparator();
      SkipBlanks();
    }
    if (pos_ >= data_.size()) Raise(err::kInputPastEnd);
  }

  void SkipSeparator() {
    if (pos_ >= data_.size()) return;
    atLineStart_ = IsLineEnd(data_[pos_]);
    if (data_[pos_] == '\r' && pos_ + 1 < data_.size() && data_[pos_ + 1] == '\n') ++pos_;
    ++pos_;
  }

  std::string_view data_;
  size_t pos_ = 0;
  bool atLineStart_ = true;
};

constexpr const char* kMoreThanCounted = "The file holds more than its first line counts";

MemberTable ReadMemberTable(std::string_view data) {
  MemberStream in(data);
  const short memberCount = in.ReadCount();
  const short fieldCount = in.ReadCount();
  in.ReadText();  // the date of the last update's last session, which nothing here needs
  // Eleven fields is all a record holds; a negative count would read no fields at all and
  // leave the file's members to be overwritten with empty lines by the next save.
  if (memberCount < 0 || fieldCount < 0 || fieldCount > kMemberFields) Raise(err::kSubscript);

  MemberTable table;
  table.Records.DimFrom1(memberCount);
  for (short m = 1; m <= memberCount; ++m) {
    MemberRecord& r = table.Member(m);
    for (short f = 1; f <= fieldCount; ++f)
      r.Fields(f) = in.ReadText();
    r.FirstName = r.Fields(kFirstNameField);
    r.Surname = r.Fields(kSurnameField);
    r.FullName = r.FirstName + " " + r.Surname;
    r.StartHandicap = NumericValue(r.Fields(kHandicapField));
  }
  // Members the first line does not count would be dropped for good by the next save; a line
  // with an item too many would shift every later member. Neither may load.
  if (!in.OnlyBlankLinesLeft()) Raise(err::kSubscript, kMoreThanCounted);
  return table;
}

// A field goes out bare unless reading it back would give something else: a comma, a line end
// or an end-of-file mark would split it, blanks at either end would be dropped, and a leading
// quote would start a quoted item. Quoting cannot help a field that holds a double quote as
// well, but no field read from a file can.
bool NeedsQuotes(const std::string& field) {
  if (field.empty()) return false;
  if (IsBlank(field.front()) || IsBlank(field.back()) || field.front() == '"') return true;
  return std::any_of(field.begin(), field.end(), [](char c) { return c == ',' || IsLineEnd(c); });
}

// The header's items start at columns 1, 15 and 29, as the scoring program reads and writes it;
// a number carries the place of its sign before it and a blank after it.
std::string HeaderLine(short memberCount, Date lastSessionDate) {
  constexpr size_t kPrintZone = 14;
  std::string line;
  auto zone = [&line](const std::string& item) {
    line.append((kPrintZone - line.size() % kPrintZone) % kPrintZone, ' ');
    line += item;
  };
  auto number = [](short n) { return std::string(n < 0 ? "" : " ") + std::to_string(n) + " "; };
  zone(number(memberCount));
  zone(number(kMemberFields));
  zone(FormatDate(lastSessionDate, "dd/mm/yy"));
  return line + "\r\n";
}

// A member without a new handicap (one the update run never reached) keeps the one it has,
// rather than having field 7 emptied.
std::string SavedHandicapText(const MemberRecord& r) {
  return NumberText(r.EndHandicap.value_or(r.StartHandicap));
}

void ShowSaveError(Dialogs& dialogs, const std::string& file, int number,
                   const std::string& description) {
  dialogs.Message(SaveErrorText(file, number, description), Buttons::OK, Icon::None);
}

// The last update as Handicap.ini records it, as the copies and the history file name it.
std::string DateText(Date day) {
  return FormatDate(day, "dd mmmm yyyy ");
}

struct Backup {
  std::string source;
  std::string copy;
};

// The files a save is about to replace, each with the name of its copy in the handicap folder:
// Membersh-yymmdd.bak and Handicap-yymmdd.bak, named for the update that wrote them ("first"
// before any), so that the update can be undone. A copy never replaces a file: when a name is
// taken (a save tried again after a failure, or a date that cannot be read), the pair takes the
// next number free for both, Membersh-260330-2.bak and so on, so the lowest number of the newest
// date always holds the files as they were before the last update.
std::vector<Backup> BackupsBeforeSaving(const Context& context) {
  const std::optional<Date> last = context.NoUpdateYet || context.Parameters.LastUpdated.empty()
                                       ? std::nullopt
                                       : ParseDate(context.Parameters.LastUpdated);
  const std::string tag = last ? FormatDate(*last, "yymmdd") : "first";
  const std::string& folder = context.HandicapFolder;
  const std::string name =
      tag + FreeCopySuffix(folder, {"Membersh-" + tag, "Handicap-" + tag}, ".bak") + ".bak";
  std::vector<Backup> backups{{context.MemberFile, folder + "Membersh-" + name}};
  const std::string ini = folder + kParameterFileName;
  if (FileExists(ini)) backups.push_back({ini, folder + "Handicap-" + name});
  return backups;
}

// The name of a file in the handicap folder, as the history file keeps a copy's name.
std::string NameInFolder(const std::string& path, const std::string& folder) {
  return path.substr(folder.size());
}

}  // namespace

std::string SaveErrorText(const std::string& file, int number, const std::string& description) {
  return "Error cannot save " + file + " - error " + std::to_string(number) + " " + description;
}

std::string FreeCopySuffix(const std::string& folder, const std::vector<std::string>& stems,
                           const std::string& extension) {
  // Copies of one update's files beyond this many are not a secretary's doing.
  constexpr int kMostCopies = 999;
  for (int n = 1; n <= kMostCopies; ++n) {
    std::string suffix = n == 1 ? "" : "-" + std::to_string(n);
    if (std::none_of(stems.begin(), stems.end(), [&](const std::string& stem) {
          return FileExists(folder + stem + suffix + extension);
        }))
      return suffix;
  }
  Raise(err::kFileAlreadyExists);
}

std::optional<MemberTable> MembersFromBytes(std::string_view bytes) {
  try {
    return ReadMemberTable(bytes);
  } catch (const RunTimeError&) {
    return std::nullopt;
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

void LoadMembers(MemberTable& members, Context& context) {
  context.Cancelled = true;
  members = MemberTable{};
  const std::string& path = context.MemberFile;
  FileError error;
  const std::optional<std::string> bytes = ReadFileBytes(path, &error);
  if (!bytes) {
    context.dialogs().Message("Cannot open the membership file " + path + " " + error.description,
                              Buttons::OK, Icon::Warning);
    return;
  }
  std::string failure;
  try {
    members = ReadMemberTable(*bytes);
  } catch (const RunTimeError& e) {
    failure = e.description();
  } catch (const std::bad_alloc&) {
    failure = ErrorDescription(err::kOutOfMemory);
  }
  if (!failure.empty()) {
    context.dialogs().Message("Cannot read the membership file " + path + " " + failure,
                              Buttons::OK, Icon::Warning);
    return;
  }
  context.Cancelled = false;
}

std::string MembershipFileText(const MemberTable& members, Date lastSessionDate) {
  std::string out = HeaderLine(members.MemberCount(), lastSessionDate);
  out.reserve(out.size() + static_cast<size_t>(members.MemberCount()) * 64);
  for (short m = 1; m <= members.MemberCount(); ++m) {
    const MemberRecord& r = members.Member(m);
    for (short f = 1; f <= kMemberFields; ++f) {
      if (f > 1) out += ',';
      const std::string& field = r.Fields(f);
      if (NeedsQuotes(field)) {
        out += '"';
        out += field;
        out += '"';
      } else {
        out += field;
      }
    }
    out += "\r\n";
  }
  return out;
}

std::string HistoryFileText(const MemberTable& members) {
  std::string out = std::to_string(members.MemberCount()) + "\r\n";
  for (short m = 1; m <= members.MemberCount(); ++m)
    out += SavedHandicapText(members.Member(m)) + "\r\n";
  return out;
}

std::string HistoryFileName(const std::string& handicapFolder, Date lastSessionDate) {
  return handicapFolder + FormatDate(lastSessionDate, "yymmdd") + ".han";
}

namespace {

// The update a save records in the history file: every member with the handicap before and after
// and the sessions they played, and what the save writes to Membersh.dat and Handicap.ini.
HistoryEntry EntryOfSave(const MemberTable& members, const UpdateOutputs* outputs, Date lastSession,
                         Date today) {
  HistoryEntry entry;
  entry.lastSession = lastSession;
  entry.saved = today;
  const short sessions = outputs != nullptr ? std::max<short>(outputs->SessionCount, 0) : 0;
  for (short s = 0; s < sessions; ++s)
    entry.sessionLabels.push_back(outputs->SessionLabels(s));
  entry.members.reserve(static_cast<size_t>(members.MemberCount()));
  for (short m = 1; m <= members.MemberCount(); ++m) {
    const MemberRecord& r = members.Member(m);
    HistoryMember& h = entry.members.emplace_back();
    h.number = m;
    h.name = r.FullName;
    h.before = r.StartHandicap;
    h.after = r.EndHandicap.value_or(r.StartHandicap);
    if (outputs == nullptr || !outputs->PlayedFlags(m)) continue;
    for (short s = 0; s < sessions; ++s) {
      const SessionResult& result = outputs->SessionResults(m, s);
      if (!result.Played) continue;
      h.sessions.push_back({s, result.NetScore,
                            outputs->SessionAverages(s, result.Direction == 2 ? 2 : 1),
                            result.Adjustment});
    }
  }
  if (outputs != nullptr) RecordRun(entry, *outputs, members);
  return entry;
}

// What the history records of one file a save replaces: what it writes, and the copy of the file
// as it was before the update. Saved again, an update finds its own output in the file; the copy
// that counts is then the one its first save kept, which the history already names.
WrittenFile Written(const std::string& bytes, const std::string& replaced, const std::string& copy,
                    const std::optional<WrittenFile>& earlier) {
  WrittenFile file{Fingerprint(bytes), bytes.size(), copy};
  if (earlier && earlier->Holds(replaced)) file.copy = earlier->copy;
  return file;
}

}  // namespace

SaveOutcome SaveHandicaps(MemberTable& members, Context& context, Date lastSessionDate,
                          bool& unsaved, const UpdateOutputs* outputs) {
  Dialogs& dialogs = context.dialogs();
  Guard guard(dialogs, kReviewWindowName);

  Answer answer = Answer::No;
  const bool asked = guard.Step(100, [&] {
    answer = dialogs.Message(
        "This will overwrite the current handicaps in the membership file.\r\n"
        "Do you want to do this?",
        Buttons::YesNo, Icon::Question);
  });
  // A question that could not be asked is not a yes, nor the user's no.
  if (!asked) return SaveOutcome::Failed;
  if (answer != Answer::Yes) return SaveOutcome::Declined;

  guard.Step(110, [&] {
    for (short m = 1; m <= members.MemberCount(); ++m) {
      MemberRecord& r = members.Member(m);
      if (r.EndHandicap) r.Fields(kHandicapField) = SavedHandicapText(r);
    }
  });

  // Each file replaces the old one whole, the copies of what is replaced come first, then the
  // .han file, Membersh.dat and the history file, so a failure at any point leaves the club's
  // Membersh.dat as it was or wholly new, never half written, and the history naming the update
  // only once Membersh.dat holds it. Handicap.ini, which makes the update count, comes last.
  HandicapParameters saved = context.Parameters;
  saved.LastUpdated = DateText(lastSessionDate);
  std::string file;
  try {
    FileError error;
    auto failed = [&] {
      ShowSaveError(dialogs, file, error.number, error.description);
      return SaveOutcome::Failed;
    };
    // Saved again in the same review, the files are this update's own, as its first save wrote
    // them: the copies that save kept still hold the club's files from before the update.
    const bool sameUpdate =
        !context.NoUpdateYet && context.Parameters.LastUpdated == DateText(lastSessionDate);
    const std::string ini = context.HandicapFolder + kParameterFileName;
    std::string membersBefore, iniBefore, membersCopy, iniCopy;
    file = context.HandicapFolder;  // where no name was left for the copies
    for (const auto& [source, copy] : BackupsBeforeSaving(context)) {
      file = copy;
      std::optional<std::string> bytes = ReadFileBytes(source, &error);
      if (!bytes) return failed();
      const bool isIni = source == ini;
      (isIni ? iniCopy : membersCopy) = NameInFolder(copy, context.HandicapFolder);
      const auto own = context.SavedFiles.find(source);
      const bool keep = !(sameUpdate && own != context.SavedFiles.end() && own->second == *bytes);
      if (!keep) (isIni ? iniCopy : membersCopy).clear();
      if (keep && !ReplaceFile(copy, *bytes, error)) return failed();
      (isIni ? iniBefore : membersBefore) = std::move(*bytes);
    }
    file = HistoryFileName(context.HandicapFolder, lastSessionDate);
    if (!ReplaceFile(file, HistoryFileText(members), error)) return failed();
    file = context.MemberFile;
    std::string membership = MembershipFileText(members, lastSessionDate);
    if (!ReplaceFile(file, membership, error)) return failed();
    context.SavedFiles[file] = membership;

    file = context.HandicapFolder + kHistoryFileName;
    std::optional<std::string> existing = ReadFileBytes(file, &error);
    // A history that is there but cannot be read is not to be replaced by this update alone.
    if (!existing && error.number != err::kFileNotFound) return failed();
    if (!existing) existing.emplace();
    const WrittenFiles earlier = WrittenFilesOf(*existing, lastSessionDate);
    HistoryEntry entry =
        EntryOfSave(members, outputs, lastSessionDate, context.ports.clock.Today());
    entry.membership = Written(membership, membersBefore, membersCopy, earlier.membership);
    entry.parameters = Written(ParameterFileText(context.ProgramVersion, saved), iniBefore, iniCopy,
                               earlier.parameters);
    // Lines dated after the last update belong to saves that never reached Handicap.ini.
    const std::optional<Date> lastUpdate =
        context.NoUpdateYet || context.Parameters.LastUpdated.empty()
            ? std::nullopt
            : ParseDate(context.Parameters.LastUpdated);
    if (!ReplaceFile(file, RewrittenHistory(*existing, lastSessionDate, lastUpdate, &entry), error))
      return failed();
  } catch (const RunTimeError& e) {
    ShowSaveError(dialogs, file, e.number(), e.description());
    return SaveOutcome::Failed;
  } catch (const std::bad_alloc&) {
    ShowSaveError(dialogs, file, err::kOutOfMemory, ErrorDescription(err::kOutOfMemory));
    return SaveOutcome::Failed;
  }

  // The update is saved only once Handicap.ini says so. Until then the date of the last update
  // stays as it was, in memory too, and the window stays unsaved: Save again writes the same
  // files, and nobody is told the handicaps were saved while the next start would offer the
  // same sessions again.
  if (!WriteParameters(context.HandicapFolder, context.ProgramVersion, saved, dialogs))
    return SaveOutcome::Failed;
  context.SavedFiles[context.HandicapFolder + kParameterFileName] =
      ParameterFileText(context.ProgramVersion, saved);
  context.Parameters.LastUpdated = saved.LastUpdated;
  context.NoUpdateYet = false;
  dialogs.Message("New handicaps have been saved", Buttons::OK, Icon::None);
  unsaved = false;
  return SaveOutcome::Saved;
}

}  // namespace pg
