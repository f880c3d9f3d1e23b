#include <QAccessible>
#include <QApplication>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

#include "DialogScript.h"
#include "TestPorts.h"
#include "shell/StartUp.h"
#include "ui/MainWindowView.h"
#include "ui/QtPorts.h"

namespace {

// The real program and main window on a fresh folder, with the Qt ports and a fixed clock.
struct Fixture : pg::ui::test::TestProgram {
  QTemporaryDir dir;
  pg::MainWindow model{program};
  std::unique_ptr<pg::ui::MainWindowView> view;

  Fixture() {
    pg::StartUp(model, dir.path().toStdString() + "/");
    view = std::make_unique<pg::ui::MainWindowView>(model);
    view->show();
  }
  template <class W>
  W* Find(const char* name) {
    return view->findChild<W*>(QString::fromLatin1(name));
  }
};

}  // namespace

class MainWindowViewTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
    pg::ui::test::GiveTheProgramAnIcon();
  }

  void controlsAreFoundByNameWithTheirCaptionsAndAccessibleNames() {
    Fixture f;
    QCOMPARE(f.view->objectName(), QStringLiteral("frmMain"));
    QCOMPARE(f.view->windowTitle(), QStringLiteral("Pairgauge"));
    // Shown with the key Alt presses underlined, named by the caption alone.
    struct Expected {
      const char* name;
      QString text;
      QString accessibleName;
    };
    const Expected controls[] = {
        {"cmdParam", "&Parameters", "Parameters"},
        {"cmdUpdate", "&Update handicaps", "Update handicaps"},
        {"cmdHistory", "&History", "History"},
        {"cmdStop", "&Stop", "Stop"},
        {"cmdAbout", "&About", "About"},
        {"lblHead", "Pairgauge - Version " PG_PROJECT_VERSION,
         "Pairgauge - Version " PG_PROJECT_VERSION},
        {"lblMess", "First use of this program", "First use of this program"},
    };
    for (const Expected& e : controls) {
      QWidget* w = f.Find<QWidget>(e.name);
      QVERIFY2(w != nullptr, e.name);
      QCOMPARE(w->property("text").toString(), e.text);
      QVERIFY(w->isEnabled());
      QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
      QVERIFY2(a != nullptr, e.name);
      QCOMPARE(a->text(QAccessible::Name), e.accessibleName);
    }
    // Whatever is added to the window later must be named, reachable and whole.
    VERIFY_FINISHED(f.view.get());
    // A screen reader takes it for the program's window, not for a part of one.
    QCOMPARE(QAccessible::queryAccessibleInterface(f.view.get())->role(), QAccessible::Window);
  }

  void theKeyboardStartsOnUpdateAndAltPressesEachButton() {
    Fixture f;
    QApplication::setActiveWindow(f.view.get());
    QVERIFY(QTest::qWaitForWindowActive(f.view.get()));
    QCOMPARE(QApplication::focusWidget(), f.Find<QWidget>("cmdUpdate"));
    // Tab goes along the buttons as they read, About at the foot last, and round again.
    QStringList order;
    for (int i = 0; i < 5; ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      order << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(order, QStringList({"cmdHistory", "cmdStop", "cmdAbout", "cmdParam", "cmdUpdate"}));
    bool history = false;
    f.windows.Register(pg::WindowId::History, [&] { history = true; });
    QTest::keyClick(f.view.get(), Qt::Key_H, Qt::AltModifier);
    QTRY_VERIFY(history);
    bool opened = false;
    f.windows.Register(pg::WindowId::Parameters, [&] { opened = true; });
    bool asked = false;
    for (auto id : {pg::WindowId::NewPassword, pg::WindowId::Password})
      f.windows.Register(id, [&] {
        asked = true;
        f.program.context.Cancelled = false;
      });
    // Alt and a key press a button as a click does, a moment later.
    QTest::keyClick(f.view.get(), Qt::Key_P, Qt::AltModifier);
    QTRY_VERIFY(opened);
    QVERIFY(asked);
    {
      // Alt+A shows the version and the licence.
      DialogScript about;
      about.Then<QMessageBox>([](QMessageBox* box) {
        QVERIFY(box->text().startsWith(QStringLiteral("Pairgauge - Version " PG_PROJECT_VERSION)));
        QVERIFY(box->text().contains(QStringLiteral("GNU General Public License, version 3")));
        box->accept();
      });
      about.Start();
      QTest::keyClick(f.view.get(), Qt::Key_A, Qt::AltModifier);
      QTRY_VERIFY(about.Finished());
    }
    // Enter on the button that has the focus presses it.
    std::optional<pg::Date> start;
    f.windows.Register(pg::WindowId::Update, [&] { start = f.program.context.StartDate; });
    DialogScript script;
    script.Then<QInputDialog>([](QInputDialog* prompt) { Type(prompt, "25/9/2006"); });
    script.Start();
    f.Find<QWidget>("cmdUpdate")->setFocus();
    QTest::keyClick(f.Find<QWidget>("cmdUpdate"), Qt::Key_Return);
    QVERIFY(script.Finished());
    QCOMPARE(start, std::optional<pg::Date>(pg::MakeDate(2006, 9, 25)));
  }

  void updateAsksForTheFirstDateRefusesTodayAndOpensTheUpdateWindow() {
    Fixture f;
    std::optional<pg::Date> startWhenOpened;
    f.windows.Register(pg::WindowId::Update,
                       [&] { startWhenOpened = f.program.context.StartDate; });
    DialogScript script;
    script
        .Then<QInputDialog>([](QInputDialog* prompt) {
          QCOMPARE(prompt->windowTitle(), QStringLiteral("Pairgauge"));
          QCOMPARE(prompt->windowIcon().cacheKey(), QApplication::windowIcon().cacheKey());
          QVERIFY(prompt->labelText().startsWith(
              QStringLiteral("No handicaps have yet been updated\nPlease select")));
          Type(prompt, "26/9/2006");
        })
        .Then<QMessageBox>([](QMessageBox* box) {
          QCOMPARE(box->text(), QStringLiteral("Date must be in the past"));
          QCOMPARE(box->windowTitle(), QStringLiteral("Pairgauge"));
          QCOMPARE(box->windowIcon().cacheKey(), QApplication::windowIcon().cacheKey());
          QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
        })
        .Then<QInputDialog>([](QInputDialog* prompt) { Type(prompt, "25/9/2006"); });
    script.Start();
    QTest::mouseClick(f.Find<QPushButton>("cmdUpdate"), Qt::LeftButton);
    QVERIFY(script.Finished());
    QCOMPARE(startWhenOpened, std::optional<pg::Date>(pg::MakeDate(2006, 9, 25)));
    QCOMPARE(f.Find<QLabel>("lblMess")->text(), QStringLiteral("No updates yet done"));
  }

  void aCancelledPromptDoesNothing() {
    Fixture f;
    bool opened = false;
    f.windows.Register(pg::WindowId::Update, [&] { opened = true; });
    DialogScript script;
    script.Then<QInputDialog>(
        [](QInputDialog* prompt) { QTest::keyClick(prompt, Qt::Key_Escape); });
    script.Start();
    QTest::mouseClick(f.Find<QPushButton>("cmdUpdate"), Qt::LeftButton);
    QVERIFY(script.Finished());
    QVERIFY(!opened);
    QVERIFY(!f.program.context.StartDate);
    QCOMPARE(f.Find<QLabel>("lblMess")->text(), QStringLiteral("First use of this program"));
  }

  void settingsKeepLatin1Values() {
    pg::ui::QtSettingsStore settings;
    // A store of this run's own: the test at 200 % runs beside this one.
    const std::string application =
        "Pairgauge Test " + std::to_string(QCoreApplication::applicationPid());
    const std::string value = "caf\xe9 \"1\"";
    QCOMPARE(settings.Read(application, "Handicap", "Pass", "unarmed"), std::string("unarmed"));
    settings.Write(application, "Handicap", "Pass", value);
    QCOMPARE(settings.Read(application, "Handicap", "Pass", "unarmed"), value);
    QSettings(QString::fromStdString(application), "Handicap").clear();
  }
};

QTEST_MAIN(MainWindowViewTest)
#include "MainWindowViewTest.moc"
