# The part of the mingw-w64 toolchain files that the two word sizes share: the compilers and the
# search roots of the target named by CMAKE_SYSTEM_PROCESSOR (i686 or x86_64), against the Direct3D 9
# headers and import libraries mingw-w64 ships.
set(CMAKE_SYSTEM_NAME Windows)
set(vtr3_mingw_target ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32)
set(CMAKE_C_COMPILER ${vtr3_mingw_target}-gcc)
set(CMAKE_CXX_COMPILER ${vtr3_mingw_target}-g++)
set(CMAKE_RC_COMPILER ${vtr3_mingw_target}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${vtr3_mingw_target})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
