# Cross-builds for 64-bit Windows with Debian's MinGW-w64 (the posix thread
# model, which std::thread needs). QUILLON_WINDOWS_DEPS is the prefix that
# scripts/windows.sh builds libtiff, nettle, libjpeg-turbo and qpdf into.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
set(CMAKE_RC_COMPILER ${triple}-windres)

# The dependency prefix reaches try_compile projects too.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES QUILLON_WINDOWS_DEPS)
set(CMAKE_FIND_ROOT_PATH /usr/${triple} ${QUILLON_WINDOWS_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# pkg-config looks only at what was built for Windows.
set(ENV{PKG_CONFIG_LIBDIR} "${QUILLON_WINDOWS_DEPS}/lib/pkgconfig")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")
# Libraries are found in the dependency prefix too; scripts/windows.sh puts
# there the names some projects link that differ in case from MinGW-w64's
# (qpdf links Advapi32, MinGW-w64 has libadvapi32.a).
foreach(kind EXE SHARED MODULE)
  set(CMAKE_${kind}_LINKER_FLAGS_INIT "-L${QUILLON_WINDOWS_DEPS}/lib")
endforeach()
# zlib goes into the program's DLLs: no zlib1.dll to ship.
set(ZLIB_USE_STATIC_LIBS ON)
