#include "shell/ParameterEditor.h"

#include <cmath>

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

using Field = ParameterEditor::Field;

// Which characters, besides digits, a box takes from the keyboard.
enum class Filter {
  Digits,    // whole numbers only
  Unsigned,  // "."
  Signed,    // ".", "+", "-"
  Lower,     // ".", "-": the lower edge of a zone or range
  Upper,     // ".", "+": the upper edge
};

struct Rule {
  const char* name;
  // The box's accessible name: what the labels around it say of it.
  const char* label;
  Filter filter;
  // True when a value is refused, with the message it gets; null when any number will do.
  bool (*refused)(double);
  const char* message;
};

// In the order of ParameterEditor::Field.
const Rule kRules[ParameterEditor::kFieldCount] = {
    {"txtDead(0)", "Dead zone from", Filter::Lower, [](double v) { return v > 0; },
     "Lower limit must be negative"},
    {"txtDead(1)", "Dead zone to", Filter::Upper, nullptr, nullptr},
    {"txtRange(0)", "Lowest handicap", Filter::Lower, [](double v) { return v >= 0; },
     "Lower range must be negative"},
    {"txtRange(1)", "Highest handicap", Filter::Upper, [](double v) { return v <= 0; },
     "Upper range must be positive"},
    {"txtRound", "Handicaps rounded to", Filter::Unsigned,
     [](double v) { return v < 0.01 || v > 1; }, "Rounding must be between 0.01 and 1"},
    {"txtRate(0)", "Rate above the dead zone", Filter::Unsigned, nullptr, nullptr},
    {"txtRate(1)", "Rate below the dead zone", Filter::Unsigned, nullptr, nullptr},
    {"txtMaxAdj(0)", "Maximum adjustment above the dead zone", Filter::Unsigned,
     [](double v) { return v < 0.01; }, "Adjustment must not be less than 0.01"},
    {"txtMaxAdj(1)", "Maximum adjustment below the dead zone", Filter::Unsigned,
     [](double v) { return v < 0.01; }, "Adjustment must not be less than 0.01"},
    {"txtCorrection", "Correction period in days", Filter::Digits, [](double v) { return v > 31; },
     "Correction period must be less than 32"},
    {"txtEgHand(0)", "Pair's handicap, first player", Filter::Signed, nullptr, nullptr},
    {"txtEgHand(1)", "Pair's handicap, second player", Filter::Signed, nullptr, nullptr},
    {"txtEgGross", "Pair's gross score", Filter::Unsigned,
     [](double v) { return v < 0 || v > 100; }, "Score must be between 0 and 100"},
    {"txtEgAve", "Session's average handicap score", Filter::Unsigned,
     [](double v) { return v < 30 || v > 70; }, "Score must be between 30 and 70"},
};

bool Takes(Filter filter, char c) {
  if (c >= '0' && c <= '9') return true;
  switch (filter) {
    case Filter::Digits: return false;
    case Filter::Unsigned: return c == '.';
    case Filter::Signed: return c == '.' || c == '+' || c == '-';
    case Filter::Lower: return c == '.' || c == '-';
    case Filter::Upper: return c == '.' || c == '+';
  }
  return false;
}

// A pasted text the box would not take from the keyboard is refused with what the box takes.
const char* PasteRefusal(Filter filter) {
  switch (filter) {
    case Filter::Digits: return "Please enter a whole number, e.g. 7";
    case Filter::Unsigned: return "Please enter a number without a sign, e.g. 1.2";
    case Filter::Signed: return kNotNumText;
    case Filter::Lower: return "Please enter a number without a plus sign, e.g. -1.2";
    case Filter::Upper: return "Please enter a number without a minus sign, e.g. +1.2";
  }
  return kNotNumText;
}

constexpr const char* kSigned = "+0.00;-0.00;0";
constexpr const char* kSignedTwo = "+0.00;-0.00;0.00";

double Stored(const HandicapParameters& p, Field f) {
  switch (f) {
    case Field::Dead0: return p.DeadZone[0];
    case Field::Dead1: return p.DeadZone[1];
    case Field::Range0: return p.HandicapRange[0];
    case Field::Range1: return p.HandicapRange[1];
    case Field::Round: return p.RoundingStep;
    case Field::Rate0: return p.AdjustRate[0];
    case Field::Rate1: return p.AdjustRate[1];
    case Field::MaxAdj0: return p.MaxAdjust[0];
    case Field::MaxAdj1: return p.MaxAdjust[1];
    case Field::Correction: return p.CorrectionDays;
    case Field::EgHand0: return p.EgHand[0];
    case Field::EgHand1: return p.EgHand[1];
    case Field::EgGross: return p.EgGross;
    case Field::EgAve: return p.EgAve;
  }
  return 0;
}

