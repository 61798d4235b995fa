# Run by cpack before it packs (CPACK_PROJECT_CONFIG_FILE, set by
# PlinkfieldRelease.cmake): CPack gives every entry of the .deb and the ZIP,
# and the .deb's own members, the time of SOURCE_DATE_EPOCH when it is set.
# A packager's own SOURCE_DATE_EPOCH stands; otherwise it is the release
# day, so that a package made today and one made next year are the same.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  set(ENV{SOURCE_DATE_EPOCH} ${CPACK_PLINKFIELD_RELEASE_EPOCH})
endif()
