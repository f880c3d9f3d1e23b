// The sample club's folder shared as clubs share theirs: the scoring program writes Membersh.dat
// and another copy of Pairgauge works on the same files while the review window is open, a save
// fails half-way, and two copies start together. Nothing another program wrote is lost, no
// handicap lands on another member, and no session is applied twice.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>

#include "SampleClub.h"
#include "base/FileSystem.h"
#include "base/Files.h"
#include "history/Undo.h"
#include "review/ClubLock.h"
#include "review/History.h"
#include "review/ReviewDialog.h"
#include "shell/StartUp.h"
#include "support/FailingFileSystem.h"
#include "support/ScriptedPorts.h"
#include "support/TempFolder.h"
#include "update/UpdateDialog.h"

namespace pg {
namespace {

using Files = std::map<std::string, std::string>;

Files FilesUnder(const std::string& folder) {
  Files files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
    if (entry.is_regular_file())
      files[std::filesystem::relative(entry.path(), folder).generic_string()] =
          test::ReadBytes(entry.path().string());
  return files;
}

// Yes and OK to every message, each kept; prompts as scripted.
class Answering : public test::ScriptedDialogs {
 public:
  Answer Message(const std::string& text, Buttons buttons, Icon) override {
    shown.push_back(text);
    if (buttons == Buttons::YesNoCancel && text == kSaveQuestion) return backAnswer;
    return buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel ? Answer::Yes : Answer::OK;
  }
  bool Said(const std::string& part) const {
    return std::any_of(shown.begin(), shown.end(),
                       [&](const std::string& m) { return m.find(part) != m.npos; });
  }
  std::vector<std::string> shown;
  Answer backAnswer = Answer::Yes;  // to "Do you want to save the new handicaps?"
};

// One copy of the program on the club's folder, its windows answered as a secretary would: the
// update window updates with every session it offers, the review window does `inReview` and
// then Save (unless `save` is off) and Back.
struct Copy {
  Answering dialogs;
  test::RecordingWindows windows;
  test::MemorySettings settings;
  test::FixedClock clock{MakeDate(2026, 3, 3)};
  test::MemoryLocks locks;
  Program program{Ports{dialogs, windows, settings, clock, locks}};
  Context& c = program.context;
  MainWindow main{program};
  std::vector<std::string> offered;  // the update window's sessions to be used, last time
  std::function<void()> inUpdate = [] {};
  std::function<void(ReviewDialog&)> inReview = [](ReviewDialog&) {};
  bool save = true;

