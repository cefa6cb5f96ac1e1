# Cross-building for Windows with Debian's mingw-w64 (the posix-threads flavour, for std::thread),
# and running what it builds under Wine. QUENZO_WINDOWS_ARCH picks the program's processor: x86_64
# (64-bit Windows, the default) or i686 (32-bit Windows).
if(NOT QUENZO_WINDOWS_ARCH)
  set(QUENZO_WINDOWS_ARCH x86_64)
endif()
if(NOT QUENZO_WINDOWS_ARCH MATCHES "^(x86_64|i686)$")
  message(FATAL_ERROR "QUENZO_WINDOWS_ARCH is x86_64 or i686, not ${QUENZO_WINDOWS_ARCH}")
endif()
set(triple ${QUENZO_WINDOWS_ARCH}-w64-mingw32)
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${QUENZO_WINDOWS_ARCH})
set(CMAKE_C_COMPILER ${triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
set(CMAKE_RC_COMPILER ${triple}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Test discovery and the tests themselves run through Wine, in the prefix the script keeps.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
