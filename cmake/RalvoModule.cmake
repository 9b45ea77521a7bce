# ralvo_module(<target> SOURCES <files…> LINKS <targets…> [DIR <folder>])
#
# One static library of the program's modules. Its headers are reachable by
# "<folder>/<Header>.h" only from itself and from the targets that link it:
# each module gets an include tree of its own under the build folder, holding
# links to its own headers, and sees the trees of what it links. A module
# that includes a header of one it does not link fails to build.
#
# DIR is the folder the files are in, relative to the calling CMakeLists.txt
# (a module's ui/ half: DIR ui); it defaults to the folder of that file.
function(ralvo_module target)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "DIR" "SOURCES;LINKS")
    set(folder ${CMAKE_CURRENT_SOURCE_DIR})
    if(arg_DIR)
        cmake_path(ABSOLUTE_PATH arg_DIR BASE_DIRECTORY ${folder} NORMALIZE OUTPUT_VARIABLE folder)
    endif()
    add_library(${target} STATIC)
    set(tree ${CMAKE_BINARY_DIR}/include/${target})
    file(REMOVE_RECURSE ${tree})
    foreach(file IN LISTS arg_SOURCES)
        cmake_path(ABSOLUTE_PATH file BASE_DIRECTORY ${folder} NORMALIZE OUTPUT_VARIABLE absolute)
        if(NOT EXISTS ${absolute})
            message(FATAL_ERROR "${target}: ${file} does not exist")
        endif()
        target_sources(${target} PRIVATE ${absolute})
        if(file MATCHES "\\.h$")
            file(RELATIVE_PATH relative ${CMAKE_SOURCE_DIR} ${absolute})
            cmake_path(GET relative PARENT_PATH parent)
            file(MAKE_DIRECTORY ${tree}/${parent})
            file(CREATE_LINK ${absolute} ${tree}/${relative} SYMBOLIC)
        endif()
    endforeach()
    target_include_directories(${target} PUBLIC ${tree})
    target_link_libraries(${target} PUBLIC ralvo_common ${arg_LINKS})
    # No text becomes a QString without saying its encoding. Tests are
    # allowed literals (QT_RESTRICTED_CAST_FROM_ASCII, tests/CMakeLists.txt).
    target_compile_definitions(${target} PRIVATE QT_NO_CAST_FROM_ASCII)
    cmake_path(RELATIVE_PATH folder BASE_DIRECTORY ${CMAKE_SOURCE_DIR} OUTPUT_VARIABLE relative_folder)
    ralvo_module_graph_entry(${relative_folder} ${target} ${arg_LINKS})
endfunction()

# The module graph, in the one place the build defines it: every module (and
# program) adds its folder, its name and what it links, and
# ralvo_write_module_graph() writes them to <build>/ralvo-modules.txt, one
# line each: FOLDER TARGET KIND LINKS… where KIND is "widgets" for a module
# that links Qt Widgets or Print Support itself and "logic" otherwise, and
# LINKS are the project's own libraries it links. scripts/check-layering.sh
# and scripts/ci.d/clang-tidy.sh read that file.
function(ralvo_module_graph_entry folder target)
    set(kind logic)
    set(own "")
    foreach(link IN LISTS ARGN)
        if(link MATCHES "^Qt6::(Widgets|PrintSupport)$")
            set(kind widgets)
        elseif(link MATCHES "^ralvo_")
            list(APPEND own ${link})
        endif()
    endforeach()
    list(JOIN own " " own)
    set_property(GLOBAL APPEND PROPERTY RALVO_MODULE_GRAPH "${folder} ${target} ${kind} ${own}")
endfunction()

function(ralvo_write_module_graph)
    get_property(lines GLOBAL PROPERTY RALVO_MODULE_GRAPH)
    list(JOIN lines "\n" content)
    file(WRITE ${CMAKE_BINARY_DIR}/ralvo-modules.txt "${content}\n")
endfunction()
