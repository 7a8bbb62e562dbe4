# SPDX-License-Identifier: MIT
# What an installed game carries besides the program (manual page, copyright,
# changelog) and the Debian package that CPack makes of it. ./orvo.sh package
# configures a build for /usr with Debian's build flags and runs cpack there.

include(GNUInstallDirs)

set(ORVO_PACKAGE_MAINTAINER "The Orvo developers <orvo@packages.invalid>" CACHE STRING
    "Maintainer field of the Debian package and its changelog")
set(ORVO_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/orvo)

execute_process(COMMAND date -u -R -d "${ORVO_RELEASE_DATE} 12:00"
                OUTPUT_VARIABLE ORVO_RELEASE_DATE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE
                RESULT_VARIABLE date_result)
if(NOT date_result EQUAL 0)
  message(FATAL_ERROR "ORVO_RELEASE_DATE '${ORVO_RELEASE_DATE}' is not a date")
endif()

# Debian wants both compressed, and reproducibly so (gzip -n: no name or time).
set(docs ${PROJECT_BINARY_DIR}/doc)
configure_file(${PROJECT_SOURCE_DIR}/res/orvo.6 ${docs}/orvo.6 @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/res/debian/changelog.in ${docs}/changelog @ONLY)
foreach(doc orvo.6 changelog)
  add_custom_command(OUTPUT ${docs}/${doc}.gz
                     COMMAND gzip -9nkf ${docs}/${doc}
                     DEPENDS ${docs}/${doc} VERBATIM)
  list(APPEND compressed ${docs}/${doc}.gz)
endforeach()
add_custom_target(orvo_docs ALL DEPENDS ${compressed})

install(FILES ${docs}/orvo.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${docs}/changelog.gz ${PROJECT_SOURCE_DIR}/res/debian/copyright
        DESTINATION ${ORVO_DOC_DIR})

set(CPACK_GENERATOR DEB)
set(CPACK_SOURCE_GENERATOR "")
set(CPACK_PACKAGE_NAME orvo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${ORVO_PACKAGE_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "puzzle game of lining up balls of one colour")
# CPack indents these lines for the control file; keep them under 80 columns.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Orvo is a puzzle game with a Chinese user interface. Balls of seven colours"
  "lie on a 9 x 9 board. The player picks a ball and sends it to a free cell"
  "along a path of empty cells; five or more balls of one colour in a row,"
  "column or diagonal vanish and score. A move that removes nothing lets three"
  "new balls fall. The game ends when the board is full, and a good result"
  "enters the top-ten list.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The libraries come from the program itself; ALSA's library (opened when
# the first sound plays) and a font with Chinese characters are loaded at run
# time, so no tool sees them. The X11 platform plugin is part of libqt6gui6;
# the Wayland one only lets the game draw on a Wayland desktop without going
# through its X server, so it is recommended, not required.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libasound2, fonts-wqy-microhei | fonts-wqy-zenhei | fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, qt6-translations-l10n")
include(CPack)
