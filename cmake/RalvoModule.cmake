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
endfunction()
