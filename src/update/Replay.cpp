#include "update/Replay.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <set>
#include <tuple>
#include <unordered_map>

#include "base/Numbers.h"
#include "scoring/Scoring.h"
#include "session/SessionFile.h"
#include "update/Catalogue.h"
#include "update/UpdateRun.h"

namespace pg {
namespace {

// Nobody is asked anything in a replay: every message is answered as going on would answer it,
// and kept, so that the window can say what the reader or the run would have said.
class NotingDialogs : public AnsweringDialogs {
 public:
  Answer Message(const std::string& text, Buttons buttons, Icon icon) override {
    said.push_back(text);
    return AnsweringDialogs::Message(text, buttons, icon);
  }
  std::vector<std::string> said;
};

// A replay lists days by the dates its updates give, never by today.
class NoClock : public Clock {
 public:
  Date Today() override { return Date{}; }
  LocalTime Now() override { return {}; }
};

constexpr const char* kSessionsNotRecordedText = "Saved before the sessions used were recorded.";
constexpr const char* kRecordDamagedText =
    "A line of what the history file records of the sessions cannot be read.";

struct ReplayPorts {
  NotingDialogs dialogs;
  NoWindows windows;
  DefaultSettings settings;
  NoClock clock;
  NoLocks locks;
  Ports ports() { return Ports{dialogs, windows, settings, clock, locks}; }
};

// The sessions the catalogue's rules give for an update that did not record its own: every usable
// session from the day after the update before it to its last session, and of those only the ones
// its labels name when it kept labels. The first update of all starts at its earliest label.
// Nothing when where it began is not known.
std::optional<std::vector<CatalogueLine>> SessionsByTheCatalogue(
    Session& session, Context& ctx, const std::vector<HistoryEntry>& updates, size_t u) {
  const HistoryEntry& e = updates[u];
  std::optional<Date> start;
  if (u > 0) {
    start = updates[u - 1].lastSession + std::chrono::days{1};
  } else {
    for (const std::string& label : e.sessionLabels) {
      // "Mon 02/03/26 aft"
      const std::optional<Date> day =
          label.size() >= 12 ? ParseDate(label.substr(4, 8)) : std::nullopt;
      if (day && (!start || *day < *start)) start = day;
    }
  }
  if (!start) return std::nullopt;
  ListingOptions options;
  options.through = e.lastSession;
  // Every session of a saved update was past its correction period when the update ran.
  options.correctionPeriod = false;
  options.read.readOnly = true;
  CatalogueLists lists;
  GetOldFiles(session, ctx, *start, lists, options);
  std::vector<CatalogueLine> lines = std::move(lists[0]);
  if (!e.sessionLabels.empty()) {
    const std::set<std::string> used(e.sessionLabels.begin(), e.sessionLabels.end());
    std::erase_if(lines, [&](const CatalogueLine& l) { return !used.count(SessionLabel(l)); });
  }
  return lines;
}

// The visitors' handicaps an update recorded, each given out in the order the prompt asked for
// them; a visitor the update never recorded plays off 0 and is noted.
class RecordedVisitors {
 public:
  explicit RecordedVisitors(const std::vector<VisitorHandicap>& visitors) {
    for (const VisitorHandicap& v : visitors)
      given_[{v.day, v.timeOfDay, v.sectionNo, v.name}].push_back(v.handicap);
  }
  // The next handicap for the name in the line's session under one column; nothing when none is
  // left.
  std::optional<double> Next(size_t column, const std::string& name, const CatalogueLine& line) {
    const Key key{line.Day, line.TimeOfDay, line.SectionNo, name};
    const auto it = given_.find(key);
    size_t& used = used_[column][key];
    if (it == given_.end() || used >= it->second.size()) return std::nullopt;
    return it->second[used++];
  }

 private:
  using Key = std::tuple<Date, short, short, std::string>;
  std::map<Key, std::vector<double>> given_;
  std::array<std::map<Key, size_t>, 2> used_;
};

// The member a line of an update stands for in the replay: the same name across updates (two of
// one name in an update told apart by number).
class MemberIndex {
 public:
  explicit MemberIndex(std::vector<ReplayMember>& members, size_t points)
      : members_(members), points_(points) {}

