# The installer a Windows player double-clicks: Plinkfield-<version>-win64.msi
# in installer/, made with every build by wixl (Debian's msitools) from
# packaging/windows/plinkfield.wxs. It installs Plinkfield.exe and
# Audio_Bkgrnd\Ambient.exe into Program Files\Plinkfield, a Start-menu
# shortcut and an entry in Add/Remove Programs; a newer one replaces an
# older one. Two builds give the same bytes (installer/make_msi.cmake says
# how). Included by the game's own folder (Ambient, defined later, is only
# named as a target).
include_guard(GLOBAL)
include(${CMAKE_CURRENT_LIST_DIR}/PlinkfieldRelease.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/PlinkfieldWindows.cmake)  # PLINKFIELD_WINDOWS_DIR

find_program(PLINKFIELD_WIXL wixl NO_CMAKE_FIND_ROOT_PATH)
find_program(PLINKFIELD_MSIBUILD msibuild NO_CMAKE_FIND_ROOT_PATH)
find_program(PLINKFIELD_FAKETIME faketime NO_CMAKE_FIND_ROOT_PATH)
if(NOT PLINKFIELD_WIXL OR NOT PLINKFIELD_MSIBUILD OR NOT PLINKFIELD_FAKETIME)
  message(FATAL_ERROR "The Windows installer needs wixl, msibuild and faketime "
                      "(packages wixl, msitools, faketime: scripts/install-deps installs them)")
endif()

set(installer_dir ${CMAKE_BINARY_DIR}/installer)
set(msi ${installer_dir}/Plinkfield-${PROJECT_VERSION}-win64.msi)
set(wxs ${PROJECT_SOURCE_DIR}/packaging/windows/plinkfield.wxs)
get_target_property(icon_dir plinkfield_resources PLINKFIELD_ICON_DIR)
# The script that makes an MSI of any version from these files, for the
# build and for the tests' newer one.
configure_file(${CMAKE_CURRENT_LIST_DIR}/make_msi.cmake.in ${installer_dir}/make_msi.cmake @ONLY)

add_custom_command(
  OUTPUT ${msi}
  COMMAND ${CMAKE_COMMAND} -DVERSION=${PROJECT_VERSION} -DOUT=${msi} -P ${installer_dir}/make_msi.cmake
  DEPENDS ${wxs} ${installer_dir}/make_msi.cmake Plinkfield Ambient plinkfield_resources
  COMMENT "Making the installer, Plinkfield-${PROJECT_VERSION}-win64.msi"
  VERBATIM)
add_custom_target(plinkfield_msi ALL DEPENDS ${msi})
