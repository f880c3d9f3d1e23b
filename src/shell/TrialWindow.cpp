#include "shell/TrialWindow.h"

#include <algorithm>
#include <chrono>

#include "base/Guard.h"
#include "base/Numbers.h"
#include "shell/PasswordWindows.h"

namespace pg {
namespace {

using Align = CellAlign;

std::string Figure(double value) {
  return FormatNumber(value, "0.00");
}

std::string Signed(double value) {
  return FormatNumber(value, "+0.00;-0.00;0.00");
}

std::string UpdateDay(Date day) {
  return FormatDate(day, "ddd dd/mm/yy");
}

std::string Either(const std::optional<double>& value) {
  return value ? Figure(*value) : "";
}

// The words of a member's marks, as the table's note and a difference's reason give them.
std::string MarksText(unsigned marks) {
  std::string text;
  for (const auto& [mark, words] :
       {std::pair{kCorrectedByHand, "corrected by hand in a review"},
        std::pair{kUnknownVisitor, "played with a visitor whose handicap was not recorded"},
        std::pair{kSessionLeftOut, "played a session the replay left out"},
        std::pair{kLessCertain, "less certain"}}) {
    if ((marks & mark) == 0) continue;
    if (!text.empty()) text += "; ";
    text += words;
  }
  return text;
}

// The first update of the last twelve months of saved updates: those whose last session came
// after the same day a year before the newest one's.
int TwelveMonthsBefore(const std::vector<HistoryEntry>& updates) {
  using namespace std::chrono;
  year_month_day start{updates.back().lastSession};
  start -= years{1};
  if (!start.ok()) start = start.year() / start.month() / last;
  const Date after = sys_days(start);
  int first = static_cast<int>(updates.size()) - 1;
  while (first > 0 && updates[static_cast<size_t>(first - 1)].lastSession > after)
    --first;
  return first;
}

}  // namespace

std::string FairnessDefinition() {
  return "Fairness is the root mean square, over the members with at least " +
         std::to_string(kFairnessSessions) +
         " sessions in the stretch, of each member's average of (net score minus the session's "
         "average) under that column's handicaps. Smaller is fairer: handicaps exist to bring "
         "every regular member's handicapped score to the field's.";
}

ChartScale TrialChart::Scale(int most) const {
  std::vector<double> values{lower, upper};
  for (const auto& points : series)
    for (const std::optional<double>& p : points)
      if (p) values.push_back(*p);
  return ScaleFor(values, most);
}

TrialDialog::Boxes::Boxes(TrialDialog& window, Dialogs& dialogs)
    : ParameterBoxes(dialogs, window.trial_, kName), window_(window) {}

void TrialDialog::Boxes::Accepted() {
  window_.Run();
}

TrialDialog::TrialDialog(Program& program)
    : program_(program),
      trial_(program.context.Parameters),
      today_(program.context.Parameters),
      boxes_(*this, program.context.dialogs()) {
  if (program_.trialStart) {
    trial_ = program_.trialStart->trial;
    today_ = program_.trialStart->saved;
    fromEditor_ = true;
    program_.trialStart.reset();
  }
  for (int f = 0; f < ParameterBoxes::kUpdateFieldCount; ++f) {
    lblField[f] = Control{"lblField(" + std::to_string(f) + ")", boxes_.fields[f].control.caption};
    lblSaved[f] = Control{"lblSaved(" + std::to_string(f) + ")", ""};
  }
  lblDefinition.caption = FairnessDefinition();
  boxes_.ShowValues();
}

void TrialDialog::Load(ReplayProgress* progress) {
  progress_ = progress;
  Context& c = program_.context;
  Guard guard(c.dialogs(), kName);
  MemberTable today;
  HistoryDamage damage;
  ReadHistoryForWindow(guard, c, today, damage, history_);
  guard.Step(120, [&] {
    damage_.clear();
    if (damage.Any()) {
      // The window lists it with what else the replay could not do.
      damage_ = damage.Text();
      std::replace(damage_.begin(), damage_.end(), '\r', ' ');
      std::erase(damage_, '\n');
    }
    updateNames_.clear();
    for (const HistoryEntry& e : history_.updates)
      updateNames_.push_back(UpdateDay(e.lastSession));
    to_ = static_cast<int>(updateNames_.size()) - 1;
    from_ = history_.updates.empty() ? -1 : TwelveMonthsBefore(history_.updates);
  });
  Run();
}

void TrialDialog::ChooseFrom(int update) {
  if (update < 0 || update >= static_cast<int>(updateNames_.size()) || update == from_) return;
  from_ = update;
  to_ = std::max(to_, from_);
  Run();
}

void TrialDialog::ChooseTo(int update) {
  if (update < 0 || update >= static_cast<int>(updateNames_.size()) || update == to_) return;
  to_ = update;
  from_ = std::min(from_, to_);
  Run();
}

void TrialDialog::Run() {
  Guard guard(program_.context.dialogs(), kName);
  guard.Step(200, [&] {
    replay_ = Replay{};
    if (from_ < 0 || to_ < from_) return;
    ReplayRequest request;
    request.first = static_cast<size_t>(from_);
    request.last = static_cast<size_t>(to_);
    request.today = today_;
    request.trial = trial_;
    const auto tell = [this](size_t done, size_t total) {
      if (progress_ == nullptr) return;
      progress_->Step(
          "Replaying the updates: " + std::to_string(done) + " of " + std::to_string(total), done,
          total);
    };
    // From nought, so that a progress window can start its clock.
    tell(0, request.last - request.first + 1);
    replay_ = ReplayUpdates(program_.context, history_.updates, request, tell);
  });
  guard.Step(210, [&] { Show(); });
}

void TrialDialog::Show() {
  const bool any = !replay_.updates.empty();
  // The values each update of the stretch ran under, in order, once each.
  for (int f = 0; f < ParameterBoxes::kUpdateFieldCount; ++f) {
    const auto field = static_cast<ParameterBoxes::Field>(f);
    std::vector<std::string> values;
    for (size_t u = static_cast<size_t>(std::max(from_, 0)); any && u <= static_cast<size_t>(to_);
         ++u) {
      HandicapParameters p = today_;
      if (const auto& ran = history_.updates[u].runParameters) TakeUpdateParameters(p, *ran);
      const std::string shown = ParameterBoxes::Shown(p, field);
      if (values.empty() || values.back() != shown) values.push_back(shown);
    }
    // With no update to replay, what the next one would run under.
    if (!any) values.push_back(ParameterBoxes::Shown(today_, field));
    std::string text;
    for (const std::string& v : values)
      text += (text.empty() ? "" : " then ") + v;
    lblSaved[f].caption = text;
  }

  const int agreeing = replay_.Agreeing(), differing = replay_.Differing();
  int unexplained = 0;
  for (const ReplayedUpdate& u : replay_.updates)
    for (const ReplayDifference& d : u.differences)
      unexplained += d.why == 0 ? 1 : 0;
  const std::string updates = std::to_string(replay_.updates.size()) +
                              (replay_.updates.size() == 1 ? " update" : " updates");
  if (!any) {
    lblCheck.caption = kNoUpdateToReplayText;
  } else if (differing == 0) {
    lblCheck.caption = "Self-check: replayed as saved, all " + std::to_string(agreeing) +
                       " handicaps after the " + updates + " are as the history has them.";
  } else {
    lblCheck.caption = "Self-check: replayed as saved, " + std::to_string(agreeing) + " of the " +
                       std::to_string(agreeing + differing) + " handicaps after the " + updates +
                       " are as the history has them; the notes say why the others are not";
    lblCheck.caption += unexplained == 0 ? "."
                                         : ", but not for " + std::to_string(unexplained) +
                                               " of them, which the replay cannot explain.";
  }
  auto both = [&](const std::optional<double> saved, const std::optional<double> trial) {
    return "as saved " + (saved ? Figure(*saved) : std::string("-")) + ", trial " +
           (trial ? Figure(*trial) : std::string("-"));
  };
  const auto fairSaved = replay_.Fairness(kAsSaved), fairTrial = replay_.Fairness(kTrial);
  lblFairness.caption =
      !any ? "Fairness: -"
      : fairSaved || fairTrial
          ? "Fairness: " + both(fairSaved, fairTrial)
          : "Fairness: no member played " + std::to_string(kFairnessSessions) + " sessions";
  lblMovement.caption = "Handicap movement per session played: " +
                        both(replay_.Movement(kAsSaved), replay_.Movement(kTrial));

  members_ = TextTable{};
  members_.headings = {"No.",
                       "Name",
                       "Sessions",
                       "Gross average",
                       "As saved: net - field",
                       "As saved: at the end",
                       "Trial: net - field",
                       "Trial: at the end",
                       "Note"};
  members_.align = {Align::Right, Align::Left,  Align::Right, Align::Right, Align::Right,
                    Align::Right, Align::Right, Align::Right, Align::Left};
  members_.widths = {550, 2200, 900, 1000, 1400, 1400, 1400, 1400, 2600};
  members_.rows.reserve(replay_.members.size());
  for (const ReplayMember& m : replay_.members) {
    const ReplayFigures& saved = m.columns[kAsSaved];
    const ReplayFigures& trial = m.columns[kTrial];
    auto mean = [](const ReplayFigures& f, double sum) {
      return f.sessions == 0 ? std::string() : Signed(sum / f.sessions);
    };
    members_.rows.push_back({std::to_string(m.number), m.name, std::to_string(saved.sessions),
                             saved.sessions == 0 ? "" : Figure(saved.grossSum / saved.sessions),
                             mean(saved, saved.deviationSum), Either(m.End(kAsSaved)),
                             mean(trial, trial.deviationSum), Either(m.End(kTrial)),
                             MarksText(m.marks)});
  }

  notes_ = TextTable{};
  notes_.headings = {"Update", "What the replay could not do as the update did"};
  notes_.align = {Align::Left, Align::Left};
  notes_.widths = {1400, 9000};
  if (!damage_.empty()) notes_.rows.push_back({"", damage_});
  for (const ReplayNote& n : replay_.notes)
    notes_.rows.push_back({UpdateDay(n.update), n.text});
  for (const ReplayedUpdate& u : replay_.updates)
    for (const ReplayDifference& d : u.differences)
      notes_.rows.push_back(
          {UpdateDay(u.lastSession),
           d.name + ": the history has " + Figure(d.history) + ", replayed as saved " +
               Figure(d.replayed) + " (" +
               (d.why == 0 ? std::string("the replay cannot say why") : MarksText(d.why)) + ")"});

  cmdPrint.enabled = any;
  chosen_ = replay_.members.empty()
                ? -1
                : std::clamp(chosen_, 0, static_cast<int>(replay_.members.size()) - 1);
  ShowChosen();
}

void TrialDialog::ChooseMember(int row) {
  if (row < 0 || row >= static_cast<int>(replay_.members.size()) || row == chosen_) return;
  chosen_ = row;
  Guard guard(program_.context.dialogs(), kName);
  guard.Step(300, [&] { ShowChosen(); });
}

void TrialDialog::ShowChosen() {
  chart_ = TrialChart{};
  chart_.lower = today_.HandicapRange[0];
  chart_.upper = today_.HandicapRange[1];
  if (chosen_ < 0) {
    chart_.name = "Handicap at each update, as saved and on trial";
    chart_.description = replay_.updates.empty() ? kNoUpdateToReplayText : "No member is chosen.";
    picChart.caption = chart_.name;
    return;
  }
  const ReplayMember& m = replay_.members[static_cast<size_t>(chosen_)];
  chart_.labels.push_back("before");
  for (const ReplayedUpdate& u : replay_.updates)
    chart_.labels.push_back(FormatDate(u.lastSession, "dd/mm/yy"));
  for (size_t c = 0; c < 2; ++c)
    chart_.series[c] = m.columns[c].handicaps;
  chart_.name = "Handicap of " + m.name + " at each update, as saved and on trial";
  std::optional<double> start;
  for (const std::optional<double>& p : m.columns[kAsSaved].handicaps)
    if (!start) start = p;
  chart_.description =
      "from " + Either(start) + " to " + Either(m.End(kAsSaved)) + " as saved and to " +
      Either(m.End(kTrial)) + " on trial, over " + std::to_string(replay_.updates.size()) +
      (replay_.updates.size() == 1 ? " update" : " updates") + "; the club's range is " +
      Figure(chart_.lower) + " to " + Figure(chart_.upper);
  picChart.caption = chart_.name;
}

void TrialDialog::UseClick() {
  if (!boxes_.LeaveField()) return;
  Guard guard(program_.context.dialogs(), kName);
  if (fromEditor_) {
    program_.editorParameters = trial_;
    closed_ = true;
    return;
  }
  guard.Step(400, [&] {
    program_.editorParameters = trial_;
    OpenParameterEditor(program_, kName);
  });
  // An editor that never opened hands nothing on to a later one.
  program_.editorParameters.reset();
}

void TrialDialog::BackClick() {
  closed_ = true;
}

void TrialDialog::PrintFailed() {
  Guard guard(program_.context.dialogs(), kName);
  guard.Step(500, [&] {
    program_.context.dialogs().Message(kTrialPrintFailedText, Buttons::OK, Icon::Warning);
  });
}

std::vector<std::string> TrialDialog::PrintedSummary() const {
  std::vector<std::string> lines;
  lines.reserve(ParameterBoxes::kUpdateFieldCount + 4);
  for (int f = 0; f < ParameterBoxes::kUpdateFieldCount; ++f)
    lines.push_back(lblField[f].caption + ": as saved " + lblSaved[f].caption + ", trial " +
                    ParameterBoxes::Shown(trial_, static_cast<ParameterBoxes::Field>(f)));
  for (const Control* c : {&lblFairness, &lblMovement, &lblCheck, &lblDefinition})
    lines.push_back(c->caption);
  return lines;
}

PrintedTable TrialDialog::Printout() const {
  PrintedTable table;
  table.title = kCaption;
  if (!replay_.updates.empty())
    table.subtitle = "The updates of " + UpdateDay(replay_.updates.front().lastSession) + " to " +
                     UpdateDay(replay_.updates.back().lastSession) +
                     ", replayed as saved and on trial";
  table.widths = members_.widths;
  table.align = members_.align;
  std::vector<PrintedCell>& heading = table.headings.emplace_back();
  for (size_t c = 0; c < members_.headings.size(); ++c)
    heading.push_back({members_.headings[c], 1, members_.align[c]});
  table.rows = members_.rows;
  if (table.rows.empty()) table.note = kNoUpdateToReplayText;
  return table;
}

}  // namespace pg
