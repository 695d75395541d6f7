# Installation (GNU directory layout) and the Debian package.
include(GNUInstallDirs)

# Man pages carry the project version.
foreach(page dungeon dungeon-atlas)
  if(page STREQUAL "dungeon-atlas" AND NOT TARGET dungeon-atlas)
    continue()
  endif()
  configure_file(man/${page}.6 ${PROJECT_BINARY_DIR}/man/${page}.6 @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/man/${page}.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
endforeach()

install(TARGETS dungeon RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})

if(TARGET dungeon-atlas)
  install(TARGETS dungeon-atlas RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES docs/dungeon-atlas.schema.json docs/dungeon-atlas-plan.schema.json
          DESTINATION ${CMAKE_INSTALL_DOCDIR})
  # Where bash-completion looks for completions loaded on demand.
  install(FILES completion/dungeon-atlas.bash
          DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
          RENAME dungeon-atlas)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME dungeon)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DESCRIPTION
    "dungeon prints a random dungeon for a tabletop role-playing game, grown room by room over \
several levels from the current time. dungeon-atlas gets any dungeon back by its seed, as \
text, JSON or a map, and searches seeds for dungeons of a given shape.")
set(CPACK_PACKAGE_CONTACT "dungeon maintainers <dungeon@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Runtime dependencies (libstdc++, and the Graphviz libraries the atlas links)
# come from the binaries themselves.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)

if(DUNGEON_BUILD_TESTS AND TARGET dungeon-atlas)
  add_test(NAME PackageTest.InstallsAndRuns
           COMMAND bash ${PROJECT_SOURCE_DIR}/tests/package_test.sh
                   ${PROJECT_BINARY_DIR} ${PROJECT_SOURCE_DIR} ${PROJECT_VERSION})
  set_tests_properties(PackageTest.InstallsAndRuns PROPERTIES TIMEOUT 600)
endif()
