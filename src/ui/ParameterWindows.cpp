#include "ui/ParameterWindows.h"

#include <QApplication>

#include "ui/ParameterEditorView.h"
#include "ui/PasswordViews.h"

namespace pg::ui {

namespace {

QWidget* ActiveWindow() {
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  return QApplication::activeWindow();
}

template <class Model, class View>
void Register(QtWindows& windows, WindowId id, Program& program) {
  windows.Register(id, [&program] {
    Model model(program);
    View view(model, ActiveWindow());
    view.exec();
  });
}

}  // namespace

void RegisterParameterWindows(QtWindows& windows, Program& program) {
  Register<PasswordEntry, PasswordEntryView>(windows, WindowId::Password, program);
  Register<NewPassword, NewPasswordView>(windows, WindowId::NewPassword, program);
  Register<ParameterEditor, ParameterEditorView>(windows, WindowId::Parameters, program);
}

}  // namespace pg::ui
