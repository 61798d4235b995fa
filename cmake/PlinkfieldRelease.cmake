# The day this version was released, and the same day in seconds: the
# metainfo's release, the date line of the manual pages, the package
# changelog and every time stamp in the packages (PlinkfieldArchiveTime.cmake),
# so that builds do not depend on the day they run.
#
# Included by PlinkfieldInstall.cmake and by the two package makers.
# Gives PLINKFIELD_RELEASE_DATE (YYYY-MM-DD) and PLINKFIELD_RELEASE_EPOCH.
include_guard(GLOBAL)

set(PLINKFIELD_RELEASE_DATE 2026-12-07)

# Seconds since 1970 of a day at 00:00 UTC.
function(plinkfield_epoch_of date out)
  string(REGEX MATCH "^([0-9][0-9][0-9][0-9])-([0-9][0-9])-([0-9][0-9])$" unused "${date}")
  if(NOT CMAKE_MATCH_0)
    message(FATAL_ERROR "plinkfield_epoch_of: '${date}' is not YYYY-MM-DD")
  endif()
  # Days from the civil date, counted in 400-year eras starting in March.
  math(EXPR y "${CMAKE_MATCH_1}")
  math(EXPR m "${CMAKE_MATCH_2}")
  math(EXPR d "${CMAKE_MATCH_3}")
  if(m LESS_EQUAL 2)
    math(EXPR y "${y} - 1")
  endif()
  math(EXPR era "${y} / 400")
  math(EXPR yoe "${y} - ${era} * 400")
  math(EXPR mp "(${m} + 9) % 12")
  math(EXPR doy "(153 * ${mp} + 2) / 5 + ${d} - 1")
  math(EXPR doe "${yoe} * 365 + ${yoe} / 4 - ${yoe} / 100 + ${doy}")
  math(EXPR days "${era} * 146097 + ${doe} - 719468")
  math(EXPR seconds "${days} * 86400")
  set(${out} ${seconds} PARENT_SCOPE)
endfunction()
plinkfield_epoch_of(${PLINKFIELD_RELEASE_DATE} PLINKFIELD_RELEASE_EPOCH)

# What cpack needs to stamp an archive with the day: read at cpack time by
# PlinkfieldArchiveTime.cmake. Set before include(CPack).
set(CPACK_PLINKFIELD_RELEASE_EPOCH ${PLINKFIELD_RELEASE_EPOCH})
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/PlinkfieldArchiveTime.cmake)
