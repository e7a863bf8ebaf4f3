# Makes the stored (scrambled) form of texts that must not appear in the executable as plain
# text, so that no stored constant is ever typed by hand.
#
#   cmake -DINPUT=texts.txt -DOUTPUT=stored.h -DNAMESPACE=ns [-DPLAIN=1] -P scramble_texts.cmake
#
# INPUT holds one text a line, "kName=text" (lines starting with "#" and empty lines are
# skipped; a text can't hold ";", "[", "]" or "\", which CMake's lists would eat). OUTPUT is a
# header with one constant per text, in NAMESPACE:
#   inline constexpr std::string_view kName{...}
# With PLAIN=1 the header holds the plain texts instead (for tests, never for the program).
#
# The rule of the stored form is in scramble_rule.cmake.

cmake_minimum_required(VERSION 3.25)

foreach(var INPUT OUTPUT NAMESPACE)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "scramble_texts: ${var} is not set")
  endif()
endforeach()

include(${CMAKE_CURRENT_LIST_DIR}/scramble_rule.cmake)

file(STRINGS "${INPUT}" lines ENCODING UTF-8)
if(PLAIN)
  set(what "the plain texts (tests only; never linked into the program)")
else()
  set(what "the stored (scrambled) texts")
endif()
set(body "// Generated from ${INPUT} by cmake/scramble_texts.cmake: ${what}.\n")
string(APPEND body "// Do not edit; change the plain text there.\n#pragma once\n\n#include <string_view>\n\n")
string(APPEND body "namespace ${NAMESPACE} {\n\n")
set(names "")
foreach(line IN LISTS lines)
  if(line STREQUAL "" OR line MATCHES "^#")
    continue()
  endif()
  if(NOT line MATCHES "^(k[A-Za-z0-9_]+)=(.+)$")
    message(FATAL_ERROR "scramble_texts: ${INPUT}: not \"kName=text\": ${line}")
  endif()
  set(name "${CMAKE_MATCH_1}")
  set(text "${CMAKE_MATCH_2}")
  if(name IN_LIST names)
    message(FATAL_ERROR "scramble_texts: ${INPUT}: ${name} twice")
  endif()
  list(APPEND names ${name})
  text_bytes("${text}" bytes)
  if(NOT PLAIN)
    scramble_bytes(bytes bytes)
  endif()
  list(LENGTH bytes n)
  char_literals(bytes literals)
  string(APPEND body "inline constexpr char ${name}_bytes[${n}] = {${literals}};\n")
  string(APPEND body "inline constexpr std::string_view ${name}{${name}_bytes, ${n}};\n\n")
endforeach()
string(APPEND body "} // namespace ${NAMESPACE}\n")

# Rewritten only when it changes, so that nothing rebuilds for nothing.
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" old)
  if(old STREQUAL body)
    return()
  endif()
endif()
file(WRITE "${OUTPUT}" "${body}")
