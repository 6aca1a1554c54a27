# The program's parts, lowest first, and which parts each may use directly.
# A part sees the parts it uses and everything those see; nothing else. Each
# part is a library of its own whose include path holds only the folders it
# may see, so an include of a higher part does not compile, and the
# layers_are_respected test reads this same table to name the offending line.
#
# The window code (src/<part>/widgets/) sits above every part and may include
# any of them; it has a table of its own, further down.
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

# Window code: one library per part that has any. Among themselves, a part's
# window code uses only the window code named here; `base` holds what every
# page is built on (the form binder, the page base class, the prompt).
set(CELLVANE_WINDOWS
    base i18n link requests responses records upgrade bank charts traffic profiles shell)
set(CELLVANE_WINDOW_USES_base)
set(CELLVANE_WINDOW_USES_i18n base)
set(CELLVANE_WINDOW_USES_link base)
set(CELLVANE_WINDOW_USES_requests base)
set(CELLVANE_WINDOW_USES_responses base)
# The pages whose captions must fit their boxes in both languages.
set(CELLVANE_WINDOW_USES_records i18n)
set(CELLVANE_WINDOW_USES_upgrade i18n)
set(CELLVANE_WINDOW_USES_bank i18n)
set(CELLVANE_WINDOW_USES_charts base)
set(CELLVANE_WINDOW_USES_traffic base)
set(CELLVANE_WINDOW_USES_profiles base)
# The main window holds every page and window.
set(CELLVANE_WINDOW_USES_shell
    base i18n link requests responses records upgrade bank charts traffic profiles)

# Everything `sub` may see in the table `table` (LAYERS or WINDOWS), itself
# included, in `out`.
function(cellvane_closure table sub out)
    if(table STREQUAL "WINDOWS")
        set(prefix CELLVANE_WINDOW_USES_)
    else()
        set(prefix CELLVANE_USES_)
    endif()
    set(seen ${sub})
    set(todo ${${prefix}${sub}})
    while(todo)
        list(POP_FRONT todo next)
        if(NOT next IN_LIST seen)
            list(APPEND seen ${next})
            list(APPEND todo ${${prefix}${next}})
        endif()
    endwhile()
    set(${out} ${seen} PARENT_SCOPE)
endfunction()
