#include "review/History.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>

#include "base/Files.h"
#include "base/Numbers.h"
#include "review/Members.h"

namespace pg {
namespace {

constexpr const char* kParametersName = "Handicap.ini";

// A text item: in double quotes, a quote inside doubled. A line end would end the record, and no
// name or label the program writes can hold one, so it becomes a blank.
void Quoted(std::string& out, std::string_view text) {
  out += '"';
  for (const char c : text) {
    if (c == '"') {
      out += "\"\"";
    } else if (c == '\r' || c == '\n') {
      out += ' ';
    } else {
      out += c;
    }
  }
  out += '"';
}

// Net scores, averages and adjustments as the review window shows them.
std::string Figure(double value) {
  std::string text = FormatNumber(value, "0.00");
  return text == "-0.00" ? "0.00" : text;
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsBlank(text.front()))
    text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back()))
    text.remove_suffix(1);
  return text;
}

int Digits(std::string_view text, size_t at, size_t count) {
  int value = 0;
  for (size_t i = at; i < at + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return -1;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

void WrittenFileLine(std::string& out, const std::string& date, const char* name,
                     const WrittenFile& file) {
  out += date;
  out += ",\"File\",";
  Quoted(out, name);
  out += ",\"" + Hex(file.fingerprint) + "\"," + std::to_string(file.length) + ",";
  Quoted(out, file.copy ? file.copy->name : "");
  if (file.copy && file.copy->fingerprint)
    out += ",\"" + Hex(*file.copy->fingerprint) + "\"," + std::to_string(file.copy->length);
  out += "\r\n";
}

void AppendRunLines(std::string& out, const std::string& date, const HistoryEntry& entry);

}  // namespace

std::string Hex(std::uint64_t value) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text(16, '0');
  for (int i = 15; i >= 0; --i, value >>= 4)
    text[static_cast<size_t>(i)] = kDigits[value & 0xf];
  return text;
}

std::optional<std::uint64_t> Unsigned(std::string_view text, int base) {
  std::uint64_t value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

std::uint64_t Fingerprint(std::string_view bytes) {
  std::uint64_t hash = 14695981039346656037ULL;
  for (const char c : bytes) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ULL;
  }
  return hash;
}

std::string HistoryHeadingLine() {
  std::string out;
  bool first = true;
  for (const char* heading : {"Last session", "Kind", "Number", "Name", "Before", "After",
                              "Sessions", "Session", "Net score", "Average", "Adjustment"}) {
    if (!first) out += ',';
    first = false;
    Quoted(out, heading);
  }
  return out + "\r\n";
}

std::string HistoryEntryText(const HistoryEntry& entry) {
  const std::string date = FormatDate(entry.lastSession, "yyyy-mm-dd");
  std::string out;
  out.reserve(entry.members.size() * (64 + 32 * entry.sessionLabels.size()));
  if (entry.saved) out += date + ",\"Saved\"," + FormatDate(*entry.saved, "yyyy-mm-dd") + "\r\n";
  if (entry.membership) WrittenFileLine(out, date, kMembershipName, *entry.membership);
  if (entry.parameters) WrittenFileLine(out, date, kParametersName, *entry.parameters);
  AppendRunLines(out, date, entry);
  for (const HistoryMember& m : entry.members) {
    out += date;
    out += ",\"Member\",";
    out += std::to_string(m.number);
    out += ',';
    Quoted(out, m.name);
    out += ',';
    if (m.before) out += NumberText(*m.before);
    out += ',';
    out += NumberText(m.after);
    out += ',';
    out += std::to_string(m.sessions.size());
    for (const PlayedSession& s : m.sessions) {
      out += ',';
      const auto label = static_cast<size_t>(s.session);
      Quoted(out, label < entry.sessionLabels.size() ? entry.sessionLabels[label] : "");
      out += ',' + Figure(s.netScore) + ',' + Figure(s.average) + ',' + Figure(s.adjustment);
    }
    out += "\r\n";
  }
  return out;
}

