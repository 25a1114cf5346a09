# `cpack -G DEB` in a build configured with -DCMAKE_INSTALL_PREFIX=/usr makes an installable
# Debian package; dpkg-shlibdeps finds its dependencies. packaging/check-deb builds and checks it.
set(brindlewick_doc ${CMAKE_INSTALL_DATADIR}/doc/brindlewick)
set(brindlewick_changelog ${PROJECT_BINARY_DIR}/packaging/changelog.gz)
add_custom_command(OUTPUT ${brindlewick_changelog}
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/packaging/changelog ${PROJECT_BINARY_DIR}/packaging/changelog
  COMMAND gzip -9nf ${PROJECT_BINARY_DIR}/packaging/changelog
  DEPENDS ${PROJECT_SOURCE_DIR}/packaging/changelog
  VERBATIM)
add_custom_target(brindlewick_changelog ALL DEPENDS ${brindlewick_changelog})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${brindlewick_changelog} DESTINATION ${brindlewick_doc})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME brindlewick)
set(CPACK_PACKAGE_VENDOR "Brindlewick developers")
set(CPACK_PACKAGE_CONTACT "Brindlewick developers <brindlewick@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "tray utility that keeps trash folders from filling disks")
set(CPACK_PACKAGE_DESCRIPTION "\
Brindlewick watches the home trash and the trash of every other mounted,
writable local volume, and when a volume's free space falls below its minimum
it shreds that volume's oldest trash items until the minimum is met. Its tray
icon shows how full the home trash is; its menu empties the trashes at once,
deletes chosen items and opens an information panel and the preferences.")
# The absolute autostart folder (/etc/xdg/autostart) lands inside the package only when the
# package is staged through DESTDIR; the polkit policy then names the helper under /usr.
set(CPACK_SET_DESTDIR ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# pkexec asks for the administrator's password before the permission repair; qt6-wayland
# lets the program run natively in a Wayland session (without it, it runs on XWayland).
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "pkexec, qt6-wayland")
# The autostart entry is the package's one file under sysconfdir: dpkg keeps a user's edits.
configure_file(packaging/conffiles.in ${PROJECT_BINARY_DIR}/packaging/conffiles @ONLY)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_BINARY_DIR}/packaging/conffiles)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
