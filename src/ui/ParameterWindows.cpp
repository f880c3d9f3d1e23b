#include "ui/ParameterWindows.h"

#include <QApplication>

#include "ui/ParameterEditorView.h"
#include "ui/PasswordViews.h"
#include "ui/QtPorts.h"

namespace pg::ui {

namespace {

template <class Model, class View>
void Register(QtWindows& windows, WindowId id, Program& program) {
  windows.Register(id, [&program] {
    Model model(program);
    View view(model, DialogParent());
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
