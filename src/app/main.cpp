#include <QApplication>
#include <QIcon>

#include "base/Files.h"
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

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  // Every window takes the program's icon from the application.
  QIcon icon;
  for (const int size : {16, 32, 48, 64, 128, 256})
    icon.addFile(QStringLiteral(":/icons/pairgauge-%1.png").arg(size));
  QApplication::setWindowIcon(icon);
  QGuiApplication::setDesktopFileName(QStringLiteral("pairgauge"));

  pg::ui::QtPortSet ports;
  pg::Program program(ports.ports());

  std::vector<std::string> arguments;
  for (const QString& argument : QCoreApplication::arguments().mid(1))
    arguments.push_back(pg::ui::CorePath(argument));
  const auto club = pg::ChooseClubFolder(arguments, pg::ProgramFolder(), ports.ports());
  if (!club) return 1;

  // The program's other windows register with `ports.windows`.
  pg::ui::RegisterUpdateWindow(ports.windows, program);
  pg::ui::RegisterNearNamesWindow(ports.windows, program);
  pg::ui::RegisterParameterWindows(ports.windows, program);
  pg::ui::RegisterTrialWindow(ports.windows, program);
  pg::MainWindow mainWindow(program);
  pg::StartUp(mainWindow, *club);
  pg::ui::MainWindowView view(mainWindow);
  pg::ui::RegisterReviewWindow(ports.windows, program, &view);
  pg::ui::RegisterHistoryWindow(ports.windows, program, &view);
  view.show();
  return QApplication::exec();
}
