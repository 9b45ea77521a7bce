# Makes a manual page from what a program prints for --help, so the page
# always says what the program says.
#   cmake -DPROGRAM=path [-DHELP_FILE=file] -DOUTPUT=page.1 -DVERSION=x.y.z -P HelpToMan.cmake
# With HELP_FILE the text is read from that file instead of running PROGRAM.
#
# The help text follows a few rules (both programs' --help do):
#   - the first line is "name: what it does" (the page's name line);
#   - a line without indent that ends in ":" is a heading; "使い方" and "例"
#     are shown line by line, as typed;
#   - under other headings a line indented by two spaces is a term, with its
#     description after two or more spaces or on the following lines indented
#     further; a line without indent is ordinary text; a blank line ends a
#     paragraph.

cmake_minimum_required(VERSION 3.25) # lists keep their empty lines

if(DEFINED HELP_FILE)
    file(READ ${HELP_FILE} help)
else()
    execute_process(COMMAND ${PROGRAM} --help OUTPUT_VARIABLE help RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "${PROGRAM} --help failed: ${status}")
    endif()
endif()

# Semicolons and square brackets mean something to CMake lists: carry them
# through as placeholders.
string(REPLACE ";" "@SEMICOLON@" help "${help}")
string(REPLACE "[" "@OPEN@" help "${help}")
string(REPLACE "]" "@CLOSE@" help "${help}")
string(REGEX REPLACE "\n$" "" help "${help}")
string(REPLACE "\n" ";" lines "${help}")

# Text as troff reads it: backslashes and minus signs escaped, no line taken
# for a request.
function(roff_escape out text)
    string(REPLACE "\\" "\\e" text "${text}")
    string(REPLACE "-" "\\-" text "${text}")
    string(REPLACE "@SEMICOLON@" "\\;" text "${text}")
    string(REPLACE "@OPEN@" "[" text "${text}")
    string(REPLACE "@CLOSE@" "]" text "${text}")
    string(REGEX REPLACE "^([.'])" "\\\\&\\1" text "${text}")
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

list(POP_FRONT lines first)
if(NOT first MATCHES "^([^ :]+): (.+)$")
    message(FATAL_ERROR "the help's first line is not \"name: summary\": ${first}")
endif()
set(name "${CMAKE_MATCH_1}")
roff_escape(summary "${CMAKE_MATCH_2}")
roff_escape(title "${name}")
string(TOUPPER "${title}" title)
roff_escape(escapedName "${name}")

set(page ".\\\" Made from ${name} --help by HelpToMan.cmake: edit the program's help text instead.\n")
string(APPEND page ".mso ja.tmac\n")
string(APPEND page ".TH ${title} 1 \"\" \"ralvo ${VERSION}\" \"ユーザーコマンド\"\n")
string(APPEND page ".ad l\n.nh\n")
string(APPEND page ".SH 名前\n${escapedName} \\- ${summary}\n")

# A paragraph being gathered: lines join without a space between Japanese
# characters and with one where a side is a Latin letter, digit or sign.
set(pending "")
function(flush_pending)
    if(NOT pending STREQUAL "")
        roff_escape(text "${pending}")
        string(APPEND page "${text}\n")
        set(page "${page}" PARENT_SCOPE)
        set(pending "" PARENT_SCOPE)
    endif()
endfunction()
function(gather text)
    string(STRIP "${text}" text)
    if(pending STREQUAL "")
        set(pending "${text}" PARENT_SCOPE)
    elseif(pending MATCHES "[!-~]$" OR text MATCHES "^[!-~]")
        set(pending "${pending} ${text}" PARENT_SCOPE)
    else()
        set(pending "${pending}${text}" PARENT_SCOPE)
    endif()
endfunction()

set(verbatim FALSE)   # under 使い方 or 例
set(inNoFill FALSE)   # inside .nf ... .fi
set(afterBlank FALSE) # a blank line before the next text
foreach(line IN LISTS lines)
    if(line MATCHES "^[ ]*$")
        flush_pending()
        if(inNoFill)
            string(APPEND page ".fi\n")
            set(inNoFill FALSE)
        endif()
        set(afterBlank TRUE)
    elseif(line MATCHES "^([^ ].*):$")
        flush_pending()
        if(inNoFill)
            string(APPEND page ".fi\n")
            set(inNoFill FALSE)
        endif()
        set(heading "${CMAKE_MATCH_1}")
        roff_escape(escaped "${heading}")
        string(APPEND page ".SH ${escaped}\n")
        if(heading STREQUAL "使い方" OR heading STREQUAL "例")
            set(verbatim TRUE)
        else()
            set(verbatim FALSE)
        endif()
        set(afterBlank FALSE)
    elseif(verbatim)
        if(NOT inNoFill)
            string(APPEND page ".nf\n")
            set(inNoFill TRUE)
        endif()
        string(SUBSTRING "${line}" 2 -1 shown) # the usage's own indent, less two
        roff_escape(shown "${shown}")
        string(APPEND page "${shown}\n")
    elseif(line MATCHES "^  [^ ]")
        flush_pending()
        if(line MATCHES "^  ([^ ]|[^ ].*[^ ])  +([^ ].*)$")
            set(term "${CMAKE_MATCH_1}")
            gather("${CMAKE_MATCH_2}")
        else()
            string(STRIP "${line}" term)
        endif()
        roff_escape(term "${term}")
        string(APPEND page ".TP\n\\fB${term}\\fR\n")
        set(afterBlank FALSE)
    elseif(line MATCHES "^   ")
        gather("${line}")
    else()
        if(afterBlank)
            flush_pending()
            string(APPEND page ".PP\n")
        endif()
        gather("${line}")
        set(afterBlank FALSE)
    endif()
endforeach()
flush_pending()
if(inNoFill)
    string(APPEND page ".fi\n")
endif()
file(WRITE ${OUTPUT} "${page}")
