# Cross-compiles for 64-bit Windows with MinGW-w64 (Debian's
# g++-mingw-w64-x86-64-posix), against its Windows headers and import
# libraries. The posix flavour gives std::thread and std::mutex.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(NORVALIS_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${NORVALIS_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${NORVALIS_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${NORVALIS_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${NORVALIS_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The C and C++ runtimes and winpthread go into each executable and DLL, so
# the bundle runs without MinGW's own DLLs beside it.
foreach(kind EXE SHARED MODULE)
  set(CMAKE_${kind}_LINKER_FLAGS_INIT "-static")
endforeach()
