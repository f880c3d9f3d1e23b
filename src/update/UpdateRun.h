#pragma once

#include <functional>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "base/Context.h"
#include "review/Members.h"
#include "review/UpdateOutputs.h"
#include "session/Session.h"
#include "update/Catalogue.h"

namespace pg {

// What one update run works on: the program's context, its one session record, the members just
// loaded and the outputs it fills.
struct UpdateRun {
  UpdateRun(Context& c, Session& s, MemberTable& m, UpdateOutputs& o)
      : context(c), session(s), members(m), outputs(o) {}

  Context& context;
  Session& session;
  MemberTable& members;
  UpdateOutputs& outputs;

  // The session in hand carries no handicaps: its averages are the run's own, and visitors are
  // asked for theirs.
  bool UseOwnAverage = false;
  // Each full name with the first member who has it, as players are matched.
  std::unordered_map<std::string, short> memberNumbers;
  // What was given for each visitor earlier in the run, offered again when the name comes back.
  std::map<std::string, std::string> visitorAnswers;
  // What was last given for each visitor in the saved updates before this run, offered when the
  // run has given the name nothing yet. RunUpdate reads it from the history file.
  std::map<std::string, std::string> savedVisitorAnswers;

  // A replay of a saved update sets these: the parameters it ran under instead of the club's,
  // and, instead of asking, the handicap a visitor was given (name, and the session's line).
  const HandicapParameters* parameters = nullptr;
  std::function<double(const std::string&, const CatalogueLine&)> givenVisitor;

  const HandicapParameters& Parameters() const {
    return parameters != nullptr ? *parameters : context.Parameters;
  }

  // Sizes and clears the outputs for sessionCount sessions, starts every member's EndHandicap
  // from their StartHandicap and indexes the members' names.
  void Begin(short sessionCount);
};

// The whole update over the lines of the list of sessions to be used, in list order: loads the
// members, then reads, scores and applies each line's session. True when every session was
// applied; the outputs then hold the run and LastSessionDate is the latest day used. False when
// the run stopped (the members could not be loaded, nothing was chosen, a file vanished or cannot
// be used, or a visitor's handicap was refused with Cancelled set); the outputs are then cleared
// and, when a file cannot be read, sessionInfo says which.
bool RunUpdate(UpdateRun& run, const std::vector<CatalogueLine>& lines, std::string& sessionInfo);

// Session s of the run, read and scored: takes its averages from the file when it carries
// handicaps, labels it, and applies it.
void RunSession(UpdateRun& run, short s, const CatalogueLine& line);

// Matches the players to members and asks for visitors' handicaps, then averages the net scores
// per direction (unless the file gave them), adjusts every pair's members and settles every
// member's handicap. Stops at once when the user cancels a visitor's handicap.
void ApplySession(UpdateRun& run, short s, const CatalogueLine& line);

// Each player's member number (0 for a visitor) and handicap: members always play off their
// handicap in the membership file; a visitor keeps the one the file carries, or, in a session
// without handicaps, is asked for one (offered the one the name was given last, in this run or
// an earlier saved update) and the answer is recorded in the outputs. Sets Cancelled when the
// user gives up.
void AskVisitorHandicaps(UpdateRun& run, const CatalogueLine& line);

// The member slot a player's results go to: the member number the run matched them to, 0 (the
// scratch slot) for a visitor or anything that is not a member number.
short MemberSlot(const UpdateRun& run, long player);

// The label of a line's session in the outputs: "Mon 25/09/06 aft".
std::string SessionLabel(const CatalogueLine& line);

inline constexpr const char* kNoFilesSelectedText = "No files have been selected";
inline constexpr const char* kCancelUpdateQuestion =
    "Are you sure that you want to cancel updating handicaps?";

}  // namespace pg
