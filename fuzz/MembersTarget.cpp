// The membership loader, and the promise a save makes: what loaded, written back, loads again as
// the same members, and writing that again gives the same bytes.
#include <cmath>

#include "Targets.h"
#include "review/Members.h"
#include "support/QuietPorts.h"

namespace pg::fuzz {
namespace {

void RequireSameMembers(const MemberTable& before, const MemberTable& after) {
  Require(after.MemberCount() == before.MemberCount(), "the member count changed");
  for (short m = 1; m <= before.MemberCount(); ++m) {
    const MemberRecord& a = before.Member(m);
    const MemberRecord& b = after.Member(m);
    const std::string who = "member " + std::to_string(m) + ": ";
    for (short f = 1; f <= kMemberFields; ++f)
      Require(a.Fields(f) == b.Fields(f), who + "field " + std::to_string(f) + " changed");
    Require(a.FirstName == b.FirstName && a.Surname == b.Surname && a.FullName == b.FullName,
            who + "the name changed");
    Require(a.StartHandicap == b.StartHandicap, who + "the start handicap changed");
  }
}

}  // namespace

void MembersBody(std::string_view input, const std::string& folder) {
  test::QuietPorts ports;
  Context ctx(ports.ports());
  ctx.MemberFile = folder + "Membersh.dat";
  WriteInput(ctx.MemberFile, input);

  MemberTable table;
  LoadMembers(table, ctx);
  if (ctx.Cancelled) {
    Require(table.MemberCount() == 0, "a file that did not load left members behind");
    Require(ports.dialogs.messages == 1, "a file that did not load was not told once");
    return;
  }
  Require(ports.dialogs.messages == 0, "a file that loaded showed a message");
  for (short m = 1; m <= table.MemberCount(); ++m) {
    const MemberRecord& r = table.Member(m);
    Require(r.FirstName == r.Fields(kFirstNameField) && r.Surname == r.Fields(kSurnameField) &&
                r.FullName == r.FirstName + " " + r.Surname,
            "member " + std::to_string(m) + "'s names are not those of the fields");
    Require(!std::isnan(r.StartHandicap),
            "member " + std::to_string(m) + "'s handicap is no number");
    Require(!r.EndHandicap, "a member has a new handicap straight after loading");
  }

  const Date day = MakeDate(2013, 7, 5);
  const std::string written = MembershipFileText(table, day);
  WriteInput(ctx.MemberFile, written);
  MemberTable again;
  LoadMembers(again, ctx);
  Require(!ctx.Cancelled, "the file a save writes does not load again");
  RequireSameMembers(table, again);
  Require(MembershipFileText(again, day) == written,
          "writing the members read back does not give the same bytes");
}

}  // namespace pg::fuzz
