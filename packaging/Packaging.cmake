# Installation as a Linux desktop game, and the Debian package built from it.
#   cmake --install BUILD [--prefix /usr]   the game, its data, menu entry, icons, manuals
#   make package (top-level Makefile)          corvina_<version>-1_<arch>.deb from build-pkg/
# Installed, the game finds its data in ../share/corvina beside its executable and keeps each
# user's files in $XDG_DATA_HOME/corvina (common/UserFolder.h).
include(GNUInstallDirs)

set(CORVINA_APP_ID io.github.corvina.Corvina)
set(CORVINA_PACKAGING ${PROJECT_SOURCE_DIR}/packaging)

# The programs. The lobby server and the UCI engine are installed when this tree builds them.
# They link only system libraries, so the installed files carry no run path.
set(CORVINA_MANUALS)
foreach(program corvina corvina-lobby corvina-uci)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    set_target_properties(${program} PROPERTIES INSTALL_RPATH "")
    list(APPEND CORVINA_MANUALS ${program})
  endif()
endforeach()

# Read-only data: the first start copies it into the user's own folder.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/ DESTINATION ${CMAKE_INSTALL_DATADIR}/corvina
  PATTERN chlist-sources.txt EXCLUDE)

# Menu entry, AppStream metadata, icons.
install(FILES ${CORVINA_PACKAGING}/${CORVINA_APP_ID}.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CORVINA_PACKAGING}/${CORVINA_APP_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${CORVINA_PACKAGING}/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${CORVINA_PACKAGING}/icons/${CORVINA_APP_ID}.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# Manual pages, compressed as Debian wants them, one for each program installed.
set(manuals)
foreach(program ${CORVINA_MANUALS})
  set(out ${CMAKE_BINARY_DIR}/man/${program}.6.gz)
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND gzip -9nc ${CORVINA_PACKAGING}/man/${program}.6 > ${out}
    DEPENDS ${CORVINA_PACKAGING}/man/${program}.6 VERBATIM)
  list(APPEND manuals ${out})
endforeach()
add_custom_target(corvina_manuals ALL DEPENDS ${manuals})
install(FILES ${manuals} DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

# The lobby's service unit, installed but not enabled. Its command names the installed
# executable, so the unit is written at install time, when the prefix is known.
if(TARGET corvina-lobby)
  file(READ ${CORVINA_PACKAGING}/corvina-lobby.service.in CORVINA_UNIT)
  install(CODE "
    set(unit_dir \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/lib/systemd/system\")
    string(REPLACE \"@CORVINA_BINDIR@\" \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\"
           unit [=[${CORVINA_UNIT}]=])
    message(STATUS \"Installing: \${unit_dir}/corvina-lobby.service\")
    file(MAKE_DIRECTORY \"\${unit_dir}\")
    file(WRITE \"\${unit_dir}/corvina-lobby.service\" \"\${unit}\")
  ")
endif()

# Everything installed, so that a package build compiles nothing else (no tests, no tools).
add_custom_target(corvina_installables DEPENDS corvina corvina_manuals)
foreach(program corvina-lobby corvina-uci)
  if(TARGET ${program})
    add_dependencies(corvina_installables ${program})
  endif()
endforeach()

# Documents: the machine-readable copyright (with the artwork's font licences) and the README.
install(FILES ${CORVINA_PACKAGING}/copyright ${PROJECT_SOURCE_DIR}/README.md
  ${PROJECT_SOURCE_DIR}/data/chlist-sources.txt
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/corvina)

# The Debian package. Library dependencies come from dpkg-shlibdeps; the Qt platform plugins
# are a separate package that nothing else pulls in without recommends.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME corvina)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Corvina developers")
# We have no address or homepage to publish yet, and name none rather than invent one; the
# README says where problems go.
set(CPACK_PACKAGE_CONTACT "The Corvina developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop chess game with engine, puzzles and network play")
set(CPACK_PACKAGE_DESCRIPTION
  "Corvina is a chess game for the desktop. Play against the built-in engine, against a
friend at the same board, or against an opponent over the network, directly or through a
community lobby server (corvina-lobby, with a systemd unit that is installed but not
enabled). It offers checkmate puzzles, a position set-up dialog, saved games, settings
profiles, background themes, piece sets and user-interface languages.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# qt6-translations-l10n: the toolkit's own texts (OK, Cancel, the file dialog) in the chosen
# language.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_SOURCE_GENERATOR "")
include(CPack)
