#include <QHeaderView>
#include <QPrinter>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include "DialogScript.h"
#include "PdfText.h"
#include "TestPorts.h"
#include "ui/NearNamesView.h"
#include "ui/QtPorts.h"

namespace {

// The program with two names close to a member, one of them in two sessions, and the names
// window registered as main registers it.
struct Names : pg::ui::test::TestProgram {
  Names() {
    program.nameCheck.names = {
        {"Margret Holloway",
         {"08. 02 March 2026 - Monday afternoon", "10. 09 March 2026 - Monday afternoon"},
         "Margaret Holloway",
         pg::Nearness{.letters = 1}},
        {"Holloway Peter",
         {"12. 14 March 2026 - Saturday afternoon : 3 sections combined"},
         "Peter Holloway",
         pg::Nearness{.swapped = true}}};
    program.nameCheck.lastDay = pg::MakeDate(2026, 3, 30);
    program.nameCheck.goOn = true;
    pg::ui::RegisterNearNamesWindow(windows, program);
  }
  // Opens the window as the update window does, over its busy cursor; `answer` closes it.
  void Show(const std::function<void(QDialog*)>& answer) {
    DialogScript script;
    script.Then<QDialog>([&](QDialog* w) {
      QCOMPARE(w->objectName(), QStringLiteral("frmNames"));
      QVERIFY(QApplication::overrideCursor() == nullptr);
      QApplication::setActiveWindow(w);
      QVERIFY(QTest::qWaitForWindowActive(w));
      answer(w);
    });
    script.Start();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    windows.ShowModal(pg::WindowId::NearNames);
    QVERIFY(QApplication::overrideCursor() != nullptr);
    QApplication::restoreOverrideCursor();
    QVERIFY(script.Finished());
  }
};

QPushButton* Button(QWidget* w, const char* name) {
  return w->findChild<QPushButton*>(QString::fromLatin1(name));
}

}  // namespace

class NearNamesViewTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { pg::ui::test::GiveTheProgramAnIcon(); }

  // Each session of a name on a row of its own, printed as it shows, and Enter continues.
  void listsPrintsAndContinuesWithEnter() {
    Names names;
    QTemporaryDir dir;
    std::optional<QString> printed;
    names.Show([&](QDialog* w) {
      QCOMPARE(w->windowTitle(), QStringLiteral("Names that almost match a member"));
      auto* grid = w->findChild<QTableWidget*>(QStringLiteral("grdNames"));
      QVERIFY(grid != nullptr && w->findChild<QLabel*>(QStringLiteral("lblInfo")) != nullptr);
      QStringList rows;
      for (int r = 0; r < grid->rowCount(); ++r) {
        // A screen reader names every row of a name by the name.
        QStringList cells{grid->verticalHeaderItem(r)->text()};
        for (int c = 0; c < grid->columnCount(); ++c)
          cells << grid->item(r, c)->text();
        rows << cells.join(QLatin1Char('|'));
      }
      QCOMPARE(rows, QStringList({"Margret Holloway|Margret Holloway|08. 02 March 2026 - Monday "
                                  "afternoon|Margaret Holloway|one letter",
                                  "Margret Holloway||10. 09 March 2026 - Monday afternoon||",
                                  "Holloway Peter|Holloway Peter|12. 14 March 2026 - Saturday "
                                  "afternoon : 3 sections combined|Peter Holloway|first name "
                                  "and surname swapped"}));
      QVERIFY(Button(w, "cmdOK")->isDefault());
      VERIFY_FINISHED(w);

      QPrinter printer(QPrinter::HighResolution);
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(dir.filePath(QStringLiteral("names.pdf")));
      printer.setPageOrientation(QPageLayout::Landscape);
      QVERIFY(static_cast<pg::ui::NearNamesView*>(w)->Print(printer));
      QVERIFY(IsPdf(printer.outputFileName()));
      printed = PdfText(printer.outputFileName());

      QCOMPARE(QApplication::focusWidget(), grid);
      QTest::keyClick(grid, Qt::Key_Return);
    });
    QVERIFY(names.program.nameCheck.goOn);
    // Windows has no pdftotext: the Linux run reads the text.
    if (printed) {
      for (const char* part :
           {"Update using sessions up to and including Monday 30 March 2026", "Name as typed",
            "10. 09 March 2026 - Monday afternoon", "surname swapped", "Page 1 of 1"})
        QVERIFY2(printed->contains(QString::fromLatin1(part)), qPrintable(*printed));
    }
  }

  void backEscapeAndClosingAllGoBack() {
    Names names;
    const std::function<void(QDialog*)> ways[] = {
        [](QDialog* w) {
          // The button is pressed a moment later, as a click shows.
          QTest::keyClick(w, Qt::Key_B, Qt::AltModifier);
          QTRY_VERIFY(!w->isVisible());
        },
        [](QDialog* w) { QTest::keyClick(w, Qt::Key_Escape); }, [](QDialog* w) { w->close(); }};
    for (const auto& way : ways) {
      names.program.nameCheck.goOn = true;
      names.Show(way);
      QVERIFY(!names.program.nameCheck.goOn);
    }
  }
};

QTEST_MAIN(NearNamesViewTest)
#include "NearNamesViewTest.moc"