bool HistoryLines::Next(Line& line) {
  if (pos_ >= text_.size()) return false;
  line.number = ++number_;
  line.items.clear();
  line.unclosedQuote = false;
  unquoted_.clear();
  const size_t end = text_.find('\n', pos_);
  const size_t lineEnd = end == std::string_view::npos ? text_.size() : end;
  std::string_view raw = text_.substr(pos_, lineEnd - pos_);
  if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
  pos_ = end == std::string_view::npos ? text_.size() : end + 1;
  line.raw = raw;

  const size_t n = raw.size();
  size_t i = 0;
  for (;;) {
    while (i < n && IsBlank(raw[i]))
      ++i;
    size_t after = 0;  // the comma after the item, or n
    if (i < n && raw[i] == '"') {
      size_t j = i + 1;
      bool doubled = false;
      while (j < n) {
        if (raw[j] != '"') {
          ++j;
        } else if (j + 1 < n && raw[j + 1] == '"') {
          doubled = true;
          j += 2;
        } else {
          break;
        }
      }
      if (j >= n) {
        line.unclosedQuote = true;
        line.items.push_back(raw.substr(i + 1));
        return true;
      }
      std::string_view item = raw.substr(i + 1, j - i - 1);
      if (doubled) {
        std::string& text = unquoted_.emplace_back();
        for (size_t k = 0; k < item.size(); ++k) {
          text += item[k];
          if (item[k] == '"') ++k;
        }
        item = text;
      }
      line.items.push_back(item);
      // Anything between the closing quote and the comma is not part of the item.
      after = j + 1;
      while (after < n && raw[after] != ',')
        ++after;
    } else {
      // Items are short: a loop finds their end sooner than a search.
      after = i;
      while (after < n && raw[after] != ',')
        ++after;
      line.items.push_back(Trimmed(raw.substr(i, after - i)));
    }
    if (after >= n) break;
    i = after + 1;
  }
  return true;
}

std::optional<Date> HistoryDate(std::string_view item) {
  if (item.size() == 10 && item[4] == '-' && item[7] == '-') {
    const int year = Digits(item, 0, 4);
    const int month = Digits(item, 5, 2);
    const int day = Digits(item, 8, 2);
    if (year < 0 || month < 1 || day < 1) return std::nullopt;
    const std::chrono::year_month_day ymd{std::chrono::year(year),
                                          std::chrono::month(static_cast<unsigned>(month)),
                                          std::chrono::day(static_cast<unsigned>(day))};
    if (!ymd.ok()) return std::nullopt;
    return Date(ymd);
  }
  // A spreadsheet shows dates in the desktop's way and may save them so.
  if (item.empty() || item.size() > 20 || item[0] < '0' || item[0] > '9') return std::nullopt;
  return ParseDate(item);
}

std::optional<FileLine> ReadFileLine(const std::vector<std::string_view>& items) {
  if (items.size() < 5) return std::nullopt;
  FileLine line;
  if (items[2] == kMembershipName) {
    line.membership = true;
  } else if (items[2] != kParametersName) {
    return std::nullopt;
  }
  const auto fingerprint = items[3].size() == 16 ? Unsigned(items[3], 16) : std::nullopt;
  const auto length = Unsigned(items[4], 10);
  if (!fingerprint || !length) return std::nullopt;
  line.written.fingerprint = *fingerprint;
  line.written.length = *length;
  if (items.size() > 5 && !items[5].empty()) {
    // An undo restores the copy over a club file: a name edited to reach outside the handicap
    // folder, or a device, is none.
    if (!IsPlainFileName(items[5])) return std::nullopt;
    KeptFile& copy = line.written.copy.emplace();
    copy.name = std::string(items[5]);
    if (items.size() > 7) {
      copy.fingerprint = items[6].size() == 16 ? Unsigned(items[6], 16) : std::nullopt;
      const auto copyLength = Unsigned(items[7], 10);
      if (!copy.fingerprint || !copyLength) return std::nullopt;
      copy.length = *copyLength;
    }
  }
  return line;
}

