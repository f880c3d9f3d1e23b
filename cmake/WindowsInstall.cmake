# The Windows program: a program of the window system (no console window) with its icon and the
# version Explorer shows, installed into one folder with everything it loads: the Qt libraries,
# the platform and style plugins, the compiler's runtime libraries. Both Windows packages hold that
# folder (cmake/Packaging.cmake), with the licences, this README and the sample club.
find_package(Qt6 REQUIRED COMPONENTS Core Gui Widgets PrintSupport)
set(PG_ICON ${PROJECT_SOURCE_DIR}/data/icons/pairgauge.ico)
configure_file(${PROJECT_SOURCE_DIR}/data/pairgauge.rc.in ${CMAKE_CURRENT_BINARY_DIR}/pairgauge.rc
  @ONLY)
target_sources(pairgauge PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/pairgauge.rc)
set_target_properties(pairgauge PROPERTIES WIN32_EXECUTABLE ON)

install(TARGETS pairgauge RUNTIME DESTINATION .)
set(PG_BINARIES pairgauge.exe)
foreach(module Core Gui Widgets PrintSupport)
  install(FILES $<TARGET_FILE:Qt6::${module}> DESTINATION .)
  list(APPEND PG_BINARIES Qt6${module}.dll)
endforeach()
# Qt looks for its plugins in these folders beside the program.
install(FILES $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin> DESTINATION platforms)
install(FILES $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin> DESTINATION styles)
list(APPEND PG_BINARIES platforms/qwindows.dll styles/qwindowsvistastyle.dll)

# The C++ runtime that Qt's libraries and the program share.
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
    OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${path}" OR NOT EXISTS "${path}")
    message(FATAL_ERROR "${CMAKE_CXX_COMPILER} has no ${dll}")
  endif()
  install(FILES ${path} DESTINATION .)
  list(APPEND PG_BINARIES ${dll})
endforeach()
# Without their symbol tables, which nothing on a club's computer reads, the libraries are less
# than half their size (the C++ runtime a tenth).
install(CODE "
  foreach(file ${PG_BINARIES})
    execute_process(COMMAND \"${CMAKE_STRIP}\" --strip-unneeded
      \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/\${file}\" COMMAND_ERROR_IS_FATAL ANY)
  endforeach()")

# Pairgauge's licence, and those of what it ships from others: Qt and the libraries Qt bundles
# (Debian's notice for the very source package built), and the compiler's runtime, each as
# Debian's packages give it, with the full texts Debian keeps in common-licenses.
set(PG_NOTICES
  "/usr/share/doc/libqt6core6/copyright=Qt.txt"
  "/usr/share/common-licenses/LGPL-3=LGPL-3.txt"
  "/usr/share/doc/gcc-mingw-w64-x86-64-posix-runtime/copyright=GCC-runtime.txt"
  "/usr/share/doc/mingw-w64-x86-64-dev/copyright=MinGW-w64.txt")
foreach(notice ${PG_NOTICES})
  string(REPLACE "=" ";" pair "${notice}")
  list(GET pair 0 from)
  list(GET pair 1 to)
  if(NOT EXISTS "${from}")
    message(FATAL_ERROR "${from} is missing: scripts/setup installs the package that has it")
  endif()
  install(FILES "${from}" DESTINATION licenses RENAME "${to}")
endforeach()
configure_file(${PROJECT_SOURCE_DIR}/data/windows-licenses.txt.in
  ${CMAKE_CURRENT_BINARY_DIR}/licenses-README.txt @ONLY NEWLINE_STYLE CRLF)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/licenses-README.txt DESTINATION licenses
  RENAME README.txt)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION . RENAME README.txt)
# A club to try the program on; the program opens it when given the folder, or chosen at the first
# start (copy it somewhere writable first).
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/sample-club DESTINATION .)
