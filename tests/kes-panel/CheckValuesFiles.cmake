# Runs kes-panel with values files: each preset of examples/values against its reviewed
# transcript, the round trip of --write-values, then bad files with their statuses and messages.
#   (cd examples/values && ../../build/default/examples/kes-panel --values P.json preset.kes
#    > P.expected)   updates a transcript after an intended change
include(${CMAKE_CURRENT_LIST_DIR}/KesPanelRun.cmake)

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
set(ENV{KES_SETTINGS_DIR} ${WORK_DIR}/settings)
set(values ${SOURCE_DIR}/examples/values)

foreach(preset finishing roughing)
    run_panel(0 --values ${values}/${preset}.json --write-values ${WORK_DIR}/${preset}.json
        ${values}/preset.kes)
    file(READ ${values}/${preset}.expected expected)
    if(NOT out STREQUAL expected OR NOT err STREQUAL "")
        file(WRITE ${WORK_DIR}/${preset}.actual "${out}")
        message(FATAL_ERROR "the ${preset} preset's transcript changed: compare\n  "
            "${values}/${preset}.expected\n  ${WORK_DIR}/${preset}.actual\n${err}")
    endif()
    # What was written after the session reads back into a fresh panel as it was.
    run_panel(0 --values ${WORK_DIR}/${preset}.json --write-values ${WORK_DIR}/${preset}-2.json
        --strict -)
    file(READ ${WORK_DIR}/${preset}.json first)
    file(READ ${WORK_DIR}/${preset}-2.json second)
    if(NOT first STREQUAL second)
        message(FATAL_ERROR "${preset}: a values file written, read and written again differs")
    endif()
endforeach()

# A file of values the panel does not take as written: status 0 and a line each, errors with
# --strict; the same lines from the command load-values.
file(WRITE ${WORK_DIR}/odd.json [=[{"format": "kes-values", "version": 1, "attributes": [
 {"name": "Nope", "type": "real", "values": [1]},
 {"name": "Depth", "type": "integer", "values": [3]},
 {"name": "Tool_Number", "type": "integer", "values": [3, 4]},
 {"name": "Depth", "type": "real", "values": [75]},
 {"name": "Strategy", "type": "text", "values": ["SPIRALS"]},
 {"name": "Tool_Number", "type": "integer", "option": "off"},
 {"name": "Depth", "type": "real", "parameter": "FEED_ROUGH"},
 {"name": "Feed_Rate", "type": "real", "parameter": "FEED_NONE"},
 {"name": "Comment", "records": []},
 {"name": "Approach_Retract", "type": "real", "values": [1]}]}
]=])
set(odd "odd.json: attribute")
set(lines
    "${odd} 'Nope', key 'name': no such attribute in the panel"
    "${odd} 'Depth', key 'type': the attribute takes real values, not integer"
    "${odd} 'Tool_Number', key 'values': the attribute takes 1 value, not 2"
    "${odd} 'Depth', key 'values': normalised to [50.0] (clamped, or not among the choices)"
    "${odd} 'Strategy', key 'values': normalised to [\"ZIGZAG\"]"
    "${odd} 'Tool_Number', key 'option': the attribute is not optional"
    "${odd} 'Depth', key 'parameter': the attribute binds no parameter"
    "${odd} 'Feed_Rate', key 'parameter': no model parameter 'FEED_NONE': the attribute keeps its value"
    "${odd} 'Comment', key 'records': the attribute is not a link"
    "${odd} 'Approach_Retract', key 'type': the attribute is a link: its values are records")
run_panel(0 --values odd.json -)
foreach(line IN LISTS lines)
    expect_in("${err}" "kes-panel: ${line}" "--values odd.json")
endforeach()
run_panel(2 --values odd.json --strict -)
file(WRITE ${WORK_DIR}/odd.kes "load-values odd.json\n")
run_panel(0 odd.kes)
foreach(line IN LISTS lines)
    expect_in("${out}" "  ${line}" "load-values odd.json")
