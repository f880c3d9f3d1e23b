#include "update/NearNames.h"

#include <algorithm>
#include <array>
#include <numeric>
#include <string_view>

#include "base/Files.h"
#include "base/Numbers.h"
#include "session/SessionFile.h"
#include "update/ShortForms.h"

namespace pg {
namespace {

bool Separates(char c) {
  return c == ' ' || c == '\t' || c == ',' || c == '\xA0';
}

// The name as the rule compares it: small letters, one blank between words, none outside.
std::string Fold(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  bool gap = false;
  for (const char c : text) {
    if (Separates(c)) {
      gap = !out.empty();
      continue;
    }
    if (gap) out += ' ';
    gap = false;
    out += LowerLatin1(c);
  }
  return out;
}

// Text written as UTF-8 into the Latin-1 file (each accented letter shown as two odd ones) as it
// was meant, a character Latin-1 lacks as '\x1A'; nothing when the text is not UTF-8 beyond plain
// ASCII. A name in Latin-1 with accents is not UTF-8: an accented letter is never followed by
// the symbols a UTF-8 sequence would need.
std::optional<std::string> FromUtf8(std::string_view text) {
  std::string out;
  bool decoded = false;
  for (size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {
      out += text[i++];
      continue;
    }
    const size_t extra = lead >= 0xC2 && lead < 0xE0   ? 1
                         : lead >= 0xE0 && lead < 0xF0 ? 2
                         : lead >= 0xF0 && lead < 0xF5 ? 3
                                                       : 0;
    if (extra == 0 || i + extra >= text.size()) return std::nullopt;
    unsigned code = lead & (0x3Fu >> extra);
    for (size_t k = 1; k <= extra; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return std::nullopt;
      code = code << 6 | (next & 0x3Fu);
    }
    if ((extra == 2 && code < 0x800) || (extra == 3 && code < 0x10000)) return std::nullopt;
    out += code <= 0xFF ? static_cast<char>(code) : '\x1A';
    decoded = true;
    i += extra + 1;
  }
  if (!decoded) return std::nullopt;
  return out;
}

size_t Letters(std::string_view name) {
  return static_cast<size_t>(
      std::count_if(name.begin(), name.end(), [](char c) { return c != ' '; }));
}

bool Vowel(char c) {
  return c == 'a' || c == 'e' || c == 'i' || c == 'o' || c == 'u';
}

// Names of one length that differ in one vowel for another, in a word of up to four letters:
// another name (Hill, Hull; Jean, Joan), not a slip.
bool AnotherVowel(std::string_view typed, std::string_view member) {
  if (typed.size() != member.size()) return false;
  size_t at = typed.size();
  for (size_t i = 0; i < typed.size(); ++i) {
    if (typed[i] == member[i]) continue;
    if (at != typed.size()) return false;
    at = i;
  }
  if (at == typed.size() || !Vowel(typed[at]) || !Vowel(member[at])) return false;
  const size_t start =
      member.rfind(' ', at) == std::string_view::npos ? 0 : member.rfind(' ', at) + 1;
  const size_t end = std::min(member.find(' ', at), member.size());
  return end - start <= 4;
}

// 0 for the same text, 1 for one letter added, dropped, changed or swapped with its
// neighbour, 2 for anything more: the common case of the rule, without a table.
int WithinOne(std::string_view a, std::string_view b) {
  size_t i = 0;
  while (i < a.size() && i < b.size() && a[i] == b[i])
    ++i;
  if (a.size() == b.size()) {
    if (i == a.size()) return 0;
    if (a.substr(i + 1) == b.substr(i + 1)) return 1;
    const bool swapped = i + 1 < a.size() && a[i] == b[i + 1] && a[i + 1] == b[i];
    return swapped && a.substr(i + 2) == b.substr(i + 2) ? 1 : 2;
  }
  if (a.size() + 1 == b.size()) return a.substr(i) == b.substr(i + 1) ? 1 : 2;
  if (b.size() + 1 == a.size()) return a.substr(i + 1) == b.substr(i) ? 1 : 2;
  return 2;
}

// The letters to add, drop, change or swap with their neighbour to make b of a, when that is at
// most `most`; otherwise more than most. The usual table a row at a time, given up once two rows
// running are past most (a swap reaches back two rows).
int Distance(std::string_view a, std::string_view b, int most,
             std::array<std::vector<int>, 3>& rows) {
  if (std::abs(static_cast<int>(a.size()) - static_cast<int>(b.size())) > most) return most + 1;
  if (most <= 1) return std::min(WithinOne(a, b), most + 1);
  auto& [before, above, row] = rows;
  before.assign(b.size() + 1, 0);
  above.resize(b.size() + 1);
  row.resize(b.size() + 1);
  std::iota(above.begin(), above.end(), 0);
  int aboveLeast = 0;
  for (size_t i = 1; i <= a.size(); ++i) {
    row[0] = static_cast<int>(i);
    int least = row[0];
    for (size_t j = 1; j <= b.size(); ++j) {
      int cell =
          std::min({above[j] + 1, row[j - 1] + 1, above[j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1)});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
        cell = std::min(cell, before[j - 2] + 1);
      row[j] = cell;
      least = std::min(least, cell);
    }
    if (least > most && aboveLeast >= most) return most + 1;
    aboveLeast = least;
    std::swap(before, above);
    std::swap(above, row);
  }
  return std::min(above[b.size()], most + 1);
}

// How often each letter comes in a name, for a quick bound: a letter added or dropped changes
// the counts by one, a letter changed by two, a swap not at all, so names whose counts differ by
// more than twice the letters allowed are further apart than that.
NearNameRule::Counts CountLetters(std::string_view name) {
  NearNameRule::Counts counts{};
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(LowerLatin1(c));
    const size_t bucket = byte >= 'a' && byte <= 'z' ? byte - 'a' : 26 + byte % 6;
    if (counts[bucket] < 255) ++counts[bucket];
  }
  return counts;
}

int CountsApart(const NearNameRule::Counts& a, const NearNameRule::Counts& b) {
  int apart = 0;
  for (size_t k = 0; k < a.size(); ++k)
    apart += std::abs(a[k] - b[k]);
  return apart;
}

// A slip in a short first name that still names the same person: two neighbouring letters
// swapped, or a letter doubled or undoubled, the first letter kept.
bool FirstNameSlip(std::string_view typed, std::string_view member) {
  if (typed.empty() || member.empty() || typed[0] != member[0]) return false;
  if (typed.size() == member.size()) {
    for (size_t i = 1; i + 1 < typed.size(); ++i)
      if (typed[i] != member[i])
        return typed[i] == member[i + 1] && typed[i + 1] == member[i] &&
               typed.substr(i + 2) == member.substr(i + 2);
    return false;
  }
  const std::string_view longer = typed.size() > member.size() ? typed : member;
  const std::string_view shorter = typed.size() > member.size() ? member : typed;
  if (longer.size() != shorter.size() + 1) return false;
  for (size_t i = 1; i < longer.size(); ++i) {
    if (longer[i] == longer[i - 1] && longer.substr(i + 1) == shorter.substr(i)) return true;
    if (i >= shorter.size() || longer[i] != shorter[i]) return false;
  }
  return false;
}

// The short forms of first names: the rows each name is in.
class ShortForms {
 public:
  ShortForms() {
    for (size_t row = 0; row < std::size(kShortFormRows); ++row) {
      std::string_view names = kShortFormRows[row];
      while (!names.empty()) {
        const size_t comma = std::min(names.find(','), names.size());
        rows_[std::string(names.substr(0, comma))].push_back(row);
        names.remove_prefix(std::min(comma + 1, names.size()));
      }
    }
  }
  // Two different names of one row.
  bool Related(const std::string& a, const std::string& b) const {
    const auto x = rows_.find(a), y = rows_.find(b);
    if (a == b || x == rows_.end() || y == rows_.end()) return false;
    return std::any_of(x->second.begin(), x->second.end(), [&](size_t row) {
      return std::find(y->second.begin(), y->second.end(), row) != y->second.end();
    });
  }

