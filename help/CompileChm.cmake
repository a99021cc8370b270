# Runs chmcmd on PROJECT_FILE in WORK_DIR. chmcmd reports broken links and
# anchors but still exits with 0, so its report is checked here.
execute_process(
  COMMAND ${CHMCMD} --verbosity 1 ${PROJECT_FILE}
  WORKING_DIRECTORY ${WORK_DIR}
  OUTPUT_VARIABLE out
  ERROR_VARIABLE out
  RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR out MATCHES "Error" OR NOT EXISTS ${WORK_DIR}/Latcap.chm)
  message(FATAL_ERROR "chmcmd failed (${rc}):\n${out}")
endif()
