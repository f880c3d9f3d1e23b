#pragma once

#include <array>
#include <optional>
#include <string>

#include "base/Control.h"
#include "base/Parameters.h"
#include "base/Ports.h"

namespace pg {

// The parameters' text boxes as the parameter editor has them: each box's name and the words that
// name it, the characters it takes from the keyboard, the values it refuses and their messages,
// and the checking of a box as the focus leaves it. The editor and the trial of other parameters
// both edit parameters through them, so the two cannot take different values.
class ParameterBoxes {
 public:
  // The text boxes, in reading order; the first kTrialFieldCount are the ones an update applies.
  enum Field {
    Dead0,
    Dead1,
    Range0,
    Range1,
    Round,
    Rate0,
    Rate1,
    MaxAdj0,
    MaxAdj1,
    Correction,
    EgHand0,
    EgHand1,
    EgGross,
    EgAve,
  };
  static constexpr int kFieldCount = EgAve + 1;
  static constexpr int kUpdateFieldCount = MaxAdj1 + 1;

  // A text box: its control (name, and as caption the words a screen reader names it by) and the
  // text it holds.
  struct TextBox {
    Control control;
    std::string text;
  };

  // Boxes over `target`, whose accepted values go into it at once; `window` names the window in
  // an error report.
  ParameterBoxes(Dialogs& dialogs, HandicapParameters& target, const char* window);
  virtual ~ParameterBoxes() = default;
  ParameterBoxes(const ParameterBoxes&) = delete;
  ParameterBoxes& operator=(const ParameterBoxes&) = delete;

  std::array<TextBox, kFieldCount> fields;

  // A character typed into a box (Enter as '\r', Backspace as '\b'). Enter validates the box at
  // once; a character the box does not take beeps. Other control characters are editing
  // commands (paste, undo, ...) and go on to the box. True when the key goes on to the box.
  bool KeyTyped(Field field, char key);

  // The box's text was changed other than by a typed key the box took (pasted, dropped,
  // undone): what was inserted must pass the box's key filter, or the change is refused with a
  // message and the box keeps its text. True when the change stands.
  bool TextEdited(Field field, const std::string& text);

  // The focus came into a box. The box being edited before is validated as it is left; false
  // when it refuses, and the focus belongs back in editing().
  bool FieldEntered(Field field);

  // The focus went from the box being edited to a button; false when the box refuses.
  bool LeaveField();

  // The box being edited, where the focus belongs.
  std::optional<Field> editing() const { return editing_; }

  // Puts every box's text as the parameters give it; a box left with that text has nothing to
  // check.
  void ShowValues();

  // A parameter's value as a box shows it, and as a number.
  static std::string Shown(const HandicapParameters& p, Field field);
  static double Stored(const HandicapParameters& p, Field field);

 protected:
  // Something was typed or pasted that differs from what was shown, or a value checked that
  // differs from the parameter: an attempted change.
  virtual void Changed() {}
  // A box's value was checked and stored in the parameters.
  virtual void Accepted() {}

 private:
  // Validates a box as it is left or on Enter; false when refused (a message has been shown).
  bool Validate(Field field);

  Dialogs& dialogs_;
  HandicapParameters& target_;
  const char* window_;
  // What ShowValues last put in each box.
  std::array<std::string, kFieldCount> shown_;
  std::optional<Field> editing_;
};

inline constexpr const char* kNotNumText = "Please enter a valid number, e.g. 1.2";

}  // namespace pg
