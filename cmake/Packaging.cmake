# SPDX-License-Identifier: MIT
# Installation (GNU directory layout) and the Debian package.
include(GNUInstallDirs)

# Debian keeps games, and so these programs with their section 6 man pages,
# in /usr/games (on every user's PATH, though not on root's).
set(DUNGEON_INSTALL_GAMESDIR games CACHE STRING
    "Where dungeon and dungeon-atlas are installed, below the prefix")

# The package's maintainer is whoever builds it: Debian's DEBFULLNAME and
# DEBEMAIL when set, else the git identity of the checkout.
set(maintainer_default "")
if(DEFINED ENV{DEBEMAIL})
  set(maintainer_default "$ENV{DEBFULLNAME} <$ENV{DEBEMAIL}>")
else()
  find_package(Git QUIET)
  if(GIT_FOUND)
    execute_process(COMMAND ${GIT_EXECUTABLE} config user.name WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                    OUTPUT_VARIABLE git_name OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    execute_process(COMMAND ${GIT_EXECUTABLE} config user.email WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                    OUTPUT_VARIABLE git_email OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    if(git_name AND git_email)
      set(maintainer_default "${git_name} <${git_email}>")
    endif()
  endif()
endif()
if(NOT maintainer_default)
  # A placeholder that says so: set the variable before publishing a package.
  set(maintainer_default "dungeon packager <packager@example.org>")
endif()
set(DUNGEON_PACKAGE_MAINTAINER "${maintainer_default}" CACHE STRING
    "Maintainer of the Debian package, as 'Name <address>'")

# Man pages carry the project version, and are installed compressed.
foreach(page dungeon dungeon-atlas)
  if(page STREQUAL "dungeon-atlas" AND NOT TARGET dungeon-atlas)
    continue()
  endif()
  configure_file(man/${page}.6 ${PROJECT_BINARY_DIR}/man/${page}.6 @ONLY)
  list(APPEND compressed_docs ${PROJECT_BINARY_DIR}/man/${page}.6)
endforeach()

# The changelog of a native package; its newest entry must be this version.
file(STRINGS packaging/changelog changelog_head LIMIT_COUNT 1)
if(NOT changelog_head MATCHES "^dungeon \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/changelog has no entry for ${PROJECT_VERSION} on top: "
                      "${changelog_head}")
endif()
configure_file(packaging/changelog ${PROJECT_BINARY_DIR}/packaging/changelog @ONLY)
list(APPEND compressed_docs ${PROJECT_BINARY_DIR}/packaging/changelog)

# gzip -n leaves out the name and time, so the same sources give the same package.
foreach(doc ${compressed_docs})
  add_custom_command(OUTPUT ${doc}.gz
                     COMMAND gzip -9nfk ${doc}
                     DEPENDS ${doc})
  list(APPEND compressed_outputs ${doc}.gz)
endforeach()
add_custom_target(compressed_docs ALL DEPENDS ${compressed_outputs})

install(FILES ${PROJECT_BINARY_DIR}/man/dungeon.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(TARGETS dungeon RUNTIME DESTINATION ${DUNGEON_INSTALL_GAMESDIR})
install(FILES README.md packaging/copyright ${PROJECT_BINARY_DIR}/packaging/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

if(TARGET dungeon-atlas)
  install(FILES ${PROJECT_BINARY_DIR}/man/dungeon-atlas.6.gz
          DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
  install(TARGETS dungeon-atlas RUNTIME DESTINATION ${DUNGEON_INSTALL_GAMESDIR})
  # The installed README points at these: all of docs/, whatever it holds.
  install(DIRECTORY docs/ DESTINATION ${CMAKE_INSTALL_DOCDIR}/docs)
  # Where bash-completion looks for completions loaded on demand.
  install(FILES completion/dungeon-atlas.bash
          DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
          RENAME dungeon-atlas)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME dungeon)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
# Below the summary line, lines of at most 80 characters.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "dungeon prints a random dungeon for a tabletop role-playing game, grown
room by room over several levels from the current time.
.
dungeon-atlas gets any dungeon back by its seed, as text, JSON or a map,
draws its floor plans to scale (SVG, PNG, a players' map without secrets),
writes it as a book to run the game from (one HTML page of plans and room
key, printable at the scale played at), and searches seeds for dungeons of
a given shape.")
set(CPACK_PACKAGE_CONTACT "${DUNGEON_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${DUNGEON_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_STRIP_FILES ON)
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
