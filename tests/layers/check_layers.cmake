# Fails when a file of one part of the program includes a part it may not see
# (see cmake/Layers.cmake): the link including the requests, the records
# including the shell. Names every offending line, where the compiler would
# stop at the first.
#   cmake -DSOURCE_DIR=<tree> [-DLAYERS_FILE=<table>] -P check_layers.cmake
cmake_minimum_required(VERSION 3.25)
if(NOT LAYERS_FILE)
    set(LAYERS_FILE "${CMAKE_CURRENT_LIST_DIR}/../../cmake/Layers.cmake")
endif()
include("${LAYERS_FILE}")

set(bad)
set(checked 0)
foreach(sub IN LISTS CELLVANE_LAYERS)
    cellvane_layer_closure(${sub} visible)
    # A part's library is the files directly in its folder; the window code
    # and the programs in its subfolders sit above every part.
    file(GLOB files "${SOURCE_DIR}/src/${sub}/*.h" "${SOURCE_DIR}/src/${sub}/*.cpp")
    foreach(f IN LISTS files)
        math(EXPR checked "${checked} + 1")
        file(STRINGS "${f}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"/]+/")
        foreach(line IN LISTS lines)
            string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"/]+)/.*" "\\1" target "${line}")
            if(target IN_LIST CELLVANE_LAYERS AND NOT target IN_LIST visible)
                file(RELATIVE_PATH rel "${SOURCE_DIR}" "${f}")
                list(APPEND bad "${rel}: ${line}   (${sub} may not use ${target})")
            endif()
        endforeach()
    endforeach()
endforeach()
if(checked EQUAL 0)
    message(FATAL_ERROR "no source files found under ${SOURCE_DIR}/src")
endif()
if(bad)
    list(JOIN bad "\n" text)
    message(FATAL_ERROR "includes across the layers:\n${text}")
endif()
message(STATUS "${checked} files respect the layers")
