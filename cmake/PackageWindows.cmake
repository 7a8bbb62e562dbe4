# SPDX-License-Identifier: MIT
# What a Windows player downloads, made by the target orvo_package in the
# build folder: orvo-VERSION-win64.zip (the stripped program, its licence
# and a read-me, to unpack anywhere and run) and the installer
# orvo-VERSION-setup.exe, which needs nsis; orvo_zip makes the zip alone.
# The program in the build folder keeps its debugging information for the
# tests.
set(ORVO_DIST_DIR ${PROJECT_BINARY_DIR}/dist/Orvo)
set(ORVO_ZIP_FILE ${PROJECT_BINARY_DIR}/orvo-${PROJECT_VERSION}-win64.zip)
set(ORVO_SETUP_FILE ${PROJECT_BINARY_DIR}/orvo-${PROJECT_VERSION}-setup.exe)
set(ORVO_ICON ${PROJECT_SOURCE_DIR}/res/orvo.ico)

# Text files with the line ends every Windows editor reads. The zip's
# read-me tells of a folder to unpack anywhere, the installer's of Program
# Files, the player's settings folder and how to uninstall; the mark tells
# the installed program that it is one.
set(ORVO_SETUP_README ${PROJECT_BINARY_DIR}/dist/setup/README.txt)
set(ORVO_MARK_FILE ${ORVO_DIST_DIR}/${ORVO_INSTALL_MARK})
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${ORVO_DIST_DIR}/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/res/windows/readme-zip.txt.in ${ORVO_DIST_DIR}/README.txt
               @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/res/windows/readme-installed.txt.in ${ORVO_SETUP_README}
               @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/res/windows/installed.txt.in ${ORVO_MARK_FILE}
               @ONLY NEWLINE_STYLE CRLF)

# The installer's texts from texts.txt, with a C string's escapes spelt as
# NSIS spells them.
foreach(name SETUP_GAME_RUNNING SETUP_GAME_RUNNING_EN SETUP_GAME_STILL_RUNNING
             SETUP_GAME_STILL_RUNNING_EN)
  set(text "${TXT_${name}}")
  string(REPLACE "$" "$$" text "${text}")
  string(REPLACE "\\r" "$\\r" text "${text}")
  string(REPLACE "\\n" "$\\n" text "${text}")
  string(REPLACE "\\t" "$\\t" text "${text}")
  string(REPLACE "\\\"" "$\\\"" text "${text}")
  set(NSIS_${name} "${text}")
endforeach()
configure_file(${PROJECT_SOURCE_DIR}/res/windows/orvo.nsi.in ${PROJECT_BINARY_DIR}/dist/orvo.nsi
               @ONLY)

add_custom_command(OUTPUT ${ORVO_DIST_DIR}/orvo.exe
    COMMAND ${CMAKE_STRIP} --strip-all -o ${ORVO_DIST_DIR}/orvo.exe $<TARGET_FILE:orvo>
    DEPENDS orvo
    COMMENT "Stripping orvo.exe")
add_custom_command(OUTPUT ${ORVO_ZIP_FILE}
    COMMAND ${CMAKE_COMMAND} -E rm -f ${ORVO_ZIP_FILE}
    COMMAND ${CMAKE_COMMAND} -E tar cf ${ORVO_ZIP_FILE} --format=zip
            Orvo/orvo.exe Orvo/LICENSE.txt Orvo/README.txt
    WORKING_DIRECTORY ${PROJECT_BINARY_DIR}/dist
    DEPENDS ${ORVO_DIST_DIR}/orvo.exe ${ORVO_DIST_DIR}/LICENSE.txt ${ORVO_DIST_DIR}/README.txt
    COMMENT "Packing ${ORVO_ZIP_FILE}")
add_custom_target(orvo_zip DEPENDS ${ORVO_ZIP_FILE})

add_custom_command(OUTPUT ${ORVO_SETUP_FILE}
    COMMAND ${CMAKE_COMMAND} -DSCRIPT=${PROJECT_BINARY_DIR}/dist/orvo.nsi
            -P ${PROJECT_SOURCE_DIR}/cmake/MakeInstaller.cmake
    WORKING_DIRECTORY ${ORVO_DIST_DIR}
    DEPENDS ${ORVO_DIST_DIR}/orvo.exe ${ORVO_DIST_DIR}/LICENSE.txt ${ORVO_SETUP_README}
            ${ORVO_MARK_FILE} ${PROJECT_BINARY_DIR}/dist/orvo.nsi ${ORVO_ICON}
            ${PROJECT_SOURCE_DIR}/cmake/MakeInstaller.cmake
    COMMENT "Making the installer ${ORVO_SETUP_FILE}")
add_custom_target(orvo_package DEPENDS ${ORVO_ZIP_FILE} ${ORVO_SETUP_FILE})