std::string RewrittenHistory(std::string_view existing, std::optional<Date> remove,
                             std::optional<Date> lastUpdate, const HistoryEntry* add) {
  std::string out;
  out.reserve(existing.size() + 256);
  HistoryLines lines(existing);
  HistoryLines::Line line;
  while (lines.Next(line)) {
    const bool heading = line.number == 1 && line.items.size() >= 2 && line.items[1] == "Kind";
    if (line.number == 1 && !heading) out += HistoryHeadingLine();
    if (!heading) {
      const auto day = HistoryDate(line.items.front());
      if (day && ((remove && *day == *remove) || (lastUpdate && *day > *lastUpdate))) continue;
    }
    out += line.raw;
    out += "\r\n";
  }
  if (out.empty()) out = HistoryHeadingLine();
  if (add != nullptr) out += HistoryEntryText(*add);
  return out;
}

std::vector<Date> SavedUpdateDates(std::string_view text) {
  std::vector<Date> days;
  HistoryLines lines(text);
  HistoryLines::Line line;
  while (lines.Next(line))
    if (line.items.size() >= 2 && line.items[1] == kSavedKind)
      if (const auto day = HistoryDate(line.items.front())) days.push_back(*day);
  return days;
}

std::string UpdateName(Date lastSession) {
  return FormatDate(lastSession, "dddd dd mmm yyyy");
}

WrittenFiles WrittenFilesOf(std::string_view text, Date day) {
  WrittenFiles files;
  HistoryLines lines(text);
  HistoryLines::Line line;
  while (lines.Next(line)) {
    if (line.items.size() < 2 || line.items[1] != kFileKind) continue;
    const auto date = HistoryDate(line.items.front());
    if (!date || *date != day) continue;
    if (const auto file = ReadFileLine(line.items))
      (file->membership ? files.membership : files.parameters) = file->written;
  }
  return files;
}

