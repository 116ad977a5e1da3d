# Installs the built library into a scratch prefix and moves the prefix elsewhere, as a package
# manager or a user would; then configures, builds and runs small programs that find it with
# find_package (and, when the Qt view was built, a Qt program that asks for the Qt component).
file(REMOVE_RECURSE ${WORK_DIR})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${WORK_DIR}/installed
    RESULT_VARIABLE result)
if(result)
    message(FATAL_ERROR "install failed: ${result}")
endif()
file(COPY ${WORK_DIR}/installed/ DESTINATION ${WORK_DIR}/moved/prefix)
file(REMOVE_RECURSE ${WORK_DIR}/installed)
foreach(installed IN ITEMS share/kes/KesMfgAttDoubleParam.kesres
        share/doc/KesAttributes/README.md share/doc/KesAttributes/panel-files.md
        share/doc/KesAttributes/panel.schema.json)
    if(NOT EXISTS ${WORK_DIR}/moved/prefix/${installed})
        message(FATAL_ERROR "not installed: ${installed}")
    endif()
endforeach()
execute_process(COMMAND ${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${WORK_DIR}/build -G ${GENERATOR}
        -D CMAKE_PREFIX_PATH=${WORK_DIR}/moved/prefix -D CMAKE_BUILD_TYPE=Release
        "-D CMAKE_CXX_FLAGS=${CXX_FLAGS}" "-D CMAKE_EXE_LINKER_FLAGS=${LINKER_FLAGS}"
        -D KES_CONSUME_QT=${WITH_QT}
    RESULT_VARIABLE result)
if(result)
    message(FATAL_ERROR "configure failed: ${result}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${WORK_DIR}/build RESULT_VARIABLE result)
if(result)
    message(FATAL_ERROR "build failed: ${result}")
endif()
set(programs consumer consumer_host)
if(WITH_QT)
    list(APPEND programs consumer_qt consumer_embedding)
endif()
foreach(program IN LISTS programs)
    execute_process(COMMAND ${WORK_DIR}/build/${program} RESULT_VARIABLE result)
    if(result)
        message(FATAL_ERROR "${program} failed: ${result}")
    endif()
endforeach()

# A host's own wording of the texts, in KES_RESOURCE_DIR, replaces the built-in one.
file(WRITE ${WORK_DIR}/reworded/KesMfgAttDoubleParam.kesres "defstep.title = Arrow step…\n")
execute_process(COMMAND ${CMAKE_COMMAND} -E env KES_RESOURCE_DIR=${WORK_DIR}/reworded
        ${WORK_DIR}/build/consumer_host "Arrow step…"
    RESULT_VARIABLE result)
if(result)
    message(FATAL_ERROR "consumer_host with reworded texts failed: ${result}")
endif()
