#pragma once

#include <optional>
#include <string>

#include "base/Context.h"
#include "review/Members.h"
#include "review/UpdateOutputs.h"
#include "session/Session.h"
#include "update/NearNamesDialog.h"

namespace pg {

// The program's version as written in Handicap.ini and shown in the title: major "." minor, each a
// plain integer ("1.0"), taken from the build's project version.
std::string BuildVersion();

// Everything the program keeps for its whole run. The lower layers take the context part (ports,
// folders, versions, flags, parameters); the windows take the whole program. One per run; a test
// builds as many as it needs, each on its own folder.
struct Program {
  explicit Program(Ports ports) : context(ports) {}

  Context context;
  // The one current session: every read replaces it.
  Session session;
  // The members of Membersh.dat, loaded afresh by every update run.
  MemberTable members;
  // What the last update run computed, for the review window; EndHandicap is in the members.
  UpdateOutputs outputs;
  // The names the update window's last "Update" found close to a member, for the names window.
  NameCheck nameCheck;
  // The text the next password window shows in lblMess instead of its own (empty: its own);
  // that window takes it, so a replacement lasts one showing.
  std::string passwordMessage;
  // What the parameter editor hands the trial window it opens: the values being edited, to try,
  // and the values last saved, for updates that did not record their own. The window takes them.
  struct TrialStart {
    HandicapParameters trial;
    HandicapParameters saved;
  };
  std::optional<TrialStart> trialStart;
  // The trial's values ("Use these parameters") for the parameter editor: the editor that opens
  // next takes them as its edits, to be saved there; the caller clears them afterwards, so an
  // editor that never opened hands nothing on.
  std::optional<HandicapParameters> editorParameters;
};

}  // namespace pg
