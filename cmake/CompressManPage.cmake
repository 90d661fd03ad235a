# Run by CPack on its staging folder: Debian wants manual pages gzipped, at
# the highest level and without a name or time, so the package is reproducible.
file(GLOB_RECURSE pages "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*.1")
foreach(page ${pages})
  execute_process(COMMAND gzip -9nf "${page}" COMMAND_ERROR_IS_FATAL ANY)
endforeach()