 private:
  std::unordered_map<std::string, std::vector<size_t>> rows_;
};

const ShortForms& TheShortForms() {
  static const ShortForms forms;
  return forms;
}

// A word without the point that may end it: "j." is the initial j, "mrs." the title.
std::string_view Pointless(std::string_view word) {
  return !word.empty() && word.back() == '.' ? word.substr(0, word.size() - 1) : word;
}

bool IsTitle(std::string_view word) {
  word = Pointless(word);
  return word == "mr" || word == "mrs" || word == "ms" || word == "miss" || word == "dr";
}

// How a typed first name stands for a member's of the same surname, when it does.
std::optional<FirstName> StandsFor(std::string_view typed, const std::string& member) {
  if (typed.empty() || member.empty()) return std::nullopt;
  const size_t blank = typed.find(' ');
  if (IsTitle(typed.substr(0, blank))) {
    if (blank == std::string_view::npos) return FirstName::Title;
    const std::optional<FirstName> rest = StandsFor(typed.substr(blank + 1), member);
    if (rest == FirstName::Same) return FirstName::Title;
    return rest;
  }
  if (typed == member) return FirstName::Same;
  const std::string_view initial = Pointless(typed), theirs = Pointless(member);
  if ((initial.size() == 1 && initial[0] == member[0]) ||
      (theirs.size() == 1 && theirs[0] == typed[0]))
    return FirstName::Initial;
  if (TheShortForms().Related(std::string(typed), member)) return FirstName::ShortForm;
  return std::nullopt;
}

// The first letters agree, the member's surname has three letters or more, and one letter
// makes the difference, not a vowel for a vowel in a short word.
bool SurnameSlip(std::string_view typed, std::string_view member,
                 std::array<std::vector<int>, 3>& rows) {
  return member.size() >= 3 && !typed.empty() && typed[0] == member[0] &&
         !AnotherVowel(typed, member) && Distance(typed, member, 1, rows) == 1;
}

// The closest members so far.
struct Best {
  std::optional<Nearness> how;
  std::vector<short> members;

