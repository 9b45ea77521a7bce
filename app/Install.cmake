# Installation as a desktop program and the Debian package.
#   cmake --install build/release [--prefix DIR]
#   scripts/ci.d/package.sh       (a release build with Debian's build flags, cpack -G DEB, lintian)

set(RALVO_HELP_DIR ${CMAKE_INSTALL_DATADIR}/ralvo/help) # the program looks in ../share/ralvo/help
set(RALVO_MAINTAINER "Ralvo maintainers <ralvo-maintainers@example.org>")
set(RALVO_APPSTREAM_ID org.example.ralvo)

install(TARGETS ralvo ralvo-schedule RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS ${RALVO_DRAWING_PROGRAM} RUNTIME DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/ralvo)
# Bash completion, loaded on demand by bash-completion from its folder.
install(FILES ${CMAKE_SOURCE_DIR}/app/completion/ralvo-schedule.bash
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME ralvo-schedule)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/app/help/ DESTINATION ${RALVO_HELP_DIR}
        FILES_MATCHING PATTERN "*.html" PATTERN "*.css")
install(FILES ${CMAKE_SOURCE_DIR}/app/ralvo.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/app/ralvo.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo RENAME ${RALVO_APPSTREAM_ID}.metainfo.xml)

# Files made while building: the manual pages from the programs' --help
# and the compressed changelog; the icon's sizes come from app/CMakeLists.txt.
set(RALVO_DATA_DIR ${CMAKE_BINARY_DIR}/data)
set(RALVO_MADE_FILES "")
find_program(RALVO_GZIP gzip REQUIRED)

install(FILES ${CMAKE_SOURCE_DIR}/app/resources/ralvo.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
# The sizes rendered for the windows (app/CMakeLists.txt) go to the theme's
# fixed-size folders too.
foreach(size IN LISTS RALVO_ICON_SIZES)
    install(FILES ${RALVO_ICON_DIR}/ralvo-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME ralvo.png)
endforeach()
list(APPEND RALVO_MADE_FILES ${RALVO_ICON_FILES})

# The page is Japanese, as the program's help is in every locale: it goes
# where man finds it in any locale and in the Japanese folder.
foreach(program ralvo ralvo-schedule)
    if(NOT TARGET ${program})
        continue()
    endif()
    set(page ${RALVO_DATA_DIR}/man/${program}.1)
    add_custom_command(OUTPUT ${page}.gz
        COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0
                ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:${program}> -DOUTPUT=${page}
                -DVERSION=${PROJECT_VERSION} -P ${CMAKE_SOURCE_DIR}/cmake/HelpToMan.cmake
        COMMAND ${RALVO_GZIP} -9nkf ${page}
        DEPENDS ${program} ${CMAKE_SOURCE_DIR}/cmake/HelpToMan.cmake
        COMMENT "Writing the manual page ${program}(1)" VERBATIM)
    list(APPEND RALVO_MADE_FILES ${page}.gz)
    install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/ja/man1)
endforeach()

set(changelog ${RALVO_DATA_DIR}/doc/changelog.Debian)
add_custom_command(OUTPUT ${changelog}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/app/packaging/changelog ${changelog}
    COMMAND ${RALVO_GZIP} -9nkf ${changelog}
    DEPENDS ${CMAKE_SOURCE_DIR}/app/packaging/changelog VERBATIM)
list(APPEND RALVO_MADE_FILES ${changelog}.gz)
install(FILES ${changelog}.gz ${CMAKE_SOURCE_DIR}/app/packaging/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${CMAKE_SOURCE_DIR}/app/packaging/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME ralvo)
add_custom_target(ralvo_data ALL DEPENDS ${RALVO_MADE_FILES})

set(CPACK_PACKAGE_NAME ralvo)
set(CPACK_PACKAGE_VENDOR "Ralvo project")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_PACKAGE_RELEASE 1) # the revision of app/packaging/changelog's first entry
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "due date calculator and pregnancy schedule printer (Japanese)")
# The extended description under the summary line: lines under 80 columns.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "RalvoPro (らるぼPro) computes the expected date of delivery and the estimated
ovulation and implantation days from the last menstrual period, a basal
temperature chart, an ultrasound measurement or an embryo transfer day.
.
It writes, previews and prints a week-by-week pregnancy schedule with the
issuing clinic's own block, or saves it as a PDF file; ralvo-schedule does
the same from the command line. The user interface is Japanese.")
set(CPACK_PACKAGE_CONTACT "${RALVO_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Shared libraries (Qt, HarfBuzz, libical, ...) are found by
# dpkg-shlibdeps; what is loaded at run time by name (libcanberra when the
# first sound plays, libcups when a print job is first checked) is declared
# here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libcanberra0, libcups2, fonts-ipafont-gothic, fonts-ipafont-mincho, qt6-translations-l10n, sound-theme-freedesktop")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "cups-client")
# Typing Japanese: fcitx5 reaches Qt 6 programs through its Qt 6 frontend
# (ibus through the plug-in inside Qt itself), and either input method
# converts kana to kanji with Mozc.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "fcitx5-frontend-qt6, ibus-mozc | fcitx5-mozc")
include(CPack)
