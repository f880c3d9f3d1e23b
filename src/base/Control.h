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
};

}  // namespace pg
