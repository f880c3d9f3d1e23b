#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "base/Files.h"
#include "shell/ParameterEditor.h"
#include "shell/StartUp.h"
#include "shell/TrialWindow.h"
#include "support/ScriptedPorts.h"
#include "support/TempFolder.h"

namespace pg {
namespace {

using F = ParameterEditor::Field;

// The program started on a club folder whose Handicap.ini holds `file` (defaults when empty).
struct Editor {
  test::TempFolder dir;
  test::ScriptedPorts ports;
  Program program{ports.ports()};
  MainWindow window{program};
  Context& c = program.context;
  std::unique_ptr<ParameterEditor> e;

  explicit Editor(const std::string& file = "") {
    if (!file.empty()) {
      FileError error;
      CreateFolder(dir / "Handicap", error);
      test::WriteBytes(dir / "Handicap/Handicap.ini", file);
    }
    StartUp(window, dir.path());
    e = std::make_unique<ParameterEditor>(program);
  }

  // Clears the box and types keys into it as a person would: each key through the box's filter,
  // the keys it takes into the box.
  void Type(F f, const std::string& keys) {
    ASSERT_TRUE(e->TextEdited(f, ""));
    for (char k : keys)
      if (e->KeyTyped(f, k)) e->TextEdited(f, e->fields[f].text + k);
  }
  // Types a value and presses Enter.
  void Enter(F f, const std::string& keys) {
    Type(f, keys);
    e->KeyTyped(f, '\r');
  }
  std::string File() { return test::ReadBytes(dir / "Handicap/Handicap.ini"); }
};

const char* const kClubFile =
    "\"1.0\"\r\n\"25 September 2006 \"\r\n51.23,56,0.01,7\r\n-1,-1.5,-12,0.1,1\r\n"
    "3,2.5,6.005,0.2,1\r\n";

// One value typed, then the example: net, difference, adjustment, the two new handicaps, the dead
// zone's edges and 5.6789 rounded.
TEST(ParameterEditor, TheExampleShowsWhatAnUpdateWouldDo) {
  struct Case {
    F field;
    const char* keys;
    const char* shown;
  };
  const Case cases[] = {
      {F::Dead1, "2", "58 +6.77 -0.68 -1.68 +2.32 +49.23 +53.23 5.68"},  // the defaults
      {F::Round, "1", "58 +6.77 -1 -2.00 +2.00 +49.23 +53.23 6.00"},
      {F::Round, ".05", "58 +6.77 -0.7 -1.70 +2.30 +49.23 +53.23 5.70"},
      {F::EgGross, "50.73", "52.73 +1.50 0 -1.00 +3.00 +49.23 +53.23 5.68"},  // in the dead zone
      {F::Range1, "2", "58 +6.77 -0.68 -1.68 +2.00 +49.23 +53.23 5.68"},      // kept in range
      {F::EgAve, "60", "58 -2.00 0.4 -0.60 +3.40 +58.00 +62.00 5.68"},        // on the lower edge
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.shown);
    Editor ed;
    ed.Enter(k.field, k.keys);
    const ParameterEditor& e = *ed.e;
    std::string shown;
    for (const Control* c : {&e.lblEgNet, &e.lblEgDiff, &e.lblEGAdj, &e.lblEgTo[0], &e.lblEgTo[1],
                             &e.lblEgDead[0], &e.lblEgDead[1], &e.lblEgRound})
      shown += (shown.empty() ? "" : " ") + c->caption;
    EXPECT_EQ(shown, k.shown);
  }
}

TEST(ParameterEditor, BoxesShowTheirValuesInTheirFormats) {
  Editor ed(kClubFile);
  std::vector<std::string> texts;
  for (const auto& box : ed.e->fields)
    texts.push_back(box.text);
  EXPECT_EQ(texts, (std::vector<std::string>{"-1.5", "+2.5", "-12.00", "+6.01", "0.01", "0.1",
                                             "0.2", "1", "1", "7", "-1", "3", "56", "51.23"}));
  // Passing through a box changes nothing, not even a value shown rounded.
  for (int f = 0; f < ParameterEditor::kFieldCount; ++f)
    ASSERT_TRUE(ed.e->FieldEntered(static_cast<F>(f)));
  EXPECT_TRUE(ed.e->LeaveField());
  EXPECT_FALSE(ed.e->changed());
  EXPECT_EQ(ed.c.Parameters.HandicapRange[1], 6.005);
}

TEST(ParameterEditor, EachBoxTakesOnlyItsOwnKeys) {
  struct Case {
    F field;
    const char* taken;
    const char* refused;
  };
  const Case cases[] = {
      {F::Dead0, "0123456789.-\b", "+ a,e"},
      {F::Dead1, "09.+", "-"},
      {F::Range0, "09.-", "+"},
      {F::Range1, "09.+", "-"},
      {F::Correction, "0123456789", ".-+"},
      {F::EgHand0, "09.+-", "a"},
      {F::Rate1, "09.", "+-"},
      {F::EgAve, ".\x16\x1a", "\xe9"},  // editing commands pass; what Latin-1 lacks does not
  };
  for (const Case& k : cases) {
    Editor ed;
    SCOPED_TRACE(ed.e->fields[k.field].control.name);
    for (const char* key = k.taken; *key; ++key)
      EXPECT_TRUE(ed.e->KeyTyped(k.field, *key)) << *key;
    const std::string before = ed.e->fields[k.field].text;
    for (const char* key = k.refused; *key; ++key)
      EXPECT_FALSE(ed.e->KeyTyped(k.field, *key)) << *key;
    EXPECT_EQ(ed.ports.dialogs.beeps, static_cast<int>(std::strlen(k.refused)));
    EXPECT_EQ(ed.e->fields[k.field].text, before);
  }
}

// A value typed and left: refused with its message (the focus staying in the box and the stored
// value as it was) or stored; `stored` is what the box shows when the editor opens again.
TEST(ParameterEditor, LeavingABoxValidatesIt) {
  struct Case {
    F field;
    std::string keys;
    const char* message;  // empty: accepted
    const char* stored;
  };
  const Case cases[] = {
      {F::Dead0, "0", "", "0"},
      {F::Dead0, ".5", "Lower limit must be negative", "-2"},
      {F::Dead1, "", "Please enter a valid number, e.g. 1.2", "+2"},
      {F::Dead1, "1.2.3", "Please enter a valid number, e.g. 1.2", "+2"},
      {F::Range0, "0", "Lower range must be negative", "-12.00"},
      {F::Range1, "0", "Upper range must be positive", "+6.00"},
      {F::MaxAdj1, "0.009", "Adjustment must not be less than 0.01", "1"},
      {F::Round, "1.01", "Rounding must be between 0.01 and 1", "0.01"},
      {F::Correction, "32", "Correction period must be less than 32", "7"},
      {F::Correction, "031", "", "31"},
      {F::EgGross, "100.5", "Score must be between 0 and 100", "56"},
      {F::EgAve, "29.99", "Score must be between 30 and 70", "51.23"},
      {F::EgHand1, "-" + std::string(400, '9'), "Please enter a valid number, e.g. 1.2", "3"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.keys);
    Editor ed;
    const F other = k.field == F::EgAve ? F::EgGross : F::EgAve;
    ed.Type(k.field, k.keys);
    const bool refused = *k.message != '\0';
    if (refused) ed.ports.dialogs.ExpectMessage(k.message);
    EXPECT_EQ(ed.e->FieldEntered(other), !refused);
    ed.ports.dialogs.VerifyAllUsed();
    EXPECT_EQ(ed.e->editing(), refused ? k.field : other);
    EXPECT_TRUE(ed.e->changed());
    EXPECT_TRUE(ed.e->cmdSave.enabled);
    ed.e->EGUpdate();  // each box shown again from the parameters in memory
    EXPECT_EQ(ed.e->fields[k.field].text, k.stored);
  }
}

TEST(ParameterEditor, PastedTextMeetsTheKeyFilter) {
  Editor ed;
  ed.ports.dialogs.ExpectMessage("Please enter a number without a minus sign, e.g. +1.2");
  EXPECT_FALSE(ed.e->TextEdited(F::Dead1, "-3"));
  EXPECT_EQ(ed.e->fields[F::Dead1].text, "+2");
  ed.ports.dialogs.ExpectMessage("Please enter a whole number, e.g. 7");
  EXPECT_FALSE(ed.e->TextEdited(F::Correction, "2.5"));
  EXPECT_EQ(ed.e->fields[F::Correction].text, "7");
  // Taken in the middle of what is there, and only what was put in is checked.
  EXPECT_TRUE(ed.e->TextEdited(F::Rate0, "0.15"));
  EXPECT_TRUE(ed.e->LeaveField());
  EXPECT_EQ(ed.c.Parameters.AdjustRate[0], 0.15);
  EXPECT_EQ(ed.c.Parameters.DeadZone[1], 2);
  EXPECT_EQ(ed.c.Parameters.CorrectionDays, 7);
}

TEST(ParameterEditor, AButtonFirstValidatesTheBoxBeingEdited) {
  Editor ed;
  ed.Type(F::Dead0, "0.5");
  ed.ports.dialogs.ExpectMessage("Lower limit must be negative");
  ed.e->SaveClick();  // no question follows the refusal
  ed.ports.dialogs.VerifyAllUsed();
  EXPECT_EQ(ed.e->editing(), F::Dead0);

  ed.Type(F::Dead0, "-1");
  ed.ports.dialogs.ExpectMessage("Previous parameters will be lost. Is that ok?", Answer::OK);
  ed.e->SaveClick();
  EXPECT_NE(ed.File().find("-1,-1,-12,0.1,1"), std::string::npos);
  EXPECT_FALSE(ed.e->cmdSave.enabled || ed.e->cmdReset.enabled);
}

TEST(ParameterEditor, ResetAndBackNoRestoreTheFileAsItIsNow) {
  for (const bool back : {false, true}) {
    SCOPED_TRACE(back ? "< Back, No" : "Reset");
    Editor ed(kClubFile);
    // Another copy saves an update while the editor is open.
    std::string file = kClubFile;
    file.replace(file.find("25 September"), 12, "2 October");
    test::WriteBytes(ed.dir / "Handicap/Handicap.ini", file);
    ed.Enter(F::Dead1, "3");
    ed.Enter(F::Correction, "14");
    if (back) {
      ed.ports.dialogs.ExpectMessage("Do you want to save any changes?", Answer::No);
      ed.e->BackClick();
      EXPECT_TRUE(ed.e->closed());
    } else {
      ed.ports.dialogs.ExpectMessage("Changes will be lost. Is that ok?", Answer::OK);
      ed.e->ResetClick();
      EXPECT_FALSE(ed.e->changed());
      EXPECT_EQ(ed.e->fields[F::Dead1].text, "+2.5");
    }
    EXPECT_EQ(ed.c.Parameters.DeadZone[1], 2.5);  // the file's, not the default 2
    EXPECT_EQ(ed.c.Parameters.CorrectionDays, 7);
    EXPECT_EQ(ed.c.Parameters.LastUpdated, "2 October 2006 ");
  }
}

// "< Back" asks only after a change; Cancel stays, and so does Yes when the file cannot be written
// (the edits kept and still marked), until it can.
TEST(ParameterEditor, BackClosesOnlyWithTheEditsSavedOrDropped) {
  Editor unchanged;
  unchanged.e->BackClick();
  EXPECT_TRUE(unchanged.e->closed());

  Editor ed;
  const std::string folder = ed.c.HandicapFolder;
  test::WriteBytes(ed.dir / "blocker", "");
  ed.c.HandicapFolder = ed.dir / "blocker/Handicap/";
  ed.Enter(F::EgGross, "60");
  ed.ports.dialogs.ExpectMessage("Previous parameters will be lost. Is that ok?", Answer::OK)
      .ExpectMessageContaining("Error cannot save ");
  ed.e->SaveClick();
  EXPECT_TRUE(ed.e->changed());
  const char* const question = "Do you want to save any changes?";
  ed.ports.dialogs.ExpectMessage(question, Answer::Cancel)
      .ExpectMessage(question, Answer::Yes)
      .ExpectMessageContaining("Error cannot save ");
  ed.e->BackClick();
  ed.e->BackClick();
  EXPECT_FALSE(ed.e->closed());
  EXPECT_TRUE(ed.e->cmdSave.enabled);
  EXPECT_EQ(ed.c.Parameters.EgGross, 60);
  ed.c.HandicapFolder = folder;
  ed.ports.dialogs.ExpectMessage(question, Answer::Yes);
  ed.e->BackClick();
  EXPECT_TRUE(ed.e->closed());
  EXPECT_NE(ed.File().find("51.23,60,0.01,7"), std::string::npos);
}

// "Use these parameters" takes the trial's values, typed by the editor's rules, to the parameter
// editor behind its password, with "Save any changes" there; opened from the editor, back to it.
TEST(ParameterEditor, TriesItsValuesAndTakesTheTrialsBack) {
  Editor club;
  Context& c = club.c;
  test::WriteBytes(c.MemberFile, " 1 11 01/01/26\r\n1,Ann,Ash,,,F,0,,,,\r\n");
  int editors = 0;
  club.ports.windows.onShow[WindowId::NewPassword] = [&] { c.Cancelled = false; };
  club.ports.windows.onShow[WindowId::Parameters] = [&] {
    const ParameterEditor editor(club.program);
    ++editors;
    EXPECT_TRUE(editor.changed() && editor.cmdSave.enabled);
    EXPECT_EQ(editor.fields[ParameterBoxes::Rate0].text, "0.35");
    EXPECT_EQ(c.Parameters.CorrectionDays, 7);
  };
  {
    TrialDialog trial(club.program);
    trial.Load();
    ParameterBoxes& boxes = trial.boxes();
    EXPECT_FALSE(boxes.KeyTyped(ParameterBoxes::Dead1, '-'));  // the editor's own filter
    EXPECT_EQ(club.ports.dialogs.beeps, 1);
    ASSERT_TRUE(boxes.TextEdited(ParameterBoxes::Rate0, "0.35"));
    trial.UseClick();
    EXPECT_FALSE(trial.closed());
  }
  EXPECT_EQ(editors, 1);
  EXPECT_FALSE(club.program.editorParameters);

  // From the editor, the trial starts from the values being edited and gives its own back.
  club.ports.windows.onShow[WindowId::Trial] = [&] {
    TrialDialog trial(club.program);
    trial.Load();
    EXPECT_EQ(trial.trial().MaxAdjust[0], 0.5);
    ASSERT_TRUE(trial.boxes().TextEdited(ParameterBoxes::Dead0, "-3"));
    trial.UseClick();
    EXPECT_TRUE(trial.closed());
  };
  ParameterEditor editor(club.program);
  ASSERT_TRUE(editor.TextEdited(ParameterBoxes::MaxAdj0, "0.5"));
  editor.TrialClick();
  EXPECT_EQ(c.Parameters.DeadZone[0], -3);
  EXPECT_EQ(c.Parameters.MaxAdjust[0], 0.5);
  EXPECT_EQ(editor.fields[ParameterBoxes::Dead0].text, "-3");
  EXPECT_TRUE(editor.cmdSave.enabled);
  EXPECT_EQ(editors, 1);
}

}  // namespace
}  // namespace pg
