#include "shell/Program.h"

#ifndef PG_VERSION_MAJOR
#error "PG_VERSION_MAJOR and PG_VERSION_MINOR come from the project version in CMakeLists.txt"
#endif

namespace pg {

std::string BuildVersion() {
  return std::to_string(PG_VERSION_MAJOR) + "." + std::to_string(PG_VERSION_MINOR);
}

}  // namespace pg
