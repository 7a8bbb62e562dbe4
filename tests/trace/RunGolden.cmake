# SPDX-License-Identifier: MIT
# Plays SCRIPT with TRACE in a fresh folder WORK and compares standard output
# with the .expected file beside the script; files the script writes there
# can be checked against .NAME.expected files too.
get_filename_component(dir ${SCRIPT} DIRECTORY)
get_filename_component(name ${SCRIPT} NAME_WE)
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
if(EXISTS ${dir}/${name}.ini)
  file(COPY_FILE ${dir}/${name}.ini ${WORK}/orvo.ini)
endif()
execute_process(COMMAND ${TRACE} INPUT_FILE ${SCRIPT} OUTPUT_FILE ${WORK}/actual
  ERROR_VARIABLE err RESULT_VARIABLE rc WORKING_DIRECTORY ${WORK})
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "orvo-trace exited with ${rc}: ${err}")
endif()
execute_process(COMMAND diff -u ${dir}/${name}.expected ${WORK}/actual
  OUTPUT_VARIABLE diff RESULT_VARIABLE differs)
if(differs)
  message(FATAL_ERROR "output differs from ${name}.expected:\n${diff}")
endif()
if(EXISTS ${dir}/${name}.ini.expected)
  execute_process(COMMAND diff -u ${dir}/${name}.ini.expected ${WORK}/orvo.ini
    OUTPUT_VARIABLE diff RESULT_VARIABLE differs)
  if(differs)
    message(FATAL_ERROR "settings file differs from ${name}.ini.expected:\n${diff}")
  endif()
endif()
