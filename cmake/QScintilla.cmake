# QScintilla for Qt 6 ships neither a CMake package nor a pkg-config file, only
# a qmake feature file: find its header and library by hand and wrap them in an
# imported target. Debian: libqscintilla2-qt6-dev.
if(TARGET QScintilla::QScintilla)
  return()
endif()
find_path(QSCINTILLA_INCLUDE_DIR Qsci/qsciscintilla.h PATH_SUFFIXES qt6 REQUIRED)
find_library(QSCINTILLA_LIBRARY NAMES qscintilla2_qt6 REQUIRED)
add_library(QScintilla::QScintilla UNKNOWN IMPORTED)
set_target_properties(QScintilla::QScintilla PROPERTIES
  IMPORTED_LOCATION ${QSCINTILLA_LIBRARY}
  INTERFACE_INCLUDE_DIRECTORIES ${QSCINTILLA_INCLUDE_DIR}
  # Qt is built with reduced relocations: code that includes its headers must
  # be position independent.
  INTERFACE_POSITION_INDEPENDENT_CODE ON)
