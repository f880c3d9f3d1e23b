#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "DialogScript.h"
#include "TestPorts.h"
#include "shell/StartUp.h"
#include "ui/ParameterEditorView.h"

namespace {

// The real editor on a fresh club folder, shown and active.
struct Fixture : pg::ui::test::TestProgram {
  QTemporaryDir dir;
  pg::MainWindow main{program};
  std::unique_ptr<pg::ParameterEditor> model;
  std::unique_ptr<pg::ui::ParameterEditorView> view;

  Fixture() {
    pg::StartUp(main, dir.path().toStdString() + "/");
    model = std::make_unique<pg::ParameterEditor>(program);
    view = std::make_unique<pg::ui::ParameterEditorView>(*model);
    view->show();
    QApplication::setActiveWindow(view.get());
  }
  template <class W>
  W* Find(const char* name) {
    W* w = view->findChild<W*>(QString::fromLatin1(name));
    if (w == nullptr) qFatal("no control %s", name);
    return w;
  }
  QString Text(const char* label) { return Find<QLabel>(label)->text(); }
  // Clicks into a box, selects what it holds and types over it.
  QLineEdit* TypeInto(const char* name, const char* keys) {
    QLineEdit* box = Find<QLineEdit>(name);
    QTest::mouseClick(box, Qt::LeftButton);
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(box, QString::fromLatin1(keys));
    return box;
  }
};

}  // namespace

class ParameterViewTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
    pg::ui::test::GiveTheProgramAnIcon();
  }

  void everyControlIsNamed() {
    Fixture f;
    QCOMPARE(f.view->objectName(), QStringLiteral("frmParam"));
    QCOMPARE(f.view->windowTitle(), QStringLiteral("Parameters"));
    QCOMPARE(f.Find<QPushButton>("cmdOK")->text(), QStringLiteral("< &Back"));
    VERIFY_FINISHED(f.view.get());
  }

  void typingIntoTheBoxesUpdatesTheExampleAndEnablesSave() {
    Fixture f;
    QVERIFY(QTest::qWaitForWindowActive(f.view.get()));
    QVERIFY(!f.Find<QPushButton>("cmdSave")->isEnabled());
    QLineEdit* gross = f.TypeInto("txtEgGross", "50.73");
    QVERIFY(f.Find<QPushButton>("cmdSave")->isEnabled());
    QCOMPARE(f.Text("lblEgDiff"), QStringLiteral("+6.77"));  // not yet validated
    QTest::keyClick(gross, Qt::Key_Return);
    QCOMPARE(f.Text("lblEgNet"), QStringLiteral("52.73"));
    QCOMPARE(f.Text("lblEgDiff"), QStringLiteral("+1.50"));
    QCOMPARE(f.Text("lblEGAdj"), QStringLiteral("0"));

    // The upper edge takes no minus sign: nothing goes in.
    QLineEdit* upper = f.Find<QLineEdit>("txtDead(1)");
    QTest::mouseClick(upper, Qt::LeftButton);
    QTest::keyClicks(upper, QStringLiteral("-"));
    QCOMPARE(upper->text(), QStringLiteral("+2"));

    // Leaving a box by Tab validates it.
    QTest::keyClick(f.TypeInto("txtRound", "1"), Qt::Key_Tab);
    QTRY_COMPARE(f.Text("lblEgRound"), QStringLiteral("6.00"));
    QCOMPARE(f.Text("lblEgTo(0)"), QStringLiteral("-1.00"));
    QVERIFY(f.Find<QLineEdit>("txtRate(0)")->hasFocus());
  }

  // Text put in by assistive software (no key pressed, so no textEdited) passes the same filter
  // as typing and marks the editor changed; the text the view shows itself marks nothing.
  void textPutInThroughAccessibilityCountsAsTyped() {
    Fixture f;
    QVERIFY(!f.Find<QPushButton>("cmdSave")->isEnabled());
    QLineEdit* gross = f.Find<QLineEdit>("txtEgGross");
    const auto put = [gross](const QString& text) {
      QAccessibleInterface* a = QAccessible::queryAccessibleInterface(gross);
      a->editableTextInterface()->replaceText(0, a->textInterface()->characterCount(), text);
    };
    put(QStringLiteral("50.73"));
    QVERIFY(f.Find<QPushButton>("cmdSave")->isEnabled());
    DialogScript script;
    script.Then<QMessageBox>([](QMessageBox* box) {
      QVERIFY(box->text().startsWith(QStringLiteral("Please enter a number without a sign")));
      box->accept();
    });
    script.Start();
    put(QStringLiteral("5x"));
    QVERIFY(script.Finished());
    QCOMPARE(gross->text(), QStringLiteral("50.73"));
  }

  void escapeWithNothingChangedClosesAtOnce() {
    Fixture f;
    QTest::keyClick(f.Find<QLineEdit>("txtDead(0)"), Qt::Key_Escape);
    QVERIFY(f.model->closed());
    QVERIFY(!f.view->isVisible());
  }
};

QTEST_MAIN(ParameterViewTest)
#include "ParameterViewTest.moc"
