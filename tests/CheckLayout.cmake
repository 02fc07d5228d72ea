# Checks that every include of the sources points the way the layers and rooms allow
# (docs/ARCHITECTURE.md): run as cmake -DROOT=<checkout> -P CheckLayout.cmake.
#   folder                  may include (besides itself and system headers)
set(rules
    "common/misc|misc"
    "common/palm/desktop|misc palm/desktop"
    "common/palm/dat|misc palm/dat"
    "common/palm/classic|misc palm/desktop palm/dat palm/classic"
    "common/palm/palmsg|misc palm/desktop palm/dat palm/palmsg"
    "common/palm/db6x/engine|misc palm/db6x/engine"
    "common/palm/db6x/jet|misc palm/db6x/engine palm/db6x/jet"
    "common/palm/db6x|misc palm/desktop palm/dat palm/db6x"
    "common/palm/comm|misc palm/comm"
    "src/engine|misc palm/desktop palm/comm palm/unified engine"
    "src/cli|misc palm/desktop palm/comm palm/unified engine cli"
    "src/gui|misc palm/desktop palm/comm palm/unified engine gui"
    "src/app|misc palm/desktop engine gui app")
set(failures "")
foreach(rule IN LISTS rules)
    string(REPLACE "|" ";" parts "${rule}")
    list(GET parts 0 folder)
    list(GET parts 1 allowed)
    string(REPLACE " " ";" allowed "${allowed}")
    file(GLOB_RECURSE files "${ROOT}/${folder}/*.h" "${ROOT}/${folder}/*.cpp")
    foreach(file IN LISTS files)
        # A deeper folder with a rule of its own is checked by that rule.
        file(RELATIVE_PATH relative "${ROOT}" "${file}")
        if(folder STREQUAL "common/palm/db6x" AND relative MATCHES "^common/palm/db6x/(engine|jet)/")
            continue()
        endif()
        file(STRINGS "${file}" lines REGEX "^#include \"")
        foreach(line IN LISTS lines)
            string(REGEX REPLACE "^#include \"([^\"]+)\".*" "\\1" header "${line}")
            set(ok FALSE)
            foreach(prefix IN LISTS allowed)
                if(header MATCHES "^${prefix}/")
                    set(ok TRUE)
                endif()
            endforeach()
            if(NOT ok)
                string(APPEND failures "\n  ${relative}: ${header}")
            endif()
        endforeach()
    endforeach()
endforeach()
if(failures)
    message(FATAL_ERROR "Includes against the layering:${failures}")
endif()
