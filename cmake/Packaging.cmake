# Where an installation puts its files, and the Debian package made of them
# (scripts/package). Relative to the installation prefix (/usr in the package):
#   bin/                           the programs
#   lib/lorvane/                   the project's own shared libraries, private to its programs
#   share/lorvane/                 the shipped read-only files: skins, Common/, data/html/,
#                                  pictures, skinlist.ini, currentskin.ini; the programs find
#                                  them from their own folder as ../share/lorvane
#   share/applications/, share/icons/hicolor/   the menu entries and their icons
set(LORVANE_INSTALL_BINDIR bin)
set(LORVANE_INSTALL_LIBDIR lib/lorvane)
set(LORVANE_INSTALL_DATADIR share/lorvane)
set(LORVANE_INSTALL_APPLICATIONSDIR share/applications)
set(LORVANE_INSTALL_ICONDIR share/icons)

# Everything an installation copies is built by this target, so a package build need not
# build the tests, benchmarks and fuzz harnesses.
add_custom_target(lorvane_package_contents)

# lorvane_package_needs(<targets...>): an install rule copies what these targets make.
function(lorvane_package_needs)
  add_dependencies(lorvane_package_contents ${ARGN})
endfunction()

# lorvane_install_program(<target> [NAME <installed file name>])
function(lorvane_install_program target)
  cmake_parse_arguments(P "" "NAME" "" ${ARGN})
  # Installed programs find the project's libraries in lib/lorvane; the libraries keep
  # $ORIGIN and find each other beside themselves.
  set_target_properties(${target} PROPERTIES INSTALL_RPATH "$ORIGIN/../${LORVANE_INSTALL_LIBDIR}")
  install(TARGETS ${target} RUNTIME DESTINATION ${LORVANE_INSTALL_BINDIR})
  if(P_NAME)
    # install(TARGETS) sets the run path but cannot rename; the build tree keeps the
    # target's own name, which tests and scripts start.
    install(CODE "
      set(_bin \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${LORVANE_INSTALL_BINDIR}\")
      message(STATUS \"Renaming: \${_bin}/$<TARGET_FILE_NAME:${target}> to ${P_NAME}\")
      file(RENAME \"\${_bin}/$<TARGET_FILE_NAME:${target}>\" \"\${_bin}/${P_NAME}\")")
  endif()
  lorvane_package_needs(${target})
endfunction()

# lorvane_install_library(<targets...>): the project's shared libraries, in lib/lorvane.
function(lorvane_install_library)
  install(TARGETS ${ARGN} LIBRARY DESTINATION ${LORVANE_INSTALL_LIBDIR})
  lorvane_package_needs(${ARGN})
endfunction()

# The menu entries and icons.
add_subdirectory(packaging)

set(CPACK_GENERATOR DEB)
set(CPACK_SOURCE_GENERATOR "")
set(CPACK_PACKAGE_NAME lorvane)
set(CPACK_PACKAGE_VENDOR Lorvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Lorvane developers <lorvane@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "web browser for young children, with a control panel for their parents")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Lorvane is a full-screen browser for young children: tabs, favorites, the sites their
parents recommend, an optional list of the only sites that open, a history of every
page and a daily online-time allowance that locks the screen until a parent grants
more minutes. The control panel (lorvane-manager) sets all of it behind the parents'
password; lorvane-setup sets that password from the command line.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION web)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Library dependencies come from the binaries; dpkg-shlibdeps runs in the package's
# staging folder and must be told where the private libraries are.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
string(REGEX REPLACE "^/" "" _lorvane_private_libs "${CPACK_PACKAGING_INSTALL_PREFIX}/${LORVANE_INSTALL_LIBDIR}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${_lorvane_private_libs})
# Needed at run time but not linked: the web engine's page process, the X11 platform
# plug-in, the Chinese fonts of the captions and pages, Qt's own Chinese texts.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6webenginecore6-bin, qt6-qpa-plugins, fonts-noto-cjk, qt6-translations-l10n")
# The kids' session (lorvane-kids-session) runs the browser under the cage kiosk compositor.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "cage, xwayland, qt6-wayland")
include(CPack)
