# The application does not map the sound library and the printing system's
# client library (with the dozen libraries they bring) at every start: it
# loads them by name when the first sound plays or a print job is checked.
#   cmake -DPROGRAM=... -P start_libraries_check.cmake
find_program(READELF readelf REQUIRED)
execute_process(COMMAND "${READELF}" -d "${PROGRAM}" OUTPUT_VARIABLE dynamic RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "readelf failed on ${PROGRAM}")
endif()
foreach(library libcanberra libcups)
    string(FIND "${dynamic}" "[${library}." at)
    if(NOT at EQUAL -1)
        message(FATAL_ERROR "${PROGRAM} needs ${library} at load time:\n${dynamic}")
    endif()
endforeach()
