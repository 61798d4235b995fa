# Our own code builds warning-free; third-party code keeps its own flags.
# Included by the top level and by the painter when it is built on its own
# for a cross build.
include_guard(GLOBAL)

function(plinkfield_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion -Werror)
endfunction()
