#include <gtest/gtest.h>

#include "shell/ParameterEditor.h"
#include "shell/PasswordWindows.h"
#include "shell/StartUp.h"
#include "support/ScriptedPorts.h"
#include "support/TempFolder.h"

namespace pg {
namespace {

const std::string kPassKey = "Tesk Quorell/Handicap/Pass";
enum class Act { Next, Cancel, Close };

struct Gate {
  test::TempFolder dir;
  test::ScriptedPorts ports;
  Program program{ports.ports()};
  MainWindow window{program};
  std::vector<std::string> messages;  // the lblMess text each password window opened with

  explicit Gate(const std::string& stored = "") {
    if (!stored.empty()) ports.settings.values[kPassKey] = stored;
    StartUp(window, dir.path());
  }
  // The new-password window's answers: one pair per "Next >", then closed if still open.
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
  void Enter(const std::string& typed, Act act = Act::Next) {
    ports.windows.onShow[WindowId::Password] = [this, typed, act] {
      PasswordEntry w(program);
      messages.push_back(w.lblMess.caption);
      w.pass = typed;
      if (act == Act::Next) w.OKClick();
      if (act == Act::Cancel) w.CancelClick();
      if (act == Act::Close) w.Closing();
    };
  }
  bool EditorOpened() const { return ports.windows.shown.back() == WindowId::Parameters; }
};

TEST(PasswordGate, TheFirstVisitSetsAPasswordOfSixCharactersTypedTwice) {
  Gate g;
  // Six characters the settings could keep only as "??????", as the view gives a Cyrillic word.
  const std::string unstorable(6, '\x1A');
  g.ports.dialogs.ExpectMessage("Password must be at least 6 characters long")
      .ExpectMessage(
          "The password may contain only letters, digits and the usual punctuation of "
          "a Western keyboard")
      .ExpectMessage("The two passwords do not match - please reenter them");
  g.NewPasswords(
      {{"abcde", "abcde"}, {unstorable, unstorable}, {"abcdef", "abcdeF"}, {"abcdef", "abcdef"}});
  g.window.ParamClick();
  EXPECT_TRUE(g.EditorOpened());
  EXPECT_EQ(g.messages, std::vector<std::string>{"Enter a password which is needed for future "
                                                 "access to the parameters page"});
  EXPECT_EQ(g.ports.settings.values[kPassKey], "abcdef");
}

TEST(PasswordGate, OnlyTheStoredPasswordOpensTheEditor) {
  struct Case {
    std::string typed;
    Act act;
    bool opens;
    std::string stored = "secret1";
  };
  // What the view gives for a character the settings cannot keep, a euro sign say; the version
  // before kept it as "?", and that password still opens the editor, typed as then.
  const std::string euro = "\x1A";
  const Case cases[] = {{"secret1", Act::Next, true},
                        {"SECRET1", Act::Next, false},
                        {"secret", Act::Next, false},
                        {"secret1", Act::Cancel, false},
                        {"secret1", Act::Close, false},
                        {"secre" + euro + "1", Act::Next, false},
                        {"bridge" + euro + "1", Act::Next, true, "bridge?1"},
                        {"bridge?1", Act::Next, true, "bridge?1"},
                        {"bridge" + euro + euro + "1", Act::Next, false, "bridge?1"},
                        {"bridge\xA3" + std::string("1"), Act::Next, false, "bridge?1"},
                        {std::string(6, '\x1A'), Act::Next, true, "??????"}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.typed + " " + std::to_string(static_cast<int>(k.act)));
    Gate g(k.stored);
    if (k.act == Act::Next && !k.opens) g.ports.dialogs.ExpectMessage("Incorrect password");
    g.Enter(k.typed, k.act);
    g.window.ParamClick();
    g.ports.dialogs.VerifyAllUsed();
    EXPECT_EQ(g.EditorOpened(), k.opens);
    EXPECT_EQ(g.messages, std::vector<std::string>{"The Parameters Page is password protected, "
                                                   "please enter the password"});
  }
  // A window that never opens (no view for it) lets nobody through either.
  Gate g("secret1");
  g.program.context.Cancelled = false;
  g.window.ParamClick();
  EXPECT_FALSE(g.EditorOpened());
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

TEST(ChangePassword, RunsBothWindowsWithTheirMessagesForOneShowingOnly) {
  Gate g("secret1");
  g.program.context.StoredPassword = "secret1";
  ParameterEditor editor(g.program);
  g.Enter("secret1");
  g.NewPasswords({{"better2", "better2"}});
  g.ports.dialogs.ExpectMessage("Password has been changed");
  editor.PasswordClick();
  g.ports.dialogs.VerifyAllUsed();
  EXPECT_EQ(g.ports.settings.values[kPassKey], "better2");
  // The next visit shows the window's own text again, and takes the new password.
  g.Enter("better2");
  g.window.ParamClick();
  EXPECT_TRUE(g.EditorOpened());
  EXPECT_EQ(g.messages, (std::vector<std::string>{
                            "Please enter existing password", "Please enter a new password",
                            "The Parameters Page is password protected, please enter the "
                            "password"}));
}

TEST(ChangePassword, AWrongPasswordGoesNoFurther) {
  Gate g("secret1");
  g.program.context.StoredPassword = "secret1";
  ParameterEditor editor(g.program);
  g.Enter("wrong!!");
  g.ports.dialogs.ExpectMessage("Incorrect password");
  editor.PasswordClick();
  EXPECT_EQ(g.ports.windows.shown, std::vector<WindowId>{WindowId::Password});
}

}  // namespace
}  // namespace pg