  std::vector<size_t> Of(const HistoryEntry& e) {
    std::vector<size_t> who;
    who.reserve(e.members.size());
    std::set<std::string> seen;
    for (const HistoryMember& m : e.members) {
      std::string key = m.name;
      if (!seen.insert(m.name).second) key += '\x1f' + std::to_string(m.number);
      const auto [it, added] = index_.try_emplace(key, members_.size());
      if (added) {
        ReplayMember& r = members_.emplace_back();
        r.name = m.name;
        for (ReplayFigures& f : r.columns)
          f.handicaps.resize(points_);
      }
      members_[it->second].number = m.number;
      who.push_back(it->second);
    }
    return who;
  }

 private:
  std::vector<ReplayMember>& members_;
  size_t points_;
  std::unordered_map<std::string, size_t> index_;
};

// One update replayed under both columns.
class UpdateReplay {
 public:
  UpdateReplay(Context& ctx, NotingDialogs& dialogs, Session& session, Replay& out,
               const HistoryEntry& entry, const std::vector<size_t>& who, size_t step)
      : ctx_(ctx),
        dialogs_(dialogs),
        session_(session),
        out_(out),
        entry_(entry),
        who_(who),
        step_(step),
        visitors_(entry.visitors),
        marks_(entry.members.size(), 0) {}

  void Run(const std::vector<CatalogueLine>& lines, const std::vector<std::uint64_t>& expected,
           const std::array<HandicapParameters, 2>& parameters,
           const std::vector<std::optional<double>>& trialNow) {
    ReplayedUpdate& update = out_.updates.back();
    short count = 0;
    for (const HistoryMember& m : entry_.members)
      count = std::max(count, m.number);
    for (size_t c = 0; c < 2; ++c) {
      tables_[c].Records.DimFrom1(count);
      runs_[c].parameters = &parameters[c];
      runs_[c].givenVisitor = [this, c](const std::string& name, const CatalogueLine& line) {
        if (const std::optional<double> h = visitors_.Next(c, name, line)) return *h;
        if (c == kAsSaved) unknown_.push_back(name);
        return 0.0;
      };
    }
    for (size_t i = 0; i < entry_.members.size(); ++i) {
      const HistoryMember& m = entry_.members[i];
      double start = 0;
      if (m.before) {
        start = *m.before;
      } else {
        Note("The handicap of " + m.name + " before the update is not known; replayed from 0.");
        marks_[i] |= kLessCertain;
      }
      const std::optional<double> trial = trialNow[who_[i]];
      for (size_t c = 0; c < 2; ++c) {
        MemberRecord& r = tables_[c].Member(m.number);
        r.FullName = m.name;
        r.StartHandicap = c == kTrial && trial ? *trial : start;
        // A member who joins during the stretch starts where the update found them.
        std::optional<double>& point = out_.members[who_[i]].columns[c].handicaps[step_];
        if (!point) point = r.StartHandicap;
      }
    }
    const auto sessions = CheckedShort(static_cast<long>(lines.size()));
    for (UpdateRun& run : runs_)
      run.Begin(sessions);
    for (short s = 0; s < sessions; ++s) {
      const auto at = static_cast<size_t>(s);
      const bool applied = ApplyBoth(s, lines[at], at < expected.size() ? &expected[at] : nullptr);
      (applied ? update.sessionsUsed : update.sessionsLeftOut)++;
    }
    Settle(update);
  }

 private:
  void Note(const std::string& text) {
    // A fault of a file the update used twice, or of every session's hand records, once.
    const ReplayNote note{entry_.lastSession, text};
    if (std::find(out_.notes.begin(), out_.notes.end(), note) == out_.notes.end())
      out_.notes.push_back(note);
  }

