# The Debian package tesmo-gegen (make package): both programs, the desktop entry with its icon
# and the case-file type, the manual pages and the licence, under /usr. Every install rule names
# its component; all components go into the one package, so that a later part (a Python module)
# only needs install rules of its own.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tesmo-gegen)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Die Entwickler von Tesmo-Gegen")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "drying calculator for shrinking green-clay plates in counter-current dryers")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "Tesmo-Gegen simulates the convective drying of a shrinking, capillary-porous green-clay\n"
  "plate in a counter-current dryer: both drying periods, the shrinkage of surface and\n"
  "core, the air and energy demand and the water balance. The German-language window\n"
  "shows the run as it goes and exports its charts and a report; tesmo-gegen-batch runs\n"
  "the same simulation from the command line.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_DEBIAN_PACKAGE_NAME tesmo-gegen)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Die Entwickler von Tesmo-Gegen")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
# The libraries the programs link come from dpkg-shlibdeps (Qt 6, and libceres3 for the fit,
# whose licence the copyright file quotes); the window's layout needs the metric-compatible
# Arial that Liberation Sans provides.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2")
# The Python package adds what it needs (python/CMakeLists.txt).
if(TESMO_PYTHON_DEPENDS)
  string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", ${TESMO_PYTHON_DEPENDS}")
endif()

include(GNUInstallDirs)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tesmo-gegen RENAME copyright
        COMPONENT programs)

include(CPack)
