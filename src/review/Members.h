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
  // The header's third item as read: the last session of the update that wrote the file.
  std::string HeaderDate;
  // The bytes of Membersh.dat the table was read from, and after a save those it wrote: what the
  // next save compares the file with, to tell what another program wrote there since.
  std::string Source;

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

// After the user agrees, writes every member's EndHandicap into field 7 and saves the update, all
// or nothing (ClubChange.h): copies of Membersh.dat and Handicap.ini as they are before it, in
// the handicap folder (Membersh-yymmdd.bak, Handicap-yymmdd.bak, named for the update before,
// "first" before any), the history file HandicapFolder + "yymmdd.han", Membersh.dat, the update
// in History.csv (with the sessions of `outputs`, when given) and then Handicap.ini with
// LastUpdated set to lastSessionDate; then clears unsaved.
//
// The files are taken as they are at Save, not as the update read them: the handicaps go into
// Membersh.dat as another program may have left it since (members added, removed, reordered,
// details changed: all kept), and Handicap.ini keeps parameters saved meanwhile. Nothing is saved,
// and a message says why, when an update was saved or undone elsewhere since this one began, or
// when a member of the update can no longer be found in Membersh.dat, or had a handicap the
// update moves changed there. A file that cannot be written is named in a message, and every file
// is then as before; LastUpdated and unsaved stay as they were.
SaveOutcome SaveHandicaps(MemberTable& members, Context& context, Date lastSessionDate,
                          bool& unsaved, const UpdateOutputs* outputs = nullptr);

// Where each member of `from` stands in `onto`, two readings of Membersh.dat (before and after
// another program wrote it): by full name where that name is unique in both, otherwise at the
// same number under the same name; 0 where neither finds the member, so that no handicap ever
// lands on another member. Index m - 1 for member m.
std::vector<short> PlaceMembers(const MemberTable& from, const MemberTable& onto);

// The membership file `now` with the handicaps (field 7) of `before` put back into it for every
// member PlaceMembers finds, and before's header date: a change of handicaps undone while what
// another program wrote since stays. With `written` (what the change being undone wrote), a
// handicap changed in `now` since is left as it is. Nothing when a file does not load.
std::optional<std::string> WithHandicapsOf(std::string_view now, std::string_view before,
                                           const std::string_view* written = nullptr);

// What a save that cannot go ahead says.
inline constexpr const char* kCannotReadMembers = "Cannot read the membership file ";
inline constexpr const char* kRunAgain = "\r\nClose this window and run the update again.";
inline constexpr const char* kMembersNotFound =
    "Membersh.dat has been changed since this update read it, and these members of the update "
    "can no longer be found in it:";
inline constexpr const char* kHandicapsChanged =
    "The handicaps of these members have been changed in Membersh.dat since this update read "
    "them, and saving would overwrite that:";
inline constexpr const char* kKeepsChanging =
    " is being changed by another program while the new handicaps are saved. Nothing has been "
    "saved; press Save again in a moment.";
std::string SavedElsewhereText(Date update);
std::string UndoneElsewhereText(Date update);

// "Error cannot save " + file + " - error " + number + " " + description.
std::string SaveErrorText(const std::string& file, int number, const std::string& description);

// The first of "", "-2", "-3", ... that names no file in folder for any of the stems (stem +
// suffix + extension), so that a set of copies made together shares one number and none
// replaces a file.
std::string FreeCopySuffix(const std::string& folder, const std::vector<std::string>& stems,
                           const std::string& extension);

// The members of a membership file's bytes as LoadMembers reads them; nothing when it would not
// load, with why in *failure when given.
std::optional<MemberTable> MembersFromBytes(std::string_view bytes, std::string* failure = nullptr);

// The two files as SaveHandicaps writes them, for members whose field 7 is already up to date.
std::string MembershipFileText(const MemberTable& members, Date lastSessionDate);
// The same with the header's date as a text ("30/03/26").
std::string MembershipFileText(const MemberTable& members, const std::string& headerDate);
std::string HistoryFileText(const MemberTable& members);
std::string HistoryFileName(const std::string& handicapFolder, Date lastSessionDate);

}  // namespace pg
