# Cross build for 64-bit Windows with Debian's MinGW-w64 (posix threads).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(H5_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${H5_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${H5_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${H5_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${H5_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The programs and H5Kakei.ocx must start on a bare Windows: no libgcc, libstdc++ or
# winpthread DLLs beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Tests run under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
