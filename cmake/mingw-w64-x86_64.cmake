# Cross-builds the Windows programs with mingw-w64 (Debian's g++-mingw-w64-x86-64-posix).
# The posix flavour has std::thread and std::mutex, which GoogleTest needs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(OSTROVA_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${OSTROVA_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${OSTROVA_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${OSTROVA_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${OSTROVA_MINGW_PREFIX} ${OSTROVA_WINDOWS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Static runtime: the programs need no DLL beyond Windows' own.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
# localtime_r and gmtime_r, as on every other system.
set(CMAKE_CXX_FLAGS_INIT "-D_POSIX_THREAD_SAFE_FUNCTIONS=200112L")

# Tests run under wine.
find_program(OSTROVA_WINE wine)
if(OSTROVA_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${OSTROVA_WINE})
endif()
