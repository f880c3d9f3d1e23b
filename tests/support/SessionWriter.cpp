#include "support/SessionWriter.h"

#include <gtest/gtest.h>

#include <functional>

#include "base/Items.h"
#include "support/TempFolder.h"

namespace pg::test {
namespace {

// Writes lines of items, never an empty line for an empty list (the reader would take it for an
// empty item).
class Lines {
 public:
  template <class F>
  void Line(F&& items) {
    ItemWriter line;
    items(line);
    if (!line.str().empty()) out_ += line.str() + "\r\n";
  }
  const std::string& str() const { return out_; }

 private:
  std::string out_;
};

template <class T>
T At(const std::vector<T>& values, size_t index, const T& otherwise) {
  return index < values.size() ? values[index] : otherwise;
}

RowSpec GeneratedRow(const SessionPlan& plan, int board, int row) {
  RowSpec r;
  const int perRound = plan.boardsPerRound > 0 ? plan.boardsPerRound : 1;
  const int tables = plan.tables > 0 ? plan.tables : 1;
  r.round = static_cast<short>((board - 1) / perRound + 1);
  r.ns = static_cast<short>(row);
  r.ew = static_cast<short>(tables + (row - 1 + r.round - 1) % tables + 1);
  const int score = 10 * ((board * 7 + row * 13) % 60) - 150;
  r.nsScore = score;
  r.ewScore = -score;
  return r;
}

}  // namespace

std::string SessionText(const SessionPlan& plan) {
  const std::string v = plan.version.empty() ? "0" : plan.version;
  auto from = [&](const char* first) { return v >= first; };
  auto within = [&](const char* first, const char* last) { return v >= first && v <= last; };
  const int boards = plan.rounds * plan.boardsPerRound;
  const int players = 2 * plan.pairs;
  const int n = plan.roundsPlayed > 0 ? plan.roundsPlayed : plan.rounds;
  Lines out;

  if (!plan.version.empty()) out.Line([&](ItemWriter& w) { w.Text(plan.version); });
  out.Line([&](ItemWriter& w) { w.Text(plan.eventName); });
  if (!plan.version.empty()) {
    out.Line([&](ItemWriter& w) { w.Number(plan.sectionCount).Number(plan.sectionNo); });
    for (int i = 1; i <= plan.sectionCount && plan.sectionCount > 1; ++i) {
      out.Line([&](ItemWriter& w) {
        w.Text(At(plan.sectionNames, i - 1, std::string(1, static_cast<char>('A' + (i - 1) % 26))));
      });
    }
  }
  out.Line([&](ItemWriter& w) { w.Cell(plan.date); });
  out.Line([&](ItemWriter& w) {
    w.Number(plan.rounds).Number(plan.rows).Number(plan.boardsPerRound).Number(plan.tables);
    w.Number(plan.pairs);
  });
  if (plan.rounds < 1) return out.str();

  out.Line([&](ItemWriter& w) { w.Text(plan.movementName); });
  if (from("1.5")) out.Line([&](ItemWriter& w) { w.Text(plan.movementFile); });
  out.Line([&](ItemWriter& w) {
    w.Number(plan.phantom).Number(plan.winners).Text(plan.scoringType).Number(plan.roundsPlayed);
  });
  if (within("6.0", "9.9")) {
    out.Line([&](ItemWriter& w) {
      w.Text(plan.extraText).Number(plan.mpAwarded).Number(plan.mpScale).Number(plan.teamData);
      w.Number(plan.wantHandicaps).Number(plan.passwordState);
    });
  }
  if (within("9.3", "9.9")) {
    out.Line([&](ItemWriter& w) {
      w.Text(plan.chargeRate).Number(plan.mpExtra).Number(plan.mpTables);
      w.Number(0).Number(0).Number(0);
    });
    for (int i = 0; i < 2; ++i) {
      out.Line([&](ItemWriter& w) {
        for (int k = 0; k < 6; ++k)
          w.Number(0);
      });
    }
  }
  if (within("9.2", "9.9")) {
    out.Line([&](ItemWriter& w) { w.Number(plan.stratUsed); });
    if (plan.stratUsed != 0) {
      out.Line([&](ItemWriter& w) {
        w.Number(static_cast<double>(plan.stratCatNames.size()));
        for (const std::string& name : plan.stratCatNames)
          w.Text(name);
      });
      out.Line([&](ItemWriter& w) { w.Number(plan.sectionStratValue); });
    }
  }
  if (within("6.0", "9.9") && plan.passwordState == 2) return out.str();

  auto row = [&](int b, int r) {
    const int flat = (b - 1) * plan.rows + (r - 1);
    const auto index = static_cast<size_t>(flat);
    return index < plan.travellers.size() ? plan.travellers[index] : GeneratedRow(plan, b, r);
  };
  for (int b = 1; b <= boards; ++b) {
    for (int r = 1; r <= plan.rows; ++r) {
      const RowSpec x = row(b, r);
      out.Line([&](ItemWriter& w) { w.Number(x.round).Number(x.ns).Number(x.ew); });
    }
  }
  for (int p = 1; p <= players; ++p) {
    out.Line([&](ItemWriter& w) {
      w.Number(p).Text(At(plan.players, p - 1, "Player " + std::to_string(p)));
    });
  }
  for (int b = 1; b <= boards; ++b) {
    for (int r = 1; r <= plan.rows; ++r) {
      const RowSpec x = row(b, r);
      out.Line([&](ItemWriter& w) { w.Cell(x.nsScore).Cell(x.ewScore); });
    }
  }
  if (v > "1.3") {
    for (int p = 1; p <= plan.pairs; ++p) {
      const PairResultSpec r = At(plan.pairResults, p - 1, PairResultSpec{});
      out.Line([&](ItemWriter& w) {
        w.Number(r.total).Number(r.percent).Text(r.pos);
        if (from("1.6")) w.Cell(r.carry);
      });
    }
  }
  if (from("8.2")) {
    out.Line([&](ItemWriter& w) {
      for (int i = 1; i <= n; ++i)
        w.Number(At(plan.roundValues, i - 1, short{0}));
    });
  }
  if (from("8.4")) {
    for (int b = 1; b <= boards; ++b) {
      for (int r = 1; r <= plan.rows; ++r) {
        const RowSpec x = row(b, r);
        out.Line([&](ItemWriter& w) {
          for (const std::string& t : x.text)
            w.Text(t);
        });
      }
    }
  }
  if (from("8.5")) {
    out.Line([&](ItemWriter& w) { w.Number(static_cast<double>(plan.splitScores.size())); });
    for (int column = 0; column <= 12; ++column) {
      out.Line([&](ItemWriter& w) {
        for (const auto& split : plan.splitScores)
          w.Cell(split[column]);
      });
    }
  }
  if (from("8.6")) {
    out.Line([&](ItemWriter& w) { w.Cell(plan.fieldAverages[0]).Cell(plan.fieldAverages[1]); });
  }
  if (from("8.7")) {
    for (int t = 1; t <= plan.tables; ++t) {
      for (int r = 1; r <= n; ++r) {
        const std::array<short, 3> generated{static_cast<short>(r), static_cast<short>(t),
                                             static_cast<short>(plan.tables + t)};
        const int flat = (t - 1) * n + (r - 1);
        const auto card = At(plan.movementCards, static_cast<size_t>(flat), generated);
        out.Line([&](ItemWriter& w) { w.Number(card[0]).Number(card[1]).Number(card[2]); });
      }
    }
    if (plan.wantHandicaps != 0) {
      out.Line([&](ItemWriter& w) {
        for (int p = 1; p <= players; ++p)
          w.Cell(At(plan.handicaps, p - 1, CellValue(0)));
      });
    }
  }
  if (from("8.8") && plan.winners == 1) {
    out.Line([&](ItemWriter& w) { w.Number(plan.oneWinnerA).Number(plan.oneWinnerB); });
    out.Line([&](ItemWriter& w) {
      for (int i = 1; i <= n; ++i)
        w.Number(At(plan.oneWinnerRounds, i - 1, short{0}));
    });
    out.Line([&](ItemWriter& w) {
      for (int t = 1; t <= plan.tables; ++t)
        w.Number(At(plan.oneWinnerTables, t - 1, short{0}));
    });
    out.Line([&](ItemWriter& w) {
      for (int p = 1; p <= plan.pairs; ++p)
        w.Number(At(plan.oneWinnerPairs, p - 1, short{0}));
    });
  }
  if (from("9.0")) {
    out.Line([&](ItemWriter& w) { w.Number(0); });
    out.Line([&](ItemWriter& w) {
      for (int p = 1; p <= players; ++p)
        w.Text(At(plan.playerRefs, p - 1, std::string()));
    });
  }
  if (within("9.2", "9.9") && plan.stratUsed != 0) {
    out.Line([&](ItemWriter& w) {
      for (int p = 1; p <= players; ++p)
        w.Number(At(plan.playerStratCats, p - 1, short{0}));
    });
  }
  // A hand-record name must not be taken for the trailer, so a trailer goes before it.
  if (from("9.0") && (plan.trailerText || plan.handRecordFile)) {
    out.Line([&](ItemWriter& w) { w.Text(plan.trailerText.value_or("")); });
  }
  if (plan.handRecordFile) out.Line([&](ItemWriter& w) { w.Text(*plan.handRecordFile); });
  return out.str();
}

void WriteSession(const std::string& path, const SessionPlan& plan) {
  WriteBytes(path, SessionText(plan));
}

std::string WithBareLineFeeds(const std::string& text, int fromLine) {
  std::string out;
  int line = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      if (line++ >= fromLine) continue;
    }
    out += text[i];
  }
  return out;
}

