#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "base/Context.h"
#include "base/Control.h"
#include "review/Members.h"
#include "review/UpdateOutputs.h"
#include "session/Session.h"
#include "update/Catalogue.h"
#include "update/NearNamesDialog.h"

namespace pg {

// The update window: the sessions since the last update in two lists (to be used, to be
// ignored), a description of the selected one, and "Update", which runs the update and hands its
// outputs to the review window.
class UpdateDialog {
 public:
  // The error-report name and the object name of the view.
  static constexpr const char* kName = kUpdateWindowName;
  static constexpr const char* kCaption = "Update Handicaps";

  // The names window, when it opens, is shown `names`.
  UpdateDialog(Context& context, Session& session, MemberTable& members, UpdateOutputs& outputs,
               NameCheck& names)
      : context_(context), session_(session), members_(members), outputs_(outputs), names_(names) {}

  // Index 0: sessions to be used; 1: sessions to be ignored. The caption is the list's heading.
  std::array<Control, 2> lstFiles{
      Control{
          .name = "lstFiles0", .caption = "Sessions to be used for updating handicaps", .key = 'S'},
      Control{.name = "lstFiles1", .caption = "Sessions to be IGNORED", .key = 'I'}};
  // cmdAdd[k] moves the selected line of the other list into list k.
  std::array<Control, 2> cmdAdd{Control{.name = "cmdAdd0", .caption = "< ---- Move", .key = 'o'},
                                Control{.name = "cmdAdd1", .caption = "Move ---- >", .key = 'M'}};
  Control fraInfo{"fraInfo", "Session Information"};
  Control lblDay{"lblDay", ""};
  Control cmdOK{
      .name = "cmdOK", .caption = "Update", .enabled = false, .key = 'U', .isDefault = true};
  Control cmdCancel{.name = "cmdCancel", .caption = "Close", .key = 'C'};

  // The lines of both lists, and the selected line of each (-1: none).
  CatalogueLists lists;
  std::array<int, 2> selected{-1, -1};

  // Set by the view: closes the window. The model closes it before it opens the review window,
  // so that the update window is never left showing underneath.
  std::function<void()> onClose;
  bool closed = false;

  // Opening: lists the sessions from StartDate, selects the first line (of list 0 when it has
  // one) and describes list 0's selection.
  void Load();

  // A click on line `row` of list i: the other list's selection is cleared, the button that
  // moves out of list i is shown and the other hidden, and the line is described. The line
  // described already changes nothing, so that the view may report every line the mouse or the
  // keyboard makes current, and every line pressed.
  void ListClick(int i, int row);

  // cmdAdd[k]: moves the selected line of list 1 - k to the end of list k. A line goes into the
  // list to be used only when its session can be used; a refusal shows why.
  void MoveClick(int k);

  // "Update": first shows the names of list 0's sessions that almost match a member, when there
  // are any, and stops there unless the user goes on; then runs the update over list 0 in its
  // order and, when it finishes, closes this window and opens the review window.
  void UpdateClick();

  // "Close": closes the window; nothing changes.
  void CloseClick();

  // Describes the selected line of list i in lblDay.
  void ShowSessionInfo(int i);

 private:
  void Close();
  void SelectForMove(int i, int row);
  // Whether the update may run: with no name to show, or after "Continue" in the names window.
  bool NamesAccepted();

  // The line lblDay describes (list, row), while it describes one.
  std::optional<std::pair<int, int>> described_;
  Context& context_;
  Session& session_;
  MemberTable& members_;
  UpdateOutputs& outputs_;
  NameCheck& names_;
};

inline constexpr const char* kNoPreviousScoresText = "No previous scores found";
inline constexpr const char* kCannotReadSessionText =
    "Error - cannot read the file for this session";

// The description of the session just read, as lblDay shows it.
std::string SessionDescription(const Session& s);

}  // namespace pg
