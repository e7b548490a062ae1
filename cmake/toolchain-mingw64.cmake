# Cross build for 64-bit Windows with mingw-w64 on Debian. The -posix compilers are the thread-capable
# ones (std::thread, std::mutex); the runtime is linked in statically, so the programs need no DLLs of
# their own and run as they are on Windows and under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)

set(ZORVANT_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ZORVANT_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZORVANT_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${ZORVANT_MINGW_PREFIX}-windres)

# Extra roots (a cross-built libcurl or Qt) come in with -DCMAKE_FIND_ROOT_PATH=...
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${ZORVANT_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# The 64-bit loader itself: /usr/bin/wine picks the 32-bit one whenever wine32 is installed, and the
# kernel of a build machine may not run 32-bit programs at all.
find_program(ZORVANT_WINE64 NAMES wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
if(ZORVANT_WINE64)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${ZORVANT_WINE64})
endif()
