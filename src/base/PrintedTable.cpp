#include "base/PrintedTable.h"

namespace pg {

std::string PageText(int page, int pages) {
  return "Page " + std::to_string(page) + " of " + std::to_string(pages);
}

}  // namespace pg