  // Marks every member of the update the history says played the session.
  void MarkPlayers(const std::string& label, unsigned mark) {
    for (size_t i = 0; i < entry_.members.size(); ++i)
      for (const PlayedSession& p : entry_.members[i].sessions)
        if (static_cast<size_t>(p.session) < entry_.sessionLabels.size() &&
            entry_.sessionLabels[static_cast<size_t>(p.session)] == label)
          marks_[i] |= mark;
  }

  // Reads and scores the line's session once and applies it under each column; false when it is
  // left out.
  bool ApplyBoth(short s, const CatalogueLine& line, const std::uint64_t* expected) {
    dialogs_.said.clear();
    std::uint64_t fingerprint = 0;
    ReadOptions read;
    read.readOnly = true;
    read.bytesRead = [&fingerprint](std::string_view bytes) { fingerprint = Fingerprint(bytes); };
    const ChosenSession check = CheckChosenSession(session_, ctx_, line, false, read);
    const std::string file = SessionFileName(session_);
    const std::string label = SessionLabel(line);
    std::string why;
    if (check.readFailed) {
      why = dialogs_.said.empty() ? "The file " + file + " cannot be read" : dialogs_.said.back();
    } else if (!check.usable) {
      why = check.refusal.find(file) != std::string::npos ? check.refusal
                                                          : file + ": " + check.refusal;
    } else if (expected != nullptr && *expected != fingerprint) {
      why = "The file " + file + " has changed since the update used it";
    }
    if (!why.empty()) {
      Note(why + ". Replayed without it.");
      MarkPlayers(label, kSessionLeftOut);
      return false;
    }
    for (const std::string& said : dialogs_.said)
      Note(said);

    // What applying overwrites, so that the trial starts from the file as it was read.
    const Array2<CellValue> players = session_.Players;
    const Array1<CellValue> handicaps = session_.PlayerHandicaps;
    const Array1<CellValue> averages = session_.FieldAverage;
    unknown_.clear();
    for (size_t c = 0; c < 2; ++c) {
      dialogs_.said.clear();
      if (c == kTrial) {
        session_.Players = players;
        session_.PlayerHandicaps = handicaps;
        session_.FieldAverage = averages;
        // The scoring program records the handicaps members had when they played: the trial's.
        if (CarriesHandicaps(session_)) TrialHandicapsRecorded();
      }
      std::vector<double> before(static_cast<size_t>(tables_[c].MemberCount()) + 1, 0.0);
      for (short m = 1; m <= tables_[c].MemberCount(); ++m)
        before[static_cast<size_t>(m)] = Now(c, m);
      RunSession(runs_[c], s, line);
      Collect(c, s, before);
      for (const std::string& said : dialogs_.said)
        Note(label + ": " + said);
    }
    for (const std::string& name : unknown_) {
      Note("Nobody recorded the handicap of the visitor " + name + " on " + label +
           ". Replayed with 0.");
      MarkPlayers(label, kUnknownVisitor);
    }
    return true;
  }

  double Now(size_t c, short m) const {
    const MemberRecord& r = tables_[c].Member(m);
    return r.EndHandicap.value_or(r.StartHandicap);
  }

  void TrialHandicapsRecorded() {
    const UpdateRun& run = runs_[kTrial];
    const long players = 2L * session_.PairCount;
    for (long k = 1; k <= players; ++k) {
      const long pair = k > session_.PairCount ? k - session_.PairCount : k;
      if (pair == session_.PhantomPair) continue;
      const std::string name = session_.Players(k, 1).ToText();
      const auto member = name.empty() ? run.memberNumbers.end() : run.memberNumbers.find(name);
      if (member != run.memberNumbers.end())
        session_.PlayerHandicaps(k) =
            CellValue(tables_[kTrial].Member(member->second).StartHandicap);
    }
    HandicappedResults(session_, ctx_);
  }

