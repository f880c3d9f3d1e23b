#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "DialogScript.h"
#include "TestPorts.h"
#include "shell/StartUp.h"
#include "support/SessionWriter.h"
#include "support/TempFolder.h"
#include "ui/MainWindowView.h"
#include "ui/QtPorts.h"
#include "ui/UpdateView.h"

namespace {

// Three afternoons after the last update on 10 September: two usable, one inside the correction
// period; the members are the players of the first pair of each.
struct Club : pg::ui::test::TestProgram {
  QTemporaryDir dir;
  pg::MainWindow model{program};
  std::unique_ptr<pg::ui::MainWindowView> view;

  Club() {
    const QString root = dir.path() + "/";
    pg::StartUp(model, root.toStdString());
    program.context.Parameters.LastUpdated = "10 September 2006 ";
    program.context.NoUpdateYet = false;
    QDir().mkpath(root + "RES2006");
    for (int day : {11, 12, 20}) {
      pg::test::SessionPlan plan;
      plan.date = pg::MakeDate(2006, 9, static_cast<unsigned>(day));
      plan.players = {"Ann Ash"};
      // The other players are visitors with the handicaps the file stores: nobody is asked.
      plan.wantHandicaps = 1;
      pg::test::WriteSession((root + QStringLiteral("RES2006/09%1S1.AFT").arg(day)).toStdString(),
                             plan);
    }
    pg::test::WriteBytes((root + "Membersh.dat").toStdString(),
                         "1,11,01/09/06\r\n1,Ann,Ash,,,,0,,,,\r\n");
    pg::ui::RegisterUpdateWindow(windows, program);
    view = std::make_unique<pg::ui::MainWindowView>(model);
    view->show();
  }
};

QStringList Lines(QListWidget* list) {
  QStringList out;
  for (int row = 0; row < list->count(); ++row)
    out << list->item(row)->text();
  return out;
}

void ClickLine(QListWidget* list, int row) {
  const QRect rect = list->visualItemRect(list->item(row));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
}

}  // namespace

class UpdateViewTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
    pg::ui::test::GiveTheProgramAnIcon();
  }

  void movesBothWaysByClickingAndUpdateOpensTheReviewOverTheMainWindow() {
    Club club;
    bool updateWindowShownUnderReview = true;
    club.windows.Register(pg::WindowId::Review, [&] {
      QWidget* update = nullptr;
      for (QWidget* w : QApplication::allWidgets()) {
        if (w->objectName() == QStringLiteral("frmUpdate")) update = w;
      }
      updateWindowShownUnderReview = update == nullptr || update->isVisible();
    });

    DialogScript script;
    script.Then<QDialog>([&](QDialog* w) {
      QCOMPARE(w->objectName(), QStringLiteral("frmUpdate"));
      QCOMPARE(w->windowTitle(), QStringLiteral("Update Handicaps"));
      auto* used = w->findChild<QListWidget*>(QStringLiteral("lstFiles0"));
      auto* ignored = w->findChild<QListWidget*>(QStringLiteral("lstFiles1"));
      auto* toUsed = w->findChild<QPushButton*>(QStringLiteral("cmdAdd0"));
      auto* toIgnored = w->findChild<QPushButton*>(QStringLiteral("cmdAdd1"));
      auto* info = w->findChild<QLabel*>(QStringLiteral("lblDay"));
      auto* update = w->findChild<QPushButton*>(QStringLiteral("cmdOK"));
      QVERIFY(used && ignored && toUsed && toIgnored && info && update);
      QCOMPARE(Lines(used), QStringList({"01. 11 September 2006 - Monday afternoon",
                                         "02. 12 September 2006 - Tuesday afternoon"}));
      QCOMPARE(Lines(ignored), QStringList({"03. 20 September 2006 - Wednesday afternoon"}));
      QVERIFY(toIgnored->isVisible());
      QVERIFY(!toUsed->isVisible());
      QVERIFY(info->text().startsWith(QStringLiteral("Club Pairs\nMonday 11 September 2006\n")));
      QVERIFY(update->isEnabled());
      VERIFY_FINISHED(w);
      // The description is read out as it shows.
      QCOMPARE(info->accessibleName(), info->text().simplified());

      // Monday goes to the end of the ignored list, and the next line is described.
      QTest::mouseClick(toIgnored, Qt::LeftButton);
      QCOMPARE(Lines(used), QStringList({"02. 12 September 2006 - Tuesday afternoon"}));
      QCOMPARE(Lines(ignored).last(), QStringLiteral("01. 11 September 2006 - Monday afternoon"));
      QVERIFY(info->text().contains(QStringLiteral("Tuesday 12 September 2006")));

      // A click in the ignored list shows the button back, and Monday comes back last.
      ClickLine(ignored, 1);
      QVERIFY(toUsed->isVisible());
      QVERIFY(!toIgnored->isVisible());
      QCOMPARE(used->currentRow(), -1);
      QTest::mouseClick(toUsed, Qt::LeftButton);
      QCOMPARE(Lines(used), QStringList({"02. 12 September 2006 - Tuesday afternoon",
                                         "01. 11 September 2006 - Monday afternoon"}));
      QCOMPARE(Lines(ignored), QStringList({"03. 20 September 2006 - Wednesday afternoon"}));

      QTest::mouseClick(update, Qt::LeftButton);
    });
    script.Start();
    QTest::mouseClick(club.view->findChild<QPushButton*>(QStringLiteral("cmdUpdate")),
                      Qt::LeftButton);
    QVERIFY(script.Finished());
    QVERIFY(!updateWindowShownUnderReview);

    const pg::UpdateOutputs& out = club.program.outputs;
    QCOMPARE(out.SessionCount, short{2});
    QCOMPARE(out.SessionLabels(0), std::string("Tue 12/09/06 aft"));
    QCOMPARE(out.SessionLabels(1), std::string("Mon 11/09/06 aft"));
    QCOMPARE(out.LastSessionDate, std::optional<pg::Date>(pg::MakeDate(2006, 9, 12)));
    // Nothing is saved before the review window saves: the status line still shows the last.
    QCOMPARE(club.view->findChild<QLabel*>(QStringLiteral("lblMess"))->text(),
             QStringLiteral("Handicaps last updated using sessions up to and including \n"
                            "Sunday 10 Sep 2006"));
  }

  // With nothing usable the ignored list's first line is current but not described; a click on
  // it describes it, as on any other line.
  void aClickOnTheCurrentLineDescribesIt() {
    Club club;
    club.program.context.Parameters.LastUpdated = "19 September 2006 ";
    DialogScript script;
    script.Then<QDialog>([&](QDialog* w) {
      auto* ignored = w->findChild<QListWidget*>(QStringLiteral("lstFiles1"));
      auto* info = w->findChild<QLabel*>(QStringLiteral("lblDay"));
      QCOMPARE(ignored->currentRow(), 0);
      QCOMPARE(info->text(), QStringLiteral("No previous scores found"));
      ClickLine(ignored, 0);
      QVERIFY(info->text().contains(QStringLiteral("Wednesday 20 September 2006")));
      QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("cmdCancel")), Qt::LeftButton);
    });
    script.Start();
    QTest::mouseClick(club.view->findChild<QPushButton*>(QStringLiteral("cmdUpdate")),
                      Qt::LeftButton);
    QVERIFY(script.Finished());
  }

  // However the mouse or the keys reach a line of the list to be used, the line highlighted is
  // the one described and the one "Move ---- >" moves. A gesture is read as p(ress), m(ove to)
  // and r(elease) on a line's number or x (below the lists), or "down" for the arrow key; the
  // mouse goes through the window, as the window system's does.
  void theLineHighlightedIsTheLineDescribedAndMoved_data() {
    QTest::addColumn<QString>("gesture");
    QTest::addColumn<int>("row");
    QTest::newRow("pressed") << "p1 r1" << 1;
    QTest::newRow("dragged to the next") << "p0 m1 r1" << 1;
    QTest::newRow("dragged back") << "p1 m0 r0" << 0;
    QTest::newRow("released elsewhere") << "p0 m1 mx rx" << 1;
    QTest::newRow("arrow key") << "down" << 1;
  }
  void theLineHighlightedIsTheLineDescribedAndMoved() {
    QFETCH(QString, gesture);
    QFETCH(int, row);
    Club club;
    DialogScript script;
    script.Then<QDialog>([&](QDialog* w) {
      QVERIFY(QTest::qWaitForWindowExposed(w));
      auto* used = w->findChild<QListWidget*>(QStringLiteral("lstFiles0"));
      auto* ignored = w->findChild<QListWidget*>(QStringLiteral("lstFiles1"));
      auto* info = w->findChild<QLabel*>(QStringLiteral("lblDay"));
      const QStringList days{"Monday 11 September 2006", "Tuesday 12 September 2006"};
      for (const QString& step : gesture.split(QLatin1Char(' '))) {
        if (step == QLatin1String("down")) {
          QTest::keyClick(used, Qt::Key_Down);
          continue;
        }
        const QPoint at =
            step[1] == QLatin1Char('x')
                ? info->mapTo(w, info->rect().center())
                : used->viewport()->mapTo(
                      w, used->visualItemRect(used->item(step.mid(1).toInt())).center());
        if (step[0] == QLatin1Char('p'))
          QTest::mousePress(w->windowHandle(), Qt::LeftButton, {}, at);
        if (step[0] == QLatin1Char('m')) QTest::mouseMove(w->windowHandle(), at);
        if (step[0] == QLatin1Char('r'))
          QTest::mouseRelease(w->windowHandle(), Qt::LeftButton, {}, at);
      }
      QCOMPARE(used->currentRow(), row);
      QVERIFY2(info->text().contains(days[row]), qPrintable(info->text()));
      const QString chosen = used->item(row)->text();
      QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("cmdAdd1")), Qt::LeftButton);
      QCOMPARE(Lines(ignored).last(), chosen);
      QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("cmdCancel")), Qt::LeftButton);
    });
    script.Start();
    QTest::mouseClick(club.view->findChild<QPushButton*>(QStringLiteral("cmdUpdate")),
                      Qt::LeftButton);
    QVERIFY(script.Finished());
  }

  // The whole window from the keyboard: the arrows choose, Alt and a key move and jump between
  // the lists, Tab follows the reading order, and Enter in a list updates.
  void theKeyboardAloneChoosesMovesAndUpdates() {
    Club club;
    bool reviewed = false;
    club.windows.Register(pg::WindowId::Review, [&] { reviewed = true; });
    DialogScript script;
    script.Then<QDialog>([&](QDialog* w) {
      QCOMPARE(w->objectName(), QStringLiteral("frmUpdate"));
      QApplication::setActiveWindow(w);
      QVERIFY(QTest::qWaitForWindowActive(w));
      auto* used = w->findChild<QListWidget*>(QStringLiteral("lstFiles0"));
      auto* ignored = w->findChild<QListWidget*>(QStringLiteral("lstFiles1"));
      QCOMPARE(QApplication::focusWidget(), used);
      QStringList order;
      for (int i = 0; i < 5; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        order << QApplication::focusWidget()->objectName();
      }
      QCOMPARE(order, QStringList({"cmdAdd1", "lstFiles1", "cmdOK", "cmdCancel", "lstFiles0"}));

      QTest::keyClick(used, Qt::Key_Down);
      QTest::keyClick(w, Qt::Key_M, Qt::AltModifier);  // "Move ---- >": Tuesday is ignored
      QTRY_COMPARE(Lines(used), QStringList({"01. 11 September 2006 - Monday afternoon"}));
      QTest::keyClick(w, Qt::Key_I, Qt::AltModifier);  // into the ignored list
      QCOMPARE(QApplication::focusWidget(), ignored);
      QTest::keyClick(ignored, Qt::Key_End);
      QTest::keyClick(w, Qt::Key_O, Qt::AltModifier);  // "< ---- Move": Tuesday comes back
      QTRY_COMPARE(Lines(used).size(), 2);
      QCOMPARE(Lines(used).last(), QStringLiteral("02. 12 September 2006 - Tuesday afternoon"));
      QTest::keyClick(w, Qt::Key_S, Qt::AltModifier);
      QCOMPARE(QApplication::focusWidget(), used);
      QTest::keyClick(used, Qt::Key_Return);
    });
    script.Start();
    QTest::mouseClick(club.view->findChild<QPushButton*>(QStringLiteral("cmdUpdate")),
                      Qt::LeftButton);
    QVERIFY(script.Finished());
    QVERIFY(reviewed);
    QCOMPARE(club.program.outputs.SessionCount, short{2});
    QCOMPARE(club.program.outputs.SessionLabels(1), std::string("Tue 12/09/06 aft"));
  }
};

QTEST_MAIN(UpdateViewTest)
#include "UpdateViewTest.moc"
