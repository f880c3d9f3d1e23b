#include "ui/QtPorts.h"

#include <QApplication>
#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QLockFile>
#include <QMessageBox>
#include <QSaveFile>
#include <QScreen>
#include <QSettings>
#include <QSysInfo>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "ui/CapsLock.h"
#include "ui/Text.h"

namespace pg::ui {

QWidget* DialogParent() {
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  return QApplication::activeWindow();
}

namespace {

QMessageBox::StandardButtons QtButtons(Buttons buttons) {
  // Each case has its own buttons; the check mistakes the flag values for one branch.
  // NOLINTBEGIN(bugprone-branch-clone)
  switch (buttons) {
    case Buttons::OK: return QMessageBox::Ok;
    case Buttons::OKCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case Buttons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case Buttons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
  }
  // NOLINTEND(bugprone-branch-clone)
  return QMessageBox::Ok;
}

QMessageBox::Icon QtIcon(Icon icon) {
  // NOLINTBEGIN(bugprone-branch-clone)
  switch (icon) {
    case Icon::None: return QMessageBox::NoIcon;
    case Icon::Information: return QMessageBox::Information;
    case Icon::Warning: return QMessageBox::Warning;
    case Icon::Critical: return QMessageBox::Critical;
    case Icon::Question: return QMessageBox::Question;
  }
  // NOLINTEND(bugprone-branch-clone)
  return QMessageBox::NoIcon;
}

QString IconName(Icon icon) {
  switch (icon) {
    case Icon::Information: return QStringLiteral("Information");
    case Icon::Warning: return QStringLiteral("Warning");
    case Icon::Critical: return QStringLiteral("Error");
    case Icon::Question: return QStringLiteral("Question");
    case Icon::None: break;
  }
  return {};
}

// A box closed without a button (the window's close control) answers as its way out does.
Answer WayOut(Buttons buttons) {
  switch (buttons) {
    case Buttons::OK: return Answer::OK;
    case Buttons::YesNo: return Answer::No;
    case Buttons::OKCancel:
    case Buttons::YesNoCancel: return Answer::Cancel;
  }
  return Answer::Cancel;
}

}  // namespace

Answer QtDialogs::Message(const std::string& text, Buttons buttons, Icon icon) {
  QMessageBox box(QtIcon(icon), QString::fromLatin1(kProgramTitle), Shown(text), QtButtons(buttons),
                  DialogParent());
  box.setTextFormat(Qt::PlainText);
  // The icon says something too: a screen reader names it, and a box without one has none to
  // read out.
  if (auto* iconLabel = box.findChild<QLabel*>(QStringLiteral("qt_msgboxex_icon_label"))) {
    if (icon == Icon::None)
      iconLabel->hide();
    else
      iconLabel->setAccessibleName(IconName(icon));
  }
  box.exec();
  switch (box.standardButton(box.clickedButton())) {
    case QMessageBox::Ok: return Answer::OK;
    case QMessageBox::Cancel: return Answer::Cancel;
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: return WayOut(buttons);
  }
}

std::optional<std::string> QtDialogs::Prompt(const std::string& message, const std::string& title,
                                             const std::string& defaultAnswer) {
  QInputDialog dialog(DialogParent());
  dialog.setInputMode(QInputDialog::TextInput);
  dialog.setWindowTitle(title.empty() ? QString::fromLatin1(kProgramTitle) : Latin1(title));
  dialog.setLabelText(Shown(message));
  dialog.setTextValue(Latin1(defaultAnswer));
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return ToLatin1(dialog.textValue());
}

std::optional<std::string> QtDialogs::ChooseFolder(const std::string& title,
                                                   const std::string& startFolder) {
  // Nothing to start from (the first start): the user's own folder, not the working folder,
  // which for a program started from Windows' Start menu is where it is installed.
  const QString start = startFolder.empty() ? QDir::homePath() : QtPath(startFolder);
  const QString folder = QFileDialog::getExistingDirectory(DialogParent(), Latin1(title), start);
  if (folder.isEmpty()) return std::nullopt;
  return CorePath(folder);
}

void QtDialogs::Beep() {
  QApplication::beep();
}

bool QtDialogs::CapsLockOn() {
  return KeyboardCapsLockOn();
}

ScreenSize QtDialogs::Screen() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return {};
  return {screen->size().width(), screen->size().height()};
}

void QtDialogs::EndProgram() {
  if (beforeEnd) beforeEnd();
  std::fflush(nullptr);
  std::_Exit(0);
}

void QtWindows::Register(WindowId window, std::function<void()> show) {
  shows_[window] = std::move(show);
}

void QtWindows::ShowModal(WindowId window) {
  const auto it = shows_.find(window);
  if (it == shows_.end() || !it->second) return;
  // A window of ours waits for the user, whatever busy cursor the window under it set while it
  // worked (the update window's, while it checks and runs): the cursor comes back as it goes.
  std::vector<QCursor> busy;
  for (const QCursor* c; (c = QApplication::overrideCursor()) != nullptr;) {
    busy.push_back(*c);
    QApplication::restoreOverrideCursor();
  }
  it->second();
  for (auto c = busy.rbegin(); c != busy.rend(); ++c)
    QApplication::setOverrideCursor(*c);
}

std::string QtSettingsStore::Read(const std::string& application, const std::string& section,
                                  const std::string& key, const std::string& defaultValue) {
  QSettings settings(Latin1(application), Latin1(section));
  return ToLatin1(settings.value(Latin1(key), Latin1(defaultValue)).toString());
}

