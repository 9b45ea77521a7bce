# The page file test runs the built command-line tool.
if(TARGET print_page_file_test AND TARGET ralvo-schedule)
    target_compile_definitions(print_page_file_test PRIVATE
        RALVO_SCHEDULE_TOOL="$<TARGET_FILE:ralvo-schedule>")
    add_dependencies(print_page_file_test ralvo-schedule)
endif()
