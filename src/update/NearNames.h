#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <tuple>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "base/Context.h"
#include "review/Members.h"
#include "update/Catalogue.h"

namespace pg {

// How the first name of a typed name stands for a member's.
enum class FirstName {
  Same,
  ShortForm,  // "Bob" for Robert, from the table of short forms
  Initial,    // "J" or "J." for John
  Title,      // "Mrs", "Mr", "Ms", "Miss" or "Dr" for any first name
};

// How a typed name comes close to a member's full name. Members compare closest first in the
// order of the fields: the fewer letters, then the first name before the surname, then the
// first name itself before a short form, an initial or a title.
struct Nearness {
  int letters = 0;       // added, dropped, changed or swapped with their neighbour: 0 to 2
  bool swapped = false;  // the surname first ("Holloway, Margaret")
  FirstName first = FirstName::Same;
  // Written as UTF-8 (two odd letters for each accent) and read back as it was meant.
  bool garbled = false;
  bool operator==(const Nearness&) const = default;
  // Closer: garbled is the typed name's, the same for every member it is compared with.
  bool operator<(const Nearness& other) const {
    return std::tie(letters, swapped, first) < std::tie(other.letters, other.swapped, other.first);
  }
};

// What the names window says of it: "capitals or blanks", or what differs, such as "first name
// and surname swapped, one letter" or "short form of the first name".
std::string NearnessText(const Nearness& how);

struct NearMatch {
  std::vector<short> members;  // all those equally close, in file order
  Nearness how;
  bool operator==(const NearMatch&) const = default;
};

// Which members a player's name probably means when it is no member's FullName. The update
// matches exactly, so a slip at the scoring table makes a member a visitor whose handicap misses
// the session. Text written as UTF-8 is first read back as Latin-1; names are then compared
// without regard to capitals, with commas and runs of blanks taken as one blank and blanks at
// either end dropped. A name is close to a member when, first name then surname or the other way
// round (a letter swapped with its neighbour counting as one letter),
//   - it is the member's full name;
//   - it is one letter away from a full name of at least 8 letters, or two from one of at least
//     12: between shorter names a letter or two is too often another person ("Tom Hill", "Tim
//     Hill");
//   - the surname is the member's and the first name a short form of the member's, an initial
//     (with or without a point), or a title: "Bob Brown", "J. Smith", "Mrs Holloway";
//   - the first name is the member's and the surname of 3 letters or more is one letter away
//     ("Tom Hil", "Ian Foxx"), or the surname is the member's and the first name has two
//     neighbouring letters swapped or a letter doubled or undoubled ("Tmo Hill"): other slips in
//     a short first name make another (Tim, Tom, Ivan, Ian).
// A slip never changes a name's first letter ("Ann Nash" is not Ann Ash), and one vowel for
// another in a word of up to four letters makes another name, not a slip (Hill, Hull; Jean,
// Joan). The closest members (Nearness) are named, all of them when several are equally close.
class NearNameRule {
 public:
  explicit NearNameRule(const MemberTable& members);

  // The name is a member's FullName exactly (capitals and blanks counted): the update matches it.
  bool IsMember(const std::string& typed) const { return exact_.count(typed) > 0; }

  // The members the name most probably means; nothing for a member's exact name, an empty or
  // blank name, or a name close to nobody (a real visitor).
  std::optional<NearMatch> Closest(const std::string& typed) const;

  using Counts = std::array<std::uint8_t, 32>;

 private:
  struct Folded {
    std::string full;  // as the rule compares names
    std::string swapped;
    std::string first;
    std::string surname;
    short member = 0;
    int most = 0;     // letters the full name may be away from a typed one and still be close
    Counts counts{};  // of the letters of the full name, the swapped one's too
  };
  using Index = std::unordered_map<std::string, std::vector<size_t>>;
  std::unordered_set<std::string> exact_;
  std::vector<Folded> members_;
  Index full_, swapped_, first_, surname_;
};

// The members' full names as the names window gives them: "John Smith or Joan Smith", three or
// more as "Mary Smith, John Smith or Joan Smith".
std::string MemberNames(const MemberTable& members, const std::vector<short>& numbers);

// A name in the sessions to be used that is no member's but close to one.
struct NearName {
  std::string typed;
  std::vector<std::string> sessions;  // the update window's lines it stands in, in list order
  std::string member;  // the FullNames of the members it probably means: "John Smith or Joan Smith"
  Nearness how;
};

// Every player's name in the lines' sessions that NearNameRule finds close to a member, in the
// order first met. It says nothing and changes nothing: the members are loaded and the sessions
// read without a word, and when the members cannot be loaded, or a session cannot be read as it
// stands (a read would mend a file whose line ends were damaged), the check passes it over and
// leaves the update run to report it.
std::vector<NearName> FindNearNames(Context& context, const std::vector<CatalogueLine>& lines);

}  // namespace pg
