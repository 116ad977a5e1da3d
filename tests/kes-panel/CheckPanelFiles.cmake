# Runs kes-panel over the committed panel files: each with its session against its reviewed
# transcript and written back as it was, the pocketing panel in code written as its committed
# file, then the faults of --panel with their statuses and messages.
include(${CMAKE_CURRENT_LIST_DIR}/KesPanelRun.cmake)

function(expect_same actual_text expected_file what)
    file(READ ${expected_file} expected)
    if(NOT actual_text STREQUAL expected)
        get_filename_component(name ${expected_file} NAME)
        file(WRITE ${WORK_DIR}/${name}.actual "${actual_text}")
        message(FATAL_ERROR "${what} changed: compare\n  ${expected_file}\n  ${WORK_DIR}/${name}.actual")
    endif()
endfunction()

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
set(ENV{KES_SETTINGS_DIR} ${WORK_DIR}/settings)

# Each panel file with its session. Update a transcript only for an intended change:
#   (cd build/default && examples/kes-panel --panel ../../examples/panels/drilling.json
#        ../../examples/sessions/drilling.kes > ../../examples/sessions/drilling.expected)
foreach(panel IN ITEMS pocketing drilling contour)
    run_panel(0 --panel ${SOURCE_DIR}/examples/panels/${panel}.json
        ${SOURCE_DIR}/examples/sessions/${panel}.kes)
    expect_same("${out}" ${SOURCE_DIR}/examples/sessions/${panel}.expected
        "the transcript of ${panel}.json")
    if(WITH_WINDOW)
        # The same session made as gestures on a window gives the same transcript.
        run_panel(0 --via-qt --panel ${SOURCE_DIR}/examples/panels/${panel}.json
            ${SOURCE_DIR}/examples/sessions/${panel}.kes)
        expect_same("${out}" ${SOURCE_DIR}/examples/sessions/${panel}.expected
            "the transcript of ${panel}.json through the window")
        run_panel(0 --via-qt --panel ${SOURCE_DIR}/examples/panels/${panel}.json --monkey 150 --seed 3)
        expect_in("${out}" "150 steps on the panel of" "--via-qt --monkey over ${panel}.json")
    endif()
    # Read and written again, the file comes back byte for byte.
    run_panel(0 --panel ${SOURCE_DIR}/examples/panels/${panel}.json
        --write-panel ${WORK_DIR}/${panel}.json)
    file(READ ${WORK_DIR}/${panel}.json written)
    expect_same("${written}" ${SOURCE_DIR}/examples/panels/${panel}.json "${panel}.json written back")
endforeach()

# The pocketing panel in code, written, is the committed file.
run_panel(0 --write-panel ${WORK_DIR}/written.json)
file(READ ${WORK_DIR}/written.json written)
expect_same("${written}" ${SOURCE_DIR}/examples/panels/pocketing.json "the written pocketing panel")
if(NOT out STREQUAL "")
    message(FATAL_ERROR "--write-panel alone runs no session:\n${out}")
endif()

# A panel file without a session: nothing runs, the picture is drawn.
run_panel(0 --panel ${SOURCE_DIR}/examples/panels/drilling.json --svg ${WORK_DIR}/drilling.svg)
file(READ ${WORK_DIR}/drilling.svg picture)
string(FIND "${picture}" "Peck depth (mm)" at)
if(at EQUAL -1 OR NOT out STREQUAL "")
    message(FATAL_ERROR "--panel FILE --svg OUT: no session, the file's panel drawn")
endif()

# The monkey over a panel file: every check holds, and the script to replay names the file.
run_panel(0 --panel ${SOURCE_DIR}/examples/panels/contour.json --monkey 300 --seed 4)
string(FIND "${out}" "300 steps on the panel of ${SOURCE_DIR}/examples/panels/contour.json, seed 4: every check held" at)
if(at EQUAL -1)
    message(FATAL_ERROR "--panel FILE --monkey: ${out}")
endif()

# Faults: status 2, the file named, nothing run.
run_panel(2 --panel ${WORK_DIR}/no-such-panel.json)
string(FIND "${err}" "no-such-panel.json: no such file" at)
file(WRITE ${WORK_DIR}/bad.json "{\"title\": \"T\",\n \"attributes\": [{\"class\": \"KesMfgAttInt\"}]}\n")
run_panel(2 --panel ${WORK_DIR}/bad.json ${SOURCE_DIR}/examples/sessions/drilling.kes)
string(FIND "${err}" "bad.json:2:17: attribute 1 '', key 'name' is required" at_bad)
if(at EQUAL -1 OR at_bad EQUAL -1 OR NOT out STREQUAL "")
    message(FATAL_ERROR "bad panel files:\n${err}")
