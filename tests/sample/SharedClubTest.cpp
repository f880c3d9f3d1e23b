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

// The members of a membership file's bytes, one vector of the 11 fields each.
std::vector<std::vector<std::string>> Fields(const std::string& file) {
  const MemberTable table = *MembersFromBytes(file);
  std::vector<std::vector<std::string>> members;
  for (short m = 1; m <= table.MemberCount(); ++m)
    members.emplace_back(table.Member(m).Fields.elements().begin(),
                         table.Member(m).Fields.elements().end());
  return members;
}

// Saved onto what another program left: every field is that program's but the handicap of the
// update's members, which is what March's update alone gives them.
void ExpectTheUpdateOnto(const std::string& left, const std::string& saved) {
  std::map<std::string, std::string> march;
  for (const auto& f : Fields(MarchAlone()))
    march[f[1] + " " + f[2]] = f[6];
  std::vector<std::vector<std::string>> expected = Fields(left);
  for (auto& f : expected)
    if (const auto it = march.find(f[1] + " " + f[2]); it != march.end()) f[6] = it->second;
  EXPECT_EQ(Fields(saved), expected);
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

// The scoring program changes the members (each the 11 fields) and writes Membersh.dat again.
void EditMembers(SharedClub& club, const std::function<void(std::vector<MemberRecord>&)>& edit) {
  const MemberTable before = *MembersFromBytes(club.Members());
  std::vector<MemberRecord> members(before.Records.elements().begin(),
                                    before.Records.elements().end());
  edit(members);
  MemberTable after;
  after.Records.DimFrom1(static_cast<short>(members.size()));
  std::copy(members.begin(), members.end(), after.Records.elements().begin());
  club.WriteMembers(MembershipFileText(after, std::string("23/02/26")));
}

// Another copy saves Handicap.ini with something changed.
void EditParameters(SharedClub& club, const std::function<void(HandicapParameters&)>& edit) {
  HandicapParameters p;
  ReadParameters(club.a->c.HandicapFolder, p);
  edit(p);
  test::WriteBytes(club.a->c.HandicapFolder + kParameterFileName, ParameterFileText("1.0", p));
}

MemberRecord Newcomer() {
  MemberRecord r;
  const char* const fields[] = {"35", "Nora", "Newcomer", "", "", "F", "4"};
  for (short f = 1; f <= 7; ++f)
    r.Fields(f) = fields[f - 1];
  return r;
}

const Change kChanges[] = {
    {"MemberAddedAndPhoneChanged",
     [](SharedClub& club) {
       EditMembers(club, [](std::vector<MemberRecord>& members) {
         members[2].Fields(4) = "01632 960999";
         members.push_back(Newcomer());
       });
     },
     ""},
    {"MembersReordered",
     [](SharedClub& club) {
       EditMembers(club, [](auto& members) { std::reverse(members.begin(), members.end()); });
     },
     ""},
    {"AMemberWhoPlayedRemoved",
     [](SharedClub& club) {
       EditMembers(club, [](auto& members) { members.erase(members.begin()); });
     },
     "these members of the update can no longer be found in it:\r\n1 "},
    {"AMemberWhoPlayedRenamed",
     [](SharedClub& club) {
       EditMembers(club, [](auto& members) { members[1].Fields(2) = "Renamed"; });
     },
     "these members of the update can no longer be found in it:\r\n2 "},
    {"AHandicapTheUpdateMovesChanged",
     [](SharedClub& club) {
       EditMembers(club, [](auto& members) { members[0].Fields(kHandicapField) = "5.55"; });
     },
     "The handicaps of these members have been changed in Membersh.dat since this update read "
     "them"},
    {"ParametersSavedByAnotherCopy",
     [](SharedClub& club) { EditParameters(club, [](auto& p) { p.DeadZone[1] = 3.5; }); }, ""},
    {"AnUpdateSavedByAnotherCopy",
     [](SharedClub& club) {
       EditParameters(club, [](auto& p) { p.LastUpdated = "30 March 2026 "; });
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
    EditMembers(club, [](auto& members) { members.push_back(Newcomer()); });
  };
  club.a->main.UpdateClick();
  EXPECT_EQ(Fields(club.Members()).back().at(2), "Newcomer");

  MemberTable today;
  LoadMembers(today, club.a->c);
  HistoryDamage damage;
  EXPECT_TRUE(UndoLastUpdate(club.a->c, ReadHistory(club.a->c, today, damage)));
  std::vector<std::vector<std::string>> expected = Fields(february);
  expected.push_back(Fields(club.Members()).back());
  EXPECT_EQ(Fields(club.Members()), expected);
  HandicapParameters p;
  ReadParameters(club.a->c.HandicapFolder, p);
  EXPECT_EQ(p.LastUpdated, "23 February 2026 ");
}

}  // namespace
}  // namespace pg
