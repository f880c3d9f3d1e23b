#include "ui/QtPorts.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QSettings>
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

}  // namespace pg::ui
