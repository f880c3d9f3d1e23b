#pragma once

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QIcon>
#include <QKeySequence>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QSet>
#include <QStringList>
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
    LocalTime Now() override { return {Today(), 12 * 60}; }
  };
  Dialogs dialogs;
  QtWindows windows;
  QtSettingsStore settings;
  Clock clock;
  QtClubLocks locks;
  Program program{Ports{dialogs, windows, settings, clock, locks}};
};

// The program's icon stands in for the real one, which only the program links in; a window
// carries it when it takes it from the application, as every window of the program must.
inline void GiveTheProgramAnIcon() {
  QPixmap icon(16, 16);
  icon.fill(Qt::darkGreen);
  QApplication::setWindowIcon(QIcon(icon));
}

// The object name and class of the first widget of a window (Qt's own parts aside) that a
// screen reader could not name; empty when every one has a name.
inline QString Unnamed(const QWidget* window) {
  for (QWidget* w : window->findChildren<QWidget*>()) {
    // Qt's own parts, and the parts an item view hides (a table's headers, whose sections still
    // name its columns, and the button in their corner).
    if (w->objectName().startsWith(QStringLiteral("qt_")) ||
        w->parent()->objectName().startsWith(QStringLiteral("qt_")) ||
        (w->isHidden() && qobject_cast<QAbstractItemView*>(w->parent()) != nullptr))
      continue;
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
    if (a == nullptr || a->text(QAccessible::Name).isEmpty())
      return w->objectName() + " (" + w->metaObject()->className() + ") ";
  }
  return {};
}

// What keeps a shown window from being finished for a person at the keyboard or with a screen
// reader, one line per fault: a widget without a name, a button without a key of its own or
// whose name is not its caption, more than one default button, a button or label narrower than
// its text, a window without the program's icon. Empty when there is none.
inline QStringList Unfinished(const QWidget* window) {
  QStringList faults;
  if (const QString unnamed = Unnamed(window); !unnamed.isEmpty())
    faults << "not named: " + unnamed;
  if (QApplication::windowIcon().isNull() ||
      window->windowIcon().cacheKey() != QApplication::windowIcon().cacheKey())
    faults << "not the program's icon";
  QSet<QString> keys;
  int defaults = 0;
  for (const QPushButton* b : window->findChildren<QPushButton*>()) {
    const QString name = b->objectName();
    if (name.startsWith(QStringLiteral("qt_"))) continue;
    const QString key = QKeySequence::mnemonic(b->text()).toString();
    if (key.isEmpty())
      faults << name + ": no key";
    else if (keys.contains(key))
      faults << name + ": " + key + " again";
    keys.insert(key);
    // The caption is the text without the marks: "&&" is a "&", "&S" an S.
    const QString text = b->text();
    QString caption;
    for (qsizetype i = 0; i < text.size(); ++i) {
      if (text[i] == QLatin1Char('&') && i + 1 < text.size()) ++i;
      caption += text[i];
    }
    if (b->accessibleName() != caption) faults << name + ": named " + b->accessibleName();
    if (b->isDefault()) ++defaults;
    if (b->isVisible() && b->width() < b->sizeHint().width()) faults << name + ": cut off";
  }
  if (defaults > 1) faults << "more than one default button";
  for (const QLabel* l : window->findChildren<QLabel*>()) {
    if (!l->isVisible() || l->wordWrap() || l->text().isEmpty()) continue;
    const QSize need = l->minimumSizeHint();
    if (l->width() < need.width() || l->height() < need.height())
      faults << l->objectName() + ": cut off";
  }
  return faults;
}

}  // namespace pg::ui::test

// Fails the test with every fault Unfinished finds in the window.
#define VERIFY_FINISHED(window)                                                  \
  do {                                                                           \
    const QStringList faults_ = pg::ui::test::Unfinished(window);                \
    QVERIFY2(faults_.isEmpty(), qPrintable(faults_.join(QStringLiteral("; ")))); \
  } while (false)
