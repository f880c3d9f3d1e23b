#include <gtest/gtest.h>

#include "shell/ParameterEditor.h"
#include "shell/PasswordWindows.h"
#include "shell/StartUp.h"
#include "support/ScriptedPorts.h"
#include "support/TempFolder.h"

namespace pg {
namespace {

const std::string kPassKey = "Tesk Quorell/Handicap/Pass";

struct Gate {
  test::TempFolder dir;
  test::ScriptedPorts ports;
  Program program{ports.ports()};
  MainWindow window{program};
  Context& c = program.context;
  // The lblMess text each password window opened with.
  std::vector<std::string> messages;

  Gate() { StartUp(window, dir.path()); }

  // The next showings of the new-password window answer with these pairs, one per "Next >".
  void NewPasswords(const std::vector<std::array<std::string, 2>>& tries) {
    ports.windows.onShow[WindowId::NewPassword] = [this, tries] {
      NewPassword w(program);
      messages.push_back(w.lblMess.caption);
      for (const auto& t : tries) {
        w.pass = t;
        w.OKClick();
      }
      if (!w.closed()) w.Closing();
    };
  }
  void Enter(const std::string& typed) {
    ports.windows.onShow[WindowId::Password] = [this, typed] {
      PasswordEntry w(program);
      messages.push_back(w.lblMess.caption);
      w.pass = typed;
      w.OKClick();
    };
  }
};

TEST(PasswordGate, TheFirstVisitSetsAPasswordOfSixCharactersTypedTwice) {
  Gate g;
  g.ports.dialogs.ExpectMessage("Password must be at least 6 characters long")
      .ExpectMessage("The two passwords do not match - please reenter them");
  g.NewPasswords({{"abcde", "abcde"}, {"abcdef", "abcdeF"}, {"abcdef", "abcdef"}});
  g.window.ParamClick();
  EXPECT_EQ(g.ports.windows.shown,
            (std::vector<WindowId>{WindowId::NewPassword, WindowId::Parameters}));
  EXPECT_EQ(g.messages,
            std::vector<std::string>{"Enter a password which is needed for future access to the "
                                     "parameters page"});
  EXPECT_EQ(g.ports.settings.values[kPassKey], "abcdef");
  EXPECT_EQ(g.c.StoredPassword, "abcdef");
}

// What the user does in the password-entry window, and whether the editor opens after it.
TEST(PasswordGate, OnlyTheStoredPasswordExactlyOpensTheEditor) {
  enum class Act { Next, Cancel, Close };
  struct Case {
    const char* name;
    std::string typed;
    Act act;
    bool opens;
  };
  const Case cases[] = {
      {"the password", "secret1", Act::Next, true},
      {"typed with Caps Lock on", "SECRET1", Act::Next, false},
      {"a prefix", "secret", Act::Next, false},
      {"cancelled", "secret1", Act::Cancel, false},
      {"closed by the title bar", "secret1", Act::Close, false},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    Gate g;
    g.ports.settings.values[kPassKey] = "secret1";
    g.c.Cancelled = false;
    if (k.act == Act::Next && !k.opens) g.ports.dialogs.ExpectMessage("Incorrect password");
    g.ports.windows.onShow[WindowId::Password] = [&] {
      PasswordEntry w(g.program);
      EXPECT_EQ(w.lblMess.caption,
                "The Parameters Page is password protected, please enter the password");
      w.pass = k.typed;
      if (k.act == Act::Next) w.OKClick();
      if (k.act == Act::Cancel) w.CancelClick();
      if (k.act == Act::Close) w.Closing();
      EXPECT_TRUE(w.closed());
    };
    g.window.ParamClick();
    g.ports.dialogs.VerifyAllUsed();
    EXPECT_EQ(g.ports.windows.shown.back(), k.opens ? WindowId::Parameters : WindowId::Password);
    EXPECT_EQ(g.c.Cancelled, !k.opens);
  }
}

TEST(PasswordGate, AWindowThatNeverOpensLetsNobodyThrough) {
  Gate g;
  g.ports.settings.values[kPassKey] = "secret1";
  g.c.Cancelled = false;
  g.window.ParamClick();
  EXPECT_EQ(g.ports.windows.shown, std::vector<WindowId>{WindowId::Password});
}

TEST(PasswordGate, ChoosingUnarmedLeavesTheParametersUnprotected) {
  Gate g;
  g.NewPasswords({{"unarmed", "unarmed"}});
  g.window.ParamClick();
  g.window.ParamClick();
  EXPECT_EQ(g.ports.windows.shown,
            (std::vector<WindowId>{WindowId::NewPassword, WindowId::Parameters,
                                   WindowId::NewPassword, WindowId::Parameters}));
}

TEST(PasswordGate, TheCapsLockWarningFollowsTheKeyboard) {
  Gate g;
  g.ports.dialogs.capsLock = true;
  PasswordEntry w(g.program);
  EXPECT_TRUE(w.lblCaps.visible);
  EXPECT_EQ(w.lblCaps.caption, "Warning - CapsLock is on");
  g.ports.dialogs.capsLock = false;
  w.ShowCapsWarning();
  EXPECT_FALSE(w.lblCaps.visible);
}

struct ChangePassword : Gate {
  ChangePassword() {
    ports.settings.values[kPassKey] = "secret1";
    c.StoredPassword = "secret1";
  }
};

TEST(ChangePasswordTest, RunsBothWindowsWithTheirMessagesForOneShowingOnly) {
  ChangePassword g;
  ParameterEditor editor(g.program);
  g.Enter("secret1");
  g.NewPasswords({{"better2", "better2"}});
  g.ports.dialogs.ExpectMessage("Password has been changed");
  editor.PasswordClick();
  g.ports.dialogs.VerifyAllUsed();
  EXPECT_EQ(g.messages, (std::vector<std::string>{"Please enter existing password",
                                                  "Please enter a new password"}));
  EXPECT_EQ(g.ports.settings.values[kPassKey], "better2");

  // The next visit shows the windows' own texts again, and takes the new password.
  g.messages.clear();
  g.Enter("better2");
  g.window.ParamClick();
  EXPECT_EQ(g.messages,
            std::vector<std::string>{
                "The Parameters Page is password protected, please enter the password"});
  EXPECT_EQ(g.ports.windows.shown.back(), WindowId::Parameters);
}

TEST(ChangePasswordTest, AWrongOrCancelledStepKeepsTheOldPassword) {
  {
    ChangePassword g;
    ParameterEditor editor(g.program);
    g.Enter("wrong!!");
    g.ports.dialogs.ExpectMessage("Incorrect password");
    editor.PasswordClick();
    EXPECT_EQ(g.ports.windows.shown, std::vector<WindowId>{WindowId::Password});
  }
  {
    ChangePassword g;
    ParameterEditor editor(g.program);
    g.Enter("secret1");
    g.NewPasswords({});  // closed without "Next >"
    editor.PasswordClick();
    EXPECT_EQ(g.ports.windows.shown.size(), 2u);
    EXPECT_EQ(g.ports.settings.values[kPassKey], "secret1");
  }
}

}  // namespace
}  // namespace pg
