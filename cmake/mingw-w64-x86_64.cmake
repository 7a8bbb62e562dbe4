# SPDX-License-Identifier: MIT
# Cross-builds the Windows program with Debian's mingw-w64 (64-bit, POSIX
# threads for std::thread); the windows preset names it:
#   cmake --preset windows
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ORVO_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ORVO_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ORVO_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${ORVO_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ORVO_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The host's .pc files describe Linux libraries; never let them in.
set(ENV{PKG_CONFIG_LIBDIR} "/usr/${ORVO_MINGW_PREFIX}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")

# Tests and other built programs run under Wine.
find_program(ORVO_WINE NAMES wine64 wine)
if(ORVO_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${ORVO_WINE})
endif()

# One self-contained executable: libgcc, libstdc++ and winpthread linked in,
# so that only system DLLs are imported.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
