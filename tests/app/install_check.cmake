# cmake -DBUILD_DIR=... -DPREFIX=... -P install_check.cmake
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

foreach(path
        bin/ralvo
        bin/ralvo-schedule
        share/ralvo/help/index.html
        share/ralvo/help/help.css
        share/ralvo/help/kikanmei.html
        share/icons/hicolor/scalable/apps/ralvo.svg
        share/applications/ralvo.desktop
        share/bash-completion/completions/ralvo-schedule)
    if(NOT EXISTS ${PREFIX}/${path})
        message(FATAL_ERROR "not installed: ${path}")
    endif()
endforeach()

# The program finds the book at ../share/ralvo/help from its own folder.
file(READ ${PREFIX}/share/applications/ralvo.desktop entry)
foreach(line "Name[ja]=らるぼPro" "Comment[ja]=" "Exec=ralvo" "Icon=ralvo" "Type=Application")
    string(FIND "${entry}" "${line}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "desktop entry lacks ${line}")
    endif()
endforeach()
file(REMOVE_RECURSE ${PREFIX})
