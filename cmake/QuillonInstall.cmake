# What `cmake --install` puts under the prefix, and the Debian package made of
# it by `cpack -G DEB`: the program, its man page and manual, and what a
# desktop needs to offer it for WinFax files.
include(GNUInstallDirs)

# QUILLON_APP_ID (top-level CMakeLists.txt) names the desktop entry, the icon,
# the MIME package and the AppStream component.
set(QUILLON_FAX_MIME_TYPE "application/x-winfax")
set(QUILLON_RELEASE_DATE "2026-12-08")
set(QUILLON_MAINTAINER "Batch Quillon developers <quillon@example.org>" CACHE STRING
    "Maintainer named in the Debian package")
# The window's Help looks for the manual here, relative to bin/ (gui/help.h).
set(QUILLON_DOC_DIR "${CMAKE_INSTALL_DATADIR}/doc/quillon")

set(data_source ${PROJECT_SOURCE_DIR}/data)
set(data_built ${PROJECT_BINARY_DIR}/data)
configure_file(${data_source}/quillon.desktop.in ${data_built}/${QUILLON_APP_ID}.desktop @ONLY)
configure_file(${data_source}/quillon.metainfo.xml.in ${data_built}/${QUILLON_APP_ID}.metainfo.xml @ONLY)
configure_file(${data_source}/quillon.mime.xml.in ${data_built}/${QUILLON_APP_ID}.xml @ONLY)

# The PNG icons are rendered from the hand-drawn SVG.
find_program(QUILLON_RSVG_CONVERT rsvg-convert REQUIRED)
set(built_data_files ${data_built}/changelog.gz)
foreach(size 48 64 128 256)
  set(png ${data_built}/icons/${size}/${QUILLON_APP_ID}.png)
  add_custom_command(OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${data_built}/icons/${size}
    COMMAND ${QUILLON_RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${data_source}/quillon.svg
    DEPENDS ${data_source}/quillon.svg VERBATIM)
  list(APPEND built_data_files ${png})
  install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
# Debian wants the change log compressed, reproducibly (no name, no time).
add_custom_command(OUTPUT ${data_built}/changelog.gz
  COMMAND sh -c "gzip -9n < '${data_source}/changelog' > '${data_built}/changelog.gz'"
  DEPENDS ${data_source}/changelog VERBATIM)
add_custom_target(quillon_data ALL DEPENDS ${built_data_files})

install(TARGETS quillon RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/docs/quillon.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_SOURCE_DIR}/docs/manual.html ${PROJECT_SOURCE_DIR}/docs/screenshot.png
              ${data_source}/copyright ${data_built}/changelog.gz
        DESTINATION ${QUILLON_DOC_DIR})
install(FILES ${data_built}/${QUILLON_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${data_built}/${QUILLON_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${data_built}/${QUILLON_APP_ID}.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES ${data_source}/quillon.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${QUILLON_APP_ID}.svg)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillon)
set(CPACK_PACKAGE_VENDOR "Batch Quillon developers")
set(CPACK_PACKAGE_CONTACT "${QUILLON_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "convert WinFax faxes to TIFF images")
set(CPACK_PACKAGE_DESCRIPTION "Batch Quillon turns faxes kept in WinFax files (.fxd, .fxm, .fxr, .fxs) into
multi-page TIFF images with CCITT Group 4 compression. It converts one file or
whole folder trees, from the command line or from its window, which can also
convert a folder automatically every few minutes.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${QUILLON_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# /ocr reads Tesseract's language data; English is its default language.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "tesseract-ocr-eng")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Debian installs manual pages compressed; `cmake --install` keeps quillon.1.
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/CompressManPage.cmake)
include(CPack)
