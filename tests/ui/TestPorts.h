#pragma once

#include <QAccessible>
#include <QWidget>

#include "shell/Program.h"
#include "ui/QtPorts.h"

namespace pg::ui::test {

// The real Qt ports and a program on them, except that the clock stands at 26 September 2006 and
// ending the program fails the test instead of quietly exiting with status 0.
struct TestProgram {
  class Dialogs : public QtDialogs {
   public:
    [[noreturn]] void EndProgram() override { qFatal("the program ended"); }
  };
  class Clock : public pg::Clock {
   public:
    Date Today() override { return MakeDate(2006, 9, 26); }
  };
  Dialogs dialogs;
  QtWindows windows;
  QtSettingsStore settings;
  Clock clock;
  Program program{Ports{dialogs, windows, settings, clock}};
};

// The object name of the first widget of a window (Qt's own parts aside) that a screen reader
// could not name; empty when every one has a name.
inline QString Unnamed(const QWidget* window) {
  for (QWidget* w : window->findChildren<QWidget*>()) {
    if (w->objectName().startsWith(QStringLiteral("qt_"))) continue;
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
    if (a == nullptr || a->text(QAccessible::Name).isEmpty()) return w->objectName() + " ";
  }
  return {};
}

}  // namespace pg::ui::test
