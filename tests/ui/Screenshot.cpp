// Renders the main window of a club that has had one update to a PNG, for the README:
//   QT_QPA_PLATFORM=offscreen ui_screenshot docs/main-window.png
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdio>

#include "base/Files.h"
#include "shell/StartUp.h"
#include "ui/MainWindowView.h"
#include "ui/QtPorts.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: ui_screenshot <file.png>\n");
    return 2;
  }
  QTemporaryDir dir;
  const std::string folder = dir.path().toStdString() + "/";
  pg::FileError error;
  pg::CreateFolder(folder + "Handicap", error);
  pg::ReplaceFile(folder + "Handicap/Handicap.ini",
                  "\"1.0\"\r\n\"25 September 2006 \"\r\n51.23,56,0.01,7\r\n-1,-2,-12,0.1,1\r\n"
                  "3,2,6,0.2,1\r\n",
                  error);

  pg::ui::QtPortSet ports;
  pg::Program program(ports.ports());
  pg::MainWindow model(program);
  pg::StartUp(model, folder);
  pg::ui::MainWindowView view(model);
  view.show();
  QApplication::processEvents();
  return view.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
