#include "update/NearNames.h"

#include <algorithm>
#include <numeric>
#include <string_view>

#include "base/Files.h"
#include "base/Numbers.h"
#include "session/SessionFile.h"

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

// The letters to add, drop or change to make b of a, when that is at most `most`; otherwise
// more than most. One row of the usual table, given up once every cell of it is past most.
int Distance(std::string_view a, std::string_view b, int most, std::vector<int>& row) {
  if (std::abs(static_cast<int>(a.size()) - static_cast<int>(b.size())) > most) return most + 1;
  row.resize(b.size() + 1);
  std::iota(row.begin(), row.end(), 0);
  for (size_t i = 1; i <= a.size(); ++i) {
    int diagonal = row[0];
    row[0] = static_cast<int>(i);
    int least = row[0];
    for (size_t j = 1; j <= b.size(); ++j) {
      const int above = row[j];
      row[j] = std::min({above + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = above;
      least = std::min(least, row[j]);
    }
    if (least > most) return most + 1;
  }
  return std::min(row[b.size()], most + 1);
}

// The first read of a file with bare line feeds mends it, and says so; that is the run's to do.
bool LineEndsDamaged(const std::string& bytes) {
  for (size_t i = 0; i < bytes.size(); ++i)
    if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r')) return true;
  return false;
}

}  // namespace

const char* NearnessText(Nearness how) {
  switch (how) {
    case Nearness::CaseOrBlanks: return "capitals or blanks";
    case Nearness::Swapped: return "first name and surname swapped";
    case Nearness::OneLetter: return "one letter";
    case Nearness::TwoLetters: return "two letters";
  }
  return "";
}

NearNameRule::NearNameRule(const MemberTable& members) {
  const short count = members.MemberCount();
  exact_.reserve(static_cast<size_t>(count));
  members_.reserve(static_cast<size_t>(count));
  for (short m = 1; m <= count; ++m) {
    const MemberRecord& r = members.Member(m);
    exact_.insert(r.FullName);
    std::string name = Fold(r.FullName);
    if (name.empty()) continue;
    folded_.emplace(name, m);
    swapped_.emplace(Fold(r.Surname + " " + r.FirstName), m);
    const auto letters = std::count_if(name.begin(), name.end(), [](char c) { return c != ' '; });
    const int most = letters >= 12 ? 2 : letters >= 8 ? 1 : 0;
    if (most > 0) members_.push_back({std::move(name), m, most});
  }
}

std::optional<NearMatch> NearNameRule::Closest(const std::string& typed) const {
  if (IsMember(typed)) return std::nullopt;
  const std::string name = Fold(typed);
  if (name.empty()) return std::nullopt;
  if (const auto it = folded_.find(name); it != folded_.end())
    return NearMatch{it->second, Nearness::CaseOrBlanks};
  if (const auto it = swapped_.find(name); it != swapped_.end())
    return NearMatch{it->second, Nearness::Swapped};
  std::optional<NearMatch> best;
  int bestDistance = 3;
  std::vector<int> row;
  for (const Folded& member : members_) {
    // Only a member strictly closer than the best so far replaces it.
    const int most = std::min(member.most, bestDistance - 1);
    if (most < 1) continue;
    const int distance = Distance(name, member.name, most, row);
    if (distance > most) continue;
    bestDistance = distance;
    best = NearMatch{member.member, distance == 1 ? Nearness::OneLetter : Nearness::TwoLetters};
    if (distance == 1) break;  // nothing nearer is left: the same letters were found above
  }
  return best;
}

std::vector<NearName> FindNearNames(Context& context, const std::vector<CatalogueLine>& lines) {
  if (lines.empty()) return {};
  // The look must say nothing: the run says what there is to say.
  AnsweringDialogs unspoken;
  // All the members' loader and the session reader take from the context.
  Context quiet(Ports{unspoken, context.ports.windows, context.ports.settings, context.ports.clock,
                      context.ports.locks});
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
      name.member = members.Member(match->member).FullName;
      name.how = match->how;
      near.push_back(std::move(name));
    }
  }
  return near;
}

}  // namespace pg
