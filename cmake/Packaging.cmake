# What `cmake --install` puts beside the programs and libraries (samples, manual, manual pages,
# bash completion, desktop integration), and the Debian package that scripts/package builds
# from the same install rules with CPack.

set(MORVA_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
set(MORVA_DATADIR ${CMAKE_INSTALL_DATADIR}/morva)
# Lower case, as Debian names the folder after the package (CMAKE_INSTALL_DOCDIR would use the
# project's name).
set(MORVA_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/morva)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# Samples: the sample database as SQL scripts and the sample templates.
file(GLOB morva_samples ${PROJECT_SOURCE_DIR}/samples/*.tpx ${PROJECT_SOURCE_DIR}/samples/*.sql)
install(FILES ${morva_samples} DESTINATION ${MORVA_DATADIR}/samples)
# The template library: one folder per target, each with its script and README.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/templates/ DESTINATION ${MORVA_DATADIR}/templates
  FILES_MATCHING PATTERN "*.tpx" PATTERN "README")

# The manual (HTML), as Help > Contents opens it, without the manual's own tests and sources.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/ DESTINATION ${MORVA_DOCDIR}
  PATTERN tests EXCLUDE PATTERN man EXCLUDE)
install(FILES ${MORVA_PACKAGING_DIR}/copyright DESTINATION ${MORVA_DOCDIR})

# Compressed without a name or time stamp, so that the same source gives the same bytes.
find_program(GZIP gzip REQUIRED)
function(morva_gzip source target)
  add_custom_command(OUTPUT ${target}
    COMMAND ${GZIP} -9 -n -c ${source} > ${target}
    DEPENDS ${source} VERBATIM)
endfunction()

set(morva_pages morva-cli.1)
if(MORVA_WORKBENCH)
  list(APPEND morva_pages morva.1)
endif()
set(morva_gzipped)
foreach(page ${morva_pages})
  morva_gzip(${PROJECT_SOURCE_DIR}/docs/man/${page} ${CMAKE_BINARY_DIR}/man/${page}.gz)
  list(APPEND morva_gzipped ${CMAKE_BINARY_DIR}/man/${page}.gz)
endforeach()
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/man)
morva_gzip(${MORVA_PACKAGING_DIR}/changelog ${CMAKE_BINARY_DIR}/man/changelog.gz)
add_custom_target(morva_compressed_docs ALL
  DEPENDS ${morva_gzipped} ${CMAKE_BINARY_DIR}/man/changelog.gz)
install(FILES ${morva_gzipped} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_BINARY_DIR}/man/changelog.gz DESTINATION ${MORVA_DOCDIR})

install(FILES ${MORVA_PACKAGING_DIR}/morva-cli.bash-completion
  DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME morva-cli)

# Desktop integration of the workbench: menu entry, icon, the MIME type of template scripts,
# AppStream metadata.
if(MORVA_WORKBENCH)
  install(FILES ${MORVA_PACKAGING_DIR}/morva.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${MORVA_PACKAGING_DIR}/morva-mime.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME morva.xml)
  install(FILES ${MORVA_PACKAGING_DIR}/io.morva.workbench.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  set(morva_icons ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
  install(FILES ${MORVA_PACKAGING_DIR}/morva.svg DESTINATION ${morva_icons}/scalable/apps)
  find_program(RSVG_CONVERT rsvg-convert)
  if(RSVG_CONVERT)
    set(morva_pngs)
    foreach(size 48 128 256)
      set(png ${CMAKE_BINARY_DIR}/icons/${size}/morva.png)
      add_custom_command(OUTPUT ${png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons/${size}
        COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${MORVA_PACKAGING_DIR}/morva.svg
        DEPENDS ${MORVA_PACKAGING_DIR}/morva.svg VERBATIM)
      list(APPEND morva_pngs ${png})
      install(FILES ${png} DESTINATION ${morva_icons}/${size}x${size}/apps)
    endforeach()
    add_custom_target(morva_icons ALL DEPENDS ${morva_pngs})
  else()
    message(STATUS "rsvg-convert not found: the PNG icons are not made (the SVG one is installed)")
  endif()
endif()

# The manual page against --help, the completion on command lines, and the installed
# morva-cli against the build tree's.
add_test(NAME man_page_matches_help COMMAND ${CMAKE_COMMAND} -DCLI=$<TARGET_FILE:morva-cli>
  -DMAN=${PROJECT_SOURCE_DIR}/docs/man/morva-cli.1 -P ${MORVA_PACKAGING_DIR}/tests/man_page.cmake)
add_test(NAME bash_completion COMMAND bash ${MORVA_PACKAGING_DIR}/tests/completion.sh
  ${MORVA_PACKAGING_DIR}/morva-cli.bash-completion)
add_test(NAME install_layout COMMAND ${MORVA_PACKAGING_DIR}/tests/install_layout.sh
  ${CMAKE_BINARY_DIR} ${PROJECT_SOURCE_DIR}
  $<$<NOT:$<CONFIG:Release,MinSizeRel>>:--debug-build>)

# The Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME morva)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_OUTPUT_FILE_PREFIX packages)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER
  "Morva maintainers <maintainers@users.noreply.c-seed-756b3657.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "code generator for database applications")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Morva generates source code for database applications. It describes a
database by compiling SQL data-definition scripts or by reading an ODBC data
source, makes schemas of its tables and columns, and runs template scripts in
its tag language over a schema to generate Delphi units and form files, C++
headers, SQL scripts, HTML pages or whatever the template writes.

This package holds the Qt workbench (morva), the command line (morva-cli),
the template engine and the SQL schema compiler, the samples and the manual.")
# The run-time libraries (Qt, unixODBC, the C++ runtime) come from dpkg-shlibdeps; Qt's SQL
# drivers are plugins that nothing links, so they are named here: SQLite for the sample
# database's alias, the others for aliases and data sources of other databases.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${MORVA_INSTALL_LIBDIR})
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libqt6sql6-sqlite")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "libqt6sql6-psql, libqt6sql6-odbc, libsqliteodbc, odbc-postgresql")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
