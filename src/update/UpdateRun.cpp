#include "update/UpdateRun.h"

#include <algorithm>
#include <cmath>

#include "base/Files.h"
#include "base/Guard.h"
#include "base/Numbers.h"
#include "review/History.h"
#include "scoring/Rounding.h"
#include "scoring/Scoring.h"
#include "session/SessionFile.h"
#include "update/Adjustment.h"

namespace pg {
namespace {

// A handicap as a session holds it: a number, or 0 for an empty or unreadable one, as handicapped
// scoring counts it.
double HandicapValue(const CellValue& cell) {
  return cell.IsNumeric() ? cell.NumericValue() : 0.0;
}

long SecondPlayer(const Session& s, short pair) {
  return static_cast<long>(pair) + s.PairCount;
}

short PairOf(const Session& s, long player) {
  return static_cast<short>(player > s.PairCount ? player - s.PairCount : player);
}

// Asks until the answer is a handicap within the club's range; false when the user gives up.
// "15" typed for "1.5" would move a whole session's average, so nothing else is taken.
bool AskVisitor(UpdateRun& run, long player, const CatalogueLine& line) {
  Context& ctx = run.context;
  const std::string name = run.session.Players(player, 1).ToText();
  const std::string message = FormatDate(line.Day, "dddd dd/mm/yy") +
                              (line.TimeOfDay == 1 ? " afternoon" : " evening") +
                              "\r\nEnter handicap for visitor " + name;
  const auto& range = run.Parameters().HandicapRange;
  // The latest handicap the name was given: earlier in this run, else in a saved update.
  std::string offered;
  if (const auto earlier = run.visitorAnswers.find(name); earlier != run.visitorAnswers.end()) {
    offered = earlier->second;
  } else if (const auto saved = run.savedVisitorAnswers.find(name);
             saved != run.savedVisitorAnswers.end()) {
    offered = saved->second;
  }
  for (;;) {
    const std::string answer =
        Trim(ctx.dialogs().Prompt(message, kProgramTitle, offered).value_or(""));
    if (answer.empty()) {
      if (ctx.dialogs().Message(kCancelUpdateQuestion, Buttons::YesNo, Icon::Question) ==
          Answer::Yes)
        return false;
      continue;
    }
    const std::optional<double> value = ParseNumber(answer);
    if (!value || *value < range[0] || *value > range[1]) {
      ctx.dialogs().Message("Handicap must be a number between " + NumberText(range[0]) + " and " +
                                NumberText(range[1]),
                            Buttons::OK, Icon::None);
      continue;
    }
    run.session.PlayerHandicaps(player) = CellValue(*value);
    run.visitorAnswers[name] = NumberText(*value);
    run.outputs.Visitors.push_back({line.Day, line.TimeOfDay, line.SectionNo, name, *value});
    return true;
  }
}

// The handicaps typed for visitors in the saved updates, the latest for each name, as the
// prompt offers them. A history that cannot be read offers nothing: the prompt asks as before.
std::map<std::string, std::string> SavedVisitorAnswers(const Context& ctx) {
  std::map<std::string, std::string> answers;
  const std::optional<std::string> text = ReadFileBytes(ctx.HandicapFolder + kHistoryFileName);
  if (!text) return answers;
  const std::optional<Date> last = ctx.NoUpdateYet || ctx.Parameters.LastUpdated.empty()
                                       ? std::nullopt
                                       : ParseDate(ctx.Parameters.LastUpdated);
  for (const auto& [name, handicap] : LastVisitorHandicaps(*text, last))
    answers.emplace(name, NumberText(handicap));
  return answers;
}

// The file's name in its folder, as the history keeps it.
std::string FileNameOnly(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

short MemberSlot(const UpdateRun& run, long player) {
  const double m = run.session.Players(player, 0).NumericValue();
  if (!(m >= 1 && m <= run.members.MemberCount()) || m != std::floor(m)) return 0;
  return static_cast<short>(m);
}

std::string SessionLabel(const CatalogueLine& line) {
  return FormatDate(line.Day, "ddd dd/mm/yy") + (line.TimeOfDay == 1 ? " aft" : " eve");
}

void UpdateRun::Begin(short sessionCount) {
  const short count = members.MemberCount();
  outputs.Size(count, sessionCount);
  memberNumbers.clear();
  memberNumbers.reserve(static_cast<size_t>(count));
  for (short m = 1; m <= count; ++m) {
    MemberRecord& member = members.Member(m);
    member.EndHandicap = member.StartHandicap;
    memberNumbers.emplace(member.FullName, m);
  }
  visitorAnswers.clear();
}

bool RunUpdate(UpdateRun& run, const std::vector<CatalogueLine>& lines, std::string& sessionInfo) {
  Context& ctx = run.context;
  Session& session = run.session;
  Guard guard(ctx.dialogs(), kUpdateWindowName);
  guard.Step(100, [&] { LoadMembers(run.members, ctx); });
  if (ctx.Cancelled) return false;
  if (lines.empty()) {
    ctx.dialogs().Message(kNoFilesSelectedText, Buttons::OK, Icon::None);
    return false;
  }
  const auto stop = [&] {
    run.outputs = UpdateOutputs{};
    return false;
  };
  const short count = CheckedShort(static_cast<long>(lines.size()));
  if (!guard.Step(110, [&] { run.Begin(count); })) return stop();
  guard.Step(115, [&] {
    run.savedVisitorAnswers = SavedVisitorAnswers(ctx);
    run.outputs.Parameters = ctx.Parameters;
  });

  for (short s = 0; s < count; ++s) {
    const CatalogueLine& line = lines[static_cast<size_t>(s)];
    bool ready = false;
    guard.Step(120, [&] {
      // The file may have changed since it was listed; a session is used only as itself, and
      // scoring what a failed read left behind would score another session.
      std::uint64_t fingerprint = 0;
      ReadOptions read;
      read.bytesRead = [&fingerprint](std::string_view bytes) { fingerprint = Fingerprint(bytes); };
      const ChosenSession check = CheckChosenSession(session, ctx, line, false, read);
      const std::string file = SessionFileName(session);
      if (check.readFailed) {
        sessionInfo = "Error - cannot read the file " + file;
      } else if (!check.usable) {
        // The label says which of the sessions stopped the update.
        sessionInfo = "Cannot use the file " + file;
        ctx.dialogs().Message(check.refusal, Buttons::OK, check.icon);
      }
      ready = check.usable;
      if (ready)
        run.outputs.Sessions.push_back(
            {line.Day, line.TimeOfDay, line.SectionNo, FileNameOnly(file), fingerprint});
    });
    if (!ready) return stop();
    guard.Step(130, [&] { RunSession(run, s, line); });
    if (ctx.Cancelled) return stop();
  }
  // The latest session, wherever it stands in the list: a line moved back from the ignored
  // list is applied last, and an earlier date here would make the next update apply every later
  // session a second time.
  guard.Step(140, [&] {
    run.outputs.LastSessionDate =
        std::max_element(lines.begin(), lines.end(), [](const auto& a, const auto& b) {
          return a.Day < b.Day;
        })->Day;
    const short members = run.members.MemberCount();
    run.outputs.RunHandicaps.assign(static_cast<size_t>(std::max<short>(members, 0)) + 1, 0.0);
    for (short m = 1; m <= members; ++m) {
      const MemberRecord& member = run.members.Member(m);
      run.outputs.RunHandicaps[static_cast<size_t>(m)] =
          member.EndHandicap.value_or(member.StartHandicap);
    }
  });
  return true;
}

void RunSession(UpdateRun& run, short s, const CatalogueLine& line) {
  Session& session = run.session;
  UpdateOutputs& out = run.outputs;
  Guard guard(run.context.dialogs(), kUpdateWindowName);
  guard.Step(100, [&] {
    run.UseOwnAverage = !CarriesHandicaps(session);
    if (!run.UseOwnAverage) {
      out.SessionAverages(s, 1) = session.FieldAverage(1).NumericValue();
      out.SessionAverages(s, 2) = session.FieldAverage(2).NumericValue();
    }
  });
  guard.Step(110, [&] { out.SessionLabels(s) = SessionLabel(line); });
  guard.Step(120, [&] { ApplySession(run, s, line); });
}

void AskVisitorHandicaps(UpdateRun& run, const CatalogueLine& line) {
  Context& ctx = run.context;
  Session& session = run.session;
  Guard guard(ctx.dialogs(), kUpdateWindowName);
  ctx.Cancelled = false;
  const long players = 2L * session.PairCount;
  for (long k = 1; k <= players; ++k) {
    guard.Step(100, [&] {
      const short pair = PairOf(session, k);
      if (pair == session.PhantomPair) return;
      const std::string name = session.Players(k, 1).ToText();
      const auto member = name.empty() ? run.memberNumbers.end() : run.memberNumbers.find(name);
      if (member == run.memberNumbers.end()) {
        session.Players(k, 0) = CellValue(0);
        // A visitor of a pair that played no board has no handicap to give.
        if (name.empty() || !run.UseOwnAverage || !TakesPart(session, pair)) return;
        if (run.givenVisitor) {
          session.PlayerHandicaps(k) = CellValue(run.givenVisitor(name, line));
        } else if (!AskVisitor(run, k, line)) {
          ctx.Cancelled = true;
        }
        return;
      }
      session.PlayerHandicaps(k) = CellValue(run.members.Member(member->second).StartHandicap);
      session.Players(k, 0) = CellValue(static_cast<int>(member->second));
    });
    if (ctx.Cancelled) return;
  }
}

void ApplySession(UpdateRun& run, short s, const CatalogueLine& line) {
  Context& ctx = run.context;
  Session& session = run.session;
  UpdateOutputs& out = run.outputs;
  Guard guard(ctx.dialogs(), kUpdateWindowName);
  guard.Step(100, [&] { AskVisitorHandicaps(run, line); });
  if (ctx.Cancelled) return;

  std::vector<std::pair<short, short>> groups;
  std::vector<float> net;
  guard.Step(110, [&] {
    groups = WinnerGroups(session);
    groups.resize(std::min<size_t>(groups.size(), 2));
    net.assign(static_cast<size_t>(std::max<short>(session.PairCount, 0)) + 1, 0.0f);
  });
  for (size_t g = 0; g < groups.size(); ++g) {
    const long d = static_cast<long>(g) + 1;
    guard.Step(120, [&] {
      double sum = 0;
      long count = 0;
      for (short pair = groups[g].first; pair <= groups[g].second; ++pair) {
        if (!TakesPart(session, pair)) continue;
        // Single precision, as handicapped scoring stores a net score.
        net[static_cast<size_t>(pair)] =
            static_cast<float>(static_cast<double>(session.PairPercent(pair)) +
                               HandicapValue(session.PlayerHandicaps(pair)) +
                               HandicapValue(session.PlayerHandicaps(SecondPlayer(session, pair))));
        sum += net[static_cast<size_t>(pair)];
        ++count;
      }
      if (run.UseOwnAverage)
        out.SessionAverages(s, d) = count == 0 ? 0.0 : RoundTo(sum / count, 0.01);
    });
  }
  if (groups.size() == 1)
    guard.Step(130, [&] { out.SessionAverages(s, 2) = out.SessionAverages(s, 1); });

  for (size_t g = 0; g < groups.size(); ++g) {
    const long d = static_cast<long>(g) + 1;
    const short direction = session.WinnerCount == 2 ? static_cast<short>(d) : short{0};
    guard.Step(140, [&] {
      for (short pair = groups[g].first; pair <= groups[g].second; ++pair) {
        if (!TakesPart(session, pair)) continue;
        const float pairNet = net[static_cast<size_t>(pair)];
        const double adjustment =
            AdjustPair(pairNet, out.SessionAverages(s, d), run.Parameters()).adjustment;
        for (const long player : {static_cast<long>(pair), SecondPlayer(session, pair)}) {
          const short m = MemberSlot(run, player);
          out.SessionResults(m, s) =
              SessionResult{true, direction, pairNet, static_cast<float>(adjustment)};
          out.PlayedFlags(m) = 1;
          if (m == 0) continue;
          MemberRecord& member = run.members.Member(m);
          member.EndHandicap = member.EndHandicap.value_or(member.StartHandicap) + adjustment;
        }
      }
    });
  }
  guard.Step(150, [&] {
    for (short m = 1; m <= run.members.MemberCount(); ++m) {
      MemberRecord& member = run.members.Member(m);
      member.EndHandicap =
          SettleHandicap(member.EndHandicap.value_or(member.StartHandicap), run.Parameters());
    }
  });
}

}  // namespace pg
