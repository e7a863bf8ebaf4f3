# The contract cases over real Win32, run under Wine through the project's harness.
if(NOT WIN32)
  return()
endif()
add_executable(contract_desktop_win32
  ${CMAKE_CURRENT_SOURCE_DIR}/desktop_cases.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/win32_world.cpp)
target_link_libraries(contract_desktop_win32 PRIVATE quillop_platform_win32 quillop_gtest)
quillop_warnings(contract_desktop_win32)
add_test(NAME contract_desktop_win32
         COMMAND ${PROJECT_SOURCE_DIR}/scripts/wine/run.sh $<TARGET_FILE:contract_desktop_win32>)
set_tests_properties(contract_desktop_win32 PROPERTIES LABELS "contract;wine" TIMEOUT 300)
