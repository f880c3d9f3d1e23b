#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <memory>

#include "DialogScript.h"
#include "PdfText.h"
#include "TestPorts.h"
#include "review/Members.h"
#include "support/QuietPorts.h"
#include "ui/TrialView.h"
#include "update/UpdateRun.h"

namespace {

// Answers as the sample club's secretary: 3 for its visitor, Yes to saving.
class Secretary : public pg::AnsweringDialogs {
 public:
  std::optional<std::string> Prompt(const std::string&, const std::string&,
                                    const std::string&) override {
    return std::string("3");
  }
};

// The real window on a copy of the sample club with February's and March's updates saved by the
// program's own run and save.
struct Fixture : pg::ui::test::TestProgram {
  QTemporaryDir dir;
  std::unique_ptr<pg::TrialDialog> model;
  std::unique_ptr<pg::ui::TrialView> view;

  Fixture() {
    QDirIterator it(QStringLiteral(PG_SAMPLE_CLUB), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
      const QString file = it.next();
      const QString copy =
          dir.filePath(QDir(QStringLiteral(PG_SAMPLE_CLUB)).relativeFilePath(file));
      QDir().mkpath(QFileInfo(copy).path());
      QFile::copy(file, copy);
    }
    Secretary secretary;
    pg::NoWindows windows;
    pg::DefaultSettings settings;
    struct : pg::Clock {
      pg::Date Today() override { return today; }
      pg::LocalTime Now() override { return {today, 12 * 60}; }
      pg::Date today = pg::MakeDate(2026, 3, 3);
    } clock;
    pg::ui::QtClubLocks locks;
    pg::Context saving(pg::Ports{secretary, windows, settings, clock, locks});
    for (pg::Context* c : {&saving, &program.context}) {
      c->SetFolders(dir.path().toStdString() + "/");
      c->ProgramVersion = "1.0";
    }
    QDir().mkpath(QString::fromStdString(saving.HandicapFolder));
    pg::Date start = pg::MakeDate(2026, 2, 1);
    for (const pg::Date today : {pg::MakeDate(2026, 3, 3), pg::MakeDate(2026, 4, 20)}) {
      clock.today = today;
      pg::Session session;
      pg::CatalogueLists lists;
      pg::GetOldFiles(session, saving, start, lists);
      pg::MemberTable members;
      pg::UpdateOutputs outputs;
      pg::UpdateRun run(saving, session, members, outputs);
      std::string info;
      QVERIFY(pg::RunUpdate(run, lists[0], info));
      bool unsaved = true;
      QVERIFY(pg::SaveHandicaps(members, saving, *outputs.LastSessionDate, unsaved, &outputs) ==
              pg::SaveOutcome::Saved);
      start = *outputs.LastSessionDate + std::chrono::days{1};
    }
    program.context.Parameters = saving.Parameters;
    model = std::make_unique<pg::TrialDialog>(program);
    view = std::make_unique<pg::ui::TrialView>(*model);
    view->show();
    view->Load();
  }
  template <class W>
  W* Find(const char* name) {
    return view->findChild<W*>(QString::fromLatin1(name));
  }
  QTableView* Members() { return Find<QTableView>("grdMembers"); }
  QString Cell(int row, int column) {
    return Members()->model()->index(row, column).data().toString();
  }
};

}  // namespace

class TrialViewTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { pg::ui::test::GiveTheProgramAnIcon(); }

  void replaysTheSampleAndTakesATrialTypedIntoItsBoxes() {
    Fixture f;
    QCOMPARE(f.view->objectName(), QStringLiteral("frmTrial"));
    QCOMPARE(f.view->windowTitle(), QStringLiteral("Try parameters"));
    for (const char* name : {"cboFrom", "cboTo", "txtDead(0)", "txtMaxAdj(1)", "lblSaved(0)",
                             "lblCheck", "lblFairness", "lblDefinition", "grdMembers", "picChart",
                             "lstNotes", "cmdUse", "cmdPrint", "cmdOK"})
      QVERIFY2(f.Find<QWidget>(name) != nullptr, name);
    QVERIFY(f.Find<QLineEdit>("txtCorrection") == nullptr);
    VERIFY_FINISHED(f.view.get());
    QCOMPARE(f.Find<QLabel>("lblCheck")->text(),
             QStringLiteral("Self-check: replayed as saved, all 68 handicaps after the 2 updates "
                            "are as the history has them."));
    QCOMPARE(f.Find<QComboBox>("cboFrom")->currentText(), QStringLiteral("Mon 23/02/26"));
    QCOMPARE(f.Members()->model()->rowCount(), 34);
    const QString trialEnd = f.Cell(0, 7);
    QCOMPARE(f.Find<QWidget>("picChart")->accessibleName(),
             QStringLiteral("Handicap of Margaret Holloway at each update, as saved and on trial"));

    // The boxes take keys by the parameter editor's rules, and leaving one replays.
    QApplication::setActiveWindow(f.view.get());
    QVERIFY(QTest::qWaitForWindowActive(f.view.get()));
    QLineEdit* dead = f.Find<QLineEdit>("txtDead(1)");
    dead->setFocus();
    dead->selectAll();
    QTest::keyClicks(dead, QStringLiteral("-+1"));  // the minus is refused
    QCOMPARE(dead->text(), QStringLiteral("+1"));
    QTest::keyClick(dead, Qt::Key_Tab);
    QTRY_VERIFY(f.Cell(0, 7) != trialEnd);
    QCOMPARE(f.model->trial().DeadZone[1], 1.0);
    QTest::keyClick(f.view.get(), Qt::Key_M, Qt::AltModifier);
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(f.Members()));
    QTest::keyClick(f.Members(), Qt::Key_Down);
    QCOMPARE(f.model->chosen(), 1);
    QVERIFY(f.Find<QWidget>("picChart")->accessibleName().contains("Peter Holloway"));
    VERIFY_FINISHED(f.view.get());
  }

  void useTheseParametersGoesThroughThePassword() {
    Fixture f;
    bool asked = false;
    std::optional<pg::HandicapParameters> handed;
    for (const pg::WindowId id : {pg::WindowId::Password, pg::WindowId::NewPassword})
      f.windows.Register(id, [&] {
        asked = true;
        f.program.context.Cancelled = false;
      });
    f.windows.Register(pg::WindowId::Parameters, [&] { handed = f.program.editorParameters; });
    QApplication::setActiveWindow(f.view.get());
    QVERIFY(QTest::qWaitForWindowActive(f.view.get()));
    QLineEdit* rate = f.Find<QLineEdit>("txtRate(0)");
    rate->setFocus();
    rate->selectAll();
    QTest::keyClicks(rate, QStringLiteral("0.25"));
    QTest::mouseClick(f.Find<QPushButton>("cmdUse"), Qt::LeftButton);
    QVERIFY(asked && handed);
    QCOMPARE(handed->AdjustRate[0], 0.25);
    QVERIFY(!f.program.editorParameters);
    QVERIFY(f.view->isVisible());
  }

  void printsTheFiguresTheChartAndTheMembersToPdf() {
    Fixture f;
    DialogScript script;
    if (!ThenPrintDialog(script, "The trial could not be printed."))
      QSKIP("Windows' print dialog cannot be answered by a test: run where no printer is set up");
    script.Start();
    QTest::mouseClick(f.Find<QPushButton>("cmdPrint"), Qt::LeftButton);
    QVERIFY(script.Finished());

    const QString pdf = f.dir.filePath(QStringLiteral("trial.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Landscape);
    QVERIFY(f.view->Print(printer));
    QVERIFY(IsPdf(pdf));
    if (const std::optional<QString> read = PdfText(pdf)) {
      QVERIFY2(!read->isEmpty(), "pdftotext must read the file");
      for (const char* expected :
           {"Try parameters", "The updates of Mon 23/02/26 to Mon 30/03/26",
            "Dead zone from: as saved -2, trial -2", "Fairness: as saved 2.33, trial 2.35",
            "Margaret Holloway", "Page 1 of"})
        QVERIFY2(read->contains(QString::fromLatin1(expected)), qPrintable(*read));
    }
  }
};

QTEST_MAIN(TrialViewTest)
#include "TrialViewTest.moc"
