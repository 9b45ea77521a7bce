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
        libexec/ralvo/ralvo-schedule-page
        share/ralvo/help/index.html
        share/ralvo/help/help.css
        share/ralvo/help/kikanmei.html
        share/icons/hicolor/scalable/apps/ralvo.svg
        share/applications/ralvo.desktop
        share/metainfo/org.example.ralvo.metainfo.xml
        share/bash-completion/completions/ralvo-schedule
        share/man/man1/ralvo.1.gz
        share/man/man1/ralvo-schedule.1.gz
        share/man/ja/man1/ralvo.1.gz
        share/man/ja/man1/ralvo-schedule.1.gz
        share/doc/ralvo/copyright
        share/doc/ralvo/changelog.Debian.gz)
    if(NOT EXISTS ${PREFIX}/${path})
        message(FATAL_ERROR "not installed: ${path}")
    endif()
endforeach()

# The installed tool finds its drawing program.
execute_process(COMMAND ${PREFIX}/bin/ralvo-schedule page --defaults --basis 0 --year 2024 --month 1 --day 1
                        --cycle 28 -o ${PREFIX}/x.pdf
                ERROR_VARIABLE err RESULT_VARIABLE result)
if(NOT result EQUAL 0 OR NOT EXISTS ${PREFIX}/x.pdf)
    message(FATAL_ERROR "the installed ralvo-schedule cannot draw a page: ${result}\n${err}")
endif()

# The theme's fixed sizes, each a PNG of its size.
foreach(size 16 24 32 48 64 128 256)
    set(png ${PREFIX}/share/icons/hicolor/${size}x${size}/apps/ralvo.png)
    if(NOT EXISTS ${png})
        message(FATAL_ERROR "not installed: the ${size} px icon")
    endif()
    file(READ ${png} header LIMIT 24 HEX)
    string(SUBSTRING "${header}" 32 16 dimensions)
    math(EXPR expected "(${size} << 32) | ${size}" OUTPUT_FORMAT HEXADECIMAL)
    string(REPLACE "0x" "" expected "${expected}")
    string(LENGTH "${expected}" digits)
    math(EXPR pad "16 - ${digits}")
    string(REPEAT "0" ${pad} zeros)
    if(NOT header MATCHES "^89504e470d0a1a0a" OR NOT dimensions STREQUAL "${zeros}${expected}")
        message(FATAL_ERROR "the ${size} px icon is not a ${size} x ${size} PNG: ${header}")
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
