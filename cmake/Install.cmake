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