endif()

# The schema of panel files is written from the attribute catalogue: the committed one is what
# the code writes. Update it only with the code:
#   build/default/examples/kes-panel --write-schema docs/panel.schema.json
run_panel(0 --write-schema ${WORK_DIR}/panel.schema.json)
file(READ ${WORK_DIR}/panel.schema.json schema)
expect_same("${schema}" ${SOURCE_DIR}/docs/panel.schema.json "the schema written from the code")

# A file with a warning: status 0 and one line on standard error; --strict refuses it.
file(WRITE ${WORK_DIR}/warned.json "{\"title\": \"T\", \"attributes\": [\n {\"class\": \"KesMfgAttInt\", \"name\": \"A\", \"label\": \"A\", \"group\": 1,\n  \"value\": 4, \"minimum\": 9, \"maximum\": 1}]}\n")
run_panel(0 --panel ${WORK_DIR}/warned.json)
expect_in("${err}" "warned.json:3:15: warning: attribute 1 'A', key 'minimum': the minimum 9 is above the maximum 1" "a warning")
# Said once: the build over the model warns it again, kes-panel does not repeat it.
string(REGEX MATCHALL "warning:" warned "${err}")
list(LENGTH warned warned_count)
if(NOT warned_count EQUAL 1)
    message(FATAL_ERROR "a warning said once, not ${warned_count} times:\n${err}")
endif()
run_panel(2 --panel ${WORK_DIR}/warned.json --strict)
expect_in("${err}" "(a warning, refused as strict)" "--strict")

# --write-panel keeps the file's $schema.
file(WRITE ${WORK_DIR}/named.json "{\n  \"$schema\": \"../../docs/panel.schema.json\",\n  \"title\": \"T\",\n  \"attributes\": []\n}\n")
run_panel(0 --panel ${WORK_DIR}/named.json --write-panel ${WORK_DIR}/named-again.json)
file(READ ${WORK_DIR}/named-again.json written)
expect_same("${written}" ${WORK_DIR}/named.json "a panel file with its $schema written back")

# --panel builds over the model as it stands (kes-panel's is empty): a bound parameter that
# neither the model nor the file holds is refused; --strict refuses it as a file alone would,
# and a close name is warned when the file is read.
file(WRITE ${WORK_DIR}/hosted.json "{\"title\": \"T\", \"attributes\": [\n {\"class\": \"KesMfgAttDoubleParam\", \"name\": \"F\", \"label\": \"F\", \"group\": 1,\n  \"firstUnitCode\": 1, \"parameterName\": \"FEED_HOST\"}]}\n")
run_panel(2 --panel ${WORK_DIR}/hosted.json)
expect_in("${err}" "hosted.json: attribute 1 'F', key 'parameterName': the model parameter 'FEED_HOST' is neither in the model nor among the file's modelParameters" "--panel over the model")
run_panel(2 --panel ${WORK_DIR}/hosted.json --strict)
expect_in("${err}" "hosted.json: attribute 1 'F', key 'parameterName': the model parameter 'FEED_HOST' is not among the file's modelParameters" "--panel --strict")
file(WRITE ${WORK_DIR}/slip.json "{\"title\": \"T\", \"modelParameters\": [{\"name\": \"FEED\", \"type\": 2, \"reals\": [5]}],\n \"attributes\": [{\"class\": \"KesMfgAttDoubleParam\", \"name\": \"F\", \"label\": \"F\", \"group\": 1,\n  \"parameterName\": \"FEDE\"}]}\n")
run_panel(2 --panel ${WORK_DIR}/slip.json --strict)
expect_in("${err}" "slip.json:3:3: attribute 1 'F', key 'parameterName': the model parameter 'FEDE' is not among the file's modelParameters (did you mean 'FEED'?): the model must hold it when the panel is built (a warning, refused as strict)" "a slip refused as strict")

# A link's sub-panel: kept by --write-panel (the pocketing file above holds one); a bad
# attribute inside it is refused with its place.
file(WRITE ${WORK_DIR}/sub.json "{\"title\": \"T\", \"attributes\": [{\"class\": \"KesMfgAttLink\", \"name\": \"K\", \"label\": \"K\", \"group\": 1,\n  \"subPanel\": {\"title\": \"S\", \"attributes\": [\n    {\"class\": \"KesMfgAttInt\", \"name\": \"N\", \"label\": \"N\", \"group\": 1, \"valeu\": 4}]}}]}\n")
run_panel(2 --panel ${WORK_DIR}/sub.json)
expect_in("${err}" "sub.json:3:70: attribute 1 'K', sub-panel attribute 1 'N', key 'valeu': unknown key (did you mean 'value'?)" "a bad attribute of a sub-panel")
