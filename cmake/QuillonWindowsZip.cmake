# The Windows program as one zip, quillon-VERSION-windows-x64.zip (target
# quillon_windows_zip): quillon.exe, quillon-core.dll and quillon-pdf.dll,
# the MinGW-w64 runtime DLLs they need, the manual, and the licence texts of
# the program and of what it carries (scripts/windows.sh gathers those of the
# libraries it cross-built into QUILLON_WINDOWS_DEPS/licences).
set(zip_name quillon-${PROJECT_VERSION}-windows-x64)
set(stage ${PROJECT_BINARY_DIR}/${zip_name})

# The compiler's runtime: C++ library, unwinder and threads.
set(runtime_dlls "")
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll} OUTPUT_VARIABLE found
                  OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${found}")
    message(FATAL_ERROR "The MinGW-w64 runtime ${dll} is not found")
  endif()
  list(APPEND runtime_dlls ${found})
endforeach()

file(GLOB dependency_licences ${QUILLON_WINDOWS_DEPS}/licences/*)
add_custom_target(quillon_windows_zip
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${stage} ${stage}.zip
  COMMAND ${CMAKE_COMMAND} -E make_directory ${stage}/licences
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:quillon> $<TARGET_FILE:quillon_core>
          $<TARGET_FILE:quillon_pdf_module> ${runtime_dlls} ${stage}
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/docs/manual.html ${PROJECT_SOURCE_DIR}/docs/screenshot.png
          ${stage}
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/data/copyright ${stage}/licences/quillon.txt
  COMMAND ${CMAKE_COMMAND} -E copy ${dependency_licences} ${stage}/licences
  COMMAND ${CMAKE_COMMAND} -E tar cf ${stage}.zip --format=zip ${zip_name}
  WORKING_DIRECTORY ${PROJECT_BINARY_DIR}
  DEPENDS quillon quillon_core quillon_pdf_module
  COMMENT "Making ${zip_name}.zip"
  VERBATIM)
