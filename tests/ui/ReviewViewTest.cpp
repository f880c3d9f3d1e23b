#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

#include "review/ReviewDialog.h"
#include "ui/QtPorts.h"
#include "ui/ReviewView.h"

namespace {

class FixedClock : public pg::Clock {
 public:
  pg::Date Today() override { return pg::MakeDate(2013, 7, 20); }
};

class TestDialogs : public pg::ui::QtDialogs {
 public:
  [[noreturn]] void EndProgram() override { qFatal("the program ended"); }
};

constexpr short kMembers = 80;

// The real window over a run of two sessions on a fresh folder: 80 members, enough for two
// printed pages, of whom member 2 did not play.
struct Fixture {
  QTemporaryDir dir;
  TestDialogs dialogs;
  pg::ui::QtWindows windows;
  pg::ui::QtSettingsStore settings;
  FixedClock clock;
  pg::Context context{pg::Ports{dialogs, windows, settings, clock}};
  pg::MemberTable members;
  pg::UpdateOutputs outputs;
  std::unique_ptr<pg::ReviewDialog> model;
  std::unique_ptr<pg::ui::ReviewView> view;

  Fixture() {
    context.SetFolders(dir.path().toStdString() + "/");
    context.ProgramVersion = "1.0";
    QDir().mkpath(QString::fromStdString(context.HandicapFolder));
    QFile file(QString::fromStdString(context.MemberFile));
    file.open(QIODevice::WriteOnly);
    file.write(QByteArray(" ") + QByteArray::number(kMembers) + ",11,25/06/13\r\n");
    file.write("101,Jane,Smith,,,F,-1.5,Y,,,\r\n");
    for (int m = 2; m <= kMembers; ++m)
      file.write(QStringLiteral("%1,First%1,Surname%1,,,F,%2,Y,,,\r\n")
                     .arg(m + 100)
                     .arg(m % 7)
                     .toLatin1());
    file.close();
    pg::LoadMembers(members, context);
    outputs.Size(members.MemberCount(), 2);
    outputs.SessionLabels(0) = "Mon 01/07/13 aft";
    outputs.SessionLabels(1) = "Fri 05/07/13 eve";
    outputs.SessionAverages(0, 1) = outputs.SessionAverages(0, 2) = 50;
    outputs.SessionAverages(1, 1) = 52.4;
    outputs.SessionAverages(1, 2) = 47.6;
    outputs.LastSessionDate = pg::MakeDate(2013, 7, 5);
    for (short m = 1; m <= kMembers; ++m) {
      members.Member(m).EndHandicap = members.Member(m).StartHandicap - 0.5;
      if (m == 2) continue;
      outputs.PlayedFlags(m) = 1;
      outputs.SessionResults(m, 0) = {true, 0, 40.0F + m * 0.25F, -0.5F};
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
    QTableView* grid = Grid();
    const QRect rect = grid->visualRect(grid->model()->index(row, column));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, rect.center());
  }
};

// Answers the modal dialogs the window opens, one step per dialog, in order; a dialog that is
// not the one expected is closed, so the test fails rather than waits.
class DialogScript {
 public:
  template <class D>
  DialogScript& Then(std::function<void(D*)> act) {
    steps_.push_back([act](QWidget* w) {
      D* d = qobject_cast<D*>(w);
      if (d != nullptr) act(d);
      return d != nullptr;
    });
    return *this;
  }
  void Start() {
    QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
    timer_.start(10);
  }
  bool Finished() const { return next_ == steps_.size() && !failed_; }

 private:
  void Tick() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || !modal->isVisible()) return;
    if (!failed_ && next_ < steps_.size() && steps_[next_](modal) && !QTest::currentTestFailed()) {
      ++next_;
      return;
    }
    failed_ = true;
    if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->done(QDialog::Rejected);
  }
  std::vector<std::function<bool(QWidget*)>> steps_;
  size_t next_ = 0;
  bool failed_ = false;
  QTimer timer_;
};

}  // namespace

class ReviewViewTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

  void controlsHeadingsAndMergedCells() {
    Fixture f;
    QCOMPARE(f.view->objectName(), QStringLiteral("frmPrint"));
    QCOMPARE(f.view->windowTitle(), QStringLiteral("Handicap Changes"));
    const std::pair<const char*, QString> controls[] = {
        {"Label1", "Click on a name to highlight that member. Click on a handicap to alter it."},
        {"lblSort", "SORT BY CLICKING ON COLUMN HEADER"},
        {"cmdSave", "Save"},
        {"cmdOK", "< Back"},
        {"cmdPrint", "Print..."},
    };
    for (const auto& [name, text] : controls) {
      QWidget* w = f.Find<QWidget>(name);
      QVERIFY2(w != nullptr, name);
      QCOMPARE(w->property("text").toString(), text);
    }
    for (QWidget* w : f.view->findChildren<QWidget*>()) {
      if (!w->isVisible() || w->parentWidget() != f.view.get()) continue;
      QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
      QVERIFY2(a != nullptr && !a->text(QAccessible::Name).isEmpty(), qPrintable(w->objectName()));
    }

    QTableView* grid = f.Grid();
    QVERIFY(grid != nullptr);
    QCOMPARE(grid->model()->rowCount(), 3 + kMembers - 1);
    QCOMPARE(grid->model()->columnCount(), 8);
    QCOMPARE(f.Cell(0, 0), QStringLiteral("No."));
    QCOMPARE(f.Cell(1, 6), QStringLiteral("Fri 05/07/13 eve"));
    QCOMPARE(f.Cell(2, 6), QStringLiteral("ns52.40 ew47.60"));
    for (int row : {1, 2})
      for (int session : {4, 6}) {
        QCOMPARE(grid->columnSpan(row, session), 2);
        QCOMPARE(grid->columnSpan(row, 0), 1);
      }
    QCOMPARE(grid->columnSpan(0, 4), 1);
    QCOMPARE(grid->currentIndex(), grid->model()->index(3, 2));
    const double dpi = f.view->screen()->logicalDotsPerInchX();
    // Columns are at least as wide as their twips, and wide enough for every text they hold.
    const int twips[] = {550, 1600, 720, 720, 800, 700, 800, 700};
    const QFontMetrics metrics(grid->font());
    for (int c = 0; c < 8; ++c) {
      QVERIFY(grid->columnWidth(c) >= qRound(twips[c] * dpi / 1440));
      for (int r = 3; r < grid->model()->rowCount(); ++r)
        QVERIFY(metrics.horizontalAdvance(f.Cell(r, c)) < grid->columnWidth(c));
    }
    QVERIFY(metrics.horizontalAdvance(f.Cell(1, 4)) < grid->columnWidth(4) + grid->columnWidth(5));
  }

  void aHeadingClickSortsAndANameClickHighlights() {
    Fixture f;
    f.Click(0, 2);  // start h/c ascending: member 1's -1.50, then the 0s in member order
    QCOMPARE(f.Cell(3, 0), QStringLiteral("1"));
    QCOMPARE(f.Cell(4, 0), QStringLiteral("7"));
    QCOMPARE(f.Find<QLabel>("lblSort")->text(),
             QStringLiteral("CLICK AGAIN TO REVERSE THE SORT ORDER"));
    f.Click(0, 2);
    QCOMPARE(f.Cell(3, 2), QStringLiteral("6.00"));
    QCOMPARE(f.Cell(3, 0), QStringLiteral("6"));
    f.Click(4, 1);
    const QModelIndex cell = f.Grid()->model()->index(4, 5);
    QCOMPARE(cell.data(Qt::BackgroundRole).value<QColor>(), QColor(255, 255, 162));
    QVERIFY(!f.Grid()->model()->index(3, 5).data(Qt::BackgroundRole).isValid());
  }

  void aHandicapClickEditsThroughThePrompt() {
    Fixture f;
    DialogScript script;
    script.Then<QInputDialog>([](QInputDialog* prompt) {
      QCOMPARE(prompt->windowTitle(), QStringLiteral("Update Handicap"));
      QCOMPARE(prompt->labelText(), QStringLiteral("New handicap for Jane Smith"));
      QCOMPARE(prompt->textValue(), QStringLiteral("-2"));
      QLineEdit* edit = prompt->findChild<QLineEdit*>();
      QVERIFY(edit != nullptr);
      edit->clear();
      QTest::keyClicks(edit, QStringLiteral("1.5"));
      QTest::keyClick(edit, Qt::Key_Return);
    });
    script.Start();
    f.Click(3, 3);
    QVERIFY(script.Finished());
    QCOMPARE(f.Cell(3, 3), QStringLiteral("1.50"));
    QCOMPARE(*f.members.Member(1).EndHandicap, 1.5);
  }

  void closingAsksWhileUnsavedAndCancelKeepsTheWindow() {
    Fixture f;
    DialogScript script;
    auto answer = [](QMessageBox::StandardButton button) {
      return [button](QMessageBox* box) {
        QCOMPARE(box->text(), QStringLiteral("Do you want to save the new handicaps?"));
        QTest::mouseClick(box->button(button), Qt::LeftButton);
      };
    };
    script.Then<QMessageBox>(answer(QMessageBox::Cancel))
        .Then<QMessageBox>(answer(QMessageBox::Cancel))
        .Then<QMessageBox>(answer(QMessageBox::No));
    script.Start();
    f.view->close();
    QVERIFY(f.view->isVisible());
    QTest::keyClick(f.view.get(), Qt::Key_Escape);
    QVERIFY(f.view->isVisible());
    QTest::mouseClick(f.Find<QPushButton>("cmdOK"), Qt::LeftButton);
    QVERIFY(script.Finished());
    QVERIFY(!f.view->isVisible());
    QVERIFY(f.context.Parameters.LastUpdated.empty());
  }

  void printButtonOpensThePrintDialog() {
    Fixture f;
    DialogScript script;
    script.Then<QPrintDialog>([](QPrintDialog* dialog) { dialog->reject(); });
    script.Start();
    QTest::mouseClick(f.Find<QPushButton>("cmdPrint"), Qt::LeftButton);
    QVERIFY(script.Finished());
  }

  void printsEveryMemberRowToPdfWithTheHeadingsOnEachPage() {
    Fixture f;
    f.Click(0, 1);  // printed as sorted
    const QString pdf = f.dir.filePath(QStringLiteral("changes.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setPageSize(QPageSize(QPageSize::A4));
    QVERIFY(f.view->Print(printer));

    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"),
                    {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    QVERIFY2(pdftotext.waitForFinished(30000) && pdftotext.exitCode() == 0,
             "pdftotext (poppler-utils, installed by scripts/setup) must read the file");
    const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());

    QVERIFY(text.contains(QStringLiteral("Handicap Changes")));
    QVERIFY(text.contains(
        QStringLiteral("Update using sessions up to and including Friday 05 July 2013")));
    const int pages = text.count(QStringLiteral("Start h/c"));
    QVERIFY2(pages >= 2, qPrintable(text));
    QCOMPARE(text.count(QStringLiteral("ns52.40 ew47.60")), pages);
    QVERIFY(text.contains(QStringLiteral("Page %1 of %1").arg(pages)));

    // Each member row's cells, in order, on one line of the text.
    const QStringList lines = text.split(QLatin1Char('\n'));
    QAbstractItemModel* grid = f.Grid()->model();
    int lastLine = -1;
    for (int r = 3; r < grid->rowCount(); ++r) {
      QStringList cells;
      for (int c = 0; c < grid->columnCount(); ++c)
        if (const QString cell = grid->index(r, c).data().toString(); !cell.isEmpty())
          cells << QRegularExpression::escape(cell);
      const QRegularExpression row(QStringLiteral("^\\s*") + cells.join(QStringLiteral("\\s+")) +
                                   QStringLiteral("\\s*$"));
      const int found = static_cast<int>(lines.indexOf(row));
      QVERIFY2(found > lastLine, qPrintable(cells.join(QLatin1Char(' '))));
      lastLine = found;
    }

    // A file that cannot be written is said, not passed over.
    printer.setOutputFileName(f.dir.filePath(QStringLiteral("no such folder/changes.pdf")));
    DialogScript script;
    script.Then<QMessageBox>([](QMessageBox* box) {
      QVERIFY(box->text().startsWith(QStringLiteral("The handicap changes could not be printed.")));
      QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    });
    script.Start();
    QVERIFY(!f.view->Print(printer));
    QVERIFY(script.Finished());
  }
};

QTEST_MAIN(ReviewViewTest)
#include "ReviewViewTest.moc"