void QtSettingsStore::Write(const std::string& application, const std::string& section,
                            const std::string& key, const std::string& value) {
  QSettings settings(Latin1(application), Latin1(section));
  settings.setValue(Latin1(key), Latin1(value));
  settings.sync();
}

Date QtClock::Today() {
  const QDate today = QDate::currentDate();
  return MakeDate(today.year(), static_cast<unsigned>(today.month()),
                  static_cast<unsigned>(today.day()));
}

LocalTime QtClock::Now() {
  const QDateTime now = QDateTime::currentDateTime();
  const QDate day = now.date();
  return {
      MakeDate(day.year(), static_cast<unsigned>(day.month()), static_cast<unsigned>(day.day())),
      now.time().hour() * 60 + now.time().minute()};
}

namespace {

LocalTime LocalTimeOf(const QDateTime& moment) {
  const QDateTime local = moment.toLocalTime();
  const QDate day = local.date();
  return {
      MakeDate(day.year(), static_cast<unsigned>(day.month()), static_cast<unsigned>(day.day())),
      local.time().hour() * 60 + local.time().minute()};
}

QString NoteOf(const QString& lockFile) {
  return lockFile + QStringLiteral(".txt");
}

QString UserName() {
  for (const char* name : {"USERNAME", "USER", "LOGNAME"}) {
    QString user = qEnvironmentVariable(name);
    if (!user.isEmpty()) return user;
  }
  return {};
}

// Who holds the lock at lockFile, when there is one: the computer from the lock itself, the user,
// the activity and the time from the note beside it when the note is the same holder's (its
// first line the lock's process), else the time the lock file was made.
std::optional<LockHolder> HolderOf(const QString& lockFile) {
  QLockFile probe(lockFile);
  qint64 pid = 0;
  QString host, application;
  if (!probe.getLockInfo(&pid, &host, &application)) return std::nullopt;
  LockHolder holder;
  holder.computer = ToLatin1(host);
  // Windows writes the computer's name in capitals and gives it back in small letters.
  holder.thisComputer = host.compare(QSysInfo::machineHostName(), Qt::CaseInsensitive) == 0;
  QDateTime since = QFileInfo(lockFile).lastModified();
  QFile note(NoteOf(lockFile));
  if (note.open(QIODevice::ReadOnly)) {
    const QStringList lines = QString::fromUtf8(note.readAll()).split(QLatin1Char('\n'));
    if (lines.size() >= 4 && lines[0].trimmed().toLongLong() == pid) {
      holder.user = ToLatin1(lines[1].trimmed());
      holder.activity = ToLatin1(lines[2].trimmed());
      const QDateTime noted = QDateTime::fromString(lines[3].trimmed(), Qt::ISODate);
      if (noted.isValid()) since = noted;
    }
  }
  if (since.isValid()) holder.since = LocalTimeOf(since);
  return holder;
}

std::string LockErrorText(QLockFile::LockError error) {
  switch (error) {
    case QLockFile::PermissionError: return "the handicap folder cannot be written";
    case QLockFile::LockFailedError: return "another program holds the lock";
    case QLockFile::NoError:
    case QLockFile::UnknownError: break;
  }
  return "the lock file cannot be made";
}

}  // namespace

QtClubLocks::~QtClubLocks() {
  UnlockAll();
}

ClubLocks::Attempt QtClubLocks::Take(const std::string& path, const std::string& activity,
                                     bool over) {
  const QString file = QtPath(path);
  const std::optional<LockHolder> before = HolderOf(file);
  auto lock = std::make_unique<QLockFile>(file);
  // Never stale by age: an update's review window may well stay open for an hour.
  lock->setStaleLockTime(0);
  if (over) lock->removeStaleLockFile();
  if (!lock->tryLock(0)) {
    if (lock->error() != QLockFile::LockFailedError)
      return {Outcome::Failed, {}, LockErrorText(lock->error())};
    return {Outcome::Held, HolderOf(file).value_or(before.value_or(LockHolder{})), {}};
  }
  QSaveFile note(NoteOf(file));
  if (note.open(QIODevice::WriteOnly)) {
    note.write(QByteArray::number(QCoreApplication::applicationPid()) + '\n' + UserName().toUtf8() +
               '\n' + Latin1(activity).toUtf8() + '\n' +
               QDateTime::currentDateTimeUtc().toString(Qt::ISODate).toUtf8() + '\n');
    note.commit();
  }
  held_[path] = std::move(lock);
  // A lock that was there and could be taken was left by a program that stopped (or was taken
  // over from another computer at the user's word).
  if (before) return {Outcome::TakenOver, *before, {}};
  return {Outcome::Taken, {}, {}};
}

ClubLocks::Attempt QtClubLocks::Lock(const std::string& path, const std::string& activity) {
  return Take(path, activity, false);
}

ClubLocks::Attempt QtClubLocks::TakeOver(const std::string& path, const std::string& activity) {
  return Take(path, activity, true);
}

void QtClubLocks::Unlock(const std::string& path) {
  const auto it = held_.find(path);
  if (it == held_.end()) return;
  QFile::remove(NoteOf(QtPath(path)));
  it->second->unlock();
  held_.erase(it);
}

void QtClubLocks::UnlockAll() {
  while (!held_.empty())
    Unlock(held_.begin()->first);
}

}  // namespace pg::ui
