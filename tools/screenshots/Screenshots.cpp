// Takes the README's screenshots from the real windows on a copy of the sample club, going down
// the road a new secretary takes: the main window, the date of the first session, the update
// window, the names that almost match a member (mistyped in the copy for the picture, and put right
// before updating again), the review window, then the new password and the parameter editor; then
// two updates saved, February's and March's, the History window on them, and from it the
// window that tries other parameters on them.
//   QT_QPA_PLATFORM=offscreen ui_screenshots <sample club folder> <folder for the PNGs> [<club>]
// scripts/screenshots runs it; with QT_SCALE_FACTOR=2 it shows the windows at 200 %. Given a
// folder for the club, it makes the copy there and leaves it with what the road saved, so that
// scripts/test-windows can compare the files a Windows build saves with a Linux build's.
#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QInputDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <vector>

#include "shell/StartUp.h"
#include "ui/HistoryView.h"
#include "ui/MainWindowView.h"
#include "ui/NearNamesView.h"
#include "ui/ParameterWindows.h"
#include "ui/QtPorts.h"
#include "ui/ReviewView.h"
#include "ui/Text.h"
#include "ui/TrialView.h"
#include "ui/UpdateView.h"

namespace {

// The password chosen on the way stays with this run, not in the user's settings.
class MemorySettings : public pg::SettingsStore {
 public:
  std::string Read(const std::string& application, const std::string& section,
                   const std::string& key, const std::string& defaultValue) override {
    const auto it = values_.find(application + "/" + section + "/" + key);
    return it == values_.end() ? defaultValue : it->second;
  }
  void Write(const std::string& application, const std::string& section, const std::string& key,
             const std::string& value) override {
    values_[application + "/" + section + "/" + key] = value;
  }

 private:
  std::map<std::string, std::string> values_;
};

// A day well after the sample's last session, so that every picture is the same whenever it is
// taken; set back to early March for the History window's first update.
class SampleClock : public pg::Clock {
 public:
  pg::Date Today() override { return today; }
  pg::LocalTime Now() override { return {today, 12 * 60}; }
  pg::Date today = pg::MakeDate(2026, 4, 20);
};

[[noreturn]] void Fail(const QString& why) {
  std::fprintf(stderr, "ui_screenshots: %s\n", qPrintable(why));
  std::fflush(nullptr);
  std::_Exit(1);
}

bool CopyFolder(const QString& from, const QString& to) {
  const QDir source(QFileInfo(from).absoluteFilePath());
  QDirIterator it(source.path(), QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString file = it.next();
    const QString target = to + "/" + source.relativeFilePath(file);
    if (!QDir().mkpath(QFileInfo(target).path()) || !QFile::copy(file, target)) return false;
  }
  return true;
}

// Slips a director makes at the table, typed into the copy's sessions so that the names window
// has something to show.
struct Slip {
  const char* file;
  const char* name;
  const char* typed;
};
constexpr Slip kSlips[] = {{"RES2026/0302S1.AFT", "Margaret Holloway", "Margret Holloway"},
                           {"RES2026/0309S1.AFT", "Margaret Holloway", "Margret Holloway"},
                           {"RES2026/0309S1.AFT", "Brian Kettering", "Kettering Brian"},
                           {"RES2026/0316S1.AFT", "Anne Whitcombe", "anne whitcombe"}};

// Makes the slips in the club's sessions, or puts them right again.
void MakeSlips(const QString& club, bool make) {
  for (const Slip& slip : kSlips) {
    QFile file(club + "/" + QString::fromLatin1(slip.file));
    if (!file.open(QIODevice::ReadOnly)) Fail("cannot read " + file.fileName());
    QByteArray bytes = file.readAll();
    file.close();
    const QByteArray from = make ? slip.name : slip.typed, to = make ? slip.typed : slip.name;
    if (!bytes.contains(from)) Fail("no " + QString::fromLatin1(from) + " in " + file.fileName());
    bytes.replace(from, to);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
      Fail("cannot write " + file.fileName());
  }
}

// Answers the windows that open modally, one step per window in the order they come; a window
// that is not the one expected ends the run, so that nothing waits for a person.
class Road {
 public:
  using Step = std::function<void(QWidget*)>;

  Road& Then(const QString& what, Step step) {
    steps_.push_back({what, std::move(step)});
    return *this;
  }
  void Start() {
    QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
    timer_.start(20);
  }
  bool Finished() const { return next_ == steps_.size(); }

