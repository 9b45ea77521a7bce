# cmake -DPROGRAM=ralvo -DVERSION=x.y.z -P information_options_check.cmake
# Run with neither a display nor a platform named: the answers must not need one.
set(ENV{QT_QPA_PLATFORM} "")
unset(ENV{DISPLAY})
unset(ENV{WAYLAND_DISPLAY})
foreach(option --help -h)
    execute_process(COMMAND ${PROGRAM} ${option} OUTPUT_VARIABLE out ERROR_VARIABLE err
                    RESULT_VARIABLE status TIMEOUT 20)
    if(NOT status EQUAL 0 OR NOT out MATCHES "^ralvo: .*\n使い方:\n  ralvo " OR NOT out MATCHES "--version")
        message(FATAL_ERROR "${option}: status ${status}\n${out}\n${err}")
    endif()
endforeach()
execute_process(COMMAND ${PROGRAM} --version OUTPUT_VARIABLE out ERROR_VARIABLE err
                RESULT_VARIABLE status TIMEOUT 20)
if(NOT status EQUAL 0 OR NOT out STREQUAL "ralvo ${VERSION}\n" OR NOT err STREQUAL "")
    message(FATAL_ERROR "--version: status ${status}, printed \"${out}\", error \"${err}\"")
endif()
