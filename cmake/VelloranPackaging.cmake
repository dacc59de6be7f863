# The Debian package: `cpack -G DEB` in the build folder, or `cmake --build <build> --target package`.
# Its library dependencies are read from the program by dpkg-shlibdeps; the fonts are named here,
# since nothing links them: Liberation Sans stands in for Arial with the same metrics.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velloran)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Velloran developers")
set(CPACK_PACKAGE_CONTACT "Velloran developers <maintainers@velloran.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "script scroller for presenters")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation")
# The speech model is data, read only while following the reader's voice: recommended, so that a
# minimal install may leave it out (following then says it is missing).
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "pocketsphinx-en-us")
# Lines under 80 columns, as the package's description shows them.
set(CPACK_PACKAGE_DESCRIPTION "A plain-text script scrolls steadily up the window, so that someone
reading it aloud to a camera or an audience keeps their eyes at one height.
The script is typed, loaded, dropped or pasted; its pace is set with two
spinners, live while it scrolls; it can be nudged, positioned with a
navigation bar and read full screen. The whole working state, script
included, is kept for the next start.")

include(CPack)
