# `make package` (or `cpack` in a build folder) makes a Debian package of the editor and the
# command-line tool. Build it from a Release build: the other builds carry debug information or
# sanitizers that have no place on a user's machine. TARNWICK_DOC_DIR, the package's doc folder,
# is set in the top CMakeLists.txt: the Help items fall back on the README there.

# Debian keeps each package's changelog compressed; -n leaves out the name and time, so the
# same changelog gives the same bytes.
set(TARNWICK_CHANGELOG ${CMAKE_CURRENT_LIST_DIR}/changelog)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${TARNWICK_CHANGELOG})
execute_process(COMMAND gzip -9nc ${TARNWICK_CHANGELOG}
                OUTPUT_FILE ${CMAKE_BINARY_DIR}/changelog.gz COMMAND_ERROR_IS_FATAL ANY)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${CMAKE_CURRENT_LIST_DIR}/copyright
              ${CMAKE_BINARY_DIR}/changelog.gz
        DESTINATION ${TARNWICK_DOC_DIR})

# A manual page for each program, made from its --help by help2man so that the two never
# disagree; packaging/man adds what --help leaves out. Sanitized builds, never packaged, make
# none: their programs' runtime could report on --help and fail the build.
find_program(TARNWICK_HELP2MAN help2man)
set(TARNWICK_SUMMARY_tarnwick "editor for the unit definition files (.odf) of tanks")
set(TARNWICK_SUMMARY_tarnwick-cli "batch work on tank files (.odf) with the editor's own rules")
set(TARNWICK_MAN_PAGES)
foreach(program IN ITEMS tarnwick tarnwick-cli)
  if(TARNWICK_HELP2MAN AND NOT TARNWICK_SANITIZE AND TARGET ${program})
    set(page ${CMAKE_BINARY_DIR}/man/${program}.1)
    set(include ${CMAKE_CURRENT_LIST_DIR}/man/${program}.h2m)
    # Debian wants manual pages compressed at the highest level; -n keeps out name and time.
    add_custom_command(OUTPUT ${page}.gz
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
      COMMAND ${TARNWICK_HELP2MAN} --no-info --version-string=${PROJECT_VERSION}
              --name=${TARNWICK_SUMMARY_${program}} --include=${include} --output=${page} $<TARGET_FILE:${program}>
      COMMAND gzip -9nf ${page}
      DEPENDS ${program} ${include}
      COMMENT "Making the manual page of ${program}"
      VERBATIM)
    list(APPEND TARNWICK_MAN_PAGES ${page}.gz)
  endif()
endforeach()
if(TARNWICK_MAN_PAGES)
  add_custom_target(man_pages ALL DEPENDS ${TARNWICK_MAN_PAGES})
  install(FILES ${TARNWICK_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
elseif(NOT TARNWICK_HELP2MAN)
  message(STATUS "help2man not found: the programs get no manual pages")
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarnwick)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Tarnwick developers")
set(CPACK_PACKAGE_CONTACT "Tarnwick developers <developers@tarnwick.brindlemoor.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for the unit definition files (.odf) of tanks")
set(CPACK_PACKAGE_HOMEPAGE_URL ${TARNWICK_PROGRAM_URL})
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps reads the programs' libraries (Qt, the C++ runtime) and writes Depends, so
# apt pulls in what the programs need and the list never goes stale.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# CPack puts the summary first and indents these lines as dpkg wants.
set(CPACK_PACKAGE_DESCRIPTION
    "Tarnwick edits tank files, the plain-text unit definition files (.odf) of a
vehicle combat game. Every field it knows appears in a tree with its value and
what it means; values can be picked from other unit files loaded as templates.

tarnwick-cli reads and writes the same files from the command line: normalize,
dump, get and set values, and list the lines the editor does not know.")

# The programs bring no libraries of their own, so they need no library search path; Qt's
# project setup gives them one ($ORIGIN/../lib) that Debian does not want in /usr/bin.
foreach(program IN ITEMS tarnwick tarnwick-cli)
  if(TARGET ${program})
    set_target_properties(${program} PROPERTIES INSTALL_RPATH "")
  endif()
endforeach()

include(CPack)
