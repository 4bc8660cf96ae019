# Where a Linux user expects the program: the executables (installed by their folders,
# component "quillmar"), the bundled data in share/quillmar, the desktop entry and the icon.
# An installed program finds its data in ../share/quillmar beside its bin folder and keeps
# the user's files in $XDG_DATA_HOME/quillmar (src/settings/DataRoot.h).
foreach(folder IN LISTS QUILLMAR_BUNDLED_FOLDERS)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/${folder}
          DESTINATION ${CMAKE_INSTALL_DATADIR}/quillmar COMPONENT quillmar
          PATTERN ".*" EXCLUDE)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/resources/quillmar.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT quillmar)
install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/quillmar.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps COMPONENT quillmar)

# cmake --build build/release --target package: one .deb of the component "quillmar" (the
# test server and the other tools stay out), its library dependencies found by
# dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_INSTALL_CMAKE_PROJECTS "${PROJECT_BINARY_DIR};${PROJECT_NAME};quillmar;/")
set(CPACK_PACKAGE_NAME quillmar)
set(CPACK_PACKAGE_VENDOR "Quillmar")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Quillmar developers <quillmar@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop meta-search client")
# The lines after the summary; CPack indents them.
string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Type a query once: it goes to many search services at the same time, and\n"
    "their results merge into one list that you can filter, sort, verify, export,\n"
    "keep as favorites and open in your browser. Includes quillmar-cli, the same\n"
    "searches without a window.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded as plugins, so dpkg-shlibdeps cannot see them: the SVG icon; the sounds need a
# multimedia back end, HTTPS the certificate store.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "ca-certificates, gstreamer1.0-plugins-base, gstreamer1.0-plugins-good")
set(CPACK_STRIP_FILES ON)
include(CPack)
