# Cross-compiling the Windows edition on Linux with MinGW-w64 (Debian's
# gcc-mingw-w64-x86-64 and g++-mingw-w64-x86-64, the POSIX threads variant so
# that std::thread and GoogleTest have their threads), run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MORLU_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${MORLU_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MORLU_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${MORLU_MINGW}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${MORLU_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Every executable runs alone: the C and C++ runtimes and the threads library
# are linked in, so it needs no DLL but the system's.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
# Tests run their programs through Wine; Debian installs its 64-bit loader here.
find_program(MORLU_WINE64 NAMES wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
if(NOT MORLU_WINE64)
  find_program(MORLU_WINE64 NAMES wine64 wine)
endif()
if(MORLU_WINE64)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${MORLU_WINE64})
endif()
