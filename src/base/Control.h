#pragma once

#include <string>

namespace pg {

// One control of a window model. The view gives its widget `name` as object name and shows
// `caption`, `enabled` and `visible` as they stand after each event.
struct Control {
  std::string name;
  std::string caption;
  bool enabled = true;
  bool visible = true;
  // The letter of the caption that Alt presses (a button) or moves the focus with (the label in
  // front of a list or box); 0 for none. Shown underlined; never part of the accessible name.
  char key = 0;
  // The button Enter presses wherever the focus is in the window, short of a button or a box
  // that takes Enter itself. At most one per window.
  bool isDefault = false;
};

}  // namespace pg
