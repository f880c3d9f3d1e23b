#include "review/Members.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <new>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "base/Errors.h"
#include "base/Files.h"
#include "base/Guard.h"
#include "base/Numbers.h"
#include "base/Parameters.h"
#include "review/ClubChange.h"
#include "review/ClubLock.h"
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
  std::string headerDate = in.ReadText();  // the last session of the update that wrote it
  // Eleven fields is all a record holds; a negative count would read no fields at all and
  // leave the file's members to be overwritten with empty lines by the next save.
  if (memberCount < 0 || fieldCount < 0 || fieldCount > kMemberFields) Raise(err::kSubscript);

  MemberTable table;
  table.HeaderDate = std::move(headerDate);
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
std::string HeaderLine(short memberCount, const std::string& date) {
  constexpr size_t kPrintZone = 14;
  std::string line;
  auto zone = [&line](const std::string& item) {
    line.append((kPrintZone - line.size() % kPrintZone) % kPrintZone, ' ');
    line += item;
  };
  auto number = [](short n) { return std::string(n < 0 ? "" : " ") + std::to_string(n) + " "; };
  zone(number(memberCount));
  zone(number(kMemberFields));
  zone(date);
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

std::optional<MemberTable> MembersFromBytes(std::string_view bytes, std::string* failure) {
  try {
    MemberTable table = ReadMemberTable(bytes);
    table.Source = std::string(bytes);
    return table;
  } catch (const RunTimeError& e) {
    if (failure != nullptr) *failure = e.description();
  } catch (const std::bad_alloc&) {
    if (failure != nullptr) *failure = ErrorDescription(err::kOutOfMemory);
  }
  return std::nullopt;
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
  std::optional<MemberTable> read = MembersFromBytes(*bytes, &failure);
  if (!read) {
    context.dialogs().Message(kCannotReadMembers + path + " " + failure, Buttons::OK,
                              Icon::Warning);
    return;
  }
  members = std::move(*read);
  context.Cancelled = false;
}

std::string MembershipFileText(const MemberTable& members, Date lastSessionDate) {
  return MembershipFileText(members, FormatDate(lastSessionDate, "dd/mm/yy"));
}

std::string MembershipFileText(const MemberTable& members, const std::string& headerDate) {
  std::string out = HeaderLine(members.MemberCount(), headerDate);
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

std::vector<short> PlaceMembers(const MemberTable& from, const MemberTable& onto) {
  std::unordered_map<std::string_view, int> fromCount;
  std::unordered_map<std::string_view, std::pair<int, short>> ontoCount;  // count, the member
  for (short m = 1; m <= from.MemberCount(); ++m)
    ++fromCount[from.Member(m).FullName];
  for (short m = 1; m <= onto.MemberCount(); ++m) {
    auto& [count, member] = ontoCount[onto.Member(m).FullName];
    if (++count == 1) member = m;
  }
  std::vector<short> at(static_cast<size_t>(std::max<short>(from.MemberCount(), 0)), 0);
  for (short m = 1; m <= from.MemberCount(); ++m) {
    const std::string& name = from.Member(m).FullName;
    const auto it = ontoCount.find(name);
    if (it == ontoCount.end()) continue;
    if (fromCount[name] == 1 && it->second.first == 1) {
      at[static_cast<size_t>(m - 1)] = it->second.second;
    } else if (m <= onto.MemberCount() && onto.Member(m).FullName == name) {
      at[static_cast<size_t>(m - 1)] = m;
    }
  }
  return at;
}

std::optional<std::string> WithHandicapsOf(std::string_view now, std::string_view before,
                                           const std::string_view* written) {
  std::optional<MemberTable> current = MembersFromBytes(now);
  const std::optional<MemberTable> old = MembersFromBytes(before);
  std::optional<MemberTable> wrote;
  if (written != nullptr) wrote = MembersFromBytes(*written);
  if (!current || !old || (written != nullptr && !wrote)) return std::nullopt;
  // What the change being undone left in each member's field 7, by where they stand now.
  std::vector<const std::string*> left(static_cast<size_t>(current->MemberCount()), nullptr);
  if (wrote) {
    const std::vector<short> at = PlaceMembers(*wrote, *current);
    for (short w = 1; w <= wrote->MemberCount(); ++w)
      if (const short c = at[static_cast<size_t>(w - 1)]; c > 0)
        left[static_cast<size_t>(c - 1)] = &wrote->Member(w).Fields(kHandicapField);
  }
  const std::vector<short> at = PlaceMembers(*old, *current);
  for (short m = 1; m <= old->MemberCount(); ++m) {
    const short c = at[static_cast<size_t>(m - 1)];
    if (c == 0) continue;
    std::string& field = current->Member(c).Fields(kHandicapField);
    const std::string* ours = left[static_cast<size_t>(c - 1)];
    if (wrote && (ours == nullptr || NumericValue(*ours) != NumericValue(field))) continue;
    field = old->Member(m).Fields(kHandicapField);
  }
  return MembershipFileText(*current, old->HeaderDate);
}

namespace {

// A few names said in a message, and how many more there are.
std::string NamesText(const std::vector<std::string>& names) {
  constexpr size_t kMostNamed = 10;
  std::string text;
  for (size_t i = 0; i < names.size() && i < kMostNamed; ++i)
    text += "\r\n" + names[i];
  if (names.size() > kMostNamed)
    text += "\r\nand " + std::to_string(names.size() - kMostNamed) + " more";
  return text;
}

std::string MemberName(short number, const MemberRecord& r) {
  return std::to_string(number) + " " + r.FullName;
}

// Membersh.dat as it is to be written: the file as it is now, with the update's handicaps in it.
struct Merged {
  MemberTable table;
  // For each member of `table` (index c - 1), the update's member number; 0 for one it did not
  // read, who keeps the handicap the file gives.
  std::vector<short> fromUpdate;
  std::vector<std::string> notFound;  // members of the update not in the file now
  std::vector<std::string> changed;   // moved by the update, but changed in the file meanwhile
};

// Puts the update's handicaps into `now`, finding each of its members there by PlaceMembers.
// `known` is the file as this program last read or wrote it: a handicap that differs between it
// and `now` was changed by another program since, which the update may not overwrite unasked.
Merged MergeOnto(const MemberTable& update, const MemberTable& now, const MemberTable& known) {
  Merged out{now, std::vector<short>(static_cast<size_t>(now.MemberCount()), 0), {}, {}};
  const std::vector<short> at = PlaceMembers(update, now);
  const std::vector<short> atKnown = &known == &now ? at : PlaceMembers(update, known);
  for (short m = 1; m <= update.MemberCount(); ++m) {
    const MemberRecord& u = update.Member(m);
    // A member the update never reached keeps the handicap the file gives.
    if (!u.EndHandicap) continue;
    // Field 7 already holds the new handicap's text (the save's first step).
    const std::string& ours = u.Fields(kHandicapField);
    // The member's field 7 as this program last read or wrote it: what the update changes.
    const short k = atKnown[static_cast<size_t>(m - 1)];
    const std::string& was = k > 0 ? known.Member(k).Fields(kHandicapField) : ours;
    const bool moves = ours != was;
    const short c = at[static_cast<size_t>(m - 1)];
    if (c == 0) {
      // Gone, or no longer to be told from another: only one the update moves is missed.
      if (moves) out.notFound.push_back(MemberName(m, u));
      continue;
    }
    out.fromUpdate[static_cast<size_t>(c - 1)] = m;
    MemberRecord& r = out.table.Member(c);
    if (NumericValue(r.Fields(kHandicapField)) != NumericValue(was)) {
      // Changed elsewhere: kept when the update leaves the member as it found them.
      if (moves) out.changed.push_back(MemberName(c, r));
      continue;
    }
    r.Fields(kHandicapField) = ours;
    r.StartHandicap = u.StartHandicap;
    r.EndHandicap = u.EndHandicap;
  }
  return out;
}

// The update a save records in the history file: every member of the file it writes, with the
// handicap before and after and the sessions they played.
HistoryEntry EntryOfSave(const Merged& merged, const MemberTable& update,
                         const UpdateOutputs* outputs, Date lastSession, Date today) {
  HistoryEntry entry;
  entry.lastSession = lastSession;
  entry.saved = today;
  const short sessions = outputs != nullptr ? std::max<short>(outputs->SessionCount, 0) : 0;
  for (short s = 0; s < sessions; ++s)
    entry.sessionLabels.push_back(outputs->SessionLabels(s));
  const MemberTable& members = merged.table;
  entry.members.reserve(static_cast<size_t>(members.MemberCount()));
  for (short c = 1; c <= members.MemberCount(); ++c) {
    const MemberRecord& r = members.Member(c);
    // A field 7 no handicap can be (a phone number typed there) is recorded as unknown rather
    // than as a line the history could not read back; a member left with one has no line.
    const double after = r.EndHandicap.value_or(r.StartHandicap);
    if (std::abs(after) > kMostHandicap) continue;
    HistoryMember& h = entry.members.emplace_back();
    h.number = c;
    h.name = r.FullName;
    if (std::abs(r.StartHandicap) <= kMostHandicap) h.before = r.StartHandicap;
    h.after = after;
    const short m = merged.fromUpdate[static_cast<size_t>(c - 1)];
    if (outputs == nullptr || m == 0 || m > outputs->PlayedFlags.upper() ||
        !outputs->PlayedFlags(m))
      continue;
    for (short s = 0; s < sessions; ++s) {
      const SessionResult& result = outputs->SessionResults(m, s);
      if (!result.Played) continue;
      h.sessions.push_back({s, result.NetScore,
                            outputs->SessionAverages(s, result.Direction == 2 ? 2 : 1),
                            result.Adjustment});
    }
  }
  if (outputs != nullptr) {
    // Corrections are told against the run's own table, numbered as the file written.
    std::vector<short> numberSaved(static_cast<size_t>(std::max<short>(update.MemberCount(), 0)),
                                   0);
    for (size_t c = 0; c < merged.fromUpdate.size(); ++c)
      if (const short m = merged.fromUpdate[c]; m > 0)
        numberSaved[static_cast<size_t>(m - 1)] = static_cast<short>(c + 1);
    RecordRun(entry, *outputs, update, numberSaved);
  }
  return entry;
}

// The date a copy is named for, as in "Membersh-260223-2.bak" for the stem "Membersh-".
std::string CopyTagOf(std::string_view name, std::string_view stem) {
  if (!name.starts_with(stem) || !name.ends_with(".bak")) return "first";
  name = name.substr(stem.size(), name.size() - stem.size() - 4);
  return std::string(name.substr(0, name.find('-')));
}

// A copy of one of the two files, as a save keeps it for the undo of its update: what the file
// was before the update, under its name in the handicap folder.
struct KeptCopy {
  std::string name;
  std::string bytes;
  bool create = false;  // a new copy; otherwise the one the update's first save kept
};

WrittenFile Written(const std::string& bytes, const std::optional<KeptCopy>& copy) {
  WrittenFile file{Fingerprint(bytes), bytes.size(), std::nullopt};
  if (copy) file.copy = {copy->name, Fingerprint(copy->bytes), copy->bytes.size()};
  return file;
}

// The copy of what a save replaces. An update's first save copies the file as it is; saved
// again in the same review, the file is the update's own output, and the copy its first save
// kept still stands for the file before it, unless another program wrote the file since: then
// the copy is that file with what the update changed in it put back (`putBack`).
std::optional<KeptCopy> CopyBeforeUpdate(
    const Context& c, const std::string& stem, const std::optional<std::string>& now,
    const std::optional<WrittenFile>& earlier, const std::string& tag, const std::string& suffix,
    const std::function<std::optional<std::string>(const std::string& now,
                                                   const std::string& copy)>& putBack) {
  if (!now) return std::nullopt;
  const std::string fresh = stem + tag + suffix + ".bak";
  if (!earlier || !earlier->copy) return KeptCopy{fresh, *now, true};
  const std::optional<std::string> copy = ReadFileBytes(c.HandicapFolder + earlier->copy->name);
  if (!copy || !earlier->copy->Holds(*copy)) return KeptCopy{fresh, *now, true};
  if (earlier->Holds(*now)) return KeptCopy{earlier->copy->name, *copy, false};
  const std::string earlierTag = CopyTagOf(earlier->copy->name, stem);
  const std::string name =
      stem + earlierTag + FreeCopySuffix(c.HandicapFolder, {stem + earlierTag}, ".bak") + ".bak";
  if (std::optional<std::string> before = putBack(*now, *copy))
    return KeptCopy{name, std::move(*before), true};
  return KeptCopy{fresh, *now, true};
}

std::optional<Date> DateOf(const std::string& lastUpdated) {
  if (lastUpdated.empty()) return std::nullopt;
  return ParseDate(lastUpdated);
}

enum class Planned { Ready, Refused, Failed };

// The files of a save, as they are to be written, worked out from the files as they are now.
struct SavePlan {
  HandicapParameters saved;
  std::string membership;
};

Planned PlanSave(MemberTable& members, Context& context, Date lastSessionDate,
                 const UpdateOutputs* outputs, ClubChange& change, SavePlan& plan) {
  Dialogs& dialogs = context.dialogs();
  const std::string& folder = context.HandicapFolder;
  const std::string ini = folder + kParameterFileName;
  const std::string csv = folder + kHistoryFileName;
  auto failed = [&](const std::string& file, const FileError& error) {
    ShowSaveError(dialogs, NamedInMessage(context, file), error.number, error.description);
    return Planned::Failed;
  };
  auto refuse = [&](const std::string& why) {
    dialogs.Message(why, Buttons::OK, Icon::Warning);
    return Planned::Refused;
  };
  auto read = [](const std::string& path, FileError& error) {
    std::optional<std::string> bytes = ReadFileBytes(path, &error);
    if (!bytes && (error.number == err::kFileNotFound || error.number == err::kPathNotFound))
      error = {};
    return bytes;
  };

  // An update saved or undone elsewhere since this one began: its sessions, or those of the
  // update undone, would be counted twice.
  FileError error;
  const std::optional<std::string> iniNow = read(ini, error);
  if (error.number != 0) return failed(ini, error);
  plan.saved = context.Parameters;
  if (iniNow) ParametersFromText(*iniNow, plan.saved);
  const std::optional<Date> known = DateOf(context.Parameters.LastUpdated);
  const std::optional<Date> onDisk = iniNow ? DateOf(plan.saved.LastUpdated) : known;
  if (onDisk != known) {
    if (onDisk && (!known || *onDisk > *known)) return refuse(SavedElsewhereText(*onDisk));
    return refuse(UndoneElsewhereText(*known));
  }
  const std::optional<std::string> history = read(csv, error);
  // A history that is there but cannot be read is not to be replaced by this update alone.
  if (error.number != 0) return failed(csv, error);
  if (history && context.HistorySeen) {
    for (const Date day : SavedUpdateDates(*history))
      if (day != lastSessionDate &&
          std::find(context.HistorySeen->begin(), context.HistorySeen->end(), day) ==
              context.HistorySeen->end())
        return refuse(SavedElsewhereText(day));
  }

  // The handicaps go into Membersh.dat as it is now.
  const std::optional<std::string> membersNow = read(context.MemberFile, error);
  if (!membersNow) {
    if (error.number == 0) error = {err::kFileNotFound, ErrorDescription(err::kFileNotFound)};
    dialogs.Message(
        "Cannot open the membership file " + context.MemberFile + " " + error.description,
        Buttons::OK, Icon::Warning);
    return Planned::Failed;
  }
  std::string failure;
  const std::optional<MemberTable> now = MembersFromBytes(*membersNow, &failure);
  if (!now) {
    dialogs.Message(kCannotReadMembers + context.MemberFile + " " + failure, Buttons::OK,
                    Icon::Warning);
    return Planned::Failed;
  }
  // The file as this program last read or wrote it; most often the file as it is now.
  std::optional<MemberTable> lastSeen;
  if (!members.Source.empty() && members.Source != *membersNow)
    lastSeen = MembersFromBytes(members.Source);
  const Merged merged = MergeOnto(members, *now, lastSeen ? *lastSeen : *now);
  if (!merged.notFound.empty())
    return refuse(kMembersNotFound + NamesText(merged.notFound) + "\r\nNothing has been saved." +
                  kRunAgain);
  if (!merged.changed.empty())
    return refuse(kHandicapsChanged + NamesText(merged.changed) + "\r\nNothing has been saved." +
                  kRunAgain);

  plan.saved.LastUpdated = DateText(lastSessionDate);
  plan.membership = MembershipFileText(merged.table, lastSessionDate);
  const std::string parameters = ParameterFileText(context.ProgramVersion, plan.saved);

  // The copies of what the update replaces, for its undo.
  const bool sameUpdate =
      !context.NoUpdateYet && context.Parameters.LastUpdated == DateText(lastSessionDate);
  const WrittenFiles earlier =
      sameUpdate && history ? WrittenFilesOf(*history, lastSessionDate) : WrittenFiles{};
  const std::optional<Date> previous = sameUpdate ? std::nullopt : known;
  const std::string tag = previous ? FormatDate(*previous, "yymmdd") : "first";
  const std::string suffix = FreeCopySuffix(folder, {"Membersh-" + tag, "Handicap-" + tag}, ".bak");
  const std::string version = context.ProgramVersion;
  const std::string ours = members.Source;
  const std::optional<KeptCopy> membersCopy =
      CopyBeforeUpdate(context, "Membersh-", membersNow, earlier.membership, tag, suffix,
                       [&ours](const std::string& file, const std::string& copy) {
                         const std::string_view written = ours;
                         return WithHandicapsOf(file, copy, ours.empty() ? nullptr : &written);
                       });
  const std::optional<KeptCopy> iniCopy =
      CopyBeforeUpdate(context, "Handicap-", iniNow, earlier.parameters, tag, suffix,
                       [&version](const std::string& file, const std::string& copy) {
                         return std::optional<std::string>(WithLastUpdatedOf(file, copy, version));
                       });

  HistoryEntry entry =
      EntryOfSave(merged, members, outputs, lastSessionDate, context.ports.clock.Today());
  entry.membership = Written(plan.membership, membersCopy);
  entry.parameters = Written(parameters, iniCopy);
  // Lines dated after the last update belong to saves that never reached Handicap.ini.
  const std::string historyText =
      RewrittenHistory(history.value_or(""), lastSessionDate, known, &entry);

  // Each file replaces the old one whole: the copies of what is replaced first, then the .han
  // file, Membersh.dat and the history, and Handicap.ini, which makes the update count, last.
  for (const std::optional<KeptCopy>* copy : {&membersCopy, &iniCopy})
    if (*copy && (*copy)->create) change.Create(folder + (*copy)->name, (*copy)->bytes);
  change.Write(HistoryFileName(folder, lastSessionDate), HistoryFileText(merged.table));
  change.Write(context.MemberFile, plan.membership);
  change.Write(csv, historyText);
  change.Write(ini, parameters);
  change.Expect(context.MemberFile, membersNow);
  change.Expect(csv, history);
  change.Expect(ini, iniNow);
  return Planned::Ready;
}

}  // namespace

std::string SavedElsewhereText(Date update) {
  return "The update using sessions up to and including " + UpdateName(update) +
         " has been saved by another copy of Pairgauge since this update began, so saving this "
         "one could count the same sessions twice. Nothing has been saved." +
         std::string(kRunAgain);
}

std::string UndoneElsewhereText(Date update) {
  return "The update using sessions up to and including " + UpdateName(update) +
         " has been undone by another copy of Pairgauge since this update began, so this update "
         "no longer starts from the club's handicaps. Nothing has been saved." +
         std::string(kRunAgain);
}

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

  // The files are read, the save worked out and written under the club's lock; should another
  // program write a file between the reading and the writing, the save is worked out again.
  ClubLockScope lock(context, kUpdatingHandicaps);
  if (!lock.held()) return SaveOutcome::Failed;
  constexpr int kTries = 3;
  SavePlan plan;
  std::string changedFile;
  for (int attempt = 0;; ++attempt) {
    if (attempt == kTries) {
      dialogs.Message(changedFile + kKeepsChanging, Buttons::OK, Icon::Warning);
      return SaveOutcome::Failed;
    }
    ClubChange change(
        context,
        "saving the update using sessions up to and including " + UpdateName(lastSessionDate),
        "Run the update again to save it.", kUpdatingHandicaps);
    Planned planned = Planned::Failed;
    try {
      planned = PlanSave(members, context, lastSessionDate, outputs, change, plan);
    } catch (const RunTimeError& e) {
      ShowSaveError(dialogs, context.HandicapFolder, e.number(), e.description());
    } catch (const std::bad_alloc&) {
      ShowSaveError(dialogs, context.HandicapFolder, err::kOutOfMemory,
                    ErrorDescription(err::kOutOfMemory));
    }
    if (planned != Planned::Ready) return SaveOutcome::Failed;
    const ClubChange::Result result = change.Commit();
    if (result == ClubChange::Result::Done) break;
    if (result == ClubChange::Result::Failed) return SaveOutcome::Failed;
    changedFile = change.changedFile();
  }

  // Only now, with every file written, does the update count, in memory as on disk.
  context.Parameters = plan.saved;
  context.NoUpdateYet = false;
  members.Source = plan.membership;
  if (context.HistorySeen) context.HistorySeen->push_back(lastSessionDate);
  dialogs.Message("New handicaps have been saved", Buttons::OK, Icon::None);
  unsaved = false;
  return SaveOutcome::Saved;
}

}  // namespace pg
