#include "session/HandRecords.h"

#include "session/SessionFixture.h"

namespace pg {
namespace {

using test::SessionPlan;

const std::string kDeal = "abcdefghijklmnopabcdefghij";

class HandRecordsTest : public test::SessionFixture {
 protected:
  void ReadHands(const std::string& name, const std::string& text, short boards = 24) {
    test::WriteBytes(dir / name, text);
    s.BoardCount = boards;
    s.ReadingHands = true;
    ReadHandRecords(s, ctx, dir / name);
  }
  std::string Invalid(const std::string& name, const std::string& line) {
    return "Cannot read the file " + (dir / name) + "\r\nThe following line is not valid\r\n" +
           line;
  }
};

TEST_F(HandRecordsTest, DlmStopsAtTheLastBoardWanted) {
  std::string text = "[Document]\r\nTo Board=16\r\n";
  for (int b = 1; b <= 24; ++b)
    text += "Board " + std::string(b < 10 ? "0" : "") + std::to_string(b) + "=" + kDeal + "\r\n";
  text += "Board 25=qqq\r\n";  // never reached
  ReadHands("hands.dlm", text);
  EXPECT_TRUE(s.HandsLoaded);
  ASSERT_EQ(s.HandRecords.size(), 17u);
  EXPECT_EQ(s.HandRecords[1].Deal, kDeal);
  EXPECT_EQ(s.HandRecords[16].Deal, kDeal);
}

TEST_F(HandRecordsTest, DlmReadsBoardsWithLeadingZerosAndAChecksumAndCapitals) {
  ReadHands("HANDS.DLM", "Board 03=" + kDeal + "4711\r\nTo board=30\r\n", 27);
  EXPECT_TRUE(s.HandsLoaded);
  ASSERT_EQ(s.HandRecords.size(), 4u);
  EXPECT_EQ(s.HandRecords[3].Deal, kDeal);
  EXPECT_EQ(s.HandRecords[0].Deal, "");
}

class InvalidDlmLine : public HandRecordsTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(InvalidDlmLine, IsShownAndStopsTheReading) {
  const std::string line = GetParam();
  std::string lower = line;
  for (char& c : lower)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  ports.dialogs.ExpectMessage(Invalid("hands.dlm", lower));
  ReadHands("hands.dlm", "Board 1=" + kDeal + "\r\n" + line + "\r\nBoard 3=" + kDeal + "\r\n");
  EXPECT_FALSE(s.HandsLoaded);
  EXPECT_EQ(s.HandRecords.size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(Lines, InvalidDlmLine,
                         ::testing::Values("Board 2=abcdefghijklmnopabcdefghi",   // 25 letters
                                           "Board 2=abcdefghijklmnopabcdefghiq",  // a "q"
                                           "Board 0=abcdefghijklmnopabcdefghij",
                                           "Board 2 abcdefghijklmnopabcdefghij"));

// A club copied to another folder or machine: the stored full path points nowhere, and the file
// is found beside the session file by its name. A bad line there proves that it was read.
class MovedHandRecordFile : public HandRecordsTest,
                            public ::testing::WithParamInterface<const char*> {};

TEST_P(MovedHandRecordFile, IsFoundBesideTheSession) {
  test::WriteBytes(dir / "0302.dlm", "Board 1=" + kDeal + "\r\nBoard 2=q\r\n");
  s.BasePath = dir / "0302S1";
  s.BoardCount = 24;
  s.ReadingHands = true;
  ports.dialogs.ExpectMessage(Invalid("0302.dlm", "board 2=q"));
  ReadHandRecords(s, ctx, GetParam());
  EXPECT_FALSE(s.HandsLoaded);
  EXPECT_EQ(s.HandRecords.at(1).Deal, kDeal);
}

INSTANTIATE_TEST_SUITE_P(StoredNames, MovedHandRecordFile,
                         ::testing::Values("C:\\Quorell\\RES2026\\0302.dlm", "/elsewhere/0302.dlm",
                                           "0302.dlm"));

TEST_F(HandRecordsTest, MissingFilesAndOtherFormatsAreSkippedSilentlyInASessionRead) {
  ReadHands("hands.txt", "Board 1=" + kDeal + "\r\n");
  EXPECT_FALSE(s.HandsLoaded);
  s.HandsLoaded = true;
  ReadHandRecords(s, ctx, dir / "none.dlm");
  EXPECT_FALSE(s.HandsLoaded);
}

TEST_F(HandRecordsTest, AMissingFileAskedForOutsideASessionReadIsReported) {
  s.ReadingHands = false;
  ports.dialogs.ExpectMessageContaining("File not found\r\nError no. 53", Answer::Yes);
  ReadHandRecords(s, ctx, dir / "none.pbn");
  EXPECT_FALSE(s.HandsLoaded);
}

// Spades with North, hearts East, diamonds South, clubs West when North is listed first.
const char* const kSuitsEach =
    "akqjt98765432... .akqjt98765432.. ..akqjt98765432. ...akqjt98765432";

TEST_F(HandRecordsTest, PbnDealsWithVoidSuitsBecomeTheLetterCode) {
  const std::string text = std::string("[Event \"Club\"]\r\n[Board \"1\"]\r\n[Dealer \"N\"]\r\n") +
                           "[Deal \"N:" + kSuitsEach + "\"]\r\n" +
                           "[DoubleDummyTricks \"cc11cc11cc1188558855\"]\r\n" +
                           "[OptimumResultTable \"Declarer;Denomination\\2R;Result\\2R\"]\r\n" +
                           "N NT 12\r\nS NT 12\r\n\r\n" + "  [Board \"2\"]  \r\n" +
                           "[Deal \"S:" + kSuitsEach + "\"]\r\n";
  ReadHands("hands.PBN", text);
  EXPECT_TRUE(s.HandsLoaded);
  ASSERT_EQ(s.HandRecords.size(), 3u);
  EXPECT_EQ(s.HandRecords[1].Deal, "aaaaaabffffffkkkkkklpppppp");
  // Hands go round from the first one named: South, West, North, East.
  EXPECT_EQ(s.HandRecords[2].Deal, "kkkkkklppppppaaaaaabffffff");
  EXPECT_EQ(s.HandRecords[1].DoubleDummyTricks, "cc11cc11cc1188558855");
  EXPECT_EQ(s.HandRecords[1].OptimumResultTable, (std::vector<std::string>{"N NT 12", "S NT 12"}));
}

// What dealing programs really write: a template game with an empty deal (and other empty
// tags), and voids written "-".
TEST_F(HandRecordsTest, PbnTemplateGamesAreSkippedAndDashIsAVoid) {
  const std::string text = std::string("[Board \"\"]\r\n[Deal \"\"]\r\n") +
                           "[DoubleDummyTricks \"\"]\r\n\r\n[Board \"1\"]\r\n" +
                           "[Deal \"N:akqjt98765432.-.-.- -.akqjt98765432.-.- " +
                           "-.-.akqjt98765432.- -.-.-.akqjt98765432\"]\r\n";
  ReadHands("hands.pbn", text);
  EXPECT_TRUE(s.HandsLoaded);
  ASSERT_EQ(s.HandRecords.size(), 2u);
  EXPECT_EQ(s.HandRecords[1].Deal, "aaaaaabffffffkkkkkklpppppp");
}

class InvalidPbnLine : public HandRecordsTest,
                       public ::testing::WithParamInterface<std::pair<const char*, const char*>> {};

TEST_P(InvalidPbnLine, IsShownLowerCasedAndTrimmed) {
  const auto& [line, shown] = GetParam();
  ports.dialogs.ExpectMessage(Invalid("hands.pbn", shown));
  ReadHands("hands.pbn", std::string("[Board \"1\"]\r\n") + line + "\r\n");
  EXPECT_FALSE(s.HandsLoaded);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, InvalidPbnLine,
    ::testing::Values(
        std::pair{"  [Deal \"X:AKQ... ... ... ...\"]", "[deal \"x:akq... ... ... ...\"]"},
        std::pair{"[Deal \"N:AKZ... ... ... ...\"]", "[deal \"n:akz... ... ... ...\"]"},
        std::pair{"[Deal \":AK... ... ... ...\"]", "[deal \":ak... ... ... ...\"]"},
        std::pair{"[Deal \"N:A.K.Q.J.T ... ... ...\"]",
                  "[deal \"n:a.k.q.j.t ... ... ...\"]"},  // a fifth suit
        std::pair{"[DoubleDummyTricks \"cc11cc11cc118855885\"]",
                  "[doubledummytricks \"cc11cc11cc118855885\"]"},
        // A deal must hold each card once: a hand left out, and the ace of clubs twice.
        std::pair{"[Deal \"N:AKQJ.-.T98765.432 - - -\"]", "[deal \"n:akqj.-.t98765.432 - - -\"]"},
        std::pair{"[Deal \"N:akqjt98765432... .akqjt98765432.. ..akqjt98765432. "
                  "...akqjt9876543a\"]",
                  "[deal \"n:akqjt98765432... .akqjt98765432.. ..akqjt98765432. "
                  "...akqjt9876543a\"]"}));

TEST_F(HandRecordsTest, ASessionReadsItsHandRecordsAndGoesOnPastABadLine) {
  test::WriteBytes(dir / "good.dlm", "Board 1=" + kDeal + "\r\n");
  SessionPlan plan;
  plan.handRecordFile = dir / "good.dlm";
  Read(plan);
  EXPECT_FALSE(s.ReadFailed);
  EXPECT_TRUE(s.HandsLoaded);
  EXPECT_FALSE(s.ReadingHands);
  EXPECT_EQ(s.HandRecords[1].Deal, kDeal);

  // A bad file named by two sessions is told once in a run; both sessions still read.
  test::WriteBytes(dir / "bad.dlm", "Board 1=" + kDeal.substr(1) + "\r\n");
  plan.handRecordFile = dir / "bad.dlm";
  ports.dialogs.ExpectMessage(Invalid("bad.dlm", "board 1=" + kDeal.substr(1)));
  Read(plan);
  EXPECT_FALSE(s.ReadFailed);
  EXPECT_FALSE(s.HandsLoaded);
  Read(plan, "0302S2.AFT");
  EXPECT_FALSE(s.ReadFailed);
  EXPECT_FALSE(s.HandsLoaded);
}

}  // namespace
}  // namespace pg
