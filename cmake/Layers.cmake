# The program's parts, lowest first, and which parts each may use directly.
# A part sees the parts it uses and everything those see; nothing else. Each
# part is a library of its own whose include path holds only the folders it
# may see, so an include of a higher part does not compile, and the
# layers_are_respected test reads this same table to name the offending line.
#
# The window code (src/*/widgets/) is not in the table: it sits above all of
# it, in the window library.
set(CELLVANE_LAYERS
    base spreadsheet mqtt link i18n sim state requests responses upgrade records
    bank charts traffic shell profiles cli)

set(CELLVANE_USES_base)
# The workbook formats know nothing of batteries.
set(CELLVANE_USES_spreadsheet base)
set(CELLVANE_USES_mqtt base)
# The link owns the port and the receive assembly; it reports upward through
# its hooks and knows nothing of what the frames mean.
set(CELLVANE_USES_link base)
set(CELLVANE_USES_i18n base link)
set(CELLVANE_USES_sim base i18n link)
set(CELLVANE_USES_state base i18n link)
set(CELLVANE_USES_requests state)
set(CELLVANE_USES_responses requests)
set(CELLVANE_USES_upgrade requests)
set(CELLVANE_USES_records responses spreadsheet)
set(CELLVANE_USES_bank records)
set(CELLVANE_USES_charts bank)
set(CELLVANE_USES_traffic requests)
# The session wires the parts below it together.
set(CELLVANE_USES_shell charts traffic upgrade)
set(CELLVANE_USES_profiles shell)
set(CELLVANE_USES_cli profiles)

# Everything `sub` may see, itself included, in `out`.
function(cellvane_layer_closure sub out)
    set(seen ${sub})
    set(todo ${CELLVANE_USES_${sub}})
    while(todo)
        list(POP_FRONT todo next)
        if(NOT next IN_LIST seen)
            list(APPEND seen ${next})
            list(APPEND todo ${CELLVANE_USES_${next}})
        endif()
    endwhile()
    set(${out} ${seen} PARENT_SCOPE)
endfunction()
