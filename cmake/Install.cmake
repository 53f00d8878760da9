# Where the Linux program and its files install, as GNUInstallDirs places
# them from CMAKE_INSTALL_PREFIX (and DESTDIR at install time): the program
# where XScreenSaver looks for its display modes, the settings description
# its settings program reads, the desktop entry MATE's screen saver lists it
# by, and the man page. The Debian package ships exactly these (debian/).
include(GNUInstallDirs)
set(LUMRA_HACK_DIR ${CMAKE_INSTALL_FULL_LIBEXECDIR}/xscreensaver)
set(LUMRA_CONFIG_DIR ${CMAKE_INSTALL_FULL_DATADIR}/xscreensaver/config)
set(LUMRA_LINUX_FILES ${PROJECT_SOURCE_DIR}/packaging/linux)
# The desktop entry and the man page name the installed paths.
configure_file(${LUMRA_LINUX_FILES}/lumra.desktop.in lumra.desktop @ONLY)
configure_file(${LUMRA_LINUX_FILES}/lumra.6.in lumra.6 @ONLY)

install(TARGETS lumra DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/xscreensaver)
install(FILES ${LUMRA_LINUX_FILES}/lumra.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/xscreensaver/config)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/lumra.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications/screensavers)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/lumra.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
