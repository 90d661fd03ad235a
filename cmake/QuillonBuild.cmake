# Shared compile settings and the helper that makes one library per subsystem.

add_compile_options(-Wall -Wextra -Wpedantic)

# The program's code is one private shared library (quillon_core, below) made
# of the subsystem libraries, so they are built position-independent. It
# shows only the declarations marked QUILLON_EXPORT (platform/export.h).
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
if(NOT WIN32)  # a Windows DLL shows only what __declspec(dllexport) marks anyway
  set(CMAKE_CXX_VISIBILITY_PRESET hidden)
  set(CMAKE_VISIBILITY_INLINES_HIDDEN ON)
endif()
if(WIN32)
  # UTF-16 calls by their W names only; windows.h without its min and max macros.
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00)
endif()
# With hidden symbols the linker sees everything the program and the modules
# cannot reach, and drops it from the core (--gc-sections): a run to TIFF maps
# no more of it than it did when all was one executable.
add_compile_options(-ffunction-sections -fdata-sections)

if(QUILLON_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
if(QUILLON_FUZZ)
  # Every library is instrumented, so that the fuzzers see (and check) the
  # whole road an input takes; fuzz/CMakeLists.txt links libFuzzer itself.
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "QUILLON_FUZZ needs clang (CC=clang CXX=clang++)")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
if(QUILLON_TSAN)
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()

# The core and the modules resolve every symbol when they are linked (-z defs).
# Clang links its sanitizer runtimes into executables only, so that its
# sanitized builds (the fuzz targets) leave those symbols to the program.
# (A Windows DLL resolves every symbol when it is linked in any case.)
set(QUILLON_NO_UNDEFINED LINKER:-z,defs)
if(WIN32 OR (CMAKE_CXX_COMPILER_ID MATCHES "Clang" AND (QUILLON_FUZZ OR QUILLON_SANITIZE OR QUILLON_TSAN)))
  set(QUILLON_NO_UNDEFINED "")
endif()
# Keeps the ELF program's code in one segment with its read-only data; no PE option.
set(QUILLON_ONE_SEGMENT LINKER:-z,noseparate-code)
if(WIN32)
  set(QUILLON_ONE_SEGMENT "")
endif()

# quillon_library(<name> <sources...> [LINKS <targets...>])
# Every subsystem library sees the whole src/ tree as its include root, so a
# header is always named by its folder: #include "codec/bit_reader.h".
function(quillon_library name)
  cmake_parse_arguments(ARG "" "" "LINKS" ${ARGN})
  if(ARG_UNPARSED_ARGUMENTS)
    add_library(${name} STATIC ${ARG_UNPARSED_ARGUMENTS})
    set(scope PUBLIC)
  else()
    add_library(${name} INTERFACE)  # a subsystem whose sources are headers only
    set(scope INTERFACE)
  endif()
  target_include_directories(${name} ${scope} ${PROJECT_SOURCE_DIR}/src)
  if(ARG_LINKS)
    target_link_libraries(${name} ${scope} ${ARG_LINKS})
  endif()
endfunction()

# quillon_module(<target> <file name> <sources...> [LINKS <libraries...>] [COMPONENT <package>])
# A module the program loads when a run needs it (platform/module_loader.h),
# for parts that bring large libraries. It links the program's code as the
# shared core (quillon_core, src/CMakeLists.txt) and resolves every symbol
# when it is linked (QUILLON_NO_UNDEFINED). It is built beside the program
# and the core, installed beside the core in QUILLON_MODULE_DIR, and finds
# the core there ($ORIGIN) in both trees, so its RUNPATH is never edited
# (an edit would pad the build one with empty entries, the current folder).
# COMPONENT is the Debian package it goes into.
function(quillon_module target file)
  cmake_parse_arguments(ARG "" "COMPONENT" "LINKS" ${ARGN})
  if(NOT ARG_COMPONENT)
    set(ARG_COMPONENT quillon)
  endif()
  add_library(${target} MODULE ${ARG_UNPARSED_ARGUMENTS})
  set_target_properties(${target} PROPERTIES PREFIX "" OUTPUT_NAME ${file}
                        LIBRARY_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/src
                        BUILD_WITH_INSTALL_RPATH ON INSTALL_RPATH "$ORIGIN")
  target_link_libraries(${target} PRIVATE quillon_core ${ARG_LINKS})
  target_link_options(${target} PRIVATE ${QUILLON_NO_UNDEFINED})
  install(TARGETS ${target} LIBRARY DESTINATION ${QUILLON_MODULE_DIR} COMPONENT ${ARG_COMPONENT})
  set_property(GLOBAL APPEND PROPERTY QUILLON_MODULES ${target})
endfunction()
