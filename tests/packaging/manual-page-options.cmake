# SPDX-License-Identifier: GPL-3.0-or-later
# Holds a manual page to its program's --help: every option that --help lists is on the page,
# and every long option on the page is one that --help lists.
# Usage: cmake -DPROGRAM=path/to/program -DPAGE=path/to/program.1 -P manual-page-options.cmake

cmake_minimum_required(VERSION 3.21)

# The options written in TEXT (-x, -?, --long-name at the start of a word), sorted, no repeats.
function(options_in text out)
    # List separators and brackets would split or glue the matches.
    string(REGEX REPLACE "[][;]" " " text " ${text}")
    string(REGEX MATCHALL "[^A-Za-z0-9_-]--?[A-Za-z?][-A-Za-z0-9]*" found "${text}")
    set(options)
    foreach(match IN LISTS found)
        string(SUBSTRING "${match}" 1 -1 option)
        list(APPEND options "${option}")
    endforeach()
    list(REMOVE_DUPLICATES options)
    list(SORT options)
    set(${out} "${options}" PARENT_SCOPE)
endfunction()

get_filename_component(name "${PROGRAM}" NAME_WE)
execute_process(COMMAND "${PROGRAM}" --help TIMEOUT 60
                OUTPUT_VARIABLE help ERROR_VARIABLE errors RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "${name} --help failed (${status}): ${errors}")
endif()
options_in("${help}" help_options)
if(NOT help_options)
    message(FATAL_ERROR "${name} --help lists no options:\n${help}")
endif()

file(READ "${PAGE}" page)
# Roff writes a minus as \- and switches fonts with \fB, \f(CW or \f[CR]; comments start with .\"
string(REGEX REPLACE "(^|\n)\\.\\\\\"[^\n]*" "\n" page "${page}")
string(REGEX REPLACE "\\\\f(\\[[^]]*\\]|\\(..|.)" "" page "${page}")
string(REPLACE "\\-" "-" page "${page}")
string(REPLACE "\\&" "" page "${page}")
options_in("${page}" page_options)

set(missing ${help_options})
list(REMOVE_ITEM missing ${page_options})
set(unknown)
foreach(option IN LISTS page_options)
    if(option MATCHES "^--" AND NOT option IN_LIST help_options)
        list(APPEND unknown ${option})
    endif()
endforeach()
if(missing OR unknown)
    list(JOIN missing " " missing)
    list(JOIN unknown " " unknown)
    message(FATAL_ERROR "${PAGE} and ${name} --help disagree.\n"
                        "  Listed by --help, missing from the page: ${missing}\n"
                        "  On the page, unknown to --help: ${unknown}")
endif()
list(JOIN help_options " " listed)
message(STATUS "${name}: the page and --help list the same options: ${listed}")
