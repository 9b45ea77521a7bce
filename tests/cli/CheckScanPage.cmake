# A scan basis draws the page of basis 2 with the scan's due date, pixel for
# pixel. Called as
#   cmake -DTOOL=... -DWORK=dir -DSCAN=scan-options -DDUE=date-options -P CheckScanPage.cmake
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
set(common page --defaults --dpi 30 --name サンプル)
execute_process(COMMAND "${TOOL}" ${common} ${SCAN} -o "${WORK}/scan.png" ERROR_VARIABLE err RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "page ${SCAN}: exit status ${status}\n${err}")
endif()
execute_process(COMMAND "${TOOL}" ${common} --basis 2 ${DUE} --cycle 28 -o "${WORK}/due.png"
    ERROR_VARIABLE err RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "page --basis 2 ${DUE}: exit status ${status}\n${err}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${WORK}/scan.png" "${WORK}/due.png"
    RESULT_VARIABLE different)
if(different)
    message(FATAL_ERROR "the page of ${SCAN} differs from that of its due date ${DUE}")
endif()
file(REMOVE_RECURSE "${WORK}")