  // Each member's session under one column: the pair's percentage, the net score against the
  // average, and how far the handicap moved.
  void Collect(size_t c, short s, const std::vector<double>& before) {
    const UpdateOutputs& out = outputs_[c];
    std::vector<float> gross(before.size(), 0.0F);
    std::vector<std::pair<short, short>> groups = WinnerGroups(session_);
    groups.resize(std::min<size_t>(groups.size(), 2));
    for (const auto& [first, last] : groups)
      for (short pair = first; pair <= last; ++pair) {
        if (!TakesPart(session_, pair)) continue;
        for (const long player :
             {static_cast<long>(pair), static_cast<long>(pair) + session_.PairCount})
          gross[static_cast<size_t>(MemberSlot(runs_[c], player))] = session_.PairPercent(pair);
      }
    for (size_t i = 0; i < entry_.members.size(); ++i) {
      const short m = entry_.members[i].number;
      const SessionResult& r = out.SessionResults(m, s);
      if (!r.Played) continue;
      ReplayFigures& f = out_.members[who_[i]].columns[c];
      ++f.sessions;
      f.grossSum += gross[static_cast<size_t>(m)];
      f.deviationSum +=
          static_cast<double>(r.NetScore) - out.SessionAverages(s, r.Direction == 2 ? 2 : 1);
      f.movementSum += std::abs(Now(c, m) - before[static_cast<size_t>(m)]);
    }
  }

  // The handicaps after the update under both columns, and the self-check of "as saved" against
  // the history.
  void Settle(ReplayedUpdate& update) {
    const bool lessCertain = !update.sessionsRecorded || !update.parametersRecorded;
    for (size_t i = 0; i < entry_.members.size(); ++i) {
      const HistoryMember& m = entry_.members[i];
      for (const HandCorrection& h : entry_.corrections)
        if (h.number == m.number && h.name == m.name) marks_[i] |= kCorrectedByHand;
      if (lessCertain && outputs_[kAsSaved].PlayedFlags(m.number)) marks_[i] |= kLessCertain;
      ReplayMember& member = out_.members[who_[i]];
      member.marks |= marks_[i];
      for (size_t c = 0; c < 2; ++c)
        member.columns[c].handicaps[step_ + 1] = Now(c, m.number);
      const double replayed = Now(kAsSaved, m.number);
      ++update.handicapsChecked;
      // As the history writes handicaps.
      if (NumberText(replayed) != NumberText(m.after))
        update.differences.push_back({m.name, m.after, replayed, marks_[i]});
    }
  }

