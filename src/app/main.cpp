#include <QApplication>

#include "base/Files.h"
#include "shell/StartUp.h"
#include "ui/MainWindowView.h"
#include "ui/ParameterWindows.h"
#include "ui/QtPorts.h"
#include "ui/ReviewView.h"
#include "ui/UpdateView.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);

  pg::ui::QtPortSet ports;
  pg::Program program(ports.ports());

  // The program's other windows register with `ports.windows`.
  pg::ui::RegisterUpdateWindow(ports.windows, program);
  pg::ui::RegisterParameterWindows(ports.windows, program);
  pg::MainWindow mainWindow(program);
  pg::StartUp(mainWindow, pg::ProgramFolder());
  pg::ui::MainWindowView view(mainWindow);
  ports.windows.Register(pg::WindowId::Review, [&] {
    pg::ReviewDialog review(program.context, program.members, program.outputs);
    QWidget* over = QApplication::activeModalWidget();
    pg::ui::ReviewView window(review, over != nullptr ? over : &view);
    window.exec();
  });
  view.show();
  return QApplication::exec();
}
