# cmake --install: the module and the simulated agent in one folder with
# what they read beside themselves (errMSg/, the help file, the agent's
# seed data), commands in bin/ linking there, and the desktop entry.
# A folder named orvix_ems (QSX_INSTALL_DIR=lib/orvix_ems) runs the module
# in installation mode.
include(GNUInstallDirs)
set(QSX_INSTALL_DIR "${CMAKE_INSTALL_LIBDIR}/qsx4810" CACHE STRING
    "Folder of the module and its files, relative to the install prefix")

set(_qsx_app_dir ${PROJECT_BINARY_DIR}/src/app)
install(TARGETS qsx4810 qsx4810-agent qsx4810-snapshot RUNTIME DESTINATION ${QSX_INSTALL_DIR})
install(DIRECTORY ${_qsx_app_dir}/errMSg DESTINATION ${QSX_INSTALL_DIR})
install(FILES "${_qsx_app_dir}/QSX-4810 r4-5 JUN 08 Rhexmon-v9.html"
              $<TARGET_FILE_DIR:qsx4810-agent>/qsx4810.snmprec
        DESTINATION ${QSX_INSTALL_DIR})
install(FILES ${PROJECT_SOURCE_DIR}/src/app/qsx4810.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/src/app/qsx4810.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# Relative links, so the tree can be moved or installed under DESTDIR. The
# programs find their files through the link's target.
foreach(_qsx_program qsx4810 qsx4810-agent qsx4810-snapshot)
  file(RELATIVE_PATH _qsx_link "/p/${CMAKE_INSTALL_BINDIR}" "/p/${QSX_INSTALL_DIR}/${_qsx_program}")
  install(CODE "
    set(_bin \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
    file(MAKE_DIRECTORY \"\${_bin}\")
    message(STATUS \"Linking: \${_bin}/${_qsx_program} -> ${_qsx_link}\")
    file(CREATE_LINK \"${_qsx_link}\" \"\${_bin}/${_qsx_program}\" SYMBOLIC)
  ")
endforeach()