  Context& ctx_;
  NotingDialogs& dialogs_;
  Session& session_;
  Replay& out_;
  const HistoryEntry& entry_;
  const std::vector<size_t>& who_;
  size_t step_;
  RecordedVisitors visitors_;
  std::vector<unsigned> marks_;  // by the member's place in the entry
  std::vector<std::string> unknown_;
  std::array<MemberTable, 2> tables_;
  std::array<UpdateOutputs, 2> outputs_;
  std::array<UpdateRun, 2> runs_{UpdateRun{ctx_, session_, tables_[0], outputs_[0]},
                                 UpdateRun{ctx_, session_, tables_[1], outputs_[1]}};
};

}  // namespace

std::optional<double> ReplayMember::End(size_t column) const {
  const auto& points = columns[column].handicaps;
  for (auto it = points.rbegin(); it != points.rend(); ++it)
    if (*it) return *it;
  return std::nullopt;
}

std::optional<double> Replay::Fairness(size_t column) const {
  double sum = 0;
  int count = 0;
  for (const ReplayMember& m : members) {
    const ReplayFigures& f = m.columns[column];
    if (f.sessions < kFairnessSessions) continue;
    const double mean = f.deviationSum / f.sessions;
    sum += mean * mean;
    ++count;
  }
  if (count == 0) return std::nullopt;
  return std::sqrt(sum / count);
}

std::optional<double> Replay::Movement(size_t column) const {
  double sum = 0;
  long sessions = 0;
  for (const ReplayMember& m : members) {
    sum += m.columns[column].movementSum;
    sessions += m.columns[column].sessions;
  }
  if (sessions == 0) return std::nullopt;
  return sum / static_cast<double>(sessions);
}

int Replay::Agreeing() const {
  int agreeing = 0;
  for (const ReplayedUpdate& u : updates)
    agreeing += u.handicapsChecked - static_cast<int>(u.differences.size());
  return agreeing;
}

int Replay::Differing() const {
  int differing = 0;
  for (const ReplayedUpdate& u : updates)
    differing += static_cast<int>(u.differences.size());
  return differing;
}

Replay ReplayUpdates(const Context& club, const std::vector<HistoryEntry>& updates,
                     const ReplayRequest& request,
                     const std::function<void(size_t, size_t)>& progress) {
  Replay out;
  if (updates.empty() || request.first > request.last || request.last >= updates.size()) return out;
  ReplayPorts ports;
  Context ctx(ports.ports());
  ctx.ProgramVersion = club.ProgramVersion;
  ctx.SessionFormatVersion = club.SessionFormatVersion;
  ctx.DataFolder = club.DataFolder;
  ctx.ResultsRoot = club.ResultsRoot;
  ctx.HandicapFolder = club.HandicapFolder;
  ctx.MemberFile = club.MemberFile;
  ctx.Parameters = club.Parameters;
  Session session;

  const size_t count = request.last - request.first + 1;
  MemberIndex index(out.members, count + 1);
  // The trial's handicaps carry from each update to the next; "as saved" starts every update
  // from the handicaps the history has before it, as the club's own updates did.
  std::vector<std::optional<double>> trialNow;
  std::vector<size_t> lastSeen;
  for (size_t step = 0; step < count; ++step) {
    const size_t u = request.first + step;
    const HistoryEntry& e = updates[u];
    const std::vector<size_t> who = index.Of(e);
    trialNow.resize(out.members.size());
    lastSeen.resize(out.members.size());
    ReplayedUpdate& update = out.updates.emplace_back();
    update.lastSession = e.lastSession;
    auto note = [&](const std::string& text) { out.notes.push_back({e.lastSession, text}); };

    std::vector<CatalogueLine> lines;
    std::vector<std::uint64_t> expected;
    update.sessionsRecorded = !e.sessions.empty() && !e.recordDamaged;
    if (update.sessionsRecorded) {
      for (const UsedSession& s : e.sessions) {
        lines.push_back({"", s.day, s.timeOfDay, s.sectionNo});
        expected.push_back(s.fingerprint);
      }
    } else if (auto found = SessionsByTheCatalogue(session, ctx, updates, u)) {
      lines = std::move(*found);
      note(std::string(e.recordDamaged ? kRecordDamagedText : kSessionsNotRecordedText) +
           " Replayed with the sessions the update window would have listed: less certain.");
    } else {
      note(std::string(kSessionsNotRecordedText) +
           " Where its sessions began is not known either: replayed with no session.");
    }
    std::array<HandicapParameters, 2> parameters{request.today, request.trial};
    update.parametersRecorded = e.runParameters.has_value();
    if (e.runParameters) {
      TakeUpdateParameters(parameters[kAsSaved], *e.runParameters);
    } else {
      note(
          "Saved before the parameters were recorded. Replayed \"as saved\" under today's "
          "parameters: less certain.");
    }
    UpdateReplay(ctx, ports.dialogs, session, out, e, who, step)
        .Run(lines, expected, parameters, trialNow);
    for (size_t i = 0; i < who.size(); ++i) {
      trialNow[who[i]] = out.members[who[i]].columns[kTrial].handicaps[step + 1];
      lastSeen[who[i]] = step;
    }
    if (progress) progress(step + 1, count);
  }

  // The members of the last update in its order, then those who had left by then.
  std::vector<size_t> order(out.members.size());
  for (size_t i = 0; i < order.size(); ++i)
    order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    if (lastSeen[a] != lastSeen[b]) return lastSeen[a] > lastSeen[b];
    return lastSeen[a] == count - 1 && out.members[a].number < out.members[b].number;
  });
  std::vector<ReplayMember> sorted;
  sorted.reserve(order.size());
  for (const size_t i : order)
    sorted.push_back(std::move(out.members[i]));
  out.members = std::move(sorted);
  return out;
}

}  // namespace pg
