# The page file test runs the built command-line tool.
target_compile_definitions(print_page_file_test PRIVATE
    RALVO_SCHEDULE_TOOL="$<TARGET_FILE:ralvo-schedule>")
add_dependencies(print_page_file_test ralvo-schedule)

# The print path test prints through a private CUPS scheduler with a PDF
# queue, started by a fixture (tests/print/cups_server.sh) and stopped after.
set(RALVO_CUPS_DIR ${CMAKE_CURRENT_BINARY_DIR}/cups)
# It asks the scheduler itself (the program loads libcups by name).
target_link_libraries(print_cups_print_qtest PRIVATE Cups::Cups)
add_test(NAME print_cups_start
         COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/print/cups_server.sh start ${RALVO_CUPS_DIR})
add_test(NAME print_cups_stop
         COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/print/cups_server.sh stop ${RALVO_CUPS_DIR})
set_tests_properties(print_cups_start PROPERTIES FIXTURES_SETUP cups_server LABELS print TIMEOUT 90)
set_tests_properties(print_cups_stop PROPERTIES FIXTURES_CLEANUP cups_server LABELS print TIMEOUT 30)
set_property(TEST print_cups_print_qtest APPEND PROPERTY ENVIRONMENT
             CUPS_SERVER=${RALVO_CUPS_DIR}/cups.sock RALVO_CUPS_DIR=${RALVO_CUPS_DIR})
set_tests_properties(print_cups_print_qtest PROPERTIES FIXTURES_REQUIRED cups_server
                     RESOURCE_LOCK cups_server TIMEOUT 180)
