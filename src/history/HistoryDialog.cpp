#include "history/HistoryDialog.h"

#include <algorithm>
#include <unordered_map>

#include "base/Guard.h"
#include "base/Numbers.h"
#include "history/Undo.h"

namespace pg {
namespace {

using Align = CellAlign;

// The last updates whose change lstMembers shows.
constexpr size_t kChangeColumns = 3;

std::string Figure(double value) {
  return FormatNumber(value, "0.00");
}

std::string Change(double value) {
  return FormatNumber(value, "+0.00;-0.00;0.00");
}

std::string UpdateDay(Date day) {
  return FormatDate(day, "ddd dd/mm/yy");
}

}  // namespace

ChartScale HandicapChart::Scale(int most) const {
  std::vector<double> values{lower, upper};
  for (const Point& p : points)
    values.push_back(p.handicap);
  return ScaleFor(values, most);
}

HistoryDialog::HistoryDialog(Context& context) : context_(context) {
  Load(true);
}

void HistoryDialog::Load(bool tellDamage) {
  Guard guard(context_.dialogs(), kName);
  MemberTable today;
  HistoryDamage damage;
  ReadHistoryForWindow(guard, context_, today, damage, history_);
  if (tellDamage && damage.Any())
    guard.Step(120, [&] { context_.dialogs().Message(damage.Text(), Buttons::OK, Icon::Warning); });

  guard.Step(130, [&] {
    rows_.clear();
    if (today.MemberCount() > 0) {
      for (short m = 1; m <= today.MemberCount(); ++m)
        rows_.push_back({today.Member(m).FullName, m, today.Member(m).StartHandicap, {}});
    } else if (!history_.updates.empty()) {
      // Without the membership file, the members of the last update with their handicap then.
      for (const HistoryMember& m : history_.updates.back().members)
        rows_.push_back({m.name, m.number, m.after, {}});
    }
    // A member is followed through the updates by name; two of one name by their number too.
    std::unordered_map<std::string_view, std::vector<size_t>> byName;
    for (size_t r = 0; r < rows_.size(); ++r)
      byName[rows_[r].name].push_back(r);
    for (size_t u = 0; u < history_.updates.size(); ++u) {
      const std::vector<HistoryMember>& members = history_.updates[u].members;
      for (size_t k = 0; k < members.size(); ++k) {
        const auto it = byName.find(members[k].name);
        if (it == byName.end() || members[k].name.empty()) continue;
        size_t row = it->second.front();
        for (size_t r : it->second)
          if (rows_[r].number == members[k].number) row = r;
        rows_[row].lines.emplace_back(u, k);
      }
    }
  });

  guard.Step(140, [&] {
    members_ = TextTable{};
    members_.headings = {"No.", "Name", "Handicap"};
    members_.align = {Align::Right, Align::Left, Align::Right};
    members_.widths = {550, 2200, 900};
    const size_t updates = history_.updates.size();
    const size_t first = updates > kChangeColumns ? updates - kChangeColumns : 0;
    for (size_t u = updates; u-- > first;) {
      members_.headings.push_back("Change " +
                                  FormatDate(history_.updates[u].lastSession, "dd/mm/yy"));
      members_.align.push_back(Align::Right);
      members_.widths.push_back(1300);
    }
    members_.rows.reserve(rows_.size());
    for (const Row& row : rows_) {
      std::vector<std::string>& cells = members_.rows.emplace_back();
      cells = {std::to_string(row.number), row.name, Figure(row.now)};
      cells.resize(members_.headings.size());
      for (const auto& [u, k] : row.lines) {
        if (u < first) continue;
        const HistoryMember& m = history_.updates[u].members[k];
        if (m.before) cells[3 + (updates - 1 - u)] = Change(m.after - *m.before);
      }
    }
    const bool lessCertain = std::any_of(
        history_.updates.begin(), history_.updates.end(),
        [](const HistoryEntry& e) { return e.source == HistoryEntry::Source::HanLessCertain; });
    lblNote.caption = lessCertain ? kLessCertainNote : "";
    lblNote.visible = lessCertain;
    cmdUndo.enabled = !history_.updates.empty();
  });
  chosen_ = rows_.empty() ? -1 : std::min(std::max(chosen_, 0), static_cast<int>(rows_.size()) - 1);
  ShowChosen();
}

void HistoryDialog::ChooseMember(int row) {
  if (row < 0 || row >= static_cast<int>(rows_.size()) || row == chosen_) return;
  chosen_ = row;
  ShowChosen();
}

void HistoryDialog::ShowChosen() {
  Guard guard(context_.dialogs(), kName);
  guard.Step(300, [&] {
    updates_ = TextTable{};
    updates_.headings = {"Update",    "Before",  "After",      "Change", "Session",
                         "Net score", "Average", "Adjustment", "Note"};
    updates_.align = {Align::Left,  Align::Right, Align::Right, Align::Right, Align::Left,
                      Align::Right, Align::Right, Align::Right, Align::Left};
    updates_.widths = {1400, 750, 750, 900, 1500, 1050, 900, 1200, 1500};
    chart_ = HandicapChart{};
    chart_.lower = context_.Parameters.HandicapRange[0];
    chart_.upper = context_.Parameters.HandicapRange[1];
    cmdPrint.enabled = chosen_ >= 0;
    if (chosen_ < 0) {
      chart_.name = "Handicap at each update";
      chart_.description = "No member is chosen.";
      picChart.caption = chart_.name;
      return;
    }
    const Row& row = rows_[static_cast<size_t>(chosen_)];
    for (auto line = row.lines.rbegin(); line != row.lines.rend(); ++line) {
      const HistoryEntry& entry = history_.updates[line->first];
      const HistoryMember& m = entry.members[line->second];
      const char* note = entry.source == HistoryEntry::Source::Han              ? kFromHanText
                         : entry.source == HistoryEntry::Source::HanLessCertain ? kLessCertainText
                                                                                : "";
      updates_.rows.push_back({UpdateDay(entry.lastSession), m.before ? Figure(*m.before) : "",
                               Figure(m.after), m.before ? Change(m.after - *m.before) : "", "", "",
                               "", "", note});
      for (const PlayedSession& s : m.sessions) {
        const auto label = static_cast<size_t>(s.session);
        updates_.rows.push_back(
            {"", "", "", "", label < entry.sessionLabels.size() ? entry.sessionLabels[label] : "",
             Figure(s.netScore), Figure(s.average), Change(s.adjustment), ""});
      }
    }
    chart_.name = "Handicap of " + row.name + " at each update";
    if (row.lines.empty()) {
      chart_.description = kNoUpdateText;
    } else {
      const HistoryMember& first =
          history_.updates[row.lines.front().first].members[row.lines.front().second];
      if (first.before) chart_.points.push_back({"before", *first.before, false});
      for (const auto& [u, k] : row.lines) {
        const HistoryEntry& entry = history_.updates[u];
        chart_.points.push_back({FormatDate(entry.lastSession, "dd/mm/yy"), entry.members[k].after,
                                 entry.source == HistoryEntry::Source::HanLessCertain});
      }
      const size_t n = row.lines.size();
      chart_.description =
          "from " + Figure(first.before.value_or(first.after)) + " to " +
          Figure(chart_.points.back().handicap) + " over " + std::to_string(n) +
          (n == 1 ? " update, " : " updates, ") +
          UpdateDay(history_.updates[row.lines.front().first].lastSession) + " to " +
          UpdateDay(history_.updates[row.lines.back().first].lastSession) +
          "; the club's range is " + Figure(chart_.lower) + " to " + Figure(chart_.upper);
    }
    picChart.caption = chart_.name;
  });
}

void HistoryDialog::UndoClick() {
  Guard guard(context_.dialogs(), kName);
  bool undone = false;
  guard.Step(200, [&] { undone = UndoLastUpdate(context_, history_); });
  if (!undone) return;
  const std::string name = chosen_ >= 0 ? rows_[static_cast<size_t>(chosen_)].name : "";
  Load(false);
  for (size_t r = 0; r < rows_.size(); ++r)
    if (rows_[r].name == name && static_cast<int>(r) != chosen_) ChooseMember(static_cast<int>(r));
}

void HistoryDialog::TrialClick() {
  Guard guard(context_.dialogs(), kName);
  guard.Step(600, [&] { context_.ports.windows.ShowModal(WindowId::Trial); });
}

void HistoryDialog::PrintFailed() {
  Guard guard(context_.dialogs(), kName);
  guard.Step(500, [&] {
    context_.dialogs().Message(kHistoryPrintFailedText, Buttons::OK, Icon::Warning);
  });
}

PrintedTable HistoryDialog::Printout() const {
  PrintedTable table;
  table.title = kCaption;
  if (chosen_ >= 0) {
    const Row& row = rows_[static_cast<size_t>(chosen_)];
    table.subtitle =
        row.name + ", member " + std::to_string(row.number) + ": handicap now " + Figure(row.now);
  }
  table.widths = updates_.widths;
  table.align = updates_.align;
  std::vector<PrintedCell>& heading = table.headings.emplace_back();
  for (size_t c = 0; c < updates_.headings.size(); ++c)
    heading.push_back({updates_.headings[c], 1, updates_.align[c]});
  table.rows = updates_.rows;
  if (table.rows.empty()) table.note = kNoUpdateText;
  return table;
}

}  // namespace pg
