# A long monkey run stopped by Ctrl+C (SIGINT): it stops at a step boundary with status 130 and
# prints the command that replays the steps done, which then hold every check; on a terminal
# (a pseudo-terminal made by script) a progress line is rewritten on standard error, and without
# one nothing but the last line is written.
include(${CMAKE_CURRENT_LIST_DIR}/KesPanelRun.cmake)

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
set(ENV{KES_SETTINGS_DIR} ${WORK_DIR}/settings)
find_program(TIMEOUT timeout)
find_program(SCRIPT script)
if(NOT TIMEOUT)
    message(STATUS "no timeout program: nothing to send SIGINT with")
    return()
endif()

# Standard error a pipe: no progress line, the replay line only.
execute_process(COMMAND ${TIMEOUT} -s INT --preserve-status 2 ${PROGRAM} --monkey 2000000000 --seed 7
    WORKING_DIRECTORY ${WORK_DIR} INPUT_FILE /dev/null
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 130)
    message(FATAL_ERROR "interrupted without a terminal: status ${status}\n${err}")
endif()
string(REGEX MATCH "^monkey: interrupted after ([0-9]+) steps on the pocketing panel, seed 7: "
    line "${err}")
set(steps ${CMAKE_MATCH_1})
string(FIND "${err}" "every check held; replay: kes-panel --monkey ${steps} --seed 7\n" replay)
string(LENGTH "${line}every check held; replay: kes-panel --monkey ${steps} --seed 7\n" whole)
string(LENGTH "${err}" length)
if(NOT line OR replay EQUAL -1 OR NOT whole EQUAL length)
    message(FATAL_ERROR "interrupted without a terminal: standard error was:\n${err}")
endif()
if(NOT out STREQUAL "")
    message(FATAL_ERROR "interrupted: standard output was:\n${out}")
endif()

# The replay it printed runs those steps, every check held.
run_panel(0 --monkey ${steps} --seed 7)
expect_in("${out}" "monkey: ${steps} steps on the pocketing panel, seed 7: every check held"
    "the replay of an interrupted run")

# On a terminal: the progress line, rewritten, then wiped before the replay line.
if(SCRIPT)
    execute_process(COMMAND ${SCRIPT} -qec
            "${TIMEOUT} -s INT --preserve-status 3 ${PROGRAM} --monkey 2000000000 --seed 8"
            /dev/null
        WORKING_DIRECTORY ${WORK_DIR} INPUT_FILE /dev/null
        RESULT_VARIABLE status OUTPUT_VARIABLE terminal ERROR_VARIABLE ignored)
    if(NOT status EQUAL 130)
        message(FATAL_ERROR "interrupted on a terminal: status ${status}\n${terminal}")
    endif()
    string(REGEX MATCH "\rmonkey: [0-9]+ of 2000000000 steps \\(0%\\), [0-9]+ steps/s, seed 8"
        progress "${terminal}")
    string(REGEX MATCH "\r +\rmonkey: interrupted after [0-9]+ steps" wiped "${terminal}")
    if(NOT progress OR NOT wiped)
        message(FATAL_ERROR "interrupted on a terminal: no progress line, or not wiped:\n"
            "${terminal}")
    endif()
endif()
