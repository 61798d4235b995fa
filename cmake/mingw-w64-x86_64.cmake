# Cross-building the Windows programs with Debian's MinGW-w64 (packages
# g++-mingw-w64-x86-64 and binutils-mingw-w64-x86-64).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MINGW_TRIPLET x86_64-w64-mingw32)

# The "win32" thread model: no winpthread DLL to ship beside the programs.
find_program(CMAKE_C_COMPILER NAMES ${MINGW_TRIPLET}-gcc-win32 ${MINGW_TRIPLET}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${MINGW_TRIPLET}-g++-win32 ${MINGW_TRIPLET}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${MINGW_TRIPLET}-windres REQUIRED)
find_program(CMAKE_AR NAMES ${MINGW_TRIPLET}-gcc-ar-win32 ${MINGW_TRIPLET}-ar REQUIRED)
find_program(CMAKE_RANLIB NAMES ${MINGW_TRIPLET}-gcc-ranlib-win32 ${MINGW_TRIPLET}-ranlib REQUIRED)
find_program(CMAKE_STRIP NAMES ${MINGW_TRIPLET}-strip)

set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Every program links the C and C++ runtimes in: a player unzips and runs,
# with no MinGW DLL beside the .exe files.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
