# Cross-builds for 64-bit Windows with Debian's MinGW-w64 (the posix thread model, which
# GoogleTest needs), and runs what it builds under Wine.
#   -DPAIRGAUGE_QT_WINDOWS=<prefix>   also the windows and the program, against the Qt for
#                                     Windows that scripts/build-qt-windows installs there
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
if(PAIRGAUGE_QT_WINDOWS)
  # Qt's libraries for Windows, with the host's moc, rcc and uic.
  list(APPEND CMAKE_FIND_ROOT_PATH ${PAIRGAUGE_QT_WINDOWS})
  set(QT_HOST_PATH /usr)
  set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake)
else()
  # The compiler's own libraries are linked in, so a program runs without their DLLs beside it.
  # Qt's DLLs use the DLLs, so a build with Qt uses them too, once for the program and Qt.
  set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
endif()
# Debian keeps the 64-bit loader outside PATH.
find_program(PG_WINE64 NAMES wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
find_program(PG_WINE64 NAMES wine64)
set(CMAKE_CROSSCOMPILING_EMULATOR ${PG_WINE64})