namespace {

const char* TimeText(short timeOfDay) {
  return timeOfDay == 1 ? "afternoon" : "evening";
}

// A session's keys as the Session and Visitor lines write them: its day, time of day and section.
void SessionKeys(std::string& out, Date day, short timeOfDay, short sectionNo) {
  out += ',' + FormatDate(day, "yyyy-mm-dd") + ',';
  Quoted(out, TimeText(timeOfDay));
  out += ',' + std::to_string(sectionNo);
}

// The parameters an update applies, in the parameter editor's order, as a Parameters line has
// them.
std::array<double, 9> UpdateParameters(const HandicapParameters& p) {
  return {p.DeadZone[0],   p.DeadZone[1],   p.HandicapRange[0], p.HandicapRange[1], p.RoundingStep,
          p.AdjustRate[0], p.AdjustRate[1], p.MaxAdjust[0],     p.MaxAdjust[1]};
}

void AppendRunLines(std::string& out, const std::string& date, const HistoryEntry& entry) {
  if (const auto& p = entry.runParameters) {
    out += date + ",\"Parameters\"";
    for (const double value : UpdateParameters(*p))
      out += ',' + NumberText(value);
    out += "\r\n";
  }
  for (size_t i = 0; i < entry.sessions.size(); ++i) {
    const UsedSession& s = entry.sessions[i];
    out += date + ",\"Session\"," + std::to_string(i + 1);
    SessionKeys(out, s.day, s.timeOfDay, s.sectionNo);
    out += ',';
    Quoted(out, s.file);
    out += ",\"" + Hex(s.fingerprint) + "\"\r\n";
  }
  for (const VisitorHandicap& v : entry.visitors) {
    out += date + ",\"Visitor\"";
    SessionKeys(out, v.day, v.timeOfDay, v.sectionNo);
    out += ',';
    Quoted(out, v.name);
    out += ',' + NumberText(v.handicap) + "\r\n";
  }
  for (const HandCorrection& c : entry.corrections) {
    out += date + ",\"Corrected\"," + std::to_string(c.number) + ',';
    Quoted(out, c.name);
    out += ',' + NumberText(c.run) + "\r\n";
  }
}

// A handicap or a parameter: as the reader takes a Member line's handicaps, a figure beyond 1000
// either way is damage and not believed.
std::optional<double> Figure1000(std::string_view text) {
  const std::optional<double> value = ParseNumber(text);
  if (!value || !std::isfinite(*value) || std::abs(*value) > 1000) return std::nullopt;
  return value;
}

// A whole number from `low` to `high`.
std::optional<short> WholeIn(std::string_view text, int low, int high) {
  const std::optional<double> value = ShortWholeNumber(text);
  if (!value || *value < low || *value > high) return std::nullopt;
  return static_cast<short>(*value);
}

// A session's keys from items[at..at + 2]; nothing when they are not a day, "afternoon" or
// "evening", and a section from 0 to 26.
struct Keys {
  Date day{};
  short timeOfDay = 1;
  short sectionNo = 1;
};
std::optional<Keys> ReadKeys(const std::vector<std::string_view>& items, size_t at) {
  const std::optional<Date> day = HistoryDate(items[at]);
  const std::string_view time = items[at + 1];
  const std::optional<short> section = WholeIn(items[at + 2], 0, 26);
  if (!day || !section || (time != "afternoon" && time != "evening")) return std::nullopt;
  return Keys{*day, static_cast<short>(time == "afternoon" ? 1 : 2), *section};
}

// Exactly `count` items, or more that a spreadsheet padded the line with.
bool Fits(const std::vector<std::string_view>& items, size_t count) {
  return items.size() >= count &&
         std::all_of(items.begin() + static_cast<std::ptrdiff_t>(count), items.end(),
                     [](std::string_view item) { return item.empty(); });
}

constexpr const char* kBadParameters = "a parameter is not a number from -1000 to 1000";
constexpr const char* kBadSession =
    "it does not give the session's place, day, time of day, section, file and fingerprint";
constexpr const char* kSessionOutOfPlace = "the session does not follow the one before it";
constexpr const char* kBadVisitor =
    "it does not give the session's day, time of day and section, a name and a handicap from "
    "-1000 to 1000";
constexpr const char* kBadCorrection =
    "it does not give a member number from 1 to 32767, a name and a handicap from -1000 to 1000";

}  // namespace

bool IsRunKind(std::string_view kind) {
  return kind == kParametersKind || kind == kSessionKind || kind == kVisitorKind ||
         kind == kCorrectedKind;
}

const char* ReadRunLine(const std::vector<std::string_view>& items, HistoryEntry& entry) {
  const std::string_view kind = items.size() > 1 ? items[1] : std::string_view();
  if (kind == kParametersKind) {
    if (!Fits(items, 11)) return kBadParameters;
    std::array<double, 9> v{};
    for (size_t i = 0; i < v.size(); ++i) {
      const std::optional<double> value = Figure1000(items[2 + i]);
      if (!value) return kBadParameters;
      v[i] = *value;
    }
    HandicapParameters& p = entry.runParameters.emplace();
    p.DeadZone = {v[0], v[1]};
    p.HandicapRange = {v[2], v[3]};
    p.RoundingStep = v[4];
    p.AdjustRate = {v[5], v[6]};
    p.MaxAdjust = {v[7], v[8]};
    return nullptr;
  }
  if (kind == kSessionKind) {
    if (!Fits(items, 8)) return kBadSession;
    const std::optional<short> place = WholeIn(items[2], 1, std::numeric_limits<short>::max());
    const std::optional<Keys> keys = ReadKeys(items, 3);
    const auto fingerprint = items[7].size() == 16 ? Unsigned(items[7], 16) : std::nullopt;
    if (!place || !keys || !fingerprint) return kBadSession;
    // A session missing from its place would replay the update without it.
    if (static_cast<size_t>(*place) != entry.sessions.size() + 1) return kSessionOutOfPlace;
    entry.sessions.push_back(
        {keys->day, keys->timeOfDay, keys->sectionNo, std::string(items[6]), *fingerprint});
    return nullptr;
  }
  if (kind == kVisitorKind) {
    if (!Fits(items, 7)) return kBadVisitor;
    const std::optional<Keys> keys = ReadKeys(items, 2);
    const std::optional<double> handicap = Figure1000(items[6]);
    if (!keys || !handicap || items[5].empty()) return kBadVisitor;
    entry.visitors.push_back(
        {keys->day, keys->timeOfDay, keys->sectionNo, std::string(items[5]), *handicap});
    return nullptr;
  }
  if (kind == kCorrectedKind) {
    if (!Fits(items, 5)) return kBadCorrection;
    const std::optional<short> number = WholeIn(items[2], 1, std::numeric_limits<short>::max());
    const std::optional<double> run = Figure1000(items[4]);
    if (!number || !run) return kBadCorrection;
    entry.corrections.push_back({*number, std::string(items[3]), *run});
    return nullptr;
  }
  return kBadSession;
}

