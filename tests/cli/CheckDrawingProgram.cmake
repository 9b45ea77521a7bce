# The tool's own program links no Qt Gui (the loader maps and binds none of
# it for text, dates and ics); pages are drawn by its drawing program, and
# a copy of the tool without that program says so and exits 69.
#   cmake -DTOOL=... -DWORK=dir -P CheckDrawingProgram.cmake
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
find_program(READELF readelf REQUIRED)
execute_process(COMMAND "${READELF}" -d "${TOOL}" OUTPUT_VARIABLE dynamic RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "readelf failed on ${TOOL}")
endif()
foreach(library libQt6Gui libQt6Svg libharfbuzz libfontconfig libemf2svg)
    string(FIND "${dynamic}" "[${library}." at)
    if(NOT at EQUAL -1)
        message(FATAL_ERROR "ralvo-schedule needs ${library} at load time:\n${dynamic}")
    endif()
endforeach()

set(args page --defaults --basis 0 --year 2024 --month 1 --day 1 --cycle 28 -o "${WORK}/x.png")
execute_process(COMMAND "${TOOL}" ${args} ERROR_VARIABLE err RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT EXISTS "${WORK}/x.png")
    message(FATAL_ERROR "page through the drawing program: exit status ${status}\n${err}")
endif()

file(COPY "${TOOL}" DESTINATION "${WORK}/alone")
get_filename_component(name "${TOOL}" NAME)
execute_process(COMMAND "${WORK}/alone/${name}" ${args} ERROR_VARIABLE err RESULT_VARIABLE status)
string(FIND "${err}" "ページを描くプログラム" at)
if(NOT status EQUAL 69 OR at EQUAL -1)
    message(FATAL_ERROR "without its drawing program: exit status ${status}, expected 69\n${err}")
endif()
execute_process(COMMAND "${WORK}/alone/${name}" text --defaults --basis 0 --year 2024 --month 1 --day 1
                        --cycle 28 --utf8 OUTPUT_VARIABLE out RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT out MATCHES "2024年10月 7日")
    message(FATAL_ERROR "text needs the drawing program: exit status ${status}\n${out}")
endif()
file(REMOVE_RECURSE "${WORK}")
