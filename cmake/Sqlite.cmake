# Native builds use Debian's SQLite. The Windows build compiles the amalgamation that
# scripts/setup.sh generates from Debian's source package.
if(WIN32)
  set(QUELVANO_SQLITE_DIR "${CMAKE_SOURCE_DIR}/.cache/sqlite" CACHE PATH
      "Folder holding sqlite3.c and sqlite3.h")
  if(DEFINED ENV{QUELVANO_CACHE_DIR})
    set(QUELVANO_SQLITE_DIR "$ENV{QUELVANO_CACHE_DIR}/sqlite")
  endif()
  if(NOT EXISTS "${QUELVANO_SQLITE_DIR}/sqlite3.c")
    message(FATAL_ERROR "No SQLite amalgamation in ${QUELVANO_SQLITE_DIR}: run scripts/setup.sh")
  endif()
  add_library(quelvano_sqlite STATIC "${QUELVANO_SQLITE_DIR}/sqlite3.c")
  target_include_directories(quelvano_sqlite SYSTEM PUBLIC "${QUELVANO_SQLITE_DIR}")
  target_compile_definitions(quelvano_sqlite PRIVATE
    SQLITE_THREADSAFE=0 SQLITE_OMIT_LOAD_EXTENSION SQLITE_DQS=0 SQLITE_DEFAULT_FOREIGN_KEYS=0)
  # Small rather than fast: the store holds a few dozen rows, and the program ships as one file.
  target_compile_options(quelvano_sqlite PRIVATE -w -Os -ffunction-sections -fdata-sections)
  add_library(Quelvano::SQLite ALIAS quelvano_sqlite)
else()
  find_package(SQLite3 REQUIRED)
  add_library(Quelvano::SQLite ALIAS SQLite::SQLite3)
endif()
