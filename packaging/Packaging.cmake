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
