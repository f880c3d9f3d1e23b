#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/Array.h"
#include "base/Context.h"
#include "base/Date.h"
#include "review/UpdateOutputs.h"

namespace pg {

// Fields per member line of Membersh.dat. The scoring program owns all but three of them; this
// program carries those through untouched.
inline constexpr short kMemberFields = 11;
inline constexpr short kFirstNameField = 2;
inline constexpr short kSurnameField = 3;
inline constexpr short kHandicapField = 7;

// The window under whose name saving reports unexpected failures.
inline constexpr const char* kReviewWindowName = "frmPrint";

// One member line of Membersh.dat.
struct MemberRecord {
  MemberRecord() { Fields.DimFrom1(kMemberFields); }

  // Fields(1) to Fields(11) as read; only field 7 is ever written back changed.
  Array1<std::string> Fields;
  std::string FullName;  // first name, one blank, surname: what players are matched by
  std::string FirstName;
  std::string Surname;
  // The handicap before this run: the leading number of field 7, 0 when it has none.
  double StartHandicap = 0;
  // Empty after a load; set by the update run and by corrections in the review window.
  std::optional<double> EndHandicap;
};

// The members of Membersh.dat in file order; a member's number is its position, from 1.
struct MemberTable {
  Array1<MemberRecord> Records;

  short MemberCount() const { return static_cast<short>(Records.upper()); }
  MemberRecord& Member(short m) { return Records(m); }
  const MemberRecord& Member(short m) const { return Records(m); }
};

// Replaces members with the contents of context.MemberFile. Sets context.Cancelled, and clears
// it only on success; on failure shows why (OK, warning icon) and leaves the table empty.
void LoadMembers(MemberTable& members, Context& context);

// How a save ended. The review window closes after Saved or Declined (the user's No to the
// overwrite question) but stays open with its results after Failed, so nothing is lost unasked.
enum class SaveOutcome { Saved, Declined, Failed };

// After the user agrees, writes every member's EndHandicap into field 7; keeps Membersh.dat and
// Handicap.ini as they are in the handicap folder (Membersh-yymmdd.bak, Handicap-yymmdd.bak,
// named for the update that wrote them, "first" before any);
// writes the history file HandicapFolder + "yymmdd.han", Membersh.dat, the update into
// History.csv (with the sessions of `outputs`, when given) and then Handicap.ini with LastUpdated
// set to lastSessionDate, and clears unsaved. A file that cannot be written is named in a
// message; LastUpdated, Handicap.ini and unsaved then stay as they were, and so does
// Membersh.dat when the failure came before it.
SaveOutcome SaveHandicaps(MemberTable& members, Context& context, Date lastSessionDate,
                          bool& unsaved, const UpdateOutputs* outputs = nullptr);

// "Error cannot save " + file + " - error " + number + " " + description.
std::string SaveErrorText(const std::string& file, int number, const std::string& description);

// The first of "", "-2", "-3", ... that names no file in folder for any of the stems (stem +
// suffix + extension), so that a set of copies made together shares one number and none
// replaces a file.
std::string FreeCopySuffix(const std::string& folder, const std::vector<std::string>& stems,
                           const std::string& extension);

// The members of a membership file's bytes as LoadMembers reads them; nothing when it would not
// load.
std::optional<MemberTable> MembersFromBytes(std::string_view bytes);

// The two files as SaveHandicaps writes them, for members whose field 7 is already up to date.
std::string MembershipFileText(const MemberTable& members, Date lastSessionDate);
std::string HistoryFileText(const MemberTable& members);
std::string HistoryFileName(const std::string& handicapFolder, Date lastSessionDate);

}  // namespace pg
