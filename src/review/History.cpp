#include "review/History.h"

#include <charconv>

#include "base/Files.h"
#include "base/Numbers.h"

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

}  // namespace

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

}  // namespace pg
