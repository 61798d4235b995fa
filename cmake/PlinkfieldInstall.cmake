# `cmake --install` on Linux: the programs, the menu entry, the icons, the
# AppStream metainfo, the manual pages and the copyright, laid out by the
# freedesktop and Debian conventions under any prefix:
#
#   games/plinkfield                              the game
#   games/plinkfield-sim                          the simulator (a tool, man 6)
#   lib/plinkfield/plinkfield-ambient             the game's private helper
#   share/applications/<id>.desktop               the menu entry
#   share/icons/hicolor/<n>x<n>/apps/<id>.png     the icon, 16 to 512
#   share/metainfo/<id>.metainfo.xml              the software-centre entry
#   share/man/man6/plinkfield.6.gz, plinkfield-sim.6.gz
#   share/doc/plinkfield/copyright, changelog.gz
#
# The game finds its companion beside itself or at ../lib/plinkfield/, so the
# build tree, any prefix and a relocated copy all work. Ambient lives under
# lib/, not the multiarch CMAKE_INSTALL_LIBDIR: it is a program, not a library.
#
# Included from the top level after every program is defined (native builds
# only). Gives PLINKFIELD_APP_ID and the target plinkfield_desktop_files.
# Also PLINKFIELD_PACKAGE_FILES, the files a package must not be made
# without (relative to the prefix).
include_guard(GLOBAL)
include(GNUInstallDirs)
include(${CMAKE_CURRENT_LIST_DIR}/PlinkfieldRelease.cmake)

