#include "update/NearNamesDialog.h"

#include "base/Guard.h"

namespace pg {

namespace {

// Printed widths in twips: room for a long session line ("12. 14 March 2026 - Saturday
// afternoon : 3 sections combined"), two members equally close ("Margaret Holloway or Peter
// Holloway") and a difference of two kinds ("first name and surname swapped, one letter").
constexpr std::array<int, NearNamesDialog::kColumns> kPrintedWidths{2200, 5400, 3400, 3800};

}  // namespace

const NearNamesDialog::Row& NearNamesDialog::Headings() {
  static const Row headings{"Name as typed", "Sessions", "Member", "Difference"};
  return headings;
}

NearNamesDialog::NearNamesDialog(Context& context, NameCheck& check)
    : context_(context), check_(check) {
  check_.goOn = false;
  for (const NearName& name : check_.names) {
    for (size_t s = 0; s < name.sessions.size(); ++s) {
      if (s == 0)
        rows_.push_back({name.typed, name.sessions[s], name.member, NearnessText(name.how)});
      else
        rows_.push_back({"", name.sessions[s], "", ""});
      rowNames_.push_back(name.typed);
    }
  }
}

void NearNamesDialog::PrintFailed() {
  Guard guard(context_.dialogs(), kName);
  guard.Step(
      100, [&] { context_.dialogs().Message(kNamesPrintFailedText, Buttons::OK, Icon::Warning); });
}

PrintedTable NearNamesDialog::Printout() const {
  PrintedTable table;
  table.title = kCaption;
  if (check_.lastDay) table.subtitle = UpdateSubtitle(*check_.lastDay);
  table.widths.assign(kPrintedWidths.begin(), kPrintedWidths.end());
  table.align.assign(kColumns, CellAlign::Left);
  std::vector<PrintedCell>& headings = table.headings.emplace_back();
  for (const std::string& heading : Headings())
    headings.push_back({heading});
  for (const Row& row : rows_)
    table.rows.emplace_back(row.begin(), row.end());
  return table;
}

}  // namespace pg