  void Offer(short member, const Nearness& near) {
    if (!how || near < *how) {
      how = near;
      members.assign(1, member);
    } else if (near == *how && std::find(members.begin(), members.end(), member) == members.end()) {
      members.push_back(member);
    }
  }
};

template <class Map>
const std::vector<size_t>* Find(const Map& map, const std::string& key) {
  const auto it = map.find(key);
  return it == map.end() ? nullptr : &it->second;
}

// The first read of a file with bare line feeds mends it, and says so; that is the run's to do.
bool LineEndsDamaged(const std::string& bytes) {
  for (size_t i = 0; i < bytes.size(); ++i)
    if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r')) return true;
  return false;
}

}  // namespace

std::string NearnessText(const Nearness& how) {
  std::string text;
  auto add = [&text](const char* part) { text += (text.empty() ? "" : ", ") + std::string(part); };
  if (how.garbled) add("accents garbled");
  if (how.swapped) add("first name and surname swapped");
  if (how.first == FirstName::ShortForm) add("short form of the first name");
  if (how.first == FirstName::Initial) add("initial for the first name");
  if (how.first == FirstName::Title) add("title for the first name");
  if (how.letters == 1) add("one letter");
  if (how.letters > 1) add("two letters");
  if (text.empty()) add("capitals or blanks");
  return text;
}

NearNameRule::NearNameRule(const MemberTable& members) {
  const short count = members.MemberCount();
  exact_.reserve(static_cast<size_t>(count));
  members_.reserve(static_cast<size_t>(count));
  for (short m = 1; m <= count; ++m) {
    const MemberRecord& r = members.Member(m);
    exact_.insert(r.FullName);
    Folded f{.full = Fold(r.FullName),
             .swapped = Fold(r.Surname + " " + r.FirstName),
             .first = Fold(r.FirstName),
             .surname = Fold(r.Surname),
             .member = m};
    if (f.full.empty()) continue;
    f.counts = CountLetters(f.full);
    const size_t letters = Letters(f.full);
    f.most = letters >= 12 ? 2 : letters >= 8 ? 1 : 0;
    const size_t index = members_.size();
    full_[f.full].push_back(index);
    swapped_[f.swapped].push_back(index);
    if (!f.first.empty() && !f.surname.empty()) {
      first_[f.first].push_back(index);
      surname_[f.surname].push_back(index);
    }
    members_.push_back(std::move(f));
  }
}

