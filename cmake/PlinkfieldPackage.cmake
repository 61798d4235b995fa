# The ZIP a Windows player downloads: Plinkfield.exe and
# Audio_Bkgrnd/Ambient.exe in one folder. `cpack` in the build folder.
include_guard(GLOBAL)
include(${CMAKE_CURRENT_LIST_DIR}/PlinkfieldRelease.cmake)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Plinkfield)
set(CPACK_PACKAGE_VENDOR Plinkfield)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME Plinkfield-${PROJECT_VERSION}-win64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)