set(PLINKFIELD_APP_ID org.plinkfield.Plinkfield)
set(PLINKFIELD_INSTALL_GAMESDIR games)  # as game/shell/sdl installs the game
set(PLINKFIELD_HOMEPAGE https://plinkfield.org/ CACHE STRING "Home page named by the metainfo and the package")
set(PLINKFIELD_SCREENSHOT_URL ${PLINKFIELD_HOMEPAGE}docs/screenshot-native.png CACHE STRING
    "Where the software centre fetches the screenshot; the file is docs/screenshot-native.png of the source tree")
set(PLINKFIELD_MAINTAINER "The Plinkfield authors <maintainers@plinkfield.org>")

set(pkg_src ${PROJECT_SOURCE_DIR}/packaging)
set(pkg_out ${CMAKE_BINARY_DIR}/packaging)

# ------------------------------------------------------------------ programs

# The game and Ambient install themselves (game/shell/sdl, ambient/sdl) to
# games/ and lib/plinkfield/; the package test checks that the menu entry's
# command is there.
install(TARGETS plinkfield-sim RUNTIME DESTINATION ${PLINKFIELD_INSTALL_GAMESDIR})


# --------------------------------------------------- menu entry and metainfo

# The desktop file names the game by its absolute path, which is only known
# when installing (CPack installs under its own prefix): it is written then.
# The build tree keeps a copy for the prefix configured here.
set(PLINKFIELD_GAME_EXEC ${CMAKE_INSTALL_PREFIX}/${PLINKFIELD_INSTALL_GAMESDIR}/plinkfield)
configure_file(${pkg_src}/${PLINKFIELD_APP_ID}.desktop.in ${pkg_out}/${PLINKFIELD_APP_ID}.desktop @ONLY)
install(CODE "
  set(PLINKFIELD_APP_ID ${PLINKFIELD_APP_ID})
  set(PLINKFIELD_GAME_EXEC \${CMAKE_INSTALL_PREFIX}/${PLINKFIELD_INSTALL_GAMESDIR}/plinkfield)
  configure_file(${pkg_src}/${PLINKFIELD_APP_ID}.desktop.in
                 ${pkg_out}/install/${PLINKFIELD_APP_ID}.desktop @ONLY)
  file(INSTALL ${pkg_out}/install/${PLINKFIELD_APP_ID}.desktop
       DESTINATION \${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/applications)
")

configure_file(${pkg_src}/${PLINKFIELD_APP_ID}.metainfo.xml.in ${pkg_out}/${PLINKFIELD_APP_ID}.metainfo.xml @ONLY)
install(FILES ${pkg_out}/${PLINKFIELD_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# ---------------------------------------------------------------------- icons

# Painted by the painter at every hicolor size (resources/CMakeLists.txt
# names the sizes and the file name); installed under the application id.
get_target_property(icon_dir plinkfield_resources PLINKFIELD_ICON_DIR)
get_target_property(icon_name plinkfield_resources PLINKFIELD_ICON_NAME)
get_target_property(icon_sizes plinkfield_resources PLINKFIELD_ICON_SIZES)
foreach(size IN LISTS icon_sizes)
  install(FILES ${icon_dir}/hicolor/${size}x${size}/apps/${icon_name}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME ${PLINKFIELD_APP_ID}.png)
endforeach()

# --------------------------------------------------------------- manual pages

# Written in scdoc. A build that only plays (scripts/play installs no scdoc)
# goes without them; the package refuses to be made without them.
find_program(PLINKFIELD_SCDOC scdoc)
set(man_pages)
if(PLINKFIELD_SCDOC)
  foreach(page plinkfield.6 plinkfield-sim.6)
    add_custom_command(
      OUTPUT ${pkg_out}/man/${page} ${pkg_out}/man/${page}.gz
      COMMAND ${CMAKE_COMMAND}
        -DSCDOC=${PLINKFIELD_SCDOC} -DEPOCH=${PLINKFIELD_RELEASE_EPOCH}
        -DIN=${pkg_src}/man/${page}.scd -DOUT=${pkg_out}/man/${page}
        -P ${PROJECT_SOURCE_DIR}/cmake/PlinkfieldManPage.cmake
      DEPENDS ${pkg_src}/man/${page}.scd ${PROJECT_SOURCE_DIR}/cmake/PlinkfieldManPage.cmake
      COMMENT "Writing the manual page ${page}"
      VERBATIM
    )
    list(APPEND man_pages ${pkg_out}/man/${page}.gz)
  endforeach()
  install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
else()
  message(STATUS "scdoc is missing: no manual pages (scripts/install-deps installs it)")
endif()

# The Debian changelog of this native package: one entry, for this version.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(saved_epoch "$ENV{SOURCE_DATE_EPOCH}")
endif()
set(ENV{SOURCE_DATE_EPOCH} ${PLINKFIELD_RELEASE_EPOCH})
string(TIMESTAMP PLINKFIELD_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
if(DEFINED saved_epoch)
  set(ENV{SOURCE_DATE_EPOCH} "${saved_epoch}")
else()
  unset(ENV{SOURCE_DATE_EPOCH})
endif()
configure_file(${pkg_src}/changelog.in ${pkg_out}/changelog @ONLY)
add_custom_command(
  OUTPUT ${pkg_out}/changelog.gz
  COMMAND gzip -9nf -k ${pkg_out}/changelog
  DEPENDS ${pkg_out}/changelog
  VERBATIM
)

add_custom_target(plinkfield_desktop_files ALL DEPENDS ${man_pages} ${pkg_out}/changelog.gz)

# ----------------------------------------------------------- documentation

set(docdir ${CMAKE_INSTALL_DATADIR}/doc/plinkfield)
install(FILES ${pkg_src}/copyright ${pkg_out}/changelog.gz DESTINATION ${docdir})

# ------------------------------------------------------ what a package needs

# A package is not made without these (cmake/PlinkfieldPackageCheck.cmake);
# a build that only plays may lack the pages and the icons.
set(PLINKFIELD_PACKAGE_FILES
  ${PLINKFIELD_INSTALL_GAMESDIR}/plinkfield
  ${PLINKFIELD_INSTALL_GAMESDIR}/plinkfield-sim
  lib/plinkfield/plinkfield-ambient
  ${CMAKE_INSTALL_DATADIR}/applications/${PLINKFIELD_APP_ID}.desktop
  ${CMAKE_INSTALL_DATADIR}/metainfo/${PLINKFIELD_APP_ID}.metainfo.xml
  ${CMAKE_INSTALL_MANDIR}/man6/plinkfield.6.gz
  ${CMAKE_INSTALL_MANDIR}/man6/plinkfield-sim.6.gz
  ${docdir}/copyright
)
foreach(size IN LISTS icon_sizes)
  list(APPEND PLINKFIELD_PACKAGE_FILES ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps/${PLINKFIELD_APP_ID}.png)
endforeach()
