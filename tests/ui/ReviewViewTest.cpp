#include <QAccessible>
#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTableView>
#include <QTemporaryDir>
#include <memory>

#include "DialogScript.h"
#include "PdfText.h"
#include "TestPorts.h"
#include "ui/QtPorts.h"
#include "ui/ReviewView.h"

namespace {

class FixedClock : public pg::Clock {
 public:
  pg::Date Today() override { return pg::MakeDate(2013, 7, 20); }
  pg::LocalTime Now() override { return {Today(), 12 * 60}; }
};

// Ending the program ends the test as a failure instead of quietly with status 0.
using TestDialogs = pg::ui::test::TestProgram::Dialogs;

constexpr short kMembers = 80;

// The real window over two sessions on a fresh folder: 80 members, enough for two printed
// pages, of whom member 2 did not play.
struct Fixture {
  QTemporaryDir dir;
  TestDialogs dialogs;
  pg::ui::QtWindows windows;
  pg::ui::QtSettingsStore settings;
  FixedClock clock;
  pg::ui::QtClubLocks locks;
  pg::Context context{pg::Ports{dialogs, windows, settings, clock, locks}};
  pg::MemberTable members;
  pg::UpdateOutputs outputs;
  std::unique_ptr<pg::ReviewDialog> model;
  std::unique_ptr<pg::ui::ReviewView> view;

  Fixture() {
    context.SetFolders(dir.path().toStdString() + "/");
    QDir().mkpath(QString::fromStdString(context.HandicapFolder));
    QFile file(QString::fromStdString(context.MemberFile));
    file.open(QIODevice::WriteOnly);
    file.write(" 80,11,25/06/13\r\n101,Jane,Smith,,,F,-1.5,Y,,,\r\n");
    for (int m = 2; m <= kMembers; ++m)
      file.write(
          QStringLiteral("%1,First%1,Surname%1,,,F,%2,Y,,,\r\n").arg(m).arg(m % 7).toLatin1());
    file.close();
    pg::LoadMembers(members, context);
    outputs.Size(kMembers, 2);
    outputs.SessionLabels(0) = "Mon 01/07/13 aft";
    outputs.SessionLabels(1) = "Fri 05/07/13 eve";
    outputs.SessionAverages(0, 1) = outputs.SessionAverages(0, 2) = 50;
    outputs.SessionAverages(1, 1) = 52.4;
    outputs.SessionAverages(1, 2) = 47.6;
    outputs.LastSessionDate = pg::MakeDate(2013, 7, 5);
    for (short m = 1; m <= kMembers; ++m) {
      members.Member(m).EndHandicap = members.Member(m).StartHandicap - 0.5;
      outputs.PlayedFlags(m) = m != 2;
      outputs.SessionResults(m, 0) = {m != 2, 0, 40.0F + m * 0.25F, -0.5F};
      if (m % 3 == 0) outputs.SessionResults(m, 1) = {true, 2, 45.0F, 0.25F};
    }
    model = std::make_unique<pg::ReviewDialog>(context, members, outputs);
    view = std::make_unique<pg::ui::ReviewView>(*model);
    view->show();
  }
  template <class W>
  W* Find(const char* name) {
    return view->findChild<W*>(QString::fromLatin1(name));
  }
  QTableView* Grid() { return Find<QTableView>("flex"); }
  QString Cell(int row, int column) {
    return Grid()->model()->index(row, column).data().toString();
  }
  void Click(int row, int column) {
    const QRect rect = Grid()->visualRect(Grid()->model()->index(row, column));
    QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, {}, rect.center());
  }
};

}  // namespace

class ReviewViewTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { pg::ui::test::GiveTheProgramAnIcon(); }

  void controlsMergedHeadingsAndWidths() {
    Fixture f;
    QCOMPARE(f.view->objectName(), QStringLiteral("frmPrint"));
    QCOMPARE(f.view->windowTitle(), QStringLiteral("Handicap Changes"));
    for (const char* name : {"Label1", "lblSort", "cmdSave", "cmdOK", "cmdPrint", "flex"})
      QVERIFY2(f.Find<QWidget>(name) != nullptr, name);
    QCOMPARE(f.Find<QPushButton>("cmdOK")->text(), QStringLiteral("< &Back"));
    VERIFY_FINISHED(f.view.get());
    // Enter belongs to the grid's current cell, so no button is the default.
    for (QPushButton* b : f.view->findChildren<QPushButton*>())
      QVERIFY2(!b->isDefault() && !b->autoDefault(), qPrintable(b->objectName()));

    QTableView* grid = f.Grid();
    QCOMPARE(grid->model()->rowCount(), 3 + kMembers - 1);
    QCOMPARE(f.Cell(2, 6), QStringLiteral("ns52.40 ew47.60"));
    for (int row : {1, 2})
      for (int column : {0, 4, 6})
        QCOMPARE(grid->columnSpan(row, column), column == 0 ? 1 : 2);
    QCOMPARE(grid->columnSpan(0, 4), 1);
    QCOMPARE(grid->currentIndex(), grid->model()->index(3, 2));
    // At least the columns' twips, and wide enough for every text they hold.
    const int twips[] = {550, 1600, 720, 720, 800, 700, 800, 700};
    const double dpi = f.view->screen()->logicalDotsPerInchX();
    const QFontMetrics metrics(grid->font());
    for (int c = 0; c < 8; ++c) {
      QVERIFY(grid->columnWidth(c) >= qRound(twips[c] * dpi / 1440));
      for (int r = 3; r < grid->model()->rowCount(); ++r)
        QVERIFY(metrics.horizontalAdvance(f.Cell(r, c)) < grid->columnWidth(c));
    }
  }

  // A screen reader names a cell by its column's heading and session, and by the member's row.
  void cellsAreNamedByTheirHeadingsAndMember() {
    Fixture f;
    QAccessibleTableInterface* table =
        QAccessible::queryAccessibleInterface(f.Grid())->tableInterface();
    QVERIFY(table != nullptr);
    struct Expected {
      int row, column;
      QString text, columnName, rowName;
    };
    const Expected cells[] = {
        {3, 1, "Smith, Jane", "Name", "1 Smith, Jane"},
        {3, 3, "-2.00", "End h/c", "1 Smith, Jane"},
        {4, 4, "40.75", "h/c % Mon 01/07/13 aft", "3 Surname3, First3"},
        {4, 7, "0.25", "adj Fri 05/07/13 eve", "3 Surname3, First3"},
        {1, 6, "Fri 05/07/13 eve", "h/c % Fri 05/07/13 eve", ""},
    };
    for (const Expected& e : cells) {
      QAccessibleInterface* cell = table->cellAt(e.row, e.column);
      QVERIFY(cell != nullptr && cell->tableCellInterface() != nullptr);
      QCOMPARE(cell->text(QAccessible::Name), e.text);
      // Made for the caller, who deletes them (through the cache: their destructor is not
      // public).
      const auto columnHeaders = cell->tableCellInterface()->columnHeaderCells();
      const QString columnName =
          columnHeaders.size() == 1 ? columnHeaders.first()->text(QAccessible::Name) : QString();
      for (QAccessibleInterface* header : columnHeaders)
        QAccessible::deleteAccessibleInterface(QAccessible::registerAccessibleInterface(header));
      QCOMPARE(columnName, e.columnName);
      QCOMPARE(f.Grid()->model()->headerData(e.row, Qt::Vertical).toString(), e.rowName);
    }
    // Sorted, the names go with the rows.
    f.Click(0, 1);
    QCOMPARE(f.Grid()->model()->headerData(3, Qt::Vertical).toString(),
             QStringLiteral("1 Smith, Jane"));
    QCOMPARE(f.Grid()->model()->headerData(4, Qt::Vertical).toString(),
             QStringLiteral("10 Surname10, First10"));
  }

  void clicksSortHighlightAndEditThroughThePrompt() {
    Fixture f;
    f.Click(0, 2);  // start h/c ascending: member 1's -1.50, then the 0s in member order
    QCOMPARE(f.Cell(3, 0) + f.Cell(4, 0), QStringLiteral("17"));
    QCOMPARE(f.Find<QLabel>("lblSort")->text(),
             QStringLiteral("CLICK AGAIN TO REVERSE THE SORT ORDER"));
    f.Click(0, 2);
    QCOMPARE(f.Cell(3, 2), QStringLiteral("6.00"));
    f.Click(4, 1);
    QCOMPARE(f.Grid()->model()->index(4, 5).data(Qt::BackgroundRole).value<QColor>(),
             QColor(255, 255, 162));
    QVERIFY(!f.Grid()->model()->index(3, 5).data(Qt::BackgroundRole).isValid());

    DialogScript script;
    script.Then<QInputDialog>([](QInputDialog* prompt) {
      QCOMPARE(prompt->windowTitle(), QStringLiteral("Update Handicap"));
      QCOMPARE(prompt->labelText(), QStringLiteral("New handicap for First6 Surname6"));
      QCOMPARE(prompt->textValue(), QStringLiteral("5.5"));
      Type(prompt, "1.5");
    });
    script.Start();
    f.Click(3, 3);
    QVERIFY(script.Finished());
    QCOMPARE(f.Cell(3, 3), QStringLiteral("1.50"));
    QCOMPARE(*f.members.Member(6).EndHandicap, 1.5);
  }

  void everyWayOfClosingAsksWhileUnsaved() {
    Fixture f;
    DialogScript script;
    auto answer = [](QMessageBox::StandardButton button) {
      return [button](QMessageBox* box) {
        QCOMPARE(box->text(), QStringLiteral("Do you want to save the new handicaps?"));
        QTest::mouseClick(box->button(button), Qt::LeftButton);
      };
    };
    script.Then<QMessageBox>(answer(QMessageBox::Cancel))
        .Then<QMessageBox>(answer(QMessageBox::No));
    script.Start();
    f.view->close();  // the title bar's close button
    QVERIFY(f.view->isVisible());
    QTest::mouseClick(f.Find<QPushButton>("cmdOK"), Qt::LeftButton);
    QVERIFY(script.Finished());
    QVERIFY(!f.view->isVisible());
    QVERIFY(f.context.Parameters.LastUpdated.empty());
  }

  void printsEveryMemberRowToPdfWithTheHeadingsOnEachPage() {
    Fixture f;
    DialogScript script;
    if (!ThenPrintDialog(script, "The handicap changes could not be printed."))
      QSKIP("Windows' print dialog cannot be answered by a test: run where no printer is set up");
    script.Start();
    QTest::mouseClick(f.Find<QPushButton>("cmdPrint"), Qt::LeftButton);
    QVERIFY(script.Finished());

    f.Click(0, 1);  // printed as sorted
    const QString pdf = f.dir.filePath(QStringLiteral("changes.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setPageSize(QPageSize(QPageSize::A4));
    QVERIFY(f.view->Print(printer));
    QVERIFY(IsPdf(pdf));

    // A file that cannot be written is said, not passed over.
    printer.setOutputFileName(f.dir.filePath(QStringLiteral("no such folder/changes.pdf")));
    script.Then<QMessageBox>([](QMessageBox* box) {
      QVERIFY(box->text().startsWith(QStringLiteral("The handicap changes could not be printed.")));
      QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    });
    QVERIFY(!f.view->Print(printer));
    QVERIFY(script.Finished());

    const std::optional<QString> read = PdfText(pdf);
    if (!read) return;  // Windows: the Linux run reads the text
    const QString& text = *read;
    QVERIFY2(!text.isEmpty(), "pdftotext (poppler-utils, installed by scripts/setup) must read it");
    QVERIFY(text.contains(
        QStringLiteral("Update using sessions up to and including Friday 05 July 2013")));
    const qsizetype pages = text.count(QStringLiteral("Start h/c"));
    QVERIFY2(pages >= 2, qPrintable(text));
    QCOMPARE(text.count(QStringLiteral("ns52.40 ew47.60")), pages);
    QVERIFY(text.contains(QStringLiteral("Page %1 of %1").arg(pages)));

    // Each member row's cells, in the grid's order, on one line.
    const QStringList lines = text.split(QLatin1Char('\n'));
    qsizetype lastLine = -1;
    for (int r = 3; r < f.Grid()->model()->rowCount(); ++r) {
      QStringList cells;
      for (int c = 0; c < 8; ++c)
        if (!f.Cell(r, c).isEmpty()) cells << QRegularExpression::escape(f.Cell(r, c));
      const qsizetype found =
          lines.indexOf(QRegularExpression("^\\s*" + cells.join("\\s+") + "\\s*$"));
      QVERIFY2(found > lastLine, qPrintable(cells.join(QLatin1Char(' '))));
      lastLine = found;
    }
  }
};

QTEST_MAIN(ReviewViewTest)
#include "ReviewViewTest.moc"
