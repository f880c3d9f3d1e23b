#include "history/HistoryReader.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <unordered_map>

#include "base/FileSystem.h"
#include "base/Files.h"
#include "base/Guard.h"
#include "base/Numbers.h"

namespace pg {
namespace {

constexpr const char* kUnclosedQuote = "a quoted text is not closed";
constexpr const char* kNoDate = "it does not start with a date";
constexpr const char* kUnknownKind = "it is not a line of a kind the program writes";
constexpr const char* kBadSaved = "the day of the save is not a date";
constexpr const char* kBadFile =
    "it does not name Membersh.dat or Handicap.ini with a fingerprint and a length";
constexpr const char* kBadNumber = "the member number is not a whole number from 1 to 32767";
constexpr const char* kBadHandicap = "a handicap is not a number from -1000 to 1000";
constexpr const char* kBadSessions = "its sessions do not match their count";
constexpr const char* kBadFigure = "a session's net score, average or adjustment is not a number";
constexpr const char* kTwice = "the member is there twice in one update";
constexpr const char* kBadHanCount = "the member count is not a whole number";
constexpr const char* kShortHan = "there are fewer handicaps than the member count";

// A decimal of up to 15 digits with at most 22 after the point, as the file writes its
// handicaps and figures, to the same double the general parser gives: the digits as a whole
// number are exact in a double, and so is the power of ten, so one division rounds once. There
// are over a million of them in twenty years' history.
std::optional<double> ShortDecimal(std::string_view text) {
  static constexpr double kTens[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                     1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                     1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  const bool negative = !text.empty() && text[0] == '-';
  if (negative) text.remove_prefix(1);
  std::int64_t whole = 0;
  int digits = 0, places = -1;
  for (const char c : text) {
    if (c == '.' && places < 0 && digits > 0) {
      places = 0;
    } else if (c >= '0' && c <= '9') {
      whole = whole * 10 + (c - '0');
      if (++digits > 15) return std::nullopt;
      if (places >= 0 && ++places > 22) return std::nullopt;
    } else {
      return std::nullopt;
    }
  }
  if (digits == 0 || places == 0) return std::nullopt;
  const double value = static_cast<double>(whole) / kTens[std::max(places, 0)];
  return negative ? -value : value;
}

std::optional<double> Finite(std::string_view text) {
  if (const std::optional<double> quick = ShortDecimal(text)) return quick;
  const std::optional<double> value = ParseNumber(text);
  if (!value || !std::isfinite(*value)) return std::nullopt;
  return value;
}

// A figure beyond kMostHandicap is damage and is not believed.
std::optional<double> Handicap(std::string_view text) {
  const std::optional<double> value = Finite(text);
  if (!value || std::abs(*value) > kMostHandicap) return std::nullopt;
  return value;
}

bool Empty(std::string_view item) {
  return item.empty();
}

// Reads one "Member" line into entry; the reason when it cannot.
const char* ReadMember(const std::vector<std::string_view>& items, HistoryEntry& entry) {
  if (items.size() < 7) return kBadSessions;
  const std::optional<double> number = ShortWholeNumber(items[2]);
  if (!number || *number < 1 || *number > std::numeric_limits<short>::max()) return kBadNumber;
  HistoryMember m;
  m.number = static_cast<short>(*number);
  m.name = std::string(items[3]);
  if (!items[4].empty()) {
    m.before = Handicap(items[4]);
    if (!m.before) return kBadHandicap;
  }
  const std::optional<double> after = Handicap(items[5]);
  if (!after) return kBadHandicap;
  m.after = *after;
  const std::optional<double> count = ShortWholeNumber(items[6]);
  if (!count || *count < 0 || 7 + 4 * *count > static_cast<double>(items.size()))
    return kBadSessions;
  const auto sessions = static_cast<size_t>(*count);
  // A spreadsheet may pad a line with empty items; anything else after the sessions is not ours.
  if (!std::all_of(items.begin() + static_cast<std::ptrdiff_t>(7 + 4 * sessions), items.end(),
                   Empty))
    return kBadSessions;
  m.sessions.reserve(sessions);
  size_t next = 0;
  for (size_t s = 0; s < sessions; ++s) {
    const size_t at = 7 + 4 * s;
    const std::string_view label = items[at];
    const std::optional<double> net = Finite(items[at + 1]);
    const std::optional<double> average = Finite(items[at + 2]);
    const std::optional<double> adjustment = Finite(items[at + 3]);
    if (!net || !average || !adjustment) return kBadFigure;
    // Every member of an update played in the same few sessions, in their order: one label
    // each, most often the one after the member's last.
    size_t index = next;
    if (index >= entry.sessionLabels.size() || entry.sessionLabels[index] != label) {
      index = static_cast<size_t>(
          std::find(entry.sessionLabels.begin(), entry.sessionLabels.end(), label) -
          entry.sessionLabels.begin());
      if (index == entry.sessionLabels.size()) entry.sessionLabels.emplace_back(label);
    }
    next = index + 1;
    m.sessions.push_back({static_cast<short>(index), *net, *average, *adjustment});
  }
  // Lines come in member order as the program writes them; a hand-edited file may not.
  auto place = entry.members.end();
  if (!entry.members.empty() && entry.members.back().number >= m.number) {
    place =
        std::lower_bound(entry.members.begin(), entry.members.end(), m.number,
                         [](const HistoryMember& member, short n) { return member.number < n; });
    if (place != entry.members.end() && place->number == m.number) return kTwice;
  }
  entry.members.insert(place, std::move(m));
  return nullptr;
}

// The number of a name like "Membersh-260330-2.bak" for its tag ("260330", "first"): 1 without a
// number; 0 when the name is not such a copy.
struct CopyName {
  std::string tag;
  int number = 0;
};
std::optional<CopyName> MembershipCopyName(std::string_view name) {
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
  std::string low(name.size(), ' ');
  std::transform(name.begin(), name.end(), low.begin(), lower);
  constexpr std::string_view kStem = "membersh-";
  constexpr std::string_view kExtension = ".bak";
  if (!low.starts_with(kStem) || !low.ends_with(kExtension)) return std::nullopt;
  std::string_view rest(low);
  rest = rest.substr(kStem.size(), rest.size() - kStem.size() - kExtension.size());
  CopyName copy{std::string(rest.substr(0, rest.find('-'))), 1};
  if (copy.tag != "first" && (copy.tag.size() != 6 || !ShortWholeNumber(copy.tag)))
    return std::nullopt;
  if (copy.tag.size() < rest.size()) {
    const std::optional<double> n = ShortWholeNumber(rest.substr(copy.tag.size() + 1));
    if (!n || *n < 2) return std::nullopt;
    copy.number = static_cast<int>(*n);
  }
  return copy;
}

// The handicaps of a .han file by member number, from 1; what could be read of a damaged one.
std::vector<double> ReadHan(std::string_view text, const std::string& file, HistoryDamage& damage) {
  HistoryLines lines(text);
  HistoryLines::Line line;
  std::vector<double> handicaps;
  if (!lines.Next(line)) {
    damage.Note(file, 1, kBadHanCount);
    return handicaps;
  }
  const std::optional<double> count = ShortWholeNumber(Trim(line.raw));
  if (!count || *count < 0) {
    damage.Note(file, 1, kBadHanCount);
    return handicaps;
  }
  // A count no file of this size can hold is not believed before the lines are there.
  handicaps.reserve(std::min(static_cast<size_t>(*count), text.size() / 2));
  while (handicaps.size() < static_cast<size_t>(*count)) {
    if (!lines.Next(line)) {
      damage.Note(file, line.number + 1, kShortHan);
      break;
    }
    const std::optional<double> value = Handicap(line.raw);
    if (!value) {
      damage.Note(file, line.number, kBadHandicap);
      break;
    }
    handicaps.push_back(*value);
  }
  return handicaps;
}

// Whether a membership copy is the file the update of a .han wrote: the same members, each with
// the handicap the .han holds.
bool LinesUp(const MemberTable& copy, const std::vector<double>& handicaps) {
  if (copy.MemberCount() != static_cast<short>(handicaps.size()) ||
      handicaps.size() > static_cast<size_t>(std::numeric_limits<short>::max()))
    return false;
  for (short m = 1; m <= copy.MemberCount(); ++m)
    if (std::abs(copy.Member(m).StartHandicap - handicaps[static_cast<size_t>(m - 1)]) > 1e-9)
      return false;
  return true;
}

HistoryEntry HanEntry(Date day, const std::vector<double>& handicaps, const MemberTable* named,
                      const MemberTable& today) {
  HistoryEntry entry;
  entry.lastSession = day;
  entry.source =
      named != nullptr ? HistoryEntry::Source::Han : HistoryEntry::Source::HanLessCertain;
  const MemberTable& names = named != nullptr ? *named : today;
  entry.members.resize(handicaps.size());
  for (size_t i = 0; i < handicaps.size(); ++i) {
    HistoryMember& m = entry.members[i];
    m.number = static_cast<short>(std::min<size_t>(i + 1, std::numeric_limits<short>::max()));
    if (m.number <= names.MemberCount()) m.name = names.Member(m.number).FullName;
    m.after = handicaps[i];
  }
  return entry;
}

// The handicaps a .han update's members had before it: after the update before it, by name.
void FillBefore(HistoryEntry& entry, const std::unordered_map<std::string_view, double>& previous) {
  for (HistoryMember& m : entry.members) {
    if (m.name.empty()) continue;
    if (const auto it = previous.find(m.name); it != previous.end()) m.before = it->second;
  }
}

}  // namespace

void HistoryDamage::Note(const std::string& file, int line, const std::string& reason) {
  Note("Cannot read line " + std::to_string(line) + " of the history file " + file + " - " +
       reason);
}

void HistoryDamage::Note(std::string text) {
  if (count_++ == 0) first_ = std::move(text);
}

std::string HistoryDamage::Text() const {
  std::string text = first_;
  if (count_ > 1)
    text += "\r\n" + std::to_string(count_ - 1) + " more " + (count_ == 2 ? "line" : "lines") +
            " of the history files cannot be read either.";
  return text + "\r\nThe window shows what could be read.";
}

std::vector<HistoryEntry> ReadHistoryText(std::string_view text, const std::string& file,
                                          HistoryDamage& damage) {
  std::vector<HistoryEntry> entries;
  std::map<Date, size_t> byDate;
  HistoryLines lines(text);
  HistoryLines::Line line;
  while (lines.Next(line)) {
    if (line.items.size() == 1 && line.items[0].empty()) continue;  // a blank line
    if (line.number == 1 && line.items.size() >= 2 && line.items[1] == "Kind") continue;
    auto bad = [&](const char* reason) { damage.Note(file, line.number, reason); };
    if (line.unclosedQuote) {
      bad(kUnclosedQuote);
      continue;
    }
    const std::optional<Date> day = HistoryDate(line.items[0]);
    if (!day) {
      bad(kNoDate);
      continue;
    }
    const std::string_view kind = line.items.size() > 1 ? line.items[1] : std::string_view();
    if (kind != kSavedKind && kind != kFileKind && kind != kMemberKind && !IsRunKind(kind)) {
      bad(kUnknownKind);
      continue;
    }
    size_t index = 0;
    bool added = false;
    if (!entries.empty() && entries.back().lastSession == *day) {
      index = entries.size() - 1;
    } else if (const auto it = byDate.find(*day); it != byDate.end()) {
      index = it->second;
    } else {
      index = entries.size();
      added = true;
      byDate.emplace(*day, index);
      // Most updates have as many members as the one before.
      const size_t members = entries.empty() ? 0 : entries.back().members.size();
      entries.emplace_back().lastSession = *day;
      entries.back().members.reserve(members);
    }
    HistoryEntry& entry = entries[index];
    const char* reason = nullptr;
    if (kind == kMemberKind) {
      reason = ReadMember(line.items, entry);
    } else if (IsRunKind(kind)) {
      reason = ReadRunLine(line.items, entry);
      if (reason != nullptr) entry.recordDamaged = true;
    } else if (kind == kFileKind) {
      const std::optional<FileLine> file = ReadFileLine(line.items);
      if (file) (file->membership ? entry.membership : entry.parameters) = file->written;
      if (!file) reason = kBadFile;
    } else {
      const std::optional<Date> saved =
          line.items.size() > 2 ? HistoryDate(line.items[2]) : std::nullopt;
      if (saved) entry.saved = saved;
      if (!saved) reason = kBadSaved;
    }
    if (reason == nullptr) continue;
    bad(reason);
    // A line that could not be read makes no update of its own.
    if (added) {
      byDate.erase(*day);
      entries.pop_back();
    }
  }
  std::stable_sort(
      entries.begin(), entries.end(),
      [](const HistoryEntry& a, const HistoryEntry& b) { return a.lastSession < b.lastSession; });
  return entries;
}

std::optional<Date> HanFileDate(std::string_view name) {
  if (name.size() != 10 || name[6] != '.') return std::nullopt;
  const std::string_view extension = name.substr(7);
  auto is = [&](size_t i, char c) { return extension[i] == c || extension[i] == c - 32; };
  if (!is(0, 'h') || !is(1, 'a') || !is(2, 'n')) return std::nullopt;
  const std::string_view digits = name.substr(0, 6);
  if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return std::nullopt;
  // As the program reads a two-digit year anywhere: 00-29 this century, 30-99 the last.
  return ParseDate(std::string(digits.substr(4, 2)) + "/" + std::string(digits.substr(2, 2)) + "/" +
                   std::string(digits.substr(0, 2)));
}

History ReadHistory(const Context& context, const MemberTable& today, HistoryDamage& damage) {
  History history;
  if (!context.NoUpdateYet && !context.Parameters.LastUpdated.empty())
    history.lastUpdate = ParseDate(context.Parameters.LastUpdated);
  const std::string& folder = context.HandicapFolder;
  const std::string csv = folder + kHistoryFileName;
  FileError error;
  if (const std::optional<std::string> text = ReadFileBytes(csv, &error)) {
    history.updates = ReadHistoryText(*text, csv, damage);
  } else if (error.number != err::kFileNotFound && error.number != err::kPathNotFound) {
    damage.Note("Cannot read the history file " + csv + " " + error.description);
  }

  std::vector<std::string> names;
  if (!CurrentFileSystem().ListFolder(folder, names, error)) {
    if (error.number != err::kPathNotFound)
      damage.Note(CannotReadFolderText(folder + kHistoryFileName, error));
    names.clear();
  }
  // The lowest-numbered membership copy of each update.
  std::map<std::string, std::pair<int, std::string>> copies;
  std::map<Date, std::string> hans;
  for (const std::string& name : names) {
    if (const std::optional<CopyName> copy = MembershipCopyName(name)) {
      auto [it, added] = copies.try_emplace(copy->tag, copy->number, name);
      if (!added && copy->number < it->second.first) it->second = {copy->number, name};
    } else if (const std::optional<Date> day = HanFileDate(name)) {
      hans.emplace(*day, name);
    }
  }
  std::vector<Date> known;
  for (const HistoryEntry& e : history.updates)
    known.push_back(e.lastSession);
  // Every save since History.csv began writes it, so a .han file after its first update without
  // lines of its own is no saved update (an undo that could not tidy it away, say).
  for (const auto& [day, name] : hans) {
    if (!known.empty() && day >= known.front()) continue;
    if (history.lastUpdate && day > *history.lastUpdate) continue;
    const std::optional<std::string> text = ReadFileBytes(folder + name, &error);
    if (!text) {
      damage.Note("Cannot read the history file " + folder + name + " " + error.description);
      continue;
    }
    const std::vector<double> handicaps = ReadHan(*text, folder + name, damage);
    std::optional<MemberTable> named;
    if (const auto copy = copies.find(FormatDate(day, "yymmdd")); copy != copies.end()) {
      if (const auto bytes = ReadFileBytes(folder + copy->second.second))
        named = MembersFromBytes(*bytes);
      if (named && !LinesUp(*named, handicaps)) named.reset();
    }
    history.updates.push_back(HanEntry(day, handicaps, named ? &*named : nullptr, today));
  }
  std::stable_sort(
      history.updates.begin(), history.updates.end(),
      [](const HistoryEntry& a, const HistoryEntry& b) { return a.lastSession < b.lastSession; });
  if (history.lastUpdate) {
    const Date last = *history.lastUpdate;
    std::erase_if(history.updates, [last](const HistoryEntry& e) { return e.lastSession > last; });
  }

  // The handicaps before each update read from a .han file.
  std::optional<MemberTable> first;
  if (const auto copy = copies.find("first"); copy != copies.end())
    if (const auto bytes = ReadFileBytes(folder + copy->second.second))
      first = MembersFromBytes(*bytes);
  for (size_t i = 0; i < history.updates.size(); ++i) {
    HistoryEntry& entry = history.updates[i];
    if (entry.source == HistoryEntry::Source::HistoryFile) continue;
    std::unordered_map<std::string_view, double> previous;
    if (i > 0) {
      for (const HistoryMember& m : history.updates[i - 1].members)
        previous.try_emplace(m.name, m.after);
    } else if (first) {
      for (short m = 1; m <= first->MemberCount(); ++m)
        previous.try_emplace(first->Member(m).FullName, first->Member(m).StartHandicap);
    }
    FillBefore(entry, previous);
  }
  return history;
}

void ReadHistoryForWindow(Guard& guard, Context& context, MemberTable& today, HistoryDamage& damage,
                          History& history) {
  guard.Step(100, [&] {
    const bool cancelled = context.Cancelled;
    LoadMembers(today, context);
    context.Cancelled = cancelled;
  });
  guard.Step(110, [&] { history = ReadHistory(context, today, damage); });
}

}  // namespace pg
