# Cross-builds Vantor3.dll and the stand-in engine as 32-bit Windows code with mingw-w64.
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain.cmake)
