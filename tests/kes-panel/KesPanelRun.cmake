# What the kes-panel checks share: running the program with its statuses, and looking for
# a text in what it wrote.
function(run_panel expected_status)
    set(input /dev/null)
    if(DEFINED PANEL_INPUT)
        set(input ${PANEL_INPUT})
    endif()
    execute_process(COMMAND ${PROGRAM} ${ARGN}
        WORKING_DIRECTORY ${WORK_DIR} INPUT_FILE ${input}
        RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT status EQUAL expected_status)
        message(FATAL_ERROR "kes-panel ${ARGN}: status ${status}, expected ${expected_status}\n${err}")
    endif()
    set(out "${out}" PARENT_SCOPE)
    set(err "${err}" PARENT_SCOPE)
endfunction()

function(expect_in haystack needle what)
    string(FIND "${haystack}" "${needle}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "${what}: '${needle}' not found in:\n${haystack}")
    endif()
endfunction()
