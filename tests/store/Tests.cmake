# The crash-safety test of the settings store kills this helper while it saves.
add_executable(store_saver ${CMAKE_CURRENT_SOURCE_DIR}/store/store_saver_main.cpp)
target_link_libraries(store_saver PRIVATE ralvo_core)
add_dependencies(store_settings_store_test store_saver)
target_compile_definitions(store_settings_store_test PRIVATE
    RALVO_STORE_SAVER="$<TARGET_FILE:store_saver>")
