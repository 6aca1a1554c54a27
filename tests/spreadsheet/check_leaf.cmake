# Fails when a file of the workbook formats includes another part of the
# program: the library is a leaf that every exporter may link. The one
# exception is the outcome type every part reports its failures with, a
# header that itself includes nothing of the program (checked below), so the
# library still links nothing else.
file(GLOB files "${SOURCE_DIR}/src/spreadsheet/*")
set(shared "base/Result.h")
set(bad)
foreach(f IN LISTS files)
    file(STRINGS "${f}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line IN LISTS lines)
        if(NOT line MATCHES "\"spreadsheet/" AND NOT line MATCHES "\"${shared}\"")
            list(APPEND bad "${f}: ${line}")
        endif()
    endforeach()
endforeach()
file(STRINGS "${SOURCE_DIR}/src/${shared}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
foreach(line IN LISTS lines)
    list(APPEND bad "src/${shared}: ${line}")
endforeach()
if(bad)
    list(JOIN bad "\n" text)
    message(FATAL_ERROR "src/spreadsheet includes other parts of the program:\n${text}")
endif()
