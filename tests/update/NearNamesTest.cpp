#include <gtest/gtest.h>

#include "support/NamedCases.h"
#include "update/NearNames.h"

namespace pg {
namespace {

// Found by GoogleTest through the cases' namespace, which the check does not see.
using test::PrintTo;  // NOLINT(misc-unused-using-decls)

// In file order: the tie between the Smithsons goes to Jon, the first.
MemberTable Members() {
  const std::pair<const char*, const char*> names[] = {
      {"Jon", "Smithson"}, {"Margaret", "Holloway"}, {"Peter", "Holloway"}, {"Jan", "Smithson"},
      {"Ann", "Ash"},      {"Mary", "Smith"},        {"Ren\351e", "Dubois"}};
  MemberTable table;
  table.Records.DimFrom1(std::size(names));
  for (size_t m = 0; m < std::size(names); ++m) {
    MemberRecord& r = table.Records(m + 1);
    r.FirstName = names[m].first;
    r.Surname = names[m].second;
    r.FullName = r.FirstName + " " + r.Surname;
  }
  return table;
}

struct NameCase {
  const char* name;
  std::string typed;
  std::optional<NearMatch> expected = std::nullopt;
};

class NearNameRuleTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(NearNameRuleTest, FindsTheMemberANameProbablyMeans) {
  const MemberTable members = Members();
  EXPECT_EQ(NearNameRule(members).Closest(GetParam().typed), GetParam().expected);
}

constexpr Nearness kCase = Nearness::CaseOrBlanks, kSwapped = Nearness::Swapped,
                   kOne = Nearness::OneLetter, kTwo = Nearness::TwoLetters;

INSTANTIATE_TEST_SUITE_P(
    Names, NearNameRuleTest,
    ::testing::Values(NameCase{"TwoBlanks", "Margaret  Holloway", NearMatch{2, kCase}},
                      NameCase{"OuterBlanks", " Margaret Holloway ", NearMatch{2, kCase}},
                      NameCase{"SmallLetters", "margaret holloway", NearMatch{2, kCase}},
                      NameCase{"AccentedCapitals", "REN\311E DUBOIS", NearMatch{7, kCase}},
                      NameCase{"Swapped", "Holloway Margaret", NearMatch{2, kSwapped}},
                      NameCase{"SwappedWithAComma", "holloway, margaret", NearMatch{2, kSwapped}},
                      NameCase{"OneLetterDropped", "Margret Holloway", NearMatch{2, kOne}},
                      NameCase{"OneLetterChanged", "Margaret Hollowey", NearMatch{2, kOne}},
                      NameCase{"BlankDropped", "MargaretHolloway", NearMatch{2, kOne}},
                      NameCase{"TwoLetters", "Margret Hollowey", NearMatch{2, kTwo}},
                      NameCase{"FourLettersAreAnotherName", "Margt Hollowy"},
                      // Nine letters may be one letter off, not two; six not even one.
                      NameCase{"NineLettersOneOff", "Mary Smyth", NearMatch{6, kOne}},
                      NameCase{"NineLettersTwoOff", "Mary Smythe"},
                      NameCase{"ShortName", "Ann Nash"},
                      // Equally close to two members: the first in the file.
                      NameCase{"TieGoesToTheFirstMember", "Jen Smithson", NearMatch{1, kOne}},
                      // Jon is one letter off, but Jan differs only in capitals.
                      NameCase{"TheCloserRuleWins", "jan smithson", NearMatch{4, kCase}},
                      NameCase{"ExactMatchIsNotListed", "Peter Holloway"},
                      NameCase{"RealVisitor", "Martin Ibbotson"}, NameCase{"Empty", ""},
                      NameCase{"OnlyBlanks", "   "}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pg
