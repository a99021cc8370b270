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

# A .case file opens in the window from a file manager: its MIME type, and
# the examples to open.
if(LATCAP_BUILD_GUI)
  install(FILES ${PROJECT_SOURCE_DIR}/resources/latcap-case.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME latcap.xml)
endif()
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/ DESTINATION ${CMAKE_INSTALL_DATADIR}/latcap/examples
        FILES_MATCHING PATTERN "*.case" PATTERN "*.svg" PATTERN "*.sh")

# `cpack -G DEB` in a release build: a Debian package whose dependencies are
# found from the libraries the programs link (Debian's Qt packages among
# them), and the platform plugins the window needs to open.
set(CPACK_PACKAGE_NAME latcap)
set(CPACK_PACKAGE_VENDOR "latcap")
set(CPACK_PACKAGE_CONTACT "latcap developers <latcap@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Lateral and moment capacity of short rigid piles (Brinch Hansen)")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "Sizes short rigid piles in layered soil under a lateral load and a moment by Brinch Hansen's method: "
       "the depth needed or the moment carried, the point of rotation and the largest moment and shear in the "
       "pile. The window (latcap) and a command-line tool for case files, sweeps and reports (latcap-batch).")
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(LATCAP_BUILD_GUI)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
endif()
set(CPACK_STRIP_FILES ON)
include(CPack)
