# Builds that give the same bytes wherever and whenever they run, as
# Debian's reproducible-builds norm asks: two builds of one commit in two
# folders make the same programs, page, ZIP and package.
#
# Included by the top level before any target. The archives' time stamps
# are set where they are made (PlinkfieldArchiveTime.cmake, run by cpack).
include_guard(GLOBAL)

# The folders' names stay out of the objects: the debug information (which
# the linker's build ID is computed over, and which stays in the build ID
# after the package strips it) and __FILE__ name files relative to them,
# as Debian's own flags do for its build folder. The build folder comes
# last: GCC takes the last map that matches, and the build folder may lie
# inside the source folder.
add_compile_options(
  -ffile-prefix-map=${PROJECT_SOURCE_DIR}=.
  -ffile-prefix-map=${PROJECT_BINARY_DIR}=.
)
