# The command-line tool reads the user's store read-only.
add_dependencies(settings_schedule_tool_store_test ralvo-schedule)
target_compile_definitions(settings_schedule_tool_store_test PRIVATE
    RALVO_SCHEDULE_TOOL="$<TARGET_FILE:ralvo-schedule>")
