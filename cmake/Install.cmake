# Installation of the programs and their data, and the data the desktop program carries inside it.
include(GNUInstallDirs)

# The agreement, the help pages, the alarm sound and the icon travel inside the widgets library,
# so the program finds them wherever it is run from (build tree, installed, a copied binary).
qt_add_resources(quillon_widgets quillon_data
    PREFIX /quillon
    BASE ${CMAKE_SOURCE_DIR}/data
    FILES
      ${CMAKE_SOURCE_DIR}/data/agreement.txt
      ${CMAKE_SOURCE_DIR}/data/help/contents.html
      ${CMAKE_SOURCE_DIR}/data/help/contact.html
      ${CMAKE_SOURCE_DIR}/data/alarm.wav
      ${CMAKE_SOURCE_DIR}/data/quillon.svg)

install(TARGETS quillon quillon-cli quillon-quote-server RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

set(QUILLON_SHARE ${CMAKE_INSTALL_DATADIR}/quillon)
install(FILES data/agreement.txt data/alarm.wav DESTINATION ${QUILLON_SHARE})
install(DIRECTORY data/help DESTINATION ${QUILLON_SHARE})
install(FILES data/demo-market.csv DESTINATION ${QUILLON_SHARE})
install(FILES data/quillon.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES data/quillon.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES data/org.quillon.Quillon.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Manual pages and the package's changelog go in compressed, as Debian keeps them; -n leaves the
# time stamp out so that the same sources give the same package.
set(QUILLON_MAN_PAGES quillon quillon-cli quillon-quote-server)
set(compressed)
foreach(page ${QUILLON_MAN_PAGES})
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/man/${page}.1.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND gzip -9nc ${CMAKE_SOURCE_DIR}/data/man/${page}.1 > ${CMAKE_BINARY_DIR}/man/${page}.1.gz
    DEPENDS ${CMAKE_SOURCE_DIR}/data/man/${page}.1)
  list(APPEND compressed ${CMAKE_BINARY_DIR}/man/${page}.1.gz)
  install(FILES ${CMAKE_BINARY_DIR}/man/${page}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/man/changelog.gz
  COMMAND gzip -9nc ${CMAKE_SOURCE_DIR}/data/package/changelog > ${CMAKE_BINARY_DIR}/man/changelog.gz
  DEPENDS ${CMAKE_SOURCE_DIR}/data/package/changelog)
add_custom_target(quillon_compressed_pages ALL DEPENDS ${compressed} ${CMAKE_BINARY_DIR}/man/changelog.gz)
install(FILES ${CMAKE_BINARY_DIR}/man/changelog.gz data/package/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quillon)

include(cmake/Package.cmake)
