# The release: one ZIP holding the shipped Quillop.exe and the two documents the Help menu
# opens from beside it (the readme, named after the executable, and the catalog).
#
#   cmake --workflow --preset release     configures and builds win32, then writes
#                                         build/win32/Quillop-<version>-win32.zip
#
# The documents are the ones the build puts beside Quillop.exe (from assets/, with CRLF line
# ends); a missing one fails the packaging.

install(TARGETS Quillop RUNTIME DESTINATION .)
install(FILES $<TARGET_FILE_DIR:Quillop>/Quillop.txt $<TARGET_FILE_DIR:Quillop>/catalog.txt
        DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Quillop)
set(CPACK_PACKAGE_VERSION 1.0f)
set(CPACK_PACKAGE_FILE_NAME Quillop-1.0f-win32)
# The three files at the top of the ZIP: unpack anywhere and run.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
include(CPack)
