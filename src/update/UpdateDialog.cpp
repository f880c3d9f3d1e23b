#include "update/UpdateDialog.h"

#include <algorithm>

#include "base/Files.h"
#include "base/Guard.h"
#include "session/SessionFile.h"
#include "update/UpdateRun.h"

namespace pg {
namespace {

std::string LongDate(const CellValue& date) {
  if (date.IsDate()) return FormatDate(date.date(), "dddd dd mmmm yyyy");
  if (date.IsText()) {
    if (const auto d = ParseDate(date.text())) return FormatDate(*d, "dddd dd mmmm yyyy");
  }
  return date.ToText();
}

}  // namespace

std::string SessionDescription(const Session& s) {
  std::string text = s.EventName + "\r\n" + LongDate(s.SessionDate) + "\r\n";
  if (s.SectionCount > 1 && s.SectionNo > 0) text += std::to_string(s.SectionCount) + " sections";
  if (s.SectionNo == 0) {
    text += "\r\n" + std::to_string(s.SectionCount) + " sections combined\r\n" +
            std::to_string(s.PairCount) + " pairs";
  } else if (s.RoundCount < 1) {
    text += "\r\nMovement not yet entered";
  } else {
    // The sit-out pair's table counts half: "7\xBD tables" (Latin-1 one half).
    const std::string tables = s.PhantomPair > 0 ? std::to_string(s.NSPairCount - 1) + "\xBD"
                                                 : std::to_string(s.NSPairCount);
    text += "\r\n" + tables + " tables\r\n" + s.MovementName + "\r\n" +
            std::to_string(s.WinnerCount) + " winner movement\r\n" + s.ScoringType + " scoring";
    if (s.PasswordState == 2) text += "\r\nPassword protected";
  }
  return text;
}

void UpdateDialog::Load() {
  Guard guard(context_.dialogs(), kName);
  guard.Step(100, [&] {
    GetOldFiles(session_, context_, context_.StartDate.value_or(context_.ports.clock.Today()),
                lists);
  });
  selected = {-1, -1};
  cmdAdd[0].visible = false;
  cmdAdd[1].visible = false;
  lblDay.caption.clear();
  // The first line is selected ready to move; only list 0's is described, so a window opening
  // on nothing usable says so.
  if (!lists[0].empty()) {
    SelectForMove(0, 0);
  } else if (!lists[1].empty()) {
    SelectForMove(1, 0);
  }
  ShowSessionInfo(0);
  cmdOK.enabled = !lists[0].empty();
}

void UpdateDialog::SelectForMove(int i, int row) {
  selected[static_cast<size_t>(i)] = row;
  selected[static_cast<size_t>(1 - i)] = -1;
  cmdAdd[static_cast<size_t>(1 - i)].visible = true;
  cmdAdd[static_cast<size_t>(i)].visible = false;
}

void UpdateDialog::ListClick(int i, int row) {
  if (i < 0 || i > 1 || row < 0 || row >= static_cast<int>(lists[static_cast<size_t>(i)].size()))
    return;
  if (described_ == std::pair(i, row)) return;
  SelectForMove(i, row);
  ShowSessionInfo(i);
}

void UpdateDialog::ShowSessionInfo(int i) {
  const auto& list = lists[static_cast<size_t>(i)];
  const int row = selected[static_cast<size_t>(i)];
  described_.reset();
  if (row < 0 || row >= static_cast<int>(list.size())) {
    lblDay.caption = kNoPreviousScoresText;
    return;
  }
  described_ = {i, row};
  const CatalogueLine line = list[static_cast<size_t>(row)];
  Guard guard(context_.dialogs(), kName);
  bool exists = false;
  FileError error;
  guard.Step(100, [&] {
    GetFileName(session_, context_, line);
    exists = FindSessionFile(session_, &error).has_value();
  });
  if (error.number != 0) {
    context_.dialogs().Message(CannotReadFolderText(SessionFileName(session_), error), Buttons::OK,
                               Icon::Warning);
    lblDay.caption = kCannotReadSessionText;
    return;
  }
  if (!exists) {
    lblDay.caption = FormatDate(line.Day, "dddd");
    return;
  }
  guard.Step(110, [&] {
    // A single section is described with the session's count of sections, which only section
    // 1's file gives.
    if (line.SectionNo != 1) {
      session_.SectionNo = 1;
      MakeSessionFileName(session_, context_, CellValue(line.Day));
      if (SessionFileExists(session_)) ReadSession(session_, context_);
      GetFileName(session_, context_, line);
    }
    ReadSession(session_, context_);
  });
  guard.Step(120, [&] {
    lblDay.caption = session_.ReadFailed ? kCannotReadSessionText : SessionDescription(session_);
  });
}

void UpdateDialog::MoveClick(int k) {
  if (k < 0 || k > 1) return;
  const int from = 1 - k;
  auto& source = lists[static_cast<size_t>(from)];
  const int row = selected[static_cast<size_t>(from)];
  if (row < 0 || row >= static_cast<int>(source.size())) return;
  Guard guard(context_.dialogs(), kName);
  if (k == 0) {
    bool allowed = false;
    guard.Step(100,
               [&] { allowed = MayUse(session_, context_, source[static_cast<size_t>(row)]); });
    if (!allowed) return;
  }
  guard.Step(110, [&] {
    lists[static_cast<size_t>(k)].push_back(source[static_cast<size_t>(row)]);
    source.erase(source.begin() + row);
    selected[static_cast<size_t>(from)] = -1;
    // The line after the one moved now stands in its place, and is described.
    described_.reset();
    cmdOK.enabled = !lists[0].empty();
    if (source.empty()) {
      cmdAdd[static_cast<size_t>(k)].visible = false;
      lblDay.caption.clear();
    } else {
      ListClick(from, std::min(row, static_cast<int>(source.size()) - 1));
    }
  });
}

bool UpdateDialog::NamesAccepted() {
  names_ = NameCheck{FindNearNames(context_, lists[0]), std::nullopt, false};
  if (names_.names.empty()) return true;
  names_.lastDay =
      std::max_element(lists[0].begin(), lists[0].end(), [](const auto& a, const auto& b) {
        return a.Day < b.Day;
      })->Day;
  context_.ports.windows.ShowModal(WindowId::NearNames);
  return names_.goOn;
}

void UpdateDialog::UpdateClick() {
  Guard guard(context_.dialogs(), kName);
  // A check that fails lets the update run as it would without it.
  bool accepted = true;
  guard.Step(90, [&] { accepted = NamesAccepted(); });
  if (!accepted) return;
  UpdateRun run(context_, session_, members_, outputs_);
  // What stops the run is told under Session Information, in place of the description.
  described_.reset();
  bool finished = false;
  guard.Step(100, [&] { finished = RunUpdate(run, lists[0], lblDay.caption); });
  if (!finished) return;
  guard.Step(110, [&] { Close(); });
  guard.Step(120, [&] { context_.ports.windows.ShowModal(WindowId::Review); });
}

void UpdateDialog::CloseClick() {
  Close();
}

void UpdateDialog::Close() {
  closed = true;
  if (onClose) onClose();
}

}  // namespace pg
