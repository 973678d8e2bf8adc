# GoogleTest: Debian's build natively; for Windows, compiled here from Debian's source package.
if(CMAKE_CROSSCOMPILING)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
else()
  find_package(GTest REQUIRED)
endif()

set(QUELVANO_TEST_RESULTS ${CMAKE_BINARY_DIR}/test-results)
file(MAKE_DIRECTORY ${QUELVANO_TEST_RESULTS})
# Under Wine the root of the Unix file system is drive Z:.
if(CMAKE_CROSSCOMPILING)
  set(results_arg "Z:${QUELVANO_TEST_RESULTS}")
else()
  set(results_arg "${QUELVANO_TEST_RESULTS}")
endif()

# quelvano_add_test(<name> SOURCES <files...> [LIBS <targets...>] [LAUNCHER <script>])
# One GoogleTest executable, registered with CTest; its results land in test-results/<name>.xml,
# which scripts/test.sh counts. Under Windows the emulator (Wine) runs it; a launcher, when given,
# is started with the executable and its arguments instead. Its main is tests/TestMain.cpp, which
# holds the application object.
function(quelvano_add_test name)
  cmake_parse_arguments(ARG "" "LAUNCHER" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES} ${PROJECT_SOURCE_DIR}/tests/TestMain.cpp)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE quelvano_platform ${ARG_LIBS} GTest::gmock GTest::gtest)
  quelvano_warnings(${name})
  # Named as a target, the executable is run through the emulator when there is one.
  set(command ${name})
  if(ARG_LAUNCHER)
    set(command ${ARG_LAUNCHER} $<TARGET_FILE:${name}>)
  endif()
  add_test(NAME ${name}
           COMMAND ${command} --gtest_output=xml:${results_arg}/${name}.xml
           WORKING_DIRECTORY $<TARGET_FILE_DIR:${name}>)
endfunction()
