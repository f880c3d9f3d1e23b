#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>

#include "base/Files.h"

#include "session/SessionFile.h"
#include "support/ScriptedPorts.h"

namespace pg {
namespace {

struct NameCase {
  CellValue date;
  short section;
  short time;
  const char* base;
  const char* extension;
};
void PrintTo(const NameCase& c, std::ostream* out) {
  *out << c.base << "." << c.extension;
}

class SessionFileName : public ::testing::TestWithParam<NameCase> {};

TEST_P(SessionFileName, IsBuiltFromDateSectionAndTimeOfDay) {
  const NameCase& c = GetParam();
  test::ScriptedPorts ports;
  Context ctx(ports.ports());
  ctx.ResultsRoot = "RES";
  Session s;
  s.SectionNo = c.section;
  s.TimeOfDay = c.time;
  s.Extension = "old";
  MakeSessionFileName(s, ctx, c.date);
  std::string base = c.base;
  std::replace(base.begin(), base.end(), '/', kPathSeparator);
  EXPECT_EQ(s.BasePath, base);
  EXPECT_EQ(s.Extension, c.extension);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SessionFileName,
    ::testing::Values(NameCase{MakeDate(2006, 9, 25), 2, 1, "RES2006/0925S2", "AFT"},
                      NameCase{MakeDate(2006, 9, 25), 0, 1, "RES2006/0925S0", "AFT"},
                      NameCase{MakeDate(2006, 9, 25), 12, 2, "RES2006/0925S12", "EVE"},
                      NameCase{MakeDate(2007, 3, 3), 1, 0, "RES2007/0303S1", "MOR"},
                      // The catalogue passes its own date text, trailing blank and all.
                      NameCase{"03 March 2007 ", 1, 2, "RES2007/0303S1", "EVE"},
                      NameCase{MakeDate(2007, 3, 3), 1, 3, "RES2007/0303S1", "old"}));

TEST(SessionFileName, ADateThatDoesNotReadIsReportedAndKeepsThePath) {
  test::ScriptedPorts ports;
  ports.dialogs.ExpectMessage(
      "ModSession\r\nType mismatch\r\nError no. 13\r\nLine 100\r\nDo you wish to try to "
      "continue?",
      Answer::Yes);
  Context ctx(ports.ports());
  Session s;
  s.BasePath = "RES2006/0925S2";
  s.TimeOfDay = 2;
  MakeSessionFileName(s, ctx, CellValue("the 32nd of May"));
  EXPECT_EQ(s.BasePath, "RES2006/0925S2");
  EXPECT_EQ(s.Extension, "EVE");
}

}  // namespace
}  // namespace pg
