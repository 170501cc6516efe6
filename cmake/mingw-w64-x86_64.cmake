# Cross-compiling for 64-bit Windows with MinGW-w64: the build the tests run where Wine
# cannot start 32-bit programs (see QUORVEL_TEST_ARCH).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(MINGW_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
