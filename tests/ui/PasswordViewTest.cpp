#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QtTest>

#include "shell/PasswordWindows.h"
#include "ui/CapsLock.h"
#include "ui/PasswordViews.h"
#include "ui/QtPorts.h"

namespace {

class TestDialogs : public pg::ui::QtDialogs {
 public:
  [[noreturn]] void EndProgram() override { qFatal("the program ended"); }
};

struct Fixture {
  TestDialogs dialogs;
  pg::ui::QtWindows windows;
  pg::ui::QtSettingsStore settings;
  pg::ui::QtClock clock;
  pg::Program program{pg::Ports{dialogs, windows, settings, clock}};

  Fixture() { program.context.StoredPassword = "secret1"; }
};

template <class W>
W* Find(QWidget* view, const char* name) {
  W* w = view->findChild<W*>(QString::fromLatin1(name));
  if (w == nullptr) qFatal("no control %s", name);
  return w;
}

bool PressCapsLock() {
  return QProcess::execute(QStringLiteral("xdotool"), {"key", "Caps_Lock"}) == 0;
}

}  // namespace

class PasswordViewTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
  void cleanupTestCase() { QSettings("Tesk Quorell", "Handicap").clear(); }

  void theEntryWindowEchoesStarsAndEnterIsNext() {
    Fixture f;
    f.program.passwordMessage = "Please enter existing password";
    pg::PasswordEntry model(f.program);
    pg::ui::PasswordEntryView view(model);
    view.show();
    QCOMPARE(view.objectName(), QStringLiteral("frmGetPassword"));
    QCOMPARE(view.windowTitle(), QStringLiteral("Enter Password"));
    QCOMPARE(Find<QLabel>(&view, "lblMess")->text(),
             QStringLiteral("Please enter existing password"));
    QVERIFY(!Find<QLabel>(&view, "lblCaps")->isVisible());
    QLineEdit* box = Find<QLineEdit>(&view, "txtPass");
    QCOMPARE(box->accessibleName(), QStringLiteral("Enter Password"));
    QTest::keyClicks(box, QStringLiteral("secret1"));
    QCOMPARE(box->displayText(), QStringLiteral("*******"));
    QTest::keyClick(box, Qt::Key_Return);
    QVERIFY(model.closed());
    QVERIFY(!f.program.context.Cancelled);
  }

  void theNewPasswordWindowStoresWhatIsTypedTwice() {
    Fixture f;
    pg::NewPassword model(f.program);
    pg::ui::NewPasswordView view(model);
    view.show();
    QCOMPARE(view.objectName(), QStringLiteral("frmPassword"));
    QCOMPARE(view.windowTitle(), QStringLiteral("New Password"));
    QTest::keyClicks(Find<QLineEdit>(&view, "txtPass(0)"), QStringLiteral("better2"));
    QTest::keyClicks(Find<QLineEdit>(&view, "txtPass(1)"), QStringLiteral("better2"));
    QCOMPARE(Find<QLineEdit>(&view, "txtPass(1)")->displayText(), QStringLiteral("*******"));
    QTest::mouseClick(Find<QPushButton>(&view, "cmdOK"), Qt::LeftButton);
    QVERIFY(model.closed());
    QCOMPARE(f.settings.Read("Tesk Quorell", "Handicap", "Pass", "unarmed"),
             std::string("better2"));
  }

  // Needs a real X server: run by the caps_lock_xvfb test under Xvfb.
  void capsLockWarningFollowsTheKeyboard() {
    if (QGuiApplication::platformName() != QStringLiteral("xcb"))
      QSKIP("needs the X11 platform; the caps_lock_xvfb test runs it under Xvfb");
    QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty(),
             "xdotool is not installed (scripts/setup installs it)");
    Fixture f;
    pg::PasswordEntry model(f.program);
    pg::ui::PasswordEntryView view(model);
    view.show();
    view.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&view));
    QLabel* caps = Find<QLabel>(&view, "lblCaps");
    if (pg::ui::KeyboardCapsLockOn()) {
      QVERIFY(PressCapsLock());
      QTRY_VERIFY(!caps->isVisible());
    }
    QVERIFY(!caps->isVisible());
    QVERIFY(PressCapsLock());
    QTRY_VERIFY(caps->isVisible());
    QCOMPARE(caps->text(), QStringLiteral("Warning - CapsLock is on"));
    QVERIFY(PressCapsLock());
    QTRY_VERIFY(!caps->isVisible());
  }
};

QTEST_MAIN(PasswordViewTest)
#include "PasswordViewTest.moc"
