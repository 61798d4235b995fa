# Run by CPack (CPACK_PRE_BUILD_SCRIPTS) once the files are installed into
# its staging folder, before the package is made: refuses a package that
# lacks any of CPACK_PLINKFIELD_PACKAGE_FILES (set from
# PLINKFIELD_PACKAGE_FILES, paths relative to the prefix).
set(staged ${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX})
set(missing)
foreach(file IN LISTS CPACK_PLINKFIELD_PACKAGE_FILES)
  if(NOT EXISTS ${staged}/${file})
    list(APPEND missing ${CPACK_PACKAGING_INSTALL_PREFIX}/${file})
  endif()
endforeach()
if(missing)
  list(JOIN missing "\n  " missing)
  message(FATAL_ERROR "The package would lack:\n  ${missing}\n"
    "The manual pages need scdoc (scripts/install-deps deb); the icons come from the painter.")
endif()