void Store(HandicapParameters& p, Field f, double value) {
  switch (f) {
    case Field::Dead0: p.DeadZone[0] = value; break;
    case Field::Dead1: p.DeadZone[1] = value; break;
    case Field::Range0: p.HandicapRange[0] = value; break;
    case Field::Range1: p.HandicapRange[1] = value; break;
    case Field::Round: p.RoundingStep = value; break;
    case Field::Rate0: p.AdjustRate[0] = value; break;
    case Field::Rate1: p.AdjustRate[1] = value; break;
    case Field::MaxAdj0: p.MaxAdjust[0] = value; break;
    case Field::MaxAdj1: p.MaxAdjust[1] = value; break;
    // Only digits reach the correction period and anything above 31 is refused, so it fits.
    case Field::Correction: p.CorrectionDays = static_cast<short>(value); break;
    case Field::EgHand0: p.EgHand[0] = value; break;
    case Field::EgHand1: p.EgHand[1] = value; break;
    case Field::EgGross: p.EgGross = value; break;
    case Field::EgAve: p.EgAve = value; break;
  }
}

std::string Shown(const HandicapParameters& p, Field f) {
  switch (f) {
    case Field::Dead1: return "+" + NumberText(p.DeadZone[1]);
    case Field::Range0:
    case Field::Range1: return FormatNumber(Stored(p, f), kSigned);
    case Field::Correction: return std::to_string(p.CorrectionDays);
    default: return NumberText(Stored(p, f));
  }
}

}  // namespace

ParameterEditor::ParameterEditor(Program& program) : program_(program) {
  for (int i = 0; i < kFieldCount; ++i)
    fields[i].control = Control{kRules[i].name, kRules[i].label};
  Guard guard(program_.context.dialogs(), kName);
  // The club's parameters as they are now: another copy may have saved some since they were read.
  guard.Step(100, [&] {
    Context& c = program_.context;
    ReadParameters(c.HandicapFolder, c.Parameters);
    saved_ = c.Parameters;
  });
  guard.Step(110, [&] { changed_ = false; });
  guard.Step(120, [&] { EGUpdate(); });
  guard.Step(130, [&] { SetDisp(); });
}

void ParameterEditor::EGUpdate() {
  const HandicapParameters& p = program_.context.Parameters;
  Guard guard(program_.context.dialogs(), kName);
  guard.Step(100, [&] {
    for (int i = 0; i < kFieldCount; ++i) {
      shown_[i] = Shown(p, static_cast<Field>(i));
      fields[i].text = shown_[i];
    }
  });
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

bool ParameterEditor::KeyTyped(Field field, char key) {
  if (!FieldEntered(field)) return false;
  if (key == '\r' || key == '\n') {
    Validate(field);
    return false;
  }
  // Backspace, and the control keys of editing commands, are not characters to filter.
  if (static_cast<unsigned char>(key) < 0x20 || key == 0x7f) return true;
  if (Takes(kRules[field].filter, key)) return true;
  program_.context.dialogs().Beep();
  return false;
}

bool ParameterEditor::TextEdited(Field field, const std::string& text) {
  if (!FieldEntered(field)) return false;
  std::string& old = fields[field].text;
  // What was put in is what lies between the part both texts start with and the part both end
  // with; what was taken out needs no check.
  size_t head = 0;
  while (head < old.size() && head < text.size() && old[head] == text[head])
    ++head;
  size_t tail = 0;
  while (tail < old.size() - head && tail < text.size() - head &&
         old[old.size() - 1 - tail] == text[text.size() - 1 - tail])
    ++tail;
  for (size_t i = head; i < text.size() - tail; ++i) {
    if (!Takes(kRules[field].filter, text[i])) {
      program_.context.dialogs().Message(PasteRefusal(kRules[field].filter), Buttons::OK,
                                         Icon::Warning);
      return false;
    }
  }
  old = text;
  // An edit is an attempted change: "Save any changes" is there as soon as something is typed.
  if (text != shown_[field] && !changed_) {
    changed_ = true;
    SetDisp();
  }
  return true;
}

bool ParameterEditor::FieldEntered(Field field) {
  if (editing_ && *editing_ != field && !Validate(*editing_)) return false;
  editing_ = field;
  return true;
}

bool ParameterEditor::LeaveField() {
  if (editing_ && !Validate(*editing_)) return false;
  editing_.reset();
  return true;
}

bool ParameterEditor::Validate(Field field) {
  Context& c = program_.context;
  const std::string text = fields[field].text;
  // Nothing typed: nothing to check, and a value shown rounded is not taken for a new one.
  if (text == shown_[field]) return true;
  Guard guard(c.dialogs(), kName);
  bool accepted = false;
  guard.Step(100, [&] {
    const std::optional<double> value = ParseNumber(text);
    if (!value || !std::isfinite(*value)) {
      c.dialogs().Message(kNotNumText, Buttons::OK, Icon::Warning);
      return;
    }
    if (*value != Stored(c.Parameters, field)) {
      changed_ = true;
      SetDisp();
    }
    const Rule& rule = kRules[field];
    if (rule.refused != nullptr && rule.refused(*value)) {
      c.dialogs().Message(rule.message, Buttons::OK, Icon::Warning);
      return;
    }
    Store(c.Parameters, field, *value);
    accepted = true;
  });
  if (accepted) guard.Step(110, [&] { EGUpdate(); });
  return accepted;
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
