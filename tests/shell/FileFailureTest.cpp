// Every writer of the program, failed at each call it makes to the file system in turn: what it
// had not finished replacing is byte for byte as it was, no temporary file is left, the message
// names the file, and the program's state says what is on disk. The save, the undo and the
// parameter editor's save, which change several files, are also stopped after each call (as a
// crash or a power cut stops the program) and failed from each call on (as a disk that stays
// full): once the program has started again, the club's files are all as before or all as after.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <ostream>

#include "base/Files.h"
#include "history/Undo.h"
#include "review/ReviewDialog.h"
#include "session/SessionFile.h"
#include "shell/ParameterEditor.h"
#include "shell/StartUp.h"
#include "support/FailingFileSystem.h"
#include "support/ScriptedPorts.h"
#include "support/SessionWriter.h"
#include "support/TempFolder.h"

namespace pg {
namespace {

namespace fs = std::filesystem;
using Files = std::map<std::string, std::string>;

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

// Answers every question with Yes and keeps what was shown.
class Answering : public test::ScriptedDialogs {
 public:
  Answer Message(const std::string& text, Buttons buttons, Icon) override {
    shown.push_back(text);
    return buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel ? Answer::Yes : Answer::OK;
  }
  std::vector<std::string> shown;
};

// A copy of the program on a club folder.
struct Copy {
  Answering dialogs;
  test::RecordingWindows windows;
  test::MemorySettings settings;
  test::FixedClock clock{MakeDate(2026, 12, 8)};
  test::MemoryLocks locks;
  Program program{Ports{dialogs, windows, settings, clock, locks}};
};

// A program on a club folder that has had one update: members, parameters and a damaged session.
struct Club {
  test::TempFolder dir;
  std::unique_ptr<Copy> copy = std::make_unique<Copy>();
  Answering& dialogs = copy->dialogs;
  Program& program = copy->program;
  Context& c = program.context;
  std::unique_ptr<ReviewDialog> review;

