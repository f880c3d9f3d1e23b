#include <QApplication>

#include "base/Files.h"
#include "shell/StartUp.h"
#include "ui/MainWindowView.h"
#include "ui/QtPorts.h"
#include "ui/UpdateView.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);

  pg::ui::QtPortSet ports;
  pg::Program program(ports.ports());

  // The program's other windows register with `ports.windows` here as they come.
  pg::ui::RegisterUpdateWindow(ports.windows, program);
  pg::MainWindow mainWindow(program);
  pg::StartUp(mainWindow, pg::ProgramFolder());
  pg::ui::MainWindowView view(mainWindow);
  view.show();
  return QApplication::exec();
}
