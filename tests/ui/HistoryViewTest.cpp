#include <QAccessible>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPrinter>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <memory>

#include "DialogScript.h"
#include "PdfText.h"
#include "TestPorts.h"
#include "support/QuietPorts.h"
#include "ui/HistoryView.h"

namespace {

void Write(const std::string& path, const char* bytes) {
  QFile file(QString::fromStdString(path));
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

// The real window on a club with an update from before the history file (less certain) and two
// saved by the program, the saves made with nobody to answer.
struct Fixture : pg::ui::test::TestProgram {
  QTemporaryDir dir;
  std::unique_ptr<pg::HistoryDialog> model;
  std::unique_ptr<pg::ui::HistoryView> view;

  Fixture() {
    pg::test::QuietPorts quiet;
    pg::Context saving(quiet.ports());
    for (pg::Context* c : {&saving, &program.context}) {
      c->SetFolders(dir.path().toStdString() + "/");
      c->ProgramVersion = "1.0";
    }
    QDir().mkpath(QString::fromStdString(saving.HandicapFolder));
    Write(saving.MemberFile,
          " 3 11 01/01/26\r\n1,Ann,Ash,,,F,1.5,,,,\r\n2,Bob,Birch,,,M,0,,,,\r\n"
          "3,Cy,Cedar,,,M,-2,,,,\r\n");
    Write(saving.HandicapFolder + "260105.han", "3\r\n1.5\r\n0.25\r\n-2\r\n");
    saving.Parameters.LastUpdated = "05 January 2026 ";
    for (const auto& [day, move] :
         {std::pair{pg::MakeDate(2026, 2, 9), 1.0}, std::pair{pg::MakeDate(2026, 2, 23), -0.5}}) {
      pg::MemberTable members;
      pg::LoadMembers(members, saving);
      pg::UpdateOutputs outputs;
      outputs.Size(members.MemberCount(), 1);
      outputs.SessionLabels(0) = pg::FormatDate(day, "ddd dd/mm/yy") + " aft";
      outputs.SessionAverages(0, 1) = outputs.SessionAverages(0, 2) = 50;
      for (short m = 1; m <= 3; ++m) {
        members.Member(m).EndHandicap = members.Member(m).StartHandicap + move;
        outputs.PlayedFlags(m) = 1;
        outputs.SessionResults(m, 0) = {true, 0, 48.0F + m, static_cast<float>(move)};
      }
      bool unsaved = true;
      pg::SaveHandicaps(members, saving, day, unsaved, &outputs);
    }
    program.context.Parameters = saving.Parameters;
    model = std::make_unique<pg::HistoryDialog>(program.context);
    view = std::make_unique<pg::ui::HistoryView>(*model);
    view->show();
  }
  template <class W>
  W* Find(const char* name) {
    return view->findChild<W*>(QString::fromLatin1(name));
  }
  QTableView* Members() { return Find<QTableView>("lstMembers"); }
  QTableView* Updates() { return Find<QTableView>("lstUpdates"); }
  QString Cell(QTableView* table, int row, int column) {
    return table->model()->index(row, column).data().toString();
  }
};

}  // namespace

class HistoryViewTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { pg::ui::test::GiveTheProgramAnIcon(); }

