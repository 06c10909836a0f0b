# Writes the test classes of a Qt Test program (its "--list") to OUTPUT.
execute_process(COMMAND ${PROGRAM} --list OUTPUT_VARIABLE classes RESULT_VARIABLE result)
if(NOT result EQUAL 0 OR classes STREQUAL "")
  message(FATAL_ERROR "${PROGRAM} --list failed (${result})")
endif()
file(WRITE ${OUTPUT} "${classes}")