  explicit Copy(const std::string& folder) {
    StartUp(main, folder);
    windows.onShow[WindowId::Update] = [this] {
      UpdateDialog update(c, program.session, program.members, program.outputs, program.nameCheck);
      update.onClose = [] {};
      update.Load();
      offered.clear();
      for (const CatalogueLine& line : update.lists[0])
        offered.push_back(line.Text);
      inUpdate();
      if (!update.lists[0].empty()) update.UpdateClick();
    };
    windows.onShow[WindowId::Review] = [this] {
      ReviewDialog review(c, program.members, program.outputs);
      inReview(review);
      if (save) review.SaveClick();
      review.BackClick();
    };
  }
  // February's sessions, saved on 3 March; the visitor of 16 February plays off 3.
  void UpdateFebruary() {
    dialogs.ExpectPrompt("1/2/2026").ExpectPrompt("3");
    main.UpdateClick();
    dialogs.VerifyAllUsed();
    dialogs.shown.clear();
    clock.today = MakeDate(2026, 4, 20);
  }
};

// The sample club after February's update, with a copy of the program open on it.
struct SharedClub {
  test::TempFolder dir;
  std::unique_ptr<Copy> a;
  SharedClub() {
    sample::WriteSampleClub(dir.path());
    a = std::make_unique<Copy>(dir.path());
    a->UpdateFebruary();
  }
  std::string Members() const { return test::ReadBytes(a->c.MemberFile); }
  void WriteMembers(const std::string& bytes) const { test::WriteBytes(a->c.MemberFile, bytes); }
};

// Membersh.dat as March's update saves it when nobody else writes anything.
const std::string& MarchAlone() {
  static const std::string saved = [] {
    SharedClub club;
    club.a->main.UpdateClick();
    return club.Members();
  }();
  return saved;
}

// The lines of a membership file, the header apart.
std::vector<std::string> MemberLines(const std::string& file) {
  std::vector<std::string> lines;
  size_t at = file.find("\r\n") + 2;
  for (size_t end; (end = file.find("\r\n", at)) != std::string::npos; at = end + 2)
    lines.push_back(file.substr(at, end - at));
  return lines;
}

// Field f (from 1) of a member line, as the program writes it.
std::string Field(const std::string& line, int f) {
  size_t at = 0;
  for (int i = 1; i < f; ++i)
    at = line.find(',', at) + 1;
  return line.substr(at, line.find(',', at) - at);
}

std::string Name(const std::string& line) {
  return Field(line, 2) + " " + Field(line, 3);
}

// Saved onto what another program left: every line is that program's but for the handicap of the
// update's members, which is what March's update alone gives them.
void ExpectTheUpdateOnto(const std::string& left, const std::string& saved) {
  std::map<std::string, std::string> march;
  for (const std::string& line : MemberLines(MarchAlone()))
    march[Name(line)] = Field(line, 7);
  const std::vector<std::string> theirs = MemberLines(left);
  const std::vector<std::string> ours = MemberLines(saved);
  ASSERT_EQ(ours.size(), theirs.size());
  for (size_t i = 0; i < ours.size(); ++i) {
    std::string expected = theirs[i];
    if (const auto it = march.find(Name(theirs[i])); it != march.end()) {
      size_t at = 0;
      for (int f = 1; f < 7; ++f)
        at = expected.find(',', at) + 1;
      expected.replace(at, expected.find(',', at) - at, it->second);
    }
    EXPECT_EQ(ours[i], expected);
  }
}

struct Change {
  const char* name;
  // What another program writes while the review window is open.
  std::function<void(SharedClub&)> write;
  // Empty: the update is saved onto what the other wrote; otherwise nothing is saved and the
  // message says this.
  std::string refusal;
};
void PrintTo(const Change& c, std::ostream* out) {
  *out << c.name;
}

std::string WithLine(const std::string& file, size_t index, const std::string& line) {
  std::vector<std::string> lines = MemberLines(file);
  std::string out = file.substr(0, file.find("\r\n") + 2);
  for (size_t i = 0; i < lines.size(); ++i)
    out += (i == index ? line : lines[i]) + "\r\n";
  return out;
}

std::string Header(size_t members) {
  return " " + std::to_string(members) + std::string(12 - std::to_string(members).size(), ' ') +
         " 11           23/02/26\r\n";
}

const Change kChanges[] = {
    {"MemberAddedAndPhoneChanged",
     [](SharedClub& club) {
       std::string file = club.Members();
       const std::vector<std::string> lines = MemberLines(file);
       std::string third = lines[2];
       const size_t at = third.find(',', third.find(',', third.find(',') + 1) + 1);
       third.insert(at + 1, "01632 960999");
       file = WithLine(file, 2, third);
       file.replace(0, file.find("\r\n") + 2, Header(lines.size() + 1));
       club.WriteMembers(file + "35,Nora,Newcomer,,,F,4,,,,\r\n");
     },
     ""},
    {"MembersReordered",
     [](SharedClub& club) {
       std::vector<std::string> lines = MemberLines(club.Members());
       std::reverse(lines.begin(), lines.end());
       std::string file = Header(lines.size());
       for (const std::string& line : lines)
         file += line + "\r\n";
       club.WriteMembers(file);
     },
     ""},
    {"AMemberWhoPlayedRemoved",
     [](SharedClub& club) {
       std::vector<std::string> lines = MemberLines(club.Members());
       lines.erase(lines.begin());
       std::string file = Header(lines.size());
       for (const std::string& line : lines)
         file += line + "\r\n";
       club.WriteMembers(file);
     },
     "these members of the update can no longer be found in it:\r\n1 "},
    {"AMemberWhoPlayedRenamed",
     [](SharedClub& club) {
       std::string line = MemberLines(club.Members())[1];
       const size_t first = line.find(',') + 1;
       line.replace(first, line.find(',', first) - first, "Renamed");
       club.WriteMembers(WithLine(club.Members(), 1, line));
     },
     "these members of the update can no longer be found in it:\r\n2 "},
    {"AHandicapTheUpdateMovesChanged",
     [](SharedClub& club) {
       std::string line = MemberLines(club.Members())[0];
       size_t at = 0;
       for (int f = 1; f < 7; ++f)
         at = line.find(',', at) + 1;
       line.replace(at, line.find(',', at) - at, "5.55");
       club.WriteMembers(WithLine(club.Members(), 0, line));
     },
     "The handicaps of these members have been changed in Membersh.dat since this update read "
     "them"},
    {"ParametersSavedByAnotherCopy",
     [](SharedClub& club) {
       HandicapParameters p;
       ReadParameters(club.a->c.HandicapFolder, p);
       p.DeadZone[1] = 3.5;
       test::WriteBytes(club.a->c.HandicapFolder + kParameterFileName, ParameterFileText("1.0", p));
     },
     ""},
    {"AnUpdateSavedByAnotherCopy",
     [](SharedClub& club) {
       HandicapParameters p;
       ReadParameters(club.a->c.HandicapFolder, p);
       p.LastUpdated = "30 March 2026 ";
       test::WriteBytes(club.a->c.HandicapFolder + kParameterFileName, ParameterFileText("1.0", p));
     },
     "The update using sessions up to and including Monday 30 Mar 2026 has been saved by another "
     "copy of Pairgauge since this update began"},
    {"AnUpdateSavedByAnotherCopyWhoseEditorPutTheOldDateBack",
     [](SharedClub& club) {
       const std::string csv = club.a->c.HandicapFolder + kHistoryFileName;
       test::WriteBytes(csv, test::ReadBytes(csv) + "2026-03-16,\"Saved\",2026-03-24\r\n");
     },
     "The update using sessions up to and including Monday 16 Mar 2026 has been saved by another "
     "copy of Pairgauge since this update began"},
    {"TheLastUpdateUndoneByAnotherCopy",
     [](SharedClub& club) {
       const std::string& folder = club.a->c.HandicapFolder;
       club.WriteMembers(test::ReadBytes(folder + "Membersh-first.bak"));
       test::WriteBytes(folder + kParameterFileName,
                        test::ReadBytes(folder + "Handicap-first.bak"));
     },
     "The update using sessions up to and including Monday 23 Feb 2026 has been undone by another "
     "copy of Pairgauge since this update began"},
};

class WrittenMeanwhile : public ::testing::TestWithParam<Change> {};

TEST_P(WrittenMeanwhile, IsKeptAndNoHandicapLandsOnAnotherMemberOrTwice) {
  const Change& change = GetParam();
  SharedClub club;
  Files left;
  club.a->inReview = [&](ReviewDialog&) {
    change.write(club);
    left = FilesUnder(club.dir.path());
  };
  club.a->main.UpdateClick();
  const std::string ini = club.a->c.HandicapFolder + kParameterFileName;
  HandicapParameters saved;
  ReadParameters(club.a->c.HandicapFolder, saved);
  if (!change.refusal.empty()) {
    EXPECT_TRUE(club.a->dialogs.Said(change.refusal));
    EXPECT_TRUE(club.a->dialogs.Said("Nothing has been saved."));
    EXPECT_FALSE(club.a->dialogs.Said("New handicaps have been saved"));
    EXPECT_EQ(FilesUnder(club.dir.path()), left);
    return;
  }
  EXPECT_TRUE(club.a->dialogs.Said("New handicaps have been saved"));
  ExpectTheUpdateOnto(left.at("Membersh.dat"), club.Members());
  EXPECT_EQ(saved.LastUpdated, "30 March 2026 ");
  // Parameters another copy saved stay; the date is the update's.
  HandicapParameters theirs;
  ParametersFromText(left.at("Handicap/Handicap.ini"), theirs);
  theirs.LastUpdated = saved.LastUpdated;
  EXPECT_EQ(test::ReadBytes(ini), ParameterFileText(club.a->c.ProgramVersion, theirs));
  // The copy an undo puts back is the file as the other program left it.
  EXPECT_EQ(test::ReadBytes(club.a->c.HandicapFolder + "Membersh-260223.bak"),
            left.at("Membersh.dat"));
}

INSTANTIATE_TEST_SUITE_P(Others, WrittenMeanwhile, ::testing::ValuesIn(kChanges),
                         [](const auto& info) { return std::string(info.param.name); });

// A save whose History.csv cannot be written, then Back and No: every file is as before the
// update, and the next update offers the same sessions once and saves what one update gives.
TEST(SharedClub, ASaveThatFailsAndIsDroppedLeavesNothingOfItself) {
  SharedClub club;
  const Files before = FilesUnder(club.dir.path());
  test::FailingFileSystem failing;
  failing.failOn = {"rename", club.a->c.HandicapFolder + kHistoryFileName};
  club.a->dialogs.backAnswer = Answer::No;
  {
    FileSystemOverride use(failing);
    club.a->main.UpdateClick();
  }
  EXPECT_TRUE(club.a->dialogs.Said("History.csv - error 61 Disk full"));
  EXPECT_FALSE(club.a->dialogs.Said("New handicaps have been saved"));
  EXPECT_EQ(FilesUnder(club.dir.path()), before);
  const std::vector<std::string> first = club.a->offered;

  club.a->dialogs.backAnswer = Answer::Yes;
  club.a->main.UpdateClick();
  EXPECT_EQ(club.a->offered, first);
  EXPECT_EQ(club.Members(), MarchAlone());
}

// Two copies open on the club: the second cannot begin an update while the first holds the
// club, and once the first has saved, the second offers none of the sessions it applied.
TEST(SharedClub, ASecondCopyWaitsForTheFirstAndThenStartsAfterItsUpdate) {
  SharedClub club;
  Copy b(club.dir.path());
  b.clock.today = club.a->clock.today;
  club.a->inUpdate = [&] {
    b.main.UpdateClick();
    EXPECT_TRUE(b.windows.shown.empty());
    EXPECT_EQ(b.dialogs.shown,
              std::vector<std::string>{
                  "Pairgauge is already updating handicaps for this club on this computer "
                  "(secretary) since 09:00 on Tuesday 08 Dec 2026.\r\nFinish there first, then "
                  "try again."});
  };
  club.a->main.UpdateClick();
  ASSERT_FALSE(club.a->offered.empty());
  EXPECT_EQ(club.Members(), MarchAlone());

  b.main.UpdateClick();
  EXPECT_EQ(b.windows.shown, std::vector<WindowId>{WindowId::Update});
  EXPECT_TRUE(b.offered.empty());
  EXPECT_EQ(club.Members(), MarchAlone());
  EXPECT_EQ(b.main.lblMess.caption,
            "Handicaps last updated using sessions up to and including \r\nMonday 30 Mar 2026");
}

// Saved, then Membersh.dat written by the scoring program, then saved again in the same review:
// undoing the update puts back the handicaps it replaced and keeps what the scoring program wrote.
TEST(SharedClub, AnUpdateSavedAgainAfterTheScoringProgramWroteIsUndoneToWhatItReplaced) {
  SharedClub club;
  const std::string february = club.Members();
  club.a->inReview = [&](ReviewDialog& review) {
    review.SaveClick();
    std::string file = club.Members();
    file.replace(0, file.find("\r\n") + 2, Header(MemberLines(file).size() + 1));
    club.WriteMembers(file + "35,Nora,Newcomer,,,F,4,,,,\r\n");
  };
  club.a->main.UpdateClick();
  EXPECT_EQ(MemberLines(club.Members()).back(), "35,Nora,Newcomer,,,F,4,,,,");

  MemberTable today;
  LoadMembers(today, club.a->c);
  HistoryDamage damage;
  EXPECT_TRUE(UndoLastUpdate(club.a->c, ReadHistory(club.a->c, today, damage)));
  std::vector<std::string> expected = MemberLines(february);
  expected.push_back("35,Nora,Newcomer,,,F,4,,,,");
  EXPECT_EQ(MemberLines(club.Members()), expected);
  HandicapParameters p;
  ReadParameters(club.a->c.HandicapFolder, p);
  EXPECT_EQ(p.LastUpdated, "23 February 2026 ");
}

}  // namespace
}  // namespace pg
