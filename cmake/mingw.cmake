# Windows cross build with Debian's mingw-w64 (posix threads) for the
# processor the including toolchain file sets.
set(CMAKE_SYSTEM_NAME Windows)
set(cv_mingw_triple ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32)
set(CMAKE_C_COMPILER ${cv_mingw_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${cv_mingw_triple}-g++-posix)
set(CMAKE_RC_COMPILER ${cv_mingw_triple}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${cv_mingw_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
