# The one way to add a test. Included from tests/CMakeLists.txt after GoogleTest is found.
#
# quillop_add_test(<name> SOURCES ... LIBS ... [LABELS ...] [INCLUDES ...])
#   A gtest executable and one ctest entry. Natively it runs as it is; under MinGW it runs
#   through CMAKE_CROSSCOMPILING_EMULATOR (wine).
# quillop_add_wine_test(<name> SOURCES ... LIBS ... [ARGS ...] [LABELS ...] [INCLUDES ...])
#   A gtest executable run under the project's Wine harness (scripts/wine/run.sh: its own
#   prefix, and a private Xvfb when DISPLAY is unset). MinGW builds only.
#
# A missing source is an error of the build: nothing here skips a test quietly.

set(QUILLOP_WINE_RUN ${PROJECT_SOURCE_DIR}/scripts/wine/run.sh)

function(quillop_test_executable name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;INCLUDES" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} quillop_gtest)
  if(T_INCLUDES)
    target_include_directories(${name} PRIVATE ${T_INCLUDES})
  endif()
  quillop_warnings(${name})
endfunction()

function(quillop_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;LABELS;INCLUDES" ${ARGN})
  quillop_test_executable(${name} SOURCES ${T_SOURCES} LIBS ${T_LIBS} INCLUDES ${T_INCLUDES})
  add_test(NAME ${name} COMMAND ${name})
  # A test that hangs fails after minutes, not after ctest's default of 25.
  set_tests_properties(${name} PROPERTIES TIMEOUT 600)
  if(T_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}")
  endif()
endfunction()

function(quillop_add_wine_test name)
  if(NOT WIN32)
    message(FATAL_ERROR "quillop_add_wine_test(${name}) needs a MinGW build")
  endif()
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;ARGS;LABELS;INCLUDES" ${ARGN})
  quillop_test_executable(${name} SOURCES ${T_SOURCES} LIBS ${T_LIBS} INCLUDES ${T_INCLUDES})
  add_test(NAME ${name} COMMAND ${QUILLOP_WINE_RUN} $<TARGET_FILE:${name}> ${T_ARGS})
  set(labels wine)
  if(T_LABELS)
    list(APPEND labels ${T_LABELS})
  endif()
  set_tests_properties(${name} PROPERTIES LABELS "${labels}" TIMEOUT 300)
endfunction()