  Club() {
    c.SetFolders(dir.path());
    c.ProgramVersion = "1.0";
    c.Parameters.LastUpdated = "02 November 2026 ";
    fs::create_directories(c.HandicapFolder);
    fs::create_directories(c.ResultsRoot + "2026");
    test::WriteBytes(c.HandicapFolder + kParameterFileName, ParameterFileText("1.0", c.Parameters));
    test::WriteBytes(c.MemberFile,
                     "2,11,02/11/26\r\n1,Ann,Ash,,,,1.5,,,,\r\n2,Bob,Birch,,,,0,,,,\r\n");
    test::WriteBytes(SessionFile(), test::WithBareLineFeeds(test::SessionText({})));
  }
  std::string SessionFile() const { return c.ResultsRoot + "2026" + kPathSeparator + "1109S1.AFT"; }
  // The program starts again on the folder, after this copy stopped as a crash stops it; what it
  // says as it starts.
  std::vector<std::string> Restart() {
    copy->locks.Stop();
    Copy again;
    MainWindow main(again.program);
    StartUp(main, dir.path());
    return again.dialogs.shown;
  }
  // Every file under the club folder, by its path in the folder.
  Files InFolder() const {
    Files files;
    for (const auto& [path, bytes] : Snapshot())
      files[path.substr(dir.path().size())] = bytes;
    return files;
  }
  // Every file under the club folder.
  Files Snapshot() const {
    Files files;
    for (const auto& e : fs::recursive_directory_iterator(dir.path()))
      if (e.is_regular_file()) files[e.path().string()] = test::ReadBytes(e.path().string());
    return files;
  }
};

struct Writer {
  const char* name;
  std::function<void(Club&)> prepare;
  std::function<void(Club&)> run;
  // The file the message must name when the call for `failed` (a path in the club folder)
  // fails.
  std::function<std::string(const Club&, const std::string& failed)> named;
  // Checks the program's state after a failure, given whether the run had replaced
  // Membersh.dat before it.
  std::function<void(Club&, bool membersSaved)> check;
  // Changes several files, all or nothing.
  bool whole = false;
};
void PrintTo(const Writer& w, std::ostream* out) {
  *out << w.name;
}

// The club's update of 9 November 2026, saved as the review window saves it.
void SaveAnUpdate(Club& club) {
  LoadMembers(club.program.members, club.c);
  UpdateOutputs& outputs = club.program.outputs;
  outputs.Size(2, 1);
  outputs.SessionLabels(0) = "Mon 09/11/26 aft";
  outputs.LastSessionDate = MakeDate(2026, 11, 9);
  outputs.PlayedFlags(1) = 1;
  outputs.SessionResults(1, 0) = {true, 0, 55, -0.3f};
  club.program.members.Member(1).EndHandicap = 1.2;
  club.program.members.Member(2).EndHandicap = 0.0;
  club.review = std::make_unique<ReviewDialog>(club.c, club.program.members, club.program.outputs);
  club.review->SaveClick();
}

const Writer kWriters[] = {
    {"HandicapIniIntoANewFolder", [](Club& club) { fs::remove_all(club.c.HandicapFolder); },
     [](Club& club) {
       MainWindow main(club.program);
       StartUp(main, club.dir.path());
     },
     [](const Club& club, const std::string&) { return club.c.HandicapFolder + "handicap.ini"; },
     [](Club& club, bool) { EXPECT_EQ(club.c.Parameters.LastUpdated, ""); }},
    {"RepairedSessionFile", [](Club&) {},
     [](Club& club) {
       club.program.session.BasePath = club.SessionFile().substr(0, club.SessionFile().size() - 4);
       club.program.session.Extension = "AFT";
       ReadSession(club.program.session, club.c);
     },
     [](const Club& club, const std::string&) { return club.SessionFile(); },
     [](Club& club, bool) { EXPECT_TRUE(club.program.session.ReadFailed); }},
    {"SaveOfTheReviewWindow", [](Club&) {}, SaveAnUpdate,
     [](const Club& club, const std::string& failed) { return club.dir / failed; },
     [](Club& club, bool) {
       // Whichever file fails, Handicap.ini last of all, the update is not saved: the window
       // stays unsaved and the date where it was, so that Save again writes the same files.
       EXPECT_TRUE(club.review->unsaved());
       EXPECT_EQ(club.c.Parameters.LastUpdated, "02 November 2026 ");
     },
     true},
    {"UndoOfTheLastUpdate", SaveAnUpdate,
     [](Club& club) {
       MemberTable today;
       HistoryDamage damage;
       UndoLastUpdate(club.c, ReadHistory(club.c, today, damage));
     },
     [](const Club& club, const std::string& failed) { return club.dir / failed; },
     [](Club& club, bool) {
       // Membersh.dat and Handicap.ini agree, both as the update wrote them or both as before it,
       // and the date of the last update in memory is the one Handicap.ini holds.
       const std::string& folder = club.c.HandicapFolder;
       const bool undone =
           test::ReadBytes(club.c.MemberFile) == test::ReadBytes(folder + "Membersh-261102.bak");
       EXPECT_EQ(test::ReadBytes(folder + kParameterFileName) ==
                     test::ReadBytes(folder + "Handicap-261102.bak"),
                 undone);
       HandicapParameters onDisk;
       ReadParameters(folder, onDisk);
       EXPECT_EQ(club.c.Parameters.LastUpdated, onDisk.LastUpdated);
     },
     true},
    {"SaveOfTheParameterEditor", [](Club&) {},
     [](Club& club) {
       ParameterEditor editor(club.program);
       ASSERT_TRUE(editor.TextEdited(ParameterEditor::Dead1, "3"));
       editor.SaveClick();
     },
     [](const Club& club, const std::string& failed) { return club.dir / failed; },
     [](Club& club, bool) {
       HandicapParameters onDisk;
       ReadParameters(club.c.HandicapFolder, onDisk);
       EXPECT_EQ(onDisk.DeadZone[1], 2);
     },
     true},
};

class EveryStep : public ::testing::TestWithParam<Writer> {};

TEST_P(EveryStep, FailingLeavesWhatWasNotReplacedAsItWas) {
  const Writer& writer = GetParam();
  // The calls of a run that fails nowhere, each with its file's path in the club folder.
  std::vector<test::FailingFileSystem::Call> steps;
  {
    Club club;
    writer.prepare(club);
    test::FailingFileSystem counting;
    FileSystemOverride use(counting);
    writer.run(club);
    steps = counting.calls;
    for (auto& step : steps)
      step.file = step.file.substr(club.dir.path().size());
  }
  ASSERT_GE(steps.size(), 5u);
  for (size_t k = 1; k <= steps.size(); ++k) {
    SCOPED_TRACE("step " + std::to_string(k) + ": " + steps[k - 1].operation + " " +
                 steps[k - 1].file);
    Club club;
    writer.prepare(club);
    club.dialogs.shown.clear();
    const Files before = club.Snapshot();
    test::FailingFileSystem failing(static_cast<int>(k));
    {
      FileSystemOverride use(failing);
      writer.run(club);
    }
    // The files whose replacement was finished before the failure.
    std::vector<std::string> replaced;
    for (size_t i = 0; i + 1 < k; ++i)
      if (steps[i].operation == "rename") replaced.push_back(club.dir / steps[i].file);
    const auto done = [&](const std::string& path) {
      return std::find(replaced.begin(), replaced.end(), path) != replaced.end();
    };
    const Files after = club.Snapshot();
    for (const auto& [path, bytes] : before) {
      if (done(path)) continue;
      ASSERT_TRUE(after.count(path)) << path << " is gone";
      EXPECT_EQ(after.at(path), bytes) << path << " changed";
    }
    for (const auto& [path, bytes] : after) {
      EXPECT_EQ(path.find(".new-"), std::string::npos) << path << " left behind";
      EXPECT_TRUE(before.count(path) || done(path)) << path << " appeared";
    }
    const std::string named = Lower(writer.named(club, steps[k - 1].file));
    EXPECT_TRUE(std::any_of(club.dialogs.shown.begin(), club.dialogs.shown.end(),
                            [&](const std::string& m) { return Lower(m).find(named) != m.npos; }))
        << "no message names " << named;
    writer.check(club, done(club.c.MemberFile));
    if (writer.whole) {
      EXPECT_EQ(after, before) << "a failure left the files between before and after";
      for (const std::string& m : club.dialogs.shown)
        EXPECT_TRUE(m.find("have been saved") == m.npos && m.find("has been undone") == m.npos)
            << m;
    }
  }
}

class StoppedOrFull : public ::testing::TestWithParam<Writer> {};

TEST_P(StoppedOrFull, LeavesAllAsBeforeOrAllAsAfterOnceTheProgramHasStartedAgain) {
  const Writer& writer = GetParam();
  size_t calls = 0;
  Files completed;
  {
    Club club;
    writer.prepare(club);
    test::FailingFileSystem counting;
    {
      FileSystemOverride use(counting);
      writer.run(club);
    }
    calls = counting.calls.size();
    club.Restart();
    completed = club.InFolder();
  }
  for (const bool stop : {true, false}) {
    for (size_t k = 1; k <= calls; ++k) {
      SCOPED_TRACE((stop ? "stopped after call " : "disk full from call ") + std::to_string(k));
      Club club;
      writer.prepare(club);
      const Files before = club.InFolder();
      test::FailingFileSystem failing(static_cast<int>(k), !stop);
      failing.stopAfter = stop;
      {
        FileSystemOverride use(failing);
        try {
          writer.run(club);
        } catch (const test::Stopped&) {
        }
      }
      const std::vector<std::string> said = club.Restart();
      const Files after = club.InFolder();
      EXPECT_TRUE(after == before || after == completed)
          << "the files are neither as before nor as after";

      // A change put back is said at the start, with what to do about it.
      if (after == before && said.size() == 1) {
        EXPECT_NE(said[0].find("Pairgauge did not finish "), std::string::npos) << said[0];
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Writers, StoppedOrFull,
                         ::testing::ValuesIn(std::begin(kWriters) + 2, std::end(kWriters)),
                         [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(Writers, EveryStep, ::testing::ValuesIn(kWriters),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pg
