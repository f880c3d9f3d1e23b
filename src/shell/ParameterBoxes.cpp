#include "shell/ParameterBoxes.h"

#include <cmath>

#include "base/Guard.h"
#include "base/Numbers.h"

namespace pg {

namespace {

using Field = ParameterBoxes::Field;

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

// In the order of ParameterBoxes::Field.
const Rule kRules[ParameterBoxes::kFieldCount] = {
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

std::string ShownText(const HandicapParameters& p, Field f) {
  switch (f) {
    case Field::Dead1: return "+" + NumberText(p.DeadZone[1]);
    case Field::Range0:
    case Field::Range1: return FormatNumber(Stored(p, f), kSigned);
    case Field::Correction: return std::to_string(p.CorrectionDays);
    default: return NumberText(Stored(p, f));
  }
}

}  // namespace

ParameterBoxes::ParameterBoxes(Dialogs& dialogs, HandicapParameters& target, const char* window)
    : dialogs_(dialogs), target_(target), window_(window) {
  for (int i = 0; i < kFieldCount; ++i)
    fields[i].control = Control{kRules[i].name, kRules[i].label};
}

std::string ParameterBoxes::Shown(const HandicapParameters& p, Field field) {
  return ShownText(p, field);
}

double ParameterBoxes::Stored(const HandicapParameters& p, Field field) {
  return pg::Stored(p, field);
}

void ParameterBoxes::ShowValues() {
  for (int i = 0; i < kFieldCount; ++i) {
    shown_[i] = ShownText(target_, static_cast<Field>(i));
    fields[i].text = shown_[i];
  }
}

bool ParameterBoxes::KeyTyped(Field field, char key) {
  if (!FieldEntered(field)) return false;
  if (key == '\r' || key == '\n') {
    Validate(field);
    return false;
  }
  // Backspace, and the control keys of editing commands, are not characters to filter.
  if (static_cast<unsigned char>(key) < 0x20 || key == 0x7f) return true;
  if (Takes(kRules[field].filter, key)) return true;
  dialogs_.Beep();
  return false;
}

bool ParameterBoxes::TextEdited(Field field, const std::string& text) {
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
      dialogs_.Message(PasteRefusal(kRules[field].filter), Buttons::OK, Icon::Warning);
      return false;
    }
  }
  old = text;
  // An edit is an attempted change: "Save any changes" is there as soon as something is typed.
  if (text != shown_[field]) Changed();
  return true;
}

bool ParameterBoxes::FieldEntered(Field field) {
  if (editing_ && *editing_ != field && !Validate(*editing_)) return false;
  editing_ = field;
  return true;
}

bool ParameterBoxes::LeaveField() {
  if (editing_ && !Validate(*editing_)) return false;
  editing_.reset();
  return true;
}

bool ParameterBoxes::Validate(Field field) {
  const std::string text = fields[field].text;
  // Nothing typed: nothing to check, and a value shown rounded is not taken for a new one.
  if (text == shown_[field]) return true;
  Guard guard(dialogs_, window_);
  bool accepted = false;
  guard.Step(100, [&] {
    const std::optional<double> value = ParseNumber(text);
    if (!value || !std::isfinite(*value)) {
      dialogs_.Message(kNotNumText, Buttons::OK, Icon::Warning);
      return;
    }
    if (*value != pg::Stored(target_, field)) Changed();
    const Rule& rule = kRules[field];
    if (rule.refused != nullptr && rule.refused(*value)) {
      dialogs_.Message(rule.message, Buttons::OK, Icon::Warning);
      return;
    }
    Store(target_, field, *value);
    accepted = true;
  });
  if (accepted) guard.Step(110, [&] { Accepted(); });
  return accepted;
}

}  // namespace pg
