# Installation and packages: on Windows a zip (cpack -G ZIP) with the program,
# the README and the example INI file; on Linux the Debian package (cpack -G
# DEB) with the program, the demo host, the replay and session tools, the
# desktop entry and icon, and the documentation.
set(CPACK_PACKAGE_NAME corvane-telnet)
set(CPACK_PACKAGE_VENDOR "Corvane developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION}.0)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Desktop telnet client with a VT100/ANSI terminal")

if(WIN32)
  install(TARGETS cvtelnet RUNTIME DESTINATION .)
  install(FILES README.md samples/TNZUZERI.INI DESTINATION .)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_SYSTEM_NAME ${CMAKE_SYSTEM_PROCESSOR}-windows)
  include(CPack)
  return()
endif()
include(GNUInstallDirs)
set(cv_docdir ${CMAKE_INSTALL_DATADIR}/doc/corvane-telnet)

set(cv_programs cvtelnet cvtelnet-demo-host cvtelnet-replay cvtelnet-session)
foreach(program ${cv_programs})
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

install(FILES desktop/cvtelnet.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES desktop/cvtelnet.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES desktop/cvtelnet.xpm DESTINATION ${CMAKE_INSTALL_DATADIR}/pixmaps)
install(FILES README.md docs/ARCHITECTURE.md DESTINATION ${cv_docdir})
install(FILES samples/TNZUZERI.INI samples/welcome.log DESTINATION ${cv_docdir}/examples)

set(CPACK_PACKAGE_CONTACT "Corvane developers <corvane@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The terminal font the program asks for falls back to this one.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core")
include(CPack)
