# The editor's saved schedule is compared with what the command-line tool
# writes for the same input.
add_dependencies(textout_text_editor_qtest ralvo-schedule)
target_compile_definitions(textout_text_editor_qtest PRIVATE
    RALVO_SCHEDULE_TOOL="$<TARGET_FILE:ralvo-schedule>")
