# What the two Windows programs share: where they land, how their resource
# scripts are compiled in, how they link, and the ZIP a player downloads.

# The layout the game expects: Ambient in Audio_Bkgrnd beside the game.
# Set in every directory that includes this; the functions once.
set(PLINKFIELD_WINDOWS_DIR ${CMAKE_BINARY_DIR}/Plinkfield)
include_guard(GLOBAL)

# A Windows GUI program of ours: statically linked (no MinGW DLL beside it),
# stripped in a release build, placed under PLINKFIELD_WINDOWS_DIR/subdir.
function(plinkfield_windows_program target subdir)
  set_target_properties(${target} PROPERTIES
    WIN32_EXECUTABLE ON
    RUNTIME_OUTPUT_DIRECTORY ${PLINKFIELD_WINDOWS_DIR}/${subdir})
  target_compile_definitions(${target} PRIVATE WIN32_LEAN_AND_MEAN NOMINMAX)
  target_link_options(${target} PRIVATE -static $<$<CONFIG:Release,MinSizeRel>:-s>)
  plinkfield_warnings(${target})
endfunction()

# Compiles a resource script of the painter into an object of the target.
# windres is run directly, so the top level needs no RC language. Without
# the painter the program still links, without pictures or sounds.
function(plinkfield_embed_resources target rc_script)
  if(NOT TARGET plinkfield_resources OR NOT rc_script)
    message(WARNING "${target}: no resource painter; building without pictures and sounds")
    return()
  endif()
  get_filename_component(name ${rc_script} NAME_WE)
  set(object ${CMAKE_CURRENT_BINARY_DIR}/${name}.res.o)
  add_custom_command(
    OUTPUT ${object}
    COMMAND ${CMAKE_RC_COMPILER} -I ${PLINKFIELD_RESOURCE_DIR} -O coff -i ${rc_script} -o ${object}
    DEPENDS ${rc_script} plinkfield_resources ${ARGN}
    COMMENT "Compiling the resources of ${target}"
    VERBATIM)
  target_sources(${target} PRIVATE ${object})
endfunction()
