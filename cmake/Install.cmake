# What `cmake --install` puts where a Linux desktop finds it: the two programs
# in bin, the help file in share/latcap (where the help lookup expects it), the
# desktop entry and the icon.
foreach(program latcap latcap-batch)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

if(TARGET latcap_help)
  install(FILES ${LATCAP_HELP_FILE} DESTINATION ${CMAKE_INSTALL_DATADIR}/latcap)
endif()

if(LATCAP_BUILD_GUI)
  install(FILES ${PROJECT_SOURCE_DIR}/resources/latcap.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${PROJECT_SOURCE_DIR}/resources/latcap.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()
