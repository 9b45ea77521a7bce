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
