# cmake -DDESKTOP_FILE_VALIDATE=... -DAPPSTREAMCLI=... -DSOURCE_DIR=... -P desktop_metadata_check.cmake
if(NOT DESKTOP_FILE_VALIDATE OR NOT APPSTREAMCLI)
    message("skipped: desktop-file-validate or appstreamcli is not installed (scripts/packages.d/test-package.txt)")
    cmake_language(EXIT 77)
endif()
# Hints count too: they say the entry would show in more than one menu.
execute_process(COMMAND ${DESKTOP_FILE_VALIDATE} ${SOURCE_DIR}/app/ralvo.desktop
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT "${out}${err}" STREQUAL "")
    message(FATAL_ERROR "desktop-file-validate: ${status}\n${out}${err}")
endif()
execute_process(COMMAND ${APPSTREAMCLI} validate --no-net --pedantic ${SOURCE_DIR}/app/ralvo.metainfo.xml
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "appstreamcli validate: ${status}\n${out}${err}")
endif()
# What the metadata promises: a Japanese name, summary and description, a
# screenshot, and the desktop entry that is installed.
file(READ ${SOURCE_DIR}/app/ralvo.metainfo.xml metainfo)
foreach(part "<name xml:lang=\"ja\">らるぼPro</name>" "<summary xml:lang=\"ja\">" "<p xml:lang=\"ja\">"
             "<screenshot type=\"default\">" "<launchable type=\"desktop-id\">ralvo.desktop</launchable>")
    string(FIND "${metainfo}" "${part}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "the metadata lacks ${part}")
    endif()
endforeach()
