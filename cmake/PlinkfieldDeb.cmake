# The Debian package: `cpack` in a native build folder (or the `deb`
# workflow preset) makes package/plinkfield_<version>_amd64.deb from the
# rules of PlinkfieldInstall.cmake, prefix /usr. Depends is computed from the
# programs by dpkg-shlibdeps, never written here.
#
# Included from the top level after PlinkfieldInstall.cmake (native builds
# only; the Windows build makes its ZIP with PlinkfieldPackage.cmake).
include_guard(GLOBAL)
include(${CMAKE_CURRENT_LIST_DIR}/PlinkfieldRelease.cmake)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME plinkfield)
set(CPACK_PACKAGE_VENDOR "The Plinkfield authors")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${PLINKFIELD_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "shooting gallery in a painted meadow")
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # plinkfield_<version>_<arch>.deb
set(CPACK_DEBIAN_PACKAGE_NAME plinkfield)
set(CPACK_DEBIAN_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${PLINKFIELD_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${PLINKFIELD_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The long description; CPack puts the summary above in front of it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION [=[Rodents pop out of nine burrows in a painted meadow, one at a time: aim
with the cross-hair and click to fire. Every click costs one of the level's
25 cartridges; a rodent is worth 25 to 200 points, a lizard on the tree 200
to 500, the spider 10, and shooting the cow costs 200. Score enough and a
crow flies across the sky in a bonus stage before the next, harder level.
.
The package holds the game, its background-sound companion, a menu entry
with icons, and plinkfield-sim, the game without a window, driven by text
commands, for testing and for writing bots.]=])

# Refuses to make a package that lacks a program, a page or an icon.
set(CPACK_PLINKFIELD_PACKAGE_FILES "${PLINKFIELD_PACKAGE_FILES}")
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/PlinkfieldPackageCheck.cmake)

include(CPack)