void PlaceDataSession(const std::string& folder, const std::string& file, Session& s) {
  const std::string bytes = ReadBytes(std::string(PG_TEST_DATA) + "/sessions/" + file);
  if (bytes.empty()) ADD_FAILURE() << "no test session " << file;
  WriteBytes(folder + file, bytes);
  const size_t dot = file.find('.');
  s.BasePath = folder + file.substr(0, dot);
  s.Extension = file.substr(dot + 1);
}

SessionPlan TwoTableSession() {
  SessionPlan p;
  p.rounds = p.roundsPlayed = 1;
  p.rows = p.boardsPerRound = p.tables = 2;
  p.pairs = 4;
  p.movementName = "Howell 2";
  const int rows[4][3] = {{1, 3, 420}, {2, 4, 400}, {1, 3, 140}, {2, 4, 100}};
  for (const auto& [ns, ew, score] : rows) {
    RowSpec row;
    row.ns = static_cast<short>(ns);
    row.ew = static_cast<short>(ew);
    row.nsScore = score;
    row.ewScore = -score;
    p.travellers.push_back(row);
  }
  p.players = {"Ann Ash", "Bob Birch", "Cy Cedar",  "Di Dove",
               "Ed Elm",  "Flo Fir",   "Guy Gorse", "Hal Hazel"};
  return p;
}

}  // namespace pg::test
