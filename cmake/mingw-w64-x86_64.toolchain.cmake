# 64-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-x86-64-posix: std::thread
# needs the POSIX thread model). Programs are linked statically, so Wine, the
# emulator that runs them here, needs no MinGW DLLs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(WRIGGLET_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${WRIGGLET_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${WRIGGLET_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${WRIGGLET_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${WRIGGLET_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# ctest and gtest_discover_tests run the test programs through this.
find_program(WRIGGLET_WINE NAMES wine wine64 PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(WRIGGLET_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${WRIGGLET_WINE})
endif()
