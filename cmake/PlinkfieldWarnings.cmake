# Our own code builds warning-free; third-party code keeps its own flags.
# Included by the top level and by the painter when it is built on its own
# for a cross build.
#
# Warnings are errors only where we choose the compiler: every preset and so
# CI turn PLINKFIELD_WERROR on. A packager's or a player's build leaves it
# off, so that a newer compiler's new warning, or a distribution's own
# hardening flags, never stop a build of a release.
include_guard(GLOBAL)

option(PLINKFIELD_WERROR "Treat warnings in our own code as errors (on in every preset)" OFF)

function(plinkfield_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion
                         $<$<BOOL:${PLINKFIELD_WERROR}>:-Werror>)
endfunction()
