#pragma once

#include "shell/Program.h"
#include "ui/QtPorts.h"

namespace pg::ui {

// Registers the parameter editor and the two password windows with the Windows port: each
// showing builds the window's model on the program and runs its view modally over the active
// window.
void RegisterParameterWindows(QtWindows& windows, Program& program);

}  // namespace pg::ui
