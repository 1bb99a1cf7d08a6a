# SPDX-License-Identifier: GPL-3.0-or-later
# Holds a translation to the sources: every text the sources mark for translation is in it,
# and every one is translated (none unfinished, none left out).
# Usage: cmake -DLUPDATE=... -DLRELEASE=... -DTS=path/to/geofill_LANG.ts -DSOURCE_DIR=...
#              -DWORK_DIR=... -P translations-complete.cmake

cmake_minimum_required(VERSION 3.21)

# The sources' texts merged into a copy, as `update_translations` would merge them.
get_filename_component(name "${TS}" NAME)
file(MAKE_DIRECTORY "${WORK_DIR}")
configure_file("${TS}" "${WORK_DIR}/${name}" COPYONLY)
execute_process(COMMAND "${LUPDATE}" -no-obsolete -locations none
                        convert gateway store ui -ts "${WORK_DIR}/${name}"
                WORKING_DIRECTORY "${SOURCE_DIR}" TIMEOUT 120
                OUTPUT_VARIABLE merged ERROR_VARIABLE errors RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "lupdate failed (${status}): ${errors}")
endif()
if(NOT merged MATCHES "\\(0 new and ")
    message(FATAL_ERROR "${name} lacks texts the sources mark for translation:\n${merged}")
endif()

execute_process(COMMAND "${LRELEASE}" "${WORK_DIR}/${name}" -qm "${WORK_DIR}/check.qm"
                TIMEOUT 60 OUTPUT_VARIABLE report ERROR_VARIABLE errors RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "lrelease failed (${status}): ${errors}")
endif()
if(NOT report MATCHES "finished and 0 unfinished" OR report MATCHES "untranslated")
    message(FATAL_ERROR "${name} is not completely translated:\n${report}")
endif()
message(STATUS "${name}: ${report}")
