#include <gtest/gtest.h>

#include "base/Files.h"
#include "base/Parameters.h"
#include "support/ScriptedPorts.h"
#include "support/TempFolder.h"

namespace pg {
namespace {

const char* const kDefaultFile =
    "\"1.0\"\r\n\r\n51.23,56,0.01,7\r\n-1,-2,-12,0.1,1\r\n3,2,6,0.2,1\r\n";

TEST(Parameters, DefaultsWriteTheFileByteForByteAndCreateTheFolder) {
  test::TempFolder dir;
  test::ScriptedDialogs dialogs;
  const std::string folder = dir / "Handicap/";
  ASSERT_TRUE(WriteParameters(folder, "1.0", HandicapParameters{}, dialogs));
  EXPECT_EQ(test::ReadBytes(folder + "Handicap.ini"), kDefaultFile);
}

TEST(Parameters, ReadBackWhatWasWritten) {
  test::TempFolder dir;
  test::ScriptedDialogs dialogs;
  HandicapParameters p;
  p.LastUpdated = "25 September 2006 ";
  p.DeadZone = {-1.5, 2.5};
  p.RoundingStep = 0.1;
  p.CorrectionDays = 14;
  ASSERT_TRUE(WriteParameters(dir.path(), "1.0", p, dialogs));
  EXPECT_EQ(test::ReadBytes(dir / "Handicap.ini"),
            "\"1.0\"\r\n\"25 September 2006 \"\r\n51.23,56,0.1,14\r\n-1,-1.5,-12,0.1,1\r\n"
            "3,2.5,6,0.2,1\r\n");
  HandicapParameters q;
  ReadParameters(dir.path(), q);
  EXPECT_EQ(q.LastUpdated, p.LastUpdated);
  EXPECT_EQ(q.DeadZone, p.DeadZone);
  EXPECT_EQ(q.RoundingStep, 0.1);
  EXPECT_EQ(q.CorrectionDays, 14);
}

TEST(Parameters, AShortOrDamagedFileKeepsTheRestAsItWas) {
  test::TempFolder dir;
  HandicapParameters previous;
  previous.DeadZone = {-3, 3};
  previous.MaxAdjust = {0.5, 0.75};

  test::WriteBytes(dir / "Handicap.ini", "\"1.0\"\r\n\"1 May 2020 \"\r\n50,60,0.1,10\r\n");
  HandicapParameters p = previous;
  ReadParameters(dir.path(), p);
  EXPECT_EQ(p.EgAve, 50);
  EXPECT_EQ(p.CorrectionDays, 10);
  EXPECT_EQ(p.DeadZone, previous.DeadZone);
  EXPECT_EQ(p.MaxAdjust, previous.MaxAdjust);

  test::WriteBytes(dir / "Handicap.ini", "\"1.0\"\r\n\r\n50,garbage,0.1,10\r\n\xff\x01,,\r\n");
  p = previous;
  ReadParameters(dir.path(), p);
  EXPECT_EQ(p.EgAve, 50);
  EXPECT_EQ(p.EgGross, previous.EgGross);
  EXPECT_EQ(p.RoundingStep, previous.RoundingStep);

  test::WriteBytes(dir / "Handicap.ini", "\"1.0\"\r\n\r\n1,2,3,99999\r\n");
  p = previous;
  ReadParameters(dir.path(), p);
  EXPECT_EQ(p.CorrectionDays, previous.CorrectionDays);  // beyond 16 bits: not taken

  // A damaged last-update text survives a load and save as it was read.
  test::ScriptedDialogs dialogs;
  test::WriteBytes(dir / "Handicap.ini", "\"1.0\"\r\n25 \"Sep 2006\r\n");
  ReadParameters(dir.path(), p);
  ASSERT_EQ(p.LastUpdated, "25 \"Sep 2006");
  ASSERT_TRUE(WriteParameters(dir.path(), "1.0", p, dialogs));
  HandicapParameters q;
  ReadParameters(dir.path(), q);
  EXPECT_EQ(q.LastUpdated, p.LastUpdated);
}

TEST(Parameters, AFolderThatCannotBeMadeGivesTheSaveMessage) {
  test::TempFolder dir;
  test::WriteBytes(dir / "Handicap", "a file where the folder should be");
  test::ScriptedDialogs dialogs;
  const std::string folder = dir / "Handicap/";
  dialogs.ExpectMessage("Error cannot save " + folder +
                        "handicap.ini - error 75 Path/File access error");
  EXPECT_FALSE(WriteParameters(folder, "1.0", HandicapParameters{}, dialogs));
  EXPECT_EQ(test::ReadBytes(dir / "Handicap"), "a file where the folder should be");
}

}  // namespace
}  // namespace pg
