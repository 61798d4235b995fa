# What the two Windows programs share: where they land, how their resource
# scripts are compiled in, how they link, and the ZIP a player downloads.

# The layout the game expects: Ambient in Audio_Bkgrnd beside the game.
# Set in every directory that includes this; the functions once.
set(PLINKFIELD_WINDOWS_DIR ${CMAKE_BINARY_DIR}/Plinkfield)
include_guard(GLOBAL)

# A Windows GUI program of ours: stripped in a release build, placed under
# PLINKFIELD_WINDOWS_DIR/subdir. (The toolchain links every program
# statically: no MinGW DLL beside it.) The linker leaves the header's time
# stamp 0 rather than the hour of the build, so that two builds of one
# commit give the same .exe.
function(plinkfield_windows_program target subdir)
  set_target_properties(${target} PROPERTIES
    WIN32_EXECUTABLE ON
    RUNTIME_OUTPUT_DIRECTORY ${PLINKFIELD_WINDOWS_DIR}/${subdir})
  target_compile_definitions(${target} PRIVATE WIN32_LEAN_AND_MEAN NOMINMAX)
  target_link_options(${target} PRIVATE $<$<CONFIG:Release,MinSizeRel>:-s> -Wl,--no-insert-timestamp)
  plinkfield_warnings(${target})
endfunction()

# Compiles a resource script into an object of the target, with include_dir
# on the include path for the files it names; depends also on the rest.
# windres is run directly, so the top level needs no RC language.
function(plinkfield_compile_rc target rc_script include_dir)
  get_filename_component(name ${rc_script} NAME_WE)
  set(object ${CMAKE_CURRENT_BINARY_DIR}/${name}.res.o)
  add_custom_command(
    OUTPUT ${object}
    COMMAND ${CMAKE_RC_COMPILER} -I ${include_dir} -O coff -i ${rc_script} -o ${object}
    DEPENDS ${rc_script} ${ARGN}
    COMMENT "Compiling the resources of ${target} (${name}.rc)"
    VERBATIM)
  target_sources(${target} PRIVATE ${object})
endfunction()

# Compiles the painter's resource script of a program (GAME or AMBIENT) into
# an object of the target.
function(plinkfield_embed_resources target program)
  get_target_property(rc_script plinkfield_resources PLINKFIELD_${program}_RC)
  get_target_property(out_dir plinkfield_resources PLINKFIELD_OUT_DIR)
  plinkfield_compile_rc(${target} ${rc_script} ${out_dir} plinkfield_resources)
endfunction()

# The application manifest that makes a program DPI aware (per monitor, v2):
# it then counts in device pixels, and no system stretches its window.
function(plinkfield_dpi_aware target)
  set(dir ${PROJECT_SOURCE_DIR}/game/shell/win32)
  plinkfield_compile_rc(${target} ${dir}/dpi_aware.rc ${dir} ${dir}/dpi_aware.manifest)
endfunction()
