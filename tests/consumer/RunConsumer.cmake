# Installs the built library into a scratch prefix, then configures, builds and runs a small
# program that finds it with find_package (and, when the Qt view was built, a Qt program that
# asks for the Qt component).
file(REMOVE_RECURSE ${WORK_DIR})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${WORK_DIR}/prefix
    RESULT_VARIABLE result)
if(result)
    message(FATAL_ERROR "install failed: ${result}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${WORK_DIR}/build -G ${GENERATOR}
        -D CMAKE_PREFIX_PATH=${WORK_DIR}/prefix -D CMAKE_BUILD_TYPE=Release
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
    list(APPEND programs consumer_qt)
endif()
foreach(program IN LISTS programs)
    execute_process(COMMAND ${WORK_DIR}/build/${program} RESULT_VARIABLE result)
    if(result)
        message(FATAL_ERROR "${program} failed: ${result}")
    endif()
endforeach()
