#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "base/Parameters.h"
#include "history/HistoryReader.h"
#include "review/Members.h"
#include "support/ScriptedPorts.h"
#include "support/TempFolder.h"

namespace pg::test {

inline constexpr const char* kSaveQuestion =
    "This will overwrite the current handicaps in the membership file.\r\nDo you want to do this?";

// A club folder as start-up leaves it before the first update: four members and the default
// parameters.
struct HistoryClub {
  TempFolder dir;
  ScriptedPorts ports;
  Context c{ports.ports()};

  static constexpr const char* kMembers =
      " 4             11           01/02/26\r\n"
      "1,Ann,Ash,,,F,1.5,,,,\r\n2,Bob,Birch,,,M,0,,,,\r\n3,Cy,Cedar,,,M,-2,,,,\r\n"
      "4,Di,Dove,,,F,4,,,,\r\n";

  HistoryClub() {
    c.SetFolders(dir.path());
    c.ProgramVersion = "1.0";
    c.NoUpdateYet = true;
    std::filesystem::create_directory(c.HandicapFolder);
    WriteBytes(c.MemberFile, kMembers);
    WriteBytes(Ini(), ParameterFileText("1.0", c.Parameters));
  }
  std::string Ini() const { return c.HandicapFolder + kParameterFileName; }
  std::string In(const std::string& name) const { return c.HandicapFolder + name; }

  // Saves an update as the review window does: every member moves by `move`, and members 1 and 2
  // played the one session, on the last day, net 55 and 45 against an average of 50.
  void Save(Date last, double move) {
    MemberTable members;
    LoadMembers(members, c);
    UpdateOutputs outputs;
    outputs.Size(members.MemberCount(), 1);
    outputs.SessionLabels(0) = FormatDate(last, "ddd dd/mm/yy") + " aft";
    outputs.SessionAverages(0, 1) = outputs.SessionAverages(0, 2) = 50;
    outputs.LastSessionDate = last;
    for (short m = 1; m <= members.MemberCount(); ++m) {
      members.Member(m).EndHandicap = members.Member(m).StartHandicap + move;
      if (m > 2) continue;
      outputs.PlayedFlags(m) = 1;
      outputs.SessionResults(m, 0) = {true, 0, m == 1 ? 55.0F : 45.0F, static_cast<float>(move)};
    }
    bool unsaved = true;
    ports.dialogs.ExpectMessage(kSaveQuestion, Answer::Yes)
        .ExpectMessage("New handicaps have been saved");
    EXPECT_EQ(SaveHandicaps(members, c, last, unsaved, &outputs), SaveOutcome::Saved);
    ports.dialogs.VerifyAllUsed();
  }

  // The history as the History window reads it; `damage` says what could not be read.
  History Read(HistoryDamage& damage) {
    MemberTable today;
    const bool cancelled = c.Cancelled;
    LoadMembers(today, c);
    c.Cancelled = cancelled;
    return ReadHistory(c, today, damage);
  }
  History Read() {
    HistoryDamage damage;
    History history = Read(damage);
    EXPECT_FALSE(damage.Any()) << damage.Text();
    return history;
  }
};

}  // namespace pg::test
