#include "shell/ParameterEditor.h"

#include "base/Files.h"
#include "base/Guard.h"
#include "base/Numbers.h"
#include "review/ClubChange.h"
#include "review/ClubLock.h"
#include "scoring/Rounding.h"
#include "shell/PasswordWindows.h"
#include "update/Adjustment.h"

namespace pg {

namespace {

constexpr const char* kSignedTwo = "+0.00;-0.00;0.00";

}  // namespace

ParameterEditor::ParameterEditor(Program& program)
    : ParameterBoxes(program.context.dialogs(), program.context.Parameters, kName),
      program_(program) {
  Guard guard(program_.context.dialogs(), kName);
  // The club's parameters as they are now: another copy may have saved some since they were read.
  guard.Step(100, [&] {
    Context& c = program_.context;
    ReadParameters(c.HandicapFolder, c.Parameters);
    saved_ = c.Parameters;
  });
  guard.Step(110, [&] { changed_ = false; });
  guard.Step(115, [&] { TakeEditorParameters(); });
  guard.Step(120, [&] { EGUpdate(); });
  guard.Step(130, [&] { SetDisp(); });
}

void ParameterEditor::EGUpdate() {
  const HandicapParameters& p = program_.context.Parameters;
  Guard guard(program_.context.dialogs(), kName);
  guard.Step(100, [&] { ShowValues(); });
  guard.Step(110, [&] { lblEgNet.caption = NumberText(p.EgNet()); });
  guard.Step(120, [&] {
    for (int i = 0; i < 2; ++i)
      lblEgDead[i].caption = FormatNumber(p.EgAve + p.DeadZone[i], kSignedTwo);
  });
  // The same rule as an update, so the example shows what an update would do.
  PairAdjustment a;
  guard.Step(130, [&] { a = AdjustPair(p.EgNet(), p.EgAve, p); });
  guard.Step(140, [&] { lblEgDiff.caption = FormatNumber(a.difference, kSignedTwo); });
  guard.Step(150, [&] { lblEGAdj.caption = NumberText(a.adjustment); });
  guard.Step(160, [&] {
    for (int i = 0; i < 2; ++i)
      lblEgTo[i].caption = FormatNumber(SettleHandicap(a.adjustment + p.EgHand[i], p), kSignedTwo);
  });
  guard.Step(170,
             [&] { lblEgRound.caption = FormatNumber(RoundTo(5.6789, p.RoundingStep), "0.00"); });
}

void ParameterEditor::SetDisp() {
  cmdSave.enabled = changed_;
  cmdReset.enabled = changed_;
}

void ParameterEditor::Changed() {
  if (changed_) return;
  changed_ = true;
  SetDisp();
}

void ParameterEditor::Accepted() {
  EGUpdate();
}

void ParameterEditor::RestoreSaved() {
  HandicapParameters restored = saved_;
  ReadParameters(program_.context.HandicapFolder, restored);
  program_.context.Parameters = restored;
}

bool ParameterEditor::WriteOntoFile() {
  Context& c = program_.context;
  const std::string ini = c.HandicapFolder + kParameterFileName;
  // The edits go onto Handicap.ini as it is at Save: the date of the last update is the file's,
  // which a save of new handicaps elsewhere may have moved since the editor opened.
  constexpr int kTries = 3;
  for (int attempt = 0; attempt < kTries; ++attempt) {
    FileError error;
    std::optional<std::string> now = ReadFileBytes(ini, &error);
    HandicapParameters written = c.Parameters;
    if (now) {
      HandicapParameters file = c.Parameters;
      ParametersFromText(*now, file);
      written.LastUpdated = file.LastUpdated;
    }
    ClubChange change(c, "saving the parameters",
                      "Save them again in the parameter editor if they are still to be changed.",
                      kEditingParameters);
    change.Write(ini, ParameterFileText(c.ProgramVersion, written));
    change.Expect(ini, std::move(now));
    const ClubChange::Result result = change.Commit();
    if (result == ClubChange::Result::Failed) return false;
    if (result == ClubChange::Result::Changed) continue;
    c.Parameters = written;
    saved_ = written;
    return true;
  }
  c.dialogs().Message(ini + kIniKeepsChanging, Buttons::OK, Icon::Warning);
  return false;
}

void ParameterEditor::SaveClick() {
  if (!LeaveField()) return;
  Context& c = program_.context;
  Guard guard(c.dialogs(), kName);
  bool go = false;
  guard.Step(100, [&] {
    go = c.dialogs().Message(kSaveParametersQuestion, Buttons::OKCancel, Icon::Question) ==
         Answer::OK;
  });
  if (!go) return;
  guard.Step(110, [&] {
    // A save that fails leaves the edits marked as changed: they are not on disk.
    if (WriteOntoFile()) changed_ = false;
  });
  guard.Step(120, [&] { EGUpdate(); });
  guard.Step(130, [&] { SetDisp(); });
}

void ParameterEditor::ResetClick() {
  if (!LeaveField() || !changed_) return;
  Context& c = program_.context;
  Guard guard(c.dialogs(), kName);
  bool go = false;
  guard.Step(100, [&] {
    go = c.dialogs().Message(kResetQuestion, Buttons::OKCancel, Icon::Question) == Answer::OK;
  });
  if (!go) return;
  guard.Step(110, [&] { RestoreSaved(); });
  guard.Step(120, [&] { changed_ = false; });
  guard.Step(130, [&] { EGUpdate(); });
  guard.Step(140, [&] { SetDisp(); });
}

void ParameterEditor::PasswordClick() {
  if (!LeaveField()) return;
  Context& c = program_.context;
  Guard guard(c.dialogs(), kName);
  guard.Step(100, [&] { ShowPasswordWindow(program_, WindowId::Password, kExistingPasswordText); });
  if (c.Cancelled) return;
  guard.Step(110, [&] { ShowPasswordWindow(program_, WindowId::NewPassword, kNewPasswordText); });
  if (c.Cancelled) return;
  guard.Step(120,
             [&] { c.dialogs().Message(kPasswordChangedText, Buttons::OK, Icon::Information); });
}

void ParameterEditor::TakeEditorParameters() {
  if (!program_.editorParameters) return;
  TakeUpdateParameters(program_.context.Parameters, *program_.editorParameters);
  program_.editorParameters.reset();
  changed_ = true;
}

void ParameterEditor::TrialClick() {
  if (!LeaveField()) return;
  Context& c = program_.context;
  Guard guard(c.dialogs(), kName);
  guard.Step(100, [&] {
    program_.trialStart = Program::TrialStart{c.Parameters, saved_};
    c.ports.windows.ShowModal(WindowId::Trial);
  });
  // A window that never opened hands nothing on to a later one.
  program_.trialStart.reset();
  guard.Step(110, [&] {
    TakeEditorParameters();
    EGUpdate();
    SetDisp();
  });
}

void ParameterEditor::BackClick() {
  if (!LeaveField()) return;
  Context& c = program_.context;
  Guard guard(c.dialogs(), kName);
  // Closing waits for an answer that lets it close.
  bool close = !changed_;
  if (changed_) {
    guard.Step(100, [&] {
      switch (c.dialogs().Message(kBackQuestion, Buttons::YesNoCancel, Icon::Question)) {
        case Answer::Yes:
          // Edits that could not be saved are neither lost nor left without a word: the
          // editor stays open with them.
          close = WriteOntoFile();
          break;
        case Answer::No:
          RestoreSaved();
          close = true;
          break;
        default: close = false; break;
      }
    });
  }
  closed_ = close;
}

}  // namespace pg