void RecordRun(HistoryEntry& entry, const UpdateOutputs& outputs, const MemberTable& members,
               const std::vector<short>& numberSaved) {
  // Nothing goes in that the reader would refuse: a Handicap.ini edited to figures no club has
  // leaves the update without its parameters, as one saved before they were kept.
  const auto believed = [](double value) { return std::abs(value) <= 1000; };
  entry.sessions = outputs.Sessions;
  if (const auto& p = outputs.Parameters; p && std::ranges::all_of(UpdateParameters(*p), believed))
    entry.runParameters = p;
  for (const VisitorHandicap& v : outputs.Visitors)
    if (believed(v.handicap)) entry.visitors.push_back(v);
  const short count = members.MemberCount();
  if (outputs.RunHandicaps.size() != static_cast<size_t>(std::max<short>(count, 0)) + 1) return;
  for (short m = 1; m <= count; ++m) {
    const MemberRecord& r = members.Member(m);
    const double run = outputs.RunHandicaps[static_cast<size_t>(m)];
    const short saved =
        static_cast<size_t>(m) <= numberSaved.size() ? numberSaved[static_cast<size_t>(m - 1)] : 0;
    // As the history writes them: a correction that gives back the run's figure is none.
    if (saved > 0 && NumberText(r.EndHandicap.value_or(r.StartHandicap)) != NumberText(run) &&
        believed(run))
      entry.corrections.push_back({saved, r.FullName, run});
  }
}

std::map<std::string, double> LastVisitorHandicaps(std::string_view text,
                                                   std::optional<Date> lastUpdate) {
  std::map<std::string, std::pair<Date, double>> latest;
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t end = std::min(text.find('\n', pos), text.size());
    const std::string_view raw = text.substr(pos, end - pos);
    pos = end + 1;
    // Only the few lines that can be visitors' are cut into items.
    if (raw.find(kVisitorKind) == std::string_view::npos) continue;
    HistoryLines lines(raw);
    HistoryLines::Line line;
    if (!lines.Next(line) || line.unclosedQuote || line.items.size() < 2 ||
        line.items[1] != kVisitorKind)
      continue;
    const std::optional<Date> update = HistoryDate(line.items[0]);
    HistoryEntry entry;
    if (!update || (lastUpdate && *update > *lastUpdate) || ReadRunLine(line.items, entry))
      continue;
    const VisitorHandicap& v = entry.visitors.front();
    const auto [it, added] = latest.try_emplace(v.name, *update, v.handicap);
    if (!added && it->second.first <= *update) it->second = {*update, v.handicap};
  }
  std::map<std::string, double> handicaps;
  for (const auto& [name, given] : latest)
    handicaps.emplace(name, given.second);
  return handicaps;
}

}  // namespace pg