  void showsTheMembersAndTheChosenOnesUpdatesNamedForAScreenReader() {
    Fixture f;
    QCOMPARE(f.view->objectName(), QStringLiteral("frmHistory"));
    QCOMPARE(f.view->windowTitle(), QStringLiteral("Handicap History"));
    for (const char* name : {"lblMembers", "lstMembers", "picChart", "lblUpdates", "lstUpdates",
                             "lblNote", "cmdUndo", "cmdPrint", "cmdOK"})
      QVERIFY2(f.Find<QWidget>(name) != nullptr, name);
    QVERIFY(f.Find<QLabel>("lblNote")->isVisible());  // the update from before the history file
    VERIFY_FINISHED(f.view.get());

    QCOMPARE(f.Members()->model()->rowCount(), 3);
    QCOMPARE(f.Members()->model()->headerData(3, Qt::Horizontal).toString(),
             QStringLiteral("Change 23/02/26"));
    QCOMPARE(f.Cell(f.Members(), 0, 2), QStringLiteral("2.00"));
    QCOMPARE(f.Cell(f.Members(), 0, 3), QStringLiteral("-0.50"));
    QWidget* chart = f.Find<QWidget>("picChart");
    QCOMPARE(chart->accessibleName(), QStringLiteral("Handicap of Ann Ash at each update"));
    QCOMPARE(chart->accessibleDescription(),
             QStringLiteral("from 1.50 to 2.00 over 3 updates, Mon 05/01/26 to Mon 23/02/26; "
                            "the club's range is -12.00 to 6.00"));

    // The arrow keys choose a member; the label's key takes the focus to the updates.
    QApplication::setActiveWindow(f.view.get());
    QVERIFY(QTest::qWaitForWindowActive(f.view.get()));
    f.Members()->setFocus();
    QTest::keyClick(f.Members(), Qt::Key_Down);
    QCOMPARE(f.model->chosen(), 1);
    QCOMPARE(chart->accessibleName(), QStringLiteral("Handicap of Bob Birch at each update"));
    QCOMPARE(f.Updates()->model()->rowCount(), 5);  // two updates with a session each, one not
    QCOMPARE(f.Cell(f.Updates(), 1, 4), QStringLiteral("Mon 23/02/26 aft"));
    QCOMPARE(f.Cell(f.Updates(), 4, 8), QStringLiteral("less certain"));
    QCOMPARE(f.Updates()->model()->headerData(5, Qt::Horizontal).toString(),
             QStringLiteral("Net score"));
    QTest::keyClick(f.view.get(), Qt::Key_D, Qt::AltModifier);
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(f.Updates()));
  }

  void undoAsksFirstThenShowsTheHistoryAsItStands() {
    Fixture f;
    DialogScript script;
    script
        .Then<QMessageBox>([](QMessageBox* box) {
          QCOMPARE(box->text(), QStringLiteral("Undo the update using sessions up to and "
                                               "including Monday 23 Feb 2026?"));
          QCOMPARE(box->icon(), QMessageBox::Question);
          QTest::mouseClick(box->button(QMessageBox::Yes), Qt::LeftButton);
        })
        .Then<QMessageBox>([](QMessageBox* box) {
          QVERIFY(box->text().endsWith(QStringLiteral("has been undone.")));
          QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
        });
    script.Start();
    QTest::mouseClick(f.Find<QPushButton>("cmdUndo"), Qt::LeftButton);
    QVERIFY(script.Finished());
    QCOMPARE(f.program.context.Parameters.LastUpdated, std::string("09 February 2026 "));
    QCOMPARE(f.Members()->model()->headerData(3, Qt::Horizontal).toString(),
             QStringLiteral("Change 09/02/26"));
    QCOMPARE(f.Cell(f.Members(), 0, 2), QStringLiteral("2.50"));
    QVERIFY(f.Find<QWidget>("picChart")->accessibleDescription().contains("over 2 updates"));
    VERIFY_FINISHED(f.view.get());
  }

  void printsTheChosenMembersHistoryWithItsChartToPdf() {
    Fixture f;
    DialogScript script;
    if (!ThenPrintDialog(script, "The handicap history could not be printed."))
      QSKIP("Windows' print dialog cannot be answered by a test: run where no printer is set up");
    script.Start();
    QTest::mouseClick(f.Find<QPushButton>("cmdPrint"), Qt::LeftButton);
    QVERIFY(script.Finished());

    const QString pdf = f.dir.filePath(QStringLiteral("history.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setPageSize(QPageSize(QPageSize::A4));
    QVERIFY(f.view->Print(printer));
    QVERIFY(IsPdf(pdf));
    // Windows has no pdftotext: the Linux run reads the text.
    if (const std::optional<QString> read = PdfText(pdf)) {
      const QString& text = *read;
      QVERIFY2(!text.isEmpty(),
               "pdftotext (poppler-utils, installed by scripts/setup) must read the file");
      for (const char* expected : {"Handicap History", "Ann Ash, member 1: handicap now 2.00",
                                   "Net score", "05/01/26", "Page 1 of 1"})
        QVERIFY2(text.contains(QString::fromLatin1(expected)), qPrintable(text));
      QVERIFY(QRegularExpression(QStringLiteral("Mon 23/02/26\\s+2.50\\s+2.00\\s+-0.50"))
                  .match(text)
                  .hasMatch());
      QVERIFY(QRegularExpression(QStringLiteral("Mon 09/02/26 aft\\s+49.00\\s+50.00\\s+\\+1.00"))
                  .match(text)
                  .hasMatch());
    }

    printer.setOutputFileName(f.dir.filePath(QStringLiteral("no such folder/history.pdf")));
    script.Then<QMessageBox>([](QMessageBox* box) {
      QVERIFY(box->text().startsWith(QStringLiteral("The handicap history could not be printed.")));
      QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    });
    QVERIFY(!f.view->Print(printer));
    QVERIFY(script.Finished());
  }
};

QTEST_MAIN(HistoryViewTest)
#include "HistoryViewTest.moc"
