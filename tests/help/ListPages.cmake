# An independent reader must see every page of the help file: chmls lists the
# file's contents, and each page of PAGES has to be among them.
execute_process(COMMAND ${CHMLS} list ${CHM} OUTPUT_VARIABLE listing ERROR_VARIABLE errors RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "chmls could not read ${CHM} (${rc}): ${errors}")
endif()
foreach(page IN LISTS PAGES)
  if(NOT listing MATCHES " /${page}\n")
    message(FATAL_ERROR "chmls does not list ${page} in ${CHM}:\n${listing}")
  endif()
endforeach()
