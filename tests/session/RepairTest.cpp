// Files copied through systems that write bare line feeds are mended in place, whole, with the
// original kept beside them.
#include <algorithm>
#include <filesystem>

#include "session/SessionFixture.h"

namespace pg {
namespace {

using test::SessionPlan;

SessionPlan Handicapped(const std::string& version) {
  SessionPlan plan;
  plan.version = version;
  plan.eventName = "Copied Pairs";
  plan.wantHandicaps = 1;
  plan.handicaps = {CellValue(1.5), CellValue(-2)};
  plan.players = {"Ann Lee", "Bob Day"};
  return plan;
}

struct DamageCase {
  const char* version;
  const char* name;
  const char* backup;
  int fromLine;  // first line whose end was damaged
};
void PrintTo(const DamageCase& c, std::ostream* out) {
  *out << c.version << " " << c.name;
}

class Repair : public test::SessionFixture, public ::testing::WithParamInterface<DamageCase> {};

TEST_P(Repair, MendsTheWholeFileKeepsTheOriginalAndReads) {
  const DamageCase& c = GetParam();
  const std::string sound = test::SessionText(Handicapped(c.version));
  const std::string damaged = test::WithBareLineFeeds(sound, c.fromLine);
  // Read only, as a replay reads: mended in memory, read as the repair will leave it, without a
  // word, and nothing written.
  Place(damaged, c.name);
  ReadOptions readOnly;
  readOnly.readOnly = true;
  std::string handed;
  readOnly.bytesRead = [&handed](std::string_view bytes) { handed = bytes; };
  ReadSession(s, ctx, readOnly);
  EXPECT_FALSE(s.ReadFailed);
  EXPECT_EQ(s.Players(2, 1), CellValue("Bob Day"));
  EXPECT_EQ(handed, sound);
  EXPECT_EQ(test::ReadBytes(dir / c.name), damaged);
  EXPECT_FALSE(std::filesystem::exists(dir / c.backup));
  EXPECT_TRUE(ports.dialogs.messages.empty());

  ports.dialogs.ExpectMessage("Attempting to repair " + (dir / c.name) +
                              "\r\nThe file has been renamed " + (dir / c.backup));
  ports.dialogs.ExpectMessage("File repaired successfully");
  ReadText(damaged, c.name);

  EXPECT_FALSE(s.ReadFailed);
  EXPECT_EQ(s.EventName, "Copied Pairs");
  EXPECT_EQ(s.SessionFileVersion, c.version[0] ? c.version : "0");
  EXPECT_EQ(s.Players(2, 1), CellValue("Bob Day"));
  if (s.SessionFileVersion >= "8.7") {
    EXPECT_EQ(s.PlayerHandicaps(2), CellValue(-2));
  }
  EXPECT_EQ(s.Score(3, 2, 1), CellValue(320));
  // Every line is kept, not only those before the first carriage return.
  EXPECT_EQ(test::ReadBytes(dir / c.name), sound);
  EXPECT_EQ(test::ReadBytes(dir / c.backup), damaged);
  for (const auto& m : ports.dialogs.messages) {
    EXPECT_EQ(m.buttons, Buttons::OK);
    EXPECT_EQ(m.icon, Icon::None);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Repair,
    ::testing::Values(DamageCase{"8.9", "0302S1.AFT", "0302S1.AFX", 0},
                      DamageCase{"8.9", "0302S1.EVE", "0302S1.EVX", 0},
                      // Damage after the first line shows in the event name instead.
                      DamageCase{"8.9", "0302S1.AFT", "0302S1.AFX", 1},
                      // A damaged current-version file is mended, not taken for a later one.
                      DamageCase{"9.3", "0302S1.AFT", "0302S1.AFX", 0},
                      DamageCase{"", "0302S1.EVE", "0302S1.EVX", 0}),
    [](const auto& info) {
      const DamageCase& c = info.param;
      std::string v = c.version[0] ? c.version : "none";
      std::replace(v.begin(), v.end(), '.', '_');
      return "v" + v + "_" + std::string(c.name).substr(7) + "_from" + std::to_string(c.fromLine);
    });

using RepairFixture = test::SessionFixture;

TEST_F(RepairFixture, ReplacesAnEarlierBackup) {
  test::WriteBytes(dir / "0302S1.AFX", "an older backup");
  const std::string damaged = test::WithBareLineFeeds(test::SessionText(Handicapped("8.9")));
  ports.dialogs.ExpectMessageContaining("Attempting to repair ");
  ports.dialogs.ExpectMessage("File repaired successfully");
  ReadText(damaged);
  EXPECT_FALSE(s.ReadFailed);
  EXPECT_EQ(test::ReadBytes(dir / "0302S1.AFX"), damaged);
}

TEST_F(RepairFixture, APasswordProtectedFileIsRepairedButStopsBeforeTheSuccessMessage) {
  SessionPlan plan = Handicapped("9.3");
  plan.passwordState = 2;
  ports.dialogs.ExpectMessageContaining("Attempting to repair ");
  ReadText(test::WithBareLineFeeds(test::SessionText(plan)));
  EXPECT_FALSE(s.ReadFailed);
  EXPECT_EQ(s.PasswordState, 2);
  EXPECT_EQ(test::ReadBytes(dir / "0302S1.AFT"), test::SessionText(plan));
}

TEST_F(RepairFixture, ADamagedLaterVersionIsRefusedUntouched) {
  const std::string damaged = test::WithBareLineFeeds(test::SessionText(Handicapped("9.4")));
  ports.dialogs.ExpectMessage("Cannot read " + (dir / "0302S1.AFT") +
                              "\r\nas this session was created in a later version (9.4) of "
                              "Quorell\r\nYou are using version 9.3");
  ReadText(damaged);
  EXPECT_TRUE(s.ReadFailed);
  EXPECT_EQ(test::ReadBytes(dir / "0302S1.AFT"), damaged);
  EXPECT_FALSE(std::filesystem::exists(dir / "0302S1.AFX"));
}

TEST_F(RepairFixture, ARepairThatCannotBeMadeLeavesTheFileWhereItWas) {
  // A folder where the backup should go stops the rename.
  std::filesystem::create_directory(dir / "0302S1.AFX");
  const std::string damaged = test::WithBareLineFeeds(test::SessionText(Handicapped("8.9")));
  ports.dialogs.ExpectMessage("The file " + (dir / "0302S1.AFT") + " is not readable by Quorell");
  ReadText(damaged);
  EXPECT_TRUE(s.ReadFailed);
  EXPECT_EQ(test::ReadBytes(dir / "0302S1.AFT"), damaged);
}

TEST_F(RepairFixture, AFileFoundByAnotherLetterCaseIsRepairedUnderItsOwnName) {
  PG_SKIP_WITHOUT_NAME_CASE();
  const std::string sound = test::SessionText(Handicapped("8.9"));
  test::WriteBytes(dir / "0302s1.aft", test::WithBareLineFeeds(sound));
  PointAt("0302S1.AFT");
  ports.dialogs.ExpectMessage("Attempting to repair " + (dir / "0302s1.aft") +
                              "\r\nThe file has been renamed " + (dir / "0302s1.afx"));
  ports.dialogs.ExpectMessage("File repaired successfully");
  ReadSession(s, ctx);
  EXPECT_FALSE(s.ReadFailed);
  EXPECT_EQ(test::ReadBytes(dir / "0302s1.aft"), sound);
}

}  // namespace
}  // namespace pg
