# Cross-compiling for 64-bit Windows with MinGW-w64, for machines whose Wine can run only
# 64-bit programs; programs run under Wine with WINEARCH=win64.
# The posix thread model: the C++ thread library (and GoogleTest, which needs it) works.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
# Class-long indices that the 64-bit headers give only in their pointer-sized form; user
# handles fit 32 bits, so the 32-bit calls that use them still work there.
set(CMAKE_C_FLAGS_INIT "-DGCL_HICON=GCLP_HICON -DGCL_HICONSM=GCLP_HICONSM")
set(CMAKE_CXX_FLAGS_INIT "-DGCL_HICON=GCLP_HICON -DGCL_HICONSM=GCLP_HICONSM")
