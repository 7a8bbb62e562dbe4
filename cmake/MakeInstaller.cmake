# SPDX-License-Identifier: MIT
# Makes the Windows installer, run by the build in the folder that holds
# the files to install:
#   cmake -DSCRIPT=orvo.nsi -P MakeInstaller.cmake
# makensis is looked up here, when the installer is made, and not when the
# tree was configured: a tree configured before nsis was installed makes
# the installer as soon as it is, with nothing to configure again.
cmake_minimum_required(VERSION 3.22)

find_program(makensis makensis PATHS /usr/local/bin /usr/bin /bin NO_CACHE)
if(NOT makensis)
  message(FATAL_ERROR "makensis not found: install nsis to make the installer "
                      "(./orvo.sh package --windows does); the target orvo_zip makes the zip alone")
endif()
execute_process(COMMAND ${makensis} -V2 -INPUTCHARSET UTF8 -NOCD ${SCRIPT} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "makensis failed: ${result}")
endif()
