# Installing puts the program, the help book, the icon and the desktop entry
# in their standard places (checked in a throw-away prefix).
add_test(NAME app_install_layout
    COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${CMAKE_BINARY_DIR}
            -DPREFIX=${CMAKE_CURRENT_BINARY_DIR}/install-check
            -P ${CMAKE_CURRENT_SOURCE_DIR}/app/install_check.cmake)
set_tests_properties(app_install_layout PROPERTIES LABELS app)

# The bash completion script answers as a shell would ask it.
find_program(RALVO_BASH bash)
if(RALVO_BASH)
    add_test(NAME app_bash_completion
        COMMAND ${RALVO_BASH} ${CMAKE_CURRENT_SOURCE_DIR}/app/completion_check.sh
                ${CMAKE_SOURCE_DIR}/app/completion/ralvo-schedule.bash)
    set_tests_properties(app_bash_completion PROPERTIES LABELS app)
endif()

# --help and --version of the window program need no display.
if(TARGET ralvo)
    add_test(NAME app_information_options
        COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:ralvo> -DVERSION=${PROJECT_VERSION}
                -P ${CMAKE_CURRENT_SOURCE_DIR}/app/information_options_check.cmake)
    set_tests_properties(app_information_options PROPERTIES LABELS app
        ENVIRONMENT "LANG=C.UTF-8;LC_ALL=C.UTF-8;ASAN_OPTIONS=detect_leaks=0")
endif()

# The desktop entry and the AppStream metadata pass Debian's validators, and
# each manual page reads as its program's --help says, without a warning
# from man. The tools come with scripts/packages.d/test-package.txt.
find_program(RALVO_DESKTOP_FILE_VALIDATE desktop-file-validate)
find_program(RALVO_APPSTREAMCLI appstreamcli)
find_program(RALVO_MAN man)
add_test(NAME app_desktop_metadata
    COMMAND ${CMAKE_COMMAND} -DDESKTOP_FILE_VALIDATE=${RALVO_DESKTOP_FILE_VALIDATE}
            -DAPPSTREAMCLI=${RALVO_APPSTREAMCLI} -DSOURCE_DIR=${CMAKE_SOURCE_DIR}
            -P ${CMAKE_CURRENT_SOURCE_DIR}/app/desktop_metadata_check.cmake)
set_tests_properties(app_desktop_metadata PROPERTIES LABELS app SKIP_RETURN_CODE 77)
foreach(program ralvo ralvo-schedule)
    if(TARGET ${program})
        add_test(NAME app_manual_page_${program}
            COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:${program}> -DMAN=${RALVO_MAN}
                    -DPAGE=${CMAKE_BINARY_DIR}/data/man/${program}.1.gz
                    -DWORK=${CMAKE_CURRENT_BINARY_DIR}/man-${program}
                    -P ${CMAKE_CURRENT_SOURCE_DIR}/app/manual_page_check.cmake)
        set_tests_properties(app_manual_page_${program} PROPERTIES LABELS app SKIP_RETURN_CODE 77
            ENVIRONMENT "LANG=C.UTF-8;LC_ALL=C.UTF-8;MANWIDTH=80;ASAN_OPTIONS=detect_leaks=0")
    endif()
endforeach()

# What the program maps at start.
add_test(NAME app_start_libraries
    COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:ralvo> -P ${CMAKE_CURRENT_SOURCE_DIR}/app/start_libraries_check.cmake)
set_tests_properties(app_start_libraries PROPERTIES LABELS app)

# Once through the desktop's accessibility bus (AT-SPI) as a screen reader
# asks: the main window's fields and arrows are named and the calculate
# button presses. Needs an X display and a session bus of its own
# (scripts/packages.d/test-accessibility.txt); skipped when they cannot start.
if(TARGET ralvo AND RALVO_BASH)
    add_test(NAME app_atspi_main_window
        COMMAND ${RALVO_BASH} ${CMAKE_CURRENT_SOURCE_DIR}/app/atspi_check.sh $<TARGET_FILE:ralvo>)
    set_tests_properties(app_atspi_main_window PROPERTIES LABELS app SKIP_RETURN_CODE 77 TIMEOUT 120
        ENVIRONMENT "ASAN_OPTIONS=detect_leaks=0")
endif()
