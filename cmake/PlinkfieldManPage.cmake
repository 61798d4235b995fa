# Script mode: one manual page from its scdoc source, as roff (for `man -l`
# in the build tree) and gzipped (as installed).
#   cmake -DSCDOC=scdoc -DEPOCH=<seconds> -DIN=x.6.scd -DOUT=x.6 -P PlinkfieldManPage.cmake
# EPOCH is the release day: the page's date line, and a build that gives the
# same bytes whenever it runs.
set(ENV{SOURCE_DATE_EPOCH} ${EPOCH})
# Ninja makes the folders of a command's outputs, Make does not.
get_filename_component(out_dir ${OUT} DIRECTORY)
file(MAKE_DIRECTORY ${out_dir})
execute_process(COMMAND ${SCDOC} INPUT_FILE ${IN} OUTPUT_FILE ${OUT} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  file(REMOVE ${OUT})
  message(FATAL_ERROR "scdoc failed on ${IN}")
endif()
# A page with a table says so on its first line, as man(7) pages do, so
# that man runs tbl for it whatever MANROFFSEQ says (lintian clears it, and
# groff 1.23 warns about a table it was not given).
file(READ ${OUT} page)
string(REGEX MATCH "\n\\.TS\n" table "${page}")
if(table)
  file(WRITE ${OUT} "'\\\" t\n${page}")
endif()
execute_process(COMMAND gzip -9nc ${OUT} OUTPUT_FILE ${OUT}.gz RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  file(REMOVE ${OUT}.gz)
  message(FATAL_ERROR "gzip failed on ${OUT}")
endif()