 private:
  void Tick() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || !modal->isVisible()) return;
    // A window answered before is active again while a prompt over it has closed (the update
    // window, while its run goes on after the visitor's handicap): it is not a new window.
    for (const QPointer<QWidget>& w : answered_)
      if (w == modal) return;
    if (next_ == steps_.size()) Fail("an unexpected window: " + Describe(modal));
    const auto& [what, step] = steps_[next_];
    if (!Describe(modal).contains(what))
      Fail("expected " + what + ", but " + Describe(modal) + " opened");
    answered_.push_back(modal);
    ++next_;
    // From the window's own event loop: a step that opens another window must not hold up
    // this timer, which answers that window too.
    QTimer::singleShot(0, modal, [step = step, modal] { step(modal); });
  }
  static QString Describe(QWidget* w) {
    if (auto* box = qobject_cast<QMessageBox*>(w)) return "message " + box->text();
    if (auto* prompt = qobject_cast<QInputDialog*>(w)) return "prompt " + prompt->labelText();
    return "window " + w->objectName();
  }

  std::vector<std::pair<QString, Step>> steps_;
  size_t next_ = 0;
  // Cleared as each window goes, so a new window at a freed address is not taken for an old one.
  std::vector<QPointer<QWidget>> answered_;
  QTimer timer_;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QStringList arguments = QCoreApplication::arguments();
  if (arguments.size() != 3 && arguments.size() != 4) {
    std::fprintf(stderr,
                 "usage: ui_screenshots <sample club folder> <folder for the PNGs> [<club>]\n");
    return 2;
  }
  const QString sample = arguments[1];
  const QDir out(arguments[2]);
  QTemporaryDir temporary;
  const QString club = arguments.size() == 4 ? arguments[3] : temporary.path();
  if (!QDir().mkpath(out.path()) || !QDir().mkpath(club) || !CopyFolder(sample, club))
    Fail("cannot copy " + sample);
  MakeSlips(club, true);
  auto save = [&out](QWidget* w, const char* name) {
    // Laid out and painted as it shows.
    QApplication::processEvents();
    if (!w->grab().save(out.filePath(QString::fromLatin1(name))))
      Fail("cannot save " + out.filePath(QString::fromLatin1(name)));
    std::printf("%s\n", qPrintable(out.filePath(QString::fromLatin1(name))));
  };

  pg::ui::QtDialogs dialogs;
  pg::ui::QtWindows windows;
  MemorySettings settings;
  SampleClock clock;
  pg::ui::QtClubLocks locks;
  pg::Program program(pg::Ports{dialogs, windows, settings, clock, locks});
  pg::MainWindow mainWindow(program);
  pg::StartUp(mainWindow, pg::ui::CorePath(QDir(club).absolutePath() + "/"));
  pg::ui::MainWindowView view(mainWindow);
  pg::ui::RegisterUpdateWindow(windows, program);
  pg::ui::RegisterNearNamesWindow(windows, program);
  pg::ui::RegisterParameterWindows(windows, program);
  pg::ui::RegisterReviewWindow(windows, program, &view);
  pg::ui::RegisterHistoryWindow(windows, program, &view);
  pg::ui::RegisterTrialWindow(windows, program);
  view.show();
  save(&view, "main-window.png");

  auto answer = [](const char* text) {
    return [text](QWidget* w) {
      auto* prompt = static_cast<QInputDialog*>(w);
      prompt->setTextValue(QString::fromLatin1(text));
      prompt->accept();
    };
  };
  auto press = [](QMessageBox::StandardButton button) {
    return [button](QWidget* w) { static_cast<QMessageBox*>(w)->button(button)->click(); };
  };
  auto click = [](QWidget* w, const char* name) {
    auto* button = w->findChild<QPushButton*>(QString::fromLatin1(name));
    if (button == nullptr) Fail(QStringLiteral("no button ") + name);
    button->click();
  };

  Road road;
  road.Then("No handicaps have yet been updated",
            [&](QWidget* w) {
              static_cast<QInputDialog*>(w)->setTextValue(QStringLiteral("1/2/2026"));
              save(w, "first-date.png");
              static_cast<QInputDialog*>(w)->accept();
            })
      .Then("Attempting to repair", press(QMessageBox::Ok))
      .Then("File repaired successfully", press(QMessageBox::Ok))
      .Then("frmUpdate",
            [&](QWidget* w) {
              save(w, "update-window.png");
              click(w, "cmdOK");
            })
      .Then("frmNames",
            [&](QWidget* w) {
              save(w, "near-names.png");
              // The secretary goes back, puts the names right and updates again.
              MakeSlips(club, false);
              QWidget* update = w->parentWidget();
              click(w, "cmdCancel");
              // Qt deletes the call once it has run, which the analyzer does not follow.
              QTimer::singleShot(0, update, [update, click] {  // NOLINT(clang-analyzer-*)
                click(update, "cmdOK");
              });
            })
      .Then("Enter handicap for visitor Martin Ibbotson", answer("3"))
      .Then("frmPrint",
            [&](QWidget* w) {
              // The first member's row highlighted, as a click on a name leaves it.
              auto* grid = w->findChild<QTableView*>(QStringLiteral("flex"));
              if (grid == nullptr) Fail("no grid");
              emit grid->clicked(grid->model()->index(3, 1));
              save(w, "review-window.png");
              static_cast<QDialog*>(w)->reject();
            })
      .Then("Do you want to save the new handicaps?", press(QMessageBox::No))
      .Then("frmPassword",
            [&](QWidget* w) {
              for (const char* box : {"txtPass(0)", "txtPass(1)"}) {
                auto* edit = w->findChild<QLineEdit*>(QString::fromLatin1(box));
                if (edit == nullptr) Fail(QStringLiteral("no box ") + box);
                edit->setText(QStringLiteral("sample"));
              }
              save(w, "password.png");
              click(w, "cmdOK");
            })
      .Then("frmParam", [&](QWidget* w) {
        save(w, "parameters.png");
        static_cast<QDialog*>(w)->reject();
      });
  // Two updates saved, the first on 3 March with the sessions of February, the second with
  // March's, and the History window with one member's chart.
  auto saveAndGoBack = [&](QWidget* w) {
    click(w, "cmdSave");
    static_cast<QDialog*>(w)->reject();
  };
  road.Then("No handicaps have yet been updated", answer("1/2/2026"))
      .Then("frmUpdate", [&](QWidget* w) { click(w, "cmdOK"); })
      .Then("Enter handicap for visitor Martin Ibbotson", answer("3"))
      .Then("frmPrint", saveAndGoBack)
      .Then("This will overwrite", press(QMessageBox::Yes))
      .Then("New handicaps have been saved", press(QMessageBox::Ok))
      .Then("frmUpdate", [&](QWidget* w) { click(w, "cmdOK"); })
      .Then("frmPrint", saveAndGoBack)
      .Then("This will overwrite", press(QMessageBox::Yes))
      .Then("New handicaps have been saved", press(QMessageBox::Ok))
      .Then("frmHistory",
            [&](QWidget* w) {
              // Margaret Holloway, whose strong run the sample club is known for.
              auto* members = w->findChild<QTableView*>(QStringLiteral("lstMembers"));
              if (members == nullptr) Fail("no list of members");
              for (int row = 0; row < members->model()->rowCount(); ++row)
                if (members->model()->index(row, 1).data().toString() ==
                    QStringLiteral("Margaret Holloway"))
                  members->setCurrentIndex(members->model()->index(row, 1));
              save(w, "history-window.png");
              click(w, "cmdTrial");
              static_cast<QDialog*>(w)->reject();
            })
      .Then("frmTrial", [&](QWidget* w) {
        // A narrower dead zone with the same rate either side, tried on the two updates.
        for (const auto& [box, value] :
             {std::pair{"txtDead(0)", "-1"}, std::pair{"txtDead(1)", "+1"},
              std::pair{"txtRate(0)", "0.2"}}) {
          auto* edit = w->findChild<QLineEdit*>(QString::fromLatin1(box));
          if (edit == nullptr) Fail(QStringLiteral("no box ") + box);
          edit->setFocus();
          edit->setText(QString::fromLatin1(value));
        }
        auto* members = w->findChild<QTableView*>(QStringLiteral("grdMembers"));
        if (members == nullptr) Fail("no table of members");
        members->setFocus();
        QApplication::processEvents();
        for (int row = 0; row < members->model()->rowCount(); ++row)
          if (members->model()->index(row, 1).data().toString() ==
              QStringLiteral("Margaret Holloway"))
            members->setCurrentIndex(members->model()->index(row, 1));
        save(w, "trial-window.png");
        static_cast<QDialog*>(w)->reject();
      });
  road.Start();

  QTimer::singleShot(60000, [] { Fail("the road took more than a minute"); });
  view.findChild<QPushButton*>(QStringLiteral("cmdUpdate"))->click();
  view.findChild<QPushButton*>(QStringLiteral("cmdParam"))->click();
  clock.today = pg::MakeDate(2026, 3, 3);
  view.findChild<QPushButton*>(QStringLiteral("cmdUpdate"))->click();
  clock.today = pg::MakeDate(2026, 4, 20);
  view.findChild<QPushButton*>(QStringLiteral("cmdUpdate"))->click();
  view.findChild<QPushButton*>(QStringLiteral("cmdHistory"))->click();
  if (!road.Finished()) Fail("the road ended early");
  return 0;
}
