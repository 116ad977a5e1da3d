# Runs kes-panel: the bundled session against its reviewed transcript, then the error paths
# with their exit statuses and messages.
include(${CMAKE_CURRENT_LIST_DIR}/KesPanelRun.cmake)

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
# The stored spinner steps go to a folder of the test's own, never to the user's settings.
set(ENV{KES_SETTINGS_DIR} ${WORK_DIR}/settings)

# The bundled session, line for line. Update the transcript only for an intended change:
#   (cd build/default && examples/kes-panel > ../../examples/sessions/pocketing.expected)
run_panel(0)
file(READ ${EXPECTED} expected)
if(NOT out STREQUAL expected)
    file(WRITE ${WORK_DIR}/pocketing.actual "${out}")
    message(FATAL_ERROR "the bundled session's transcript changed: compare\n  ${EXPECTED}\n  "
        "${WORK_DIR}/pocketing.actual")
endif()
expect_in("${out}" "Feed_Rate | real | -1 |" "bundled session")
if(WITH_WINDOW)
    # The bundled session made as gestures on a window: the same transcript; the monkey
    # through the window holds every check, the window's included.
    run_panel(0 --via-qt)
    if(NOT out STREQUAL expected)
        file(WRITE ${WORK_DIR}/pocketing-via-qt.actual "${out}")
        message(FATAL_ERROR "the bundled session through the window differs: compare\n  "
            "${EXPECTED}\n  ${WORK_DIR}/pocketing-via-qt.actual")
    endif()
    run_panel(0 --via-qt --monkey 300 --seed 5)
    expect_in("${out}" "monkey: 300 steps on the pocketing panel, seed 5: every check held"
        "--via-qt --monkey")
endif()
# Pictures are written only where an option or a command asks: nothing lands in the folder.
file(GLOB pictures ${WORK_DIR}/*.svg ${WORK_DIR}/*.png)
if(pictures)
    message(FATAL_ERROR "the bundled session wrote into the current folder: ${pictures}")
endif()

run_panel(0 --help)
expect_in("${out}" "usage: kes-panel" "--help")
run_panel(2 --bogus)
expect_in("${err}" "unexpected argument '--bogus'" "unknown option")
run_panel(2 ${WORK_DIR}/no-such-script.kes)
expect_in("${err}" "cannot read" "missing script")

file(WRITE ${WORK_DIR}/bad.kes "spin Tool_Number 7\nspin Tool_Number ten\nspin Tool_Number 9\n")
run_panel(2 ${WORK_DIR}/bad.kes)
expect_in("${err}" "line 2: 'ten' is not a number" "bad script")
string(FIND "${out}" "spin Tool_Number 9" ran_on)
if(NOT ran_on EQUAL -1)
    message(FATAL_ERROR "a script must stop at its first error")
endif()

# Commands from standard input (not a terminal here: read as a script), then a picture.
file(WRITE ${WORK_DIR}/good.kes "click Coolant\noutput 1\n")
set(PANEL_INPUT ${WORK_DIR}/good.kes)
run_panel(0 --svg ${WORK_DIR}/end.svg -)
unset(PANEL_INPUT)
expect_in("${out}" "Coolant | boolean | 1 | 0" "standard input")
file(READ ${WORK_DIR}/end.svg picture)
expect_in("${picture}" "</svg>" "--svg")

# The monkey: a short run where every check holds, then its bad arguments (status 2).
run_panel(0 --monkey 300 --seed 5)
expect_in("${out}" "monkey: 300 steps on the pocketing panel, seed 5: every check held" "--monkey")
foreach(case
        "--monkey|--monkey needs a step count"
        "--monkey -3|the step count must be a whole number from 0 to 2147483647, not '-3'"
        "--monkey ten|not 'ten'"
        "--monkey 99999999999|not '99999999999'"
        "--monkey 10 --seed|--seed needs a seed"
        "--monkey 10 --seed -1|the seed must be a whole number from 0 to 4294967295, not '-1'"
        "--monkey 10 --seed 4294967296|not '4294967296'"
        "--monkey 10 --seed x1|not 'x1'"
        "--seed 4|--seed goes with --monkey STEPS"
        "--monkey 5 -|--monkey takes no script, no --svg")
    string(REPLACE "|" ";" parts "${case}")
    list(GET parts 0 arguments)
    list(GET parts 1 message)
    separate_arguments(arguments UNIX_COMMAND "${arguments}")
    run_panel(2 ${arguments})
    expect_in("${err}" "${message}" "kes-panel ${arguments}")
endforeach()

# The window's options: without a display, --gui alone is refused; without Qt, both are.
unset(ENV{DISPLAY})
unset(ENV{WAYLAND_DISPLAY})
unset(ENV{QT_QPA_PLATFORM})
run_panel(2 --png)
expect_in("${err}" "--png needs a file name" "--png without a file")
if(WITH_WINDOW)
    run_panel(2 --gui)
    expect_in("${err}" "--gui needs a display" "--gui without a display")
    run_panel(2 --png ${WORK_DIR}/no-such-folder/window.png)
    expect_in("${err}" "cannot write" "--png into a missing folder")
    # A display that cannot be reached: one line, no abort.
    set(ENV{DISPLAY} ":kes-no-such-display")
    run_panel(2 --gui)
    expect_in("${err}" "--gui cannot open a window: the display cannot be reached" "--gui, display unreachable")
    string(STRIP "${err}" one_line)
    if(one_line MATCHES "\n")
        message(FATAL_ERROR "--gui with an unreachable display printed more than one line:\n${err}")
    endif()
    unset(ENV{DISPLAY})
else()
    run_panel(2 --gui)
    expect_in("${err}" "built without Qt" "--gui without Qt")
    run_panel(2 --png ${WORK_DIR}/window.png)
    expect_in("${err}" "built without Qt" "--png without Qt")
    run_panel(2 --via-qt)
    expect_in("${err}" "built without Qt: no --via-qt" "--via-qt without Qt")
endif()
