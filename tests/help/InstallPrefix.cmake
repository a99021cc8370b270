# Installs the build to a prefix chosen now and checks that the help file
# lands where the installed program looks for it: <bin>/../share/latcap.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX} RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install to ${PREFIX} failed: ${status}")
endif()
foreach(file bin/latcap bin/latcap-batch bin/../share/latcap/Latcap.chm)
  if(NOT EXISTS ${PREFIX}/${file})
    message(FATAL_ERROR "${PREFIX}/${file} is missing after the install")
  endif()
endforeach()
file(REMOVE_RECURSE ${PREFIX})
