# cmake --install: the module and the simulated agent (and the snapshot
# program where it is built) in one folder with what they read beside
# themselves (errMSg/, the help file, the agent's seed data), commands in
# bin/ linking there, the desktop entry, its icons and AppStream data.
# scripts/package makes a Debian package of the same tree with CPack.
# A folder named orvix_ems (QSX_INSTALL_DIR=lib/orvix_ems) runs the module
# in installation mode.
include(GNUInstallDirs)
set(QSX_INSTALL_DIR "${CMAKE_INSTALL_LIBDIR}/qsx4810" CACHE STRING
    "Folder of the module and its files, relative to the install prefix")

set(_qsx_app_dir ${PROJECT_BINARY_DIR}/src/app)
set(QSX_PROGRAMS qsx4810 qsx4810-agent)
if(TARGET qsx4810-snapshot)
  list(APPEND QSX_PROGRAMS qsx4810-snapshot)
endif()
install(TARGETS ${QSX_PROGRAMS} RUNTIME DESTINATION ${QSX_INSTALL_DIR})
install(DIRECTORY ${_qsx_app_dir}/errMSg DESTINATION ${QSX_INSTALL_DIR})
install(FILES "${_qsx_app_dir}/QSX-4810 r4-5 JUN 08 Rhexmon-v9.html"
              $<TARGET_FILE_DIR:qsx4810-agent>/qsx4810.snmprec
        DESTINATION ${QSX_INSTALL_DIR})
install(FILES ${PROJECT_SOURCE_DIR}/src/app/qsx4810.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/src/app/qsx4810.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
if(TARGET qsx4810-icons)
  install(DIRECTORY ${_qsx_app_dir}/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
endif()
install(FILES ${_qsx_app_dir}/${QSX_APPSTREAM_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# What an installation needs built, and nothing else (no tests, no tools).
add_custom_target(qsx-installables)
add_dependencies(qsx-installables ${QSX_PROGRAMS})
if(TARGET qsx4810-icons)
  add_dependencies(qsx-installables qsx4810-icons)
endif()

# Relative links, so the tree can be moved or installed under DESTDIR. The
# programs find their files through the link's target.
foreach(_qsx_program ${QSX_PROGRAMS})
  file(RELATIVE_PATH _qsx_link "/p/${CMAKE_INSTALL_BINDIR}" "/p/${QSX_INSTALL_DIR}/${_qsx_program}")
  install(CODE "
    set(_bin \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
    file(MAKE_DIRECTORY \"\${_bin}\")
    message(STATUS \"Linking: \${_bin}/${_qsx_program} -> ${_qsx_link}\")
    file(CREATE_LINK \"${_qsx_link}\" \"\${_bin}/${_qsx_program}\" SYMBOLIC)
  ")
endforeach()

# The Debian package: what is installed above, its dependencies read from
# the libraries the programs link (dpkg-shlibdeps) plus Qt's platform
# plugins, which no program links.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME qsx4810)
set(CPACK_PACKAGE_VENDOR "Orvix")
set(CPACK_PACKAGE_CONTACT "QSX-4810 developers <qsx4810@qsx4810.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "QSX-4810 switch management over SNMP, with a simulated agent")
set(CPACK_PACKAGE_DESCRIPTION "The device management module of the QSX-4810 managed Ethernet switch:
live front panel, configuration dialogs, counter monitors and a connection
test over SNMP v1, v2c and v3, and qsx4810-agent, a simulated switch.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${QSX_PUBLISHED_URL}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)
set(CPACK_STRIP_FILES ON)
include(CPack)
