#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QtTest>

#include "DialogScript.h"
#include "TestPorts.h"
#include "ui/CapsLock.h"
#include "ui/PasswordViews.h"

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

template <class W>
W* Find(QWidget* view, const char* name) {
  W* w = view->findChild<W*>(QString::fromLatin1(name));
  if (w == nullptr) qFatal("no control %s", name);
  return w;
}

// Presses Caps Lock as a person would: through the system's input on Windows, with xdotool on
// the X server elsewhere.
bool PressCapsLock() {
#ifdef Q_OS_WIN
  INPUT keys[2] = {};
  keys[0].type = keys[1].type = INPUT_KEYBOARD;
  keys[0].ki.wVk = keys[1].ki.wVk = VK_CAPITAL;
  keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
  return SendInput(2, keys, sizeof(INPUT)) == 2;
#else
  return QProcess::execute(QStringLiteral("xdotool"), {"key", "Caps_Lock"}) == 0;
#endif
}

}  // namespace

class PasswordViewTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
    pg::ui::test::GiveTheProgramAnIcon();
  }
  void cleanupTestCase() { QSettings("Tesk Quorell", "Handicap").clear(); }

  void theEntryWindowEchoesStarsAndEnterIsNext() {
    pg::ui::test::TestProgram t;
    t.program.context.StoredPassword = "secret1";
    t.program.passwordMessage = "Please enter existing password";
    pg::PasswordEntry model(t.program);
    pg::ui::PasswordEntryView view(model);
    view.show();
    QCOMPARE(view.objectName(), QStringLiteral("frmGetPassword"));
    QCOMPARE(view.windowTitle(), QStringLiteral("Enter Password"));
    VERIFY_FINISHED(&view);
    QCOMPARE(Find<QLabel>(&view, "lblMess")->text(),
             QStringLiteral("Please enter existing password"));
    QLineEdit* box = Find<QLineEdit>(&view, "txtPass");
    QCOMPARE(box->accessibleName(), QStringLiteral("Enter Password"));
    QTest::keyClicks(box, QStringLiteral("secret1"));
    QCOMPARE(box->displayText(), QStringLiteral("*******"));
    QTest::keyClick(box, Qt::Key_Return);
    QVERIFY(model.closed());
    QVERIFY(!t.program.context.Cancelled);
  }

  // Typed, or put in through the accessibility interface as voice control and screen readers
  // do (which sends no textEdited): either way the model has it. A password the settings could
  // keep only as question marks is refused.
  void theNewPasswordWindowStoresWhatIsTypedTwice() {
    pg::ui::test::TestProgram t;
    pg::NewPassword model(t.program);
    pg::ui::NewPasswordView view(model);
    view.show();
    QCOMPARE(view.objectName(), QStringLiteral("frmPassword"));
    VERIFY_FINISHED(&view);
    QLineEdit* boxes[] = {Find<QLineEdit>(&view, "txtPass(0)"),
                          Find<QLineEdit>(&view, "txtPass(1)")};
    // Typed on a Cyrillic keyboard (keyClicks takes Latin-1 only).
    for (QLineEdit* box : boxes) {
      for (const char16_t c : u"\u043f\u0430\u0440\u043e\u043b\u044c")
        if (c != 0) QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QChar(c), {});
    }
    QCOMPARE(boxes[0]->text().size(), 6);
    DialogScript script;
    script.Then<QMessageBox>([](QMessageBox* box) {
      QVERIFY(box->text().startsWith(QStringLiteral("The password may contain only letters")));
      box->accept();
    });
    script.Start();
    QTest::mouseClick(Find<QPushButton>(&view, "cmdOK"), Qt::LeftButton);
    QVERIFY(script.Finished());
    QVERIFY(!model.closed());

    for (QLineEdit* box : boxes) {
      QAccessibleInterface* a = QAccessible::queryAccessibleInterface(box);
      a->editableTextInterface()->replaceText(0, a->textInterface()->characterCount(),
                                              QStringLiteral("bridge1"));
    }
    QTest::mouseClick(Find<QPushButton>(&view, "cmdOK"), Qt::LeftButton);
    QVERIFY(model.closed());
    QCOMPARE(t.settings.Read("Tesk Quorell", "Handicap", "Pass", "unarmed"),
             std::string("bridge1"));
  }

  // Needs a real keyboard: the caps_lock_xvfb test runs it under Xvfb, and scripts/test-windows
  // on the Windows platform under Wine.
  void capsLockWarningFollowsTheKeyboard() {
#ifdef Q_OS_WIN
    if (QGuiApplication::platformName() != QStringLiteral("windows"))
      QSKIP("needs the Windows platform; scripts/test-windows runs it under Xvfb");
#else
    if (QGuiApplication::platformName() != QStringLiteral("xcb"))
      QSKIP("needs the X11 platform; the caps_lock_xvfb test runs it under Xvfb");
    QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty(),
             "xdotool is not installed (scripts/setup installs it)");
#endif
    pg::ui::test::TestProgram t;
    pg::PasswordEntry model(t.program);
    pg::ui::PasswordEntryView view(model);
    view.show();
    view.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&view));
    QLabel* caps = Find<QLabel>(&view, "lblCaps");
    if (pg::ui::KeyboardCapsLockOn()) QVERIFY(PressCapsLock());
    QTRY_VERIFY(!caps->isVisible());
    QVERIFY(PressCapsLock());
    QTRY_VERIFY(caps->isVisible());
    QCOMPARE(caps->text(), QStringLiteral("Warning - CapsLock is on"));
    QVERIFY(PressCapsLock());
    QTRY_VERIFY(!caps->isVisible());
  }
};

QTEST_MAIN(PasswordViewTest)
#include "PasswordViewTest.moc"
