# The crash-safety test of the settings store kills this helper while it saves.
add_executable(platform_store_saver ${CMAKE_CURRENT_SOURCE_DIR}/platform/store_saver_main.cpp)
target_link_libraries(platform_store_saver PRIVATE ralvo_core)
add_dependencies(platform_settings_store_test platform_store_saver)
target_compile_definitions(platform_settings_store_test PRIVATE
    RALVO_STORE_SAVER="$<TARGET_FILE:platform_store_saver>")
