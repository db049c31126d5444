# The Debian package tesmo-gegen (make package): both programs, the desktop entry with its icon
# and the file types, the AppStream metainfo, the manual pages, the licence (DEP-5) and the
# changelog, under /usr. Every install rule names its component; all components go into the
# one package, so that a later part (a Python module) only needs install rules of its own.
#
# Who makes the program and where it lives: the package's Maintainer and Homepage fields, the
# copyright file and the metainfo take them from here.
set(TESMO_DEVELOPERS "Die Entwickler von Tesmo-Gegen")
set(TESMO_MAINTAINER "${TESMO_DEVELOPERS} <entwickler@tesmo-gegen.example.org>")
set(TESMO_HOMEPAGE "https://tesmo-gegen.example.org/")
# The AppStream id: the homepage's domain reversed.
set(TESMO_APPSTREAM_ID org.example.tesmo_gegen)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tesmo-gegen)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "${TESMO_DEVELOPERS}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "drying calculator for shrinking green-clay plates in counter-current dryers")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "Tesmo-Gegen simulates the convective drying of a shrinking, capillary-porous\n"
  "green-clay plate in a counter-current dryer: both drying periods, the shrinkage\n"
  "of surface and core, the air and energy demand and the water balance. The\n"
  "German-language window shows the run as it goes and exports its charts and a\n"
  "report; tesmo-gegen-batch runs the same simulation from the command line, and\n"
  "the Python package tesmo runs it from Python.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_DEBIAN_PACKAGE_NAME tesmo-gegen)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TESMO_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${TESMO_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
# The libraries the programs link come from dpkg-shlibdeps (Qt 6, Ceres Solver for the fit and
# OpenTURNS for the uncertainty studies); the window's layout needs the metric-compatible Arial
# that Liberation Sans provides, its standard dialogs Qt's German translations. The Python
# package takes OpenTURNS' own distributions when python3-openturns is there.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "python3-openturns")
# The Python package adds what it needs (python/CMakeLists.txt).
if(TESMO_PYTHON_DEPENDS)
  string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", ${TESMO_PYTHON_DEPENDS}")
endif()

include(GNUInstallDirs)
set(package_source ${PROJECT_SOURCE_DIR}/package)
set(package_build ${PROJECT_BINARY_DIR}/package)
set(package_doc ${CMAKE_INSTALL_DATADIR}/doc/tesmo-gegen)

# The changelog (Debian's format) names the version being packaged and its date.
file(STRINGS ${package_source}/changelog changelog_lines)
list(GET changelog_lines 0 changelog_head)
if(NOT changelog_head MATCHES "^tesmo-gegen \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "package/changelog begins with \"${changelog_head}\": its newest entry "
                      "must be the version ${PROJECT_VERSION}")
endif()
foreach(line IN LISTS changelog_lines)
  if(line MATCHES "^ -- .*  [A-Z][a-z][a-z], ([0-9][0-9]) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
    set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
    list(FIND months ${CMAKE_MATCH_2} month)
    math(EXPR month "${month} + 1" OUTPUT_FORMAT DECIMAL)
    if(month LESS 10)
      set(month 0${month})
    endif()
    set(TESMO_RELEASE_DATE ${CMAKE_MATCH_3}-${month}-${CMAKE_MATCH_1})
    break()
  endif()
endforeach()
file(MAKE_DIRECTORY ${package_build})
add_custom_command(
  OUTPUT ${package_build}/changelog.gz
  COMMAND gzip -9nc ${package_source}/changelog > ${package_build}/changelog.gz
  DEPENDS ${package_source}/changelog
  VERBATIM)
add_custom_target(tesmo-gegen-changelog ALL DEPENDS ${package_build}/changelog.gz)
install(FILES ${package_build}/changelog.gz DESTINATION ${package_doc} COMPONENT programs)

# The machine-readable copyright file (DEP-5): one file of paragraphs per part in
# package/copyright.d, in the order of their names (the program first, then each library it
# links), joined by the blank line that separates paragraphs. A library is one file more.
file(GLOB copyright_parts CONFIGURE_DEPENDS ${package_source}/copyright.d/*)
list(SORT copyright_parts)
set(copyright_text "")
foreach(part IN LISTS copyright_parts)
  file(READ ${part} text)
  string(STRIP "${text}" text)
  if(copyright_text)
    string(APPEND copyright_text "\n")
  endif()
  string(APPEND copyright_text "${text}\n")
endforeach()
string(CONFIGURE "${copyright_text}" copyright_text @ONLY)
file(WRITE ${package_build}/copyright "${copyright_text}")
install(FILES ${package_build}/copyright DESTINATION ${package_doc} COMPONENT programs)

# The software centre's description, checked by the test package_metainfo.
set(TESMO_METAINFO ${package_build}/${TESMO_APPSTREAM_ID}.metainfo.xml)
configure_file(${package_source}/tesmo-gegen.metainfo.xml.in ${TESMO_METAINFO} @ONLY)
install(FILES ${TESMO_METAINFO} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT programs)

if(TESMO_BUILD_TESTS)
  # The metainfo as the software centres read it (appstreamcli, Debian appstream; --no-net:
  # the URLs are not fetched), and the copyright file's paragraphs.
  find_program(APPSTREAMCLI appstreamcli REQUIRED)
  add_test(NAME package_metainfo
    COMMAND ${APPSTREAMCLI} validate --no-net --pedantic ${TESMO_METAINFO})
  add_test(NAME package_copyright
    COMMAND ${CMAKE_COMMAND} -DFILE=${package_build}/copyright
            -P ${package_source}/check-copyright.cmake)
endif()

include(CPack)
