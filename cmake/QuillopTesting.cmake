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

# quillop_plain_texts(<target>)
#   Gives a test the header "plain_texts.h": the plain texts of src/settings/plain_texts.txt in
#   namespace quillop::settings::plain, made by the same script that makes the stored ones.
#   Only tests see the plain texts.
function(quillop_plain_texts target)
  set(dir ${CMAKE_CURRENT_BINARY_DIR}/${target}_generated)
  add_custom_command(
    OUTPUT ${dir}/plain_texts.h
    COMMAND ${CMAKE_COMMAND} -DINPUT=${QUILLOP_PLAIN_TEXTS} -DOUTPUT=${dir}/plain_texts.h
            -DNAMESPACE=quillop::settings::plain -DPLAIN=1 -P ${QUILLOP_SCRAMBLE_SCRIPT}
    DEPENDS ${QUILLOP_PLAIN_TEXTS} ${QUILLOP_SCRAMBLE_SCRIPT}
    VERBATIM)
  target_sources(${target} PRIVATE ${dir}/plain_texts.h)
  target_include_directories(${target} PRIVATE ${dir})
endfunction()

# quillop_add_script_test(<name> SCRIPT <file.cmake> [DEFINES var=value ...] [LABELS ...])
#   A check written as a CMake script, run with `cmake -Dvar=value ... -P file`; it fails
#   with message(FATAL_ERROR).
function(quillop_add_script_test name)
  cmake_parse_arguments(T "" "SCRIPT" "DEFINES;LABELS" ${ARGN})
  set(defines "")
  foreach(d IN LISTS T_DEFINES)
    list(APPEND defines "-D${d}")
  endforeach()
  add_test(NAME ${name} COMMAND ${CMAKE_COMMAND} ${defines} -P ${T_SCRIPT})
  if(T_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}")
  endif()
endfunction()
