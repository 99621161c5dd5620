# What a desktop system installs beside the programs (desktop entry, icon,
# AppStream metadata, manual pages, the package's copyright and changelog),
# and the Debian package that CPack builds from it: `cpack -G DEB` in a
# Release build folder (scripts/package.sh does it all).

set(VELMAR_APPSTREAM_ID org.velmar.controller)
set(VELMAR_SCREENSHOT_URL "https://velmar-controller.example.org/screenshot.png" CACHE STRING
  "Where the published picture of the panel (docs/screenshot.png) is, for the AppStream metadata")
set(VELMAR_MAINTAINER
  "Velmar Controller maintainers <maintainers@users.noreply.c-seed-d78d6624.example>"
  CACHE STRING "The Debian package's maintainer")

set(install_sources ${CMAKE_SOURCE_DIR}/tools/install)
set(install_staging ${CMAKE_BINARY_DIR}/install)

# Directories made by the install are 0755 whatever the umask, as a package's must be.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# The desktop entry starts the panel in the folder of the shipped languages,
# because the language chooser opens in the current folder. That folder is
# known only when installing (`cmake --install --prefix`, or CPack's /usr), so
# the entry is written then.
if(IS_ABSOLUTE "${CMAKE_INSTALL_DATADIR}")
  set(lang_dir_code "set(VELMAR_LANG_DIR \"${CMAKE_INSTALL_DATADIR}/velmar-controller/lang\")")
else()
  set(lang_dir_code
    "set(VELMAR_LANG_DIR \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/velmar-controller/lang\")")
endif()
install(CODE "${lang_dir_code}
  configure_file(\"${install_sources}/velmar-controller.desktop.in\"
    \"${install_staging}/velmar-controller.desktop\" @ONLY)")
install(FILES ${install_staging}/velmar-controller.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${install_sources}/velmar-controller.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# The systemd unit that runs the controller without a window, installed and
# not enabled; its ExecStart names the program where the install puts it.
set(VELMAR_SYSTEMD_UNIT_DIR "lib/systemd/system" CACHE STRING
  "Where the systemd unit of --headless is installed (relative: under the prefix)")
install(CODE "set(VELMAR_BIN_DIR \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
  configure_file(\"${install_sources}/velmar-controller-headless.service.in\"
    \"${install_staging}/velmar-controller-headless.service\" @ONLY)")
install(FILES ${install_staging}/velmar-controller-headless.service
  DESTINATION ${VELMAR_SYSTEMD_UNIT_DIR})

configure_file(${install_sources}/${VELMAR_APPSTREAM_ID}.metainfo.xml.in
  ${install_staging}/${VELMAR_APPSTREAM_ID}.metainfo.xml @ONLY)
install(FILES ${install_staging}/${VELMAR_APPSTREAM_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Manual pages and the changelog are installed gzipped (-n: no time stamp, so
# that the same sources give the same package).
find_program(GZIP_PROGRAM gzip REQUIRED)
set(compressed)
foreach(page velmar-controller.1 switcher-sim.1)
  configure_file(${install_sources}/man/${page}.in ${install_staging}/${page} @ONLY)
  list(APPEND compressed ${install_staging}/${page})
endforeach()
configure_file(${install_sources}/debian/changelog ${install_staging}/changelog COPYONLY)
list(APPEND compressed ${install_staging}/changelog)
set(compressed_outputs)
foreach(file ${compressed})
  add_custom_command(OUTPUT ${file}.gz
    COMMAND ${GZIP_PROGRAM} -9 -n -c ${file} > ${file}.gz
    DEPENDS ${file} VERBATIM)
  list(APPEND compressed_outputs ${file}.gz)
endforeach()
add_custom_target(install-compressed ALL DEPENDS ${compressed_outputs})
install(FILES ${install_staging}/velmar-controller.1.gz ${install_staging}/switcher-sim.1.gz
  DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${install_staging}/changelog.gz ${install_sources}/debian/copyright
  DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmar-controller)
set(CPACK_PACKAGE_VENDOR "The Velmar Controller authors")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "control panel for a CCTV matrix switcher")
set(CPACK_PACKAGE_DESCRIPTION
  "The control panel for a CCTV matrix switcher with 16 camera inputs and 4
monitor outputs. The operator routes cameras to monitors, drives
pan/tilt/zoom cameras with hold-to-run buttons, recalls and stores presets,
works the auxiliary functions, and sees the switcher's routing lit in green
from its status replies. Commands leave on a serial port, or as UDP
datagrams to a gateway at a remote site. A small serial terminal sits below
the panel; captions come in English and Italian.

The package also holds switcher-sim, a simulator of the switcher on a
pseudo-terminal and on UDP, for demonstrations and tests.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${VELMAR_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The dependency line comes from the libraries the programs link (dpkg-shlibdeps),
# the SQLite driver of Qt SQL, a plugin the event log loads by name, and
# libmosquitto, which the message bus loads when it first connects.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, libmosquitto1")
# Qt's own texts (message box buttons, file dialogs) in the language chosen.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_STRIP_FILES ON)
# With DESTDIR the install sees the package's own prefix (/usr), which the
# desktop entry's language folder is made from.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
include(CPack)
