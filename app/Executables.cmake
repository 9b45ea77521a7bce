# The window application and the command-line companion.
if(EXISTS ${CMAKE_SOURCE_DIR}/app/main.cpp)
    add_executable(ralvo app/main.cpp)
    target_link_libraries(ralvo PRIVATE ralvo_ui)
endif()
if(EXISTS ${CMAKE_SOURCE_DIR}/app/cli/ralvo_schedule.cpp)
    file(GLOB RALVO_CLI_SOURCES CONFIGURE_DEPENDS app/cli/*.cpp app/cli/*.h)
    add_executable(ralvo-schedule ${RALVO_CLI_SOURCES})
    target_link_libraries(ralvo-schedule PRIVATE ralvo_core)
endif()

include(${CMAKE_CURRENT_LIST_DIR}/Install.cmake)
