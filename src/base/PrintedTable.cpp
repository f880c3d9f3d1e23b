#include "base/PrintedTable.h"

namespace pg {

std::string UpdateSubtitle(Date lastDay) {
  return "Update using sessions up to and including " + FormatDate(lastDay, "dddd dd mmmm yyyy");
}

std::string PageText(int page, int pages) {
  return "Page " + std::to_string(page) + " of " + std::to_string(pages);
}

}  // namespace pg