std::optional<NearMatch> NearNameRule::Closest(const std::string& typed) const {
  if (IsMember(typed)) return std::nullopt;
  const std::optional<std::string> utf8 = FromUtf8(typed);
  const std::string name = Fold(utf8 ? *utf8 : typed);
  if (name.empty()) return std::nullopt;
  Best best;
  auto offer = [&](size_t index, Nearness how) {
    how.garbled = utf8.has_value();
    best.Offer(members_[index].member, how);
  };
  if (const auto* same = Find(full_, name))
    for (const size_t i : *same)
      offer(i, {});
  if (const auto* same = Find(swapped_, name))
    for (const size_t i : *same)
      offer(i, {.swapped = true});

  std::array<std::vector<int>, 3> rows;
  // Each way of cutting the name into a first name and a surname, either way round.
  for (size_t blank = name.find(' '); blank != std::string::npos;
       blank = name.find(' ', blank + 1)) {
    const std::string left = name.substr(0, blank), right = name.substr(blank + 1);
    for (const bool swapped : {false, true}) {
      const std::string& given = swapped ? right : left;
      const std::string& family = swapped ? left : right;
      if (const auto* same = Find(surname_, family)) {
        for (const size_t i : *same) {
          const std::string& first = members_[i].first;
          if (const std::optional<FirstName> form = StandsFor(given, first))
            offer(i, {.swapped = swapped, .first = *form});
          else if (FirstNameSlip(given, first))
            offer(i, {.letters = 1, .swapped = swapped});
        }
      }
      if (const auto* same = Find(first_, given))
        for (const size_t i : *same)
          if (SurnameSlip(family, members_[i].surname, rows))
            offer(i, {.letters = 1, .swapped = swapped});
    }
  }

  // The whole name a letter or two off, when nothing nearer was found.
  const Counts counts = CountLetters(name);
  for (size_t i = 0; i < members_.size() && (!best.how || best.how->letters > 0); ++i) {
    const Folded& member = members_[i];
    const int most = std::min(member.most, best.how ? best.how->letters : 2);
    if (most < 1 || CountsApart(counts, member.counts) > 2 * most) continue;
    for (const bool swapped : {false, true}) {
      const std::string& theirs = swapped ? member.swapped : member.full;
      const int distance = Distance(name, theirs, most, rows);
      if (distance <= most && !(distance == 1 && AnotherVowel(name, theirs)))
        offer(i, {.letters = distance, .swapped = swapped});
    }
  }
  if (!best.how) return std::nullopt;
  std::sort(best.members.begin(), best.members.end());
  return NearMatch{best.members, *best.how};
}

std::string MemberNames(const MemberTable& members, const std::vector<short>& numbers) {
  std::string text;
  for (size_t k = 0; k < numbers.size(); ++k) {
    if (k > 0) text += k + 1 == numbers.size() ? " or " : ", ";
    text += members.Member(numbers[k]).FullName;
  }
  return text;
}

std::vector<NearName> FindNearNames(Context& context, const std::vector<CatalogueLine>& lines) {
  if (lines.empty()) return {};
  // The look must say nothing: the run says what there is to say.
  AnsweringDialogs unspoken;
  // All the members' loader and the session reader take from the context.
  Context quiet(
      Ports{unspoken, context.ports.windows, context.ports.settings, context.ports.clock});
  quiet.ResultsRoot = context.ResultsRoot;
  quiet.MemberFile = context.MemberFile;
  quiet.SessionFormatVersion = context.SessionFormatVersion;
  MemberTable members;
  LoadMembers(members, quiet);
  if (quiet.Cancelled) return {};
  const NearNameRule rule(members);

  std::vector<NearName> names;
  std::unordered_map<std::string, size_t> seen;
  Session session;
  for (const CatalogueLine& line : lines) {
    GetFileName(session, quiet, line);
    const std::optional<std::string> file = FindSessionFile(session);
    if (!file) continue;
    const std::optional<std::string> bytes = ReadFileBytes(*file);
    if (!bytes || LineEndsDamaged(*bytes)) continue;
    ReadSession(session, quiet);
    if (session.ReadFailed) continue;
    // As the update matches them: every player but the sit-out pair's.
    const long players = 2L * session.PairCount;
    for (long k = 1; k <= players; ++k) {
      const long pair = k > session.PairCount ? k - session.PairCount : k;
      if (pair == session.PhantomPair) continue;
      const std::string typed = session.Players(k, 1).ToText();
      if (typed.empty() || rule.IsMember(typed)) continue;
      const auto [at, added] = seen.try_emplace(typed, names.size());
      if (added) names.push_back(NearName{typed, {}, {}, {}});
      std::vector<std::string>& in = names[at->second].sessions;
      if (in.empty() || in.back() != line.Text) in.push_back(line.Text);
    }
  }

  std::vector<NearName> near;
  for (NearName& name : names) {
    if (const std::optional<NearMatch> match = rule.Closest(name.typed)) {
      name.member = MemberNames(members, match->members);
      name.how = match->how;
      near.push_back(std::move(name));
    }
  }
  return near;
}

}  // namespace pg
