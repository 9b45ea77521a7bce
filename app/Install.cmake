# Installation as a desktop program and the Debian package.
#   cmake --install build/release [--prefix DIR]
#   cd build/release && cpack -G DEB

set(RALVO_HELP_DIR ${CMAKE_INSTALL_DATADIR}/ralvo/help) # the program looks in ../share/ralvo/help

install(TARGETS ralvo ralvo-schedule RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# Bash completion, loaded on demand by bash-completion from its folder.
install(FILES ${CMAKE_SOURCE_DIR}/app/completion/ralvo-schedule.bash
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME ralvo-schedule)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/app/help/ DESTINATION ${RALVO_HELP_DIR}
        FILES_MATCHING PATTERN "*.html" PATTERN "*.css")
install(FILES ${CMAKE_SOURCE_DIR}/app/resources/ralvo.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${CMAKE_SOURCE_DIR}/app/ralvo.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

set(CPACK_PACKAGE_NAME ralvo)
set(CPACK_PACKAGE_VENDOR "Ralvo project")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Due date calculator and pregnancy schedule printer (Japanese)")
set(CPACK_PACKAGE_DESCRIPTION
    "らるぼPro computes the expected date of delivery, the estimated ovulation and implantation days from the last menstrual period, a basal temperature chart or an ultrasound due date, and writes, previews and prints a week-by-week pregnancy schedule with the issuing clinic's own block. Japanese user interface.")
set(CPACK_PACKAGE_CONTACT "Ralvo maintainers <ralvo@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Shared libraries (Qt, HarfBuzz, libcanberra, ...) are found by
# dpkg-shlibdeps; what is loaded at run time by name is declared here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "fonts-ipafont-gothic, fonts-ipafont-mincho, qt6-translations-l10n, sound-theme-freedesktop")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "cups-client")
include(CPack)
