# What `cmake --install` puts under the prefix, and the Debian packages made
# of it by `cpack -G DEB`, one per install component:
#   quillon      the program, its core library, the PDF module, man page and
#                manual: all a server needs to convert to TIFF and PDF files,
#                without Qt or Tesseract;
#   quillon-gui  the window module and what a desktop needs to offer it for
#                WinFax files (desktop entry, icons, MIME type, AppStream);
#   quillon-ocr  the text recognition module (Tesseract).
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
configure_file(${data_source}/quillon.thumbnailer.in ${data_built}/${QUILLON_APP_ID}.thumbnailer @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/docs/quillon-thumbnailer.1 ${data_built}/quillon-thumbnailer.1 @ONLY)
# The man page names the project's version.
configure_file(${PROJECT_SOURCE_DIR}/docs/quillon.1 ${data_built}/quillon.1 @ONLY)
# The change log's latest entry is the project's version: the packages carry it.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${data_source}/changelog)
file(STRINGS ${data_source}/changelog changelog_head LIMIT_COUNT 1)
if(NOT changelog_head MATCHES "^quillon \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "data/changelog: the latest entry is not version ${PROJECT_VERSION}: ${changelog_head}")
endif()

# The packages this build makes (see above): the window's and recognition's
# only when they are built.
set(CPACK_COMPONENTS_ALL quillon)
if(QUILLON_GUI)
  list(APPEND CPACK_COMPONENTS_ALL quillon-gui)
endif()
if(QUILLON_OCR)
  list(APPEND CPACK_COMPONENTS_ALL quillon-ocr)
endif()

# Debian wants the change log compressed, reproducibly (no name, no time).
set(built_data_files ${data_built}/changelog.gz)
add_custom_command(OUTPUT ${data_built}/changelog.gz
  COMMAND sh -c "gzip -9n < '${data_source}/changelog' > '${data_built}/changelog.gz'"
  DEPENDS ${data_source}/changelog VERBATIM)

install(TARGETS quillon RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT quillon)
install(FILES ${data_built}/quillon.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT quillon)
install(FILES ${PROJECT_SOURCE_DIR}/docs/manual.html ${PROJECT_SOURCE_DIR}/docs/screenshot.png
              ${PROJECT_SOURCE_DIR}/docs/page-view.png DESTINATION ${QUILLON_DOC_DIR} COMPONENT quillon)
# Every package has its copyright and change log.
foreach(component ${CPACK_COMPONENTS_ALL})
  install(FILES ${data_source}/copyright ${data_built}/changelog.gz
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${component} COMPONENT ${component})
endforeach()

# What a desktop needs to offer the window for WinFax files: only with the window.
if(QUILLON_GUI)
  # The PNG icons are rendered from the hand-drawn SVG.
  find_program(QUILLON_RSVG_CONVERT rsvg-convert REQUIRED)
  foreach(size 48 64 128 256)
    set(png ${data_built}/icons/${size}/${QUILLON_APP_ID}.png)
    add_custom_command(OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${data_built}/icons/${size}
      COMMAND ${QUILLON_RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${data_source}/quillon.svg
      DEPENDS ${data_source}/quillon.svg VERBATIM)
    list(APPEND built_data_files ${png})
    install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            COMPONENT quillon-gui)
  endforeach()
  install(FILES ${data_built}/${QUILLON_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications
          COMPONENT quillon-gui)
  install(FILES ${data_built}/${QUILLON_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo
          COMPONENT quillon-gui)
  install(FILES ${data_built}/${QUILLON_APP_ID}.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
          COMPONENT quillon-gui)
  install(FILES ${data_built}/${QUILLON_APP_ID}.thumbnailer DESTINATION ${CMAKE_INSTALL_DATADIR}/thumbnailers
          COMPONENT quillon-gui)
  install(FILES ${data_built}/quillon-thumbnailer.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT quillon-gui)
  install(FILES ${data_source}/quillon.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
          RENAME ${QUILLON_APP_ID}.svg COMPONENT quillon-gui)
  configure_file(${data_source}/quillon-gui.lintian-overrides ${data_built}/quillon-gui.lintian-overrides @ONLY)
  install(FILES ${data_built}/quillon-gui.lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
          RENAME quillon-gui COMPONENT quillon-gui)
endif()
add_custom_target(quillon_data ALL DEPENDS ${built_data_files})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillon)
set(CPACK_PACKAGE_VENDOR "Batch Quillon developers")
set(CPACK_PACKAGE_CONTACT "${QUILLON_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${QUILLON_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
# Each package's libraries, found by dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The modules work only with the program of their own version.
set(same_version "quillon (= ${PROJECT_VERSION})")

set(CPACK_DEBIAN_QUILLON_PACKAGE_NAME quillon)
set(CPACK_DEBIAN_QUILLON_DESCRIPTION "convert WinFax faxes to TIFF images and PDF files
Batch Quillon turns faxes kept in WinFax files (.fxd, .fxm, .fxr, .fxs) into
multi-page TIFF images with CCITT Group 4 compression, or into PDF/A files
with the same pages. It converts one file or whole folder trees.
.
This package holds the command line program and the PDF writer, which need
neither a desktop nor text recognition: install quillon-gui for its window
and quillon-ocr for searchable PDF files.")
set(CPACK_DEBIAN_QUILLON_PACKAGE_SUGGESTS "quillon-gui, quillon-ocr")

set(CPACK_DEBIAN_QUILLON-GUI_PACKAGE_NAME quillon-gui)
set(CPACK_DEBIAN_QUILLON-GUI_DESCRIPTION "convert WinFax faxes to TIFF images - window
Batch Quillon turns faxes kept in WinFax files (.fxd, .fxm, .fxr, .fxs) into
multi-page TIFF images with CCITT Group 4 compression, or into PDF/A files.
.
This package holds its window (Qt), which converts files and folders and can
convert a folder automatically every few minutes, and what a desktop needs
to offer it for WinFax files.")
set(CPACK_DEBIAN_QUILLON-GUI_PACKAGE_DEPENDS "${same_version}")

set(CPACK_DEBIAN_QUILLON-OCR_PACKAGE_NAME quillon-ocr)
set(CPACK_DEBIAN_QUILLON-OCR_DESCRIPTION "convert WinFax faxes to TIFF images - text recognition
Batch Quillon turns faxes kept in WinFax files (.fxd, .fxm, .fxr, .fxs) into
multi-page TIFF images with CCITT Group 4 compression, or into PDF/A files.
.
This package holds its text recognition (Tesseract), which lays the words of
every page invisibly over it in the PDF files (/ocr), so that they can be
searched, selected and copied.")
set(CPACK_DEBIAN_QUILLON-OCR_PACKAGE_DEPENDS "${same_version}")
# /ocr reads Tesseract's language data; English is its default language, and
# the orientation data (osd) turn pages fed sideways or upside down.
set(CPACK_DEBIAN_QUILLON-OCR_PACKAGE_RECOMMENDS "tesseract-ocr-eng, tesseract-ocr-osd")

# Debian installs manual pages compressed; `cmake --install` keeps quillon.1.
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/CompressManPage.cmake)
include(CPack)
