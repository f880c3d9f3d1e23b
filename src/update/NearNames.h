#pragma once

#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "base/Context.h"
#include "review/Members.h"
#include "update/Catalogue.h"

namespace pg {

// How a typed name comes close to a member's full name, closest first.
enum class Nearness { CaseOrBlanks, Swapped, OneLetter, TwoLetters };

// What the names window says of each: "capitals or blanks", "first name and surname swapped",
// "one letter", "two letters".
const char* NearnessText(Nearness how);

struct NearMatch {
  short member = 0;
  Nearness how = Nearness::CaseOrBlanks;
  bool operator==(const NearMatch&) const = default;
};

// Which member a player's name probably means when it is no member's FullName. The update
// matches exactly, so a slip at the scoring table makes a member a visitor whose handicap misses
// the session. Names are compared without regard to capitals, with commas and runs of blanks
// taken as one blank and blanks at either end dropped; a name is then close to a member when it
//   - is the member's full name,
//   - is the surname followed by the first name ("Holloway, Margaret"), or
//   - is one letter away (added, dropped or changed, a blank counting as a letter) from a full
//     name of at least 8 letters, or two from one of at least 12. Between shorter names a letter
//     or two is too often another person ("Tom Hill", "Tim Hill").
// The closest rule wins, in that order, then the fewer letters; between members equally close,
// the first in Membersh.dat, as the update itself takes the first member of a name.
class NearNameRule {
 public:
  explicit NearNameRule(const MemberTable& members);

  // The name is a member's FullName exactly (capitals and blanks counted): the update matches it.
  bool IsMember(const std::string& typed) const { return exact_.count(typed) > 0; }

  // The member the name most probably means; nothing for a member's exact name, an empty or
  // blank name, or a name close to nobody (a real visitor).
  std::optional<NearMatch> Closest(const std::string& typed) const;

 private:
  struct Folded {
    std::string name;
    short member = 0;
    int most = 0;  // letters this name may be away from a typed one and still be close
  };
  std::unordered_set<std::string> exact_;
  std::unordered_map<std::string, short> folded_;
  std::unordered_map<std::string, short> swapped_;
  std::vector<Folded> members_;
};

// A name in the sessions to be used that is no member's but close to one.
struct NearName {
  std::string typed;
  std::vector<std::string> sessions;  // the update window's lines it stands in, in list order
  std::string member;                 // the FullName of the member it probably means
  Nearness how = Nearness::CaseOrBlanks;
};

// Every player's name in the lines' sessions that NearNameRule finds close to a member, in the
// order first met. It says nothing and changes nothing: the members are loaded and the sessions
// read without a word, and when the members cannot be loaded, or a session cannot be read as it
// stands (a read would mend a file whose line ends were damaged), the check passes it over and
// leaves the update run to report it.
std::vector<NearName> FindNearNames(Context& context, const std::vector<CatalogueLine>& lines);

}  // namespace pg
