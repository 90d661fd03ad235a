# Shared compile settings and the helper that makes one library per subsystem.

add_compile_options(-Wall -Wextra -Wpedantic)

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

# quillon_module(<target> <file name> <sources...> [LINKS <libraries...>])
# A module the program loads when a run needs it (platform/module_loader.h),
# for parts that bring large libraries. It links none of the program's own
# libraries: what it uses of them it finds in the program, which carries
# them whole and exports their symbols (src/CMakeLists.txt). It is built
# beside the program and installed in QUILLON_MODULE_DIR.
function(quillon_module target file)
  cmake_parse_arguments(ARG "" "" "LINKS" ${ARGN})
  add_library(${target} MODULE ${ARG_UNPARSED_ARGUMENTS})
  set_target_properties(${target} PROPERTIES PREFIX "" OUTPUT_NAME ${file}
                        LIBRARY_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/src)
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${target} PRIVATE ${ARG_LINKS})
  install(TARGETS ${target} LIBRARY DESTINATION ${QUILLON_MODULE_DIR})
  set_property(GLOBAL APPEND PROPERTY QUILLON_MODULES ${target})
endfunction()
