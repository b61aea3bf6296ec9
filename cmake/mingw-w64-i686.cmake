# Cross-builds the Windows program with Debian's mingw-w64 (g++-mingw-w64-i686-posix).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(QUILLBOX_MINGW_TRIPLET i686-w64-mingw32)
# The -posix variant by name: the plain name follows update-alternatives, which may point at the
# win32 thread model on another machine.
set(CMAKE_CXX_COMPILER ${QUILLBOX_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${QUILLBOX_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QUILLBOX_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