endforeach()
run_panel(2 --strict odd.kes)
expect_in("${err}" "line 1: ${odd} 'Nope', key 'name'" "load-values --strict")

# Files that are not values files: status 2, nothing read.
foreach(case
        "{|bad.json:2: not JSON: syntax error"
        "[]|bad.json: expected an object with \"format\": \"kes-values\""
        "{\"format\": \"kes-panel\"}|not a values file: \"format\" must be \"kes-values\""
        "{\"format\": \"kes-values\", \"version\": 2, \"attributes\": []}|key 'version': only version 1 is read"
        "{\"format\": \"kes-values\", \"version\": 1}|key 'attributes': expected an array"
        "{\"format\": \"kes-values\", \"version\": 1, \"attributes\": [{\"name\": \"Depth\", \"type\": \"real\", \"values\": [\"x\"]}]}|attribute 1 'Depth', key 'values': \"x\" is not a real value"
        "{\"format\": \"kes-values\", \"version\": 1, \"attributes\": [{\"name\": \"Depth\", \"type\": \"float\", \"values\": [1]}]}|key 'type': expected boolean, integer, real or text"
        "{\"format\": \"kes-values\", \"version\": 1, \"attributes\": [{\"name\": \"Depth\", \"typo\": \"real\"}]}|attribute 1 'Depth': unknown key 'typo'"
        "{\"format\": \"kes-values\", \"version\": 1, \"attributes\": [{\"name\": \"Tool_Number\", \"type\": \"integer\", \"values\": [3000000000]}]}|3000000000 is not an integer of the int range"
        "{\"format\": \"kes-values\", \"version\": 1, \"attributes\": [{\"name\": \"Depth\", \"type\": \"real\", \"values\": [1], \"parameter\": \"X\"}]}|give values or a parameter, unless the option is off")
    string(FIND "${case}" "|" bar)
    string(SUBSTRING "${case}" 0 ${bar} text)
    math(EXPR bar "${bar} + 1")
    string(SUBSTRING "${case}" ${bar} -1 message)
    file(WRITE ${WORK_DIR}/bad.json "${text}\n")
    run_panel(2 --values bad.json -)
    expect_in("${err}" "${message}" "--values ${text}")
endforeach()
run_panel(2 --values no-such.json -)
expect_in("${err}" "no-such.json: no such file" "--values of a missing file")
run_panel(2 --values)
expect_in("${err}" "--values needs a file name" "--values without a file")
run_panel(2 --monkey 5 --values odd.json)
expect_in("${err}" "no values files" "--monkey with --values")

# A write that fails keeps the old file and says why: the values, the panel and the schema,
# into a folder's name, into a missing folder, and onto a full disk (a file size limit of 512
# bytes, which holds for root too).
file(MAKE_DIRECTORY ${WORK_DIR}/a-folder)
file(WRITE ${WORK_DIR}/kept.json "old\n")
foreach(option --write-values --write-panel --write-schema)
    run_panel(2 ${option} a-folder -)
    expect_in("${err}" "kes-panel: cannot write 'a-folder': a folder has that name" "${option} a-folder")
    run_panel(2 ${option} no-such-folder/kept.json -)
    expect_in("${err}" "cannot write 'no-such-folder/kept.json': No such file or directory"
        "${option} into a missing folder")
    execute_process(COMMAND sh -c "ulimit -f 1 && exec \"$0\" ${option} kept.json -" ${PROGRAM}
        WORKING_DIRECTORY ${WORK_DIR} INPUT_FILE /dev/null
        RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
    expect_in("${status}: ${err}" "2: kes-panel: cannot write 'kept.json': File too large"
        "${option} onto a full disk")
    file(READ ${WORK_DIR}/kept.json kept)
    file(GLOB left ${WORK_DIR}/.*.tmp.*)
    if(NOT kept STREQUAL "old\n" OR left)
        message(FATAL_ERROR "${option}: a failed write changed the file or left a temporary file")
    endif()
endforeach()
