// Renders the parameter editor with the default parameters to a PNG, for the README:
//   QT_QPA_PLATFORM=offscreen ui_parameter_screenshot docs/parameters.png
#include <QApplication>
#include <QTemporaryDir>
#include <cstdio>

#include "shell/ParameterEditor.h"
#include "shell/StartUp.h"
#include "ui/ParameterEditorView.h"
#include "ui/QtPorts.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: ui_parameter_screenshot <file.png>\n");
    return 2;
  }
  QTemporaryDir dir;
  pg::ui::QtPortSet ports;
  pg::Program program(ports.ports());
  pg::MainWindow main(program);
  pg::StartUp(main, dir.path().toStdString() + "/");
  pg::ParameterEditor model(program);
  pg::ui::ParameterEditorView view(model);
  view.show();
  QApplication::processEvents();
  return view.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
