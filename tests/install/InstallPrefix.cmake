# Installs the build to a prefix chosen now and checks that every file lands
# where a Linux desktop and the installed program look for it: the help in
# <bin>/../share/latcap, the examples beside it, the desktop entry that opens
# a case file and the MIME type of case files.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX} RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install to ${PREFIX} failed: ${status}")
endif()
foreach(file bin/latcap bin/latcap-batch bin/../share/latcap/Latcap.chm share/latcap/examples/sign-post-sand.case
             share/applications/latcap.desktop share/mime/packages/latcap.xml
             share/icons/hicolor/scalable/apps/latcap.svg)
  if(NOT EXISTS ${PREFIX}/${file})
    message(FATAL_ERROR "${PREFIX}/${file} is missing after the install")
  endif()
endforeach()
file(READ ${PREFIX}/share/applications/latcap.desktop entry)
file(READ ${PREFIX}/share/mime/packages/latcap.xml mime)
if(NOT entry MATCHES "\nExec=latcap %f\n" OR NOT entry MATCHES "\nMimeType=application/x-latcap-case;\n"
   OR NOT mime MATCHES "type=\"application/x-latcap-case\"" OR NOT mime MATCHES "pattern=\"\\*\\.case\"")
  message(FATAL_ERROR "the desktop entry does not open case files:\n${entry}\n${mime}")
endif()
file(REMOVE_RECURSE ${PREFIX})
