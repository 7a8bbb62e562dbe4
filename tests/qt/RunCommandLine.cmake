# SPDX-License-Identifier: MIT
# Runs the real program with one option and no display at all, and checks its
# exit code, its standard output and its standard error.
#   -DPROGRAM=... -DOPTION=... -DEXIT=... -DSTDOUT=regex -DSTDERR=regex
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
          --unset=QT_QPA_PLATFORM ${PROGRAM} ${OPTION}
  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 20)
if(NOT "${result}" STREQUAL "${EXIT}")
  message(FATAL_ERROR "orvo ${OPTION}: exit ${result}, expected ${EXIT}\n${out}${err}")
endif()
foreach(stream out err)
  string(TOUPPER "STD${stream}" expected)
  if(NOT "${${stream}}" MATCHES "${${expected}}")
    message(FATAL_ERROR "orvo ${OPTION}: std${stream} was\n[${${stream}}]\nexpected ${${expected}}")
  endif()
endforeach()
