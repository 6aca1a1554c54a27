# Fails when a file of one part of the program includes a part it may not see
# (see cmake/Layers.cmake): the link including the requests, the records
# including the shell or any window code, the link page including the main
# window. Names every offending line, where the compiler would stop at the
# first.
#   cmake -DSOURCE_DIR=<tree> -P check_layers.cmake
cmake_minimum_required(VERSION 3.25)
include("${CMAKE_CURRENT_LIST_DIR}/../../cmake/Layers.cmake")

set(bad)
set(checked 0)

# The include lines of the files in `folder` that name a part outside
# `visible` go into `bad`, with `why` (% stands for the part named). In a
# part's folder those are includes of the parts, and any include of window
# code is wrong; in a window folder, includes of other window code.
function(check_folder folder visible why)
    file(GLOB files "${SOURCE_DIR}/src/${folder}/*.h" "${SOURCE_DIR}/src/${folder}/*.cpp")
    list(LENGTH files n)
    math(EXPR n "${checked} + ${n}")
    set(checked ${n} PARENT_SCOPE)
    set(windowFolder FALSE)
    if(folder MATCHES "/widgets$")
        set(windowFolder TRUE)
    endif()
    foreach(f IN LISTS files)
        file(RELATIVE_PATH rel "${SOURCE_DIR}" "${f}")
        file(STRINGS "${f}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"/]+/")
        foreach(line IN LISTS lines)
            string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"/]+)/.*" "\\1" target "${line}")
            set(windowInclude FALSE)
            if(line MATCHES "\"[^\"/]+/widgets/")
                set(windowInclude TRUE)
            endif()
            if(NOT windowFolder AND windowInclude)
                set(reason "the parts may not use window code")
            elseif(windowFolder STREQUAL windowInclude AND target IN_LIST CELLVANE_LAYERS
                   AND NOT target IN_LIST visible)
                string(REPLACE "%" "${target}" reason "${why}")
            else()
                continue()
            endif()
            list(APPEND bad "${rel}: ${line}   (${reason})")
        endforeach()
    endforeach()
    set(bad ${bad} PARENT_SCOPE)
endfunction()

# A part's library is the files directly in its folder. Window code may
# include every part; of the other parts' window code only what its table
# names.
foreach(sub IN LISTS CELLVANE_LAYERS)
    cellvane_closure(LAYERS ${sub} visible)
    check_folder(${sub} "${visible}" "${sub} may not use %")
endforeach()
foreach(sub IN LISTS CELLVANE_WINDOWS)
    cellvane_closure(WINDOWS ${sub} visible)
    check_folder(${sub}/widgets "${visible}" "${sub}'s window code may not use %'s")
endforeach()
if(checked EQUAL 0)
    message(FATAL_ERROR "no source files found under ${SOURCE_DIR}/src")
endif()
if(bad)
    list(JOIN bad "\n" text)
    message(FATAL_ERROR "includes across the layers:\n${text}")
endif()
message(STATUS "${checked} files respect the layers")
