# Compilers and search paths of the MinGW-w64 toolchain named by MINGW_TRIPLET. On
# Windows the MinGW-w64 tools go by the same names; put their bin folder on PATH.
set(CMAKE_C_COMPILER ${MINGW_TRIPLET}-gcc)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLET}-g++)
set(CMAKE_RC_COMPILER ${MINGW_TRIPLET}-windres)
if(CMAKE_HOST_UNIX)
    set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLET})
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
